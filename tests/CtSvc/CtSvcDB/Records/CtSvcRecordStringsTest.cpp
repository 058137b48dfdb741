// Text helpers of the records: search and sort forms, letter extraction, UTF-8 checks and the
// framework's text form.
#include <gtest/gtest.h>

#include <string>

#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcRecordText.h"
#include "RecordTestSupport.h"
#include "ZelCoreTest.h"

namespace {

TEST(CtSvcRecordStringsTest, FullNameJoinsWithOneBlank) {
  const struct {
    const char* a;
    const char* b;
    const char* expected;
  } kCases[] = {{"Ann", "Lee", "Ann Lee"}, {"", "Lee", "Lee"}, {"Ann", "", "Ann"}, {"", "", ""}};
  for (const auto& c : kCases) {
    std::string out = "stale";
    CCtSvcRecord::_GetFullNameToSearch(c.a, c.b, out);
    EXPECT_EQ(c.expected, out) << c.a << "|" << c.b;
  }
}

TEST(CtSvcRecordStringsTest, ExtractKeepsOnlyTheAdmittedClasses) {
  const char* kSource = "a1*#,+?Z-x";
  const struct {
    int nMask;
    const char* expected;
  } kCases[] = {
      {CTSVC_EXTRACT_LETTER_TYPE_DIGIT, "1"},
      {CTSVC_EXTRACT_LETTER_TYPE_DIGIT | CTSVC_EXTRACT_LETTER_TYPE_PLUS, "1+"},
      {CTSVC_EXTRACT_LETTER_TYPE_STAR | CTSVC_EXTRACT_LETTER_TYPE_SHARP | CTSVC_EXTRACT_LETTER_TYPE_COMMA, "*#,"},
      {CTSVC_EXTRACT_LETTER_TYPE_QUESTION, "?"},
      {CTSVC_EXTRACT_LETTER_TYPE_LOWER, "ax"},
      {CTSVC_EXTRACT_LETTER_TYPE_UPPER, "Z"},
      {0xFF, "a1*#,+?Zx"},
      {0, ""},
  };
  for (const auto& c : kCases) {
    zel::test::LogCapture capture;
    std::string out;
    CCtSvcRecord::_GetExtactString(kSource, c.nMask, out);
    EXPECT_EQ(c.expected, out) << c.nMask;
    EXPECT_EQ(static_cast<int>(std::string(kSource).size() - out.size()),
              capture.Count("CtSvcGetExtactString : Except this letter("));
  }
  std::string out = "stale";
  CCtSvcRecord::_GetExtactString(nullptr, 0xFF, out);
  EXPECT_EQ("", out);
}

TEST(CtSvcRecordStringsTest, OnlyEmptyTextsBecomeTheNoNameMark) {
  std::u16string strEmpty;
  CCtSvcRecord::_ConvertToInvalidMCHAR(strEmpty);
  EXPECT_EQ(u"\uffff", strEmpty);
  std::u16string strName = u"A";
  CCtSvcRecord::_ConvertToInvalidMCHAR(strName);
  EXPECT_EQ(u"A", strName);
}

TEST(CtSvcRecordStringsTest, Utf8Validation) {
  const struct {
    std::string text;
    bool bValid;
  } kCases[] = {
      {"plain", true},
      {"\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80", true},
      {"\xC3", false},              // cut sequence
      {"\xC0\xAF", false},          // overlong
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
      {"\x80", false},              // lone continuation
      {std::string("a\0b", 3), true},
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

class CtSvcRecordTextStoreTest : public ctsvc_record_test::RecordStoreTest {};

// Apostrophes and percent signs, doubled or not, are stored exactly as given.
TEST_F(CtSvcRecordTextStoreTest, QuotesAndPercentSignsSurviveTheStore) {
  for (const char* pszName : {"O'Neil", "Dan''s", "100%", "50%% off", "'"}) {
    CCtSvcPerson person;
    person.SetFirstName(pszName);
    const int nId = person.Insert(1);
    CContent row;
    ASSERT_TRUE(CContentMgr::Instance()->GetContent("CtSvc/Person", nId, row));
    CCtSvcPerson read;
    ASSERT_EQ(1, read.SetData(row));
    EXPECT_STREQ(pszName, read.GetFirstName());
  }
}

}  // namespace
