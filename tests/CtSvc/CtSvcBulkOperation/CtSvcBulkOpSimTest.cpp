// Bulk runs that write the card: inserts one record per card answer, copies and moves both ways
// keeping names, numbers, e-mails and groups, pausing in the middle, a card write that fails, and
// group memberships.
#include "BulkSimTestEnv.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "ZelDb2.h"
#include "ZelSimSampleCard.h"

namespace ctsvc_bulk_test {
namespace {

using ctsvc_sim_mgr_test::SampleCard;
using zel::sim::SampleCardType;

// Adds n contacts "Person i" with a number, an e-mail address and one of the card's groups.
void AddSimContacts(int n, const std::vector<int>& vcGroups) {
  for (int i = 0; i < n; ++i) {
    CCtSvcContactInfoBuilder builder("Person " + std::to_string(i), -1);
    builder.Number("0301" + std::to_string(100000 + i)).Email("p" + std::to_string(i) + "@example.com");
    if (!vcGroups.empty()) {
      builder.Group(vcGroups[static_cast<size_t>(i) % vcGroups.size()]);
    }
    CtSvcContactInfo info = builder.Info();
    ASSERT_TRUE(CtSvcBulkOpAddContactRecord(CTSVC_USE_TYPE_SIM, &info));
  }
}

TEST_F(BulkSimTest, TwoHundredFiftyContactsGoToThePhoneAndBackWithTheirDetails) {
  BootOn(zel::sim::BuildLargeUsimCard(130));
  const std::vector<int> vcGroups = {SimGroupId("Family"), SimGroupId("Friends"), SimGroupId("Работа")};
  ASSERT_GT(*std::min_element(vcGroups.begin(), vcGroups.end()), 0);
  Create(CTSVC_BULK_OP_INSERT_ADN);
  AddSimContacts(250, vcGroups);
  ASSERT_TRUE(CtSvcBulkOpStart());
  Run();
  EXPECT_EQ("1:3->1", m_log.vcState.back());
  ASSERT_TRUE(CtSvcBulkOpDestroy());
  const ContactTexts card = CardTexts();
  ASSERT_EQ(250u, card.size());
  EXPECT_EQ(card, StoreTexts(CTSVC_USE_TYPE_SIM));
  EXPECT_EQ(1u, card.begin()->count("email:p0@example.com"));
  EXPECT_EQ(1u, card.begin()->count("group:Family"));

  RunOnPersons(CTSVC_BULK_OP_COPY_ADN_TO_DB, PersonsOf(CTSVC_USE_TYPE_SIM));
  EXPECT_EQ(card, StoreTexts(CTSVC_USE_TYPE_PHONE));

  // The card emptied, then filled again from the phone.
  RunOnPersons(CTSVC_BULK_OP_DELETE_ADN, PersonsOf(CTSVC_USE_TYPE_SIM));
  EXPECT_EQ(0, CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_ADN));
  EXPECT_EQ(0, PersonCount(CTSVC_USE_TYPE_SIM));
  RunOnPersons(CTSVC_BULK_OP_COPY_DB_TO_ADN, PersonsOf(CTSVC_USE_TYPE_PHONE));
  EXPECT_EQ(card, CardTexts());
  EXPECT_EQ(card, StoreTexts(CTSVC_USE_TYPE_SIM));
  EXPECT_EQ(card, StoreTexts(CTSVC_USE_TYPE_PHONE));
}

TEST_F(BulkSimTest, MovesLeaveEachContactInOneStoreOnly) {
  BootOn(SampleCard(SampleCardType::Usim));
  const ContactTexts card = CardTexts();
  ASSERT_EQ(7u, card.size());
  RunOnPersons(CTSVC_BULK_OP_MOVE_ADN_TO_DB, PersonsOf(CTSVC_USE_TYPE_SIM));
  EXPECT_EQ(0, CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_ADN));
  EXPECT_EQ(0, PersonCount(CTSVC_USE_TYPE_SIM));
  EXPECT_EQ(card, StoreTexts(CTSVC_USE_TYPE_PHONE));
  RunOnPersons(CTSVC_BULK_OP_MOVE_DB_TO_ADN, PersonsOf(CTSVC_USE_TYPE_PHONE));
  EXPECT_EQ(0, PersonCount(CTSVC_USE_TYPE_PHONE));
  EXPECT_EQ(card, CardTexts());
  EXPECT_EQ(card, StoreTexts(CTSVC_USE_TYPE_SIM));
}

