// Client registrations and indications queued to the client's event handler.
#include <map>
#include <mutex>
#include <new>

#include "TapiClient.h"
#include "ZelDebug.h"
#include "ZelTapi.h"

namespace {

struct Client {
  UINT32 nFlags;
  int nDelivery;
  HOBJ hEventHandler;
};

struct ClientTable {
  std::mutex mutex;
  std::map<INT32, Client> clients;
};

// Kept in static storage and never destroyed: handler threads may still raise events at exit.
ClientTable& TheClients() {
  alignas(ClientTable) static unsigned char s_storage[sizeof(ClientTable)];
  static ClientTable* s_pTable = ::new (static_cast<void*>(s_storage)) ClientTable();
  return *s_pTable;
}

bool FindClient(INT32 nClientId, Client* pClient) {
  ClientTable& table = TheClients();
  std::lock_guard<std::mutex> lock(table.mutex);
  auto it = table.clients.find(nClientId);
  if (it == table.clients.end()) {
    return false;
  }
  *pClient = it->second;
  return true;
}

}  // namespace

HOBJ TapiClientEventHandler(INT32 nClientId) {
  Client client{};
  return FindClient(nClientId, &client) && client.nDelivery == TAPI_DELIVER_EVENT_HANDLER ? client.hEventHandler
                                                                                         : INVALID_HOBJ;
}

extern "C" BOOL TapiRegisterClient(INT32 nClientId, UINT32 nFlags, int eventHandlerFlag) {
  if (nClientId <= 0 || (eventHandlerFlag != TAPI_DELIVER_NONE && eventHandlerFlag != TAPI_DELIVER_EVENT_HANDLER)) {
    DbgPrint(DBG_CLASS_FAIL, "TapiRegisterClient: - invalid client 0x%X or flag %d\n", static_cast<UINT32>(nClientId),
             eventHandlerFlag);
    return FALSE;
  }
  const HOBJ hCurrent = WmGetCurrentEventHandler();
  if (eventHandlerFlag == TAPI_DELIVER_EVENT_HANDLER && hCurrent == INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "TapiRegisterClient: - client 0x%X: no current event handler\n",
             static_cast<UINT32>(nClientId));
    return FALSE;
  }
  ClientTable& table = TheClients();
  std::lock_guard<std::mutex> lock(table.mutex);
  table.clients[nClientId] = Client{nFlags, eventHandlerFlag, hCurrent};
  return TRUE;
}

extern "C" BOOL TapiUnregisterClient(INT32 nClientId) {
  ClientTable& table = TheClients();
  std::lock_guard<std::mutex> lock(table.mutex);
  if (table.clients.erase(nClientId) == 0) {
    DbgPrint(DBG_CLASS_FAIL, "TapiUnregisterClient: - client 0x%X is not registered\n", static_cast<UINT32>(nClientId));
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL TapiRaiseEvent(INT32 nClientId, INT32 nEventType, INT32 nParam1, INT32 nParam2, void* pData) {
  Client client{};
  if (!FindClient(nClientId, &client) || client.nDelivery != TAPI_DELIVER_EVENT_HANDLER) {
    DbgPrint(DBG_CLASS_FAIL, "TapiRaiseEvent: - client 0x%X takes no indications (event 0x%X)\n",
             static_cast<UINT32>(nClientId), static_cast<UINT32>(nEventType));
    return FALSE;
  }
  WmEvent event{};
  event.nEventId = TAPI_WM_EVENT_ID(nEventType);
  event.nClass = static_cast<UINT32>(nClientId);
  event.nKind = static_cast<UINT32>(nEventType);
  event.nParam1 = nParam1;
  event.nParam2 = nParam2;
  event.pData = pData;
  if (!WmSendEvent(client.hEventHandler, &event)) {
    DbgPrint(DBG_CLASS_FAIL, "TapiRaiseEvent: - the event handler of client 0x%X is gone\n",
             static_cast<UINT32>(nClientId));
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL TapiGetEvent(const WmEvent* pWmEvent, TapiEvent* pEvent) {
  if (pWmEvent == nullptr || pEvent == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "TapiGetEvent: - null argument\n");
    return FALSE;
  }
  if (pWmEvent->nEventId < TAPI_WM_EVENT_FIRST || pWmEvent->nEventId > TAPI_WM_EVENT_LAST ||
      pWmEvent->nEventId != TAPI_WM_EVENT_ID(pWmEvent->nKind)) {
    DbgPrint(DBG_CLASS_FAIL, "TapiGetEvent: - event 0x%X is not a telephony event\n", pWmEvent->nEventId);
    return FALSE;
  }
  pEvent->nClientId = static_cast<INT32>(pWmEvent->nClass);
  pEvent->nEventType = static_cast<INT32>(pWmEvent->nKind);
  pEvent->nParam1 = pWmEvent->nParam1;
  pEvent->nParam2 = pWmEvent->nParam2;
  pEvent->pData = pWmEvent->pData;
  return TRUE;
}
