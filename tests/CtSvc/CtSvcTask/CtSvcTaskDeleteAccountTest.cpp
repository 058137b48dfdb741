#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcDeleteAccount.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcModule.h"
#include "CtSvcSearch.h"
#include "CtSvcTask.h"
#include "CtSvcTask/CtSvcTaskJobDeleteAccount.h"
#include "CtSvcTaskTestSupport.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ZelDb2.h"
#include "ZelWm.h"

namespace {

using ctsvc_test::CallbackLog;

using ctsvc_test::CountWhere;
using ctsvc_test::Row;

int AccountPersons(int nAccountId) { return CountWhere("CtSvc/Person", "ACCOUNT_ID = " + std::to_string(nAccountId)); }

// Persons of an account, each on its own primary, with a number and a membership.
void AddContacts(int nAccountId, int nCount) {
  Db2CommitPause();
  for (int i = 0; i < nCount; ++i) {
    const int nPrimary = Row(CTSVC_DB_TABLE_PRIMARY)
                             .Int(CTSVC_DB_PRIMARY_COLUMN_DEVICE_TYPE, 1)
                             .Int(CTSVC_DB_PRIMARY_COLUMN_FIRST_ACCOUNT_ID, nAccountId)
                             .Int(CTSVC_DB_PRIMARY_COLUMN_LINK_COUNT, 1)
                             .Insert("CtSvc/Primary");
    const int nPerson = Row(CTSVC_DB_TABLE_PERSON)
                            .Int(CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE, 1)
                            .Int(CTSVC_DB_PERSON_COLUMN_ACCOUNT_ID, nAccountId)
                            .Int(CTSVC_DB_PERSON_COLUMN_PRIMARY_ID, nPrimary)
                            .Insert("CtSvc/Person");
    Row(CTSVC_DB_TABLE_CONTACTDATA)
        .Int(CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID, nPerson)
        .Int(CTSVC_DB_CONTACTDATA_COLUMN_PRIMARY_ID, nPrimary)
        .Int(CTSVC_DB_CONTACTDATA_COLUMN_DEVICE_TYPE, 1)
        .Int(CTSVC_DB_CONTACTDATA_COLUMN_TYPE, 1)
        .Int(CTSVC_DB_CONTACTDATA_COLUMN_ACCOUNT_ID, nAccountId)
        .Insert("CtSvc/PhoneNumber");
    Row(CTSVC_DB_TABLE_GROUPMEMBER)
        .Int(CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID, nPerson)
        .Int(CTSVC_DB_GRPMEMBER_COLUMN_PRIMARY_ID, nPrimary)
        .Int(CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID, 1)
        .Int(CTSVC_DB_GRPMEMBER_COLUMN_DEVICE_TYPE, 1)
        .Int(CTSVC_DB_GRPMEMBER_COLUMN_ACCOUNT_ID, nAccountId)
        .Insert("CtSvc/GroupMember");
  }
  Db2CommitResume();
  Db2Commit();
}

// Sees every batch delete of the account's persons; the first one waits until the test has read
// the store while the removal is under way.
class CBatchObserver : public IContentObserver {
 public:
  CBatchObserver(int nAccountId, bool bHoldFirst) : m_nAccountId(nAccountId), m_bHoldFirst(bHoldFirst) {
    m_nLeft = AccountPersons(nAccountId);
    CContentMgr::Instance()->RegisterObserver("CtSvc/Person", this);
  }
  ~CBatchObserver() override { CContentMgr::Instance()->UnregisterObserver("CtSvc/Person", this); }

  void OnChange(int nChangeType, const std::string& /*strUri*/, int nId, intptr_t, int) override {
    if (nChangeType != CONTENT_CHANGE_DELETE || nId != -1) {
      return;
    }
    const int nLeft = AccountPersons(m_nAccountId);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_vcBatches.push_back(m_nLeft - nLeft);
    m_nLeft = nLeft;
    m_cv.notify_all();
    if (m_vcBatches.size() == 1 && m_pfnOnFirst != nullptr) {
      m_pfnOnFirst();
    }
    if (m_bHoldFirst && m_vcBatches.size() == 1) {
      m_cv.wait_for(lock, ctsvc_test::kTaskTimeout, [&] { return m_bReadDone; });
    }
  }
  void WaitForFirstBatch() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.wait_for(lock, ctsvc_test::kTaskTimeout, [&] { return !m_vcBatches.empty(); });
  }
  void LetGo() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bReadDone = true;
    m_cv.notify_all();
  }
  std::vector<int> Batches() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_vcBatches;
  }
  void (*m_pfnOnFirst)() = nullptr;
  static CCtSvcTaskJob* s_pJob;

 private:
  int m_nAccountId;
  bool m_bHoldFirst;
  int m_nLeft;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::vector<int> m_vcBatches;
  bool m_bReadDone = false;
};
CCtSvcTaskJob* CBatchObserver::s_pJob = nullptr;

class ThreadsCtSvcDeleteAccount : public ctsvc_test::ServiceTest {
 protected:
  void TearDown() override {
    CCtSvcTaskMgr::DestroyInstance();
    ServiceTest::TearDown();
  }
  CallbackLog m_log;
};

