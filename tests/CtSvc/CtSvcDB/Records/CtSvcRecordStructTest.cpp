// The C structures of the interface and the texts in them: their layout, bounded copies out of
// every record class, bad texts coming in, UTF-8 checks and the framework's text form, and the
// release of a contact info.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <type_traits>

#include "CtSvcDB/Records/CtSvcEmailAddress.h"
#include "CtSvcDB/Records/CtSvcEtcData.h"
#include "CtSvcDB/Records/CtSvcFdn.h"
#include "CtSvcDB/Records/CtSvcGroup.h"
#include "CtSvcDB/Records/CtSvcIM.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcPhoneNumber.h"
#include "CtSvcDB/Records/CtSvcPostalAddress.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcDB/Records/CtSvcRcs.h"
#include "CtSvcDB/Records/CtSvcRecordText.h"
#include "CtSvcDB/Records/CtSvcSnsData.h"
#include "CtSvcRecord.h"
#include "RecordTestSupport.h"
#include "ZelCoreTest.h"
#include "ZelMem.h"

// The binary interface: a change of any of these is a change of the library's ABI.
static_assert(sizeof(CtSvcPersonInfo) == 1504 && offsetof(CtSvcPersonInfo, Birthday) == 312 &&
                  offsetof(CtSvcPersonInfo, szCallerImage) == 472 && offsetof(CtSvcPersonInfo, szUuid) == 1244,
              "CtSvcPersonInfo layout");
static_assert(sizeof(CtSvcPersonRecord) == 1512 && offsetof(CtSvcPersonRecord, Info) == 8, "CtSvcPersonRecord layout");
static_assert(sizeof(CtSvcPrimaryInfo) == 1132 && offsetof(CtSvcPrimaryInfo, nFavorite) == 800 &&
                  offsetof(CtSvcPrimaryInfo, nReserved) == 1128,
              "CtSvcPrimaryInfo layout");
static_assert(sizeof(CtSvcPhoneNumberInfo) == 64 && sizeof(CtSvcPhoneNumberRecord) == 84, "phone-number layout");
static_assert(sizeof(CtSvcEmailAddressInfo) == 312 && offsetof(CtSvcEmailAddressRecord, Info) == 20, "e-mail layout");
static_assert(sizeof(CtSvcPostalAddressInfo) == 972 && offsetof(CtSvcPostalAddressInfo, szCountry) == 820,
              "postal-address layout");
static_assert(sizeof(CtSvcGroupInfo) == 1624 && offsetof(CtSvcGroupInfo, szRingtone) == 850, "group layout");
static_assert(sizeof(CtSvcSnsDataInfo) == 2640 && offsetof(CtSvcSnsDataInfo, StatusUpdate) == 1504, "SNS layout");
static_assert(sizeof(CtSvcSpeedDialRecord) == 24 && sizeof(CtSvcGroupMemberRecord) == 24, "small records");
static_assert(offsetof(CtSvcContactInfo, pRcsInfo) == 104 && sizeof(CtSvcContactInfo) == 120, "contact info layout");

