// Groups: phone groups are store rows with group callbacks; SIM groups are also GAS records on the
// card, written through the GAS record updater after the store.
#include "CtSvcDbDetail.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgrWrite.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "CtSvcSim/SimRecord/CtSvcSimRecord.h"
#include "ZelDebug.h"

namespace {

// A group info of the device type whose texts end inside their arrays.
bool RequireDevType(const char* pszWho, const CtSvcGroupInfo* pGroupInfo, int nDevType, const char* pszText) {
  return ZEL_REQUIRE_TEXT(pGroupInfo != nullptr, "pGroupInfo") &&
         ZEL_REQUIRE_TEXT(pGroupInfo->DevType == nDevType, pszText) &&
         CtSvcPhonebookCheckGroupInfo(pszWho, *pGroupInfo);
}

CCtSvcSimXasRecord GasRecord(int nSlotIndex, const char* pszName) {
  CCtSvcSimXasRecord record;
  record.SetRecordIndex(nSlotIndex);
  record.SetName(pszName);
  return record;
}

ICtSvcSimUpdater* GasUpdater() { return CCtSvcSimMgr::Instance()->GetRecordUpdater(CTSVC_SIM_UPDATER_GAS); }

}  // namespace

int CCtSvcPhonebookMgr::InsertGroupToPhone(const CtSvcGroupInfo* pGroupInfo) {
  if (!RequireDevType("CCtSvcPhonebookMgr::InsertGroupToPhone", pGroupInfo, CTSVC_USE_TYPE_PHONE, "pGroupInfo->DevType == CTSVC_USE_TYPE_PHONE")) {
    return -1;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::InsertGroupToPhone - pGroupInfo->szName:%s\n", pGroupInfo->szName);
  const int nId = CtSvcDbGroupInsertRecord(pGroupInfo);
  if (nId > 0) {
    __NotifyGroupChanged(CTSVC_CHANGE_TYPE_INSERT, nId, pGroupInfo);
    NotifyGroupChangedQRN(CTSVC_CHANGE_TYPE_INSERT, nId, pGroupInfo);
  }
  return nId > 0 ? nId : -1;
}

int CCtSvcPhonebookMgr::InsertGroupToSim(const CtSvcGroupInfo* pGroupInfo) {
  if (!RequireDevType("CCtSvcPhonebookMgr::InsertGroupToSim", pGroupInfo, CTSVC_USE_TYPE_SIM, "pGroupInfo->DevType == CTSVC_USE_TYPE_SIM")) {
    return -1;
  }
  CtSvcGroupInfo info = *pGroupInfo;
  if (!CtSvcPhonebookTakeFreeSlot("CCtSvcPhonebookMgr::InsertGroupToSim", CTSVC_SIM_GAS, &info.nSlotIndex)) {
    return -1;
  }
  ICtSvcSimUpdater* pUpdater = GasUpdater();
  int nId = -1;
  const CCtSvcSimXasRecord record = GasRecord(info.nSlotIndex, info.szName);
  if (pUpdater == nullptr ||
      !CtSvcPhonebookWriteStoreAndCard([&] { return (nId = CtSvcDbGroupInsertRecord(&info)) > 0; },
                                       [&] { return pUpdater->InsertRecord(info.nSlotIndex, &record, this) != FALSE; })) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::InsertGroupToSim is FAILED\n");
    return -1;
  }
  return nId;
}

BOOL CCtSvcPhonebookMgr::UpdateGroupToPhone(int nId, const CtSvcGroupInfo* pGroupInfo) {
  if (!ZEL_REQUIRE_TEXT(nId >= 0, "nID >= 0") || !ZEL_REQUIRE_TEXT(pGroupInfo != nullptr, "pGroupInfo") ||
      !CtSvcPhonebookCheckGroupInfo("CCtSvcPhonebookMgr::UpdateGroupToPhone", *pGroupInfo)) {
    return FALSE;
  }
  if (!CtSvcDbGroupUpdateRecord(nId, pGroupInfo)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::UpdateGroupToPhone - CtSvcDbGroupUpdateRecord failed\n");
    return FALSE;
  }
  __NotifyGroupChanged(CTSVC_CHANGE_TYPE_UPDATE, nId, pGroupInfo);
  NotifyGroupChangedQRN(CTSVC_CHANGE_TYPE_UPDATE, nId, pGroupInfo);
  return TRUE;
}

BOOL CCtSvcPhonebookMgr::UpdateGroupToSim(int nId, const CtSvcGroupInfo* pGroupInfo) {
  if (!ZEL_REQUIRE_TEXT(nId >= 0, "nID >= 0") ||
      !RequireDevType("CCtSvcPhonebookMgr::UpdateGroupToSim", pGroupInfo, CTSVC_USE_TYPE_SIM, "pGroupInfo->DevType == CTSVC_USE_TYPE_SIM")) {
    return FALSE;
  }
  ICtSvcSimUpdater* pUpdater = GasUpdater();
  const CCtSvcSimXasRecord record = GasRecord(pGroupInfo->nSlotIndex, pGroupInfo->szName);
  if (pUpdater == nullptr ||
      !CtSvcPhonebookWriteStoreAndCard(
          [&] { return CtSvcDbGroupUpdateRecord(nId, pGroupInfo) != FALSE; },
          [&] { return pUpdater->UpdateRecord(pGroupInfo->nSlotIndex, &record, this) != FALSE; })) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::UpdateGroupToSim is FAILED\n");
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcPhonebookMgr::DeleteGroupFromPhone(int nId) {
  if (!ZEL_REQUIRE_TEXT(nId > 0, "nID > 0") || !CtSvcDbGroupDeleteRecord(nId)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::DeleteGroupFromPhone - CtSvcDbGroupDeleteRecord failed\n");
    return FALSE;
  }
  __NotifyGroupChanged(CTSVC_CHANGE_TYPE_DELETE, nId, nullptr);
  NotifyGroupChangedQRN(CTSVC_CHANGE_TYPE_DELETE, nId, nullptr);
  return TRUE;
}

BOOL CCtSvcPhonebookMgr::DeleteGroupFromSim(int nId) {
  CtSvcGroupRecord group{};
  if (nId <= 0 || !CtSvcDbGroupGetRecord(nId, &group)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::DeleteGroupToSim- CtSvcGroupListGetRecord failed\n");
    return FALSE;
  }
  if (!ZEL_REQUIRE_TEXT(group.Info.DevType == CTSVC_USE_TYPE_SIM, "groupRecord.Info.DevType == CTSVC_USE_TYPE_SIM") ||
      !CtSvcDbGroupDeleteRecord(nId)) {
    return FALSE;
  }
  const int nSlot = group.Info.nSlotIndex;
  if (nSlot < 0 || CCtSvcSimMgr::Instance()->IsUsedRecord(CTSVC_SIM_GAS, nSlot) != 1) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::DeleteGroupToSim - the record of nSlotIndex(= %d) does not exist in SIM\n",
             nSlot);
    return FALSE;
  }
  ICtSvcSimUpdater* pUpdater = GasUpdater();
  return pUpdater != nullptr && pUpdater->DeleteRecord(nSlot, this) ? TRUE : FALSE;
}
