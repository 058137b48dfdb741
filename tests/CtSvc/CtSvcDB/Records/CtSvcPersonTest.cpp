// The person record: what it writes, how it stamps new rows, the bulk-commit rule, SIM trimming
// and its detail queries.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "CtSvcDB/CfPlugin/CtSvcFilterTraits.h"
#include "CtSvcDB/Records/CtSvcBulkCounter.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDB/Records/CtSvcEtcData.h"
#include "CtSvcDB/Records/CtSvcGroup.h"
#include "CtSvcDB/Records/CtSvcGroupMember.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcRecordText.h"
#include "RecordTestSupport.h"
#include "ZelCoreTest.h"
#include "ZelNv.h"

namespace {

using ctsvc_record_test::ColumnName;
using ctsvc_record_test::InputInt;
using ctsvc_record_test::InputText;

std::string PersonColumn(int nColumn) { return ColumnName(CTSVC_DB_TABLE_PERSON, nColumn); }

CCtSvcPerson NamedPerson(const char* pszFirst, const char* pszLast) { return ctsvc_test::Named(pszFirst, pszLast); }

class CtSvcPersonTest : public ctsvc_record_test::RecordStoreTest {};

TEST_F(CtSvcPersonTest, IdDeviceTypeAndAccountAreWrittenOnlyForAReservedId) {
  CCtSvcPerson person = NamedPerson("Ann", "Lee");
  person.SetAccountId(7);
  CContentInput fresh;
  ASSERT_EQ(1, person.GetData(fresh));
  for (int nColumn : {CTSVC_DB_PERSON_COLUMN_ID, CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE, CTSVC_DB_PERSON_COLUMN_ACCOUNT_ID}) {
    EXPECT_FALSE(fresh.Has(PersonColumn(nColumn))) << nColumn;
  }
  EXPECT_TRUE(fresh.Has(PersonColumn(CTSVC_DB_PERSON_COLUMN_SLOT_INDEX)));

  person._PrepareInsertRecord();
  ASSERT_GT(person.GetRecordId(), 0);
  CContentInput reserved;
  ASSERT_EQ(1, person.GetData(reserved));
  EXPECT_EQ(person.GetRecordId(), InputInt(reserved, PersonColumn(CTSVC_DB_PERSON_COLUMN_ID)));
  EXPECT_EQ(CTSVC_USE_TYPE_PHONE, InputInt(reserved, PersonColumn(CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE)));
  EXPECT_EQ(7, InputInt(reserved, PersonColumn(CTSVC_DB_PERSON_COLUMN_ACCOUNT_ID)));
}

TEST_F(CtSvcPersonTest, NameColumnsInBothOrders) {
  struct Case {
    const char* pszFirst;
    const char* pszLast;
    std::u16string strFL, strFLLetter, strFLGroup, strLF, strLFLetter, strLFGroup;
  };
  const Case kCases[] = {
      {"Ann", "Lee", u"Ann Lee", u"AN", u"A", u"Lee Ann", u"LE", u"L"},
      {"\xC3\xA9mile", "", u"\u00e9mile", u"EM", u"E", u"\u00e9mile", u"EM", u"E"},
      {"", "", u"\uffff", u"\uffff", u"\uffff", u"\uffff", u"\uffff", u"\uffff"},
      {"", "Lee", u"Lee", u"LE", u"L", u"Lee", u"LE", u"L"},
      // A character outside the BMP is listed where '#' is, never under half a surrogate pair.
      {"\xF0\x9F\x98\x80x", "", u"\U0001F600x", u"#X", u"#", u"\U0001F600x", u"#X", u"#"},
      {"a\xF0\x9F\x98\x80", "", u"a\U0001F600", u"A#", u"A", u"a\U0001F600", u"A#", u"A"},
  };
  for (const Case& c : kCases) {
    CContentInput input;
    ASSERT_EQ(1, NamedPerson(c.pszFirst, c.pszLast).GetData(input));
    EXPECT_EQ(c.strFL, InputText(input, PersonColumn(CTSVC_DB_PERSON_COLUMN_FL_FULLNAME))) << c.pszFirst;
    EXPECT_EQ(c.strFLLetter, InputText(input, PersonColumn(CTSVC_DB_PERSON_COLUMN_FL_LETTER))) << c.pszFirst;
    EXPECT_EQ(c.strFLGroup, InputText(input, PersonColumn(CTSVC_DB_PERSON_COLUMN_FL_GROUP_LETTER))) << c.pszFirst;
    EXPECT_EQ(c.strLF, InputText(input, PersonColumn(CTSVC_DB_PERSON_COLUMN_LF_FULLNAME))) << c.pszFirst;
    EXPECT_EQ(c.strLFLetter, InputText(input, PersonColumn(CTSVC_DB_PERSON_COLUMN_LF_LETTER))) << c.pszFirst;
    EXPECT_EQ(c.strLFGroup, InputText(input, PersonColumn(CTSVC_DB_PERSON_COLUMN_LF_GROUP_LETTER))) << c.pszFirst;
  }
}

// Texts cut to a limit end on a whole character, in UTF-8 and in UTF-16 alike.
TEST_F(CtSvcPersonTest, TextsAreCutBetweenCharacters) {
  std::string strEmoji;
  for (int i = 0; i < 600; ++i) {
    strEmoji += "\xF0\x9F\x98\x80";
  }
  const std::string strFits = strEmoji.substr(0, 148);  // 37 characters; a 38th needs 152 bytes
  char szName[151];
  ctsvc_test::Copy(szName, strEmoji);
  EXPECT_EQ(strFits, szName) << "contact info";
  CtSvcCopyFilterText(szName, strEmoji.c_str());
  EXPECT_EQ(strFits, szName) << "filter text";
  std::memcpy(szName, strEmoji.data(), sizeof(szName));  // a full array from a caller
  CtSvcTerminateTexts(szName);
  EXPECT_EQ(strFits, szName) << "caller's array";
  const std::u16string strUnits = CtSvcToPCode("x" + strEmoji);  // at most 1000 units
  EXPECT_EQ(CtSvcToPCode("x" + strEmoji.substr(0, 4 * 499)), strUnits) << "column text";

  ctsvc_test::ContactParts parts(strEmoji, -1);
  CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
  const int nId = contact.Insert(1);
  ASSERT_GT(nId, 0);
  CContent row;
  ASSERT_TRUE(CContentMgr::Instance()->GetContent("CtSvc/Person", nId, row));
  std::u16string strStored;
  ASSERT_TRUE(row.GetString(CTSVC_DB_PERSON_COLUMN_FIRSTNAME, strStored));
  EXPECT_EQ(CtSvcToPCode(strFits), strStored);
  ASSERT_TRUE(row.GetString(CTSVC_DB_PERSON_COLUMN_FL_GROUP_LETTER, strStored));
  EXPECT_EQ(u"#", strStored);
}

TEST_F(CtSvcPersonTest, NamelessPersonsSortAfterEveryName) {
  for (const char* pszFirst : {"", "Zoe", "\xE4\xB8\xAD\xE6\x96\x87", "\xF0\x9F\x98\x80", "Ann"}) {
    ASSERT_GT(NamedPerson(pszFirst, "").Insert(1), 0);
  }
  for (int nColumn : {CTSVC_DB_PERSON_COLUMN_FL_FULLNAME, CTSVC_DB_PERSON_COLUMN_LF_FULLNAME}) {
    CContentFilter filter;
    filter.SetOrderBy(PersonColumn(nColumn));
    std::vector<CContent> vcRows;
    ASSERT_TRUE(CContentMgr::Instance()->GetContents("CtSvc/Person", &filter, vcRows));
    ASSERT_EQ(5u, vcRows.size());
    CCtSvcPerson last;
    ASSERT_EQ(1, last.SetData(vcRows.back()));
    EXPECT_STREQ("", last.GetFirstName());
    std::u16string strStored;
    ASSERT_TRUE(vcRows.back().GetString(nColumn, strStored));
    EXPECT_EQ(u"\uffff", strStored);
  }
}

TEST_F(CtSvcPersonTest, DateSettersKeepOnlyDatesInRange) {
  struct Case {
    TmDateTime date;
    bool bKept;
  };
  const Case kCases[] = {
      {{2101, 1, 1, 0, 0, 0}, false}, {{2000, 5, 0, 0, 0, 0}, false}, {{1899, 12, 31, 0, 0, 0}, false},
      {{2000, 13, 1, 0, 0, 0}, false}, {{2000, 1, 32, 0, 0, 0}, false}, {{1900, 1, 1, 0, 0, 0}, true},
      {{2100, 12, 31, 23, 59, 59}, true},
  };
  using Setter = void (CCtSvcPerson::*)(const TmDateTime&);
  using Getter = TmDateTime (CCtSvcPerson::*)() const;
  const std::pair<Setter, Getter> kAccessors[] = {
      {&CCtSvcPerson::SetBirthday, &CCtSvcPerson::GetBirthday},
      {&CCtSvcPerson::SetBirthdayReserve, &CCtSvcPerson::GetBirthdayReserve},
      {&CCtSvcPerson::SetAnniversary, &CCtSvcPerson::GetAnniversary},
      {&CCtSvcPerson::SetAnniversaryReserve, &CCtSvcPerson::GetAnniversaryReserve},
  };
  for (const Case& c : kCases) {
    const TmDateTime expected = c.bKept ? c.date : kCtSvcUnsetDate;
    for (const auto& accessor : kAccessors) {
      CCtSvcPerson person;
      (person.*accessor.first)(c.date);
      EXPECT_TRUE(CtSvcIsSameDate(expected, (person.*accessor.second)())) << c.date.year << "-" << c.date.day;
    }
    // An info goes through the same rule.
    CtSvcPersonInfo info{};
    info.Birthday = c.date;
    EXPECT_TRUE(CtSvcIsSameDate(expected, CCtSvcPerson(info).GetBirthday())) << c.date.year;
  }
}

// New rows get the save time and a uuid from the clock, the id and a generated UUID, falling back
// to the IMEI and then to nothing; given ones are kept.
TEST_F(CtSvcPersonTest, InsertStampsSaveTimeAndUuid) {
  zel::test::SetClock(1700000000, 3600);  // 2023-11-14 22:13:20 UTC
  CCtSvcPerson person = NamedPerson("Ann", "Lee");
  const int nId = person.Insert(1);
  ASSERT_GT(nId, 0);
  EXPECT_TRUE(CtSvcIsSameDate(TmDateTime({2023, 11, 14, 23, 13, 20}), person.GetSaveTime()));
  char szId[32];
  std::snprintf(szId, sizeof(szId), "%015d", nId);
  const std::regex kPattern("20231114T221320Z-" + std::string(szId) +
                            "-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{10}@ctsvc\\.local");
  EXPECT_TRUE(std::regex_match(person.GetUuid(), kPattern)) << person.GetUuid();

  CCtSvcPerson given = NamedPerson("Bo", "");
  given.SetSaveTime(TmDateTime{2001, 2, 3, 4, 5, 6});
  given.SetUuid("mine");
  given.Insert(1);
  EXPECT_EQ(2001, given.GetSaveTime().year);
  EXPECT_STREQ("mine", given.GetUuid());

  zel::test::SetClock(0, 0);
  zel::test::SetUuidFailure(true);
  char szExpected[96];
  for (const char* pszImei : {"356938035643809", static_cast<const char*>(nullptr)}) {
    zel::test::SetImei(pszImei);
    CCtSvcPerson fallback = NamedPerson("Cy", "");
    std::snprintf(szExpected, sizeof(szExpected), "19700101T000000Z-%015d-%s@ctsvc.local", fallback.Insert(1),
                  pszImei != nullptr ? pszImei : "");
    EXPECT_STREQ(szExpected, fallback.GetUuid());
  }
}

TEST_F(CtSvcPersonTest, FiftyBulkInsertsCommitOnceAndACommittedInsertResetsTheCount) {
  const int nBase = CountFromSecondConnection("CtSvcPerson");
  for (int i = 1; i < CTSVC_BULK_COMMIT_INTERVAL; ++i) {
    ASSERT_GT(NamedPerson("Bulk", "").Insert(0), 0);
  }
  EXPECT_EQ(nBase, CountFromSecondConnection("CtSvcPerson"));
  ASSERT_GT(NamedPerson("Bulk", "").Insert(0), 0);
  EXPECT_EQ(nBase + 50, CountFromSecondConnection("CtSvcPerson"));
  EXPECT_EQ(0, CtSvcGetBulkCounter());

  for (int i = 0; i < 3; ++i) {
    NamedPerson("Bulk", "").Insert(0);
  }
  EXPECT_EQ(3, CtSvcGetBulkCounter());
  NamedPerson("Committed", "").Insert(1);
  EXPECT_EQ(0, CtSvcGetBulkCounter());
  EXPECT_EQ(nBase + 54, CountFromSecondConnection("CtSvcPerson"));

  // Updates count the same way.
  CCtSvcPerson person = NamedPerson("Up", "");
  const int nId = person.Insert(1);
  for (int i = 1; i < CTSVC_BULK_COMMIT_INTERVAL; ++i) {
    ASSERT_EQ(1, person.Update(nId, 0));
  }
  EXPECT_EQ(CTSVC_BULK_COMMIT_INTERVAL - 1, CtSvcGetBulkCounter());
  ASSERT_EQ(1, person.Update(nId, 0));
  EXPECT_EQ(0, CtSvcGetBulkCounter());
}

TEST_F(CtSvcPersonTest, RemoveFieldForSimMergesNamesInTheNameOrderAndCutsThem) {
  struct Case {
    int nNameOrder;
    const char* pszFirst;
    const char* pszLast;
    const char* pszExpected;
  };
  const std::string strLong(49, 'x');
  const Case kCases[] = {
      {0, "Ann", "Lee", "Ann Lee"},
      {1, "Ann", "Lee", "Lee Ann"},
      {1, "", "Lee", "Lee"},
      {0, "Ann", "", "Ann"},
      {0, "Alexandra", "Montgomery", "Alexandra Mont"},  // 14 bytes: the ADN name of a card without SIM limits
      {0, strLong.c_str(), "Lee", "xxxxxxxxxxxxxx"},     // too long to merge: the last name is only dropped
  };
  for (const Case& c : kCases) {
    ASSERT_TRUE(NvSetInt(1417, c.nNameOrder));
    CCtSvcPerson person = NamedPerson(c.pszFirst, c.pszLast);
    person.SetCallerImage("/User/Ct/a.jpg");
    person.SetBirthday(TmDateTime{2000, 1, 2, 0, 0, 0});
    person.SetAnniversaryReserve(TmDateTime{2000, 1, 2, 0, 0, 0});
    person.SetHasAddr(1);
    person.SetHasSnsData(1);
    person.SetHasPhoneNumber(1);
    ASSERT_EQ(1, person.RemoveFieldForSim());
    EXPECT_STREQ(c.pszExpected, person.GetFirstName()) << c.pszFirst << "/" << c.pszLast;
    EXPECT_STREQ("", person.GetLastName());
    EXPECT_STREQ("", person.GetCallerImage());
    EXPECT_TRUE(CtSvcIsSameDate(kCtSvcUnsetDate, person.GetBirthday()));
    EXPECT_TRUE(CtSvcIsSameDate(kCtSvcUnsetDate, person.GetAnniversaryReserve()));
    EXPECT_EQ(0, person.GetHasAddr() + person.GetHasSnsData());
    EXPECT_EQ(1, person.GetHasPhoneNumber());
  }
}

// A column of each kind (small integer, integer, text, date) missing from a row stops the load.
TEST_F(CtSvcPersonTest, FailedColumnReadStopsTheLoad) {
  CCtSvcPerson stored = NamedPerson("Ann", "Lee");
  const int nId = stored.Insert(1);
  CContent good;
  ASSERT_TRUE(CContentMgr::Instance()->GetContent("CtSvc/Person", nId, good));
  for (int nColumn : {CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE, CTSVC_DB_PERSON_COLUMN_SLOT_INDEX,
                      CTSVC_DB_PERSON_COLUMN_LASTNAME, CTSVC_DB_PERSON_COLUMN_SAVETIME}) {
    CContent row;
    for (int i = 0; i < good.GetFieldCount(); ++i) {
      if (i == nColumn) {
        row.AddNullField();
      } else {
        row.AddFieldData(*good.GetValue(i));
      }
    }
    CCtSvcPerson person;
    EXPECT_EQ(0, person.SetData(row)) << nColumn;
    EXPECT_EQ(nId, person.GetRecordId());  // read before the failing column
  }
}

// The exported person functions read numbers and e-mail addresses; these are the record's other
// detail queries, refused for a person not stored.
TEST_F(CtSvcPersonTest, QueriesReadThePersonsDetails) {
  CContent row;
  {
    zel::test::LogCapture capture;
    const CCtSvcPerson unsaved;
    std::vector<CContent> vcRows;
    EXPECT_EQ(0, unsaved.GetPhoneNumber(vcRows));
    EXPECT_EQ(0, unsaved.GetEtcData(CTSVC_ETC_DATA_TYPE_NOTE, row));
    EXPECT_EQ(0, unsaved.GetRcsInformation(row));
    EXPECT_TRUE(unsaved.GetJoinedGroupList().empty());
    EXPECT_TRUE(capture.HasAssertion("GetRecordId() >= 0"));
  }
  CCtSvcPerson person = NamedPerson("Ann", "Lee");
  ASSERT_GT(person.Insert(1), 0);
  CCtSvcPerson other = NamedPerson("Other", "");
  ASSERT_GT(other.Insert(1), 0);
  for (const auto& etc : {std::make_pair(CTSVC_ETC_DATA_TYPE_SECOND_NAME, "Annie"), std::make_pair(CTSVC_ETC_DATA_TYPE_NOTE, "note")}) {
    CCtSvcEtcData data;
    data.SetEtcDataType(etc.first);
    data.SetEtcData(etc.second);
    data.SetPerson(person);
    data.Insert(1);
  }
  CCtSvcGroup group;
  group.SetName("Friends");
  const int nGroupId = group.Insert(1);
  for (int nGroup : {CTSVC_NOT_ASSIGNED_GROUP_ID, nGroupId}) {
    CCtSvcGroupMember member;
    member.SetGroupId(nGroup);
    member.SetPerson(person);
    member.Insert(1);
  }

  ASSERT_EQ(1, person.GetEtcData(CTSVC_ETC_DATA_TYPE_NOTE, row));
  CCtSvcEtcData note;
  ASSERT_EQ(1, note.SetData(row));
  EXPECT_STREQ("note", note.GetEtcData());
  EXPECT_EQ(0, person.GetEtcData(CTSVC_ETC_DATA_TYPE_TITLE, row));
  EXPECT_EQ(0, other.GetEtcData(CTSVC_ETC_DATA_TYPE_NOTE, row));

  const std::vector<CContent> vcGroups = person.GetJoinedGroupList();
  ASSERT_EQ(2u, vcGroups.size());
  CCtSvcGroup joined;
  ASSERT_EQ(1, joined.SetData(vcGroups[1]));
  EXPECT_STREQ("Friends", joined.GetName());
}

}  // namespace
