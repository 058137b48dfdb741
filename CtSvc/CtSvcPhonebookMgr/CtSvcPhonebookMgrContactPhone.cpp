// Phone contacts: insert (one, or many in mass-insert mode), update and delete, with the change
// callbacks they cause.
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/DbMgr/CtSvcDbWriteUnit.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbPerson.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgrWrite.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

HOBJ CCtSvcPhonebookMgr::InsertContactToPhone(const CtSvcContactInfo* pContactInfo, BOOL bCommit) {
  CCtSvcContact contact;
  if (!CtSvcPhonebookReadContact("CCtSvcPhonebookMgr::InsertContactToPhone", pContactInfo, CTSVC_USE_TYPE_PHONE,
                                 &contact)) {
    return INVALID_HOBJ;
  }
  const int nId = contact.Insert(bCommit ? 1 : 0);
  if (nId <= 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::InsertContactToPhone - Insert failed\n");
    return INVALID_HOBJ;
  }
  if (bCommit) {
    __NotifyContactChanged(CTSVC_CHANGE_TYPE_INSERT, nId, pContactInfo);
    NotifyContactChangedQRN(CTSVC_CHANGE_TYPE_INSERT, nId, pContactInfo);
  }
  return CTSVC_MAKE_HANDLE(CTSVC_USE_TYPE_PHONE, nId);
}

BOOL CCtSvcPhonebookMgr::InsertContactsToPhoneForVamo(CtSvcContactInfo** ppContactInfo, HOBJ* phPersons, int nCount) {
  if (!ZEL_REQUIRE_TEXT(nCount <= 0 || (ppContactInfo != nullptr && phPersons != nullptr),
                        "ppContactInfo && phPersons")) {
    return FALSE;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::InsertContactsToPhoneForVamo - start\n");
  CCtSvcDbMgr::Instance()->SetInsertMassFlag(TRUE);
  for (int i = 0; i < nCount; ++i) {
    phPersons[i] = InsertContactToPhone(ppContactInfo[i], FALSE);
  }
  CCtSvcDbMgr::Instance()->SetInsertMassFlag(FALSE);
  Db2Commit();
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::InsertContactsToPhoneForVamo - end\n");
  return TRUE;
}

BOOL CCtSvcPhonebookMgr::UpdateContactToPhone(HOBJ hPerson, CtSvcContactInfo* pContactInfo, BOOL bNotify) {
  if (!ZEL_REQUIRE_TEXT(hPerson != INVALID_HOBJ, "hPerson != INVALID_HOBJ") ||
      !ZEL_REQUIRE_TEXT(CtSvcExtractDevType(hPerson) == CTSVC_USE_TYPE_PHONE,
                        "CtSvcExtractDevType(hPerson) == CTSVC_USE_TYPE_PHONE")) {
    return FALSE;
  }
  CCtSvcContact contact;
  if (!CtSvcPhonebookReadContact("CCtSvcPhonebookMgr::UpdateContactToPhone", pContactInfo, CTSVC_USE_TYPE_PHONE,
                                 &contact)) {
    return FALSE;
  }
  CtSvcPersonRecord stored{};
  if (!CtSvcDbPersonGetRecord(hPerson, &stored)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::UpdateContactToPhone - CtSvcDbPersonGetRecord failed\n");
    return FALSE;
  }
  if (!ZEL_REQUIRE_TEXT(stored.Info.nPrimaryId > 0, "personRecord.Info.nPrimaryId > 0")) {
    return FALSE;
  }
  CCtSvcDbWriteUnit unit;
  if (!unit.IsOpen() || !_MergeDetails(hPerson, stored, pContactInfo) ||
      !CtSvcPhonebookFinishPersonUpdate("CCtSvcPhonebookMgr::UpdateContactToPhone", hPerson, stored.Info.nPrimaryId,
                                        pContactInfo->pPersonInfo) ||
      !unit.KeepAndCommit()) {
    return FALSE;
  }
  if (bNotify) {
    const int nId = CTSVC_HANDLE_TO_ID(hPerson);
    __NotifyContactChanged(CTSVC_CHANGE_TYPE_UPDATE, nId, pContactInfo);
    NotifyContactChangedQRN(CTSVC_CHANGE_TYPE_UPDATE, nId, pContactInfo);
  }
  return TRUE;
}

BOOL CCtSvcPhonebookMgr::DeleteContactFromPhone(HOBJ hPerson, BOOL bCommit) {
  if (!ZEL_REQUIRE_TEXT(hPerson != INVALID_HOBJ, "hPerson != INVALID_HOBJ")) {
    return FALSE;
  }
  CtSvcPersonRecord stored{};
  if (!CtSvcDbPersonGetRecord(hPerson, &stored)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::DeleteContactFromPhone - CtSvcDbPersonGetRecord failed\n");
    return FALSE;
  }
  if (!CtSvcPhonebookRemovePerson("CCtSvcPhonebookMgr::DeleteContactFromPhone", stored, bCommit)) {
    return FALSE;
  }
  if (bCommit) {
    CtSvcContactInfo copy{};
    copy.pPersonInfo = &stored.Info;
    __NotifyContactChanged(CTSVC_CHANGE_TYPE_DELETE, stored.nId, nullptr);
    NotifyContactChangedQRN(CTSVC_CHANGE_TYPE_DELETE, stored.nId, &copy);
  }
  return TRUE;
}

BOOL CCtSvcPhonebookMgr::DeleteContactsFromPhoneForVamo(const HOBJ* phPersons, int nCount) {
  if (!ZEL_REQUIRE_TEXT(nCount <= 0 || phPersons != nullptr, "phPersons")) {
    return FALSE;
  }
  BOOL bResult = TRUE;
  Db2CommitPause();
  for (int i = 0; i < nCount; ++i) {
    const int nId = CTSVC_HANDLE_TO_ID(phPersons[i]);
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::DeleteContactsFromPhoneForVamo - nPersonId(%d)\n", nId);
    CtSvcPersonRecord stored{};
    if (nId <= 0 || !CtSvcDbPersonGetRecordById(nId, &stored)) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::DeleteContactsFromPhoneForVamo - CtSvcDbPersonGetRecord failed\n");
      bResult = FALSE;
      break;
    }
    if (!CtSvcPhonebookRemovePerson("CCtSvcPhonebookMgr::DeleteContactsFromPhoneForVamo", stored, FALSE)) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::DeleteContactsFromPhoneForVamo - (%d)person delete failed\n", nId);
    }
  }
  Db2CommitResume();
  Db2Commit();
  return bResult;
}
