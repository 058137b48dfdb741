// The bulk handler driven by hand-fired timer ticks: its states and their reports, progress, pause,
// resume and stop, a failing unit, and the database insert operation.
#include <string>
#include <vector>

#include "CtSvcBulkOperation/CtSvcBulkHandler.h"
#include "CtSvcBulkOperation/CtSvcBulkOpInsertDb.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "CtSvcPhonebook.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"

namespace {

const char kTimer[] = "CtSvcBulkOperationTime";

// Counts items down; the item at nFailAt (counting processed items from 1) fails its unit.
class CountingOperation : public CCtSvcBulkOpBase<int> {
 public:
  explicit CountingOperation(int nItems, int nUnit = 5, int nFailAt = -1)
      : CCtSvcBulkOpBase(nUnit), m_nFailAt(nFailAt) {
    for (int i = 0; i < nItems; ++i) {
      _AddItem(i);
    }
  }
  int m_nUnits = 0;

 protected:
  BOOL _ProcessItem(int&) override { return ++m_nProcessed != m_nFailAt; }
  BOOL _EndUnit(BOOL bResult) override {
    ++m_nUnits;
    return bResult;
  }

 private:
  int m_nFailAt;
  int m_nProcessed = 0;
};

// Every report as text: "state result:old->new" and "progress done/total".
class RecordingListener : public ICtSvcBulkListener {
 public:
  void OnChangedState(BOOL bResult, int nOld, int nNew) override {
    vcEvent.push_back("state " + std::to_string(bResult) + ":" + std::to_string(nOld) + "->" + std::to_string(nNew));
  }
  void OnProgress(int nDone, int nTotal) override {
    vcEvent.push_back("progress " + std::to_string(nDone) + "/" + std::to_string(nTotal));
  }
  std::vector<std::string> Take() { return std::move(vcEvent); }
  std::vector<std::string> vcEvent;
};

class BulkHandlerTest : public ctsvc_test::ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    zel::test::SetTimersManual(true);
    m_pHandler = CCtSvcBulkHandler::Instance();
  }
  void TearDown() override {
    m_pHandler->UnregisterBulkOperation();
    zel::test::SetTimersManual(false);
    ServiceTest::TearDown();
  }
  CCtSvcBulkHandler* m_pHandler = nullptr;
  RecordingListener m_listener;
};

TEST_F(BulkHandlerTest, ARunReportsProgressPerTickAndFinishesWhenNothingIsLeft) {
  CountingOperation op(12);
  ASSERT_TRUE(m_pHandler->RegisterBulkOperation(&op, &m_listener));
  EXPECT_EQ(CTSVC_BULK_READY, m_pHandler->GetState());
  EXPECT_TRUE(m_listener.Take().empty());  // registering reports nothing
  ASSERT_TRUE(m_pHandler->Start());
  EXPECT_EQ(std::vector<std::string>({"state 1:2->3"}), m_listener.Take());
  ASSERT_TRUE(zel::test::FireTimer(kTimer));
  ASSERT_TRUE(zel::test::FireTimer(kTimer));
  int nDone = -1;
  int nTotal = -1;
  ASSERT_TRUE(m_pHandler->GetProgress(&nDone, &nTotal));
  EXPECT_EQ(10, nDone);
  EXPECT_EQ(12, nTotal);
  EXPECT_TRUE(m_pHandler->GetProgress(nullptr, &nTotal));
  ASSERT_TRUE(zel::test::FireTimer(kTimer));
  EXPECT_FALSE(zel::test::FireTimer(kTimer));  // not armed again once finished
  EXPECT_EQ(std::vector<std::string>({"progress 5/12", "progress 10/12", "progress 12/12", "state 1:3->1"}),
            m_listener.Take());
  EXPECT_EQ(CTSVC_BULK_FINISHED, m_pHandler->GetState());
  EXPECT_EQ(3, op.m_nUnits);
  // Only one operation at a time.
  zel::test::LogCapture log;
  CountingOperation other(1);
  EXPECT_FALSE(m_pHandler->RegisterBulkOperation(&other, &m_listener));
  EXPECT_TRUE(log.HasAssertion("m_pCurrentOperation == NULL"));
  ASSERT_TRUE(m_pHandler->UnregisterBulkOperation());
  EXPECT_EQ(CTSVC_BULK_INVALID, m_pHandler->GetState());
  EXPECT_FALSE(m_pHandler->GetProgress(&nDone, &nTotal));
  EXPECT_EQ(-1, m_pHandler->GetUnitCountAtOnce());
}

TEST_F(BulkHandlerTest, StartingWithoutItemsFinishesAtOnceAndNeverArmsTheTimer) {
  CountingOperation op(0);
  ASSERT_TRUE(m_pHandler->RegisterBulkOperation(&op, &m_listener));
  EXPECT_EQ(CTSVC_BULK_FINISHED, m_pHandler->GetState());
  ASSERT_TRUE(m_pHandler->Start());
  EXPECT_EQ(std::vector<std::string>({"state 1:1->1"}), m_listener.Take());
  EXPECT_FALSE(zel::test::FireTimer(kTimer));
  EXPECT_EQ(0, op.m_nUnits);
}

