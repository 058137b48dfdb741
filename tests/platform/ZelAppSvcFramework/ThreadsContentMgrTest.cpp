// Observers and factories used from several threads at once.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <set>
#include <thread>

#include "FakeProvider.h"

using fwtest::FakeFactory;
using fwtest::FakeStore;
using fwtest::NameInput;
using fwtest::RecordingObserver;

namespace {

class ThreadsContentMgr : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CContentMgr::Instance()->RegisterHandler("FakeT", &m_factory)); }
  void TearDown() override { CContentMgr::Instance()->UnregisterHandler("FakeT"); }
  static int Add() {
    CContentInput input = NameInput(u"x");
    return CContentMgr::Instance()->Insert("FakeT/Items", input);
  }

  FakeStore m_store;
  FakeFactory m_factory{m_store, "FakeT"};
};

// Blocks inside OnChange until released.
struct BlockingObserver : IContentObserver {
  std::promise<void> entered;
  std::shared_future<void> release;
  std::atomic<bool>* pUnregistered = nullptr;
  std::atomic<bool>* pSawUnregistered = nullptr;
  std::atomic<bool> bEntered{false};
  void OnChange(int, const std::string&, int, intptr_t, int) override {
    if (bEntered.exchange(true)) {
      return;
    }
    entered.set_value();
    release.wait();
    pSawUnregistered->store(pUnregistered->load());
  }
};

TEST_F(ThreadsContentMgr, UnregisterWaitsForARunningOnChangeBeforeTheObserverGoes) {
  std::promise<void> release;
  std::atomic<bool> bUnregistered{false};
  std::atomic<bool> bSawUnregistered{false};
  auto pObserver = std::make_unique<BlockingObserver>();
  pObserver->release = release.get_future().share();
  pObserver->pUnregistered = &bUnregistered;
  pObserver->pSawUnregistered = &bSawUnregistered;
  std::future<void> entered = pObserver->entered.get_future();
  ASSERT_TRUE(CContentMgr::Instance()->RegisterObserver("FakeT/Items", pObserver.get()));

  std::thread writer([] { Add(); });
  entered.wait();
  std::thread remover([&] {
    CContentMgr::Instance()->UnregisterObserver("FakeT/Items", pObserver.get());
    bUnregistered = true;
    pObserver.reset();  // as an owner does once unregistering returned
  });
  release.set_value();
  writer.join();
  remover.join();
  EXPECT_FALSE(bSawUnregistered);
  EXPECT_EQ(pObserver, nullptr);
}

TEST_F(ThreadsContentMgr, ObserversAndFactoriesComeAndGoWhileChangesAreReported) {
  constexpr int kWrites = 300;
  RecordingObserver steady;
  ASSERT_TRUE(CContentMgr::Instance()->RegisterObserver("FakeT", &steady));
  std::atomic<bool> bDone{false};
  auto churnObservers = [&] {
    while (!bDone) {
      auto pObserver = std::make_unique<RecordingObserver>();
      CContentMgr::Instance()->RegisterObserver("FakeT/Items", pObserver.get());
      CContentMgr::Instance()->UnregisterObserver("FakeT/Items", pObserver.get());
    }
  };
  auto churnFactories = [&] {
    FakeStore store;
    FakeFactory factory(store, "Churn");
    while (!bDone) {
      CContentMgr::Instance()->RegisterHandler("Churn", &factory);
      CContentInput input = NameInput(u"y");
      CContentMgr::Instance()->Insert("Churn/Items", input);
      CContentMgr::Instance()->UnregisterHandler("Churn");
    }
  };
  std::thread t1(churnObservers);
  std::thread t2(churnObservers);
  std::thread t3(churnFactories);
  std::set<int> ids;
  for (int i = 0; i < kWrites; ++i) {
    ids.insert(Add());
  }
  bDone = true;
  t1.join();
  t2.join();
  t3.join();
  EXPECT_EQ(ids.size(), static_cast<size_t>(kWrites));
  EXPECT_EQ(steady.Take().size(), static_cast<size_t>(kWrites));
  CContentMgr::Instance()->UnregisterObserver("FakeT", &steady);
}

TEST_F(ThreadsContentMgr, EveryWriterSeesItsOwnNoticesOnItsOwnThread) {
  constexpr int kThreads = 3;
  constexpr int kWrites = 200;
  struct ThreadChecker : IContentObserver {
    std::mutex mutex;
    std::map<std::thread::id, std::set<int>> seen;
    void OnChange(int, const std::string&, int nId, intptr_t, int) override {
      std::lock_guard<std::mutex> lock(mutex);
      seen[std::this_thread::get_id()].insert(nId);
    }
  } checker;
  ASSERT_TRUE(CContentMgr::Instance()->RegisterObserver("FakeT/Items", &checker));
  std::vector<std::thread> threads;
  std::vector<std::set<int>> written(kThreads);
  std::vector<std::thread::id> threadIds(kThreads);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      threadIds[static_cast<size_t>(t)] = std::this_thread::get_id();
      for (int i = 0; i < kWrites; ++i) {
        written[static_cast<size_t>(t)].insert(Add());
      }
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  CContentMgr::Instance()->UnregisterObserver("FakeT/Items", &checker);
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(written[static_cast<size_t>(t)].size(), static_cast<size_t>(kWrites));
    EXPECT_EQ(checker.seen[threadIds[static_cast<size_t>(t)]], written[static_cast<size_t>(t)]);
  }
}

}  // namespace
