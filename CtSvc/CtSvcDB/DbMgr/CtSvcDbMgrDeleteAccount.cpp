// Resuming an interrupted account removal needs the background task; until the task manager is
// part of the library, a pending removal is reported and left recorded for the next start.
#include "CtSvcDbMgrDeleteAccount.h"

#include "ZelDebug.h"

BOOL CtSvcDbMgrStartDeleteAccount(int nDeviceType, int nAccountId) {
  DbgPrint(DBG_CLASS_FAIL, "CtSvcDbMgrStartDeleteAccount - removal of account %d (device %d) stays pending\n",
           nAccountId, nDeviceType);
  return FALSE;
}
