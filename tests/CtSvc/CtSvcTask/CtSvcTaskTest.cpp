// The background task "CtSvcTask": when it works, how queued requests run one after another and
// answer on "CTSVC", fast-scroll letters, searches, and removing the contacts of an account in
// batches while reads go on.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
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
#include "CtSvcTask/CtSvcTaskJob.h"
#include "CtSvcTask/CtSvcTaskJobDeleteAccount.h"
#include "CtSvcTask/CtSvcTaskMgr.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "CtSvcTestThreads.h"
#include "ZelCoreTest.h"
#include "ZelDb2.h"
#include "ZelWm.h"

namespace {

using ctsvc_test::CallbackLog;
using ctsvc_test::CountWhere;
using ctsvc_test::Row;
using ctsvc_test::TaskName;

// Works until Release (or an abort); reports its start, and its callback, to the log.
class CBlockingJob : public CCtSvcTaskJob {
 public:
  CBlockingJob(CallbackLog* pLog, std::string strName) : m_pLog(pLog), m_strName(std::move(strName)) {}
  void DoWork() override {
    m_pLog->Add(m_strName + " works");
    m_release.WaitFor(1);
  }
  void SendNotifyCallback() override { m_pLog->Add(m_strName + " done on " + TaskName()); }
  void Abort() override {
    CCtSvcTaskJob::Abort();
    Release();
  }
  void Release() { m_release.Add(0); }

 private:
  CallbackLog* m_pLog;
  std::string m_strName;
  ctsvc_test::SyncLog<int> m_release;
};

// Adds a blocking job; the pointer stays valid until the job's callback has run.
inline CBlockingJob* AddBlockingJob(CallbackLog& log, const std::string& strName) {
  auto pJob = std::make_unique<CBlockingJob>(&log, strName);
  CBlockingJob* p = pJob.get();
  CCtSvcTaskMgr::Instance()->AddJob(std::move(pJob));
  return p;
}

class ThreadsCtSvcTask : public ctsvc_test::ServiceTest {
 protected:
  void TearDown() override {
    CCtSvcTaskMgr::DestroyInstance();
    ServiceTest::TearDown();
  }

  static void AddPrimary(const char* pszFirst, const char* pszLast, CtSvcDeviceType nDevType) {
    CCtSvcPrimary primary = ctsvc_test::Named<CCtSvcPrimary>(pszFirst, pszLast, nDevType);
    primary.SetLinkCount(1);
    ASSERT_GT(primary.Insert(1), 0);
  }
  static void AddPerson(const char* pszFirst, const char* pszLast, int nAccountId) {
    CCtSvcPerson person = ctsvc_test::Named(pszFirst, pszLast);
    person.SetAccountId(nAccountId);
    ASSERT_GT(person.Insert(1), 0);
  }

  // A fast-scroll callback: "<tag>:<letters>" with the tag the user data points to.
  static void OnLetters(INT32 nCount, const MCHAR* pLetters, void* pUserData) {
    auto* pRequest = static_cast<std::pair<CallbackLog*, std::string>*>(pUserData);
    std::string strLetters;
    for (int i = 0; i < nCount; ++i) {
      strLetters += static_cast<char>(pLetters[i]);
    }
    pRequest->first->Add(pRequest->second + ":" + strLetters + " on " + TaskName());
  }

  static CtSvcPrimaryFilter PrimaryFilter(int nDevType, int nIndexType) {
    CtSvcPrimaryFilter filter;
    CtSvcPrimaryFilterInit(&filter);
    filter.DevType = nDevType;
    filter.FilterIndexType = nIndexType;
    return filter;
  }

  static size_t IndexOf(const std::vector<zel::test::LogLine>& vcLines, const std::string& strText, size_t nFrom = 0) {
    for (size_t i = nFrom; i < vcLines.size(); ++i) {
      if (vcLines[i].text.find(strText) != std::string::npos) {
        return i;
      }
    }
    return std::string::npos;
  }

