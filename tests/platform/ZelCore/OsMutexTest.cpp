#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "CoreTestSupport.h"
#include "ZelCoreTest.h"
#include "ZelOs.h"

namespace {

using zel::coretest::Gate;
using zel::coretest::RunOnThreads;

// A locked entry point calling another locked entry point, as the service's functions do.
int LockedDepth(HOBJ hMutex, int nDepth) {
  if (!OsLockMutex(hMutex)) {
    return -1;
  }
  const int n = nDepth == 0 ? 0 : 1 + LockedDepth(hMutex, nDepth - 1);
  OsUnlockMutex(hMutex);
  return n;
}

// The answer of fn run on a thread of its own.
int OnOtherThread(const std::function<int()>& fn) {
  int n = -1;
  std::thread([&] { n = fn(); }).join();
  return n;
}

TEST(ThreadsOsMutex, HolderReentersAndOthersCanNeitherLockNorUnlockUntilItsLastUnlock) {
  zel::test::LogCapture log;
  const HOBJ h = OsCreateMutex("CtSvc");
  ASSERT_NE(h, INVALID_HOBJ);
  ASSERT_TRUE(OsLockMutex(h));
  EXPECT_EQ(LockedDepth(h, 5), 5);
  EXPECT_TRUE(OsTryLockMutex(h));  // re-entry through try-lock as well
  EXPECT_EQ(OnOtherThread([h] { return OsTryLockMutex(h); }), FALSE);
  EXPECT_EQ(OnOtherThread([h] { return OsUnlockMutex(h); }), FALSE);
  EXPECT_TRUE(log.Contains("not held by this thread"));

  EXPECT_TRUE(OsUnlockMutex(h));  // still held once
  EXPECT_EQ(OnOtherThread([h] { return OsTryLockMutex(h); }), FALSE);
  EXPECT_TRUE(OsUnlockMutex(h));
  EXPECT_FALSE(OsUnlockMutex(h));  // not held any more
  EXPECT_EQ(OnOtherThread([h] { return OsTryLockMutex(h) + OsUnlockMutex(h); }), 2);
  EXPECT_TRUE(OsDeleteMutex(h));
}

TEST(ThreadsOsMutex, ProvidesMutualExclusion) {
  const HOBJ h = OsCreateMutex("Counter");
  int nCounter = 0;  // deliberately not atomic
  RunOnThreads(4, [&](int) {
    for (int i = 0; i < 2000; ++i) {
      OsLockMutex(h);
      OsLockMutex(h);
      ++nCounter;
      OsUnlockMutex(h);
      OsUnlockMutex(h);
    }
  });
  EXPECT_EQ(nCounter, 8000);
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

}  // namespace
