#include "CtSvcBulkOperation/CtSvcBulkOpCopyDbToAdn.h"

BOOL CCtSvcBulkOpCopyDbToAdn::AddPersonId(int nPersonId) {
  CtSvcBulkSimContactItem item;
  item.nPersonId = CtSvcBulkPersonIdOf(_Who(), nPersonId);
  if (item.nPersonId < 0) {
    return FALSE;
  }
  _AddItem(std::move(item));
  return TRUE;
}

BOOL CCtSvcBulkOpCopyDbToAdn::_GetContactInfo(CtSvcBulkSimContactItem& item) {
  CtSvcPersonRecord stored{};
  if (!CtSvcBulkReadPerson(_Who(), item.nPersonId, CTSVC_USE_TYPE_PHONE, &stored)) {
    return FALSE;
  }
  item.pInfo = CtSvcBulkLoadContact(stored, CTSVC_USE_TYPE_SIM);
  return item.pInfo != nullptr;
}
