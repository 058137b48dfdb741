// Fixed-dialling numbers: store rows mirrored by FDN records on the card, written through the FDN
// record updater after the store.
#include "CtSvcDbDetail.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgrWrite.h"
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
  if (!ZEL_REQUIRE_TEXT(pFdnInfo != nullptr, "pFdnInfo") ||
      !CtSvcPhonebookCheckFdnInfo("CCtSvcPhonebookMgr::InsertFdnRecord", *pFdnInfo)) {
    return -1;
  }
  CtSvcFdnInfo info = *pFdnInfo;
  if (!CtSvcPhonebookTakeFreeSlot("CCtSvcPhonebookMgr::InsertFdnRecord", CTSVC_SIM_FDN, &info.nSlotIndex)) {
    return -1;
  }
  ICtSvcSimUpdater* pUpdater = FdnUpdater();
  int nId = -1;
  const CCtSvcSimXdnRecord record = FdnRecord(info);
  if (pUpdater == nullptr ||
      !CtSvcPhonebookWriteStoreAndCard([&] { return (nId = CtSvcDbFdnInsertRecord(&info)) > 0; },
                                       [&] { return pUpdater->InsertRecord(info.nSlotIndex, &record, this) != FALSE; })) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::InsertFdnRecord is FAILED\n");
    return -1;
  }
  return nId;
}

BOOL CCtSvcPhonebookMgr::UpdateFdnRecord(int nId, const CtSvcFdnInfo* pFdnInfo) {
  if (!ZEL_REQUIRE_TEXT(pFdnInfo != nullptr, "pFdnInfo") ||
      !CtSvcPhonebookCheckFdnInfo("CCtSvcPhonebookMgr::UpdateFdnRecord", *pFdnInfo)) {
    return FALSE;
  }
  ICtSvcSimUpdater* pUpdater = FdnUpdater();
  const CCtSvcSimXdnRecord record = FdnRecord(*pFdnInfo);
  if (pUpdater == nullptr ||
      !CtSvcPhonebookWriteStoreAndCard(
          [&] { return CtSvcDbFdnUpdateRecord(nId, pFdnInfo) != FALSE; },
          [&] { return pUpdater->UpdateRecord(pFdnInfo->nSlotIndex, &record, this) != FALSE; })) {
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
