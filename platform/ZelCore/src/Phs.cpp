// Phone status values, the IMEI and the power-off state.
#include <cstring>
#include <map>
#include <mutex>

#include "TestOverrides.h"
#include "ZelDebug.h"
#include "ZelImmortal.h"
#include "ZelPhs.h"

namespace {

struct PhoneStatus {
  std::mutex mutex;
  std::map<UINT32, INT32> values;
};

PhoneStatus& ThePhoneStatus() {
  static zel::Immortal<PhoneStatus> s_status;
  return s_status.Get();
}

}  // namespace

namespace zel::internal {

void ResetPhoneStatus() {
  PhoneStatus& s = ThePhoneStatus();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.values.clear();
}

}  // namespace zel::internal

extern "C" INT32 PhsGetStatus(UINT32 nKey) {
  PhoneStatus& s = ThePhoneStatus();
  std::lock_guard<std::mutex> lock(s.mutex);
  auto it = s.values.find(nKey);
  return it == s.values.end() ? 0 : it->second;
}

extern "C" BOOL PhsSetStatus(UINT32 nKey, INT32 nValue) {
  PhoneStatus& s = ThePhoneStatus();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.values[nKey] = nValue;
  return TRUE;
}

extern "C" BOOL PhsGetIMEIEx(char* pszImei, UINT32 nSize) {
  if (pszImei == nullptr || nSize == 0) {
    DbgPrint(DBG_CLASS_FAIL, "PhsGetIMEIEx: - no buffer\n");
    return FALSE;
  }
  const std::optional<std::string> imei = zel::internal::GetImei();
  if (!imei) {
    DbgPrint(DBG_CLASS_TRACE, "PhsGetIMEIEx: - IMEI is unavailable\n");
    return FALSE;
  }
  const size_t nCopy = imei->size() < nSize - 1 ? imei->size() : nSize - 1;
  std::memcpy(pszImei, imei->data(), nCopy);
  pszImei[nCopy] = '\0';
  return TRUE;
}

extern "C" BOOL _BmIsPowerOffState(void) { return zel::internal::IsPowerOff() ? TRUE : FALSE; }
