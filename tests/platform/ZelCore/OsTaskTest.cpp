#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstring>
#include <deque>
#include <string>

#include "CoreTestSupport.h"
#include "ZelCoreTest.h"
#include "ZelOs.h"

namespace {

using Msg = std::array<unsigned char, OS_MSG_SIZE>;
using zel::coretest::Gate;

Msg MakeMsg(UINT32 nFirst) {
  Msg m{};
  std::memcpy(m.data(), &nFirst, 4);
  m[OS_MSG_SIZE - 1] = static_cast<unsigned char>(nFirst);  // the whole message travels
  return m;
}

UINT32 First(const Msg& m) {
  UINT32 n = 0;
  std::memcpy(&n, m.data(), 4);
  return n;
}

TEST(ThreadsOsTask, EntryRunsOnceOnTheTaskUnderTheTasksOwnNameAndHandle) {
  struct Seen {
    std::string name;
    HOBJ hTask = INVALID_HOBJ;
    Gate done;
  } seen;
  OsSetCurrentTaskName("Korin");
  const HOBJ h = OsCreateTask(
      "CtSvcTask", 10008, 0x10000,
      [](void* p) {
        auto* s = static_cast<Seen*>(p);
        const char* psz = OsGetCurrentTaskName();
        s->name = psz != nullptr ? psz : "(null)";
        s->hTask = OsGetCurrentTask();
        s->done.Open();
      },
      1, &seen);
  ASSERT_NE(h, INVALID_HOBJ);
  EXPECT_TRUE(OsStartTask(h));
  EXPECT_FALSE(OsStartTask(h));  // a task starts once
  ASSERT_TRUE(seen.done.Wait());
  EXPECT_TRUE(OsDeleteTask(h));  // joins
  EXPECT_EQ(seen.name, "CtSvcTask");
  EXPECT_EQ(seen.hTask, h);
  EXPECT_FALSE(OsDeleteTask(h));
  // Names are per thread: this thread kept its own; it is no task.
  EXPECT_STREQ(OsGetCurrentTaskName(), "Korin");
  OsSetCurrentTaskName(nullptr);
  EXPECT_EQ(OsGetCurrentTaskName(), nullptr);
  EXPECT_EQ(OsGetCurrentTask(), INVALID_HOBJ);
  EXPECT_EQ(OsCreateTask("NoEntry", 0, 0, nullptr, 0, nullptr), INVALID_HOBJ);
}

// The peek-and-delete pattern of a task looking for its wake-up message among others. (A blocked
// receive woken by the task's deletion is what ends the service's "CtSvcTask" at every unload.)
TEST(ThreadsOsTask, MessagesKeepOrderAndCanBePeekedAndDeleted) {
  const HOBJ h = OsCreateTask("Queue", 0, 0, [](void*) {}, 0, nullptr);
  for (UINT32 i = 1; i <= 5; ++i) {
    const Msg m = MakeMsg(i);
    ASSERT_TRUE(OsSendMessage(h, m.data()));
  }
  EXPECT_EQ(OsGetMessageCount(h), 5);
  Msg m{};
  ASSERT_EQ(OsPeekMessage(h, 0, m.data()), 1);
  EXPECT_EQ(m, MakeMsg(1));
  ASSERT_EQ(OsPeekMessage(h, 3, m.data()), 1);
  EXPECT_EQ(First(m), 4u);
  EXPECT_EQ(OsPeekMessage(h, 5, m.data()), 0);
  EXPECT_EQ(OsGetMessageCount(h), 5);  // peeking leaves the queue alone
  EXPECT_FALSE(OsDeleteMessages(h, 6));
  ASSERT_TRUE(OsDeleteMessages(h, 2));
  ASSERT_EQ(OsReceiveMessage(h, m.data(), 0), 1);
  EXPECT_EQ(m, MakeMsg(3));
  ASSERT_EQ(OsReceiveMessage(h, m.data(), -1), 1);
  EXPECT_EQ(First(m), 4u);
  ASSERT_EQ(OsReceiveMessage(h, m.data(), 0), 1);
  EXPECT_EQ(First(m), 5u);
  EXPECT_EQ(OsReceiveMessage(h, m.data(), 0), 0);
  EXPECT_EQ(OsReceiveMessage(h, m.data(), 20), 0);  // times out on an empty queue
  EXPECT_FALSE(OsSendMessage(h, nullptr));
  EXPECT_EQ(OsReceiveMessage(h, nullptr, 0), -1);
  EXPECT_EQ(OsPeekMessage(h, 0, nullptr), -1);
  EXPECT_TRUE(OsDeleteTask(h));  // never started: nothing to join
}

TEST(ThreadsOsTask, ATaskCanDeleteItself) {
  struct Ctx {
    HOBJ hSelf = INVALID_HOBJ;
    Gate go;
    Gate deleted;
    std::atomic<bool> bResult{false};
  };
  // The detached task thread may still be finishing when the test returns: every run gets a
  // context of its own that outlives the test.
  static std::deque<Ctx> s_contexts;
  Ctx& ctx = s_contexts.emplace_back();
  ctx.hSelf = OsCreateTask(
      "SelfDelete", 0, 0,
      [](void* p) {
        auto* c = static_cast<Ctx*>(p);
        c->go.Wait();
        c->bResult = OsDeleteTask(c->hSelf) == TRUE;
        c->deleted.Open();
      },
      0, &ctx);
  ASSERT_TRUE(OsStartTask(ctx.hSelf));
  ctx.go.Open();
  ASSERT_TRUE(ctx.deleted.Wait());
  EXPECT_TRUE(ctx.bResult);
  EXPECT_EQ(OsGetMessageCount(ctx.hSelf), -1);
}

}  // namespace
