// Fixed-dialling numbers: store rows mirrored by FDN records on the card, written through the FDN
// record updater after the store.
#include "CtSvcDB/DbMgr/CtSvcDbWriteUnit.h"
#include "CtSvcDbDetail.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "CtSvcSim/SimRecord/CtSvcSimRecord.h"
#include "ZelDebug.h"

namespace {

CCtSvcSimXdnRecord FdnRecord(const CtSvcFdnInfo& info) {
  CCtSvcSimXdnRecord record;
  record.SetRecordIndex(info.nSlotIndex);
  record.SetName(info.szName);
  record.SetPhoneNumber(info.szPhoneNumber);
  return record;
}

ICtSvcSimUpdater* FdnUpdater() { return CCtSvcSimMgr::Instance()->GetRecordUpdater(CTSVC_SIM_UPDATER_FDN); }

}  // namespace

int CCtSvcPhonebookMgr::InsertFdnRecord(const CtSvcFdnInfo* pFdnInfo) {
  if (!ZEL_REQUIRE_TEXT(pFdnInfo != nullptr, "pFdnInfo")) {
    return -1;
  }
  CtSvcFdnInfo info = *pFdnInfo;
  if (info.nSlotIndex == -1) {
    info.nSlotIndex = CCtSvcSimMgr::Instance()->GetUnusedRecordIndex(CTSVC_SIM_FDN);
    if (info.nSlotIndex < 0) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::InsertFdnRecord - GetUnusedRecordIndex() failed\n");
      return -1;
    }
  }
  ICtSvcSimUpdater* pUpdater = FdnUpdater();
  CCtSvcDbWriteUnit unit;
  const int nId = pUpdater != nullptr && unit.IsOpen() ? CtSvcDbFdnInsertRecord(&info) : -1;
  const CCtSvcSimXdnRecord record = FdnRecord(info);
  if (nId <= 0 || !pUpdater->InsertRecord(info.nSlotIndex, &record, this) || !unit.KeepAndCommit()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::InsertFdnRecord is FAILED\n");
    return -1;
  }
  return nId;
}

BOOL CCtSvcPhonebookMgr::UpdateFdnRecord(int nId, const CtSvcFdnInfo* pFdnInfo) {
  if (!ZEL_REQUIRE_TEXT(pFdnInfo != nullptr, "pFdnInfo")) {
    return FALSE;
  }
  ICtSvcSimUpdater* pUpdater = FdnUpdater();
  CCtSvcDbWriteUnit unit;
  const CCtSvcSimXdnRecord record = FdnRecord(*pFdnInfo);
  if (pUpdater == nullptr || !unit.IsOpen() || !CtSvcDbFdnUpdateRecord(nId, pFdnInfo) ||
      !pUpdater->UpdateRecord(pFdnInfo->nSlotIndex, &record, this) || !unit.KeepAndCommit()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::UpdateFdnRecord is FAILED\n");
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcPhonebookMgr::DeleteFdnRecord(int nId) {
  CtSvcFdnRecord fdn{};
  if (nId <= 0 || !CtSvcDbFdnGetRecord(nId, &fdn)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::DeleteFdnRecord - CtSvcFdnListGetRecord failed\n");
    return FALSE;
  }
  if (!CtSvcDbFdnDeleteRecord(nId)) {
    return FALSE;
  }
  const int nSlot = fdn.Info.nSlotIndex;
  if (nSlot < 0 || CCtSvcSimMgr::Instance()->IsUsedRecord(CTSVC_SIM_FDN, nSlot) != 1) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::DeleteFdnRecord - the record of nSlotIndex(= %d) does not exist in SIM\n",
             nSlot);
    return FALSE;
  }
  ICtSvcSimUpdater* pUpdater = FdnUpdater();
  return pUpdater != nullptr && pUpdater->DeleteRecord(nSlot, this) ? TRUE : FALSE;
}
