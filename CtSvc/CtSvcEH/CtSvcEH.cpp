// Creation and destruction of the "CTSVC" event handler and its event map.
#include "CtSvcEH.h"

#include "ZelDebug.h"

namespace {

int OnStart(WmEHState*, WmEvent*) {
  DbgPrint(DBG_CLASS_TRACE, "CtSvcEventHandlerStart!\n");
  return 1;
}

int OnDestroy(WmEHState*, WmEvent* pEvent) { return pEvent != nullptr ? 1 : 0; }

int OnStop(WmEHState*, WmEvent*) { return 1; }

const WmEventMapEntry kEventMap[] = {
    {WM_EVENT_CREATE, WM_EVENT_CREATE, &CtSvcEventHandlerCreate},
    {WM_EVENT_START, WM_EVENT_START, &OnStart},
    {WM_EVENT_DESTROY, WM_EVENT_DESTROY, &OnDestroy},
    {WM_EVENT_STOP, WM_EVENT_STOP, &OnStop},
    {CTSVC_EVENT_NOTIFY, CTSVC_EVENT_NOTIFY, &CtSvcEventNotify},
    {CTSVC_EVENT_TAPI_FIRST, CTSVC_EVENT_TAPI_LAST, &CtSvcTapiEvents},
    // Account notifications for the callbacks registered while this handler was current.
    {MYACCOUNTSVC_EVENT_NOTIFY, MYACCOUNTSVC_EVENT_NOTIFY, &MyAccountSvcHandleEvent},
};

}  // namespace

BOOL _CtSvcCreateEventHandler(void) {
  DbgPrint(DBG_CLASS_TRACE, "_CtSvcCreateEventHandler: Creating...\n");
  _CtSvcDestroyEventHandler();
  HOBJ hEHG = WmGetEHGroupByName(CTSVC_EH_NAME);
  if (hEHG == INVALID_HOBJ) {
    hEHG = WmCreateEHGroup(CTSVC_EH_NAME);
  }
  if (!ZEL_REQUIRE(hEHG != INVALID_HOBJ)) {
    return FALSE;
  }
  const HOBJ hEH = WmCreateEventHandler(hEHG, CTSVC_EH_NAME, kEventMap,
                                        static_cast<int>(sizeof(kEventMap) / sizeof(kEventMap[0])), nullptr);
  if (hEH == INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "_CtSvcCreateEventHandler: WmCreateEventHandler(%s) failed\n", CTSVC_EH_NAME);
    return FALSE;
  }
  return TRUE;
}

BOOL _CtSvcDestroyEventHandler(void) {
  const HOBJ hEH = WmGetEventHandlerByName(CTSVC_EH_NAME);
  if (hEH == INVALID_HOBJ) {
    return FALSE;
  }
  DbgPrint(DBG_CLASS_TRACE, "_CtSvcDestroyEventHandler: Destroy\n");
  return WmDeleteEventHandler(hEH);
}

BOOL CtSvcEHPostNotify(UINT32 nType, void* pData, INT32 nParam1, INT32 nParam2) {
  const HOBJ hEH = WmGetEventHandlerByName(CTSVC_EH_NAME);
  if (hEH == INVALID_HOBJ) {
    return FALSE;
  }
  WmEvent event{};
  event.nEventId = CTSVC_EVENT_NOTIFY;
  event.nKind = nType;
  event.nParam1 = nParam1;
  event.nParam2 = nParam2;
  event.pData = pData;
  event.hSender = WmGetCurrentEventHandler();
  event.hReceiver = hEH;
  return WmSendEvent(hEH, &event);
}
