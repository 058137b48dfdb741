#include "CtSvcBulkOperation/CtSvcBulkOpInsertAdn.h"

#include "CtSvcDB/DbMgr/CtSvcDbWriteUnit.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "CtSvcSim/SimRecord/CtSvcSimRecord.h"

BOOL CCtSvcBulkOpInsertAdn::AddContactRecord(const CtSvcContactInfo& contactInfo) {
  CtSvcBulkSimContactItem item;
  item.pInfo = CtSvcBulkCopyContactInfo("CCtSvcBulkOpInsertAdn::AddContactRecord", contactInfo);
  if (item.pInfo == nullptr) {
    return FALSE;
  }
  _AddItem(std::move(item));
  return TRUE;
}

BOOL CCtSvcBulkOpInsertAdn::_GetContactInfo(CtSvcBulkSimContactItem& item) { return item.pInfo != nullptr; }

BOOL CCtSvcBulkOpInsertAdn::_SendItem(CtSvcBulkSimContactItem& item, ICtSvcSimUpdater* pUpdater) {
  if (!_GetContactInfo(item)) {
    return FALSE;
  }
  const int nSlot = CCtSvcSimMgr::Instance()->GetUnusedRecordIndex(CTSVC_SIM_ADN);
  if (nSlot < 0) {
    DbgPrint(DBG_CLASS_FAIL, "%s::_GetContactInfo - GetUnusedRecordIndex() failed\n", _Who());
    return FALSE;
  }
  item.pInfo->person.nSlotIndex = nSlot;
  item.pContact = std::make_unique<CCtSvcContact>(item.pInfo->Info(), CTSVC_USE_TYPE_SIM);
  item.pContact->GetPerson().SetSlotIndex(nSlot);
  item.pContact->RemoveFieldForSim(FALSE);
  CCtSvcSimAdnRecord adn;
  if (!CCtSvcPhonebookMgr::Instance()->__ConvToSimAdnRecord(*item.pContact, &adn)) {
    return FALSE;
  }
  return pUpdater->InsertRecord(nSlot, &adn, _Listener());
}

BOOL CCtSvcBulkOpInsertAdn::_OnWritten(CtSvcBulkSimContactItem& item, int nRecordIndex) {
  item.pContact->GetPerson().SetSlotIndex(nRecordIndex);
  CCtSvcDbWriteUnit unit;
  const int nId = unit.IsOpen() ? item.pContact->Insert(0) : -1;
  if (nId <= 0 || !_AfterInsert(item) || !unit.KeepAndCommit()) {
    DbgPrint(DBG_CLASS_FAIL, "%s::OnInsertRecord - the SIM contact of record %d was not stored\n", _Who(),
             nRecordIndex);
    return FALSE;
  }
  CtSvcContactInfo info = item.pInfo->Info();
  CCtSvcPhonebookMgr::Instance()->__NotifyContactBulkChanged(CTSVC_CHANGE_TYPE_INSERT, nId, &info);
  return TRUE;
}
