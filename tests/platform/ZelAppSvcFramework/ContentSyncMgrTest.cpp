// Sync subscribers and the scoped platform mutex lock.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "ContentFramework.h"
#include "ZelCoreTest.h"
#include "ZelOs.h"

namespace {

struct Subscriber : IContentSyncSubscriber {
  std::string strLast;
  int OnSync(const std::string& strKey, const std::string& strAction, const std::string& strArg) override {
    strLast = strKey + "|" + strAction + "|" + strArg;
    return 7;
  }
};

// Registration, lookup and dispatch of the service's own subscriber are the sync observer tests';
// here the refusals.
TEST(ContentSyncMgr, RefusesSecondSubscribersAndUnknownKeys) {
  CContentSyncMgr* pMgr = CContentSyncMgr::Instance();
  Subscriber a;
  Subscriber b;
  ASSERT_TRUE(pMgr->RegisterSyncSubscriber("test.sync/friend", &a, 1));
  EXPECT_TRUE(pMgr->RegisterSyncSubscriber("test.sync/friend", &a, 1));
  EXPECT_FALSE(pMgr->RegisterSyncSubscriber("test.sync/friend", &b, 1));
  EXPECT_FALSE(pMgr->RegisterSyncSubscriber("", &b, 1));
  EXPECT_FALSE(pMgr->RegisterSyncSubscriber("test.sync/other", nullptr, 1));
  EXPECT_EQ(pMgr->Dispatch("test.sync/friend", "update", "12"), 7);
  EXPECT_EQ(a.strLast, "test.sync/friend|update|12");
  EXPECT_EQ(pMgr->Dispatch("test.sync/none", "update", ""), -1);
  EXPECT_FALSE(pMgr->UnregisterSyncSubscriber("test.sync/friend", &b));
  EXPECT_TRUE(pMgr->UnregisterSyncSubscriber("test.sync/friend", &a));
  EXPECT_EQ(pMgr->Dispatch("test.sync/friend", "update", ""), -1);
}

TEST(ThreadsContentSyncMgr, UnregisterWaitsForARunningDispatch) {
  struct Blocking : IContentSyncSubscriber {
    std::promise<void> entered;
    std::shared_future<void> release;
    std::atomic<bool>* pUnregistered = nullptr;
    std::atomic<bool>* pSaw = nullptr;
    int OnSync(const std::string&, const std::string&, const std::string&) override {
      entered.set_value();
      release.wait();
      pSaw->store(pUnregistered->load());
      return 1;
    }
  };
  std::promise<void> release;
  std::atomic<bool> bUnregistered{false};
  std::atomic<bool> bSaw{false};
  auto pSubscriber = std::make_unique<Blocking>();
  pSubscriber->release = release.get_future().share();
  pSubscriber->pUnregistered = &bUnregistered;
  pSubscriber->pSaw = &bSaw;
  std::future<void> entered = pSubscriber->entered.get_future();
  ASSERT_TRUE(CContentSyncMgr::Instance()->RegisterSyncSubscriber("test.sync/block", pSubscriber.get(), 1));

  std::thread dispatcher([] { CContentSyncMgr::Instance()->Dispatch("test.sync/block", "delete", "1"); });
  entered.wait();
  std::thread remover([&] {
    CContentSyncMgr::Instance()->UnregisterSyncSubscriber("test.sync/block", pSubscriber.get());
    bUnregistered = true;
    pSubscriber.reset();
  });
  release.set_value();
  dispatcher.join();
  remover.join();
  EXPECT_FALSE(bSaw);
}

TEST(AppSvcMutexLock, HoldsTheMutexForItsScopeAndToleratesBadHandles) {
  const HOBJ hMutex = OsCreateMutex("FwTestMutex");
  ASSERT_NE(hMutex, INVALID_HOBJ);
  auto lockedElsewhere = [hMutex] {
    return std::async(std::launch::async, [hMutex] {
             const bool bGot = OsTryLockMutex(hMutex) != FALSE;
             if (bGot) {
               OsUnlockMutex(hMutex);
             }
             return !bGot;
           })
        .get();
  };
  {
    CAppSvcMutexLock lock(hMutex);
    EXPECT_TRUE(lockedElsewhere());
    CAppSvcMutexLock again(hMutex);  // the platform mutex is recursive
  }
  EXPECT_FALSE(lockedElsewhere());

  zel::test::LogCapture log;
  { CAppSvcMutexLock bad(INVALID_HOBJ); }
  { CAppSvcMutexLock unset(ZEL_INVALID_HANDLE_VALUE); }
  EXPECT_EQ(log.Count("invalid mutex handle"), 2);
  OsDeleteMutex(hMutex);
}

}  // namespace
