#include "src/HandleTable.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

namespace {

using zel::internal::HandleTable;

TEST(HandleTable, HandlesArePositiveUniqueAndNotReusedAfterRemoval) {
  HandleTable<int> table;
  const HOBJ a = table.Add(std::make_shared<int>(1));
  const HOBJ b = table.Add(std::make_shared<int>(2));
  EXPECT_GT(a, 0);
  EXPECT_NE(a, b);
  ASSERT_NE(table.Remove(a), nullptr);
  EXPECT_EQ(table.Get(a), nullptr);
  EXPECT_EQ(table.Remove(a), nullptr);  // removing twice is refused
  const HOBJ c = table.Add(std::make_shared<int>(3));
  EXPECT_NE(c, a);
  EXPECT_EQ(*table.Get(b), 2);
}

TEST(HandleTable, AHandleOfOneTableIsUnknownToAnother) {
  struct Task {};
  struct Mutex {};
  HandleTable<Task> tasks;
  HandleTable<Mutex> mutexes;
  std::vector<HOBJ> taskHandles;
  for (int i = 0; i < 3; ++i) {
    taskHandles.push_back(tasks.Add(std::make_shared<Task>()));
    mutexes.Add(std::make_shared<Mutex>());
  }
  for (HOBJ h : taskHandles) {
    EXPECT_NE(tasks.Get(h), nullptr);
    EXPECT_EQ(mutexes.Get(h), nullptr) << h;
  }
  EXPECT_EQ(tasks.Get(INVALID_HOBJ), nullptr);
  EXPECT_EQ(tasks.Get(0), nullptr);
}

TEST(ThreadsHandleTable, ConcurrentAddsGiveDistinctHandles) {
  HandleTable<int> table;
  std::vector<std::vector<HOBJ>> perThread(4);
  std::vector<std::thread> threads;
  for (auto& handles : perThread) {
    threads.emplace_back([&table, &handles] {
      for (int i = 0; i < 500; ++i) {
        handles.push_back(table.Add(std::make_shared<int>(i)));
      }
    });
  }
  for (auto& t : threads) {
    t.join();
  }
  std::set<HOBJ> all;
  for (const auto& handles : perThread) {
    all.insert(handles.begin(), handles.end());
  }
  EXPECT_EQ(all.size(), 2000u);
  EXPECT_EQ(table.Size(), 2000u);
}

}  // namespace
