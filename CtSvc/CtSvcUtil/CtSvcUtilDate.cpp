// Packed dates (year * 10000 + month * 100 + day) and date arithmetic on the platform calendar.
#include <cstdint>

#include "CtSvcUtil.h"
#include "ZelDebug.h"
#include "ZelTm.h"

namespace {

constexpr INT32 kPackedDateEnd = 20301232;  // first packed value past the supported range
constexpr INT64 kSecondsPerDay = 86400;

bool InRange(INT32 n, INT32 nMin, INT32 nMax) { return n >= nMin && n <= nMax; }

}  // namespace

extern "C" INT32 CtDateToDays(const CtDate* pDate) {
  if (pDate == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtDateToDays: - pDate is NULL\n");
    return -1;
  }
  // The day is not checked against the month's length.
  if (!InRange(pDate->year, 1900, 2100) || !InRange(pDate->month, 1, 12) || !InRange(pDate->day, 1, 31)) {
    return CTSVC_NO_DATE_PACKED;
  }
  return pDate->year * 10000 + pDate->month * 100 + pDate->day;
}

extern "C" BOOL CtDaysToDate(INT32 nDays, CtDate* pDate) {
  if (pDate == nullptr || nDays >= kPackedDateEnd) {
    DbgPrint(DBG_CLASS_FAIL, "CtDaysToDate: - invalid arguments (%d)\n", nDays);
    return FALSE;
  }
  if (nDays <= CTSVC_NO_DATE_PACKED) {
    *pDate = CtDate{1899, 12, 31};
    return TRUE;
  }
  *pDate = CtDate{nDays / 10000, (nDays % 10000) / 100, nDays % 100};
  return TRUE;
}

extern "C" BOOL CtGetDateAfterNDays(const CtDate* pDate, CtDate* pResult, INT32 nDays) {
  if (pDate == nullptr || pResult == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtGetDateAfterNDays: - null argument\n");
    return FALSE;
  }
  const TmDateTime start{pDate->year, pDate->month, pDate->day, 0, 0, 0};
  UINT32 nSeconds = 0;
  if (!TmDateTimeToSeconds(&start, &nSeconds)) {
    DbgPrint(DBG_CLASS_FAIL, "CtGetDateAfterNDays: - %d-%d-%d is not a platform date\n", pDate->year, pDate->month,
             pDate->day);
    return FALSE;
  }
  const INT64 nResultSeconds = static_cast<INT64>(nSeconds) + static_cast<INT64>(nDays) * kSecondsPerDay;
  TmDateTime result{};
  if (nResultSeconds < 0 || nResultSeconds > static_cast<INT64>(UINT32_MAX) ||
      !TmSecondsToDateTime(static_cast<UINT32>(nResultSeconds), &result)) {
    DbgPrint(DBG_CLASS_FAIL, "CtGetDateAfterNDays: - %d days from %d-%d-%d is out of range\n", nDays, pDate->year,
             pDate->month, pDate->day);
    return FALSE;
  }
  *pResult = CtDate{result.year, result.month, result.day};
  return TRUE;
}

extern "C" BOOL CtCompareDate(const CtDate* pA, const CtDate* pB) {
  if (pA == nullptr || pB == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtCompareDate: - null argument\n");
    return FALSE;
  }
  if (pA->year != pB->year) {
    return pA->year < pB->year ? TRUE : FALSE;
  }
  if (pA->month != pB->month) {
    return pA->month < pB->month ? TRUE : FALSE;
  }
  return pA->day <= pB->day ? TRUE : FALSE;
}
