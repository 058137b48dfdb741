#include "CtSvcBulkOperation/CtSvcBulkOpMoveDbToAdn.h"

#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgrWrite.h"

BOOL CCtSvcBulkOpMoveDbToAdn::_AfterInsert(CtSvcBulkSimContactItem& item) {
  CtSvcPersonRecord stored{};
  if (!CtSvcBulkReadPerson(_Who(), item.nPersonId, CTSVC_USE_TYPE_PHONE, &stored) ||
      !CtSvcPhonebookRemovePerson(_Who(), stored, FALSE)) {
    return FALSE;
  }
  CCtSvcPhonebookMgr::Instance()->__NotifyContactBulkChanged(CTSVC_CHANGE_TYPE_DELETE, item.nPersonId, nullptr);
  return TRUE;
}
