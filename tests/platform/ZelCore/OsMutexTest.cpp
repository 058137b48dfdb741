#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "CoreTestSupport.h"
#include "ZelCoreTest.h"
#include "ZelOs.h"

namespace {

using zel::coretest::Gate;

// A locked entry point calling another locked entry point, as the service's functions do.
int LockedDepth(HOBJ hMutex, int nDepth) {
  if (!OsLockMutex(hMutex)) {
    return -1;
  }
  const int n = nDepth == 0 ? 0 : 1 + LockedDepth(hMutex, nDepth - 1);
  OsUnlockMutex(hMutex);
  return n;
}

TEST(ThreadsOsMutex, HolderReentersAndOthersWaitUntilTheLastUnlock) {
  const HOBJ h = OsCreateMutex("CtSvc");
  ASSERT_NE(h, INVALID_HOBJ);
  ASSERT_TRUE(OsLockMutex(h));
  EXPECT_EQ(LockedDepth(h, 5), 5);
  EXPECT_TRUE(OsTryLockMutex(h));  // re-entry through try-lock as well

  std::atomic<int> nOther{-1};
  std::thread probe([&] { nOther = OsTryLockMutex(h); });
  probe.join();
  EXPECT_EQ(nOther.load(), FALSE);

  EXPECT_TRUE(OsUnlockMutex(h));  // still held once
  std::thread probe2([&] { nOther = OsTryLockMutex(h); });
  probe2.join();
  EXPECT_EQ(nOther.load(), FALSE);

  EXPECT_TRUE(OsUnlockMutex(h));
  EXPECT_FALSE(OsUnlockMutex(h));  // not held any more
  std::thread probe3([&] {
    nOther = OsTryLockMutex(h);
    OsUnlockMutex(h);
  });
  probe3.join();
  EXPECT_EQ(nOther.load(), TRUE);
  EXPECT_TRUE(OsDeleteMutex(h));
}

TEST(ThreadsOsMutex, ProvidesMutualExclusion) {
  const HOBJ h = OsCreateMutex("Counter");
  int nCounter = 0;  // deliberately not atomic
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 2000; ++i) {
        OsLockMutex(h);
        OsLockMutex(h);
        ++nCounter;
        OsUnlockMutex(h);
        OsUnlockMutex(h);
      }
    });
  }
  for (auto& t : threads) {
    t.join();
  }
  EXPECT_EQ(nCounter, 8000);
  EXPECT_TRUE(OsDeleteMutex(h));
}

TEST(ThreadsOsMutex, UnlockByANonHolderIsRefused) {
  zel::test::LogCapture log;
  const HOBJ h = OsCreateMutex("Owned");
  ASSERT_TRUE(OsLockMutex(h));
  std::atomic<int> nResult{-1};
  std::thread other([&] { nResult = OsUnlockMutex(h); });
  other.join();
  EXPECT_EQ(nResult.load(), FALSE);
  EXPECT_TRUE(log.Contains("not held by this thread"));
  EXPECT_TRUE(OsUnlockMutex(h));
  EXPECT_TRUE(OsDeleteMutex(h));
}

TEST(ThreadsOsMutex, DeletingAMutexHeldByAnotherThreadFailsItsWaiters) {
  const HOBJ h = OsCreateMutex("Doomed");
  Gate held;
  Gate release;
  std::atomic<int> nHolderUnlock{-1};
  std::thread holder([&] {
    OsLockMutex(h);
    held.Open();
    release.Wait();
    nHolderUnlock = OsUnlockMutex(h);
  });
  ASSERT_TRUE(held.Wait());
  std::atomic<int> nWaiter{-1};
  std::thread waiter([&] { nWaiter = OsLockMutex(h); });  // blocks (or finds it deleted)
  EXPECT_TRUE(OsDeleteMutex(h));
  waiter.join();  // woken by the deletion while the holder still holds it
  EXPECT_EQ(nWaiter.load(), FALSE);
  release.Open();
  holder.join();
  EXPECT_EQ(nHolderUnlock.load(), FALSE);  // the handle is gone; nothing stays locked
  EXPECT_FALSE(OsLockMutex(h));
  EXPECT_FALSE(OsDeleteMutex(h));
}

TEST(ThreadsOsMutex, InvalidHandlesAreRefused) {
  for (HOBJ h : {INVALID_HOBJ, 0, ZEL_INVALID_HANDLE_VALUE}) {
    EXPECT_FALSE(OsLockMutex(h));
    EXPECT_FALSE(OsTryLockMutex(h));
    EXPECT_FALSE(OsUnlockMutex(h));
    EXPECT_FALSE(OsDeleteMutex(h));
  }
  const HOBJ task = OsCreateTask("NotAMutex", 0, 0, [](void*) {}, 0, nullptr);
  EXPECT_FALSE(OsLockMutex(task));  // a handle of another kind
  OsDeleteTask(task);
}

}  // namespace
