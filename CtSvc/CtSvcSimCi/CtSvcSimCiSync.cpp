// The external synchronisation client: one registered callback that allows a sync to start and
// end, and the table of callbacks told about contact changes.
#include "CtSvcSimCi/CtSvcSimCiSync.h"

#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "ZelDebug.h"

namespace {

constexpr int kManipulateCallbackMax = 10;

CtSyncCallback g_pfnSyncCallback = nullptr;
void* g_pSyncUserData = nullptr;
bool g_bSyncAllowed = false;
bool g_bSyncInProgress = false;
// Change logging: off while a sync runs.
int SgbCtSvcWriteChangeLog = 1;
int gbCtSvcWriteChangeLog = 1;
CtInfoManipulateCallback g_apfnManipulate[kManipulateCallbackMax] = {};
int gCtSyncCtInfoWithAppsCallbackCnt = 0;

}  // namespace

BOOL CtRegisterSyncCallback(CtSyncCallback pfnCallback, void* pUserData) {
  CCtSvcModuleLock lock;
  if (pfnCallback == nullptr || g_pfnSyncCallback != nullptr) {
    return FALSE;
  }
  g_pfnSyncCallback = pfnCallback;
  g_pSyncUserData = pUserData;
  g_bSyncAllowed = true;
  return TRUE;
}

namespace {

// One step of a sync (0 start, 1 end): allowed in the state bFrom, and by the client's answer.
BOOL SyncStep(int nType, bool bFrom, const char* pszRefused) {
  if (!bFrom || g_pfnSyncCallback == nullptr || g_pfnSyncCallback(nType, 1, g_pSyncUserData) == 0) {
    DbgPrint(DBG_CLASS_FAIL, pszRefused);
    return FALSE;
  }
  g_bSyncInProgress = nType == 0;
  g_bSyncAllowed = nType != 0;
  SgbCtSvcWriteChangeLog = nType;
  gbCtSvcWriteChangeLog = 1;
  return TRUE;
}

}  // namespace

BOOL CtStartSync(void) {
  CCtSvcModuleLock lock;
  if (!SyncStep(0, g_bSyncAllowed, "CtStartSync: Cannot start sync!!\n")) {
    return FALSE;
  }
  DbgPrint(DBG_CLASS_TRACE, "CtStartSync: SgbCtSvcWriteChangeLog=%d\n", SgbCtSvcWriteChangeLog);
  return TRUE;
}

BOOL CtEndSync(void) {
  CCtSvcModuleLock lock;
  if (!SyncStep(1, g_bSyncInProgress, "CtEndSync: Cannot stop sync!!\n")) {
    return FALSE;
  }
  DbgPrint(DBG_CLASS_TRACE, "CtEndSync: gbCtSvcWriteChangeLog=%d\n", gbCtSvcWriteChangeLog);
  return TRUE;
}

BOOL CtRegisterCtInfoManipulateCallback(CtInfoManipulateCallback pfnCallback) {
  CCtSvcModuleLock lock;
  if (pfnCallback == nullptr) {
    return FALSE;
  }
  if (gCtSyncCtInfoWithAppsCallbackCnt == 0) {
    for (CtInfoManipulateCallback& pfnSlot : g_apfnManipulate) {
      pfnSlot = nullptr;
    }
  }
  if (gCtSyncCtInfoWithAppsCallbackCnt >= kManipulateCallbackMax) {
    // The table is full: the caller hears no later change rather than overwriting another's slot.
    DbgPrint(DBG_CLASS_FAIL, "[CTSVC]CtRegisterCtInfoManipulateCallback gCtSyncCtInfoWithAppsCallbackCnt[%d]\n",
             gCtSyncCtInfoWithAppsCallbackCnt);
    return FALSE;
  }
  g_apfnManipulate[gCtSyncCtInfoWithAppsCallbackCnt++] = pfnCallback;
  DbgPrint(DBG_CLASS_TRACE, "[CTSVC]CtRegisterCtInfoManipulateCallback gCtSyncCtInfoWithAppsCallbackCnt[%d]\n",
           gCtSyncCtInfoWithAppsCallbackCnt);
  return TRUE;
}

BOOL CtSvcSyncIsInProgress() {
  CCtSvcModuleLock lock;
  return g_bSyncInProgress ? TRUE : FALSE;
}

void CtSvcSyncNotifyContactChanged(int nContactID, int nAction) {
  CtInfoManipulateCallback apfn[kManipulateCallbackMax] = {};
  int nCount = 0;
  {
    CCtSvcModuleLock lock;
    nCount = gCtSyncCtInfoWithAppsCallbackCnt;
    for (int i = 0; i < nCount; ++i) {
      apfn[i] = g_apfnManipulate[i];
    }
  }
  for (int i = 0; i < nCount; ++i) {
    apfn[i](nContactID, nAction);
  }
}

void _CtSvcSyncReset() {
  CCtSvcModuleLock lock;
  g_pfnSyncCallback = nullptr;
  g_pSyncUserData = nullptr;
  g_bSyncAllowed = false;
  g_bSyncInProgress = false;
  SgbCtSvcWriteChangeLog = 1;
  gbCtSvcWriteChangeLog = 1;
  gCtSyncCtInfoWithAppsCallbackCnt = 0;
}
