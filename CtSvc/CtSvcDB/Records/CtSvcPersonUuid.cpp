// The UUID a new person is given: its creation time, its row id and a platform UUID (or the
// device IMEI), under the service's own mail domain.
#include <cstdio>

#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "ZelDebug.h"
#include "ZelPhs.h"
#include "ZelSys.h"
#include "ZelTm.h"

namespace {

constexpr const char* kUuidMailDomain = "ctsvc.local";
constexpr UINT32 kImeiBufferSize = 20;

unsigned ByteOf(UINT32 nWord, int nByte) { return (nWord >> (8 * nByte)) & 0xFFu; }

std::string FormatPlatformUuid(const SysUUID& uuid) {
  char szUuid[64];
  std::snprintf(szUuid, sizeof(szUuid), "%.8X-%.4X-%.4X-%.2X%.2X-%.2X%.2X%.2X%.2X%.2X", uuid.aWord[0],
                uuid.aWord[1] & 0xFFFFu, uuid.aWord[1] >> 16, ByteOf(uuid.aWord[2], 0), ByteOf(uuid.aWord[2], 1),
                ByteOf(uuid.aWord[2], 2), ByteOf(uuid.aWord[2], 3), ByteOf(uuid.aWord[3], 0),
                ByteOf(uuid.aWord[3], 1), ByteOf(uuid.aWord[3], 2));
  return szUuid;
}

}  // namespace

void CCtSvcPerson::__GenerateUuid() {
  TmDateTime now{};
  TmSecondsToDateTime(TmGetTime(), &now);
  char szHead[64];
  std::snprintf(szHead, sizeof(szHead), "%04d%02d%02dT%02d%02d%02dZ-%015d-", now.year, now.month, now.day, now.hour,
                now.minute, now.second, GetRecordId());
  std::string strUuid = szHead;
  SysUUID uuid{};
  char szImei[kImeiBufferSize] = "";
  if (SysGenerateUUID(&uuid)) {
    strUuid += FormatPlatformUuid(uuid);
  } else if (PhsGetIMEIEx(szImei, kImeiBufferSize)) {
    strUuid += szImei;
  } else {
    DbgPrint(DBG_CLASS_FAIL,
             "CCtSvcPerson::__GenerateUuid -IMEI is currently unavailable. UUID Generation process failed");
  }
  strUuid += "@";
  strUuid += kUuidMailDomain;
  m_Fields.strUuid = strUuid;
}
