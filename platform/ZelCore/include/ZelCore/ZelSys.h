/* System services: UUIDs and the platform class registry. */
#ifndef ZEL_SYS_H
#define ZEL_SYS_H

#include "ZelTypes.h"

typedef struct SysUUID {
  UINT32 aWord[4];
} SysUUID;

ZEL_EXTERN_C_BEGIN

/* A random (version 4) UUID. */
BOOL SysGenerateUUID(SysUUID* pUuid);

/* Class registry: a loaded library registers its class descriptor under a class number.
 * Registering a number twice fails; unregistering an unknown number fails. */
BOOL __SysRegisterClass(UINT32 nParentClass, UINT32 nClassId, void* pDescriptor, UINT32 nFlags);
BOOL SysUnregisterClass(UINT32 nClassId);
void* SysGetClass(UINT32 nClassId); /* the descriptor, or null */

ZEL_EXTERN_C_END

#endif