  CallbackLog m_log;
};

TEST_F(ThreadsCtSvcTask, IsWorkingOnlyWhileAJobWorks) {
  EXPECT_FALSE(CtSvcTaskIsWorking());
  CBlockingJob* pJob = AddBlockingJob(m_log, "job");
  m_log.WaitFor(1);
  EXPECT_TRUE(CtSvcTaskIsWorking());
  EXPECT_FALSE(CtSvcTaskWaitForIdle(0));
  pJob->Release();
  EXPECT_EQ((std::vector<std::string>{"job works", "job done on CTSVC"}), m_log.WaitFor(2));
  ASSERT_TRUE(CtSvcTaskWaitForIdle(20000));
  EXPECT_FALSE(CtSvcTaskIsWorking());
  EXPECT_TRUE(CtSvcTaskWaitForIdle(0));
}

TEST_F(ThreadsCtSvcTask, QueuedRequestsRunOneAfterAnotherAndAnswerOnTheServiceHandler) {
  AddPrimary("Ann", "Kidd", CTSVC_USE_TYPE_PHONE);
  AddPrimary("Kim", "Min-ji", CTSVC_USE_TYPE_PHONE);
  AddPrimary("Zed", "Kilo", CTSVC_USE_TYPE_SIM);
  zel::test::LogCapture capture;
  CBlockingJob* pJob = AddBlockingJob(m_log, "first");
  m_log.WaitFor(1);
  std::pair<CallbackLog*, std::string> phone{&m_log, "phone"}, sim{&m_log, "sim"}, lastFirst{&m_log, "lf"};
  CtSvcPrimaryFilter filter = PrimaryFilter(CTSVC_USE_TYPE_PHONE, CTSVC_FILTER_INDEX_FIRST_LAST);
  ASSERT_TRUE(CtSvcFastScrollRequestLetters(&filter, &OnLetters, &phone));
  filter = PrimaryFilter(CTSVC_USE_TYPE_SIM, CTSVC_FILTER_INDEX_FIRST_LAST);
  ASSERT_TRUE(CtSvcFastScrollRequestLetters(&filter, &OnLetters, &sim));
  filter = PrimaryFilter(CTSVC_USE_TYPE_NONE, CTSVC_FILTER_INDEX_LAST_FIRST);
  ASSERT_TRUE(CtSvcFastScrollRequestLetters(&filter, &OnLetters, &lastFirst));
  EXPECT_EQ(0, capture.Count("CCtSvcTaskJobFastScroll::DoWork : request device Type"));  // all wait for the first

  pJob->Release();
  EXPECT_EQ((std::vector<std::string>{"first works", "first done on CTSVC", "phone:AK on CTSVC", "sim:Z on CTSVC",
                                      "lf:KM on CTSVC"}),
            m_log.WaitFor(5));
  // The last answer may arrive before the task logs that its job finished.
  ASSERT_TRUE(CCtSvcTaskMgr::Instance()->WaitForIdle(20000));
  // Each request started only after the one before it had finished its work.
  const std::vector<zel::test::LogLine> vcLines = capture.Lines();
  size_t nPos = IndexOf(vcLines, "state is changed!(3->4)");
  for (int nDevType : {1, 2, 0}) {
    const size_t nStart = IndexOf(vcLines, "request device Type '" + std::to_string(nDevType) + "'", nPos);
    ASSERT_NE(std::string::npos, nStart) << nDevType;
    nPos = IndexOf(vcLines, "state is changed!(3->4)", nStart);
    ASSERT_NE(std::string::npos, nPos) << nDevType;
  }
}

TEST_F(ThreadsCtSvcTask, ContactsWithoutANameAreLeftOutOnRequest) {
  AddPrimary("Ann", "Kidd", CTSVC_USE_TYPE_PHONE);
  AddPrimary("", "", CTSVC_USE_TYPE_PHONE);
  std::pair<CallbackLog*, std::string> all{&m_log, "all"}, named{&m_log, "named"};
  CtSvcPrimaryFilter filter = PrimaryFilter(CTSVC_USE_TYPE_PHONE, CTSVC_FILTER_INDEX_FIRST_LAST);
  ASSERT_TRUE(CtSvcFastScrollRequestLetters(&filter, &OnLetters, &all));
  filter.FilterDetail = CTSVC_PRIMARY_FILTER_DETAIL_HAS_NAME;
  ASSERT_TRUE(CtSvcFastScrollRequestLetters(&filter, &OnLetters, &named));
  const std::vector<std::string> vcAnswers = m_log.WaitFor(2);
  ASSERT_EQ(2u, vcAnswers.size());
  EXPECT_EQ("named:A on CTSVC", vcAnswers[1]);
  EXPECT_NE("all:A on CTSVC", vcAnswers[0]);  // the unnamed contact has a letter of its own
}

TEST_F(ThreadsCtSvcTask, PersonLettersFollowAccountAndOrder) {
  AddPerson("Ann", "Kidd", -1);
  AddPerson("Kim", "Min-ji", 3);
  AddPerson("Bob", "Smith", 3);
  struct Case {
    const char* szTag;
    int nIndexType;
    int nAccountId;
    int bLocalOnly;
    const char* szLetters;
  };
  const Case kCases[] = {{"all", 1, -1, 0, "ABK"}, {"lf", 2, -1, 0, "KMS"}, {"account", 1, 3, 0, "BK"},
                         {"local", 2, -1, 1, "K"}};
  std::vector<std::pair<CallbackLog*, std::string>> vcTags;
  for (const Case& c : kCases) {
    vcTags.emplace_back(&m_log, c.szTag);
  }
  for (size_t i = 0; i < std::size(kCases); ++i) {
    CtSvcPersonFilter filter;
    CtSvcPersonFilterInit(&filter);
    filter.FilterIndexType = kCases[i].nIndexType;
    filter.nAccountId = kCases[i].nAccountId;
    filter.bLocalPhoneDataOnly = kCases[i].bLocalOnly;
    ASSERT_TRUE(CtSvcFastScrollRequestPersonLetters(&filter, &OnLetters, &vcTags[i]));
  }
  const std::vector<std::string> vcAnswers = m_log.WaitFor(std::size(kCases));
  ASSERT_EQ(std::size(kCases), vcAnswers.size());
  for (size_t i = 0; i < std::size(kCases); ++i) {
    EXPECT_EQ(std::string(kCases[i].szTag) + ":" + kCases[i].szLetters + " on CTSVC", vcAnswers[i]);
  }
}

TEST_F(ThreadsCtSvcTask, InvalidIndexTypeEndsWithItsMessageAndNoLetters) {
  AddPrimary("Ann", "Kidd", CTSVC_USE_TYPE_PHONE);
  zel::test::LogCapture capture;
  std::pair<CallbackLog*, std::string> tag{&m_log, "bad"};
  const CtSvcPrimaryFilter filter = PrimaryFilter(CTSVC_USE_TYPE_PHONE, 0);
  ASSERT_TRUE(CtSvcFastScrollRequestLetters(&filter, &OnLetters, &tag));
  EXPECT_EQ(std::vector<std::string>{"bad: on CTSVC"}, m_log.WaitFor(1));
  EXPECT_TRUE(capture.Contains("CCtSvcTaskJobFastScroll::DoWork - FilterIndexType(0) is invalid"));
  EXPECT_TRUE(capture.HasAssertion("NEVER_GET_HERE"));
}

TEST_F(ThreadsCtSvcTask, AnIdleTaskIsWokenByExactlyOneResumeMessage) {
  AddBlockingJob(m_log, "warm-up")->Release();
  m_log.WaitFor(2);
  ASSERT_TRUE(CCtSvcTaskMgr::Instance()->WaitForIdle(20000));
  zel::test::LogCapture capture;
  CBlockingJob* pFirst = AddBlockingJob(m_log, "a");
  CBlockingJob* pSecond = AddBlockingJob(m_log, "b");
  m_log.WaitFor(3);
  pFirst->Release();
  m_log.WaitFor(5);
  pSecond->Release();
  m_log.WaitFor(6);
  ASSERT_TRUE(CCtSvcTaskMgr::Instance()->WaitForIdle(20000));
  EXPECT_EQ(1, capture.Count("ResumeTask::send resume event\n"));
  EXPECT_EQ(1, capture.Count("CCtSvcTaskMgr::__IdleTask : CTSVC_TASK_STATE_RESUME_REQ \n"));
}

TEST_F(ThreadsCtSvcTask, DestroyingTheManagerAbortsTheWorkingJobAndDropsTheQueue) {
  AddBlockingJob(m_log, "working");
  AddBlockingJob(m_log, "queued");
  m_log.WaitFor(1);
  CCtSvcTaskMgr::DestroyInstance();  // returns once the task has ended
  DrainEventHandler();
  EXPECT_EQ((std::vector<std::string>{"working works", "working done on CTSVC"}), m_log.WaitFor(2));
  EXPECT_FALSE(CtSvcTaskIsWorking());
}

TEST_F(ThreadsCtSvcTask, DeferredSearchRequestAndResultDestroyAnswerOnTheServiceHandler) {
  AddPrimary("Kim", "Lee", CTSVC_USE_TYPE_PHONE);
  ASSERT_TRUE(CtSvcSearchRequestSearch(0, "kim", 0));
  ASSERT_EQ(1, CtSvcSearchGetResultCount());
  auto onRequest = [](INT32 nType, INT32 nDevType, const char* pszText, INT32 nReserved, void* pUserData) {
    static_cast<CallbackLog*>(pUserData)->Add(std::to_string(nType) + "/" + std::to_string(nDevType) + "/" + pszText +
                                              "/" + std::to_string(nReserved) + " on " +
                                              TaskName());
  };
  auto onDestroy = [](void* pUserData) {
    static_cast<CallbackLog*>(pUserData)->Add("destroyed, count " + std::to_string(CtSvcSearchGetResultCount()));
  };
  ASSERT_TRUE(CtSvcSearchRequestSearchEx(0, 2, "ki mi", onRequest, &m_log));
  ASSERT_TRUE(CtSvcSearchDestroyResultEx(onDestroy, &m_log));
  ASSERT_TRUE(CtSvcSearchDestroyResultEx(nullptr, nullptr));
  EXPECT_EQ((std::vector<std::string>{"0/2/ki mi/0 on CTSVC", "destroyed, count -1"}), m_log.WaitFor(2));
}

TEST_F(ThreadsCtSvcTask, MissingArgumentsAreRefusedWithTheirAssertion) {
  zel::test::LogCapture capture;
  const CtSvcPrimaryFilter filter = PrimaryFilter(1, 1);
  const INT32 nAccount = 3;
  EXPECT_FALSE(CtSvcFastScrollRequestLetters(nullptr, &OnLetters, nullptr));
  EXPECT_FALSE(CtSvcFastScrollRequestLetters(&filter, nullptr, nullptr));
  EXPECT_FALSE(CtSvcFastScrollRequestPersonLetters(nullptr, &OnLetters, nullptr));
  EXPECT_FALSE(CtSvcSearchRequestSearchEx(0, 0, nullptr, nullptr, nullptr));
  EXPECT_FALSE(CtSvcTaskRequestDeleteAccount(1, nullptr, 1, nullptr, nullptr));
  EXPECT_FALSE(CtSvcTaskRequestDeleteAccount(1, &nAccount, 0, nullptr, nullptr));
  for (const char* szExpr : {"pFilter != NULL", "pfnCallback != NULL", "pszSearchText != NULL", "pAccountIds != NULL",
                             "nCount > 0"}) {
    EXPECT_TRUE(capture.HasAssertion(szExpr)) << szExpr;
  }
  EXPECT_FALSE(CtSvcTaskIsWorking());
}

int AccountPersons(int nAccountId) { return CountWhere("CtSvc/Person", "ACCOUNT_ID = " + std::to_string(nAccountId)); }

// Persons of an account, each on its own primary, with a number and a membership.
void AddContacts(int nAccountId, int nCount) {
  Db2CommitPause();
  for (int i = 0; i < nCount; ++i) {
    const int nPrimary = Row(CTSVC_DB_TABLE_PRIMARY)
                             .Ints({{CTSVC_DB_PRIMARY_COLUMN_DEVICE_TYPE, 1},
                                    {CTSVC_DB_PRIMARY_COLUMN_FIRST_ACCOUNT_ID, nAccountId},
                                    {CTSVC_DB_PRIMARY_COLUMN_LINK_COUNT, 1}})
                             .Insert("CtSvc/Primary");
    const int nPerson = Row(CTSVC_DB_TABLE_PERSON)
                            .Ints({{CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE, 1},
                                   {CTSVC_DB_PERSON_COLUMN_ACCOUNT_ID, nAccountId},
                                   {CTSVC_DB_PERSON_COLUMN_PRIMARY_ID, nPrimary}})
                            .Insert("CtSvc/Person");
    Row(CTSVC_DB_TABLE_CONTACTDATA)
        .Ints({{CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID, nPerson}, {CTSVC_DB_CONTACTDATA_COLUMN_PRIMARY_ID, nPrimary},
               {CTSVC_DB_CONTACTDATA_COLUMN_DEVICE_TYPE, 1}, {CTSVC_DB_CONTACTDATA_COLUMN_TYPE, 1},
               {CTSVC_DB_CONTACTDATA_COLUMN_ACCOUNT_ID, nAccountId}})
        .Insert("CtSvc/PhoneNumber");
    Row(CTSVC_DB_TABLE_GROUPMEMBER)
        .Ints({{CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID, nPerson}, {CTSVC_DB_GRPMEMBER_COLUMN_PRIMARY_ID, nPrimary},
               {CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID, 1}, {CTSVC_DB_GRPMEMBER_COLUMN_DEVICE_TYPE, 1},
               {CTSVC_DB_GRPMEMBER_COLUMN_ACCOUNT_ID, nAccountId}})
        .Insert("CtSvc/GroupMember");
  }
  Db2CommitResume();
  Db2Commit();
}

// Sees every batch delete of the account's persons: the persons each removed; onFirst runs
// inside the first one (while the job waits between two batches).
class CBatchObserver : public IContentObserver {
 public:
  CBatchObserver(int nAccountId, std::function<void()> onFirst)
      : m_nAccountId(nAccountId), m_nLeft(AccountPersons(nAccountId)), m_onFirst(std::move(onFirst)) {
    CContentMgr::Instance()->RegisterObserver("CtSvc/Person", this);
  }
  ~CBatchObserver() override { CContentMgr::Instance()->UnregisterObserver("CtSvc/Person", this); }
  void OnChange(int nChangeType, const std::string& /*strUri*/, int nId, intptr_t, int) override {
    if (nChangeType != CONTENT_CHANGE_DELETE || nId != -1) {
      return;
    }
    const int nLeft = AccountPersons(m_nAccountId);
    m_batches.Add(m_nLeft - nLeft);
    m_nLeft = nLeft;
    if (m_onFirst) {
      std::exchange(m_onFirst, nullptr)();
    }
  }
  ctsvc_test::SyncLog<int> m_batches;

