// Every member of the detail-table family through one test body: insert, read, update, read,
// delete; and bad input that must be refused without touching the store.
#include <functional>
#include <optional>

#include "CtSvcDB/Records/CtSvcRcs.h"
#include "CtSvcDbDetailTestSupport.h"

namespace {

using ctsvc_detail_test::Copy;
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

using CtSvcDbDetailTest = ctsvc_detail_test::DetailTest;

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
    EXPECT_EQ(1, Count(c.strUri, strRow + (c.bOwnedByPerson ? strOwner : "")));
    EXPECT_TRUE(c.update(nId, "12"));
    EXPECT_EQ(Text("12"), c.read(nId));
    EXPECT_TRUE(c.remove(nId));
    EXPECT_EQ(std::nullopt, c.read(nId));
    EXPECT_FALSE(c.remove(nId));
    EXPECT_FALSE(c.update(nId, "13"));  // a deleted row is not written again
    EXPECT_EQ(0, Count(c.strUri, strRow));
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
  const auto rows = [] { return Count("CtSvc/PhoneNumber", "") + Count("CtSvc/IM", "") + Count("CtSvc/SpeedDial", ""); };
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

}  // namespace
