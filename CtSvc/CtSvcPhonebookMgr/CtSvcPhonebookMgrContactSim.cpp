// SIM contacts: the store is written at once and the card write is requested from the ADN record
// updater; its result comes back later through OnInsertRecord / OnUpdateRecord / OnDeleteRecord
// and goes on to the listener of the call.
#include "CtSvcDB/DbMgr/CtSvcDbWriteUnit.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcDbPerson.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgrMerge.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgrWrite.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "CtSvcSim/SimRecord/CtSvcSimRecord.h"
#include "ZelDebug.h"

namespace {

ICtSvcSimUpdater* AdnUpdater(const char* pszWho) {
  ICtSvcSimUpdater* pUpdater = CCtSvcSimMgr::Instance()->GetRecordUpdater(CTSVC_SIM_UPDATER_ADN);
  if (pUpdater == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s -GetRecordUpdater( void ) is FAILED\n", pszWho);
  }
  return pUpdater;
}

}  // namespace

// The card is written after the store: the store's write unit is kept only when the updater took
// the request, so a contact the card refuses is not left in the store alone.
HOBJ CCtSvcPhonebookMgr::InsertContactToSim(CtSvcContactInfo* pContactInfo) {
  static const char kWho[] = "CCtSvcPhonebookMgr::InsertContactToSim";
  CCtSvcContact contact;
  if (!CtSvcPhonebookReadContact(kWho, pContactInfo, CTSVC_USE_TYPE_SIM, &contact)) {
    return INVALID_HOBJ;
  }
  CtSvcPersonInfo& person = *pContactInfo->pPersonInfo;
  if (!CtSvcPhonebookTakeFreeSlot(kWho, CTSVC_SIM_ADN, &person.nSlotIndex)) {
    return INVALID_HOBJ;
  }
  contact.GetPerson().SetSlotIndex(person.nSlotIndex);
  contact.RemoveFieldForSim(FALSE);
  ICtSvcSimUpdater* pUpdater = AdnUpdater(kWho);
  if (pUpdater == nullptr) {
    return INVALID_HOBJ;
  }
  CCtSvcDbWriteUnit unit;
  const int nId = unit.IsOpen() ? contact.Insert(1) : -1;
  if (nId <= 0) {
    DbgPrint(DBG_CLASS_FAIL, "%s - Insert failed\n", kWho);
    return INVALID_HOBJ;
  }
  CCtSvcSimAdnRecord adn;
  if (!__ConvToSimAdnRecord(contact, &adn)) {
    DbgPrint(DBG_CLASS_FAIL, "%s - __ConvToSimAdnRecord failed\n", kWho);
    return INVALID_HOBJ;
  }
  if (!pUpdater->InsertRecord(person.nSlotIndex, &adn, this)) {
    DbgPrint(DBG_CLASS_FAIL, "%s- InsertRecord failed\n", kWho);
    return INVALID_HOBJ;
  }
  if (!unit.KeepAndCommit()) {
    DbgPrint(DBG_CLASS_FAIL, "%s - the stored contact could not be kept\n", kWho);
    return INVALID_HOBJ;
  }
  return CTSVC_MAKE_HANDLE(CTSVC_USE_TYPE_SIM, nId);
}

BOOL CCtSvcPhonebookMgr::UpdateContactToSim(HOBJ hPerson, CtSvcContactInfo* pContactInfo) {
  static const char kWho[] = "CCtSvcPhonebookMgr::UpdateContactToSim";
  if (!ZEL_REQUIRE_TEXT(hPerson != INVALID_HOBJ, "hPerson != INVALID_HOBJ") ||
      !ZEL_REQUIRE_TEXT(CtSvcExtractDevType(hPerson) == CTSVC_USE_TYPE_SIM,
                        "CtSvcExtractDevType(hPerson) == CTSVC_USE_TYPE_SIM")) {
    return FALSE;
  }
  CCtSvcContact contact;
  if (!CtSvcPhonebookReadContact(kWho, pContactInfo, CTSVC_USE_TYPE_SIM, &contact)) {
    return FALSE;
  }
  CtSvcPersonRecord stored{};
  if (!CtSvcDbPersonGetRecord(hPerson, &stored)) {
    DbgPrint(DBG_CLASS_FAIL, "%s - CtSvcDbPersonGetRecord failed\n", kWho);
    return FALSE;
  }
  ICtSvcSimUpdater* pUpdater = AdnUpdater(kWho);
  if (pUpdater == nullptr) {
    return FALSE;
  }
  CCtSvcDbWriteUnit unit;
  const CtSvcMergeContext ctx{kWho, hPerson, stored.Info.nPrimaryId, stored, pContactInfo};
  // The contact keeps its record on the card.
  pContactInfo->pPersonInfo->nSlotIndex = stored.Info.nSlotIndex;
  if (!unit.IsOpen() || !CtSvcMergeSimContactLists(ctx) ||
      !CtSvcPhonebookFinishPersonUpdate(kWho, hPerson, stored.Info.nPrimaryId, pContactInfo->pPersonInfo)) {
    return FALSE;
  }
  contact.SetContactInfo(*pContactInfo, CTSVC_USE_TYPE_SIM);
  contact.RemoveFieldForSim(TRUE);
  CCtSvcSimAdnRecord adn;
  if (!__ConvToSimAdnRecord(contact, &adn)) {
    DbgPrint(DBG_CLASS_FAIL, "%s - __ConvToSimAdnRecord failed\n", kWho);
    return FALSE;
  }
  if (!pUpdater->UpdateRecord(stored.Info.nSlotIndex, &adn, this)) {
    DbgPrint(DBG_CLASS_FAIL, "%s- UpdateRecord failed\n", kWho);
    return FALSE;
  }
  return unit.KeepAndCommit() ? TRUE : FALSE;
}

