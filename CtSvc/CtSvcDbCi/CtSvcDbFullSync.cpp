// Full-synchronisation listeners: told when bulk work pauses the listeners (state 0) and when it
// resumes them (state 1).
#include <memory>

#include "CtSvcDbCi/CtSvcDbFullSyncReport.h"
#include "CtSvcDbCi/CtSvcDbListenerEvents.h"
#include "CtSvcDbCi/CtSvcDbListenerModule.h"
#include "CtSvcDbCi/CtSvcDbListenerRelay.h"
#include "CtSvcDbListener.h"
#include "CtSvcEH/CtSvcEH.h"
#include "ZelDebug.h"
#include "ZelOs.h"
#include "ZelWm.h"

namespace {

using FullSyncPtr = std::shared_ptr<CCtSvcFullSyncObserver>;

CCtSvcListenerSet<CCtSvcFullSyncObserver>& FullSyncSet() {
  return CCtSvcDbListenerModule::Instance().m_vcFullSyncObserver;
}

void NotifyOne(const FullSyncPtr& pObserver, INT32 nState) {
  if (!ZEL_REQUIRE_TEXT(pObserver->m_pfnCallback != nullptr, "m_pfnCallback")) {
    return;
  }
  if (CtSvcIsUiTask()) {
    // Through the list, so that a removal on another thread waits for the call.
    FullSyncSet().Call(pObserver.get(), [&](const CCtSvcFullSyncObserver& listener) {
      listener.m_pfnCallback(nState, nullptr, listener.m_pUserData);
    });
    return;
  }
  const CtSvcDbListenerEvent record =
      CtSvcMakeFullSyncEvent(WmGetEventHandlerByName(CTSVC_EH_NAME), nState, pObserver.get());
  if (!CtSvcPostListenerRelay(CTSVC_EH_FULLSYNC_NOTIFY, record)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbListenerNotifyFullSync - relay to %s failed\n", CTSVC_EH_NAME);
  }
}

}  // namespace

extern "C" BOOL CtSvcDbListenerRegisterFullSyncCallback(CtSvcDbFullSyncCallback pfnCallback, void* pUserData) {
  if (!ZEL_REQUIRE(pfnCallback != NULL)) {
    return FALSE;
  }
  FullSyncSet().Add(std::make_shared<CCtSvcFullSyncObserver>(CCtSvcFullSyncObserver{pfnCallback, pUserData}));
  DbgPrint(DBG_CLASS_TRACE, "CtSvcDbListenerRegisterFullSyncCallback - Registered successfully\n");
  return TRUE;
}

extern "C" BOOL CtSvcDbListenerUnregisterFullSyncCallback(CtSvcDbFullSyncCallback pfnCallback, void* pUserData) {
  const FullSyncPtr pTaken = FullSyncSet().Take([&](const CCtSvcFullSyncObserver& o) {
    return o.m_pfnCallback == pfnCallback && o.m_pUserData == pUserData;
  });
  if (!pTaken) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbListenerUnregisterFullSyncCallback - UnRegisteration failed\n");
    return FALSE;
  }
  DbgPrint(DBG_CLASS_TRACE, "CtSvcDbListenerUnregisterFullSyncCallback - UnRegistered successfully\n");
  return TRUE;
}

extern "C" BOOL CtSvcDbListenerIsValidFullSyncObserver(const void* pObserver) {
  if (pObserver != nullptr && FullSyncSet().Contains(pObserver)) {
    return TRUE;
  }
  DbgPrint(DBG_CLASS_FAIL, "CtSvcDbListenerIsValidFullSyncObserver - Invaild Observer");
  return FALSE;
}

extern "C" BOOL CtSvcDbListenerNotifyFullSync(INT32 nState) {
  for (const FullSyncPtr& pObserver : FullSyncSet().Snapshot()) {
    NotifyOne(pObserver, nState);
  }
  if (nState == CTSVC_DB_FULLSYNC_STATE_ENDED) {
    CtSvcDbListenerReportFullSyncEnd();
  }
  return TRUE;
}
