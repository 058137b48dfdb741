// The composite contact: building it from a contact info, trimming it for the SIM, the
// operations it refuses, and inserting a whole contact with its primary in one call.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcDB/Records/CtSvcSimLimits.h"
#include "RecordTestSupport.h"
#include "ZelCoreTest.h"
#include "ZelNv.h"

namespace {

using ctsvc_test::ContactParts;
using ctsvc_test::CountWhere;

// SIM limits a test chooses: numbers of 20 digits, names of 14 bytes, e-mails of 10, SNEs of 4.
class TestSimLimits final : public ICtSvcSimLimits {
 public:
  TestSimLimits(bool bEmail, bool bSne, int nAnr, int nEmail, int nSne)
      : bEmailFile(bEmail), bSneFile(bSne), nFreeAnr(nAnr), nFreeEmail(nEmail), nFreeSne(nSne) {}
  bool bEmailFile, bSneFile;
  int nFreeAnr, nFreeEmail, nFreeSne;
  int GetAdnNumberLength() const override { return 20; }
  int GetAdnNameLength() const override { return 14; }
  bool HasEmailFile() const override { return bEmailFile; }
  int GetEmailLength() const override { return 10; }
  bool HasSneFile() const override { return bSneFile; }
  int GetSneLength() const override { return 4; }
  int GetFreeAnrCount(int) const override { return nFreeAnr; }
  int GetFreeEmailCount(int) const override { return nFreeEmail; }
  int GetFreeSneCount(int) const override { return nFreeSne; }
};

class CtSvcContactTest : public ctsvc_record_test::RecordStoreTest {
 protected:
  void TearDown() override {
    CtSvcSetSimLimits(nullptr);
    SchemaTest::TearDown();
  }

  static CCtSvcPerson ReadPerson(int nId) {
    CContent row;
    CCtSvcPerson person;
    EXPECT_TRUE(CContentMgr::Instance()->GetContent("CtSvc/Person", nId, row));
    EXPECT_EQ(1, person.SetData(row));
    return person;
  }
};

TEST_F(CtSvcContactTest, BuildsListsFromTheInfoAndRefusesRowOperations) {
  ContactParts parts("Ann", -1);
  parts.Number("0101").Number("0102").Etc(CTSVC_ETC_DATA_TYPE_NOTE, "n").Rcs("");
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
  EXPECT_EQ(0, contact.SetContactInfo(info, CTSVC_USE_TYPE_PHONE));

  // Row operations belong to the parts, never to the whole contact.
  CContent row;
  CContentInput input;
  zel::test::LogCapture capture;
  EXPECT_EQ(0, contact.SetData(row));
  EXPECT_EQ(0, contact.GetData(input));
  EXPECT_EQ(0, contact.Update(1, 1));
  EXPECT_EQ(0, contact.Delete());
  EXPECT_STREQ("", contact._GetURI());
  EXPECT_EQ(5u, capture.Assertions().size());
  EXPECT_TRUE(capture.HasAssertion("NEVER_GET_HERE"));
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
    TestSimLimits limits(c.bEmailFile, c.bSneFile, c.nFreeAnr, c.nFreeEmail, c.nFreeSne);
    CtSvcSetSimLimits(&limits);

    ContactParts parts("Ann", -1, "Lee");
    parts.Number("0101").Number("+821012345678901234567890").Number("0103").Email("ann.lee@example.org").Email("b@x.io");
    parts.Etc(CTSVC_ETC_DATA_TYPE_SECOND_NAME, "Annie").Etc(CTSVC_ETC_DATA_TYPE_NOTE, "note").Address("", "").Rcs("");
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
  ContactParts parts("Ann", -1, "Lee");
  parts.Number("0101").Number("0102").Number("0103").Email("ann@example.org").Email("lee@example.org");
  parts.Address("", "Seoul").Group(7);
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

// Account persons sharing an e-mail address join one primary until it holds five persons; SIM
// persons always get their own.
TEST_F(CtSvcContactTest, SharedAddressJoinsAPrimaryOfAtMostFivePersons) {
  std::vector<int> vcPrimaries;
  for (int nAccount = 1; nAccount <= 6; ++nAccount) {
    ContactParts parts("Ann", nAccount);
    parts.Email("shared@example.org");
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

  for (int i = 0; i < 2; ++i) {
    ContactParts parts("Sim", -1);
    parts.Email("sim@example.org");
    CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_SIM);
    vcPrimaries.push_back(ReadPerson(contact.Insert(1)).GetPrimaryId());
  }
  EXPECT_NE(vcPrimaries[6], vcPrimaries[7]);
}

}  // namespace
