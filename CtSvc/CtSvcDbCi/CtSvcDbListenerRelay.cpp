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

// The function and user data of the listener registered at that address, read under its
// list's lock; false when it is not registered.
bool ReadListener(const CCtSvcListenerSet<CCtSvcDbObserver>& set, const void* pObserver,
                  CtSvcDbListenerCallback& pfnCallback, void*& pUserData) {
  return set.With(pObserver, [&](const CCtSvcDbObserver& listener) {
    pfnCallback = listener.GetCallback();
    pUserData = listener.GetUserData();
  });
}

bool ReadFullSync(const void* pObserver, CtSvcDbFullSyncCallback& pfnCallback, void*& pUserData) {
  return CCtSvcDbListenerModule::Instance().m_vcFullSyncObserver.With(
      pObserver, [&](const CCtSvcFullSyncObserver& listener) {
        pfnCallback = listener.m_pfnCallback;
        pUserData = listener.m_pUserData;
      });
}

void OnListenerNotify(void* pData, INT32 /*nParam1*/, INT32 /*nParam2*/) {
  const RecordPtr pRecord(static_cast<CtSvcDbListenerEvent*>(pData));
  if (!pRecord) {
    return;
  }
  const void* pObserver = CtSvcListenerEventObserver(*pRecord);
  CtSvcDbListenerCallback pfnCallback = nullptr;
  void* pUserData = nullptr;
  const CCtSvcDbListenerModule& module = CCtSvcDbListenerModule::Instance();
  // Unregistered meanwhile: the check and the read each fail alike.
  if (!CtSvcDbListenerIsValidObserver(pObserver) ||
      !(ReadListener(module.m_vcDbUriListener, pObserver, pfnCallback, pUserData) ||
        ReadListener(module.m_vcDbListListener, pObserver, pfnCallback, pUserData))) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEventNotify:CTSVC_EH_DB_LISTENER_NOTIFY - pObserver invalid.\n");
    return;
  }
  if (pfnCallback == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEventNotify:CTSVC_EH_DB_LISTENER_NOTIFY - pfnCallback is NULL.\n");
    return;
  }
  pfnCallback(CtSvcListenerEventCode(*pRecord), pRecord->nValue1, nullptr, pUserData);
}

void OnFullSyncNotify(void* pData, INT32 /*nParam1*/, INT32 /*nParam2*/) {
  const RecordPtr pRecord(static_cast<CtSvcDbListenerEvent*>(pData));
  if (!pRecord) {
    return;
  }
  const void* pObserver = CtSvcListenerEventObserver(*pRecord);
  CtSvcDbFullSyncCallback pfnCallback = nullptr;
  void* pUserData = nullptr;
  if (!CtSvcDbListenerIsValidFullSyncObserver(pObserver) ||
      !ReadFullSync(pObserver, pfnCallback, pUserData)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEventNotify:CTSVC_EH_FULLSYNC_NOTIFY - pObserver invalid.\n");
    return;
  }
  if (pfnCallback == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEventNotify:CTSVC_EH_FULLSYNC_NOTIFY - pfnCallback is NULL.\n");
    return;
  }
  pfnCallback(CtSvcListenerEventCode(*pRecord), nullptr, pUserData);
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