TEST_F(BulkHandlerTest, PauseResumeAndStopKeepTheRunsTotal) {
  CountingOperation op(7, 2);
  ASSERT_TRUE(m_pHandler->RegisterBulkOperation(&op, &m_listener));
  EXPECT_EQ(2, m_pHandler->GetUnitCountAtOnce());
  ASSERT_TRUE(m_pHandler->SetUnitCountAtOnce(3));
  ASSERT_TRUE(m_pHandler->Start());
  ASSERT_TRUE(zel::test::FireTimer(kTimer));
  ASSERT_TRUE(m_pHandler->Pause());
  EXPECT_FALSE(zel::test::FireTimer(kTimer));  // a paused run does not tick
  zel::test::LogCapture log;
  EXPECT_FALSE(m_pHandler->Pause());
  EXPECT_TRUE(log.HasAssertion("m_BulkState != CTSVC_BULK_PAUSED"));
  ASSERT_TRUE(m_pHandler->Resume());
  ASSERT_TRUE(zel::test::FireTimer(kTimer));
  ASSERT_TRUE(m_pHandler->Stop());
  EXPECT_EQ(CTSVC_BULK_READY, m_pHandler->GetState());
  EXPECT_EQ(std::vector<std::string>({"state 1:2->3", "progress 3/7", "state 1:3->4", "state 1:4->3", "progress 6/7",
                                      "state 1:3->2"}),
            m_listener.Take());
  // A stopped run resumes with its total; a tick already queued when it stopped does nothing.
  ASSERT_TRUE(m_pHandler->Resume());
  ASSERT_TRUE(zel::test::FireTimer(kTimer));
  EXPECT_EQ(std::vector<std::string>({"state 1:2->3", "progress 7/7", "state 1:3->1"}), m_listener.Take());
}

TEST_F(BulkHandlerTest, AFailedUnitStopsTheRunWithAFailureReport) {
  CountingOperation op(8, 5, 3);
  ASSERT_TRUE(m_pHandler->RegisterBulkOperation(&op, &m_listener));
  ASSERT_TRUE(m_pHandler->Start());
  zel::test::LogCapture log;
  ASSERT_TRUE(zel::test::FireTimer(kTimer));
  EXPECT_FALSE(zel::test::FireTimer(kTimer));
  EXPECT_TRUE(log.Contains("CCtSvcBulkHandler::TimerMgrCallback (5/8) failed"));
  EXPECT_EQ(std::vector<std::string>({"state 1:2->3", "state 0:3->2"}), m_listener.Take());
  EXPECT_EQ(CTSVC_BULK_READY, m_pHandler->GetState());
}

TEST_F(BulkHandlerTest, WithoutOperationEveryCallIsRefused) {
  zel::test::LogCapture log;
  EXPECT_FALSE(m_pHandler->Start());
  EXPECT_FALSE(m_pHandler->Stop());
  EXPECT_FALSE(m_pHandler->SetUnitCountAtOnce(3));
  EXPECT_FALSE(m_pHandler->RegisterBulkOperation(nullptr, &m_listener));
  EXPECT_TRUE(log.HasAssertion("pBulkOperation"));
}

// The database insert: five contacts a tick, one commit a tick, phone inserts reported to the
// contact callbacks.
struct Seen {
  std::vector<int> vcId;
  static void OnContact(CtSvcChangeType type, int nId, void*, void* pUserData) {
    if (type == CTSVC_CHANGE_TYPE_INSERT) {
      static_cast<Seen*>(pUserData)->vcId.push_back(nId);
    }
  }
};

TEST_F(BulkHandlerTest, InsertDbStoresTwelveContactsInThreeTicks) {
  Seen seen;
  CtSvcPhonebookRegisterContactCallback(&Seen::OnContact, &seen);
  CCtSvcBulkOpInsertDb op;
  EXPECT_EQ(CTSVC_BULK_INSERT_DB_UNIT, op.GetOperationUnitCountAtOnce());
  for (int i = 0; i < 12; ++i) {
    CCtSvcContactInfoBuilder builder("Bulk " + std::to_string(i), -1);
    builder.Number("0101234" + std::to_string(100 + i)).Email("bulk" + std::to_string(i) + "@example.com");
    const CtSvcContactInfo info = builder.Info();
    ASSERT_TRUE(op.AddContactRecord(CTSVC_USE_TYPE_PHONE, info));
  }
  EXPECT_FALSE(op.AddContactRecord(CTSVC_USE_TYPE_PHONE, CtSvcContactInfo{}));
  ASSERT_TRUE(m_pHandler->RegisterBulkOperation(&op, &m_listener));
  ASSERT_TRUE(m_pHandler->Start());
  ASSERT_TRUE(zel::test::FireTimer(kTimer));
  ASSERT_TRUE(zel::test::FireTimer(kTimer));
  int nDone = 0;
  int nTotal = 0;
  m_pHandler->GetProgress(&nDone, &nTotal);
  EXPECT_EQ(10, nDone);
  EXPECT_EQ(12, nTotal);
  // Each tick committed its contacts: a second connection sees them.
  EXPECT_EQ(10, CountFromSecondConnection("CtSvcPerson"));
  ASSERT_TRUE(zel::test::FireTimer(kTimer));
  EXPECT_EQ(12, CountFromSecondConnection("CtSvcPerson"));
  EXPECT_EQ(12u, seen.vcId.size());
  CtSvcPhonebookUnRegisterContactCallback(&Seen::OnContact, &seen);
}

}  // namespace
