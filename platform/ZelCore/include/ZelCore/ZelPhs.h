/* Phone status values, IMEI and power state. Values are 0 until set (by the platform or a test). */
#ifndef ZEL_PHS_H
#define ZEL_PHS_H

#include "ZelTypes.h"

#define PSV_SIM_TYPE 0x0D
#define PSV_BT_REMOTE_SIM_CONNECTED 0x0F
#define PSV_SIM_MODE_NOSIM 0x3A

ZEL_EXTERN_C_BEGIN

INT32 PhsGetStatus(UINT32 nKey);
BOOL PhsSetStatus(UINT32 nKey, INT32 nValue);
/* Copies the IMEI (at most nSize-1 characters, terminated); FALSE when it is unavailable. */
BOOL PhsGetIMEIEx(char* pszImei, UINT32 nSize);
BOOL _BmIsPowerOffState(void);

ZEL_EXTERN_C_END

#endif
