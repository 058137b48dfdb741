// The composite contact: building it from a contact info, trimming it for the SIM, the
// operations it refuses, and inserting a whole contact with its primary in one call.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcDB/Records/CtSvcSimLimits.h"
#include "RecordTestSupport.h"
#include "ZelCoreTest.h"
#include "ZelNv.h"

namespace {

using ctsvc_record_test::ColumnName;

CtSvcPhoneNumberInfo NumberInfo(const char* pszNumber, int nPhoneType = 1) {
  CtSvcPhoneNumberInfo info{};
  info.nAasId = -1;
  info.PhoneType = nPhoneType;
  info.UseType = CTSVC_USE_TYPE_OTHER;
  std::strcpy(info.szPhoneNumber, pszNumber);
  return info;
}

CtSvcEmailAddressInfo EmailInfo(const char* pszAddress) {
  CtSvcEmailAddressInfo info{};
  info.EmailType = CTSVC_EMAIL_TYPE_INTERNET;
  std::strcpy(info.szEmailAddress, pszAddress);
  return info;
}

CtSvcEtcDataInfo EtcInfo(CtSvcEtcDataType nType, const char* pszValue) {
  CtSvcEtcDataInfo info{};
  info.EtcDataType = nType;
  std::strcpy(info.szEtcData, pszValue);
  return info;
}

// A contact info over arrays the test owns.
struct ContactParts {
  CtSvcPersonInfo person{};
  std::vector<CtSvcPhoneNumberInfo> vcNumbers;
  std::vector<CtSvcEmailAddressInfo> vcEmails;
  std::vector<CtSvcPostalAddressInfo> vcAddresses;
  std::vector<CtSvcGroupMemberInfo> vcMembers;
  std::vector<CtSvcEtcDataInfo> vcEtc;
  CtSvcRcsInfo rcs{};
  bool bRcs = false;

  ContactParts(const char* pszFirst, int nAccountId) {
    std::strcpy(person.szFirstName, pszFirst);
    person.nSlotIndex = -1;
    person.nAccountId = nAccountId;
    person.nDefaultPhoneNumberId = -1;
  }
  CtSvcContactInfo Info() {
    CtSvcContactInfo info{};
    info.pPersonInfo = &person;
    info.pPhoneNumberInfo = vcNumbers.data();
    info.nPhoneNumberCount = static_cast<INT32>(vcNumbers.size());
    info.pEmailAddressInfo = vcEmails.data();
    info.nEmailAddressCount = static_cast<INT32>(vcEmails.size());
    info.pPostalAddressInfo = vcAddresses.data();
    info.nPostalAddressCount = static_cast<INT32>(vcAddresses.size());
    info.pGroupMemberInfo = vcMembers.data();
    info.nGroupMemberCount = static_cast<INT32>(vcMembers.size());
    info.pEtcDataInfo = vcEtc.data();
    info.nEtcDataCount = static_cast<INT32>(vcEtc.size());
    info.pRcsInfo = bRcs ? &rcs : nullptr;
    return info;
  }
};

// SIM limits a test chooses.
class TestSimLimits final : public ICtSvcSimLimits {
 public:
  int nAdnNumberLength = 20;
  int nAdnNameLength = 14;
  bool bEmailFile = false;
  int nEmailLength = 0;
  bool bSneFile = false;
  int nSneLength = 0;
  int nFreeAnr = 0;
  int nFreeEmail = 0;
  int nFreeSne = 0;
  int GetAdnNumberLength() const override { return nAdnNumberLength; }
  int GetAdnNameLength() const override { return nAdnNameLength; }
  bool HasEmailFile() const override { return bEmailFile; }
  int GetEmailLength() const override { return nEmailLength; }
  bool HasSneFile() const override { return bSneFile; }
  int GetSneLength() const override { return nSneLength; }
  int GetFreeAnrCount(int) const override { return nFreeAnr; }
  int GetFreeEmailCount(int) const override { return nFreeEmail; }
  int GetFreeSneCount(int) const override { return nFreeSne; }
};

class CtSvcContactTest : public ctsvc_record_test::RecordStoreTest {
 protected:
  void TearDown() override {
    CtSvcSetSimLimits(nullptr);
    RecordStoreTest::TearDown();
  }

