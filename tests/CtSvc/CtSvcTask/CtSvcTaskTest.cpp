#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcSearch.h"
#include "CtSvcTask.h"
#include "CtSvcTaskTestSupport.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"

namespace {

using ctsvc_test::CallbackLog;

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
    pRequest->first->Add(pRequest->second + ":" + strLetters + " on " + ctsvc_test::CBlockingJob::TaskName());
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
  ctsvc_test::CBlockingJob* pJob = ctsvc_test::AddBlockingJob(m_log, "job");
  m_log.WaitFor(1);
  EXPECT_TRUE(CtSvcTaskIsWorking());
  pJob->Release();
  EXPECT_EQ((std::vector<std::string>{"job works", "job done on CTSVC"}), m_log.WaitFor(2));
  ASSERT_TRUE(CCtSvcTaskMgr::Instance()->WaitForIdle(20000));
  EXPECT_FALSE(CtSvcTaskIsWorking());
}

TEST_F(ThreadsCtSvcTask, QueuedRequestsRunOneAfterAnotherAndAnswerOnTheServiceHandler) {
  AddPrimary("Ann", "Kidd", CTSVC_USE_TYPE_PHONE);
  AddPrimary("Kim", "Min-ji", CTSVC_USE_TYPE_PHONE);
  AddPrimary("Zed", "Kilo", CTSVC_USE_TYPE_SIM);
  zel::test::LogCapture capture;
  ctsvc_test::CBlockingJob* pJob = ctsvc_test::AddBlockingJob(m_log, "first");
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
  ctsvc_test::AddBlockingJob(m_log, "warm-up")->Release();
  m_log.WaitFor(2);
  ASSERT_TRUE(CCtSvcTaskMgr::Instance()->WaitForIdle(20000));
  zel::test::LogCapture capture;
  ctsvc_test::CBlockingJob* pFirst = ctsvc_test::AddBlockingJob(m_log, "a");
  ctsvc_test::CBlockingJob* pSecond = ctsvc_test::AddBlockingJob(m_log, "b");
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
  ctsvc_test::AddBlockingJob(m_log, "working");
  ctsvc_test::AddBlockingJob(m_log, "queued");
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
                                              ctsvc_test::CBlockingJob::TaskName());
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

}  // namespace
