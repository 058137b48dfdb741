// Starts the background removal of one account's contacts (a delete-account job of the task
// manager). The database manager calls it at start-up for every account whose removal was
// recorded but had not finished.
#ifndef CTSVC_DB_MGR_DELETE_ACCOUNT_H
#define CTSVC_DB_MGR_DELETE_ACCOUNT_H

#include "CtSvcTypes.h"

BOOL CtSvcDbMgrStartDeleteAccount(int nDeviceType, int nAccountId);

#endif
