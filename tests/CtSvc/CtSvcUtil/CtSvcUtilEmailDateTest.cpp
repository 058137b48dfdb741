#include <gtest/gtest.h>

#include "CtSvcUtil.h"

namespace {

TEST(CtSvcUtilEmail, AddressRules) {
  struct Case {
    const char* pszAddress;
    bool bValid;
  };
  const Case kCases[] = {
      {"a@b", true},          {"john.doe@example.com", true}, {"a.b.c@d.e", true},
      {"@example.com", false}, {".john@example.com", false},  {"john@", false},
      {"john.@example.com", false}, {"jo..hn@example.com", false}, {"john@example..com", false},
      {"a@b@c", false},       {"john.example.com", false},    {"", false},
      {"jo\"hn@example.com", false}, {"john;x@example.com", false}, {"john,x@example.com", false},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(CtSvcCheckValidAddress(c.pszAddress), c.bValid ? TRUE : FALSE) << c.pszAddress;
  }
  EXPECT_FALSE(CtSvcCheckValidAddress(nullptr));
}

TEST(CtSvcUtilDate, PackingAndUnpacking) {
  struct PackCase {
    CtDate date;
    INT32 nPacked;
  };
  const PackCase kPack[] = {
      {{2023, 2, 31}, 20230231},  // the day is not checked against the month
      {{1900, 1, 1}, 19000101},   {{2100, 12, 31}, 21001231},
      {{1899, 12, 31}, CTSVC_NO_DATE_PACKED}, {{2101, 1, 1}, CTSVC_NO_DATE_PACKED},
      {{2000, 0, 1}, CTSVC_NO_DATE_PACKED},   {{2000, 13, 1}, CTSVC_NO_DATE_PACKED},
      {{2000, 1, 0}, CTSVC_NO_DATE_PACKED},   {{2000, 1, 32}, CTSVC_NO_DATE_PACKED},
  };
  for (const PackCase& c : kPack) {
    EXPECT_EQ(CtDateToDays(&c.date), c.nPacked) << c.date.year << "-" << c.date.month << "-" << c.date.day;
  }
  EXPECT_EQ(CtDateToDays(nullptr), -1);

  struct UnpackCase {
    INT32 nPacked;
    bool bOk;
    CtDate date;
  };
  const UnpackCase kUnpack[] = {
      {20230231, true, {2023, 2, 31}},       {20301231, true, {2030, 12, 31}},
      {20301232, false, {}},                  {INT32_MAX, false, {}},
      {5, true, {1899, 12, 31}},             {-20000101, true, {1899, 12, 31}},
      {CTSVC_NO_DATE_PACKED, true, {1899, 12, 31}}, {18991232, true, {1899, 12, 32}},
  };
  for (const UnpackCase& c : kUnpack) {
    CtDate date{-1, -1, -1};
    EXPECT_EQ(CtDaysToDate(c.nPacked, &date), c.bOk ? TRUE : FALSE) << c.nPacked;
    if (c.bOk) {
      EXPECT_EQ(date.year, c.date.year) << c.nPacked;
      EXPECT_EQ(date.month, c.date.month) << c.nPacked;
      EXPECT_EQ(date.day, c.date.day) << c.nPacked;
    }
  }
  EXPECT_FALSE(CtDaysToDate(20000101, nullptr));
}

TEST(CtSvcUtilDate, DaysAfterFollowTheCalendarAndComparisonIsInclusive) {
  struct Case {
    CtDate from;
    INT32 nDays;
    bool bOk;
    CtDate to;
  };
  const Case kCases[] = {
      {{2024, 2, 28}, 1, true, {2024, 2, 29}},   {{2023, 2, 28}, 1, true, {2023, 3, 1}},
      {{2023, 12, 31}, 1, true, {2024, 1, 1}},   {{2024, 3, 1}, -1, true, {2024, 2, 29}},
      {{2000, 1, 1}, 366, true, {2001, 1, 1}},   {{2023, 5, 10}, 0, true, {2023, 5, 10}},
      {{1969, 12, 31}, 1, false, {}},            // before the platform's calendar
      {{1970, 1, 1}, -1, false, {}},             {{2100, 1, 1}, 100000, false, {}},
  };
  for (const Case& c : kCases) {
    CtDate to{};
    EXPECT_EQ(CtGetDateAfterNDays(&c.from, &to, c.nDays), c.bOk ? TRUE : FALSE)
        << c.from.year << "-" << c.from.month << "-" << c.from.day << " + " << c.nDays;
    if (c.bOk) {
      EXPECT_EQ(CtDateToDays(&to), CtDateToDays(&c.to)) << c.from.year << "-" << c.from.month << " + " << c.nDays;
    }
  }
  CtDate date{2020, 1, 1};
  EXPECT_FALSE(CtGetDateAfterNDays(nullptr, &date, 1));
  EXPECT_FALSE(CtGetDateAfterNDays(&date, nullptr, 1));

  struct CompareCase {
    CtDate a;
    CtDate b;
    bool bNotLater;
  };
  const CompareCase kCompare[] = {
      {{2020, 5, 5}, {2020, 5, 5}, true},  {{2020, 5, 4}, {2020, 5, 5}, true},
      {{2020, 5, 6}, {2020, 5, 5}, false}, {{2020, 4, 30}, {2020, 5, 1}, true},
      {{2020, 6, 1}, {2020, 5, 31}, false}, {{2019, 12, 31}, {2020, 1, 1}, true},
      {{2021, 1, 1}, {2020, 12, 31}, false},
  };
  for (const CompareCase& c : kCompare) {
    EXPECT_EQ(CtCompareDate(&c.a, &c.b), c.bNotLater ? TRUE : FALSE)
        << c.a.year << "-" << c.a.month << "-" << c.a.day << " vs " << c.b.year << "-" << c.b.month << "-" << c.b.day;
  }
  EXPECT_FALSE(CtCompareDate(nullptr, &date));
}

}  // namespace
