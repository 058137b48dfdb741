// The phonebook's write operations and change callbacks as C functions. Each logs
// "<function> entered" and runs under the module lock (except the own-number getters and the
// notify switch); a SIM-side call first makes its set callback the one SIM results go to.
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcPhonebook.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "ZelDebug.h"

namespace {

CCtSvcPhonebookMgr* Mgr() { return CCtSvcPhonebookMgr::Instance(); }

void Entered(const char* pszName) { DbgPrint(DBG_CLASS_TRACE, "%s entered\n", pszName); }

template <class F>
auto Locked(const char* pszName, F body) -> decltype(body(Mgr())) {
  Entered(pszName);
  CCtSvcModuleLock lock;
  return body(Mgr());
}

// SIM results of this call go to the set callback.
template <class F>
auto LockedSim(const char* pszName, CtSvcPhonebookSetCallback pfnCallback, void* pUserData, F body)
    -> decltype(body(Mgr())) {
  Entered(pszName);
  CCtSvcModuleLock lock;
  CCtSvcPhonebookListener::Instance()->SetSetCallback(pfnCallback, pUserData);
  Mgr()->SetListener(CCtSvcPhonebookListener::Instance());
  return body(Mgr());
}

using List = CCtSvcPhonebookMgr::CallbackList;

void Register(const char* pszName, List list, CtSvcPhonebookChangeCallback pfnCallback, void* pUserData) {
  Locked(pszName, [&](CCtSvcPhonebookMgr* pMgr) { pMgr->RegisterCallback(list, pfnCallback, pUserData); });
}

void Unregister(const char* pszName, List list, CtSvcPhonebookChangeCallback pfnCallback, void* pUserData) {
  Locked(pszName, [&](CCtSvcPhonebookMgr* pMgr) { pMgr->UnregisterCallback(list, pfnCallback, pUserData); });
}

}  // namespace

