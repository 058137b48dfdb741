/* Time: local time, seconds since 1970 <-> broken-down date and time. */
#ifndef ZEL_TM_H
#define ZEL_TM_H

#include "ZelTypes.h"

typedef struct TmDateTime {
  INT32 year;
  INT32 month;  /* 1..12 */
  INT32 day;    /* 1..31 */
  INT32 hour;
  INT32 minute;
  INT32 second;
} TmDateTime;

ZEL_EXTERN_C_BEGIN

/* Seconds since 1970-01-01 00:00:00 UTC (the test clock when one is set). */
UINT32 TmGetTime(void);
/* The same instant in local time, as seconds counted from 1970-01-01 00:00:00 local. */
UINT32 TmGetLocalTime(void);
/* Splits seconds since 1970-01-01 00:00:00 (no time-zone shift) into a date and time. */
BOOL TmSecondsToDateTime(UINT32 nSeconds, TmDateTime* pDateTime);
/* Inverse of TmSecondsToDateTime; FALSE for a date before 1970 or an invalid field. */
BOOL TmDateTimeToSeconds(const TmDateTime* pDateTime, UINT32* pSeconds);

ZEL_EXTERN_C_END

#endif
