// A change listener: registered with the content framework for one URI (or for every URI whose
// writes change one open list), it hands every change to a client function or a client event
// handler.
#ifndef CTSVC_DB_OBSERVER_H
#define CTSVC_DB_OBSERVER_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcDB/CfPlugin/CtSvcContentHandlerFactory.h"
#include "CtSvcDbListener.h"

class CCtSvcDbObserver : public IContentObserver {
 public:
  // A function listener (hEventHandler INVALID_HOBJ) or a handler listener (pfnCallback null).
  CCtSvcDbObserver(CtSvcDbListenerCallback pfnCallback, HOBJ hEventHandler, UINT16 nEventNumber, void* pUserData,
                   std::string strUri, IContentList* pContentList, std::string strTaskName, INT32 nValue);
  ~CCtSvcDbObserver() override = default;
  CCtSvcDbObserver(const CCtSvcDbObserver&) = delete;
  CCtSvcDbObserver& operator=(const CCtSvcDbObserver&) = delete;

  // Runs on the writer's thread. It reads its members before it calls the client, so a client
  // function that unregisters (and so destroys) this listener is safe.
  void OnChange(int nChangeType, const std::string& strUri, int nId, intptr_t nParam1, int nParam2) override;

  CtSvcDbListenerCallback GetCallback() const { return m_pfnCallback; }
  HOBJ GetEventHandler() const { return m_hEventHandler; }
  void* GetUserData() const { return m_pUserData; }
  const std::string& GetURI() const { return m_strUri; }
  IContentList* GetContentList() const { return m_pContentList; }
  // A list listener follows every URI whose writes change its list (set before it is registered).
  void FollowListSources(std::vector<CtSvcListSource> vcSources) { m_vcSources = std::move(vcSources); }
  // The URIs the listener is registered for: its URI, or the sources of its list.
  std::vector<std::string> GetURIs() const;

  // The listener change code of a framework change: 0 insert, 1 update, 2 delete, 3 a delete
  // flagged as made through a ".../BulkOperation" URI, -1 anything else.
  static int ToChangeCode(int nChangeType, int nParam2);

 private:
  // The row id a change gives the client: -1 for a change of a table whose rows are not the
  // list's (a membership of a list filtered by group), which names no row of the list.
  int _ClientId(const std::string& strUri, int nId) const;
  void _CallOrRelay(int nChangeCode, int nId) const;
  void _PostToHandler(int nChangeCode, int nId) const;

  CtSvcDbListenerCallback m_pfnCallback;
  HOBJ m_hEventHandler;
  UINT16 m_nEventNumber;
  void* m_pUserData;
  std::string m_strUri;
  IContentList* m_pContentList;
  std::vector<CtSvcListSource> m_vcSources;
  std::string m_strTaskName;
  INT32 m_nValue;
};

#endif
