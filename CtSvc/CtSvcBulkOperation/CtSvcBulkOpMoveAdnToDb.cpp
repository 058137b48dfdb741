#include "CtSvcBulkOperation/CtSvcBulkOpMoveAdnToDb.h"

#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"

int CtSvcBulkCopyToPhone(const char* pszWho, const CtSvcPersonRecord& stored, BOOL bCommit) {
  std::unique_ptr<CCtSvcContactInfoBuilder> pInfo = CtSvcBulkLoadContact(stored, CTSVC_USE_TYPE_PHONE);
  if (pInfo == nullptr) {
    return -1;
  }
  CtSvcContactInfo info = pInfo->Info();
  CCtSvcContact contact(info, CTSVC_USE_TYPE_PHONE);
  const int nId = contact.Insert(bCommit);
  if (nId <= 0) {
    DbgPrint(DBG_CLASS_FAIL, "%s::OnBulkOperation - insert failed\n", pszWho);
    return -1;
  }
  CCtSvcPhonebookMgr::Instance()->__NotifyContactBulkChanged(CTSVC_CHANGE_TYPE_INSERT, nId, &info);
  return nId;
}

BOOL CCtSvcBulkOpMoveAdnToDb::_BeforeDelete(CtSvcBulkSimPersonItem& item, const CtSvcPersonRecord& stored) {
  item.nCopyId = CtSvcBulkCopyToPhone(_Who(), stored, TRUE);
  return item.nCopyId > 0;
}

void CCtSvcBulkOpMoveAdnToDb::_OnWriteFailed(CtSvcBulkSimPersonItem& item) {
  if (item.nCopyId > 0 &&
      CCtSvcPhonebookMgr::Instance()->DeleteContactFromPhone(CTSVC_MAKE_HANDLE(CTSVC_USE_TYPE_PHONE, item.nCopyId),
                                                             TRUE)) {
    item.nCopyId = -1;
  }
}
