// Telephony events of the AT phonebook client, routed by event type: call events are not handled
// here, phonebook indications go to the handlers the AT module sets.
#include <atomic>

#include "CtSvcEH.h"
#include "ZelDebug.h"

namespace {

enum class TapiRoute { NotImplemented, AtHandler };

struct TapiSlot {
  INT32 nFirstType;
  INT32 nLastType;
  const char* szName;
  TapiRoute route;
  std::atomic<CtSvcEHTapiHandler> pfnHandler;
};

TapiSlot g_aTapiSlots[] = {
    {TAPI_EVENT_AT_CALL_FIRST, TAPI_EVENT_AT_CALL_LAST, "TAPI_EVENT_AT_CALL", TapiRoute::NotImplemented, {nullptr}},
    {TAPI_EVENT_AT_PB_QUERYSTATUS_IND, TAPI_EVENT_AT_PB_QUERYSTATUS_IND, "TAPI_EVENT_AT_PB_QUERYSTATUS_IND",
     TapiRoute::AtHandler, {nullptr}},
    {TAPI_EVENT_AT_PB_READ_IND, TAPI_EVENT_AT_PB_READ_IND, "TAPI_EVENT_AT_PB_READ_IND", TapiRoute::AtHandler, {nullptr}},
    {TAPI_EVENT_AT_PB_FIND_IND, TAPI_EVENT_AT_PB_FIND_IND, "TAPI_EVENT_AT_PB_FIND_IND", TapiRoute::AtHandler, {nullptr}},
    {TAPI_EVENT_AT_PB_WRITE_IND, TAPI_EVENT_AT_PB_WRITE_IND, "TAPI_EVENT_AT_PB_WRITE_IND", TapiRoute::AtHandler,
     {nullptr}},
    {TAPI_EVENT_AT_PB_REQ_RECORD_IND, TAPI_EVENT_AT_PB_REQ_RECORD_IND, "TAPI_EVENT_AT_PB_REQ_RECORD_IND",
     TapiRoute::AtHandler, {nullptr}},
    {TAPI_EVENT_AT_MSISDN_REQ_IND, TAPI_EVENT_AT_MSISDN_REQ_IND, "TAPI_EVENT_AT_MSISDN_REQ_IND", TapiRoute::AtHandler,
     {nullptr}},
};

TapiSlot* FindSlot(INT32 nEventType) {
  for (TapiSlot& slot : g_aTapiSlots) {
    if (nEventType >= slot.nFirstType && nEventType <= slot.nLastType) {
      return &slot;
    }
  }
  return nullptr;
}

void Route(TapiSlot* pSlot, const TapiEvent& event) {
  if (pSlot == nullptr) {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcTapiEvents: Check this eventType = %d\n", event.nEventType);
    return;
  }
  if (pSlot->route == TapiRoute::NotImplemented) {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcTapiEvents : CALL TAPI EVENT (NOT IMPLEMENTED)\n");
    return;
  }
  const CtSvcEHTapiHandler pfnHandler = pSlot->pfnHandler.load();
  if (pfnHandler == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcTapiEvents: - no handler for %s, dropped\n", pSlot->szName);
    return;
  }
  pfnHandler(&event);
}

}  // namespace

BOOL CtSvcEHSetTapiHandler(INT32 nEventType, CtSvcEHTapiHandler pfnHandler) {
  TapiSlot* pSlot = FindSlot(nEventType);
  if (pSlot == nullptr || pSlot->route != TapiRoute::AtHandler) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEHSetTapiHandler: - event type 0x%X takes no handler\n",
             static_cast<UINT32>(nEventType));
    return FALSE;
  }
  pSlot->pfnHandler.store(pfnHandler);
  return TRUE;
}

CtSvcEHTapiHandler CtSvcEHGetTapiHandler(INT32 nEventType) {
  const TapiSlot* pSlot = FindSlot(nEventType);
  return pSlot != nullptr && pSlot->route == TapiRoute::AtHandler ? pSlot->pfnHandler.load() : nullptr;
}

int CtSvcTapiEvents(WmEHState* pState, WmEvent* pEvent) {
  if (!ZEL_REQUIRE(pState != NULL) || !ZEL_REQUIRE(pEvent != NULL)) {
    return 0;
  }
  TapiEvent event{};
  if (!TapiGetEvent(pEvent, &event) || event.nClientId != TAPI_CLIENT_AT) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcTapiEvents : Failed... \n");
    return 0;
  }
  TapiSlot* pSlot = FindSlot(event.nEventType);
  DbgPrint(DBG_CLASS_TRACE, "CtSvcTapiEvents[eventType]: %s(%d), param1=%d, param2=%d\n",
           pSlot != nullptr ? pSlot->szName : "TAPI_EVENT_UNKNOWN", event.nEventType, event.nParam1, event.nParam2);
  Route(pSlot, event);
  DbgPrint(DBG_CLASS_TRACE, "CtSvcTapiEvents: End...\n");
  return 1;
}
