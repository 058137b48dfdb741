#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "CoreTestSupport.h"
#include "ZelCoreTest.h"
#include "ZelOs.h"
#include "ZelWm.h"

namespace {

using zel::coretest::FunctionHandler;
using zel::coretest::Gate;
using zel::coretest::Recorder;

struct Fired {
  HOBJ hTimer;
  std::thread::id thread;
  HOBJ hCurrentHandler;
  std::string taskName;
};

void RecordFiring(HOBJ hTimer, void* pParam) {
  const char* psz = OsGetCurrentTaskName();
  static_cast<Recorder<Fired>*>(pParam)->Add(
      Fired{hTimer, std::this_thread::get_id(), WmGetCurrentEventHandler(), psz != nullptr ? psz : ""});
}

TEST(ThreadsOsTimer, FiresOnTheTimerThreadWhenCreatedOutsideAHandler) {
  Recorder<Fired> fired;
  const HOBJ h = OsCreateTimer("CtSvcVcardTime", RecordFiring, &fired);
  ASSERT_NE(h, INVALID_HOBJ);
  EXPECT_FALSE(OsIsTimerRunning(h));
  ASSERT_TRUE(OsStartTimer(h, 5));
  ASSERT_TRUE(fired.WaitFor(1));
  const Fired f = fired.Values()[0];
  EXPECT_EQ(f.hTimer, h);
  EXPECT_NE(f.thread, std::this_thread::get_id());
  EXPECT_EQ(f.hCurrentHandler, INVALID_HOBJ);
  EXPECT_EQ(f.taskName, "ZelTimer");
  EXPECT_FALSE(OsIsTimerRunning(h));  // one-shot
  EXPECT_TRUE(OsDeleteTimer(h));
}

TEST(ThreadsOsTimer, FiresOnTheHandlerThatCreatedIt) {
  Recorder<Fired> fired;
  std::atomic<HOBJ> hTimer{INVALID_HOBJ};
  std::thread::id handlerThread;
  FunctionHandler handler("TimerOwner", [&](WmEHState*, WmEvent* pEvent) {
    if (pEvent->nEventId == 1) {
      handlerThread = std::this_thread::get_id();
      hTimer = OsCreateTimer("CtSvcBulkOperationTime", RecordFiring, &fired);
      OsStartTimer(hTimer, 5);
    }
  });
  ASSERT_TRUE(handler.Send(1));
  ASSERT_TRUE(fired.WaitFor(1));
  ASSERT_TRUE(handler.WaitIdle());
  const Fired f = fired.Values()[0];
  EXPECT_EQ(f.hTimer, hTimer.load());
  EXPECT_EQ(f.thread, handlerThread);
  EXPECT_EQ(f.hCurrentHandler, handler.Handle());
  EXPECT_EQ(f.taskName, "TimerOwner");
  EXPECT_TRUE(OsDeleteTimer(hTimer));
}

struct Rearm {
  HOBJ hTimer = INVALID_HOBJ;
  Recorder<int> ticks;
  std::atomic<int> nLeft{5};
};

TEST(ThreadsOsTimer, CallbackCanRearmItsTimer) {
  Rearm ctx;
  ctx.hTimer = OsCreateTimer(
      "Rearm",
      [](HOBJ h, void* p) {
        auto* c = static_cast<Rearm*>(p);
        EXPECT_FALSE(OsIsTimerRunning(h));
        c->ticks.Add(c->nLeft);
        if (--c->nLeft > 0) {
          EXPECT_TRUE(OsStartTimer(h, 1));
        }
      },
      &ctx);
  ASSERT_TRUE(OsStartTimer(ctx.hTimer, 1));
  ASSERT_TRUE(ctx.ticks.WaitFor(5));
  EXPECT_EQ(ctx.ticks.Values(), (std::vector<int>{5, 4, 3, 2, 1}));
  EXPECT_TRUE(OsDeleteTimer(ctx.hTimer));
}

TEST(ThreadsOsTimer, StopAndRearmCancelEarlierArmings) {
  Recorder<Fired> stopped;
  Recorder<Fired> rearmed;
  Recorder<Fired> marker;
  const HOBJ hStopped = OsCreateTimer("Stopped", RecordFiring, &stopped);
  const HOBJ hRearmed = OsCreateTimer("Rearmed", RecordFiring, &rearmed);
  const HOBJ hMarker = OsCreateTimer("Marker", RecordFiring, &marker);
  ASSERT_TRUE(OsStartTimer(hStopped, 200));
  EXPECT_TRUE(OsIsTimerRunning(hStopped));
  ASSERT_TRUE(OsStopTimer(hStopped));
  EXPECT_FALSE(OsIsTimerRunning(hStopped));
  ASSERT_TRUE(OsStartTimer(hRearmed, 200));
  ASSERT_TRUE(OsStartTimer(hRearmed, 250));
  // Timers fire in due order on one thread: once the later marker fired, the others had their turn.
  ASSERT_TRUE(OsStartTimer(hMarker, 400));
  ASSERT_TRUE(marker.WaitFor(1));
  EXPECT_EQ(stopped.Values().size(), 0u);
  EXPECT_EQ(rearmed.Values().size(), 1u);
  for (HOBJ h : {hStopped, hRearmed, hMarker}) {
    EXPECT_TRUE(OsDeleteTimer(h));
  }
}

struct SelfDelete {
  HOBJ hTimer = INVALID_HOBJ;
  std::atomic<int> nDeleteResult{-1};
  Gate done;
};

void DeleteOwnTimer(HOBJ h, void* p) {
  auto* c = static_cast<SelfDelete*>(p);
  c->nDeleteResult = OsDeleteTimer(h);
  c->done.Open();
}

TEST(ThreadsOsTimer, DeletingATimerFromItsOwnCallbackReturns) {
  SelfDelete onTimerThread;
  onTimerThread.hTimer = OsCreateTimer("SelfDelete", DeleteOwnTimer, &onTimerThread);
  ASSERT_TRUE(OsStartTimer(onTimerThread.hTimer, 1));
  ASSERT_TRUE(onTimerThread.done.Wait());
  EXPECT_EQ(onTimerThread.nDeleteResult.load(), TRUE);
  EXPECT_FALSE(OsStartTimer(onTimerThread.hTimer, 1));  // gone

  SelfDelete onHandler;
  FunctionHandler handler("SelfDeleteOwner", [&](WmEHState*, WmEvent* pEvent) {
    if (pEvent->nEventId == 1) {
      onHandler.hTimer = OsCreateTimer("SelfDeleteOnHandler", DeleteOwnTimer, &onHandler);
      OsStartTimer(onHandler.hTimer, 1);
    }
  });
  handler.Send(1);
  ASSERT_TRUE(onHandler.done.Wait());
  ASSERT_TRUE(handler.WaitIdle());
  EXPECT_EQ(onHandler.nDeleteResult.load(), TRUE);
}

struct Slow {
  zel::test::LogCapture* pLog = nullptr;
  Gate entered;
  std::atomic<bool> bFinished{false};
};

TEST(ThreadsOsTimer, DeleteWaitsForACallbackRunningElsewhere) {
  zel::test::LogCapture log;
  Slow ctx;
  ctx.pLog = &log;
  const HOBJ h = OsCreateTimer(
      "Slow",
      [](HOBJ, void* p) {
        auto* c = static_cast<Slow*>(p);
        c->entered.Open();
        // Stay inside the callback until the deleting thread has started waiting for it.
        while (!c->pLog->Contains("waiting for the callback of Slow")) {
          std::this_thread::yield();
        }
        c->bFinished = true;
      },
      &ctx);
  ASSERT_TRUE(OsStartTimer(h, 1));
  ASSERT_TRUE(ctx.entered.Wait());
  EXPECT_TRUE(OsDeleteTimer(h));
  EXPECT_TRUE(ctx.bFinished.load());  // the callback was over when the deletion returned
}

TEST(ThreadsOsTimer, InvalidHandlesAndArgumentsAreRefused) {
  EXPECT_EQ(OsCreateTimer("NoCallback", nullptr, nullptr), INVALID_HOBJ);
  for (HOBJ h : {INVALID_HOBJ, 0, ZEL_INVALID_HANDLE_VALUE}) {
    EXPECT_FALSE(OsStartTimer(h, 1));
    EXPECT_FALSE(OsStopTimer(h));
    EXPECT_FALSE(OsIsTimerRunning(h));
    EXPECT_FALSE(OsDeleteTimer(h));
  }
  const HOBJ h = OsCreateTimer("Twice", [](HOBJ, void*) {}, nullptr);
  EXPECT_TRUE(OsDeleteTimer(h));
  EXPECT_FALSE(OsDeleteTimer(h));
  EXPECT_FALSE(OsStartTimer(h, 1));
}

}  // namespace
