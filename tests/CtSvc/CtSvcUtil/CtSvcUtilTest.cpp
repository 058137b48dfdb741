// The contact utilities that need no store: phone numbers and service strings, e-mail addresses,
// packed dates, file-name-safe and UTF-8 text, and the SIM text budget.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "CtSvcUtil.h"

namespace {

constexpr int kFlagUntouched = 7;  // the caller's value, left alone when nothing is decided

struct ConvertCase {
  const char* pszIn;
  bool bValid;
  const char* pszOut;  // after a valid conversion
  int nFlag;           // international flag afterwards
};

TEST(CtSvcUtilPhoneNumber, ConvertJudgesAndRemovesTheInternationalPlus) {
  const ConvertCase kCases[] = {
      // Plain numbers: '+' only as the first character.
      {"+4930123456", true, "4930123456", 1},
      {"030123456", true, "030123456", 0},
      {"0301+23456", false, nullptr, 0},
      {"++49", false, nullptr, 0},
      {"", true, "", 0},
      // Service strings: '+' only at the number start (after the first '*'/'#' that follows a digit).
      {"*21*+4930123#", true, "*21*4930123#", 1},
      {"*21*4930123#", true, "*21*4930123#", 0},
      {"*+21*123#", false, nullptr, 0},
      {"*21*+49+30#", false, nullptr, 0},
      {"**21*+123#", true, "**21*123#", 1},
      {"*21**+123#", true, "*21**123#", 1},  // the search for the start skips the second '*'
      {"*21*ab+12#", true, "*21*ab12#", 1},
      {"*#06#", true, "*#06#", kFlagUntouched},  // no number start: the flag is not decided
  };
  for (const ConvertCase& c : kCases) {
    char szNumber[64];
    std::strcpy(szNumber, c.pszIn);
    int nFlag = c.bValid ? kFlagUntouched : 0;
    EXPECT_EQ(CtConvert2ValidPhoneNumber(szNumber, sizeof(szNumber), &nFlag), c.bValid ? TRUE : FALSE) << c.pszIn;
    EXPECT_EQ(CtSvcCheckValidPhoneNumber(c.pszIn), c.bValid ? TRUE : FALSE) << c.pszIn;
    if (c.bValid) {
      EXPECT_STREQ(szNumber, c.pszOut) << c.pszIn;
      EXPECT_EQ(nFlag, c.nFlag) << c.pszIn;
    }
  }
}

TEST(CtSvcUtilPhoneNumber, ConvertRefusesBadArgumentsAndStaysInsideTheBuffer) {
  int nFlag = 0;
  char szNumber[8] = "+123456";  // exactly fills the buffer
  EXPECT_TRUE(CtConvert2ValidPhoneNumber(szNumber, sizeof(szNumber), &nFlag));
  EXPECT_STREQ(szNumber, "123456");
  char szUnterminated[4] = {'1', '2', '3', '4'};
  EXPECT_FALSE(CtConvert2ValidPhoneNumber(szUnterminated, sizeof(szUnterminated), &nFlag));
  EXPECT_FALSE(CtConvert2ValidPhoneNumber(nullptr, 8, &nFlag));
  EXPECT_FALSE(CtConvert2ValidPhoneNumber(szNumber, 0, &nFlag));
  EXPECT_FALSE(CtConvert2ValidPhoneNumber(szNumber, sizeof(szNumber), nullptr));
  EXPECT_FALSE(CtSvcCheckValidPhoneNumber(nullptr));
}

TEST(CtSvcUtilPhoneNumber, ServiceStringGetsThePlusBackAtItsNumberStartWithinFortyBytes) {
  struct Case {
    const char* pszIn;
    bool bChanged;
    const char* pszOut;
  };
  const Case kCases[] = {
      {"*21*4930123#", true, "*21*+4930123#"},
      {"**21*123#", true, "**21*+123#"},
      {"*21*+4930123#", false, "*21*+4930123#"},  // already international
      {"4930123", false, "4930123"},               // not a service string
      {"*#06#", false, "*#06#"},                   // no number start
      {"*+21*123#", false, "*+21*123#"},           // '+' in a forbidden place
  };
  for (const Case& c : kCases) {
    char szString[41];
    std::strcpy(szString, c.pszIn);
    EXPECT_EQ(CtSimConv2InternationalSString(szString), c.bChanged ? TRUE : FALSE) << c.pszIn;
    EXPECT_STREQ(szString, c.pszOut) << c.pszIn;
  }
  // Forty bytes are cut to forty once the '+' is in; longer strings are refused unchanged.
  const std::string strForty = "*21*" + std::string(35, '5') + "#";
  ASSERT_EQ(strForty.size(), 40u);
  char szString[41];
  std::strcpy(szString, strForty.c_str());
  ASSERT_TRUE(CtSimConv2InternationalSString(szString));
  EXPECT_EQ(std::string(szString), "*21*+" + std::string(35, '5'));  // the final '#' fell off

  char szLong[48];
  std::strcpy(szLong, (strForty + "1").c_str());
  EXPECT_FALSE(CtSimConv2InternationalSString(szLong));
  EXPECT_EQ(std::string(szLong), strForty + "1");
  EXPECT_FALSE(CtSimConv2InternationalSString(nullptr));
}

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
      {20230231, true, {2023, 2, 31}},     {20301232, false, {}},          {INT32_MAX, false, {}},
      {-20000101, true, {1899, 12, 31}},   {CTSVC_NO_DATE_PACKED, true, {1899, 12, 31}},
      {18991232, true, {1899, 12, 32}},
  };
  for (const UnpackCase& c : kUnpack) {
    CtDate date{-1, -1, -1};
    EXPECT_EQ(CtDaysToDate(c.nPacked, &date), c.bOk ? TRUE : FALSE) << c.nPacked;
    if (c.bOk) {
      EXPECT_EQ(std::make_tuple(c.date.year, c.date.month, c.date.day), std::make_tuple(date.year, date.month, date.day))
          << c.nPacked;
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
      {{2020, 5, 5}, {2020, 5, 5}, true},   {{2020, 5, 6}, {2020, 5, 5}, false},
      {{2020, 4, 30}, {2020, 5, 1}, true},  {{2020, 6, 1}, {2020, 5, 31}, false},
      {{2019, 12, 31}, {2020, 1, 1}, true}, {{2021, 1, 1}, {2020, 12, 31}, false},
  };
  for (const CompareCase& c : kCompare) {
    EXPECT_EQ(CtCompareDate(&c.a, &c.b), c.bNotLater ? TRUE : FALSE)
        << c.a.year << "-" << c.a.month << "-" << c.a.day << " vs " << c.b.year << "-" << c.b.month << "-" << c.b.day;
  }
  EXPECT_FALSE(CtCompareDate(nullptr, &date));
}