 private:
  int m_nAccountId;
  int m_nLeft;  // touched by the one thread that deletes
  std::function<void()> m_onFirst;
};

TEST_F(ThreadsCtSvcTask, RemovesEveryRowOfTheAccountInBatchesOfFiftyWhileReadsGoOn) {
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
  CallbackLog read;
  CBatchObserver observer(7, [&read] { read.WaitFor(1); });
  // The answer comes on the handler current when the removal was asked for.
  WmSetCurrentEventHandler(WmGetEventHandlerByName("CTSVC"));
  const INT32 nAccount = 7;
  ASSERT_TRUE(CtSvcTaskRequestDeleteAccount(CTSVC_USE_TYPE_PHONE, &nAccount, 1, [](INT32 nResult, void* pUserData) {
    static_cast<CallbackLog*>(pUserData)->Add("result " + std::to_string(nResult) + " on " +
                                              TaskName());
  }, &m_log));
  WmSetCurrentEventHandler(INVALID_HOBJ);

  observer.m_batches.WaitFor(1);
  EXPECT_EQ(451, AccountPersons(7));  // read while the job waits between two batches
  EXPECT_EQ(1, CountWhere("CtSvc/DeleteAccount", "ACCOUNT_ID = 7"));
  EXPECT_TRUE(CtSvcSearchRequestSearch(0, "", 0));
  read.Add("done");

  EXPECT_EQ(std::vector<std::string>{"result 1 on CTSVC"}, m_log.WaitFor(1));
  const std::vector<int> vcBatches = observer.m_batches.Take();
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

TEST_F(ThreadsCtSvcTask, AbortedRemovalIsUndoneWholeAndStaysRecorded) {
  AddContacts(5, 120);
  CCtSvcTaskJobDeleteAccount early(CTSVC_USE_TYPE_PHONE, {5}, nullptr, nullptr);
  early.Abort();
  early.DoWork();
  EXPECT_EQ(120, AccountPersons(5));
  EXPECT_EQ(0, CountWhere("CtSvc/DeleteAccount", "ACCOUNT_ID = 5"));

  CCtSvcTaskJobDeleteAccount job(CTSVC_USE_TYPE_PHONE, {5}, nullptr, nullptr);
  {
    CBatchObserver observer(5, [&job] { job.Abort(); });
    job.DoWork();  // on this thread: the abort lands between the first and the second batch
  }
  EXPECT_EQ(0, job.GetResult());
  EXPECT_EQ(120, AccountPersons(5));  // the first batch went back with the rest
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
