/* Non-volatile integer settings, persisted in the data directory ("nv.ini"). */
#ifndef ZEL_NV_H
#define ZEL_NV_H

#include "ZelTypes.h"

ZEL_EXTERN_C_BEGIN

INT32 NvGetInt(UINT32 nId); /* 0 when never set */
BOOL NvSetInt(UINT32 nId, INT32 nValue);

ZEL_EXTERN_C_END

#endif
