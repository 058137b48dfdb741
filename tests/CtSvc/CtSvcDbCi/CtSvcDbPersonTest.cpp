#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDB/Records/CtSvcPhoneNumber.h"
#include "CtSvcTask/CtSvcTaskMgr.h"
#include "CtSvcDbPerson.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "MyAccountSvc/MyAccountSvc.h"
#include "ZelCoreTest.h"
#include "ZelDb2.h"

namespace {

using ctsvc_test::CountWhere;

class CtSvcDbPersonTest : public ctsvc_test::ServiceTest {
 protected:
  // A person of a device type and account in its own primary (or a given one); its handle.
  HOBJ AddPerson(const char* szFirst, const char* szLast, int nDeviceType = CTSVC_USE_TYPE_PHONE, int nAccount = -1,
                 int nPrimaryId = -1, int bHasPhoneNumber = 0) {
    ctsvc_test::ContactParts parts(szFirst, nAccount, szLast);
    parts.person.bHasPhoneNumber = bHasPhoneNumber;
    const HOBJ hPerson = CtSvcDbPersonInsertRecord(nDeviceType, nPrimaryId, &parts.person, __FILE__, __LINE__);
    if (hPerson != INVALID_HOBJ && nPrimaryId == -1) {
      const int nPrimary = CtSvcDbPrimaryCreatePrimary(hPerson, 1);
      CCtSvcDbMgr::Instance()->MovePerson(CTSVC_HANDLE_TO_ID(hPerson), nPrimary);
    }
    return hPerson;
  }

  int PrimaryOf(HOBJ hPerson) {
    CtSvcPersonRecord record{};
    return CtSvcDbPersonGetRecord(hPerson, &record) ? record.Info.nPrimaryId : -1;
  }

