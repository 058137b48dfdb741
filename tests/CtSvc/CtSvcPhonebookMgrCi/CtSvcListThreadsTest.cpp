// A list callback hears changes of the list's rows made on any task, until the list is destroyed.
#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "ListTestSupport.h"
#include "ZelCoreTest.h"
#include "ZelOs.h"

namespace {

using namespace ctsvc_list_test;
using Notices = std::vector<std::pair<INT32, INT32>>;

// List callbacks get no user data: the notices go to one recorder.
std::mutex g_mutex;
Notices g_vcNotices;

void OnListChange(INT32 nCode, INT32 nId, void* /*pInfo*/, void* pUserData) {
  EXPECT_EQ(nullptr, pUserData);
  std::lock_guard<std::mutex> lock(g_mutex);
  g_vcNotices.emplace_back(nCode, nId);
}

Notices TakeNotices() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return std::exchange(g_vcNotices, {});
}

// Stores a person on a new thread named as the task pszName; its id.
int AddPersonOnTask(const char* pszName) {
  int nId = -1;
  std::thread thread([&] {
    OsSetCurrentTaskName(pszName);
    nId = AddNamed("Ann", "Doe").GetRecordId();
  });
  thread.join();
  return nId;
}

class ThreadsCtSvcListTest : public ListTest {};

TEST_F(ThreadsCtSvcListTest, CallbackHearsChangesOfTheListUntilItIsDestroyed) {
  TakeNotices();
  zel::test::LogCapture capture;
  const INT32 h = CtSvcContactListCreate(nullptr, &OnListChange);
  ASSERT_EQ(0, h);
  EXPECT_TRUE(capture.Contains("CtSvcContactListCreate - observer registered\n"));

  const int nId = AddPersonOnTask("Korin");  // called at once on the user-interface task
  EXPECT_EQ((Notices{{CTSVC_DB_LISTENER_CHANGE_INSERTED, nId}}), TakeNotices());
  EXPECT_EQ(1, CtSvcContactListGetCount(h));
  const int nOther = AddPersonOnTask("Writer");  // relayed through the service's task
  DrainEventHandler();
  EXPECT_EQ((Notices{{CTSVC_DB_LISTENER_CHANGE_INSERTED, nOther}}), TakeNotices());

  ASSERT_TRUE(CtSvcContactListDestroy(h));
  AddPersonOnTask("Korin");
  DrainEventHandler();
  EXPECT_TRUE(TakeNotices().empty());
}

}  // namespace
