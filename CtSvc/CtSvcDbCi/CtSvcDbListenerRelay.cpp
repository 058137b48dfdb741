// Delivery on "CTSVC" of relayed listener and full-sync notices, and of deferred work. A relayed
// notice names its listener by address; the listener must still be registered when the notice
// arrives, else the notice is dropped.
#include "CtSvcDbCi/CtSvcDbListenerRelay.h"

#include "CtSvcDbCi/CtSvcDbListenerEvents.h"
#include "CtSvcDbCi/CtSvcDbListenerModule.h"
#include "CtSvcDbListener.h"
#include "CtSvcEH/CtSvcEH.h"
#include "ZelAc.h"
#include "ZelDebug.h"
#include "ZelOs.h"

namespace {

struct RecordFree {
  void operator()(CtSvcDbListenerEvent* p) const { CtSvcFreeListenerEvent(p); }
};
using RecordPtr = std::unique_ptr<CtSvcDbListenerEvent, RecordFree>;

// Calls the function of the listener registered at that address (a notice whose listener was
// removed meanwhile is dropped). The removal of a listener waits for this call.
void OnListenerNotify(void* pData, INT32 /*nParam1*/, INT32 /*nParam2*/) {
  const RecordPtr pRecord(static_cast<CtSvcDbListenerEvent*>(pData));
  if (!pRecord) {
    return;
  }
  const void* pObserver = CtSvcListenerEventObserver(*pRecord);
  const auto deliver = [&](const CCtSvcDbObserver& listener) {
    if (listener.GetCallback() == nullptr) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcEventNotify:CTSVC_EH_DB_LISTENER_NOTIFY - pfnCallback is NULL.\n");
      return;
    }
    listener.GetCallback()(CtSvcListenerEventCode(*pRecord), pRecord->nValue1, nullptr, listener.GetUserData());
  };
  CCtSvcDbListenerModule& module = CCtSvcDbListenerModule::Instance();
  if (!CtSvcDbListenerIsValidObserver(pObserver) ||
      !(module.m_vcDbUriListener.Call(pObserver, deliver) || module.m_vcDbListListener.Call(pObserver, deliver))) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEventNotify:CTSVC_EH_DB_LISTENER_NOTIFY - pObserver invalid.\n");
  }
}

void OnFullSyncNotify(void* pData, INT32 /*nParam1*/, INT32 /*nParam2*/) {
  const RecordPtr pRecord(static_cast<CtSvcDbListenerEvent*>(pData));
  if (!pRecord) {
    return;
  }
  const void* pObserver = CtSvcListenerEventObserver(*pRecord);
  const auto deliver = [&](const CCtSvcFullSyncObserver& listener) {
    if (listener.m_pfnCallback == nullptr) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcEventNotify:CTSVC_EH_FULLSYNC_NOTIFY - pfnCallback is NULL.\n");
      return;
    }
    listener.m_pfnCallback(CtSvcListenerEventCode(*pRecord), nullptr, listener.m_pUserData);
  };
  if (!CtSvcDbListenerIsValidFullSyncObserver(pObserver) ||
      !CCtSvcDbListenerModule::Instance().m_vcFullSyncObserver.Call(pObserver, deliver)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEventNotify:CTSVC_EH_FULLSYNC_NOTIFY - pObserver invalid.\n");
  }
}

void OnDeferredWork(void* pData, INT32 /*nParam1*/, INT32 /*nParam2*/) {
  const std::unique_ptr<ICtSvcDbCiDeferred> pWork(static_cast<ICtSvcDbCiDeferred*>(pData));
  if (pWork) {
    pWork->Run();
  }
}

}  // namespace

void CtSvcDbListenerStart(void) {
  CtSvcEHSetNotifyHandler(CTSVC_EH_LISTENER_CHANGE, &OnDeferredWork);
  CtSvcEHSetNotifyHandler(CTSVC_EH_DB_LISTENER_NOTIFY, &OnListenerNotify);
  CtSvcEHSetNotifyHandler(CTSVC_EH_FULLSYNC_NOTIFY, &OnFullSyncNotify);
}

bool CtSvcIsUiTaskName(const char* pszTaskName) {
  return pszTaskName != nullptr && AcStricmp(pszTaskName, "Korin") == 0;
}

bool CtSvcIsUiTask(void) { return CtSvcIsUiTaskName(OsGetCurrentTaskName()); }

BOOL CtSvcDbCiPostDeferred(std::unique_ptr<ICtSvcDbCiDeferred> pWork) {
  if (!pWork || !CtSvcEHPostNotify(CTSVC_EH_LISTENER_CHANGE, pWork.get(), 0, 0)) {
    return FALSE;
  }
  (void)pWork.release();  // owned by the notification now
  return TRUE;
}
