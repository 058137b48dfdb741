#include <gtest/gtest.h>

#include <ctime>

#include "ZelCoreTest.h"
#include "ZelTm.h"

namespace {

struct DateCase {
  UINT32 nSeconds;
  TmDateTime dt;
};

bool Same(const TmDateTime& a, const TmDateTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
         a.second == b.second;
}

// Leap days and the ends of the clock; the comparison with the C library below covers the rest.
TEST(Tm, SecondsAndDatesRoundTripAcrossLeapDays) {
  const DateCase cases[] = {
      {0u, {1970, 1, 1, 0, 0, 0}},
      {951868799u, {2000, 2, 29, 23, 59, 59}},  // leap day of a year divisible by 400
      {1709164800u, {2024, 2, 29, 0, 0, 0}},    // ordinary leap year
      {1677628800u, {2023, 3, 1, 0, 0, 0}},     // the day after 2023-02-28
      {4107542400u, {2100, 3, 1, 0, 0, 0}},     // the day after 2100-02-28: no leap year
      {4294967295u, {2106, 2, 7, 6, 28, 15}},   // last second of the clock
  };
  for (const auto& c : cases) {
    TmDateTime dt{};
    ASSERT_TRUE(TmSecondsToDateTime(c.nSeconds, &dt)) << c.nSeconds;
    EXPECT_TRUE(Same(dt, c.dt)) << c.nSeconds << " -> " << dt.year << "-" << dt.month << "-" << dt.day << " "
                                << dt.hour << ":" << dt.minute << ":" << dt.second;
    UINT32 n = 0;
    ASSERT_TRUE(TmDateTimeToSeconds(&c.dt, &n)) << c.nSeconds;
    EXPECT_EQ(n, c.nSeconds);
  }
}

TEST(Tm, MatchesTheCLibraryOverManyDaysBothWays) {
  for (UINT32 s = 0; s < 4200000000u; s += 86400u * 37u + 3607u) {
    TmDateTime dt{};
    ASSERT_TRUE(TmSecondsToDateTime(s, &dt));
    UINT32 nBack = 0;
    ASSERT_TRUE(TmDateTimeToSeconds(&dt, &nBack));
    ASSERT_EQ(nBack, s);
    const std::time_t t = s;
    std::tm ref{};
    gmtime_r(&t, &ref);
    ASSERT_EQ(dt.year, ref.tm_year + 1900) << s;
    ASSERT_EQ(dt.month, ref.tm_mon + 1) << s;
    ASSERT_EQ(dt.day, ref.tm_mday) << s;
    ASSERT_EQ(dt.hour * 3600 + dt.minute * 60 + dt.second, ref.tm_hour * 3600 + ref.tm_min * 60 + ref.tm_sec);
  }
}

TEST(Tm, InvalidDatesAreRefused) {
  const TmDateTime bad[] = {
      {1969, 12, 31, 23, 59, 59}, {2023, 2, 29, 0, 0, 0}, {2100, 2, 29, 0, 0, 0}, {2024, 4, 31, 0, 0, 0},
      {2024, 13, 1, 0, 0, 0},     {2024, 0, 1, 0, 0, 0},  {2024, 1, 0, 0, 0, 0},  {2024, 1, 1, 24, 0, 0},
      {2024, 1, 1, 0, 60, 0},     {2024, 1, 1, 0, 0, 60}, {2024, 1, 1, -1, 0, 0}, {2106, 2, 7, 6, 28, 16},
      {1899, 12, 31, 0, 0, 0},  // the "no date" marker is not a time
  };
  for (const auto& dt : bad) {
    UINT32 n = 12345;
    EXPECT_FALSE(TmDateTimeToSeconds(&dt, &n)) << dt.year << "-" << dt.month << "-" << dt.day;
    EXPECT_EQ(n, 12345u);
  }
  UINT32 n = 0;
  EXPECT_FALSE(TmDateTimeToSeconds(nullptr, &n));
  EXPECT_FALSE(TmSecondsToDateTime(0, nullptr));
}

TEST(Tm, TestClockDrivesBothClocksElseTheSystemClockInTheProcessTimeZone) {
  zel::test::SetClock(1700000000u, 9 * 3600);
  EXPECT_EQ(TmGetTime(), 1700000000u);
  EXPECT_EQ(TmGetLocalTime(), 1700000000u + 9 * 3600);
  zel::test::SetClock(1700000000u, -5 * 3600);
  EXPECT_EQ(TmGetLocalTime(), 1700000000u - 5 * 3600);
  zel::test::ClearClock();
  const std::time_t now = std::time(nullptr);
  const UINT32 nNow = TmGetTime();
  EXPECT_GE(nNow, static_cast<UINT32>(now));
  EXPECT_LE(nNow, static_cast<UINT32>(now) + 5);
  std::tm local{};
  localtime_r(&now, &local);
  EXPECT_NEAR(static_cast<long>(TmGetLocalTime()) - static_cast<long>(nNow), local.tm_gmtoff, 2);
}

}  // namespace
