// A change listener's reaction to a change: call the client function at once on the "Korin"
// task, relay it to "CTSVC" from any other task, or send the client handler its event.
#include "CtSvcDbCi/CtSvcDbObserver.h"

#include <utility>

#include "CtSvcDbCi/CtSvcDbListenerEvents.h"
#include "CtSvcDbCi/CtSvcDbListenerModule.h"
#include "CtSvcDbCi/CtSvcDbListenerRelay.h"
#include "CtSvcEH/CtSvcEH.h"
#include "ZelDebug.h"
#include "ZelOs.h"
#include "ZelWm.h"

CCtSvcDbObserver::CCtSvcDbObserver(CtSvcDbListenerCallback pfnCallback, HOBJ hEventHandler, UINT16 nEventNumber,
                                   void* pUserData, std::string strUri, IContentList* pContentList,
                                   std::string strTaskName, INT32 nValue)
    : m_pfnCallback(pfnCallback),
      m_hEventHandler(hEventHandler),
      m_nEventNumber(nEventNumber),
      m_pUserData(pUserData),
      m_strUri(std::move(strUri)),
      m_pContentList(pContentList),
      m_strTaskName(std::move(strTaskName)),
      m_nValue(nValue) {}

int CCtSvcDbObserver::ToChangeCode(int nChangeType, int nParam2) {
  switch (nChangeType) {
    case CONTENT_CHANGE_INSERT:
      return CTSVC_DB_LISTENER_CHANGE_INSERTED;
    case CONTENT_CHANGE_UPDATE:
      return CTSVC_DB_LISTENER_CHANGE_UPDATED;
    case CONTENT_CHANGE_DELETE:
      return nParam2 == 1 ? CTSVC_DB_LISTENER_CHANGE_BULK_DELETED : CTSVC_DB_LISTENER_CHANGE_DELETED;
    default:
      return CTSVC_DB_LISTENER_CHANGE_UNKNOWN;
  }
}

std::vector<std::string> CCtSvcDbObserver::GetURIs() const {
  if (m_vcSources.empty()) {
    return {m_strUri};
  }
  std::vector<std::string> vcUris;
  for (const CtSvcListSource& source : m_vcSources) {
    vcUris.push_back(source.strUri);
  }
  return vcUris;
}

int CCtSvcDbObserver::_ClientId(const std::string& strUri, int nId) const {
  for (const CtSvcListSource& source : m_vcSources) {
    const std::string& strSource = source.strUri;
    const bool bSame = strUri.compare(0, strSource.size(), strSource) == 0 &&
                       (strUri.size() == strSource.size() || strUri[strSource.size()] == '/');
    if (bSame) {
      return source.bRowTable ? nId : -1;
    }
  }
  return nId;
}

void CCtSvcDbObserver::OnChange(int nChangeType, const std::string& strUri, int nId, intptr_t /*nParam1*/,
                                int nParam2) {
  if (CCtSvcDbListenerModule::Instance().m_bPaused.load()) {
    return;
  }
  nId = _ClientId(strUri, nId);
  const int nChangeCode = ToChangeCode(nChangeType, nParam2);
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbObserver::OnChange - register(%s,%d)\n", m_strUri.c_str(), m_nValue);
  if (m_pfnCallback != nullptr) {
    _CallOrRelay(nChangeCode, nId);
  } else if (m_hEventHandler != INVALID_HOBJ) {
    _PostToHandler(nChangeCode, nId);
  } else {
    DbgPrint(DBG_CLASS_FAIL,
             "CCtSvcDbObserver::OnChange -m_pfnCallback is null and m_hEventHandler is INVALID_HOBJ.\n");
  }
}

void CCtSvcDbObserver::_CallOrRelay(int nChangeCode, int nId) const {
  const char* pszTaskName = OsGetCurrentTaskName();
  if (pszTaskName == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbObserver::OnChange -pTaskName is NULL.\n");
    return;
  }
  if (CtSvcIsUiTaskName(pszTaskName)) {
    // The client may unregister this listener from inside its function: nothing of this object
    // is touched after the call.
    const CtSvcDbListenerCallback pfnCallback = m_pfnCallback;
    pfnCallback(nChangeCode, nId, nullptr, m_pUserData);
    return;
  }
  const CtSvcDbListenerEvent record =
      CtSvcMakeRelayEvent(WmGetEventHandlerByName(CTSVC_EH_NAME), nChangeCode, nId, this);
  if (!CtSvcPostListenerRelay(CTSVC_EH_DB_LISTENER_NOTIFY, record)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbObserver::OnChange - relay to %s failed\n", CTSVC_EH_NAME);
  }
}

void CCtSvcDbObserver::_PostToHandler(int nChangeCode, int nId) const {
  const CtSvcDbListenerEvent record = CtSvcMakeClientEvent(m_hEventHandler, m_nEventNumber, nChangeCode, nId, this);
  if (!CtSvcSendListenerEvent(m_hEventHandler, m_nEventNumber, record, nChangeCode, nId)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbObserver::OnChange - WmSendEvent(%d) failed\n", m_hEventHandler);
  }
}
