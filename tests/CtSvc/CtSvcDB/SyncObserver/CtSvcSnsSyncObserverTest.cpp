// The social-network sync subscriber: registration and history store with the database
// manager's lifetime, refusal of bad input, the per-action log lines and person lookup, and the
// provider-wide pair of calls. (The friend text form is read through the subscriber.)
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcDbPerson.h"
#include "CtSvcPhonebook.h"
#include "CtSvcDB/SyncObserver/CtSvcSnsSyncActions.h"
#include "CtSvcDB/SyncObserver/CtSvcSnsSyncObserver.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"
#include "ZelSnsSvc/ZelSnsSvc.h"

namespace {

ISnsSvcFriend Friend(const std::string& strId, int nAccount, const std::string& strPicture = "") {
  ISnsSvcFriend person;
  person.strId = strId;
  person.nAccountId = nAccount;
  person.strFirstName = "Ann";
  person.vcPhoneNumbers = {{"mobile", "+491701"}, {"office", "+49302"}, {"home", "+49303"}, {"fax", "+49304"}};
  person.vcEmails = {"ann@example.org"};
  person.strPictureUrl = strPicture;
  return person;
}

class CtSvcSnsSyncObserverTest : public ctsvc_test::SchemaTest {
 protected:
  static int Dispatch(const std::string& strAction, const std::vector<ISnsSvcFriend>& vcFriends) {
    return CContentSyncMgr::Instance()->Dispatch(CTSVC_SNS_SYNC_KEY, strAction, SnsSvcFriendsToText(vcFriends));
  }

  static CCtSvcSnsSyncObserver* Subscriber() {
    return static_cast<CCtSvcSnsSyncObserver*>(CContentSyncMgr::Instance()->GetSubscriber(CTSVC_SNS_SYNC_KEY));
  }