TEST_F(BulkSimTest, AnAdnInsertKeepsItsUnitAndAdvancesOneRecordPerCardAnswer) {
  BootOn(SampleCard(SampleCardType::Usim, true));
  Create(CTSVC_BULK_OP_INSERT_ADN);
  AddSimContacts(3, {});
  {
    zel::test::LogCapture log;
    ASSERT_TRUE(CtSvcBulkOpSetUnitCountAtOnce(5));
    EXPECT_TRUE(log.Contains("CCtSvcBulkOpInsertAdn::SetOperationUnitCountAtOnce - SIM Operation can not set Bulk count"));
    EXPECT_EQ(1u, log.Assertions().size());
  }
  EXPECT_EQ(1, CtSvcBulkOpGetUnitCountAtOnce());
  zel::test::HoldSimAnswers(true);
  zel::test::LogCapture log;
  ASSERT_TRUE(CtSvcBulkOpStart());
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(1, zel::test::FireDueTimers(1));
    DrainEventHandler();
  }
  EXPECT_EQ(std::vector<std::string>({"0/3", "0/3", "0/3"}), m_log.vcProgress);
  EXPECT_EQ(2, log.Count("CCtSvcBulkOpInsertAdn::OnBulkOperation - waiting for inserting to sim"));
  zel::test::HoldSimAnswers(false);
  while (zel::test::ReleaseSimAnswer()) {
    DrainEventHandler();
  }
  ASSERT_EQ(1, zel::test::FireDueTimers(1));
  EXPECT_EQ("1/3", m_log.vcProgress.back());
  Run();
  EXPECT_EQ("3/3", m_log.vcProgress.back());
  EXPECT_EQ(3, CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_ADN));
  EXPECT_EQ(3, PersonCount(CTSVC_USE_TYPE_SIM));
}

// The card answers a run destroyed while it waited: nobody is called back, the store does not
// follow, and the card's fingerprints stay stale so that the next start reads the card again.
TEST_F(BulkSimTest, AnAnswerAfterTheRunWasDestroyedReachesNobody) {
  BootOn(SampleCard(SampleCardType::Usim, true));
  Create(CTSVC_BULK_OP_INSERT_ADN);
  AddSimContacts(2, {});
  zel::test::HoldSimAnswers(true);
  ASSERT_TRUE(CtSvcBulkOpStart());
  ASSERT_EQ(1, zel::test::FireDueTimers(1));
  ASSERT_TRUE(CtSvcBulkOpDestroy());
  zel::test::LogCapture log;
  zel::test::HoldSimAnswers(false);
  while (zel::test::ReleaseSimAnswer()) {
    DrainEventHandler();
  }
  DrainEventHandler();
  EXPECT_TRUE(log.Contains("answer of record 0 after its operation ended"));
  EXPECT_EQ(0, PersonCount(CTSVC_USE_TYPE_SIM));
  NewProcess();
  ASSERT_TRUE(Boot());
  EXPECT_EQ(CardTexts(), StoreTexts(CTSVC_USE_TYPE_SIM));
}

// A refused card write stops the run with that contact not in the store; resuming does the rest.
// The card may keep part of the refused record, so the run leaves the card's fingerprints stale and
// the next start of the phonebook makes the store follow the card.
TEST_F(BulkSimTest, ACardWriteThatFailsStopsTheRunAndTheNextStartFollowsTheCard) {
  BootOn(SampleCard(SampleCardType::Usim, true));
  const std::string strSha = Setting("Section3", "SHA1Value_ADN_0");
  ASSERT_FALSE(strSha.empty());
  Create(CTSVC_BULK_OP_INSERT_ADN);
  AddSimContacts(4, {});
  ASSERT_TRUE(CtSvcBulkOpStart());
  while (PersonCount(CTSVC_USE_TYPE_SIM) < 2) {
    ASSERT_EQ(1, zel::test::FireDueTimers(1));
    DrainEventHandler();
  }
  zel::test::InjectSimFault(zel::test::kAnyFile, zel::test::SimOp::Update, zel::test::SimFault::ErrorAnswer);
  Run();
  EXPECT_EQ("0:3->2", m_log.vcState.back());
  EXPECT_EQ(CTSVC_BULK_STATE_READY, CtSvcBulkOpGetState());
  EXPECT_EQ(2, PersonCount(CTSVC_USE_TYPE_SIM));
  ASSERT_TRUE(CtSvcBulkOpResume());
  Run();
  EXPECT_EQ("1:3->1", m_log.vcState.back());
  EXPECT_EQ(3, PersonCount(CTSVC_USE_TYPE_SIM));
  ASSERT_TRUE(CtSvcBulkOpDestroy());
  EXPECT_EQ(strSha, Setting("Section3", "SHA1Value_ADN_0"));
  NewProcess();
  ASSERT_TRUE(Boot());
  EXPECT_EQ(CardTexts(), StoreTexts(CTSVC_USE_TYPE_SIM));
}

