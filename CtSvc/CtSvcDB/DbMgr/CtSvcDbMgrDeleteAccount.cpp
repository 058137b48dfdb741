// An interrupted account removal resumes as a delete-account job of the background task.
#include "CtSvcDbMgrDeleteAccount.h"

#include "CtSvcTask.h"

BOOL CtSvcDbMgrStartDeleteAccount(int nDeviceType, int nAccountId) {
  return CtSvcTaskRequestDeleteAccount(nDeviceType, &nAccountId, 1, nullptr, nullptr);
}