BOOL CCtSvcPhonebookMgr::DeleteContactFromSim(HOBJ hPerson) {
  static const char kWho[] = "CCtSvcPhonebookMgr::DeleteContactToSim";
  if (!ZEL_REQUIRE_TEXT(hPerson != INVALID_HOBJ, "hPerson != INVALID_HOBJ") ||
      !ZEL_REQUIRE_TEXT(CtSvcExtractDevType(hPerson) == CTSVC_USE_TYPE_SIM,
                        "CtSvcExtractDevType(hPerson) == CTSVC_USE_TYPE_SIM")) {
    return FALSE;
  }
  CtSvcPersonRecord stored{};
  if (!CtSvcDbPersonGetRecord(hPerson, &stored)) {
    DbgPrint(DBG_CLASS_FAIL, "%s - CtSvcDbPersonGetRecord failed\n", kWho);
    return FALSE;
  }
  if (!CtSvcPhonebookRemovePerson(kWho, stored, TRUE)) {
    return FALSE;
  }
  const int nSlot = stored.Info.nSlotIndex;
  if (nSlot < 0 || CCtSvcSimMgr::Instance()->IsUsedRecord(CTSVC_SIM_ADN, nSlot) != 1) {
    DbgPrint(DBG_CLASS_FAIL,
             "CCtSvcPhonebookMgr::DeleteContactToSim - the record of personInfo.nSlotIndex(= %d) does not exist in SIM\n",
             nSlot);
    return FALSE;
  }
  ICtSvcSimUpdater* pUpdater = AdnUpdater(kWho);
  return pUpdater != nullptr && pUpdater->DeleteRecord(nSlot, this) ? TRUE : FALSE;
}

BOOL CCtSvcPhonebookMgr::_ForwardSetResult(const char* pszWho, BOOL (ICtSvcPhonebookListener::*pfnSlot)(int, int),
                                           int nRecordIndex, BOOL bSuccess) {
  // The card's answer arrives on the "CTSVC" thread; the listener and the fingerprints are shared
  // with the callers' writes.
  CCtSvcModuleLock lock;
  const int nResult = bSuccess ? 1 : 0;
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::%s - Set result(%d), nRecordIndex(%d)\n", pszWho, nResult,
           nRecordIndex);
  if (m_pListener == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::%s - m_pListener is NULL\n", pszWho);
    return FALSE;
  }
  if (nResult == 1) {
    SetSHA1();
  }
  return (m_pListener->*pfnSlot)(nRecordIndex, nResult);
}

void CCtSvcPhonebookMgr::OnInsertRecord(int /*nSimFileID*/, int nRecordIndex, BOOL bSuccess) {
  _ForwardSetResult("OnInsertRecord", &ICtSvcPhonebookListener::OnInsertRecord, nRecordIndex, bSuccess);
}

void CCtSvcPhonebookMgr::OnUpdateRecord(int /*nSimFileID*/, int nRecordIndex, BOOL bSuccess) {
  _ForwardSetResult("OnUpdateRecord", &ICtSvcPhonebookListener::OnUpdateRecord, nRecordIndex, bSuccess);
}

void CCtSvcPhonebookMgr::OnDeleteRecord(int /*nSimFileID*/, int nRecordIndex, BOOL bSuccess) {
  _ForwardSetResult("OnDeleteRecord", &ICtSvcPhonebookListener::OnDeleteRecord, nRecordIndex, bSuccess);
}
