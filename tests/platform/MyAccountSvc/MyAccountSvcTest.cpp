#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "MyAccountSvc.h"
#include "ZelCoreTest.h"
#include "ZelFm.h"
#include "ZelWm.h"

namespace {

// A fresh data directory for one test, removed afterwards.
class DataDir {
 public:
  DataDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "myaccount-XXXXXX").string();
    m_path = mkdtemp(tmpl.data());
    ZelSetDataDir(m_path.c_str());
  }
  ~DataDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

// A handler that routes account notifications, in a group of its own.
class NotifyHandler {
 public:
  NotifyHandler() {
    m_hGroup = WmCreateEHGroup("AccountTestGroup");
    const WmEventMapEntry map[] = {{MYACCOUNTSVC_EVENT_NOTIFY, MYACCOUNTSVC_EVENT_NOTIFY, &MyAccountSvcHandleEvent}};
    m_hHandler = WmCreateEventHandler(m_hGroup, "AccountTest", map, 1, nullptr);
  }
  ~NotifyHandler() { WmDeleteEHGroup(m_hGroup); }
  HOBJ Handle() const { return m_hHandler; }
  bool WaitIdle() const { return WmWaitEventHandlerIdle(m_hHandler, 10000) == 1; }

 private:
  HOBJ m_hGroup = INVALID_HOBJ;
  HOBJ m_hHandler = INVALID_HOBJ;
};

struct Call {
  char cWhat;  // 'r' removed, 'u' updated
  INT32 nOrder;
  UINT32 nFlags;
  std::thread::id thread;
};

std::mutex g_callsMutex;
std::vector<Call> g_calls;

void Record(char cWhat, const MyAccount* pAccount) {
  std::lock_guard<std::mutex> lock(g_callsMutex);
  g_calls.push_back(Call{cWhat, pAccount->nOrder, pAccount->nFlags, std::this_thread::get_id()});
}
void OnRemoved(const MyAccount* pAccount) { Record('r', pAccount); }
void OnUpdated(const MyAccount* pAccount) { Record('u', pAccount); }

std::vector<Call> TakeCalls() {
  std::lock_guard<std::mutex> lock(g_callsMutex);
  std::vector<Call> calls;
  calls.swap(g_calls);
  return calls;
}

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
  void SetUp() override { TakeCalls(); }
  void TearDown() override {
    MyAccountSvcUnregisterNotification(&OnRemoved, &OnUpdated);
    TakeCalls();
  }
  DataDir m_dir;
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
    DataDir other;  // another data directory has its own, empty list
    EXPECT_EQ(MyAccountSvcGetCount(), 0);
  }
  ZelSetDataDir(m_dir.Path().c_str());  // read back from the file
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
  const std::vector<Call> calls = TakeCalls();
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
  EXPECT_TRUE(TakeCalls().empty());
}

TEST_F(ThreadsMyAccountSvc, RegistrationOnAHandlerIsNotifiedOnItsThread) {
  NotifyHandler handler;
  ASSERT_NE(handler.Handle(), INVALID_HOBJ);
  ASSERT_TRUE(WmSetCurrentEventHandler(handler.Handle()));
  ASSERT_TRUE(MyAccountSvcRegisterNotification(&OnRemoved, &OnUpdated));
  WmSetCurrentEventHandler(INVALID_HOBJ);

  const MyAccount a = Account(8, 1, 0, "work");
  ASSERT_TRUE(MyAccountSvcAddAccount(&a));
  ASSERT_TRUE(MyAccountSvcRemoveAccount(8));
  ASSERT_TRUE(handler.WaitIdle());
  const std::vector<Call> calls = TakeCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].cWhat, 'r');
  EXPECT_EQ(calls[0].nOrder, 8);
  EXPECT_NE(calls[0].thread, std::this_thread::get_id());
}

TEST_F(ThreadsMyAccountSvc, NotificationForADeletedHandlerIsDroppedWithALogLine) {
  {
    NotifyHandler handler;
    ASSERT_TRUE(WmSetCurrentEventHandler(handler.Handle()));
    ASSERT_TRUE(MyAccountSvcRegisterNotification(&OnRemoved, &OnUpdated));
    WmSetCurrentEventHandler(INVALID_HOBJ);
  }
  const MyAccount a = Account(2, 1, 0, "old");
  ASSERT_TRUE(MyAccountSvcAddAccount(&a));
  zel::test::LogCapture capture;
  ASSERT_TRUE(MyAccountSvcRemoveAccount(2));
  EXPECT_TRUE(capture.Contains("notification of account 2 dropped"));
  EXPECT_TRUE(TakeCalls().empty());
}

}  // namespace
