// List callbacks and lists used from several threads.
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

// List callbacks get no user data: the notices go to one recorder.
std::mutex g_mutex;
std::vector<std::pair<INT32, INT32>> g_vcNotices;

void OnListChange(INT32 nCode, INT32 nId, void* /*pInfo*/, void* pUserData) {
  EXPECT_EQ(nullptr, pUserData);
  std::lock_guard<std::mutex> lock(g_mutex);
  g_vcNotices.emplace_back(nCode, nId);
}

std::vector<std::pair<INT32, INT32>> TakeNotices() {
  std::lock_guard<std::mutex> lock(g_mutex);
  std::vector<std::pair<INT32, INT32>> vcNotices;
  vcNotices.swap(g_vcNotices);
  return vcNotices;
}

// Runs f on a new thread named as the task pszName and waits for it.
template <class F>
void RunOnTask(const char* pszName, F f) {
  std::thread thread([&] {
    OsSetCurrentTaskName(pszName);
    f();
  });
  thread.join();
}

class ThreadsCtSvcListTest : public ListTest {};

TEST_F(ThreadsCtSvcListTest, CallbackHearsChangesOfTheListUntilItIsDestroyed) {
  TakeNotices();
  zel::test::LogCapture capture;
  const INT32 h = CtSvcContactListCreate(nullptr, &OnListChange);
  ASSERT_EQ(0, h);
  EXPECT_TRUE(capture.Contains("CtSvcContactListCreate - observer registered\n"));

  int nId = -1;
  RunOnTask("Korin", [&] { nId = AddPerson("Ann", "Doe").GetRecordId(); });
  EXPECT_EQ((std::vector<std::pair<INT32, INT32>>{{CTSVC_DB_LISTENER_CHANGE_INSERTED, nId}}), TakeNotices());
  EXPECT_EQ(1, CtSvcContactListGetCount(h));

  RunOnTask("Writer", [&] { AddPerson("Bob", "Doe"); });  // relayed through the service's task
  DrainEventHandler();
  EXPECT_EQ(1u, TakeNotices().size());

  ASSERT_TRUE(CtSvcContactListDestroy(h));
  RunOnTask("Korin", [&] { AddPerson("Cid", "Doe"); });
  EXPECT_TRUE(TakeNotices().empty());
}

TEST_F(ThreadsCtSvcListTest, ThreadsSharingTheTableNeverGetTheSameSlot) {
  AddPerson("Ann", "Doe");
  constexpr int kThreads = 4;
  constexpr int kRounds = 50;
  std::vector<std::thread> vcThreads;
  std::mutex mutex;
  std::vector<int> vcOwners(CTSVC_PHONEBOOK_LIST_MAX, -1);
  int nErrors = 0;
  for (int t = 0; t < kThreads; ++t) {
    vcThreads.emplace_back([&, t] {
      for (int i = 0; i < kRounds; ++i) {
        const INT32 h = CtSvcContactListCreate(nullptr, &OnListChange);
        std::unique_lock<std::mutex> lock(mutex);
        if (h < 0 || vcOwners[h] != -1) {
          ++nErrors;
          continue;
        }
        vcOwners[h] = t;
        lock.unlock();
        const bool bRead = CtSvcContactListGetCount(h) == 1;
        lock.lock();
        vcOwners[h] = -1;
        nErrors += bRead ? 0 : 1;
        lock.unlock();
        CtSvcContactListDestroy(h);
      }
    });
  }
  for (std::thread& thread : vcThreads) {
    thread.join();
  }
  EXPECT_EQ(0, nErrors);
  EXPECT_EQ(0, CtSvcContactListCreate(nullptr, nullptr));
}

}  // namespace