TEST_F(BulkSimTest, APausedCopyDoesNothingUntilResumedAndCopiesEveryContactOnce) {
  constexpr int kCount = 45;
  {
    CCtSvcModuleLock lock;
    for (int i = 0; i < kCount; ++i) {
      CCtSvcContactInfoBuilder builder("Sim " + std::to_string(i), -1, "Family" + std::to_string(i % 7));
      builder.Number("0107" + std::to_string(100000 + i)).Number("02" + std::to_string(5000000 + i), 2);
      builder.Address("Street " + std::to_string(i), "Seoul");
      builder.person.nSlotIndex = i;
      CCtSvcContact contact(builder.Info(), CTSVC_USE_TYPE_SIM);
      ASSERT_GT(contact.Insert(0), 0);
    }
    Db2Commit();
  }
  Create(CTSVC_BULK_OP_COPY_ADN_TO_DB);
  for (const CtSvcPersonRecord& person : PersonsOf(CTSVC_USE_TYPE_SIM)) {
    ASSERT_TRUE(CtSvcBulkOpAddPersonId(person.nId));
  }
  ASSERT_TRUE(CtSvcBulkOpStart());
  EXPECT_EQ(2, zel::test::FireDueTimers(1) + zel::test::FireDueTimers(1));
  ASSERT_TRUE(CtSvcBulkOpPause());
  EXPECT_FALSE(CtSvcBulkOpPause());
  EXPECT_EQ(0, zel::test::FireDueTimers(1));
  EXPECT_EQ(20, PersonCount(CTSVC_USE_TYPE_PHONE));
  ASSERT_TRUE(CtSvcBulkOpResume());
  EXPECT_EQ(3, Run());
  EXPECT_EQ(std::vector<std::string>({"10/45", "20/45", "30/45", "40/45", "45/45"}), m_log.vcProgress);
  EXPECT_EQ(StoreTexts(CTSVC_USE_TYPE_SIM), StoreTexts(CTSVC_USE_TYPE_PHONE));
}

TEST_F(BulkSimTest, MembershipRunsJoinAndLeaveAGroupOnThePhoneAndOnTheCard) {
  BootOn(SampleCard(SampleCardType::Usim));
  CtSvcGroupInfo group{};
  group.DevType = CTSVC_USE_TYPE_PHONE;
  group.nSlotIndex = -1;
  std::strcpy(group.szName, "Club");
  const int nClub = CtSvcPhonebookInsertGroupToPhone(&group);
  ASSERT_GT(nClub, 1);
  RunOnPersons(CTSVC_BULK_OP_COPY_ADN_TO_DB, PersonsOf(CTSVC_USE_TYPE_SIM));
  const std::vector<CtSvcPersonRecord> vcPhone = PersonsOf(CTSVC_USE_TYPE_PHONE);
  ASSERT_EQ(7u, vcPhone.size());
  auto members = [](int nGroupId) {
    CtSvcGroupMemberFilter filter;
    CtSvcGroupMemberFilterInit(&filter);
    filter.nGroupId = nGroupId;
    return CtSvcDbGroupMemberGetCount(&filter);
  };
  for (const int nType : {CTSVC_BULK_OP_ADD_MEMBER_DB, CTSVC_BULK_OP_REMOVE_MEMBER_DB}) {
    Create(nType);
    EXPECT_FALSE(CtSvcBulkOpSetGroupId(9999));
    ASSERT_TRUE(CtSvcBulkOpSetGroupId(nClub));
    for (const CtSvcPersonRecord& person : vcPhone) {
      ASSERT_TRUE(CtSvcBulkOpAddPersonId(person.nId));
    }
    ASSERT_TRUE(CtSvcBulkOpStart());
    EXPECT_EQ(2, Run());  // five a unit
    EXPECT_EQ(nType == CTSVC_BULK_OP_ADD_MEMBER_DB ? 7 : 0, members(nClub));
    ASSERT_TRUE(CtSvcBulkOpDestroy());
  }
  // "Иван Петров" (record 2) is in Friends only: joining Family changes his card record.
  const int nFamily = SimGroupId("Family");
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = CTSVC_USE_TYPE_SIM;
  filter.nSlotIndex = 1;
  CtSvcPersonRecord ivan{};
  ASSERT_EQ(1, CtSvcDbPersonGetRecords(&filter, &ivan, 1));
  for (const int nType : {CTSVC_BULK_OP_ADD_MEMBER_ADN, CTSVC_BULK_OP_REMOVE_MEMBER_ADN}) {
    Create(nType);
    ASSERT_TRUE(CtSvcBulkOpSetGroupId(nFamily));
    ASSERT_TRUE(CtSvcBulkOpAddPersonId(ivan.nId));
    ASSERT_TRUE(CtSvcBulkOpStart());
    Run();
    EXPECT_EQ("1:3->1", m_log.vcState.back());
    ASSERT_TRUE(CtSvcBulkOpDestroy());
    const bool bJoined = nType == CTSVC_BULK_OP_ADD_MEMBER_ADN;
    CtSvcSimAdnRecord record;
    ASSERT_TRUE(CtSvcSimGetAdnRecord(1, &record));
    CtSvcGroupRecord family{};
    ASSERT_TRUE(CtSvcDbGroupGetRecord(nFamily, &family));
    EXPECT_EQ(bJoined, record.bGroup[family.Info.nSlotIndex] != 0);
    EXPECT_EQ(bJoined ? 1u : 0u, TextOfPerson(ivan).count("group:Family"));
    EXPECT_EQ(1u, TextOfPerson(ivan).count("group:Friends"));
  }
}

}  // namespace
}  // namespace ctsvc_bulk_test
