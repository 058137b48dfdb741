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

// A timer whose callback records where it runs, re-arms the timer twice and then deletes it.
struct Countdown {
  HOBJ hTimer = INVALID_HOBJ;
  int nLeft = 3;  // touched by the callback only
  Recorder<Fired> fired;
  std::atomic<int> nDeleteResult{-1};
  Gate deleted;
};

void CountDown(HOBJ h, void* p) {
  auto* c = static_cast<Countdown*>(p);
  EXPECT_FALSE(OsIsTimerRunning(h));  // one-shot
  RecordFiring(h, &c->fired);
  if (--c->nLeft > 0) {
    EXPECT_TRUE(OsStartTimer(h, 1));
  } else {
    c->nDeleteResult = OsDeleteTimer(h);
    c->deleted.Open();
  }
}

TEST(ThreadsOsTimer, CallbackRunsOnTheCreatingHandlerElseOnTheTimerThreadAndMayRearmOrDelete) {
  Countdown outside;
  outside.hTimer = OsCreateTimer("CtSvcVcardTime", CountDown, &outside);
  ASSERT_NE(outside.hTimer, INVALID_HOBJ);
  EXPECT_FALSE(OsIsTimerRunning(outside.hTimer));
  ASSERT_TRUE(OsStartTimer(outside.hTimer, 1));
  Countdown onHandler;
  std::thread::id handlerThread;
  FunctionHandler handler("TimerOwner", [&](WmEHState*, WmEvent* pEvent) {
    if (pEvent->nEventId == 1) {
      handlerThread = std::this_thread::get_id();
      onHandler.hTimer = OsCreateTimer("CtSvcBulkOperationTime", CountDown, &onHandler);
      OsStartTimer(onHandler.hTimer, 1);
    }
  });
  ASSERT_TRUE(handler.Send(1));
  ASSERT_TRUE(outside.deleted.Wait());
  ASSERT_TRUE(onHandler.deleted.Wait());
  ASSERT_TRUE(handler.WaitIdle());
  const struct {
    Countdown* pCountdown;
    HOBJ hHandler;
    const char* pszThread;
  } runs[] = {{&outside, INVALID_HOBJ, "ZelTimer"}, {&onHandler, handler.Handle(), "TimerOwner"}};
  for (const auto& run : runs) {
    SCOPED_TRACE(run.pszThread);
    const auto fired = run.pCountdown->fired.Values();
    ASSERT_EQ(fired.size(), 3u);
    for (const Fired& f : fired) {
      EXPECT_EQ(f.hTimer, run.pCountdown->hTimer);
      EXPECT_EQ(f.thread, fired[0].thread);
      EXPECT_EQ(f.hCurrentHandler, run.hHandler);
      EXPECT_EQ(f.taskName, run.pszThread);
    }
    EXPECT_EQ(run.pCountdown->nDeleteResult.load(), TRUE);
    EXPECT_FALSE(OsStartTimer(run.pCountdown->hTimer, 1));  // gone
    EXPECT_FALSE(OsDeleteTimer(run.pCountdown->hTimer));
  }
  EXPECT_NE(outside.fired.Values()[0].thread, std::this_thread::get_id());
  EXPECT_EQ(onHandler.fired.Values()[0].thread, handlerThread);
  EXPECT_EQ(OsCreateTimer("NoCallback", nullptr, nullptr), INVALID_HOBJ);
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

}  // namespace

namespace {

// Counts its firings and re-arms itself while nRearm is above 0.
struct Rearming {
  int nFired = 0;
  int nRearm = 0;
};

void CountAndRearm(HOBJ h, void* p) {
  auto* r = static_cast<Rearming*>(p);
  ++r->nFired;
  if (r->nRearm-- > 0) {
    OsStartTimer(h, 50);
  }
}

}  // namespace

TEST(ThreadsOsTimer, ManualTimersFireOnlyByHandOnTheCallingThread) {
  zel::test::SetTimersManual(true);
  Recorder<Fired> fired;
  const HOBJ hA = OsCreateTimer("ManualA", RecordFiring, &fired);
  Rearming rearming{0, 2};
  const HOBJ hB = OsCreateTimer("ManualB", CountAndRearm, &rearming);
  EXPECT_FALSE(zel::test::FireTimer("ManualA"));  // not armed
  ASSERT_TRUE(OsStartTimer(hA, 0));
  EXPECT_TRUE(OsIsTimerRunning(hA));
  ASSERT_TRUE(zel::test::FireTimer("ManualA"));
  ASSERT_EQ(1u, fired.Values().size());
  EXPECT_EQ(std::this_thread::get_id(), fired.Values()[0].thread);
  EXPECT_FALSE(OsIsTimerRunning(hA));
  EXPECT_FALSE(zel::test::FireTimer("ManualA"));  // one-shot
  // A stopped timer is not fired; re-arming callbacks are fired until none is armed.
  ASSERT_TRUE(OsStartTimer(hA, 0));
  ASSERT_TRUE(OsStopTimer(hA));
  ASSERT_TRUE(OsStartTimer(hB, 0));
  EXPECT_EQ(3, zel::test::FireDueTimers());
  EXPECT_EQ(3, rearming.nFired);
  EXPECT_EQ(1u, fired.Values().size());
  // Leaving manual mode hands an armed timer to the timer thread.
  ASSERT_TRUE(OsStartTimer(hA, 0));
  zel::test::SetTimersManual(false);
  EXPECT_TRUE(fired.WaitFor(2));
  EXPECT_NE(std::this_thread::get_id(), fired.Values()[1].thread);
  OsDeleteTimer(hA);
  OsDeleteTimer(hB);
}
