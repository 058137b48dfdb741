#include "CtSvcBulkOperation/CtSvcBulkOpDeleteAdn.h"

#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgrWrite.h"

BOOL CCtSvcBulkOpDeleteAdn::AddPersonId(int nPersonId) {
  const int nId = CtSvcBulkPersonIdOf(_Who(), nPersonId);
  if (nId < 0) {
    return FALSE;
  }
  _AddItem(CtSvcBulkSimPersonItem{nId, -1});
  return TRUE;
}

BOOL CCtSvcBulkOpDeleteAdn::_SendItem(CtSvcBulkSimPersonItem& item, ICtSvcSimUpdater* pUpdater) {
  CtSvcPersonRecord stored{};
  if (!CtSvcBulkReadPerson(_Who(), item.nPersonId, CTSVC_USE_TYPE_SIM, &stored) || !_BeforeDelete(item, stored)) {
    return FALSE;
  }
  if (!pUpdater->DeleteRecord(stored.Info.nSlotIndex, _Listener())) {
    _OnWriteFailed(item);
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcBulkOpDeleteAdn::_OnWritten(CtSvcBulkSimPersonItem& item, int /*nRecordIndex*/) {
  CtSvcPersonRecord stored{};
  if (!CtSvcBulkReadPerson(_Who(), item.nPersonId, CTSVC_USE_TYPE_SIM, &stored) ||
      !CtSvcPhonebookRemovePerson(_Who(), stored, TRUE)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcBulkOpDeleteDb::OnDeleteRecord - CContentMgr::Instance()->Delete(Person = %d) failed\n",
             item.nPersonId);
    return FALSE;
  }
  CCtSvcPhonebookMgr::Instance()->__NotifyContactBulkChanged(CTSVC_CHANGE_TYPE_DELETE, item.nPersonId, nullptr);
  return TRUE;
}