extern "C" {

HOBJ CtSvcPhonebookInsertContactToPhone(CtSvcContactInfo* pContactInfo) {
  return Locked(__func__, [&](CCtSvcPhonebookMgr* p) { return p->InsertContactToPhone(pContactInfo, TRUE); });
}

HOBJ CtSvcPhonebookInsertContactToPhoneNoCommit(CtSvcContactInfo* pContactInfo) {
  return Locked(__func__, [&](CCtSvcPhonebookMgr* p) { return p->InsertContactToPhone(pContactInfo, FALSE); });
}

BOOL CtSvcPhonebookInsertContactsToPhoneForVamo(CtSvcContactInfo** ppContactInfo, HOBJ* phPersons, int nCount) {
  return Locked(__func__, [&](CCtSvcPhonebookMgr* p) {
    return p->InsertContactsToPhoneForVamo(ppContactInfo, phPersons, nCount);
  });
}

HOBJ CtSvcPhonebookInsertContactToSim(CtSvcContactInfo* pContactInfo, CtSvcPhonebookSetCallback pfnCallback,
                                      void* pUserData) {
  return LockedSim(__func__, pfnCallback, pUserData,
                   [&](CCtSvcPhonebookMgr* p) { return p->InsertContactToSim(pContactInfo); });
}

BOOL CtSvcPhonebookUpdateContactToPhone(HOBJ hPerson, CtSvcContactInfo* pContactInfo) {
  return Locked(__func__, [&](CCtSvcPhonebookMgr* p) { return p->UpdateContactToPhone(hPerson, pContactInfo, TRUE); });
}

BOOL CtSvcPhonebookUpdateContactToPhoneNoNotify(HOBJ hPerson, CtSvcContactInfo* pContactInfo) {
  return Locked(__func__,
                [&](CCtSvcPhonebookMgr* p) { return p->UpdateContactToPhone(hPerson, pContactInfo, FALSE); });
}

BOOL CtSvcPhonebookUpdateContactToSim(HOBJ hPerson, CtSvcContactInfo* pContactInfo,
                                      CtSvcPhonebookSetCallback pfnCallback, void* pUserData) {
  return LockedSim(__func__, pfnCallback, pUserData,
                   [&](CCtSvcPhonebookMgr* p) { return p->UpdateContactToSim(hPerson, pContactInfo); });
}

BOOL CtSvcPhonebookDeleteContactFromPhone(HOBJ hPerson) {
  return Locked(__func__, [&](CCtSvcPhonebookMgr* p) { return p->DeleteContactFromPhone(hPerson, TRUE); });
}

BOOL CtSvcPhonebookDeleteContactFromPhoneNoCommit(HOBJ hPerson) {
  return Locked(__func__, [&](CCtSvcPhonebookMgr* p) { return p->DeleteContactFromPhone(hPerson, FALSE); });
}

BOOL CtSvcPhonebookDeleteContactsFromPhoneForVamo(const HOBJ* phPersons, int nCount) {
  return Locked(__func__, [&](CCtSvcPhonebookMgr* p) { return p->DeleteContactsFromPhoneForVamo(phPersons, nCount); });
}

BOOL CtSvcPhonebookDeleteContactFromSim(HOBJ hPerson, CtSvcPhonebookSetCallback pfnCallback, void* pUserData) {
  return LockedSim(__func__, pfnCallback, pUserData,
                   [&](CCtSvcPhonebookMgr* p) { return p->DeleteContactFromSim(hPerson); });
}

int CtSvcPhonebookInsertGroupToPhone(const CtSvcGroupInfo* pGroupInfo) {
  return Locked(__func__, [&](CCtSvcPhonebookMgr* p) { return p->InsertGroupToPhone(pGroupInfo); });
}

int CtSvcPhonebookInsertGroupToSim(const CtSvcGroupInfo* pGroupInfo, CtSvcPhonebookSetCallback pfnCallback,
                                   void* pUserData) {
  return LockedSim(__func__, pfnCallback, pUserData,
                   [&](CCtSvcPhonebookMgr* p) { return p->InsertGroupToSim(pGroupInfo); });
}

BOOL CtSvcPhonebookUpdateGroupToPhone(int nId, const CtSvcGroupInfo* pGroupInfo) {
  return Locked(__func__, [&](CCtSvcPhonebookMgr* p) { return p->UpdateGroupToPhone(nId, pGroupInfo); });
}

BOOL CtSvcPhonebookUpdateGroupToSim(int nId, const CtSvcGroupInfo* pGroupInfo, CtSvcPhonebookSetCallback pfnCallback,
                                    void* pUserData) {
  return LockedSim(__func__, pfnCallback, pUserData,
                   [&](CCtSvcPhonebookMgr* p) { return p->UpdateGroupToSim(nId, pGroupInfo); });
}

BOOL CtSvcPhonebookDeleteGroupFromPhone(int nId) {
  return Locked(__func__, [&](CCtSvcPhonebookMgr* p) { return p->DeleteGroupFromPhone(nId); });
}

BOOL CtSvcPhonebookDeleteGroupFromSim(int nId, CtSvcPhonebookSetCallback pfnCallback, void* pUserData) {
  return LockedSim(__func__, pfnCallback, pUserData, [&](CCtSvcPhonebookMgr* p) { return p->DeleteGroupFromSim(nId); });
}

int CtSvcPhonebookInsertFdnRecord(const CtSvcFdnInfo* pFdnInfo, CtSvcPhonebookSetCallback pfnCallback,
                                  void* pUserData) {
  return LockedSim(__func__, pfnCallback, pUserData,
                   [&](CCtSvcPhonebookMgr* p) { return p->InsertFdnRecord(pFdnInfo); });
}

BOOL CtSvcPhonebookUpdateFdnRecord(int nId, const CtSvcFdnInfo* pFdnInfo, CtSvcPhonebookSetCallback pfnCallback,
                                   void* pUserData) {
  return LockedSim(__func__, pfnCallback, pUserData,
                   [&](CCtSvcPhonebookMgr* p) { return p->UpdateFdnRecord(nId, pFdnInfo); });
}

BOOL CtSvcPhonebookDeleteFdnRecord(int nId, CtSvcPhonebookSetCallback pfnCallback, void* pUserData) {
  return LockedSim(__func__, pfnCallback, pUserData, [&](CCtSvcPhonebookMgr* p) { return p->DeleteFdnRecord(nId); });
}

BOOL CtSvcPhonebookSetOwnNumber(int nSlotIndex, const char* pszName, const char* pszPhoneNumber,
                                CtSvcPhonebookSetCallback pfnCallback, void* pUserData) {
  return LockedSim(__func__, pfnCallback, pUserData,
                   [&](CCtSvcPhonebookMgr* p) { return p->SetOwnNumber(nSlotIndex, pszName, pszPhoneNumber); });
}

BOOL CtSvcPhonebookDeleteOwnNumber(int nSlotIndex, CtSvcPhonebookSetCallback pfnCallback, void* pUserData) {
  return LockedSim(__func__, pfnCallback, pUserData,
                   [&](CCtSvcPhonebookMgr* p) { return p->DeleteOwnNumber(nSlotIndex); });
}

BOOL CtSvcPhonebookGetOwnNumber(int nSlotIndex, char* pszName, int nNameSize, char* pszPhoneNumber, int nNumberSize) {
  Entered(__func__);
  return Mgr()->GetOwnNumber(nSlotIndex, pszName, nNameSize, pszPhoneNumber, nNumberSize);
}

BOOL CtSvcPhonebookGetDefaultOwnNumber(char* pszName, int nNameSize, char* pszPhoneNumber, int nNumberSize) {
  Entered(__func__);
  return Mgr()->GetDefaultOwnNumber(pszName, nNameSize, pszPhoneNumber, nNumberSize);
}

int CtSvcPhonebookGetOwnNumberSlotCount(void) {
  Entered(__func__);
  return Mgr()->GetOwnNumberSlotCount();
}

int CtSvcPhonebookGetOwnNumberUsedSlotCount(void) {
  Entered(__func__);
  return Mgr()->GetOwnNumberUsedSlotCount();
}

void CtSvcPhonebookRegisterContactCallback(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData) {
  Register(__func__, CCtSvcPhonebookMgr::kContactCallbacks, pfnCallback, pUserData);
}

void CtSvcPhonebookRegisterGroupCallback(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData) {
  Register(__func__, CCtSvcPhonebookMgr::kGroupCallbacks, pfnCallback, pUserData);
}

void CtSvcPhonebookRegisterContactCallbackForQRN(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData) {
  Register(__func__, CCtSvcPhonebookMgr::kContactCallbacksForQrn, pfnCallback, pUserData);
}

void CtSvcPhonebookRegisterGroupCallbackForQRN(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData) {
  Register(__func__, CCtSvcPhonebookMgr::kGroupCallbacksForQrn, pfnCallback, pUserData);
}

void CtSvcPhonebookUnRegisterContactCallback(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData) {
  Unregister(__func__, CCtSvcPhonebookMgr::kContactCallbacks, pfnCallback, pUserData);
}

void CtSvcPhonebookUnRegisterGroupCallback(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData) {
  Unregister(__func__, CCtSvcPhonebookMgr::kGroupCallbacks, pfnCallback, pUserData);
}

void CtSvcPhonebookUnRegisterContactCallbackForQRN(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData) {
  Unregister(__func__, CCtSvcPhonebookMgr::kContactCallbacksForQrn, pfnCallback, pUserData);
}

void CtSvcPhonebookUnRegisterGroupCallbackForQRN(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData) {
  Unregister(__func__, CCtSvcPhonebookMgr::kGroupCallbacksForQrn, pfnCallback, pUserData);
}

void CtSvcPhonebookPauseNotify(void) {
  Entered(__func__);
  Mgr()->PauseNotify();
}

void CtSvcPhonebookResumeNotify(void) {
  Entered(__func__);
  Mgr()->ResumeNotify();
}

}  // extern "C"