  static int CountWhere(const char* pszUri, const std::string& strWhere) {
    CContentFilter filter;
    filter.SetWhere(strWhere);
    return CContentMgr::Instance()->GetCount(pszUri, &filter);
  }
  static CCtSvcPerson ReadPerson(int nId) {
    CContent row;
    CCtSvcPerson person;
    EXPECT_TRUE(CContentMgr::Instance()->GetContent("CtSvc/Person", nId, row));
    EXPECT_EQ(1, person.SetData(row));
    return person;
  }
};

TEST_F(CtSvcContactTest, BuildsListsFromTheInfoAndReadsAbsentListsAsEmpty) {
  ContactParts parts("Ann", -1);
  parts.vcNumbers = {NumberInfo("0101"), NumberInfo("0102")};
  parts.vcEtc = {EtcInfo(CTSVC_ETC_DATA_TYPE_NOTE, "n")};
  parts.bRcs = true;
  CtSvcContactInfo info = parts.Info();
  info.nEmailAddressCount = -1;  // "leave as stored" for updates: nothing to build
  info.pEmailAddressInfo = nullptr;

  CCtSvcContact contact(info, CTSVC_USE_TYPE_SIM);
  EXPECT_EQ(CTSVC_USE_TYPE_SIM, contact.GetPerson().GetDeviceType());
  EXPECT_STREQ("Ann", contact.GetPerson().GetFirstName());
  EXPECT_EQ(2, contact.GetPhoneNumberCount());
  EXPECT_STREQ("0102", contact.GetPhoneNumberList()[1].GetPhoneNumber());
  EXPECT_EQ(0, contact.GetEmailAddressCount());
  EXPECT_EQ(1, contact.GetEtcDataCount());
  EXPECT_EQ(1, contact.GetRcsCount());
  EXPECT_EQ(0, contact.GetSnsDataCount());
  EXPECT_EQ(-1, contact.GetRecordId());

  info.pPersonInfo = nullptr;
  zel::test::LogCapture capture;
  EXPECT_EQ(0, contact.SetContactInfo(info, CTSVC_USE_TYPE_PHONE));
  EXPECT_TRUE(capture.Contains("CCtSvcContact::SetContactInfo - pPersonInfo is NULL\n"));
}

TEST_F(CtSvcContactTest, ReserveGivesEveryDetailItsPerson) {
  ContactParts parts("Ann", 3);
  parts.vcNumbers = {NumberInfo("0101")};
  parts.vcEmails = {EmailInfo("a@example.org")};
  parts.vcMembers = {CtSvcGroupMemberInfo{-1, -1, -1, 4}};
  CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
  const int nId = contact.ReserveRecordId();
  ASSERT_GT(nId, 0);
  EXPECT_EQ(nId, contact.GetPerson().GetRecordId());
  const CCtSvcPhoneNumber& number = contact.GetPhoneNumberList()[0];
  EXPECT_EQ(nId, number.GetPersonId());
  EXPECT_EQ(3, number.GetAccountId());
  EXPECT_GT(number.GetRecordId(), 0);
  EXPECT_EQ(nId, contact.GetEmailAddressList()[0].GetPersonId());
  EXPECT_NE(number.GetRecordId(), contact.GetEmailAddressList()[0].GetRecordId());
  EXPECT_EQ(nId, contact.GetGroupMemberList()[0].GetPersonId());
  EXPECT_EQ(4, contact.GetGroupMemberList()[0].GetGroupId());
}

TEST_F(CtSvcContactTest, UnsupportedOperationsReportAndFail) {
  CCtSvcContact contact;
  CContent row;
  CContentInput input;
  zel::test::LogCapture capture;
  EXPECT_EQ(0, contact.SetData(row));
  EXPECT_EQ(0, contact.GetData(input));
  EXPECT_EQ(0, contact.Update(1, 1));
  EXPECT_EQ(0, contact.Delete());
  EXPECT_STREQ("", contact._GetURI());
  for (const char* pszLog : {"CCtSvcContact::SetData - Not support\n", "CCtSvcContact::GetData - Not support\n",
                             "CCtSvcContact::Update - NOT SUPPORT\n", "CCtSvcContact::Delete - NOT SUPPORT\n",
                             "CCtSvcContact::_GetURI - Not support\n"}) {
    EXPECT_TRUE(capture.Contains(pszLog)) << pszLog;
  }
  const std::vector<zel::test::AssertionRecord> vcAssertions = capture.Assertions();
  ASSERT_EQ(5u, vcAssertions.size());
  for (const zel::test::AssertionRecord& assertion : vcAssertions) {
    EXPECT_EQ("ASSERTION_NEVER_GET_HERE", assertion.label);
    EXPECT_EQ("NEVER_GET_HERE", assertion.expr);
  }
  EXPECT_TRUE(input.IsEmpty());
}

// How much of a contact the SIM keeps, for every combination of SIM files and bKeepAll.
TEST_F(CtSvcContactTest, RemoveFieldForSimKeepsWhatTheSimHolds) {
  struct Case {
    const char* pszName;
    int bKeepAll;
    bool bEmailFile;
    bool bSneFile;
    int nFreeAnr, nFreeEmail, nFreeSne;
    int nNumbers, nEmails, nEtc;
    const char* pszLongNumber;  // the second number after trimming (when kept)
  };
  const Case kCases[] = {
      {"no SIM files", 0, false, false, 0, 0, 0, 1, 0, 0, nullptr},
      {"free entries", 0, true, true, 1, 1, 1, 2, 1, 1, "+8210123456789012345"},
      {"keep all", 1, true, true, 0, 0, 1, 3, 2, 2, "+821012345678901234567890"},
      {"keep all without free SNE", 1, true, true, 0, 0, 0, 3, 2, 0, "+821012345678901234567890"},
  };
  ASSERT_TRUE(NvSetInt(1417, 0));
  for (const Case& c : kCases) {
    TestSimLimits limits;
    limits.bEmailFile = c.bEmailFile;
    limits.nEmailLength = 10;
    limits.bSneFile = c.bSneFile;
    limits.nSneLength = 4;
    limits.nFreeAnr = c.nFreeAnr;
    limits.nFreeEmail = c.nFreeEmail;
    limits.nFreeSne = c.nFreeSne;
    CtSvcSetSimLimits(&limits);

    ContactParts parts("Ann", -1);
    std::strcpy(parts.person.szLastName, "Lee");
    parts.vcNumbers = {NumberInfo("0101"), NumberInfo("+821012345678901234567890"), NumberInfo("0103")};
    parts.vcEmails = {EmailInfo("ann.lee@example.org"), EmailInfo("b@x.io")};
    parts.vcEtc = {EtcInfo(CTSVC_ETC_DATA_TYPE_SECOND_NAME, "Annie"), EtcInfo(CTSVC_ETC_DATA_TYPE_NOTE, "note")};
    parts.vcAddresses.resize(1);
    parts.bRcs = true;
    CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_SIM);
    ASSERT_EQ(1, contact.RemoveFieldForSim(c.bKeepAll));

    EXPECT_STREQ("Ann Lee", contact.GetPerson().GetFirstName()) << c.pszName;
    ASSERT_EQ(c.nNumbers, contact.GetPhoneNumberCount()) << c.pszName;
    if (c.pszLongNumber != nullptr) {
      EXPECT_STREQ(c.pszLongNumber, contact.GetPhoneNumberList()[1].GetPhoneNumber()) << c.pszName;
    }
    ASSERT_EQ(c.nEmails, contact.GetEmailAddressCount()) << c.pszName;
    if (c.nEmails > 0) {
      EXPECT_STREQ("ann.lee@ex", contact.GetEmailAddressList()[0].GetEmailAddress()) << c.pszName;
    }
    ASSERT_EQ(c.nEtc, contact.GetEtcDataCount()) << c.pszName;
    if (c.nEtc > 0) {
      EXPECT_STREQ("Anni", contact.GetEtcDataList()[0].GetEtcData()) << c.pszName;
      EXPECT_EQ(CTSVC_ETC_DATA_TYPE_SECOND_NAME, contact.GetEtcDataList()[0].GetEtcDataType()) << c.pszName;
    }
    EXPECT_EQ(0, contact.GetPostalAddressCount() + contact.GetRcsCount() + contact.GetIMCount() + contact.GetSnsDataCount());
  }
}

