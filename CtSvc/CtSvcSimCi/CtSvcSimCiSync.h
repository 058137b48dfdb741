// What the rest of the library reads of the synchronisation client's state.
#ifndef CTSVC_SIM_CI_SYNC_H
#define CTSVC_SIM_CI_SYNC_H

#include "CtSvcSimCi.h"

// TRUE between a successful CtStartSync and CtEndSync.
BOOL CtSvcSyncIsInProgress();
// Tells every registered contact-change callback (outside the module lock).
void CtSvcSyncNotifyContactChanged(int nContactID, int nAction);
// Forgets the client and the callbacks (tests).
void _CtSvcSyncReset();

#endif
