// Text helpers of the records: letter extraction, UTF-8 checks and the framework's text form.
#include <gtest/gtest.h>

#include <string>

#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcRecordText.h"

namespace {

TEST(CtSvcRecordStringsTest, ExtractKeepsOnlyTheAdmittedClasses) {
  const char* kSource = "a1*#,+?Z-x";
  const struct {
    int nMask;
    const char* expected;
  } kCases[] = {
      {CTSVC_EXTRACT_LETTER_TYPE_DIGIT | CTSVC_EXTRACT_LETTER_TYPE_PLUS, "1+"},
      {CTSVC_EXTRACT_LETTER_TYPE_STAR | CTSVC_EXTRACT_LETTER_TYPE_SHARP | CTSVC_EXTRACT_LETTER_TYPE_COMMA, "*#,"},
      {CTSVC_EXTRACT_LETTER_TYPE_QUESTION | CTSVC_EXTRACT_LETTER_TYPE_UPPER, "?Z"},
      {CTSVC_EXTRACT_LETTER_TYPE_LOWER, "ax"},
      {0xFF, "a1*#,+?Zx"},
      {0, ""},
  };
  for (const auto& c : kCases) {
    std::string out;
    CCtSvcRecord::_GetExtactString(kSource, c.nMask, out);
    EXPECT_EQ(c.expected, out) << c.nMask;
  }
  std::string out = "stale";
  CCtSvcRecord::_GetExtactString(nullptr, 0xFF, out);
  EXPECT_EQ("", out);
}

TEST(CtSvcRecordStringsTest, Utf8Validation) {
  const struct {
    std::string text;
    bool bValid;
  } kCases[] = {
      {"plain", true},          {"\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80", true}, {std::string("a\0b", 3), true},
      {"\xC3", false},          // cut sequence
      {"\xC0\xAF", false},      // overlong
      {"\xED\xA0\x80", false},  // surrogate
      {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
      {"\x80", false},          // lone continuation
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.bValid, CtSvcIsValidUtf8(c.text.data(), c.text.size())) << c.text;
  }
}

TEST(CtSvcRecordStringsTest, ColumnTextsAreCutAndEscaped) {
  EXPECT_EQ(u"it''s 100%%", CtSvcToInputText(std::string("it's 100%")));
  const std::string strLong(1500, 'x');
  EXPECT_EQ(1000u, CtSvcToPCode(strLong).size());
  // A pair that would cross the 1000-unit limit is left out whole.
  const std::string strPairAtEnd = std::string(999, 'x') + "\xF0\x9F\x98\x80";
  EXPECT_EQ(999u, CtSvcToPCode(strPairAtEnd).size());
  EXPECT_EQ("\xC3\xA9", CtSvcToLCode(CtSvcToPCode("\xC3\xA9")));
}

}  // namespace