// Inserting a whole contact relies on the database manager's primary services (find, create,
// read, count and rearrange primaries).
TEST_F(CtSvcContactTest, WholeContactInsertsInOneCall) {
  ContactParts parts("Ann", -1);
  std::strcpy(parts.person.szLastName, "Lee");
  parts.vcNumbers = {NumberInfo("0101"), NumberInfo("0102"), NumberInfo("0103")};
  parts.vcEmails = {EmailInfo("ann@example.org"), EmailInfo("lee@example.org")};
  parts.vcAddresses.resize(1);
  std::strcpy(parts.vcAddresses[0].szCity, "Seoul");
  parts.vcMembers = {CtSvcGroupMemberInfo{-1, -1, -1, 7}};
  CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
  const int nBefore = CountFromSecondConnection("CtSvcContactDataTable");

  const int nId = contact.Insert(1);
  ASSERT_GT(nId, 0);
  EXPECT_EQ(nBefore + 5, CountFromSecondConnection("CtSvcContactDataTable"));  // committed
  const CCtSvcPerson person = ReadPerson(nId);
  EXPECT_EQ(contact.GetPhoneNumberList()[0].GetRecordId(), person.GetDefaultPhoneNumberId());
  EXPECT_EQ(1, person.GetHasPhoneNumber());
  EXPECT_EQ(1, person.GetHasEmail());
  EXPECT_EQ(1, person.GetHasAddr());
  EXPECT_EQ(0, person.GetHasIM() + person.GetHasEtcData() + person.GetHasRcs() + person.GetHasSnsData());
  ASSERT_GT(person.GetPrimaryId(), 0);
  CCtSvcPrimary primary;
  ASSERT_TRUE(CCtSvcDbMgr::Instance()->GetPrimary(person.GetPrimaryId(), primary));
  EXPECT_STREQ("Ann", primary.GetFirstName());

  const std::string strOwner = "PERSON_ID = " + std::to_string(nId);
  EXPECT_EQ(3, CountWhere("CtSvc/PhoneNumber", strOwner + " AND TYPE = 1"));
  EXPECT_EQ(2, CountWhere("CtSvc/Email", strOwner + " AND TYPE = 2"));
  EXPECT_EQ(5, CountWhere("CtSvc/PhoneNumber", strOwner + " AND PRIMARY_ID = " + std::to_string(person.GetPrimaryId())));
  EXPECT_EQ(1, CountWhere("CtSvc/PostalAddress", strOwner));
  EXPECT_EQ(1, CountWhere("CtSvc/GroupMember", strOwner + " AND GROUP_ID = 7"));
  EXPECT_EQ(0, CountWhere("CtSvc/GroupMember", strOwner + " AND GROUP_ID = 1"));
}