  int AddNumber(HOBJ hPerson, const char* szNumber) {
    CCtSvcPhoneNumber number;
    number.SetPersonId(CTSVC_HANDLE_TO_ID(hPerson));
    number.SetPrimaryId(PrimaryOf(hPerson));
    number.SetDeviceType(static_cast<CtSvcDeviceType>(CTSVC_HANDLE_TO_DEVICE(hPerson)));
    number.SetPhoneNumber(szNumber);
    return number.Insert(1);
  }
};

TEST_F(CtSvcDbPersonTest, HandlesCarryTheDeviceTypeAndRoundTrip) {
  HOBJ hPerson = INVALID_HOBJ;
  for (int i = 0; i < 5; ++i) {
    hPerson = AddPerson("Sim", std::to_string(i).c_str(), CTSVC_USE_TYPE_SIM);
  }
  EXPECT_EQ(static_cast<HOBJ>((2u << 30) | 5u), hPerson);
  EXPECT_EQ(5, CTSVC_HANDLE_TO_ID(hPerson));
  EXPECT_EQ(CTSVC_USE_TYPE_SIM, CTSVC_HANDLE_TO_DEVICE(hPerson));
  CtSvcPersonRecord record{};
  ASSERT_TRUE(CtSvcDbPersonGetRecord(hPerson, &record));
  EXPECT_EQ(5, record.nId);
  EXPECT_EQ(CTSVC_USE_TYPE_SIM, record.DevType);
  EXPECT_STREQ("4", record.Info.szLastName);
  EXPECT_EQ(hPerson, static_cast<HOBJ>(record.Info.hPerson));
}

TEST_F(CtSvcDbPersonTest, LinkingMergesAndUnlinkWithSplitSeparatesAgain) {
  MyAccount account{11, 1, 0, "mail"};
  ASSERT_TRUE(MyAccountSvcAddAccount(&account));
  const HOBJ hLocal = AddPerson("Zoe", "Local");
  const HOBJ hAccountA = AddPerson("Ann", "Account", CTSVC_USE_TYPE_PHONE, 11, PrimaryOf(hLocal));
  CCtSvcDbMgr::Instance()->RearrangePrimary(PrimaryOf(hLocal), 1);
  const HOBJ hAccountB = AddPerson("Bob", "Other", CTSVC_USE_TYPE_PHONE, 11, -1, 1);
  AddNumber(hAccountB, "0101234567");
  AddNumber(hLocal, "0107654321");
  const int nDest = PrimaryOf(hLocal);
  const int nSrc = PrimaryOf(hAccountB);
  ASSERT_NE(nDest, nSrc);

  ASSERT_TRUE(CtSvcDbPrimaryLinkPerson(nDest, nSrc));
  CtSvcPrimaryRecord primary{};
  ASSERT_TRUE(CtSvcDbPrimaryGetRecord(nDest, &primary));
  EXPECT_EQ(3, primary.Info.nLinkCount);
  EXPECT_STREQ("Zoe", primary.Info.szFirstName);  // the local phone person comes first
  EXPECT_EQ(-1, primary.Info.nFirstAccountId);
  EXPECT_EQ(11, primary.Info.nSecondAccountId);
  EXPECT_EQ(1, primary.Info.bHasPhoneNumber);
  {
    zel::test::LogCapture capture;
    EXPECT_FALSE(CtSvcDbPrimaryGetRecord(nSrc, &primary));
  }
  EXPECT_EQ(2, CountWhere("CtSvc/PhoneNumber", "PRIMARY_ID = " + std::to_string(nDest)));
  EXPECT_EQ(0, CountWhere("CtSvc/PhoneNumber", "PRIMARY_ID <> " + std::to_string(nDest)));
  EXPECT_EQ(nDest, PrimaryOf(hAccountA));

  ASSERT_TRUE(CtSvcDbPrimaryUnlinkPerson(nDest, hLocal, 1));
  EXPECT_EQ(nDest, PrimaryOf(hLocal));
  EXPECT_NE(nDest, PrimaryOf(hAccountA));
  EXPECT_NE(nDest, PrimaryOf(hAccountB));
  EXPECT_NE(PrimaryOf(hAccountA), PrimaryOf(hAccountB));
  ASSERT_TRUE(CtSvcDbPrimaryGetRecord(nDest, &primary));
  EXPECT_EQ(1, primary.Info.nLinkCount);
  EXPECT_EQ(1, CountWhere("CtSvc/PhoneNumber", "PRIMARY_ID = " + std::to_string(PrimaryOf(hAccountB))));
  ASSERT_TRUE(CtSvcDbPrimaryGetRecord(PrimaryOf(hAccountB), &primary));
  EXPECT_STREQ("Bob", primary.Info.szFirstName);
  EXPECT_EQ(11, primary.Info.nFirstAccountId);
}

TEST_F(CtSvcDbPersonTest, PersonsOfAPrimaryComeLocalThenSimThenInAccountListOrder) {
  MyAccount second{12, 1, 0, "second"};
  MyAccount first{11, 1, 0, "first"};
  ASSERT_TRUE(MyAccountSvcAddAccount(&second));
  ASSERT_TRUE(MyAccountSvcAddAccount(&first));
  const HOBJ hFirst = AddPerson("Acc", "Eleven", CTSVC_USE_TYPE_PHONE, 11);
  const int nPrimary = PrimaryOf(hFirst);
  AddPerson("Acc", "Twelve", CTSVC_USE_TYPE_PHONE, 12, nPrimary);
  AddPerson("On", "Sim", CTSVC_USE_TYPE_SIM, -1, nPrimary);
  AddPerson("On", "Phone", CTSVC_USE_TYPE_PHONE, -1, nPrimary);
  AddPerson("Else", "Where");

  CtSvcPersonRecord records[8]{};
  ASSERT_EQ(4, CtSvcDbPrimaryGetPersons(nPrimary, records, 8));
  std::vector<std::string> vcOrder;
  for (int i = 0; i < 4; ++i) {
    vcOrder.push_back(records[i].Info.szLastName);
  }
  EXPECT_EQ((std::vector<std::string>{"Phone", "Sim", "Twelve", "Eleven"}), vcOrder);
  EXPECT_EQ(CTSVC_USE_TYPE_SIM, records[1].DevType);
  EXPECT_EQ(hFirst, static_cast<HOBJ>(records[3].Info.hPerson));
  EXPECT_EQ(2, CtSvcDbPrimaryGetPersons(nPrimary, records, 2));
  EXPECT_EQ(0, CtSvcDbPrimaryGetPersons(nPrimary + 100, records, 8));
  zel::test::LogCapture capture;
  EXPECT_EQ(-1, CtSvcDbPrimaryGetPersons(nPrimary, nullptr, 8));
  EXPECT_TRUE(capture.HasAssertion("pRecords"));
  EXPECT_EQ(-1, CtSvcDbPrimaryGetPersons(0, records, 8));
  EXPECT_TRUE(capture.HasAssertion("nPrimaryId > 0"));
}

TEST_F(CtSvcDbPersonTest, FavouriteTypeResetsOrderAndOrderNeedsAFavourite) {
  const int nPrimary = PrimaryOf(AddPerson("Fav", "Person"));
  zel::test::LogCapture capture;
  EXPECT_FALSE(CtSvcDbPrimarySetFavoriteOrder(nPrimary, 5));
  EXPECT_TRUE(capture.Contains("is not favorite record"));
  CtSvcPrimaryRecord primary{};
  ASSERT_TRUE(CtSvcDbPrimaryGetRecord(nPrimary, &primary));
  EXPECT_EQ(CTSVC_FAVORITE_TYPE_NOT_FAVORITE, primary.Info.nFavorite);
  EXPECT_NE(5, primary.Info.nFavoriteOrder);

  ASSERT_TRUE(CtSvcDbPrimarySetFavoriteType(nPrimary, CTSVC_FAVORITE_TYPE_FAVORITE));
  ASSERT_TRUE(CtSvcDbPrimaryGetRecord(nPrimary, &primary));
  EXPECT_EQ(CTSVC_FAVORITE_ORDER_DEFAULT, primary.Info.nFavoriteOrder);
  EXPECT_TRUE(CtSvcDbPrimarySetFavoriteOrder(nPrimary, 5));
  ASSERT_TRUE(CtSvcDbPrimaryGetRecord(nPrimary, &primary));
  EXPECT_EQ(5, primary.Info.nFavoriteOrder);
}

// Counts the filtered deletes (id -1) that reach the person URI.
class ChunkObserver : public IContentObserver {
 public:
  void OnChange(int nChangeType, const std::string&, int nId, intptr_t, int) override {
    if (nChangeType == CONTENT_CHANGE_DELETE && nId == -1) {
      ++m_nChunks;
    }
  }
  std::atomic<int> m_nChunks{0};
};

TEST_F(CtSvcDbPersonTest, DeletingSimContactsGoesInChunksAndLeavesAddressesAlone) {
  for (int i = 0; i < 250; ++i) {
    AddNumber(AddPerson("Sim", std::to_string(i).c_str(), CTSVC_USE_TYPE_SIM), "0101112222");
  }
  const HOBJ hPhone = AddPerson("Phone", "Person");
  AddNumber(hPhone, "0103334444");
  ASSERT_GE(Db2QueryEx("INSERT INTO CtSvcPostalAddress (ID, PERSON_ID) VALUES (9001, %d), (9002, 777777)",
                       CTSVC_HANDLE_TO_ID(hPhone)), 0);
  ASSERT_GE(Db2QueryEx("INSERT INTO CtSvcRcs (ID, PERSON_ID) VALUES (9001, 777777)"), 0);
  Db2Commit();
  ChunkObserver observer;
  ASSERT_TRUE(CContentMgr::Instance()->RegisterObserver("CtSvc/Person", &observer));
  ASSERT_TRUE(CtSvcDbPersonDeleteRecordsWithDeviceType(CTSVC_USE_TYPE_SIM));
  CContentMgr::Instance()->UnregisterObserver("CtSvc/Person", &observer);
  EXPECT_EQ(3, observer.m_nChunks.load());  // 100 + 100 + 50
  EXPECT_EQ(0, CountWhere("CtSvc/Person", "DEVICE_TYPE = 2"));
  EXPECT_EQ(0, CountWhere("CtSvc/PhoneNumber", "DEVICE_TYPE = 2"));
  EXPECT_EQ(0, CountWhere("CtSvc/Primary", "DEVICE_TYPE = 2"));
  EXPECT_EQ(1, CountWhere("CtSvc/Person", "DEVICE_TYPE = 1"));
  EXPECT_EQ(1, CountWhere("CtSvc/PhoneNumber", "DEVICE_TYPE = 1"));
  EXPECT_EQ(2, CountFromSecondConnection("CtSvcPostalAddress"));
  EXPECT_EQ(1, CountFromSecondConnection("CtSvcRcs"));
  EXPECT_EQ(1, CountFromSecondConnection("CtSvcPerson"));
}

TEST_F(CtSvcDbPersonTest, DeletingLocalPhoneContactsRemovesOrphanedAddressesToo) {
  const HOBJ hPhone = AddPerson("Phone", "Person");
  ASSERT_GE(Db2QueryEx("INSERT INTO CtSvcPostalAddress (ID, PERSON_ID) VALUES (9001, %d)", CTSVC_HANDLE_TO_ID(hPhone)), 0);
  ASSERT_TRUE(CtSvcDbPersonDeleteRecordsWithDeviceType(CTSVC_USE_TYPE_PHONE));
  EXPECT_EQ(0, CountFromSecondConnection("CtSvcPostalAddress"));
  EXPECT_EQ(0, CountFromSecondConnection("CtSvcPerson"));
}

TEST_F(CtSvcDbPersonTest, GroupLettersOfMixedScriptsAddUpInCollationOrder) {
  const char* const kNames[] = {"Anna", "Bert", "Chris", "김민지", "박지성", "이순신", "Émile", "Zed", "123"};
  for (int i = 0; i < 300; ++i) {
    AddPerson(kNames[i % 9], "");
  }
  CtSvcPrimaryFilter primaryFilter;
  CtSvcPrimaryFilterInit(&primaryFilter);
  primaryFilter.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
  CtSvcPersonFilter personFilter;
  CtSvcPersonFilterInit(&personFilter);
  personFilter.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
  MCHAR aLetters[64] = {};
  INT32 aCounts[64] = {};
  for (int nPass = 0; nPass < 2; ++nPass) {
    const int nLetters = nPass == 0 ? CtSvcDbPrimaryGetGroupLetters(&primaryFilter, aLetters, aCounts, 64)
                                    : CtSvcDbPersonGetGroupLetters(&personFilter, aLetters, aCounts, 64);
    ASSERT_GT(nLetters, 5) << nPass;
    int nTotal = 0;
    for (int i = 0; i < nLetters; ++i) {
      nTotal += aCounts[i];
      if (i > 0) {
        EXPECT_LT(aLetters[i - 1], aLetters[i]) << nPass;
      }
    }
    EXPECT_EQ(300, nTotal) << nPass;
    // "Émile" sorts under E, the Hangul names under their initial consonants.
    EXPECT_NE(std::u16string::npos, std::u16string(aLetters, nLetters).find(u'E')) << nPass;
    EXPECT_NE(std::u16string::npos, std::u16string(aLetters, nLetters).find(u'\u3131')) << nPass;
  }
  // The fast-scroll position of a letter is the number of entries before it.
  const MCHAR szB[] = {u'B', 0};
  EXPECT_EQ(33 + 34, CtSvcDbPrimaryGetFastScrollIndex(&primaryFilter, szB));  // "123" and "Anna" come first
  EXPECT_EQ(CtSvcDbPersonGetFastScrollIndex(&personFilter, szB), CtSvcDbPrimaryGetFastScrollIndex(&primaryFilter, szB));
}

TEST_F(CtSvcDbPersonTest, DetailsOfAPersonAndRemovalByAccount) {
  ctsvc_test::ContactParts parts("Acc", 21);
  parts.Number("0101111111", 1).Number("0102222222", 2).Email("acc@example.com");
  CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
  const int nPersonId = contact.Insert(1);
  ASSERT_GT(nPersonId, 0);
  const HOBJ hPerson = CTSVC_MAKE_HANDLE(CTSVC_USE_TYPE_PHONE, nPersonId);
  CtSvcPhoneNumberRecord aNumbers[4] = {};
  ASSERT_EQ(2, CtSvcDbPersonGetPhoneNumberList(hPerson, aNumbers, 4));
  EXPECT_EQ(1, CtSvcDbPersonGetPhoneNumberList(hPerson, aNumbers, 1));
  CtSvcEmailAddressRecord aEmails[2] = {};
  ASSERT_EQ(1, CtSvcDbPersonGetEmailAddressList(hPerson, aEmails, 2));
  EXPECT_STREQ("acc@example.com", aEmails[0].Info.szEmailAddress);
  CtSvcPhoneNumberRecord defaultNumber{};
  ASSERT_TRUE(CtSvcDbPersonGetDefaultPhoneNumber(hPerson, &defaultNumber));
  EXPECT_STREQ("0101111111", defaultNumber.Info.szPhoneNumber);
  EXPECT_EQ(-1, CtSvcDbPersonGetIM(INVALID_HOBJ, nullptr, 0));

  struct Done {
    std::atomic<int> nResult{-1};
  } done;
  const int aAccounts[] = {21};
  ASSERT_TRUE(CtSvcDbPersonDeletebyAccount(CTSVC_USE_TYPE_PHONE, aAccounts, 1,
                                           [](INT32 nResult, void* pUserData) { static_cast<Done*>(pUserData)->nResult = nResult; },
                                           &done));
  ASSERT_TRUE(CCtSvcTaskMgr::Instance()->WaitForIdle(10000));
  DrainEventHandler();
  EXPECT_EQ(0, CountWhere("CtSvc/Person", "ACCOUNT_ID = 21"));
  EXPECT_EQ(0, CountWhere("CtSvc/PhoneNumber", "ACCOUNT_ID = 21"));
  EXPECT_EQ(0, CtSvcDbPersonGetPhoneNumberList(hPerson, aNumbers, 4));
}

TEST_F(CtSvcDbPersonTest, BadInputFailsWithItsAssertionAndChangesNothing) {
  zel::test::LogCapture capture;
  CtSvcPersonRecord record{};
  EXPECT_EQ(INVALID_HOBJ, CtSvcDbPersonInsertRecord(CTSVC_USE_TYPE_PHONE, -1, nullptr, "test", 1));
  EXPECT_TRUE(capture.HasAssertion("pInfo"));
  CtSvcPersonInfo info{};
  EXPECT_EQ(INVALID_HOBJ, CtSvcDbPersonInsertRecord(7, -1, &info, "test", 1));
  EXPECT_FALSE(CtSvcDbPersonGetRecord(INVALID_HOBJ, &record));
  EXPECT_FALSE(CtSvcDbPersonGetRecord(CTSVC_MAKE_HANDLE(1, 1), nullptr));
  EXPECT_FALSE(CtSvcDbPersonUpdateRecord(INVALID_HOBJ, 1, &info));
  EXPECT_TRUE(capture.HasAssertion("hPerson != INVALID_HOBJ"));
  EXPECT_FALSE(CtSvcDbPersonDeleteRecord(CTSVC_MAKE_HANDLE(1, 0)));
  EXPECT_FALSE(CtSvcDbPrimaryLinkPerson(-1, 3));
  EXPECT_TRUE(capture.HasAssertion("nDestPrimaryId > 0"));
  EXPECT_FALSE(CtSvcDbPrimaryUnlinkPerson(3, INVALID_HOBJ, 1));
  EXPECT_TRUE(capture.HasAssertion("nPersonId != INVALID_HOBJ"));
  EXPECT_EQ(-1, CtSvcDbPersonGetFastScrollIndex(nullptr, nullptr));
  EXPECT_TRUE(capture.HasAssertion("pmszLetter"));
  EXPECT_EQ(0, CtSvcDbPersonGetTotalCount());
  EXPECT_EQ(0, CountFromSecondConnection("CtSvcPrimary"));
}

}  // namespace