  // Stores a social-network row linking the friend id and account to a person.
  static void LinkFriend(const std::string& strId, int nAccount, int nPersonId) {
    ASSERT_GT(ctsvc_test::Row(CTSVC_DB_TABLE_SNSDATA)
                  .Int(CTSVC_DB_SNSDATA_COLUMN_PERSON_ID, nPersonId)
                  .Int(CTSVC_DB_SNSDATA_COLUMN_ACCOUNT_ID, nAccount)
                  .Text(CTSVC_DB_SNSDATA_COLUMN_PEOPLE_ID, std::u16string(strId.begin(), strId.end()))
                  .Insert("CtSvc/SnsData"),
              0);
  }
};

TEST_F(CtSvcSnsSyncObserverTest, RegistersAndOpensItsStoreForTheManagersLifetime) {
  ASSERT_NE(nullptr, Subscriber());
  EXPECT_TRUE(Subscriber()->IsRegistered());
  EXPECT_EQ(CTSVC_SNS_SYNC_HISTORY_SIZE, SnsSvcHistoryDbGetSize(CTSVC_SNS_SYNC_HISTORY_DB));

  CCtSvcSnsSyncObserver second;  // the key is taken
  EXPECT_FALSE(second.IsRegistered());

  CCtSvcDbMgr::DestroyInstance();
  EXPECT_EQ(nullptr, Subscriber());
  EXPECT_EQ(-1, SnsSvcHistoryDbGetSize(CTSVC_SNS_SYNC_HISTORY_DB));
}

// A bad URI, an empty action or text, an unknown action, friends without an id or account, and
// friends of no stored person are refused.
TEST_F(CtSvcSnsSyncObserverTest, BadInputIsRefused) {
  const std::string strOne = SnsSvcFriendsToText({Friend("p1", 3)});
  const std::string kSns = CTSVC_SNS_SYNC_KEY;
  const std::string kCases[][3] = {
      {"", "update", strOne},
      {"zel.content.sync.sns/other", "update", strOne},
      {kSns, "", strOne},
      {kSns, "update", ""},
      {kSns, "rename", strOne},
      {kSns, "update", "friend\nid=p1\n"},
      {kSns, "update", SnsSvcFriendsToText({Friend("p1", 0)})},
      {kSns, "needcallerid", SnsSvcFriendsToText({Friend("p9", -4)})},
      {kSns, "needcallerid", SnsSvcFriendsToText({Friend("p9", 4)})},
      {kSns, "delete", strOne},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(0, Subscriber()->OnExecuteSync(c[0], c[1], c[2])) << c[0] << " " << c[1] << " " << c[2];
  }
}

TEST_F(CtSvcSnsSyncObserverTest, ActionsCountTheirFriendsAndFindTheirPersons) {
  LinkFriend("p1", 3, 41);
  zel::test::LogCapture log;
  EXPECT_EQ(0, Dispatch("update", {Friend("p1", 3), Friend("p2", 3)}));
  EXPECT_TRUE(log.Contains("CCtSvcSnsSyncObserver::OnExecuteSync - SNS_FRIEND_ACTION_UPDATE(2 friends)"));
  // p2 has no social-network row, and p1's row names a person that is not stored.
  EXPECT_EQ(2, log.Count("CCtSvcSnsSyncObserver::OnExecuteSync - GetContactInfo failed"));
  EXPECT_EQ(0, Dispatch("delete", {Friend("p1", 3)}));
  EXPECT_TRUE(log.Contains("CCtSvcSnsSyncObserver::OnExecuteSync - SNS_FRIEND_ACTION_DELETE(1 friends)"));

  // The same people id under another account is another friend.
  EXPECT_EQ(-1, CtSvcSnsFindPersonId(Friend("p1", 4)));
  EXPECT_EQ(41, CtSvcSnsFindPersonId(Friend("p1", 3)));
  EXPECT_EQ(1, Dispatch("needcallerid", {Friend("p1", 3)}));
  EXPECT_EQ(0, Dispatch("needcallerid", {Friend("p1", 3, "https://example.org/p1.jpg")}));
}

TEST_F(CtSvcSnsSyncObserverTest, SyncNoticesBracketTheProvider) {
  EXPECT_FALSE(CContentMgr::Instance()->IsProviderSyncing(CTSVC_PROVIDER_NAME));
  EXPECT_EQ(1, Subscriber()->OnSyncStarted());
  EXPECT_TRUE(CContentMgr::Instance()->IsProviderSyncing(CTSVC_PROVIDER_NAME));
  EXPECT_EQ(1, Subscriber()->OnSyncFinished());
  EXPECT_FALSE(CContentMgr::Instance()->IsProviderSyncing(CTSVC_PROVIDER_NAME));
  EXPECT_EQ(0, Subscriber()->OnSyncFinished());
}

// The actions carried out on a loaded service: the friend's stored contact changes.
class CtSvcSnsSyncEffectTest : public ctsvc_test::ServiceTest {
 protected:
  static int Dispatch(const std::string& strAction, const std::vector<ISnsSvcFriend>& vcFriends) {
    return CContentSyncMgr::Instance()->Dispatch(CTSVC_SNS_SYNC_KEY, strAction, SnsSvcFriendsToText(vcFriends));
  }
  // A contact of account 3 that came from the friend "p1" of service provider 7.
  static HOBJ InsertFriendContact() {
    CCtSvcContactInfoBuilder draft("Old", 3, "Name");
    draft.Number("0100").Number("0200").Number("0300").Number("0400").Email("old@example.org");
    CtSvcSnsDataInfo sns{};
    std::strcpy(sns.szPeopleId, "p1");
    sns.nSp = 7;
    CtSvcContactInfo info = draft.Info();
    info.pSnsDataInfo = &sns;
    return CtSvcPhonebookInsertContactToPhone(&info);
  }
  static CtSvcPersonRecord Person(HOBJ hPerson) {
    CtSvcPersonRecord record{};
    EXPECT_TRUE(CtSvcDbPersonGetRecord(hPerson, &record));
    return record;
  }
};

TEST_F(CtSvcSnsSyncEffectTest, UpdateRewritesTheFriendsNamesNumbersEmailsAndCallerImage) {
  const HOBJ hPerson = InsertFriendContact();
  ASSERT_NE(INVALID_HOBJ, hPerson);
  EXPECT_EQ(1, Dispatch("update", {Friend("p1", 3, "https://example.org/p1.jpg")}));
  const CtSvcPersonRecord person = Person(hPerson);
  EXPECT_STREQ("Ann", person.Info.szFirstName);
  EXPECT_STREQ("/User/Mass/Ct/3/Images/7p1.jpg", person.Info.szCallerImage);
  // Of the friend's four numbers only those labelled mobile, office and home are kept.
  CtSvcPhoneNumberRecord numbers[8];
  ASSERT_EQ(3, CtSvcDbPersonGetPhoneNumberList(hPerson, numbers, 8));
  EXPECT_STREQ("+491701", numbers[0].Info.szPhoneNumber);
  EXPECT_STREQ("+49303", numbers[2].Info.szPhoneNumber);
  CtSvcEmailAddressRecord emails[4];
  ASSERT_EQ(1, CtSvcDbPersonGetEmailAddressList(hPerson, emails, 4));
  EXPECT_STREQ("ann@example.org", emails[0].Info.szEmailAddress);
  // The friend stays linked to its contact.
  EXPECT_EQ(CTSVC_HANDLE_TO_ID(hPerson), CtSvcSnsFindPersonId(Friend("p1", 3)));
}

TEST_F(CtSvcSnsSyncEffectTest, NeedCallerIdSetsTheImagePathAndDeleteRemovesTheContact) {
  const HOBJ hPerson = InsertFriendContact();
  EXPECT_EQ(1, Dispatch("needcallerid", {Friend("p1", 3)}));  // no picture: nothing to do
  EXPECT_STREQ("", Person(hPerson).Info.szCallerImage);
  EXPECT_EQ(1, Dispatch("needcallerid", {Friend("p1", 3, "https://example.org/p1.jpg")}));
  EXPECT_STREQ("/User/Mass/Ct/3/Images/7p1.jpg", Person(hPerson).Info.szCallerImage);
  CtSvcPhoneNumberRecord numbers[8];
  EXPECT_EQ(4, CtSvcDbPersonGetPhoneNumberList(hPerson, numbers, 8));  // only the image changed

  const int nPrimary = Person(hPerson).Info.nPrimaryId;
  // The platform's history of the friend goes with the contact; another friend's stays.
  ASSERT_TRUE(SnsSvcHistoryDbAddEntry("SnsLiteHistoryDb", "p1", 7));
  ASSERT_TRUE(SnsSvcHistoryDbAddEntry("SnsLiteHistoryDb", "p2", 7));
  zel::test::LogCapture log;
  EXPECT_EQ(1, Dispatch("delete", {Friend("p1", 3)}));
  EXPECT_EQ(0, SnsSvcHistoryDbCountEntries("SnsLiteHistoryDb", "p1", 7));
  EXPECT_EQ(1, SnsSvcHistoryDbCountEntries("SnsLiteHistoryDb", "p2", 7));
  EXPECT_TRUE(log.Contains("CCtSvcSnsSyncObserver::OnExecuteSync - CtSvcPhonebookDeleteContactFromPhone success"));
  CtSvcPersonRecord gone{};
  EXPECT_FALSE(CtSvcDbPersonGetRecord(hPerson, &gone));
  CtSvcPrimaryRecord primary{};
  EXPECT_FALSE(CtSvcDbPrimaryGetRecord(nPrimary, &primary));
  EXPECT_EQ(0, Dispatch("delete", {Friend("p1", 3)}));
}

}  // namespace