TEST_F(CtSvcContactTest, LocalPhonePersonWithoutGroupsJoinsTheDefaultGroup) {
  const struct {
    CtSvcDeviceType nDeviceType;
    int nAccountId;
    int nDefaultMemberships;
  } kCases[] = {{CTSVC_USE_TYPE_PHONE, -1, 1}, {CTSVC_USE_TYPE_PHONE, 4, 0}, {CTSVC_USE_TYPE_SIM, -1, 0}};
  for (const auto& c : kCases) {
    ContactParts parts("Solo", c.nAccountId);
    CCtSvcContact contact(parts.Info(), c.nDeviceType);
    const int nId = contact.Insert(1);
    ASSERT_GT(nId, 0);
    EXPECT_EQ(c.nDefaultMemberships,
              CountWhere("CtSvc/GroupMember", "PERSON_ID = " + std::to_string(nId) + " AND GROUP_ID = 1"))
        << c.nDeviceType << "/" << c.nAccountId;
  }
}

// Account persons sharing an e-mail address join one primary until it holds five persons.
TEST_F(CtSvcContactTest, SharedAddressJoinsAPrimaryOfAtMostFivePersons) {
  std::vector<int> vcPrimaries;
  for (int nAccount = 1; nAccount <= 6; ++nAccount) {
    ContactParts parts("Ann", nAccount);
    parts.vcEmails = {EmailInfo("shared@example.org")};
    CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
    const int nId = contact.Insert(1);
    ASSERT_GT(nId, 0);
    vcPrimaries.push_back(ReadPerson(nId).GetPrimaryId());
  }
  for (int i = 1; i < 5; ++i) {
    EXPECT_EQ(vcPrimaries[0], vcPrimaries[i]) << i;
  }
  EXPECT_NE(vcPrimaries[0], vcPrimaries[5]);
  EXPECT_EQ(5, CountWhere("CtSvc/Person", "PRIMARY_ID = " + std::to_string(vcPrimaries[0])));
}

TEST_F(CtSvcContactTest, SimPersonAlwaysGetsItsOwnPrimary) {
  std::vector<int> vcPrimaries;
  for (int i = 0; i < 2; ++i) {
    ContactParts parts("Sim", -1);
    parts.vcEmails = {EmailInfo("sim@example.org")};
    CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_SIM);
    vcPrimaries.push_back(ReadPerson(contact.Insert(1)).GetPrimaryId());
  }
  EXPECT_NE(vcPrimaries[0], vcPrimaries[1]);
}

TEST_F(CtSvcContactTest, BulkInsertLeavesTheCommitToTheCaller) {
  const int nBefore = CountFromSecondConnection("CtSvcPerson");
  ContactParts parts("Bulk", -1);
  parts.vcNumbers = {NumberInfo("0101")};
  CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
  ASSERT_GT(contact.Insert(0), 0);
  EXPECT_EQ(nBefore, CountFromSecondConnection("CtSvcPerson"));
  contact.DbCommit();
  EXPECT_EQ(nBefore + 1, CountFromSecondConnection("CtSvcPerson"));
}

}  // namespace
