// The phone-number lists behind the AT phonebook answers.
#include "CtSvcEHAtPbRows.h"

#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "ZelCommTAPI/ZelTapiAt.h"
#include "ZelDebug.h"

namespace {

CtSvcPhoneNumberFilter DeviceFilter(INT32 nDevice) {
  CtSvcPhoneNumberFilter filter;
  CtSvcPhoneNumberFilterInit(&filter);
  filter.DevType = nDevice == TAPI_AT_PB_DEVICE_SIM ? CTSVC_USE_TYPE_SIM : CTSVC_USE_TYPE_PHONE;
  return filter;
}

}  // namespace

int CtSvcEHAtPbRowCount(INT32 nDevice) {
  const CtSvcPhoneNumberFilter filter = DeviceFilter(nDevice);
  const int nCount = CtSvcDbPhoneNumberGetCount(&filter);
  return nCount > 0 ? nCount : 0;
}

CCtSvcEHAtPbRows::CCtSvcEHAtPbRows(INT32 nDevice) {
  const CtSvcPhoneNumberFilter filter = DeviceFilter(nDevice);
  m_hList = CtSvcPhoneNumberListCreate(&filter, nullptr);
  if (m_hList < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcEHAtPbRows: - CtSvcPhoneNumberListCreate failed\n");
  }
}

CCtSvcEHAtPbRows::~CCtSvcEHAtPbRows() {
  if (m_hList >= 0) {
    CtSvcPhoneNumberListDestroy(m_hList);
  }
}

bool CCtSvcEHAtPbRows::Get(int nIndex, CtSvcPhoneNumberRecord* pNumber, CtSvcPersonRecord* pPerson) const {
  if (m_hList < 0 || nIndex < 1 || nIndex > CtSvcPhoneNumberListGetCount(m_hList)) {
    return false;
  }
  if (!CtSvcPhoneNumberListGetAt(m_hList, nIndex - 1, pNumber)) {
    return false;
  }
  const HOBJ hPerson =
      static_cast<HOBJ>((static_cast<UINT32>(pNumber->DevType) << 30) | static_cast<UINT32>(pNumber->nPersonId));
  if (!CtSvcDbPersonGetRecord(hPerson, pPerson)) {
    *pPerson = CtSvcPersonRecord{};
  }
  return true;
}
