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

TEST_F(ThreadsContentMgr, UnregisterWaitsForARunningOnChangeBeforeTheObserverGoes) {
  // Blocks inside its first OnChange until released, then notes whether it was unregistered.
  struct BlockingObserver : IContentObserver {
    std::promise<void> entered;
    std::shared_future<void> release;
    std::atomic<bool>* pUnregistered = nullptr;
    std::atomic<bool>* pSawUnregistered = nullptr;
    std::atomic<bool> bEntered{false};
    void OnChange(int, const std::string&, int, intptr_t, int) override {
      if (!bEntered.exchange(true)) {
        entered.set_value();
        release.wait();
        pSawUnregistered->store(pUnregistered->load());
      }
    }
  };
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

// Several writers while observers and a factory come and go: every writer hears each of its own
// inserts, on its own thread, and nothing else reaches it.
TEST_F(ThreadsContentMgr, EveryWriterHearsItsOwnNoticesWhileObserversAndFactoriesChurn) {
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
  ASSERT_TRUE(CContentMgr::Instance()->RegisterObserver("FakeT", &checker));
  std::atomic<bool> bDone{false};
  std::thread churnObservers([&] {
    while (!bDone) {
      RecordingObserver passing;
      CContentMgr::Instance()->RegisterObserver("FakeT/Items", &passing);
      CContentMgr::Instance()->UnregisterObserver("FakeT/Items", &passing);
    }
  });
  std::thread churnFactories([&] {
    FakeStore store;
    FakeFactory factory(store, "Churn");
    while (!bDone) {
      CContentMgr::Instance()->RegisterHandler("Churn", &factory);
      CContentInput input = NameInput(u"y");
      CContentMgr::Instance()->Insert("Churn/Items", input);
      CContentMgr::Instance()->UnregisterHandler("Churn");
    }
  });
  std::vector<std::thread> writers;
  std::vector<std::set<int>> written(kThreads);
  std::vector<std::thread::id> threadIds(kThreads);
  for (size_t t = 0; t < kThreads; ++t) {
    writers.emplace_back([&, t] {
      threadIds[t] = std::this_thread::get_id();
      for (int i = 0; i < kWrites; ++i) {
        written[t].insert(Add());
      }
    });
  }
  for (auto& thread : writers) {
    thread.join();
  }
  bDone = true;
  churnObservers.join();
  churnFactories.join();
  CContentMgr::Instance()->UnregisterObserver("FakeT", &checker);
  EXPECT_EQ(checker.seen.size(), static_cast<size_t>(kThreads));
  for (size_t t = 0; t < kThreads; ++t) {
    EXPECT_EQ(written[t].size(), static_cast<size_t>(kWrites));
    EXPECT_EQ(checker.seen[threadIds[t]], written[t]);
  }
}

}  // namespace