TEST(CtSvcUtilText, FileNameSafeText) {
  struct Case {
    const char* pszIn;
    const char* pszOut;
  };
  const Case kCases[] = {
      {"John Smith", "John Smith"},
      {"a.b?c\\d/e\"f|g:h<i>j*k", "a b c d e f g h i j k"},
      {"  ..Ann", "Ann"},  // leading blanks, made ones included, go
      {"line\nbreak\r", "line break "},
      {"Zoë", "Zoë"},
      {"...", ""},
  };
  for (const Case& c : kCases) {
    char szText[64];
    std::strcpy(szText, c.pszIn);
    EXPECT_TRUE(CtRemoveUnSupportedChar(szText)) << c.pszIn;
    EXPECT_STREQ(szText, c.pszOut) << c.pszIn;
  }
  char szEmpty[1] = "";
  EXPECT_FALSE(CtRemoveUnSupportedChar(szEmpty));
  EXPECT_FALSE(CtRemoveUnSupportedChar(nullptr));
}

TEST(CtSvcUtilText, Utf8Check) {
  struct Case {
    const char* pszText;
    bool bUtf8;
  };
  const Case kCases[] = {
      {"", true},           {"plain", true},     {"Zoë Ñandú", true},  {"\xED\x95\x9C\xEA\xB8\x80", true},
      {"\xF0\x9F\x98\x80", true},                {"\xC3\x28", false},  {"\xC0\xAF", false},
      {"\xED\xA0\x80", false},                   {"abc\xFF", false},   {"\xE2\x82", false},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(CtAppIsUTF8(c.pszText), c.bUtf8 ? TRUE : FALSE) << c.pszText;
  }
  EXPECT_FALSE(CtAppIsUTF8(nullptr));
}

TEST(CtSvcUtilText, LongestPrefixThatFitsTheSimBudget) {
  struct Case {
    const char* pszText;
    int nBudget;
    int nBytes;
  };
  const Case kCases[] = {
      // GSM alphabet: one byte per character, two for the extension table.
      {"Hello", 10, 5},
      {"Hello", 5, 5},
      {"Hello", 3, 3},
      {"a{b", 3, 2},       // "a{" is three bytes on the SIM
      {"a{b", 2, 1},
      {"caf\xC3\xA9", 4, 5},  // 'e' with acute is in the GSM alphabet: 4 SIM bytes, 5 UTF-8 bytes
      // Cyrillic: the 0x81 form, 3 bytes plus one per character; 2 UTF-8 bytes per character.
      {"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", 9, 12},
      {"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", 7, 8},
      // A character outside the windows: 0x80 form, 1 + 2 per unit; a surrogate pair is kept or dropped whole.
      {"a\xF0\x9F\x98\x80" "b", 9, 6},
      {"a\xF0\x9F\x98\x80" "b", 8, 5},
      {"a\xF0\x9F\x98\x80" "b", 4, 1},
      {"\xF0\x9F\x98\x80", 2, 0},
      {"", 1, 0},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(CtGetLCodeMaxByteSize(c.pszText, c.nBudget, 0), c.nBytes) << c.pszText << " in " << c.nBudget;
  }
}

TEST(CtSvcUtilText, SimBudgetRefusesBadInput) {
  EXPECT_EQ(CtGetLCodeMaxByteSize("abc", 0, 0), 0);
  EXPECT_EQ(CtGetLCodeMaxByteSize("abc", -5, 0), 0);
  EXPECT_EQ(CtGetLCodeMaxByteSize(nullptr, 10, 0), 0);
  EXPECT_EQ(CtGetLCodeMaxByteSize("ab\xC3\x28", 10, 0), 0);  // malformed UTF-8
  // A long text against a small budget is answered, cut on a character boundary.
  EXPECT_EQ(CtGetLCodeMaxByteSize(std::string(100000, 'x').c_str(), 20, 0), 20);
}

}  // namespace
