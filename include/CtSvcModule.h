/* Module entry of the contact service: the platform loads the library and calls CtSvcDispatch. */
#ifndef CTSVC_MODULE_H
#define CTSVC_MODULE_H

#include "CtSvcTypes.h"

/* Platform class number of the service. */
#define CTSVC_CLASS_ID 0x0100005Fu
/* Commands of CtSvcDispatch. */
#define CTSVC_DISPATCH_LOAD 0
#define CTSVC_DISPATCH_UNLOAD 1
#define CTSVC_DISPATCH_PRECONFIG 4
/* Slots of the interface table. */
#define CTSVC_INTERFACE_SLOT_COUNT 62

/* The class descriptor handed to the platform's class registry. */
typedef struct CtSvcClassDescriptor {
  void** ppInterface; /* the interface table */
  UINT32 nPlatformWord;
  INT32 nRefCount;
} CtSvcClassDescriptor;

ZEL_EXTERN_C_BEGIN

/* Command 0 brings the service up (result of the class registration), 1 takes it down (result of
 * the class unregistration), 4 runs the carrier pre-configuration with param2 (0); others: 0. */
INT32 CtSvcDispatch(UINT32 nCommand, UINT32 nParam1, UINT32 nParam2);
/* Creates or checks the full-text index set of the search manager; the result for the second set. */
BOOL FTSInitialize(void);
/* The class descriptor (its interface table is filled by the load command). */
CtSvcClassDescriptor* CtSvcGetClassDescriptor(void);
/* The module mutex "CtSvc"; ZEL_INVALID_HANDLE_VALUE while the service is not loaded. */
HOBJ CtSvcGetModuleMutex(void);

ZEL_EXTERN_C_END

#endif
