#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "../ZelCore/CoreTestSupport.h"
#include "MyAccountSvc.h"
#include "ZelCoreTest.h"
#include "ZelWm.h"

namespace {

using zel::coretest::FunctionHandler;
using zel::coretest::Recorder;
using zel::coretest::TempDataDir;

struct Call {
  char cWhat;  // 'r' removed, 'u' updated
  INT32 nOrder;
  UINT32 nFlags;
  std::thread::id thread;
};

Recorder<Call>* g_pCalls = nullptr;  // the running test's

void OnRemoved(const MyAccount* p) { g_pCalls->Add(Call{'r', p->nOrder, p->nFlags, std::this_thread::get_id()}); }
void OnUpdated(const MyAccount* p) { g_pCalls->Add(Call{'u', p->nOrder, p->nFlags, std::this_thread::get_id()}); }

MyAccount Account(INT32 nOrder, INT32 nKind, UINT32 nFlags, const char* pszName) {
  MyAccount account{};
  account.nOrder = nOrder;
  account.nKind = nKind;
  account.nFlags = nFlags;
  std::strncpy(account.szName, pszName, sizeof(account.szName) - 1);
  return account;
}

std::vector<INT32> Orders() {
  std::vector<MyAccount> accounts(static_cast<size_t>(MyAccountSvcGetCount()));
  const int n = MyAccountSvcGetList(accounts.data(), static_cast<int>(accounts.size()));
  std::vector<INT32> orders;
  for (int i = 0; i < n; ++i) {
    orders.push_back(accounts[static_cast<size_t>(i)].nOrder);
  }
  return orders;
}

class MyAccountSvcTest : public ::testing::Test {
 protected:
  void SetUp() override { g_pCalls = &m_calls; }
  void TearDown() override {
    MyAccountSvcUnregisterNotification(&OnRemoved, &OnUpdated);
    g_pCalls = nullptr;
  }
  TempDataDir m_dir;
  Recorder<Call> m_calls;
};

// Suites that deliver through event-handler threads.
using ThreadsMyAccountSvc = MyAccountSvcTest;

TEST_F(MyAccountSvcTest, ListKeepsOrderRefusesBadAccountsAndPersistsPerDataDirectory) {
  const MyAccount a = Account(3, MYACCOUNT_KIND_SNS, MYACCOUNT_FLAG_CONTACT_SYNC, "friends");
  ASSERT_TRUE(MyAccountSvcAddAccount(&a));
  for (INT32 nOrder : {9, 1}) {
    const MyAccount other = Account(nOrder, 1, 0, "mail");
    ASSERT_TRUE(MyAccountSvcAddAccount(&other));
  }
  EXPECT_EQ(Orders(), (std::vector<INT32>{3, 9, 1}));  // the order of adding, not of ids

  MyAccount bad = Account(9, 1, 0, "taken");
  EXPECT_FALSE(MyAccountSvcAddAccount(&bad));
  bad.nOrder = 0;
  EXPECT_FALSE(MyAccountSvcAddAccount(&bad));
  bad.nOrder = 20;
  std::memset(bad.szName, 'x', sizeof(bad.szName));  // no terminator
  EXPECT_FALSE(MyAccountSvcAddAccount(&bad));
  EXPECT_FALSE(MyAccountSvcAddAccount(nullptr));

  MyAccount got{};
  ASSERT_TRUE(MyAccountSvcGetAccountById(3, &got));
  EXPECT_EQ(got.nKind, MYACCOUNT_KIND_SNS);
  EXPECT_EQ(got.nFlags, MYACCOUNT_FLAG_CONTACT_SYNC);
  EXPECT_STREQ(got.szName, "friends");
  EXPECT_FALSE(MyAccountSvcGetAccountById(4, &got));
  EXPECT_EQ(MyAccountSvcGetIndexById(1), 2);
  EXPECT_EQ(MyAccountSvcGetIndexById(4), -1);
  ASSERT_TRUE(MyAccountSvcGetAt(1, &got));
  EXPECT_EQ(got.nOrder, 9);
  EXPECT_FALSE(MyAccountSvcGetAt(3, &got));

  ASSERT_TRUE(MyAccountSvcRemoveAccount(9));
  EXPECT_FALSE(MyAccountSvcRemoveAccount(9));
  EXPECT_EQ(Orders(), (std::vector<INT32>{3, 1}));
  {
    TempDataDir other;  // another data directory has its own, empty list
    EXPECT_EQ(MyAccountSvcGetCount(), 0);
  }
  // Back in the first directory: read back from its file.
  EXPECT_EQ(Orders(), (std::vector<INT32>{3, 1}));
  ASSERT_TRUE(MyAccountSvcGetAccountById(3, &got));
  EXPECT_STREQ(got.szName, "friends");
}

TEST_F(MyAccountSvcTest, WithoutCurrentHandlerCallbacksRunSynchronouslyOncePerRegistration) {
  const MyAccount a = Account(5, MYACCOUNT_KIND_SNS, MYACCOUNT_FLAG_CONTACT_SYNC, "sns");
  ASSERT_TRUE(MyAccountSvcAddAccount(&a));
  ASSERT_TRUE(MyAccountSvcRegisterNotification(&OnRemoved, &OnUpdated));
  ASSERT_TRUE(MyAccountSvcRegisterNotification(&OnRemoved, &OnUpdated));  // same pair: still one
  EXPECT_FALSE(MyAccountSvcRegisterNotification(nullptr, nullptr));

  MyAccount changed = a;
  changed.nFlags = 0;
  ASSERT_TRUE(MyAccountSvcUpdateAccount(&changed));
  ASSERT_TRUE(MyAccountSvcRemoveAccount(5));
  const std::vector<Call> calls = m_calls.Values();  // no waiting: delivered before returning
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].cWhat, 'u');
  EXPECT_EQ(calls[0].nFlags, 0u);
  EXPECT_EQ(calls[1].cWhat, 'r');
  EXPECT_EQ(calls[1].nOrder, 5);
  EXPECT_EQ(calls[1].thread, std::this_thread::get_id());

  EXPECT_FALSE(MyAccountSvcUpdateAccount(&changed));  // gone
  ASSERT_TRUE(MyAccountSvcUnregisterNotification(&OnRemoved, &OnUpdated));
  EXPECT_FALSE(MyAccountSvcUnregisterNotification(&OnRemoved, &OnUpdated));
  ASSERT_TRUE(MyAccountSvcAddAccount(&a));
  ASSERT_TRUE(MyAccountSvcRemoveAccount(5));
  EXPECT_EQ(m_calls.Values().size(), 2u);
}

