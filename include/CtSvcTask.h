/* Work that runs on the service's background task: index letters of the fast-scroll bar and the
 * removal of a deleted account's contacts. Requests return at once; the answer comes later through
 * the callback, on the "CTSVC" event handler. */
#ifndef CTSVC_TASK_H
#define CTSVC_TASK_H

#include "CtSvcFilter.h"
#include "CtSvcTypes.h"

/* The distinct group letters, in order (valid during the call; nCount 0: none, pLetters null). */
typedef void (*CtSvcFastScrollCallback)(INT32 nCount, const MCHAR* pLetters, void* pUserData);
/* End of an account removal: 1 when every row of the accounts is gone, 0 when it stopped early
 * (the removal is resumed at the next start). */
typedef void (*CtSvcDeleteAccountCallback)(INT32 nResult, void* pUserData);

ZEL_EXTERN_C_BEGIN

/* Queue the computation of the group letters of the primaries (persons) the filter selects; the
 * filter is copied. 1 when queued, 0 for a null filter or callback. */
BOOL CtSvcFastScrollRequestLetters(const CtSvcPrimaryFilter* pFilter, CtSvcFastScrollCallback pfnCallback,
                                   void* pUserData);
BOOL CtSvcFastScrollRequestPersonLetters(const CtSvcPersonFilter* pFilter, CtSvcFastScrollCallback pfnCallback,
                                         void* pUserData);
/* 1 while a background job is working, else 0. */
BOOL CtSvcTaskIsWorking(void);
/* Waits up to nTimeoutMs (0: does not wait) until no background job works or waits to run; 1 when
 * that is so, 0 when the time ran out first. */
BOOL CtSvcTaskWaitForIdle(INT32 nTimeoutMs);

/* Queue the removal of every row of the accounts (of the device type), recorded in
 * "CtSvc/DeleteAccount" until it is done. The callback (may be null) is called on the event
 * handler current on the calling thread, when there is one. 1 when queued, 0 for bad arguments. */
BOOL CtSvcTaskRequestDeleteAccount(INT32 nDeviceType, const INT32* pAccountIds, INT32 nCount,
                                   CtSvcDeleteAccountCallback pfnCallback, void* pUserData);

ZEL_EXTERN_C_END

#endif
