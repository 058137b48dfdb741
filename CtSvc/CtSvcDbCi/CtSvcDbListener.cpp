// Exported listener functions: registration of URI and list listeners, removal, validity, and
// pausing and resuming them all.
#include <memory>
#include <string>

#include "ContentFramework.h"
#include "CtSvcDbCi/CtSvcDbListenerModule.h"
#include "CtSvcDbCi/CtSvcDbObserver.h"
#include "CtSvcDbListener.h"
#include "ZelDebug.h"
#include "ZelOs.h"
#include "ZelWm.h"

namespace {

using ObserverPtr = std::shared_ptr<CCtSvcDbObserver>;
using ListenerSet = CCtSvcListenerSet<CCtSvcDbObserver>;

const char* const kListenerUris[] = {
    "CtSvc/Person", "CtSvc/PhoneNumber", "CtSvc/Email",      "CtSvc/PostalAddress", "CtSvc/EtcData",
    "CtSvc/Rcs",    "CtSvc/Fdn",         "CtSvc/Group",      "CtSvc/GroupMember",   "CtSvc/SpeedDial",
    "CtSvc/Primary", "CtSvc/IM",         "CtSvc/SnsData"};

const char* __CtSvcDbListenerGetURI(int nUriType) {
  if (nUriType < 0 || nUriType >= static_cast<int>(sizeof(kListenerUris) / sizeof(kListenerUris[0]))) {
    DbgPrint(DBG_CLASS_FAIL, "__CtSvcDbListenerGetURI - DB URI type is invalid(%d)", nUriType);
    return nullptr;
  }
  return kListenerUris[nUriType];
}

CCtSvcDbListenerModule& Module() { return CCtSvcDbListenerModule::Instance(); }

std::string CurrentTaskName() {
  const char* pszName = OsGetCurrentTaskName();
  return pszName != nullptr ? pszName : "";
}

bool Detach(const ObserverPtr& pListener) {
  return CContentMgr::Instance()->UnregisterObserverAll(pListener.get()) > 0;
}

// Registers the listener with the framework for each of its URIs. A listener removed from its
// list meanwhile (by an unregistration on another thread) is unregistered again, so the
// framework never keeps one that is about to be destroyed.
bool Attach(const ListenerSet& set, const ObserverPtr& pListener) {
  for (const std::string& strUri : pListener->GetURIs()) {
    if (!CContentMgr::Instance()->RegisterObserver(strUri, pListener.get())) {
      Detach(pListener);
      return false;
    }
  }
  if (!set.Contains(pListener.get())) {
    Detach(pListener);
    return false;
  }
  return true;
}

// Adds the listener to its list and, unless listeners are paused, to the framework.
BOOL AddListener(ListenerSet& set, ObserverPtr pListener, const char* szFunction) {
  set.Add(pListener);
  if (!Module().m_bPaused.load() && !Attach(set, pListener)) {
    set.Take([&](const CCtSvcDbObserver& o) { return &o == pListener.get(); });
    DbgPrint(DBG_CLASS_FAIL, "%s - Registeration failed\n", szFunction);
    return FALSE;
  }
  DbgPrint(DBG_CLASS_TRACE, "%s - Registered successfully\n", szFunction);
  return TRUE;
}

// Removes the first listener pred accepts from its list and from the framework, and destroys it
// once no other thread uses it.
template <class Pred>
BOOL RemoveListener(ListenerSet& set, Pred pred, const char* szFunction) {
  const ObserverPtr pListener = set.Take(pred);
  if (!pListener) {
    DbgPrint(DBG_CLASS_FAIL, "%s - UnRegisteration failed\n", szFunction);
    return FALSE;
  }
  Detach(pListener);
  DbgPrint(DBG_CLASS_TRACE, "%s - UnRegistered successfully\n", szFunction);
  return TRUE;
}

}  // namespace

extern "C" BOOL CtSvcDbListenerRegisterCallback(INT32 nUriType, CtSvcDbListenerCallback pfnCallback, void* pUserData,
                                                const char* pszTaskName, INT32 nValue) {
  const char* pszUri = __CtSvcDbListenerGetURI(nUriType);
  if (pszUri == nullptr || !ZEL_REQUIRE(pfnCallback != NULL)) {
    return FALSE;
  }
  auto pListener = std::make_shared<CCtSvcDbObserver>(pfnCallback, INVALID_HOBJ, 0, pUserData, pszUri, nullptr,
                                                      pszTaskName != nullptr ? pszTaskName : "", nValue);
  return AddListener(Module().m_vcDbUriListener, std::move(pListener), "CtSvcDbListenerRegisterCallback");
}

extern "C" BOOL CtSvcDbListenerRegisterHandler(INT32 nUriType, HOBJ hEventHandler, UINT16 nEventNumber,
                                               void* pUserData, const char* pszTaskName) {
  const char* pszUri = __CtSvcDbListenerGetURI(nUriType);
  if (pszUri == nullptr || !ZEL_REQUIRE(WmIsEventHandlerValid(hEventHandler))) {
    return FALSE;
  }
  auto pListener = std::make_shared<CCtSvcDbObserver>(nullptr, hEventHandler, nEventNumber, pUserData, pszUri,
                                                      nullptr, pszTaskName != nullptr ? pszTaskName : "", 0);
  return AddListener(Module().m_vcDbUriListener, std::move(pListener), "CtSvcDbListenerRegisterHandler");
}

