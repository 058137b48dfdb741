// Lookups by key rather than by row id: speed-dial keys, FDN entries by dialled number, the members
// of a group, and a contact-data row read as whichever kind it is.
#include "CtSvcDbDetailTestSupport.h"

namespace {

using ctsvc_detail_test::Copy;
using CtSvcDbDetailKeyTest = ctsvc_detail_test::DetailTest;

TEST_F(CtSvcDbDetailKeyTest, SpeedDialKeysFillFreeAndReplace) {
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
  zel::test::LogCapture capture;
  EXPECT_FALSE(CtSvcDbSdGetRecord(7, &record));
  EXPECT_TRUE(capture.Contains("CtSvcDbSdGetRecord - nSlotIndex(7) is empty\n"));

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
  ASSERT_TRUE(CtSvcDbPhoneNumberDeleteRecord(nSecond));  // its key goes with it
  EXPECT_EQ(-1, CtSvcDbSdGetSlotIndex(nSecond));
  EXPECT_EQ(3, CtSvcDbSdGetUnusedSlotIndex());
}

TEST_F(CtSvcDbDetailKeyTest, FdnFoundByCallerDigitsOfDialledNumber) {
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

  zel::test::LogCapture capture;
  EXPECT_FALSE(CtSvcDbFdnCheckIsAvailFdnNumber("0311112222"));
  EXPECT_FALSE(CtSvcDbFdnGetRecordByPhoneNumber("0311112222", &record));
  EXPECT_FALSE(CtSvcDbFdnGetRecordByPhoneNumber("", &record));
  EXPECT_FALSE(CtSvcDbFdnCheckIsAvailFdnNumber(nullptr));
  EXPECT_TRUE(capture.Contains("CtSvcFdnListCheckIsAvailFdnNumber CtSvcFdnListGetCount return <1 !!!\n"));
  EXPECT_TRUE(capture.Contains("GetFdnRecordByPhoneNumber -strPhoneNumber.empty!!!\n"));
  EXPECT_STREQ("Mom", record.Info.szName);  // failed lookups leave the record alone
}

TEST_F(CtSvcDbDetailKeyTest, GroupMemberListHoldsOnlyThatGroupUpToCapacity) {
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

TEST_F(CtSvcDbDetailKeyTest, ContactDataRowReadAsItsKind) {
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