namespace {

using ctsvc_record_test::Table;

// Every column of the record's table filled: integers small, dates valid, texts longer than any
// C array ("a" then two-byte characters, so that some cuts would fall inside a character).
template <class R>
CContent OverlongRow(int nTypeValue) {
  CCtSvcDbTable* pTable = Table(R::Traits::kTable);
  std::u16string strLong = u"a";
  strLong.append(1200, u'\u00e9');
  CContent row;
  for (int i = 0; i < pTable->GetColumnCount(); ++i) {
    const std::string strType = pTable->GetColumnTypeName(i);
    if (strType == "NVARCHAR") {
      row.AddFieldData(CContentValue::String(strLong));
    } else if (strType == "DATETIME") {
      row.AddFieldData(CContentValue::DateTime(TmDateTime{2001, 2, 3, 4, 5, 6}));
    } else {
      row.AddFieldData(CContentValue::Int(std::string(pTable->GetColumnName(i)) == "TYPE" ? nTypeValue : i));
    }
  }
  return row;
}

// The longest whole-character prefix of "a" + "é"... that fits an array of nSize bytes.
size_t ExpectedCut(size_t nSize) { return (nSize - 1) % 2 == 1 ? nSize - 1 : nSize - 2; }

// The TYPE column a contact-data record accepts.
template <class R>
constexpr int kTypeValue = std::is_same_v<R, CCtSvcPhoneNumber>    ? CTSVC_CONTACT_TYPE_PHONENUMBER
                           : std::is_same_v<R, CCtSvcEmailAddress> ? CTSVC_CONTACT_TYPE_EMAILADDRESS
                                                                   : 0;

template <class R>
class RecordStructTest : public ctsvc_test::StoreTest {};

using StructCases = ::testing::Types<CCtSvcPerson, CCtSvcPrimary, CCtSvcPhoneNumber, CCtSvcEmailAddress, CCtSvcPostalAddress,
                                     CCtSvcEtcData, CCtSvcFdn, CCtSvcGroup, CCtSvcIM, CCtSvcSnsData,
                                     CCtSvcRcs>;  // group members and speed dials hold no text
TYPED_TEST_SUITE(RecordStructTest, StructCases);

// Every text of every structure comes out cut to its array, terminated, never split inside a
// character, and nothing around the structure is touched.
TYPED_TEST(RecordStructTest, OverlongTextsAreCutToTheirArrays) {
  using R = TypeParam;
  using Traits = typename R::Traits;
  R record;
  ASSERT_EQ(1, record.SetData(OverlongRow<R>(kTypeValue<R>)));

  struct Guarded {
    unsigned char aBefore[32];
    typename Traits::Record record;
    unsigned char aAfter[32];
  } guarded;
  std::memset(&guarded, 0xAB, sizeof(guarded));
  ASSERT_EQ(1, record.GetData(guarded.record));

  int nTexts = 0;
  for (const auto& f : Traits::kFields) {
    if (f.kind != CtSvcColumnKind::String || f.slot.place == CtSvcStructPlace::None) {
      continue;
    }
    const unsigned char* pBase = f.slot.place == CtSvcStructPlace::Info
                                     ? reinterpret_cast<const unsigned char*>(&guarded.record.Info)
                                     : reinterpret_cast<const unsigned char*>(&guarded.record);
    const char* pText = reinterpret_cast<const char*>(pBase + f.slot.nOffset);
    const size_t nLength = strnlen(pText, f.slot.nSize);
    EXPECT_EQ(ExpectedCut(f.slot.nSize), nLength) << f.slot.szName;
    EXPECT_TRUE(CtSvcIsValidUtf8(pText, nLength)) << f.slot.szName;
    ++nTexts;
  }
  EXPECT_GT(nTexts, 0);
  for (size_t i = 0; i < sizeof(guarded.aBefore); ++i) {
    ASSERT_EQ(0xAB, guarded.aBefore[i]);
    ASSERT_EQ(0xAB, guarded.aAfter[i]);
  }
}

// A text member without terminator, or with a broken UTF-8 sequence, is bad input: refused, never
// read beyond its array.
TYPED_TEST(RecordStructTest, BadTextsInAnInfoAreRefused) {
  using R = TypeParam;
  using Traits = typename R::Traits;
  for (const auto& f : Traits::kFields) {
    if (f.kind != CtSvcColumnKind::String || f.slot.place != CtSvcStructPlace::Info) {
      continue;
    }
    for (const bool bUnterminated : {true, false}) {
      typename Traits::Info info;
      std::memset(&info, 0, sizeof(info));
      char* pText = reinterpret_cast<char*>(&info) + f.slot.nOffset;
      if (bUnterminated) {
        std::memset(pText, 'x', f.slot.nSize);
      } else {
        std::memcpy(pText, "ab\xC3(", 4);
      }
      zel::test::LogCapture capture;
      R record;
      EXPECT_EQ(0, record.SetData(info)) << f.slot.szName;
    }
  }
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

TEST(CtSvcFreeContactInfoTest, FreesEveryArrayAndResetsTheStructure) {
  EXPECT_FALSE(CtSvcFreeContactInfo(nullptr));
  const size_t nBefore = MemGetOutstandingCount();
  CtSvcContactInfo info{};
  info.pPersonInfo = static_cast<CtSvcPersonInfo*>(MemCalloc(sizeof(CtSvcPersonInfo)));
  info.pPhoneNumberInfo = static_cast<CtSvcPhoneNumberInfo*>(MemCalloc(3 * sizeof(CtSvcPhoneNumberInfo)));
  info.nPhoneNumberCount = 3;
  info.pEmailAddressInfo = static_cast<CtSvcEmailAddressInfo*>(MemCalloc(sizeof(CtSvcEmailAddressInfo)));
  info.nEmailAddressCount = 1;
  info.pGroupMemberInfo = static_cast<CtSvcGroupMemberInfo*>(MemCalloc(sizeof(CtSvcGroupMemberInfo)));
  info.nGroupMemberCount = 1;
  info.pRcsInfo = static_cast<CtSvcRcsInfo*>(MemCalloc(sizeof(CtSvcRcsInfo)));
  info.pSnsDataInfo = static_cast<CtSvcSnsDataInfo*>(MemCalloc(sizeof(CtSvcSnsDataInfo)));
  ASSERT_EQ(nBefore + 6, MemGetOutstandingCount());

  EXPECT_TRUE(CtSvcFreeContactInfo(&info));
  EXPECT_EQ(nBefore, MemGetOutstandingCount());
  EXPECT_TRUE(!info.pPersonInfo && !info.pPhoneNumberInfo && !info.pEmailAddressInfo && !info.pGroupMemberInfo &&
              !info.pRcsInfo && !info.pSnsDataInfo);
  EXPECT_EQ(0, info.nPhoneNumberCount | info.nEmailAddressCount | info.nGroupMemberCount);
  EXPECT_TRUE(CtSvcFreeContactInfo(&info));  // a second release finds nothing to free
  EXPECT_EQ(nBefore, MemGetOutstandingCount());
}

}  // namespace