TEST_F(ThreadsMyAccountSvc, RegistrationOnAHandlerIsNotifiedOnItsThreadUntilTheHandlerIsGone) {
  const MyAccount a = Account(8, 1, 0, "work");
  {
    std::thread::id handlerThread;
    FunctionHandler handler("AccountTest", [&](WmEHState* pState, WmEvent* pEvent) {
      handlerThread = std::this_thread::get_id();
      if (pEvent->nEventId == MYACCOUNTSVC_EVENT_NOTIFY) {
        MyAccountSvcHandleEvent(pState, pEvent);
      }
    });
    ASSERT_TRUE(WmSetCurrentEventHandler(handler.Handle()));
    ASSERT_TRUE(MyAccountSvcRegisterNotification(&OnRemoved, &OnUpdated));
    WmSetCurrentEventHandler(INVALID_HOBJ);
    ASSERT_TRUE(MyAccountSvcAddAccount(&a));
    ASSERT_TRUE(MyAccountSvcRemoveAccount(8));
    ASSERT_TRUE(handler.WaitIdle());
    const std::vector<Call> calls = m_calls.Values();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].cWhat, 'r');
    EXPECT_EQ(calls[0].nOrder, 8);
    EXPECT_EQ(calls[0].thread, handlerThread);
  }
  ASSERT_TRUE(MyAccountSvcAddAccount(&a));
  zel::test::LogCapture capture;
  ASSERT_TRUE(MyAccountSvcRemoveAccount(8));
  EXPECT_TRUE(capture.Contains("notification of account 8 dropped"));
  EXPECT_EQ(m_calls.Values().size(), 1u);
}

}  // namespace
