// Creation of the "CTSVC" handler's context: registration with the account service and with the
// telephony library as the AT phonebook client.
#include "CtSvcEH.h"
#include "ZelDebug.h"

int CtSvcEventHandlerCreate(WmEHState* /*pState*/, WmEvent* pEvent) {
  if (!ZEL_REQUIRE(pEvent != NULL)) {
    return 0;
  }
  // Both registrations take the current handler, this one, as the place of delivery.
  MyAccountSvcRegisterNotification(&OnRemovedMyAccountNotify, &OnUpdatedMyAccountNotify);
  if (!TapiRegisterClient(TAPI_CLIENT_AT, 0, TAPI_DELIVER_EVENT_HANDLER)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEventHandlerCreate: TapiRegisterClient(TAPI_AT) was failed\n");
  }
  return 1;
}