TEST_F(ThreadsCtSvcDeleteAccount, RemovesEveryRowOfTheAccountInBatchesOfFiftyWhileReadsGoOn) {
  AddContacts(7, 500);
  AddContacts(-1, 3);
  // One primary joins a local person and a person of the account.
  CCtSvcPrimary linked = ctsvc_test::Named<CCtSvcPrimary>("Lin", "");
  linked.SetFirstAccountId(-1);
  linked.SetSecondAccountId(7);
  linked.SetLinkCount(2);
  const int nLinked = linked.Insert(1);
  for (int nAccountId : {-1, 7}) {
    CCtSvcPerson person = ctsvc_test::Named("Lin", "");
    person.SetAccountId(nAccountId);
    person.SetPrimaryId(nLinked);
    ASSERT_GT(person.Insert(1), 0);
  }
  CBatchObserver observer(7, true);
  // The answer comes on the handler current when the removal was asked for.
  WmSetCurrentEventHandler(WmGetEventHandlerByName("CTSVC"));
  const INT32 nAccount = 7;
  ASSERT_TRUE(CtSvcTaskRequestDeleteAccount(CTSVC_USE_TYPE_PHONE, &nAccount, 1, [](INT32 nResult, void* pUserData) {
    static_cast<CallbackLog*>(pUserData)->Add("result " + std::to_string(nResult) + " on " +
                                              ctsvc_test::CBlockingJob::TaskName());
  }, &m_log));
  WmSetCurrentEventHandler(INVALID_HOBJ);

  observer.WaitForFirstBatch();
  EXPECT_EQ(451, AccountPersons(7));  // read while the job waits between two batches
  EXPECT_EQ(1, CountWhere("CtSvc/DeleteAccount", "ACCOUNT_ID = 7"));
  EXPECT_TRUE(CtSvcSearchRequestSearch(0, "", 0));
  observer.LetGo();

  EXPECT_EQ(std::vector<std::string>{"result 1 on CTSVC"}, m_log.WaitFor(1));
  const std::vector<int> vcBatches = observer.Batches();
  EXPECT_EQ(11u, vcBatches.size());  // 501 persons
  for (int nBatch : vcBatches) {
    EXPECT_GT(nBatch, 0);
    EXPECT_LE(nBatch, 50);
  }
  for (const char* szUri : {"CtSvc/Person", "CtSvc/PhoneNumber", "CtSvc/GroupMember"}) {
    EXPECT_EQ(0, CountWhere(szUri, "ACCOUNT_ID = 7")) << szUri;
  }
  EXPECT_EQ(4, AccountPersons(-1));
  EXPECT_EQ(3, CountWhere("CtSvc/PhoneNumber", "ACCOUNT_ID = -1"));
  EXPECT_EQ(0, CountWhere("CtSvc/Primary", "FIRST_ACCOUNT_ID = 7"));
  EXPECT_EQ(1, CountWhere("CtSvc/Primary", "ID = " + std::to_string(nLinked) + " and LINK_COUNT = 1 and SECOND_ACCOUNT_ID = -1"));
  EXPECT_EQ(0, CountWhere("CtSvc/DeleteAccount", "ACCOUNT_ID = 7"));
}

TEST_F(ThreadsCtSvcDeleteAccount, AbortedRemovalStopsBetweenBatchesAndStaysRecorded) {
  AddContacts(5, 120);
  CCtSvcTaskJobDeleteAccount early(CTSVC_USE_TYPE_PHONE, {5}, nullptr, nullptr);
  early.Abort();
  early.DoWork();
  EXPECT_EQ(120, AccountPersons(5));
  EXPECT_EQ(0, CountWhere("CtSvc/DeleteAccount", "ACCOUNT_ID = 5"));

  CCtSvcTaskJobDeleteAccount job(CTSVC_USE_TYPE_PHONE, {5}, nullptr, nullptr);
  {
    CBatchObserver observer(5, false);
    CBatchObserver::s_pJob = &job;
    observer.m_pfnOnFirst = [] { CBatchObserver::s_pJob->Abort(); };
    job.DoWork();  // on this thread: the abort lands between the first and the second batch
  }
  EXPECT_EQ(0, job.GetResult());
  EXPECT_EQ(70, AccountPersons(5));
  EXPECT_EQ(1, CountWhere("CtSvc/DeleteAccount", "ACCOUNT_ID = 5 and DEVICE_TYPE = 1"));

  CCtSvcTaskJobDeleteAccount again(CTSVC_USE_TYPE_PHONE, {5}, nullptr, nullptr);
  again.DoWork();
  EXPECT_EQ(1, again.GetResult());
  EXPECT_EQ(0, AccountPersons(5));
  EXPECT_EQ(0, CountWhere("CtSvc/DeleteAccount", "ACCOUNT_ID = 5"));
}

// A store whose account removal was interrupted: the service resumes it when it starts.
class ThreadsCtSvcDeleteAccountResume : public ctsvc_test::StoreTest {
 protected:
  void TearDown() override {
    CtSvcDispatch(CTSVC_DISPATCH_UNLOAD, 0, 0);
    StoreTest::TearDown();
  }
};

TEST_F(ThreadsCtSvcDeleteAccountResume, PendingRemovalResumesAtStart) {
  ASSERT_TRUE(CCtSvcDbMgr::Instance()->Initialize());
  AddContacts(9, 60);
  AddContacts(-1, 2);
  CCtSvcDeleteAccount pending;
  pending.SetDeviceType(CTSVC_USE_TYPE_PHONE);
  pending.SetAccountId(9);
  ASSERT_GT(pending.Insert(1), 0);
  CCtSvcDbMgr::DestroyInstance();

  CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0);
  ASSERT_TRUE(CCtSvcTaskMgr::Instance()->WaitForIdle(20000));
  EXPECT_EQ(0, AccountPersons(9));
  EXPECT_EQ(2, AccountPersons(-1));
  EXPECT_EQ(0, CountWhere("CtSvc/DeleteAccount", "ACCOUNT_ID = 9"));
}

}  // namespace
