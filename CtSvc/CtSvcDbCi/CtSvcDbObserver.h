// A change listener: registered with the content framework for one URI (or for the URI of one
// open list), it hands every change to a client function or a client event handler.
#ifndef CTSVC_DB_OBSERVER_H
#define CTSVC_DB_OBSERVER_H

#include <cstdint>
#include <string>

#include "ContentFramework.h"
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

  // The listener change code of a framework change: 0 insert, 1 update, 2 delete, 3 a delete
  // flagged as made through a ".../BulkOperation" URI, -1 anything else.
  static int ToChangeCode(int nChangeType, int nParam2);

 private:
  void _CallOrRelay(int nChangeCode, int nId) const;
  void _PostToHandler(int nChangeCode, int nId) const;

  CtSvcDbListenerCallback m_pfnCallback;
  HOBJ m_hEventHandler;
  UINT16 m_nEventNumber;
  void* m_pUserData;
  std::string m_strUri;
  IContentList* m_pContentList;
  std::string m_strTaskName;
  INT32 m_nValue;
};

#endif
