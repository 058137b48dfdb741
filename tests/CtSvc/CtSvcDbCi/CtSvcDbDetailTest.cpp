// The detail-table family through the exported functions: every member through one test body
// (insert, read, update, read, delete), bad input refused without touching the store, who owns a
// row, how filtered deletes reach the observers, and lookups by key rather than by row id.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcRcs.h"
#include "CtSvcDbDetail.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"

namespace {

using ctsvc_test::Copy;
using ctsvc_test::CountWhere;
using ctsvc_test::NoticeRecorder;

class CtSvcDbDetailTest : public ctsvc_test::ServiceTest {
 protected:
  // Stores a person (with the given id, or the next one for -1); its handle.
  static HOBJ AddPerson(CtSvcDeviceType nDeviceType, const char* pszFirst, const char* pszLast, int nId = -1) {
    CCtSvcPerson person = ctsvc_test::Named(pszFirst, pszLast, nDeviceType);
    person.SetRecordId(nId);
    return person.Insert(1) > 0 ? person.GetHandle() : INVALID_HOBJ;
  }
  static int AddNumber(HOBJ hPerson, const std::string& strNumber, int nPrimaryId = 1) {
    CtSvcPhoneNumberInfo info{};
    Copy(info.szPhoneNumber, strNumber);
    return CtSvcDbPhoneNumberInsertRecord(hPerson, nPrimaryId, &info);
  }
  static int AddEmail(HOBJ hPerson, const std::string& strAddress) {
    CtSvcEmailAddressInfo info{};
    Copy(info.szEmailAddress, strAddress);
    return CtSvcDbEmailAddressInsertRecord(hPerson, 1, &info);
  }
};

using Text = std::optional<std::string>;
constexpr int kPrimaryId = 4;

struct MemberCase {
  std::string strName;
  std::string strUri;
  bool bOwnedByPerson;
  std::function<int(const std::string&)> insert;
  std::function<BOOL(int, const std::string&)> update;
  std::function<Text(int)> read;
  std::function<BOOL(int)> remove;
};

// The value under test is one text (or, for memberships, the group id) of the info.
template <size_t N>
void Put(char (&szField)[N], const std::string& strValue) { Copy(szField, strValue); }
void Put(INT32& nField, const std::string& strValue) { nField = std::stoi(strValue); }
std::string Take(const char* pszField) { return pszField; }
std::string Take(INT32 nField) { return std::to_string(nField); }

// Writes take the value through pfnWrite(info); reads give it back through pfnGet.
template <class Info, class Record, class F, class W>
MemberCase Make(const char* szName, const char* szUri, bool bOwned, F Info::*pField, W pfnWrite,
                BOOL (*pfnGet)(int, Record*), BOOL (*pfnDelete)(int)) {
  const auto info = [=](const std::string& v) { Info i{}; Put(i.*pField, v); return i; };
  return {szName, szUri, bOwned, [=](const std::string& v) { return pfnWrite(-1, info(v)); },
          [=](int nId, const std::string& v) { return pfnWrite(nId, info(v)) > 0; },
          [=](int nId) { Record r{}; return pfnGet(nId, &r) ? Text(Take(r.Info.*pField)) : std::nullopt; }, pfnDelete};
}

// Id -1 inserts, another id updates.
template <class Info>
auto PersonWrite(HOBJ h, int (*pfnInsert)(HOBJ, int, const Info*), BOOL (*pfnUpdate)(int, HOBJ, int, const Info*)) {
  return [=](int nId, const Info& i) { return nId == -1 ? pfnInsert(h, kPrimaryId, &i) : pfnUpdate(nId, h, kPrimaryId, &i); };
}
template <class Info>
auto TableWrite(int (*pfnInsert)(const Info*), BOOL (*pfnUpdate)(int, const Info*)) {
  return [=](int nId, const Info& i) { return nId == -1 ? pfnInsert(&i) : pfnUpdate(nId, &i); };
}

// Other data has no GetRecord: found among every row; RCS has no read at all: through the framework.
BOOL GetEtcData(int nId, CtSvcEtcDataRecord* pRecord) {
  CtSvcEtcDataRecord records[8] = {};
  const int n = CtSvcDbEtcDataGetRecords(nullptr, records, 8);
  for (int i = 0; i < n; ++i) {
    if (records[i].nId == nId) {
      *pRecord = records[i];
      return TRUE;
    }
  }
  return FALSE;
}
BOOL GetRcs(int nId, CtSvcRcsRecord* pRecord) {
  CContent content;
  CCtSvcRcs rcs;
  return CContentMgr::Instance()->GetContent("CtSvc/Rcs", nId, content) && rcs.SetData(content) && rcs.GetData(*pRecord);
}

#define PERSON_MEMBER(NAME, URI, FIELD, GET)                                                                     \
  Make(#NAME, URI, true, &CtSvc##NAME##Info::FIELD,                                                            \
       PersonWrite<CtSvc##NAME##Info>(h, CtSvcDb##NAME##InsertRecord, CtSvcDb##NAME##UpdateRecord), GET, \
       CtSvcDb##NAME##DeleteRecord)
#define TABLE_MEMBER(NAME, URI, FIELD)                                                                                \
  Make(#NAME, URI, false, &CtSvc##NAME##Info::FIELD,                                                                  \
       TableWrite<CtSvc##NAME##Info>(CtSvcDb##NAME##InsertRecord, CtSvcDb##NAME##UpdateRecord), CtSvcDb##NAME##GetRecord, \
       CtSvcDb##NAME##DeleteRecord)

std::vector<MemberCase> AllMembers(HOBJ h) {
  return {
      PERSON_MEMBER(PhoneNumber, "CtSvc/PhoneNumber", szPhoneNumber, CtSvcDbPhoneNumberGetRecord),
      PERSON_MEMBER(EmailAddress, "CtSvc/Email", szEmailAddress, CtSvcDbEmailAddressGetRecord),
      PERSON_MEMBER(PostalAddress, "CtSvc/PostalAddress", szCity, CtSvcDbPostalAddressGetRecord),
      PERSON_MEMBER(EtcData, "CtSvc/EtcData", szEtcData, GetEtcData),
      PERSON_MEMBER(IM, "CtSvc/IM", szUserId, CtSvcDbIMGetRecord),
      PERSON_MEMBER(SnsData, "CtSvc/SnsData", szStatus, CtSvcDbSnsDataGetRecord),
      PERSON_MEMBER(Rcs, "CtSvc/Rcs", szSip, GetRcs),
      PERSON_MEMBER(GroupMember, "CtSvc/GroupMember", nGroupId, CtSvcDbGroupMemberGetRecord),
      TABLE_MEMBER(Group, "CtSvc/Group", szName),
      TABLE_MEMBER(Fdn, "CtSvc/Fdn", szName),
  };
}

TEST_F(CtSvcDbDetailTest, EveryMemberRoundTrips) {
  const HOBJ hPerson = AddPerson(CTSVC_USE_TYPE_SIM, "Ann", "Lee");
  ASSERT_NE(INVALID_HOBJ, hPerson);
  const std::string strOwner = " AND PERSON_ID = " + std::to_string(CTSVC_HANDLE_TO_ID(hPerson)) +
                               " AND PRIMARY_ID = " + std::to_string(kPrimaryId);
  for (const MemberCase& c : AllMembers(hPerson)) {
    SCOPED_TRACE(c.strName);
    const int nId = c.insert("11");
    ASSERT_GT(nId, 0);
    EXPECT_EQ(Text("11"), c.read(nId));
    const std::string strRow = "ID = " + std::to_string(nId);
    EXPECT_EQ(1, CountWhere(c.strUri, strRow + (c.bOwnedByPerson ? strOwner : "")));
    EXPECT_TRUE(c.update(nId, "12"));
    EXPECT_EQ(Text("12"), c.read(nId));
    EXPECT_TRUE(c.remove(nId));
    EXPECT_EQ(std::nullopt, c.read(nId));
    EXPECT_FALSE(c.remove(nId));
    EXPECT_FALSE(c.update(nId, "13"));  // a deleted row is not written again
    EXPECT_EQ(0, CountWhere(c.strUri, strRow));
  }
}

TEST_F(CtSvcDbDetailTest, BadInputIsRefusedAndChangesNothing) {
  const HOBJ hPerson = AddPerson(CTSVC_USE_TYPE_PHONE, "Bo", "Kim");
  const int nNumber = AddNumber(hPerson, "0101234567");
  CtSvcPhoneNumberInfo number{};
  CtSvcPhoneNumberInfo unterminated{};
  std::memset(unterminated.szPhoneNumber, '7', sizeof(unterminated.szPhoneNumber));
  CtSvcIMInfo im{};
  CtSvcEtcDataRecord etc[1] = {};
  const struct {
    std::function<int()> call;
    int nExpected;
    const char* szAssertion;  // null: refused with a log line only
  } calls[] = {
      {[&] { return CtSvcDbPhoneNumberInsertRecord(hPerson, 1, nullptr); }, -1, "pInfo"},
      {[&] { return CtSvcDbPhoneNumberInsertRecord(INVALID_HOBJ, 1, &number); }, -1, "hPerson != INVALID_HOBJ"},
      {[&] { return CtSvcDbIMInsertRecord(CTSVC_HANDLE_TO_ID(hPerson), 1, &im); }, -1,
       "nDeviceType == CTSVC_USE_TYPE_PHONE || nDeviceType == CTSVC_USE_TYPE_SIM"},
      {[&] { return CtSvcDbPhoneNumberInsertRecord(hPerson, 1, &unterminated); }, -1, nullptr},
      {[&] { return CtSvcDbPhoneNumberUpdateRecord(0, hPerson, 1, &number); }, 0, "nID > 0"},
      {[&] { return CtSvcDbPhoneNumberDeleteRecord(-3); }, 0, "nID > 0"},
      {[&] { return CtSvcDbPhoneNumberDeleteRecordsWithFilter(nullptr); }, 0, "pFilter"},
      {[&] { return CtSvcDbFdnGetRecord(1, nullptr); }, 0, "pRecord"},
      {[&] { return CtSvcDbEtcDataGetRecords(nullptr, etc, -1); }, -1, "nCapacity >= 0"},
      {[&] { return CtSvcDbSdGetSlotIndex(-2); }, -1, "nPhoneNumberId >= 0"},
      {[&] { return CtSvcDbSdSetRecord(30, nNumber, hPerson); }, 0,
       "nSlotIndex >= CTSVC_SPEEDDIAL_SLOT_FIRST && nSlotIndex <= CTSVC_SPEEDDIAL_SLOT_LAST"},
  };
  const auto rows = [] { return CountWhere("CtSvc/PhoneNumber", "") + CountWhere("CtSvc/IM", "") + CountWhere("CtSvc/SpeedDial", ""); };
  const int nRowsBefore = rows();
  for (size_t i = 0; i < std::size(calls); ++i) {
    SCOPED_TRACE(i);
    zel::test::LogCapture capture;
    EXPECT_EQ(calls[i].nExpected, calls[i].call());
    EXPECT_TRUE(calls[i].szAssertion == nullptr ? capture.Assertions().empty() : capture.HasAssertion(calls[i].szAssertion));
  }
  EXPECT_EQ(nRowsBefore, rows());
  CtSvcPhoneNumberRecord record{};
  ASSERT_TRUE(CtSvcDbPhoneNumberGetRecord(nNumber, &record));
  EXPECT_STREQ("0101234567", record.Info.szPhoneNumber);
}

TEST_F(CtSvcDbDetailTest, NumberTakesIdentityFromHandleAndNamesFromPerson) {
  ASSERT_EQ(CTSVC_MAKE_HANDLE(2, 9), AddPerson(CTSVC_USE_TYPE_SIM, "Gil", "Hong", 9));
  const int nId = AddNumber(CTSVC_MAKE_HANDLE(2, 9), "01099998888", 4);
  EXPECT_EQ(1, CountWhere("CtSvc/PhoneNumber", "ID = " + std::to_string(nId) +
                                              " AND PERSON_ID = 9 AND DEVICE_TYPE = 2 AND PRIMARY_ID = 4"
                                              " AND FIRSTNAME = 'Gil' AND LASTNAME = 'Hong'"));
  // A person that cannot be read: the row is kept with what the handle says.
  const int nOrphan = AddNumber(CTSVC_MAKE_HANDLE(1, 77), "0215551234");
  EXPECT_EQ(1, CountWhere("CtSvc/PhoneNumber", "ID = " + std::to_string(nOrphan) + " AND PERSON_ID = 77 AND DEVICE_TYPE = 1"));
}

// A filtered delete of numbers is noticed row by row (each running the cascade); one of IM
// addresses is a single notice; a filtered delete that matches nothing succeeds.
TEST_F(CtSvcDbDetailTest, FilteredDeletesNoticeNumbersOneByOneAndIMOnce) {
  const HOBJ hAnn = AddPerson(CTSVC_USE_TYPE_PHONE, "Ann", "Lee");
  const HOBJ hBo = AddPerson(CTSVC_USE_TYPE_PHONE, "Bo", "Kim");
  const std::vector<int> vcAnn = {AddNumber(hAnn, "0101"), AddNumber(hAnn, "0102"), AddNumber(hAnn, "0103")};
  const int nBo = AddNumber(hBo, "0201");
  AddEmail(hAnn, "ann@example.org");
  ASSERT_TRUE(CtSvcDbSdSetRecord(3, vcAnn[1], hAnn));
  CtSvcIMInfo im{};
  for (const char* szUser : {"ann1", "ann2"}) {
    Copy(im.szUserId, szUser);
    ASSERT_GT(CtSvcDbIMInsertRecord(hAnn, 1, &im), 0);
  }
  NoticeRecorder numbers("CtSvc/PhoneNumber");
  NoticeRecorder ims("CtSvc/IM");
  CtSvcPhoneNumberFilter filter;
  CtSvcPhoneNumberFilterInit(&filter);
  filter.nPersonId = CTSVC_HANDLE_TO_ID(hAnn);
  ASSERT_TRUE(CtSvcDbPhoneNumberDeleteRecordsWithFilter(&filter));
  const int kDelete = CONTENT_CHANGE_DELETE;
  EXPECT_EQ((std::vector<std::pair<int, int>>{{kDelete, vcAnn[0]}, {kDelete, vcAnn[1]}, {kDelete, vcAnn[2]}}),
            numbers.m_vcNotices);
  EXPECT_EQ(0, CtSvcDbPhoneNumberGetCount(&filter));
  EXPECT_EQ(-1, CtSvcDbSdGetSlotIndex(vcAnn[1]));
  EXPECT_EQ(1, CountWhere("CtSvc/Email", "TYPE = 2"));  // the person's e-mail is not a number
  EXPECT_EQ(1, CountWhere("CtSvc/PhoneNumber", "ID = " + std::to_string(nBo)));
  EXPECT_TRUE(CtSvcDbPhoneNumberDeleteRecordsWithFilter(&filter));

  CtSvcIMFilter imFilter;
  CtSvcIMFilterInit(&imFilter);
  imFilter.nPersonId = CTSVC_HANDLE_TO_ID(hAnn);
  ASSERT_TRUE(CtSvcDbIMDeleteRecordsWithFilter(&imFilter));
  EXPECT_EQ((std::vector<std::pair<int, int>>{{kDelete, -1}}), ims.m_vcNotices);
  EXPECT_EQ(0, CtSvcDbIMGetCount(&imFilter));
  EXPECT_TRUE(CtSvcDbIMDeleteRecordsWithFilter(&imFilter));
}

// Writes never lose what they were not asked to change: a row of the other kind of the shared
// table, or the account of an address.
TEST_F(CtSvcDbDetailTest, WritesLeaveWhatIsNotTheirs) {
  const HOBJ hAnn = AddPerson(CTSVC_USE_TYPE_PHONE, "Ann", "Lee");
  const int nEmail = AddEmail(hAnn, "ann@example.org");
  CtSvcPhoneNumberInfo number{};
  EXPECT_FALSE(CtSvcDbPhoneNumberUpdateRecord(nEmail, hAnn, 1, &number));
  EXPECT_FALSE(CtSvcDbPhoneNumberDeleteRecord(nEmail));
  EXPECT_EQ(1, CountWhere("CtSvc/Email", "ID = " + std::to_string(nEmail) + " AND CONTACT_DATA = 'ann@example.org'"));

  CtSvcPostalAddressInfo info{};
  const int nAddress = CtSvcDbPostalAddressInsertRecord(hAnn, 1, &info);
  CContentInput account;
  account.SetInt("ACCOUNT_ID", 5);
  ASSERT_TRUE(CContentMgr::Instance()->Update("CtSvc/PostalAddress", nAddress, account));
  Copy(info.szCity, "Seoul");
  ASSERT_TRUE(CtSvcDbPostalAddressUpdateRecord(nAddress, hAnn, 1, &info));
  CtSvcPostalAddressRecord record{};
  ASSERT_TRUE(CtSvcDbPostalAddressGetRecord(nAddress, &record));
  EXPECT_STREQ("Seoul", record.Info.szCity);
  EXPECT_EQ(5, record.nAccountId);
}

TEST_F(CtSvcDbDetailTest, SpeedDialKeysFillFreeAndReplace) {
  const HOBJ hAnn = AddPerson(CTSVC_USE_TYPE_PHONE, "Ann", "Lee");
  const int nFirst = AddNumber(hAnn, "0101");
  const int nSecond = AddNumber(hAnn, "0102");
  EXPECT_EQ(1, CtSvcDbSdGetUnusedSlotIndex());
  for (int nSlot = CTSVC_SPEEDDIAL_SLOT_FIRST; nSlot <= CTSVC_SPEEDDIAL_SLOT_LAST; ++nSlot) {
    ASSERT_TRUE(CtSvcDbSdSetRecord(nSlot, nFirst, hAnn));
  }
  EXPECT_EQ(-1, CtSvcDbSdGetUnusedSlotIndex());
  EXPECT_EQ(29, CtSvcDbSdGetCount());

  ASSERT_TRUE(CtSvcDbSdSetRecord(7, -1, -1));
  EXPECT_EQ(7, CtSvcDbSdGetUnusedSlotIndex());
  CtSvcSpeedDialRecord record{};
  EXPECT_FALSE(CtSvcDbSdGetRecord(7, &record));

  ASSERT_TRUE(CtSvcDbSdSetRecord(3, nSecond, hAnn));  // replaces what key 3 dialled
  EXPECT_EQ(28, CtSvcDbSdGetCount());
  ASSERT_TRUE(CtSvcDbSdGetRecord(3, &record));
  EXPECT_EQ(nSecond, record.Info.nPhoneNumberId);
  EXPECT_EQ(CTSVC_HANDLE_TO_ID(hAnn), record.nPersonId);
  EXPECT_EQ(CTSVC_USE_TYPE_PHONE, record.DevType);
  EXPECT_EQ(3, CtSvcDbSdGetSlotIndex(nSecond));
  CtSvcSpeedDialRecord byId{};
  ASSERT_TRUE(CtSvcDbSdGetRecordByID(record.nId, &byId));
  EXPECT_EQ(3, byId.Info.nSlotIndex);

  EXPECT_FALSE(CtSvcDbSdSetRecord(7, 4242, hAnn));  // no such number: the key stays free
  EXPECT_EQ(7, CtSvcDbSdGetUnusedSlotIndex());
}

TEST_F(CtSvcDbDetailTest, FdnFoundByCallerDigitsOfDialledNumber) {
  CtSvcFdnInfo info{};
  for (const auto& entry : {std::pair<const char*, const char*>{"Mom", "01012345678"}, {"Office", "0299998888"}}) {
    Copy(info.szName, entry.first);
    Copy(info.szPhoneNumber, entry.second);
    ASSERT_GT(CtSvcDbFdnInsertRecord(&info), 0);
  }
  CtSvcFdnRecord record{};
  ASSERT_TRUE(CtSvcDbFdnGetRecordByPhoneNumber("+821012345678", &record));
  EXPECT_STREQ("Mom", record.Info.szName);
  EXPECT_TRUE(CtSvcDbFdnCheckIsAvailFdnNumber("+82299998888"));
  EXPECT_EQ(2, CtSvcDbFdnGetTotalCount());

  EXPECT_FALSE(CtSvcDbFdnCheckIsAvailFdnNumber("0311112222"));
  EXPECT_FALSE(CtSvcDbFdnGetRecordByPhoneNumber("0311112222", &record));
  EXPECT_FALSE(CtSvcDbFdnGetRecordByPhoneNumber("", &record));
  EXPECT_FALSE(CtSvcDbFdnCheckIsAvailFdnNumber(nullptr));
  EXPECT_STREQ("Mom", record.Info.szName);  // failed lookups leave the record alone
}

TEST_F(CtSvcDbDetailTest, GroupMemberListHoldsOnlyThatGroupUpToCapacity) {
  CtSvcGroupInfo group{};
  Copy(group.szName, "Friends");
  group.DevType = CTSVC_USE_TYPE_PHONE;
  const int nFriends = CtSvcDbGroupInsertRecord(&group);
  ASSERT_GT(nFriends, 0);
  // Members of persons that are not stored are fine here: memberships do not read the person.
  for (int nGroup : {nFriends, nFriends, CTSVC_NOT_ASSIGNED_GROUP_ID, nFriends}) {
    const CtSvcGroupMemberInfo member{-1, -1, -1, nGroup};
    ASSERT_GT(CtSvcDbGroupMemberInsertRecord(CTSVC_MAKE_HANDLE(1, 100 + nGroup), 1, &member), 0);
  }
  CtSvcGroupMemberRecord records[8] = {};
  ASSERT_EQ(3, CtSvcDbGroupGetGroupMemberList(nFriends, records, 8));
  EXPECT_EQ(nFriends, records[0].Info.nGroupId);
  EXPECT_EQ(nFriends, records[2].Info.nGroupId);
  EXPECT_EQ(2, CtSvcDbGroupGetGroupMemberList(nFriends, records, 2));
  EXPECT_EQ(0, CtSvcDbGroupGetGroupMemberList(4242, records, 8));
  EXPECT_EQ(2, CtSvcDbGroupGetTotalCount());  // the default group and Friends
}

TEST_F(CtSvcDbDetailTest, ContactDataRowReadAsItsKind) {
  const HOBJ hAnn = AddPerson(CTSVC_USE_TYPE_PHONE, "Ann", "Lee");
  const int nNumber = AddNumber(hAnn, "0101");
  const int nEmail = AddEmail(hAnn, "ann@example.org");
  CtSvcContactDataRecord record{};
  ASSERT_TRUE(CtSvcDbContactDataGetRecord(nNumber, &record));
  EXPECT_EQ(CTSVC_CONTACT_TYPE_PHONENUMBER, record.Type);
  EXPECT_STREQ("0101", record.Data.PhoneNumber.Info.szPhoneNumber);
  ASSERT_TRUE(CtSvcDbContactDataGetRecord(nEmail, &record));
  EXPECT_EQ(CTSVC_CONTACT_TYPE_EMAILADDRESS, record.Type);
  EXPECT_STREQ("ann@example.org", record.Data.EmailAddress.Info.szEmailAddress);
  EXPECT_EQ(nEmail, record.Data.EmailAddress.nId);
  EXPECT_FALSE(CtSvcDbContactDataGetRecord(4242, &record));
  EXPECT_EQ(2, CtSvcDbPhoneNumberGetTotalCount());  // the shared table holds both kinds
}

}  // namespace
