// Who owns a detail row, how filtered deletes reach the observers, and the guard between the two
// kinds of the shared phone-number/e-mail table.
#include <functional>

#include "CtSvcDbDetailTestSupport.h"

namespace {

using ctsvc_detail_test::Copy;
using ctsvc_detail_test::NoticeRecorder;
using CtSvcDbDetailDeleteTest = ctsvc_detail_test::DetailTest;

// A filtered delete that matches nothing succeeds and says so.
void ExpectNothingToDelete(const std::string& strPrefix, const std::function<BOOL()>& deleteRows) {
  zel::test::LogCapture capture;
  EXPECT_TRUE(deleteRows());
  EXPECT_TRUE(capture.Contains(strPrefix + "DeleteRecordsWithFilter - CContentMgr::Instance()->Delete : there is no record to delete\n"));
}

TEST_F(CtSvcDbDetailDeleteTest, NumberTakesIdentityFromHandleAndNamesFromPerson) {
  ASSERT_EQ(CTSVC_MAKE_HANDLE(2, 9), AddPerson(CTSVC_USE_TYPE_SIM, "Gil", "Hong", 9));
  const int nId = AddNumber(CTSVC_MAKE_HANDLE(2, 9), "01099998888", 4);
  EXPECT_EQ(1, Count("CtSvc/PhoneNumber", "ID = " + std::to_string(nId) +
                                              " AND PERSON_ID = 9 AND DEVICE_TYPE = 2 AND PRIMARY_ID = 4"
                                              " AND FIRSTNAME = 'Gil' AND LASTNAME = 'Hong'"));
  // A person that cannot be read: the row is kept with what the handle says.
  zel::test::LogCapture capture;
  const int nOrphan = AddNumber(CTSVC_MAKE_HANDLE(1, 77), "0215551234");
  EXPECT_TRUE(capture.Contains("CtSvcDbPhoneNumberInsertRecord - CContentMgr::Instance()->GetContent failed(nPersonId = 77)\n"));
  EXPECT_EQ(1, Count("CtSvc/PhoneNumber", "ID = " + std::to_string(nOrphan) + " AND PERSON_ID = 77 AND DEVICE_TYPE = 1"));
}

TEST_F(CtSvcDbDetailDeleteTest, NumbersDeletedByFilterAreNoticedOneByOne) {
  const HOBJ hAnn = AddPerson(CTSVC_USE_TYPE_PHONE, "Ann", "Lee");
  const HOBJ hBo = AddPerson(CTSVC_USE_TYPE_PHONE, "Bo", "Kim");
  const std::vector<int> vcAnn = {AddNumber(hAnn, "0101"), AddNumber(hAnn, "0102"), AddNumber(hAnn, "0103")};
  const int nBo = AddNumber(hBo, "0201");
  AddEmail(hAnn, "ann@example.org");
  ASSERT_TRUE(CtSvcDbSdSetRecord(3, vcAnn[1], hAnn));
  NoticeRecorder recorder("CtSvc/PhoneNumber");
  CtSvcPhoneNumberFilter filter;
  CtSvcPhoneNumberFilterInit(&filter);
  filter.nPersonId = CTSVC_HANDLE_TO_ID(hAnn);
  ASSERT_TRUE(CtSvcDbPhoneNumberDeleteRecordsWithFilter(&filter));
  const int kDelete = CONTENT_CHANGE_DELETE;
  EXPECT_EQ((std::vector<std::pair<int, int>>{{kDelete, vcAnn[0]}, {kDelete, vcAnn[1]}, {kDelete, vcAnn[2]}}),
            recorder.m_vcNotices);
  EXPECT_EQ(0, CtSvcDbPhoneNumberGetCount(&filter));
  EXPECT_EQ(-1, CtSvcDbSdGetSlotIndex(vcAnn[1]));  // each delete ran the cascade
  EXPECT_EQ(1, Count("CtSvc/Email", "TYPE = 2"));  // the person's e-mail is not a number
  EXPECT_EQ(1, Count("CtSvc/PhoneNumber", "ID = " + std::to_string(nBo)));
  ExpectNothingToDelete("CtSvcDbPhoneNumber", [&] { return CtSvcDbPhoneNumberDeleteRecordsWithFilter(&filter); });
}

TEST_F(CtSvcDbDetailDeleteTest, IMDeletedByFilterIsOneNotice) {
  const HOBJ hAnn = AddPerson(CTSVC_USE_TYPE_PHONE, "Ann", "Lee");
  CtSvcIMInfo info{};
  for (const char* szUser : {"ann1", "ann2"}) {
    Copy(info.szUserId, szUser);
    ASSERT_GT(CtSvcDbIMInsertRecord(hAnn, 1, &info), 0);
  }
  NoticeRecorder recorder("CtSvc/IM");
  CtSvcIMFilter filter;
  CtSvcIMFilterInit(&filter);
  filter.nPersonId = CTSVC_HANDLE_TO_ID(hAnn);
  ASSERT_TRUE(CtSvcDbIMDeleteRecordsWithFilter(&filter));
  EXPECT_EQ((std::vector<std::pair<int, int>>{{CONTENT_CHANGE_DELETE, -1}}), recorder.m_vcNotices);
  EXPECT_EQ(0, CtSvcDbIMGetCount(&filter));
  ExpectNothingToDelete("CtSvcDbIM", [&] { return CtSvcDbIMDeleteRecordsWithFilter(&filter); });
}

// Writes never lose what they were not asked to change: a row of the other kind of the shared
// table, or the account of an address.
TEST_F(CtSvcDbDetailDeleteTest, WritesLeaveWhatIsNotTheirs) {
  const HOBJ hAnn = AddPerson(CTSVC_USE_TYPE_PHONE, "Ann", "Lee");
  const int nEmail = AddEmail(hAnn, "ann@example.org");
  CtSvcPhoneNumberInfo number{};
  EXPECT_FALSE(CtSvcDbPhoneNumberUpdateRecord(nEmail, hAnn, 1, &number));
  EXPECT_FALSE(CtSvcDbPhoneNumberDeleteRecord(nEmail));
  EXPECT_EQ(1, Count("CtSvc/Email", "ID = " + std::to_string(nEmail) + " AND CONTACT_DATA = 'ann@example.org'"));

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

}  // namespace