extern "C" BOOL _CtSvcDbListenerListRegisterCallback(IContentList* pContentList, CtSvcDbListenerCallback pfnCallback,
                                                     void* pUserData, INT32 nValue) {
  if (pContentList == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbListenerRegisterListCallback - pContentList is NULL\n");
    return FALSE;
  }
  if (!ZEL_REQUIRE(pfnCallback != NULL)) {
    return FALSE;
  }
  auto pListener = std::make_shared<CCtSvcDbObserver>(pfnCallback, INVALID_HOBJ, 0, pUserData, pContentList->GetURI(),
                                                      pContentList, CurrentTaskName(), nValue);
  // A list changes when any table it reads changes, not only its own.
  pListener->FollowListSources(CCtSvcContentHandlerFactory::FindListSources(pContentList->GetURI(),
                                                                            pContentList->GetFilter().GetWhere()));
  return AddListener(Module().m_vcDbListListener, std::move(pListener), "CtSvcDbListenerListRegisterCallback");
}

extern "C" BOOL CtSvcDbListenerListRegisterCallback(IContentList* pContentList, CtSvcDbListenerCallback pfnCallback,
                                                    void* pUserData, INT32 nValue) {
  return _CtSvcDbListenerListRegisterCallback(pContentList, pfnCallback, pUserData, nValue);
}

extern "C" BOOL CtSvcDbListenerUnregisterCallback(INT32 nUriType, CtSvcDbListenerCallback pfnCallback,
                                                  void* pUserData) {
  const char* pszUri = __CtSvcDbListenerGetURI(nUriType);
  if (pszUri == nullptr) {
    return FALSE;
  }
  return RemoveListener(
      Module().m_vcDbUriListener,
      [&](const CCtSvcDbObserver& o) {
        return o.GetURI() == pszUri && o.GetCallback() == pfnCallback && o.GetUserData() == pUserData;
      },
      "CtSvcDbListenerUnregisterCallback");
}

extern "C" BOOL CtSvcDbListenerUnregisterHandler(INT32 nUriType, HOBJ hEventHandler, void* pUserData) {
  const char* pszUri = __CtSvcDbListenerGetURI(nUriType);
  if (pszUri == nullptr) {
    return FALSE;
  }
  return RemoveListener(
      Module().m_vcDbUriListener,
      [&](const CCtSvcDbObserver& o) {
        return o.GetURI() == pszUri && o.GetCallback() == nullptr && o.GetEventHandler() == hEventHandler &&
               o.GetUserData() == pUserData;
      },
      "CtSvcDbListenerUnregisterHandler");
}

extern "C" BOOL CtSvcDbListenerListUnregisterCallback(IContentList* pContentList, CtSvcDbListenerCallback pfnCallback,
                                                      void* pUserData) {
  if (pContentList == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbListenerListUnregisterCallback - pContentList is NULL\n");
    return FALSE;
  }
  return RemoveListener(
      Module().m_vcDbListListener,
      [&](const CCtSvcDbObserver& o) {
        return o.GetContentList() == pContentList && o.GetCallback() == pfnCallback && o.GetUserData() == pUserData;
      },
      "CtSvcDbListenerListUnregisterCallback");
}

extern "C" BOOL CtSvcDbListenerIsValidObserver(const void* pObserver) {
  if (pObserver != nullptr && Module().m_vcDbUriListener.Contains(pObserver)) {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcDbListenerIsValidObserver - m_vcDbUriListener Vaild Observer");
    return TRUE;
  }
  if (pObserver != nullptr && Module().m_vcDbListListener.Contains(pObserver)) {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcDbListenerIsValidObserver - m_vcDbListListener Vaild Observer");
    return TRUE;
  }
  DbgPrint(DBG_CLASS_FAIL, "CtSvcDbListenerIsValidObserver - Invaild Observer");
  return FALSE;
}

extern "C" BOOL CtSvcDbListenerPauseEx(BOOL bNotify) {
  Module().m_bPaused.store(true);
  for (const ObserverPtr& pListener : Module().m_vcDbUriListener.Snapshot()) {
    if (Detach(pListener)) {
      DbgPrint(DBG_CLASS_TRACE, "CtSvcDbListenerPauseEx - Unregistered successfully(%s)\n", pListener->GetURI().c_str());
    }
  }
  for (const ObserverPtr& pListener : Module().m_vcDbListListener.Snapshot()) {
    Detach(pListener);
  }
  if (bNotify) {
    CtSvcDbListenerNotifyFullSync(CTSVC_DB_FULLSYNC_STATE_STARTED);
  }
  DbgPrint(DBG_CLASS_TRACE, "CtSvcDbListenerPauseEx : succeed\n");
  return TRUE;
}

extern "C" BOOL CtSvcDbListenerResumeEx(BOOL bNotify) {
  Module().m_bPaused.store(false);
  for (const ObserverPtr& pListener : Module().m_vcDbUriListener.Snapshot()) {
    if (Attach(Module().m_vcDbUriListener, pListener)) {
      DbgPrint(DBG_CLASS_TRACE, "CtSvcDbListenerResumeEx - Registered successfully(%s)\n", pListener->GetURI().c_str());
    }
  }
  for (const ObserverPtr& pListener : Module().m_vcDbListListener.Snapshot()) {
    Attach(Module().m_vcDbListListener, pListener);
  }
  if (bNotify) {
    CtSvcDbListenerNotifyFullSync(CTSVC_DB_FULLSYNC_STATE_ENDED);
  }
  DbgPrint(DBG_CLASS_TRACE, "CtSvcDbListenerResumeEx : succeed\n");
  return TRUE;
}

extern "C" BOOL CtSvcDbListenerPause(void) { return CtSvcDbListenerPauseEx(TRUE); }

extern "C" BOOL CtSvcDbListenerResume(void) { return CtSvcDbListenerResumeEx(TRUE); }
