// Where each field of a record lands in the store, checked with SQL of the test's own on the
// store file: one record per family, every field with a value of its own, the expected column
// names and texts written out here (never taken from the code's own column map).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
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

namespace {

using ctsvc_test::Copy;
using Columns = std::vector<std::pair<const char*, std::string>>;

// Stores a record made from its C record structure (id -1); the new row id.
template <class R, class S>
int Store(S record) {
  record.nId = -1;
  R object(record);
  return object.Insert(1);
}

template <class S>
S Zeroed() {
  S record;
  std::memset(&record, 0, sizeof(record));
  return record;
}

const TmDateTime kDate = {2001, 2, 3, 4, 5, 6};

// The owners of a detail row: person nBase + 1, primary nBase + 2, account nBase + 3.
template <class S>
void SetOwners(S& r, int nBase) {
  r.nPersonId = nBase + 1;
  r.nPrimaryId = nBase + 2;
  r.nAccountId = nBase + 3;
}

int StorePerson() {
  auto r = Zeroed<CtSvcPersonRecord>();
  r.DevType = 1;
  r.Info.nSlotIndex = 11;
  Copy(r.Info.szFirstName, "Ann");
  Copy(r.Info.szLastName, "Lee");
  r.Info.Birthday = {1980, 1, 2, 0, 0, 0};
  r.Info.BirthdayReserve = {1981, 3, 4, 0, 0, 0};
  r.Info.Anniversary = {1982, 5, 6, 0, 0, 0};
  r.Info.AnniversaryReserve = {1983, 7, 8, 0, 0, 0};
  r.Info.SaveTime = kDate;
  r.Info.nDefaultPhoneNumberId = 12;
  r.Info.bHasPhoneNumber = 1;
  r.Info.bHasEmailAddress = 2;
  r.Info.bHasAddr = 3;
  r.Info.bHasIM = 4;
  r.Info.bHasEtcData = 5;
  r.Info.bHasRcs = 6;
  r.Info.bHasSnsData = 7;
  r.Info.nPrimaryId = 13;
  r.Info.nAccountId = 14;
  Copy(r.Info.szCallerImage, "/img/ann.jpg");
  Copy(r.Info.szUuid, "uuid-ann");
  return Store<CCtSvcPerson>(r);
}

int StorePrimary() {
  auto r = Zeroed<CtSvcPrimaryRecord>();
  r.Info.DevType = 2;
  r.Info.nDefaultPhoneNumberId = 21;
  r.Info.bHasPhoneNumber = 1;
  r.Info.bHasEmailAddress = 2;
  r.Info.bHasAddr = 3;
  r.Info.bHasIM = 4;
  Copy(r.Info.szCallerImage, "/img/p.jpg");
  r.Info.nFavorite = 2;
  r.Info.nFavoriteOrder = 22;
  Copy(r.Info.szFirstName, "Bob");
  Copy(r.Info.szLastName, "Kim");
  r.Info.nFirstAccountId = 23;
  r.Info.nSecondAccountId = 24;
  r.Info.nThirdAccountId = 25;
  r.Info.nLinkCount = 26;
  return Store<CCtSvcPrimary>(r);
}

template <class R, class S>
int StoreContactData(int nUseType, int nKind, const char* pszData) {
  auto r = Zeroed<S>();
  SetOwners(r, 30);
  r.DevType = 1;
  r.Info.UseType = nUseType;
  if constexpr (std::is_same_v<S, CtSvcPhoneNumberRecord>) {
    r.Info.PhoneType = nKind;
    r.Info.nAasId = 34;
    Copy(r.Info.szPhoneNumber, pszData);
  } else {
    r.Info.EmailType = nKind;
    Copy(r.Info.szEmailAddress, pszData);
  }
  return Store<R>(r);
}

int StorePostalAddress() {
  auto r = Zeroed<CtSvcPostalAddressRecord>();
  SetOwners(r, 40);
  r.Info.UseType = 4;
  Copy(r.Info.szPCODE, "04524");
  Copy(r.Info.szPostOfficeBoxNumber, "PO 7");
  Copy(r.Info.szDetail, "Apt 3");
  Copy(r.Info.szStreet, "Main St");
  Copy(r.Info.szCity, "Seoul");
  Copy(r.Info.szState, "SE");
  Copy(r.Info.szCountry, "KR");
  return Store<CCtSvcPostalAddress>(r);
}

int StoreEtcData() {
  auto r = Zeroed<CtSvcEtcDataRecord>();
  SetOwners(r, 50);
  r.DevType = 2;
  r.Info.EtcDataType = 5;
  Copy(r.Info.szEtcData, "Annie");
  return Store<CCtSvcEtcData>(r);
}

int StoreRcs() {
  auto r = Zeroed<CtSvcRcsRecord>();
  SetOwners(r, 60);
  r.Info.nStatus = 3;
  Copy(r.Info.szSip, "sip:ann@example.org");
  return Store<CCtSvcRcs>(r);
}

int StoreFdn() {
  auto r = Zeroed<CtSvcFdnRecord>();
  r.Info.nSlotIndex = 71;
  Copy(r.Info.szName, "Office");
  Copy(r.Info.szPhoneNumber, "+82-2-555-0100");
  return Store<CCtSvcFdn>(r);
}

int StoreGroup() {
  auto r = Zeroed<CtSvcGroupRecord>();
  r.Info.nAccountId = 81;
  r.Info.nSlotIndex = 82;
  r.Info.DevType = 2;
  r.Info.nType = 3;
  Copy(r.Info.szName, "Team");
  Copy(r.Info.szRingtone, "/snd/team.mp3");
  return Store<CCtSvcGroup>(r);
}

int StoreGroupMember() {
  auto r = Zeroed<CtSvcGroupMemberRecord>();
  r.DevType = 1;
  r.Info.nPersonId = 91;
  r.Info.nPrimaryId = 92;
  r.Info.nAccountId = 93;
  r.Info.nGroupId = 94;
  return Store<CCtSvcGroupMember>(r);
}

int StoreSpeedDial() {
  auto r = Zeroed<CtSvcSpeedDialRecord>();
  r.DevType = 2;
  r.nPersonId = 101;
  r.nAccountId = 102;
  r.Info.nSlotIndex = 103;
  r.Info.nPhoneNumberId = 104;
  return Store<CCtSvcSpeedDial>(r);
}

int StoreIM() {
  auto r = Zeroed<CtSvcIMRecord>();
  SetOwners(r, 110);
  r.Info.nIspId = 114;
  Copy(r.Info.szIsp, "Chat");
  Copy(r.Info.szUserId, "ann.lee");
  return Store<CCtSvcIM>(r);
}

int StoreSnsData() {
  auto r = Zeroed<CtSvcSnsDataRecord>();
  SetOwners(r, 120);
  Copy(r.Info.szStatus, "Out");
  r.Info.StatusUpdate = kDate;
  Copy(r.Info.szPeopleId, "p-125");
  r.Info.nSp = 124;
  Copy(r.Info.szProfilePhotoUrl, "http://img/ann");
  return Store<CCtSvcSnsData>(r);
}

struct Family {
  const char* szTable;
  std::function<int()> store;
  Columns columns;
};

// clang-format off
const Family kFamilies[] = {
    {"CtSvcPerson", StorePerson,
     {{"DEVICE_TYPE", "1"}, {"SLOT_INDEX", "11"}, {"FIRSTNAME", "Ann"}, {"LASTNAME", "Lee"},
      {"FL_FULLNAME", "Ann Lee"}, {"FL_GROUP_LETTER", "A"}, {"FL_LETTER", "AN"}, {"LF_FULLNAME", "Lee Ann"},
      {"LF_GROUP_LETTER", "L"}, {"LF_LETTER", "LE"}, {"BIRTHDAY", "1980-01-02 00:00:00"},
      {"BIRTHDAY_RESERVED", "1981-03-04 00:00:00"}, {"ANNIVERSARY", "1982-05-06 00:00:00"},
      {"ANNIVERSARY_RESERVED", "1983-07-08 00:00:00"}, {"SAVETIME", "2001-02-03 04:05:06"},
      {"DEFAULT_PHNUM_ID", "12"}, {"HAS_PH", "1"}, {"HAS_EMAIL", "2"}, {"HAS_ADDR", "3"}, {"HAS_IM", "4"},
      {"HAS_ETCDATA", "5"}, {"HAS_RCS", "6"}, {"HAS_SNSDATA", "7"}, {"PRIMARY_ID", "13"}, {"ACCOUNT_ID", "14"},
      {"CALLER_IMAGE", "/img/ann.jpg"}, {"UUID", "uuid-ann"}}},
    {"CtSvcPrimary", StorePrimary,
     {{"DEVICE_TYPE", "2"}, {"DEFAULT_PHNUM_ID", "21"}, {"HAS_PH", "1"}, {"HAS_EMAIL", "2"}, {"HAS_ADDR", "3"},
      {"HAS_IM", "4"}, {"CALLER_IMAGE", "/img/p.jpg"}, {"FAVORITE", "2"}, {"FIRSTNAME", "Bob"}, {"LASTNAME", "Kim"},
      {"FL_FULLNAME", "Bob Kim"}, {"FL_LETTER", "BO"}, {"LF_FULLNAME", "Kim Bob"}, {"LF_GROUP_LETTER", "K"},
      {"FIRST_ACCOUNT_ID", "23"}, {"SECOND_ACCOUNT_ID", "24"}, {"THIRD_ACCOUNT_ID", "25"}, {"LINK_COUNT", "26"},
      {"FAVORITE_ORDER", "22"}}},
    {"CtSvcContactDataTable",
     [] { return StoreContactData<CCtSvcPhoneNumber, CtSvcPhoneNumberRecord>(2, 3, "010-1234-5678"); },
     {{"PERSON_ID", "31"}, {"PRIMARY_ID", "32"}, {"DEVICE_TYPE", "1"}, {"TYPE", "1"}, {"USE_TYPE", "2"},
      {"PHONE_TYPE", "3"}, {"AAS_ID", "34"}, {"CONTACT_DATA", "010-1234-5678"}, {"ACCOUNT_ID", "33"}}},
    {"CtSvcContactDataTable",
     [] { return StoreContactData<CCtSvcEmailAddress, CtSvcEmailAddressRecord>(4, 5, "ann@example.org"); },
     {{"PERSON_ID", "31"}, {"PRIMARY_ID", "32"}, {"DEVICE_TYPE", "1"}, {"TYPE", "2"}, {"USE_TYPE", "4"},
      {"PHONE_TYPE", "5"}, {"AAS_ID", "-1"}, {"CONTACT_DATA", "ann@example.org"},
      {"CONTACT_SDATA", "ann@example.org"}, {"ACCOUNT_ID", "33"}}},
    {"CtSvcPostalAddress", StorePostalAddress,
     {{"PERSON_ID", "41"}, {"PRIMARY_ID", "42"}, {"ACCOUNT_ID", "43"}, {"USE_TYPE", "4"}, {"PCODE", "04524"},
      {"PBOXNUM", "PO 7"}, {"DETAIL", "Apt 3"}, {"STREET", "Main St"}, {"CITY", "Seoul"}, {"STATE", "SE"},
      {"COUNTRY", "KR"}}},
    {"CtSvcEtcData", StoreEtcData,
     {{"PERSON_ID", "51"}, {"PRIMARY_ID", "52"}, {"ACCOUNT_ID", "53"}, {"DEVICE_TYPE", "2"}, {"ETC_TYPE", "5"},
      {"ETC_DATA", "Annie"}}},
    {"CtSvcRcs", StoreRcs,
     {{"PERSON_ID", "61"}, {"PRIMARY_ID", "62"}, {"ACCOUNT_ID", "63"}, {"STATUS", "3"},
      {"SIP", "sip:ann@example.org"}}},
    {"CtSvcFdn", StoreFdn, {{"SLOT_INDEX", "71"}, {"NAME", "Office"}, {"PHONENUMBER", "+82-2-555-0100"}}},
    {"CtSvcGroup", StoreGroup,
     {{"ACCOUNT_ID", "81"}, {"SLOT_INDEX", "82"}, {"DEVICE_TYPE", "2"}, {"TYPE", "3"}, {"NAME", "Team"},
      {"SNAME", "Team"}, {"RINGTONE", "/snd/team.mp3"}}},
    {"CtSvcGroupMember", StoreGroupMember,
     {{"DEVICE_TYPE", "1"}, {"PERSON_ID", "91"}, {"PRIMARY_ID", "92"}, {"ACCOUNT_ID", "93"}, {"GROUP_ID", "94"}}},
    {"CtSvcSpeedDial", StoreSpeedDial,
     {{"DEVICE_TYPE", "2"}, {"SLOT_INDEX", "103"}, {"PHNUM_ID", "104"}, {"PERSON_ID", "101"},
      {"ACCOUNT_ID", "102"}}},
    {"CtSvcIM", StoreIM,
     {{"PERSON_ID", "111"}, {"PRIMARY_ID", "112"}, {"ISP_ID", "114"}, {"ISP", "Chat"}, {"USER_ID", "ann.lee"},
      {"ACCOUNT_ID", "113"}}},
    {"CtSvcSnsData", StoreSnsData,
     {{"PERSON_ID", "121"}, {"PRIMARY_ID", "122"}, {"STATUS", "Out"}, {"STATUS_UPDATE", "2001-02-03 04:05:06"},
      {"PEOPLE_ID", "p-125"}, {"SP", "124"}, {"ACCOUNT_ID", "123"}, {"PROFILE_PHOTO_URL", "http://img/ann"}}},
};
// clang-format on

class CtSvcStoredColumnsTest : public ctsvc_test::SchemaTest {
 protected:
  // The texts of the columns of one row, read from the store file by a connection of the test.
  std::vector<std::string> ReadColumns(const char* szTable, int nId, const Columns& columns) const {
    std::string strSql = "SELECT ";
    for (size_t i = 0; i < columns.size(); ++i) {
      strSql += (i > 0 ? ", " : "") + std::string(columns[i].first);
    }
    strSql += std::string(" FROM ") + szTable + " WHERE ID = " + std::to_string(nId);
    std::vector<std::string> vcTexts;
    sqlite3* pDb = nullptr;
    sqlite3_stmt* pStmt = nullptr;
    if (sqlite3_open_v2(DbPath().c_str(), &pDb, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(pDb, strSql.c_str(), -1, &pStmt, nullptr) == SQLITE_OK && sqlite3_step(pStmt) == SQLITE_ROW) {
      for (int i = 0; i < sqlite3_column_count(pStmt); ++i) {
        const unsigned char* pText = sqlite3_column_text(pStmt, i);
        vcTexts.push_back(pText != nullptr ? reinterpret_cast<const char*>(pText) : "<null>");
      }
    } else {
      ADD_FAILURE() << strSql << ": " << sqlite3_errmsg(pDb);
    }
    sqlite3_finalize(pStmt);
    sqlite3_close(pDb);
    return vcTexts;
  }
};

TEST_F(CtSvcStoredColumnsTest, EveryFieldLandsInItsOwnColumn) {
  for (const Family& family : kFamilies) {
    SCOPED_TRACE(family.szTable);
    const int nId = family.store();
    ASSERT_GT(nId, 0);
    const std::vector<std::string> vcTexts = ReadColumns(family.szTable, nId, family.columns);
    ASSERT_EQ(family.columns.size(), vcTexts.size());
    for (size_t i = 0; i < vcTexts.size(); ++i) {
      EXPECT_EQ(family.columns[i].second, vcTexts[i]) << family.columns[i].first;
    }
  }
}

}  // namespace
