#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CtSvcUtil.h"
#include "ZelCoreTest.h"

namespace {

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
  zel::test::LogCapture capture;
  EXPECT_FALSE(CtAppIsUTF8("\xC3\x28"));
  EXPECT_TRUE(capture.Contains("CtAppIsUTF8 : This is not UTF8. \n"));
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

TEST(CtSvcUtilText, SimBudgetRefusesBadInputWithALogLine) {
  zel::test::LogCapture capture;
  EXPECT_EQ(CtGetLCodeMaxByteSize("abc", 0, 0), 0);
  EXPECT_TRUE(capture.Contains("CtGetLCodeMaxByteSize byteSize is fail 0!! \n"));
  EXPECT_EQ(CtGetLCodeMaxByteSize("abc", -5, 0), 0);
  EXPECT_EQ(CtGetLCodeMaxByteSize(nullptr, 10, 0), 0);
  EXPECT_EQ(CtGetLCodeMaxByteSize("ab\xC3\x28", 10, 0), 0);  // malformed UTF-8
  EXPECT_TRUE(capture.Contains("not UTF-8"));

  // A long text against a small budget is answered, cut on a character boundary.
  const std::string strLong(100000, 'x');
  EXPECT_EQ(CtGetLCodeMaxByteSize(strLong.c_str(), 20, 0), 20);
  EXPECT_TRUE(capture.Contains("CtGetLCodeMaxByteSize nLen is  20!! \n"));
}

}  // namespace
