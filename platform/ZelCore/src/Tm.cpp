// Time: the clock (real or a test clock) and calendar arithmetic on seconds since 1970.
#include <ctime>

#include "TestOverrides.h"
#include "ZelDebug.h"
#include "ZelTm.h"

namespace {

constexpr int64_t kSecondsPerDay = 86400;

bool IsLeapYear(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int64_t y, int m) {
  static const int s_days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : s_days[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (y, m 1..12, d 1..31).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// Inverse of DaysFromCivil for days >= 0.
void CivilFromDays(int64_t z, int64_t* pYear, int* pMonth, int* pDay) {
  z += 719468;
  const int64_t era = z / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  *pDay = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  *pMonth = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *pYear = yoe + era * 400 + (*pMonth <= 2 ? 1 : 0);
}

bool InRange(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

}  // namespace

extern "C" UINT32 TmGetTime(void) {
  if (auto clock = zel::internal::GetTestClock()) {
    return clock->nUtcSeconds;
  }
  return static_cast<UINT32>(std::time(nullptr));
}

extern "C" UINT32 TmGetLocalTime(void) {
  if (auto clock = zel::internal::GetTestClock()) {
    return static_cast<UINT32>(static_cast<int64_t>(clock->nUtcSeconds) + clock->nLocalOffsetSeconds);
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) {
    return static_cast<UINT32>(now);
  }
  return static_cast<UINT32>(static_cast<int64_t>(now) + local.tm_gmtoff);
}

extern "C" BOOL TmSecondsToDateTime(UINT32 nSeconds, TmDateTime* pDateTime) {
  if (pDateTime == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "TmSecondsToDateTime: - pDateTime is NULL\n");
    return FALSE;
  }
  const int64_t nDays = nSeconds / kSecondsPerDay;
  const int64_t nRest = nSeconds % kSecondsPerDay;
  int64_t nYear = 0;
  int nMonth = 0;
  int nDay = 0;
  CivilFromDays(nDays, &nYear, &nMonth, &nDay);
  pDateTime->year = static_cast<INT32>(nYear);
  pDateTime->month = nMonth;
  pDateTime->day = nDay;
  pDateTime->hour = static_cast<INT32>(nRest / 3600);
  pDateTime->minute = static_cast<INT32>(nRest % 3600 / 60);
  pDateTime->second = static_cast<INT32>(nRest % 60);
  return TRUE;
}

extern "C" BOOL TmDateTimeToSeconds(const TmDateTime* pDateTime, UINT32* pSeconds) {
  if (pDateTime == nullptr || pSeconds == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "TmDateTimeToSeconds: - NULL argument\n");
    return FALSE;
  }
  const TmDateTime& dt = *pDateTime;
  if (dt.year < 1970 || !InRange(dt.month, 1, 12) || !InRange(dt.day, 1, DaysInMonth(dt.year, dt.month)) ||
      !InRange(dt.hour, 0, 23) || !InRange(dt.minute, 0, 59) || !InRange(dt.second, 0, 59)) {
    DbgPrint(DBG_CLASS_FAIL, "TmDateTimeToSeconds: - invalid date %d-%d-%d %d:%d:%d\n", dt.year, dt.month, dt.day,
             dt.hour, dt.minute, dt.second);
    return FALSE;
  }
  const int64_t nTotal =
      DaysFromCivil(dt.year, dt.month, dt.day) * kSecondsPerDay + dt.hour * 3600 + dt.minute * 60 + dt.second;
  if (nTotal > static_cast<int64_t>(UINT32_MAX)) {
    DbgPrint(DBG_CLASS_FAIL, "TmDateTimeToSeconds: - %d-%d-%d is beyond the clock's range\n", dt.year, dt.month,
             dt.day);
    return FALSE;
  }
  *pSeconds = static_cast<UINT32>(nTotal);
  return TRUE;
}
