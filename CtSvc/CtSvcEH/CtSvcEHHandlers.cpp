// Handlers of the "CTSVC" event map: creation, library notifications and telephony events.
#include "CtSvcEH.h"
#include "ZelDebug.h"

int CtSvcEventHandlerCreate(WmEHState* /*pState*/, WmEvent* pEvent) {
  if (!ZEL_REQUIRE(pEvent != NULL)) {
    return 0;
  }
  return 1;
}

int CtSvcEventNotify(WmEHState* /*pState*/, WmEvent* pEvent) { return pEvent != nullptr ? 1 : 0; }

int CtSvcTapiEvents(WmEHState* pState, WmEvent* pEvent) {
  if (!ZEL_REQUIRE(pState != NULL) || !ZEL_REQUIRE(pEvent != NULL)) {
    return 0;
  }
  return 1;
}
