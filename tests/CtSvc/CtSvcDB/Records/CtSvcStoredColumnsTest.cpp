// Where each field of a record lands in the store, checked with SQL of the test's own on the
// store file: one record per family, every field with a value of its own, the expected column
// names and texts written out here (never taken from the code's own column map).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "CtSvcDB/Records/CtSvcEmailAddress.h"
#include "CtSvcDB/Records/CtSvcEtcData.h"
#include "CtSvcDB/Records/CtSvcFdn.h"
#include "CtSvcDB/Records/CtSvcGroup.h"
#include "CtSvcDB/Records/CtSvcGroupMember.h"
#include "CtSvcDB/Records/CtSvcIM.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcPhoneNumber.h"
#include "CtSvcDB/Records/CtSvcPostalAddress.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcDB/Records/CtSvcRcs.h"
#include "CtSvcDB/Records/CtSvcSnsData.h"
#include "CtSvcDB/Records/CtSvcSpeedDial.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "StoreReader.h"

namespace {

using Columns = std::vector<std::pair<const char*, std::string>>;

// Stores a record made from its C record structure; the new row id.
template <class R, class S>
std::function<int()> Store(const S& record) {
  return [record] {
    R object(record);
    return object.Insert(1);
  };
}

constexpr TmDateTime kDate = {2001, 2, 3, 4, 5, 6};

struct Family {
  const char* szTable;
  std::function<int()> store;
  Columns columns;
};

// clang-format off
const Family kFamilies[] = {
    {"CtSvcPerson",
     // device type; slot, names, the four dates, save time, default number, the seven flags,
     // primary, account, caller image, uuid
     Store<CCtSvcPerson>(CtSvcPersonRecord{-1, 1, {0, 11, "Ann", "Lee", {1980, 1, 2, 0, 0, 0}, {1981, 3, 4, 0, 0, 0},
                                                  {1982, 5, 6, 0, 0, 0}, {1983, 7, 8, 0, 0, 0}, kDate, 12, 1, 2, 3, 4,
                                                  5, 6, 7, 13, 14, "/img/ann.jpg", "uuid-ann"}}),
     {{"DEVICE_TYPE", "1"}, {"SLOT_INDEX", "11"}, {"FIRSTNAME", "Ann"}, {"LASTNAME", "Lee"},
      {"FL_FULLNAME", "Ann Lee"}, {"FL_GROUP_LETTER", "A"}, {"FL_LETTER", "AN"}, {"LF_FULLNAME", "Lee Ann"},
      {"LF_GROUP_LETTER", "L"}, {"LF_LETTER", "LE"}, {"BIRTHDAY", "1980-01-02 00:00:00"},
      {"BIRTHDAY_RESERVED", "1981-03-04 00:00:00"}, {"ANNIVERSARY", "1982-05-06 00:00:00"},
      {"ANNIVERSARY_RESERVED", "1983-07-08 00:00:00"}, {"SAVETIME", "2001-02-03 04:05:06"},
      {"DEFAULT_PHNUM_ID", "12"}, {"HAS_PH", "1"}, {"HAS_EMAIL", "2"}, {"HAS_ADDR", "3"}, {"HAS_IM", "4"},
      {"HAS_ETCDATA", "5"}, {"HAS_RCS", "6"}, {"HAS_SNSDATA", "7"}, {"PRIMARY_ID", "13"}, {"ACCOUNT_ID", "14"},
      {"CALLER_IMAGE", "/img/ann.jpg"}, {"UUID", "uuid-ann"}}},
    {"CtSvcPrimary",
     // device type, default number, four flags, caller image, favourite and its order, names,
     // three accounts, link count, the unstored integer
     Store<CCtSvcPrimary>(CtSvcPrimaryRecord{-1, {2, 21, 1, 2, 3, 4, "/img/p.jpg", 2, 22, "Bob", "Kim", 23, 24, 25, 26, 0}}),
     {{"DEVICE_TYPE", "2"}, {"DEFAULT_PHNUM_ID", "21"}, {"HAS_PH", "1"}, {"HAS_EMAIL", "2"}, {"HAS_ADDR", "3"},
      {"HAS_IM", "4"}, {"CALLER_IMAGE", "/img/p.jpg"}, {"FAVORITE", "2"}, {"FIRSTNAME", "Bob"}, {"LASTNAME", "Kim"},
      {"FL_FULLNAME", "Bob Kim"}, {"FL_LETTER", "BO"}, {"LF_FULLNAME", "Kim Bob"}, {"LF_GROUP_LETTER", "K"},
      {"FIRST_ACCOUNT_ID", "23"}, {"SECOND_ACCOUNT_ID", "24"}, {"THIRD_ACCOUNT_ID", "25"}, {"LINK_COUNT", "26"},
      {"FAVORITE_ORDER", "22"}}},
    {"CtSvcContactDataTable",
     // person, primary, device type, account; AAS, phone type, use type, number
     Store<CCtSvcPhoneNumber>(CtSvcPhoneNumberRecord{-1, 31, 32, 1, 33, {34, 3, 2, "010-1234-5678"}}),
     {{"PERSON_ID", "31"}, {"PRIMARY_ID", "32"}, {"DEVICE_TYPE", "1"}, {"TYPE", "1"}, {"USE_TYPE", "2"},
      {"PHONE_TYPE", "3"}, {"AAS_ID", "34"}, {"CONTACT_DATA", "010-1234-5678"}, {"ACCOUNT_ID", "33"}}},
    {"CtSvcContactDataTable",
     // person, primary, device type, account; use type, e-mail type, address
     Store<CCtSvcEmailAddress>(CtSvcEmailAddressRecord{-1, 31, 32, 1, 33, {4, 5, "ann@example.org"}}),
     {{"PERSON_ID", "31"}, {"PRIMARY_ID", "32"}, {"DEVICE_TYPE", "1"}, {"TYPE", "2"}, {"USE_TYPE", "4"},
      {"PHONE_TYPE", "5"}, {"AAS_ID", "-1"}, {"CONTACT_DATA", "ann@example.org"},
      {"CONTACT_SDATA", "ann@example.org"}, {"ACCOUNT_ID", "33"}}},
    {"CtSvcPostalAddress",
     Store<CCtSvcPostalAddress>(
         CtSvcPostalAddressRecord{-1, 41, 42, 43, {4, "04524", "PO 7", "Apt 3", "Main St", "Seoul", "SE", "KR"}}),
     {{"PERSON_ID", "41"}, {"PRIMARY_ID", "42"}, {"ACCOUNT_ID", "43"}, {"USE_TYPE", "4"}, {"PCODE", "04524"},
      {"PBOXNUM", "PO 7"}, {"DETAIL", "Apt 3"}, {"STREET", "Main St"}, {"CITY", "Seoul"}, {"STATE", "SE"},
      {"COUNTRY", "KR"}}},
    {"CtSvcEtcData", Store<CCtSvcEtcData>(CtSvcEtcDataRecord{-1, 51, 52, 53, 2, {5, "Annie"}}),
     {{"PERSON_ID", "51"}, {"PRIMARY_ID", "52"}, {"ACCOUNT_ID", "53"}, {"DEVICE_TYPE", "2"}, {"ETC_TYPE", "5"},
      {"ETC_DATA", "Annie"}}},
    {"CtSvcRcs", Store<CCtSvcRcs>(CtSvcRcsRecord{-1, 61, 62, 63, {3, "sip:ann@example.org"}}),
     {{"PERSON_ID", "61"}, {"PRIMARY_ID", "62"}, {"ACCOUNT_ID", "63"}, {"STATUS", "3"},
      {"SIP", "sip:ann@example.org"}}},
    {"CtSvcFdn", Store<CCtSvcFdn>(CtSvcFdnRecord{-1, {71, "Office", "+82-2-555-0100"}}), {{"SLOT_INDEX", "71"}, {"NAME", "Office"}, {"PHONENUMBER", "+82-2-555-0100"}}},
    {"CtSvcGroup", Store<CCtSvcGroup>(CtSvcGroupRecord{-1, {81, 82, 2, 3, "Team", "", "/snd/team.mp3"}}),
     {{"ACCOUNT_ID", "81"}, {"SLOT_INDEX", "82"}, {"DEVICE_TYPE", "2"}, {"TYPE", "3"}, {"NAME", "Team"},
      {"SNAME", "Team"}, {"RINGTONE", "/snd/team.mp3"}}},
    {"CtSvcGroupMember", Store<CCtSvcGroupMember>(CtSvcGroupMemberRecord{-1, 1, {91, 92, 93, 94}}),
     {{"DEVICE_TYPE", "1"}, {"PERSON_ID", "91"}, {"PRIMARY_ID", "92"}, {"ACCOUNT_ID", "93"}, {"GROUP_ID", "94"}}},
    {"CtSvcSpeedDial", Store<CCtSvcSpeedDial>(CtSvcSpeedDialRecord{-1, 2, 101, 102, {103, 104}}),
     {{"DEVICE_TYPE", "2"}, {"SLOT_INDEX", "103"}, {"PHNUM_ID", "104"}, {"PERSON_ID", "101"},
      {"ACCOUNT_ID", "102"}}},
    {"CtSvcIM", Store<CCtSvcIM>(CtSvcIMRecord{-1, 111, 112, 113, {114, "Chat", "ann.lee"}}),
     {{"PERSON_ID", "111"}, {"PRIMARY_ID", "112"}, {"ISP_ID", "114"}, {"ISP", "Chat"}, {"USER_ID", "ann.lee"},
      {"ACCOUNT_ID", "113"}}},
    {"CtSvcSnsData",
     Store<CCtSvcSnsData>(CtSvcSnsDataRecord{-1, 121, 122, 123, {"Out", kDate, "p-125", 124, "http://img/ann"}}),
     {{"PERSON_ID", "121"}, {"PRIMARY_ID", "122"}, {"STATUS", "Out"}, {"STATUS_UPDATE", "2001-02-03 04:05:06"},
      {"PEOPLE_ID", "p-125"}, {"SP", "124"}, {"ACCOUNT_ID", "123"}, {"PROFILE_PHOTO_URL", "http://img/ann"}}},
};
// clang-format on

class CtSvcStoredColumnsTest : public ctsvc_test::SchemaTest {};

TEST_F(CtSvcStoredColumnsTest, EveryFieldLandsInItsOwnColumn) {
  const ctsvc_test::StoreReader store(DbPath(), true);
  for (const Family& family : kFamilies) {
    SCOPED_TRACE(family.szTable);
    const int nId = family.store();
    ASSERT_GT(nId, 0);
    std::string strSql = "SELECT ";
    std::vector<std::string> vcExpected;
    for (const auto& column : family.columns) {
      strSql += (vcExpected.empty() ? "" : ", ") + std::string(column.first);
      vcExpected.push_back(column.second);
    }
    const auto rows = store.Rows(strSql + " FROM " + family.szTable + " WHERE ID = " + std::to_string(nId));
    ASSERT_EQ(1u, rows.size()) << strSql;
    for (size_t i = 0; i < vcExpected.size() && i < rows[0].size(); ++i) {
      EXPECT_EQ(vcExpected[i], rows[0][i]) << family.columns[i].first;
    }
  }
}

}  // namespace
