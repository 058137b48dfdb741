// The phonebook's start-up functions of the C API: each runs under the module mutex (the callback
// unregistrations excepted) and hands over to the phonebook manager.
#include "CtSvcPhonebook.h"

#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "ZelDebug.h"
#include "ZelPhs.h"

namespace {

CCtSvcPhonebookMgr* Mgr() { return CCtSvcPhonebookMgr::Instance(); }

}  // namespace

extern "C" BOOL CtSvcPhonebookInitialize(CtSvcPhonebookInitCallback pfnCallback, void* pUserData, int* pbNoSim) {
  CCtSvcModuleLock lock;
  if (_BmIsPowerOffState() == 1) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcPhonebookInitialize : _BmIsPowerOffState is TRUE");
    return FALSE;
  }
  CCtSvcPhonebookListener::Instance()->SetCallback(pfnCallback, pUserData);
  return Mgr()->InitPhonebook(CCtSvcPhonebookListener::Instance(), pbNoSim);
}

extern "C" BOOL CtSvcPhonebookReloadSimRecord(int nMask, CtSvcPhonebookInitCallback pfnCallback, void* pUserData) {
  CCtSvcModuleLock lock;
  if (_BmIsPowerOffState() == 1) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcPhonebookReloadSimRecord : _BmIsPowerOffState is TRUE");
    return FALSE;
  }
  CCtSvcPhonebookListener::Instance()->SetCallback(pfnCallback, pUserData);
  return Mgr()->ReloadSimRecord(nMask, CCtSvcPhonebookListener::Instance());
}

extern "C" BOOL CtSvcPhonebookIsSimChanged(void) {
  CCtSvcModuleLock lock;
  return Mgr()->IsSimChanged();
}

extern "C" BOOL CtSvcPhonebookIsSHA1Changed(void) {
  CCtSvcModuleLock lock;
  return Mgr()->IsSHA1Changed();
}

extern "C" BOOL CtSvcPhonebookUpdateSHA1(void) {
  CCtSvcModuleLock lock;
  return Mgr()->UpdateSHA1();
}

extern "C" BOOL CtSvcPhonebookIsInitialized(void) {
  CCtSvcModuleLock lock;
  return Mgr()->IsInitializedPhonebook();
}

extern "C" void CtSvcPhonebookSetInitState(int nState) {
  CCtSvcModuleLock lock;
  Mgr()->SetPhonebookInitState(nState);
}

extern "C" int CtSvcPhonebookGetInitState(void) {
  CCtSvcModuleLock lock;
  return Mgr()->GetPhonebookInitState();
}

extern "C" void CtSvcPhonebookSetTryEnterCount(int nCount) {
  CCtSvcModuleLock lock;
  Mgr()->SetTryEnterCount(nCount);
}

extern "C" int CtSvcPhonebookGetTryEnterCount(void) {
  CCtSvcModuleLock lock;
  return Mgr()->GetTryEnterCount();
}

extern "C" void CtSvcPhonebookSetSimRefreshCondition(int nCondition) {
  CCtSvcModuleLock lock;
  Mgr()->SetSimRefreshCondition(nCondition);
}

extern "C" void CtSvcPhonebookCancelCallback(void) {
  CCtSvcModuleLock lock;
  Mgr()->CancelCallback();
}

extern "C" void CtSvcPhonebookUnregisterInitCallback(void) { CCtSvcPhonebookListener::Instance()->UnregisterInitCallback(); }

extern "C" void CtSvcPhonebookUnregisterSetCallback(void) { CCtSvcPhonebookListener::Instance()->UnregisterSetCallback(); }
