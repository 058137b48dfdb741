// SIM-toolkit refresh: the card tells that its files changed; the phonebook group of the first
// changed file it knows (or the whole phonebook) is loaded again, and the toolkit gets its answer
// (event 0x205) when the load is done or could not start.
#include <cstring>

#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "ZelCommTAPI/ZelSim.h"
#include "ZelDebug.h"
#include "ZelWm.h"

namespace {

constexpr UINT32 kRefreshAnswerEvent = 0x205;
constexpr int kRefreshDone = 0;
constexpr int kRefreshFailed = 2;
// The platform refresh record: its size, the file count and the file list.
constexpr size_t kRefreshRecordSize = 548;
constexpr size_t kFileCountOffset = 36;
constexpr size_t kFileListOffset = 40;
constexpr size_t kMaxFiles = (kRefreshRecordSize - kFileListOffset) / sizeof(UINT32);

enum CtSvcRefreshQualifier {
  SIMATK_CMD_QUALI_REFRESH_SIM_INIT_AND_FULL_FILE_CHANGE_NOTIFICATION = 0,
  SIMATK_CMD_QUALI_REFRESH_FILE_CHANGE_NOTIFICATION = 1,
  SIMATK_CMD_QUALI_REFRESH_SIM_INIT_AND_FILE_CHANGE_NOTIFICATION = 2
};

// Which group a changed file belongs to.
struct CtSvcRefreshFile {
  UINT32 nFileId;
  int nMask;
};

const CtSvcRefreshFile kRefreshFiles[] = {
    {0x6F3A, CTSVC_PHONEBOOK_RELOAD_ADN},    {0x6F4A, CTSVC_PHONEBOOK_RELOAD_ADN},
    {0xEF07, CTSVC_PHONEBOOK_RELOAD_ADN},    {0xEF0A, CTSVC_PHONEBOOK_RELOAD_ADN},
    {0xFF07, CTSVC_PHONEBOOK_RELOAD_ADN},    {0xFF0A, CTSVC_PHONEBOOK_RELOAD_ADN},
    {0x6F3B, CTSVC_PHONEBOOK_RELOAD_FDN},    {0x6F4B, CTSVC_PHONEBOOK_RELOAD_FDN},
    {0x6A3B, CTSVC_PHONEBOOK_RELOAD_FDN},    {0x6A4B, CTSVC_PHONEBOOK_RELOAD_FDN},
    {0x6F40, CTSVC_PHONEBOOK_RELOAD_MSISDN}, {0x6F4E, CTSVC_PHONEBOOK_RELOAD_MSISDN},
    {0x6A40, CTSVC_PHONEBOOK_RELOAD_MSISDN}, {0x6A4E, CTSVC_PHONEBOOK_RELOAD_MSISDN},
    {0x6F49, CTSVC_PHONEBOOK_RELOAD_SDN},    {0x6A49, CTSVC_PHONEBOOK_RELOAD_SDN},
};

// Where the answer goes, kept for the completion callback.
UINT32 g_nDispatch = 0;
HOBJ g_hDestination = INVALID_HOBJ;

void AnswerRefresh(int nResult) {
  if (!WmIsEventHandlerValid(g_hDestination) || WmGetEventHandlerState(g_hDestination) == 0) {
    return;
  }
  CtSvcPhonebookSetSimRefreshCondition(0);
  WmEvent event{};
  event.nEventId = kRefreshAnswerEvent;
  event.nParam1 = static_cast<INT32>(g_nDispatch);
  event.nParam2 = nResult;
  event.hReceiver = g_hDestination;
  WmSendEvent(g_hDestination, &event);
}

void __PhonebookInitCallback(BOOL bResult, void* /*pUserData*/) {
  if (bResult) {
    AnswerRefresh(kRefreshDone);
  }
}

// Answers at once when the load could not start.
BOOL Started(BOOL bStarted, const char* pszWhat) {
  if (!bStarted) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcRefreshSim - %s failed\n", pszWhat);
    AnswerRefresh(kRefreshFailed);
    return FALSE;
  }
  return TRUE;
}

BOOL Initialize() {
  int bNoSim = 0;
  return Started(CtSvcPhonebookInitialize(__PhonebookInitCallback, nullptr, &bNoSim), "CtSvcPhonebookInitialize");
}

BOOL Reload(int nMask) {
  return Started(CtSvcPhonebookReloadSimRecord(nMask, __PhonebookInitCallback, nullptr),
                 "CtSvcPhonebookReloadSimRecord");
}

// The reload mask of the first listed file the phonebook knows, 0 for none.
int MaskOfFirstKnownFile(const UINT8* pRecord) {
  const size_t nCount = pRecord[kFileCountOffset] < kMaxFiles ? pRecord[kFileCountOffset] : kMaxFiles;
  for (size_t i = 0; i < nCount; ++i) {
    UINT32 nFileId = 0;
    std::memcpy(&nFileId, pRecord + kFileListOffset + i * sizeof(UINT32), sizeof(nFileId));
    for (const CtSvcRefreshFile& file : kRefreshFiles) {
      if (file.nFileId == nFileId) {
        return file.nMask;
      }
    }
  }
  return 0;
}

}  // namespace

extern "C" BOOL CtSvcRefreshSim(UINT32 nDispatch, HOBJ hDestination, int nQualifier, int /*nUnused*/,
                                const void* pRefresh) {
  g_nDispatch = nDispatch;
  g_hDestination = hDestination;
  if (nQualifier < 0 || nQualifier > SIMATK_CMD_QUALI_REFRESH_SIM_INIT_AND_FILE_CHANGE_NOTIFICATION) {
    ZEL_NEVER_GET_HERE("nQualifier <= SIMATK_CMD_QUALI_REFRESH_SIM_INIT_AND_FILE_CHANGE_NOTIFICATION");
    AnswerRefresh(kRefreshFailed);
    return FALSE;
  }
  UINT8 record[kRefreshRecordSize] = {};
  if (pRefresh != nullptr) {
    std::memcpy(record, pRefresh, sizeof(record));
  }
  if (nQualifier == SIMATK_CMD_QUALI_REFRESH_SIM_INIT_AND_FULL_FILE_CHANGE_NOTIFICATION) {
    CtSvcPhonebookSetSimRefreshCondition(1);
    if (CtSvcPhonebookGetInitState() == CTSVC_SIM_INIT_INVALID) {
      return Initialize();
    }
    if (SimGetFdnEnable()) {
      return Reload(CTSVC_PHONEBOOK_RELOAD_FDN);
    }
    return CtSvcPhonebookIsInitialized() ? Reload(CTSVC_SIM_INIT_COMPLETE) : TRUE;
  }
  if (pRefresh == nullptr) {
    return TRUE;  // a file-change notice without its file list
  }
  CtSvcPhonebookSetSimRefreshCondition(1);
  if (CtSvcPhonebookGetInitState() == CTSVC_SIM_INIT_INVALID) {
    return Initialize();
  }
  const int nMask = MaskOfFirstKnownFile(record);
  return nMask != 0 ? Reload(nMask) : TRUE;
}
