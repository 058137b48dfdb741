#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "CoreTestSupport.h"
#include "ZelCoreTest.h"
#include "ZelWm.h"

namespace {

using zel::coretest::FunctionHandler;
using zel::coretest::Gate;
using zel::coretest::Recorder;
using zel::coretest::RunOnThreads;

// Creation, the current handler from the first event on, and the sender: none for a thread
// without a handler, else the handler current on the sending thread. (Its own thread and the
// lookup by name are what the service's "CTSVC" handler tests follow.)
TEST(ThreadsWm, HandlerIsTheCurrentHandlerOfItsEventsAndSendsAsItself) {
  Recorder<WmEvent> events;
  Recorder<HOBJ> current;
  FunctionHandler receiver("CTSVC", [&](WmEHState* pState, WmEvent* pEvent) {
    EXPECT_EQ(pState->hEventHandler, pEvent->hReceiver);
    current.Add(WmGetCurrentEventHandler());
    WmSetCurrentEventHandler(INVALID_HOBJ);  // not carried over to the next event
    events.Add(*pEvent);
  });
  FunctionHandler relay("Relay", [&](WmEHState*, WmEvent* pEvent) {
    if (pEvent->nEventId == 5) {
      receiver.Send(5);
    }
  });
  ASSERT_TRUE(receiver.Send(5));
  ASSERT_TRUE(relay.Send(5));
  ASSERT_TRUE(events.WaitFor(4));
  ASSERT_TRUE(receiver.WaitIdle());
  const auto values = events.Values();
  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(values[0].nEventId, WM_EVENT_CREATE);
  EXPECT_EQ(values[1].nEventId, WM_EVENT_START);
  EXPECT_EQ(values[2].hSender, INVALID_HOBJ);
  EXPECT_EQ(values[3].hSender, relay.Handle());
  EXPECT_EQ(current.Values(), std::vector<HOBJ>(4, receiver.Handle()));
  EXPECT_EQ(WmGetEventHandlerState(receiver.Handle()), WM_EH_STATE_RUNNING);
  EXPECT_STREQ(WmGetEventHandlerName(receiver.Handle()), "CTSVC");
  EXPECT_NE(WmGetEHGroupByName("CTSVCGroup"), INVALID_HOBJ);

  // Outside handlers the current handler is whatever this thread set, and only for this thread.
  EXPECT_EQ(WmGetCurrentEventHandler(), INVALID_HOBJ);
  ASSERT_TRUE(WmSetCurrentEventHandler(receiver.Handle()));
  HOBJ hOnOtherThread = 0;
  std::thread other([&] { hOnOtherThread = WmGetCurrentEventHandler(); });
  other.join();
  EXPECT_EQ(hOnOtherThread, INVALID_HOBJ);
  EXPECT_FALSE(WmSetCurrentEventHandler(0x7FFFFFF0));
  EXPECT_EQ(WmGetCurrentEventHandler(), receiver.Handle());
  EXPECT_TRUE(WmSetCurrentEventHandler(INVALID_HOBJ));
}

TEST(ThreadsWm, EventsAreHandledOneAtATimeInOrderPerSender) {
  std::atomic<int> nInside{0};
  std::atomic<int> nMaxInside{0};
  std::vector<std::vector<INT32>> perSender(4);  // touched only on the handler thread until idle
  FunctionHandler handler("Serial", [&](WmEHState*, WmEvent* pEvent) {
    if (pEvent->nEventId != 7) {
      return;
    }
    const int n = ++nInside;
    if (n > nMaxInside) {
      nMaxInside = n;
    }
    perSender[pEvent->nClass].push_back(pEvent->nParam1);
    --nInside;
  });
  RunOnThreads(4, [&](int s) {
    for (INT32 i = 0; i < 250; ++i) {
      WmEvent ev{};
      ev.nEventId = 7;
      ev.nClass = static_cast<UINT32>(s);
      ev.nParam1 = i;
      WmSendEvent(handler.Handle(), &ev);
    }
  });
  ASSERT_TRUE(handler.WaitIdle());
  EXPECT_EQ(nMaxInside.load(), 1);
  for (const auto& values : perSender) {
    ASSERT_EQ(values.size(), 250u);
    for (INT32 i = 0; i < 250; ++i) {
      ASSERT_EQ(values[i], i);
    }
  }
}

// Records its letter.
template <char C>
int Count(WmEHState* pState, WmEvent*) {
  static_cast<Recorder<char>*>(pState->pUserData)->Add(C);
  return 1;
}

TEST(ThreadsWm, FirstMatchingMapEntryWinsAndUnmatchedEventsAreDropped) {
  Recorder<char> seen;
  const HOBJ hGroup = WmCreateEHGroup("MapGroup");
  const WmEventMapEntry map[] = {{0x100, 0x1FF, Count<'A'>}, {0x150, 0x160, Count<'B'>}, {0x300, 0x300, Count<'B'>}};
  const HOBJ h = WmCreateEventHandler(hGroup, "Map", map, 3, &seen);
  ASSERT_NE(h, INVALID_HOBJ);
  for (UINT32 id : {0x100u, 0x155u, 0x1FFu, 0x200u, 0x2FFu, 0x300u, 0x301u}) {
    WmEvent ev{};
    ev.nEventId = id;
    ASSERT_TRUE(WmSendEvent(h, &ev));
  }
  ASSERT_EQ(WmWaitEventHandlerIdle(h, 10000), 1);
  // 0x200 and 0x202 (create, start) fall outside the map like 0x2FF and 0x301.
  EXPECT_EQ(seen.Values(), (std::vector<char>{'A', 'A', 'A', 'B'}));
  EXPECT_TRUE(WmDeleteEHGroup(hGroup));
  EXPECT_FALSE(WmIsEventHandlerValid(h));
}

// The idle wait covers the events a handler sends itself, times out while an event is handled,
// and is refused on the handler's own thread (it would wait for itself).
TEST(ThreadsWm, IdleWait) {
  Recorder<INT32> chain;
  Recorder<int> ownWait;
  Gate entered;
  Gate release;
  FunctionHandler handler("Chain", [&](WmEHState* pState, WmEvent* pEvent) {
    if (pEvent->nEventId == 1) {
      chain.Add(pEvent->nParam1);
      EXPECT_EQ(pEvent->hSender, pEvent->nParam1 == 0 ? INVALID_HOBJ : pState->hEventHandler);
      if (pEvent->nParam1 < 20) {
        WmEvent next = *pEvent;
        ++next.nParam1;
        WmSendEvent(pState->hEventHandler, &next);
      }
    } else if (pEvent->nEventId == 2) {
      ownWait.Add(WmWaitEventHandlerIdle(pState->hEventHandler, 1000));
      entered.Open();
      release.Wait();
    }
  });
  ASSERT_TRUE(handler.Send(1, 0));
  ASSERT_TRUE(handler.WaitIdle());
  EXPECT_EQ(chain.Values().size(), 21u);  // no waiting for anything beyond the idle wait

  ASSERT_TRUE(handler.Send(2));
  ASSERT_TRUE(entered.Wait());
  EXPECT_EQ(WmWaitEventHandlerIdle(handler.Handle(), 10), 0);
  release.Open();
  EXPECT_TRUE(handler.WaitIdle());
  EXPECT_EQ(ownWait.Values(), std::vector<int>{-1});
}

TEST(ThreadsWm, DeletingFromAnotherThreadFinishesTheCurrentEventAndDropsTheRest) {
  Gate entered;
  Gate release;
  Recorder<UINT32> handled;
  FunctionHandler handler("Deleted", [&](WmEHState*, WmEvent* pEvent) {
    if (pEvent->nEventId == 1) {
      entered.Open();
      release.Wait();
    }
    handled.Add(pEvent->nEventId);
  });
  const HOBJ h = handler.Handle();
  handler.Send(1);
  handler.Send(2);
  ASSERT_TRUE(entered.Wait());
  std::thread releaser([&] {
    // Let the event finish only once the deletion has made the handle invalid.
    while (WmIsEventHandlerValid(h)) {
      std::this_thread::yield();
    }
    release.Open();
  });
  EXPECT_TRUE(WmDeleteEventHandler(h));  // returns after the thread has ended
  releaser.join();
  EXPECT_EQ(handled.Values(), (std::vector<UINT32>{WM_EVENT_CREATE, WM_EVENT_START, 1, WM_EVENT_DESTROY}));
  EXPECT_FALSE(handler.Send(2));
  EXPECT_EQ(WmGetEventHandlerState(h), WM_EH_STATE_INVALID);
  EXPECT_EQ(WmGetEventHandlerByName("Deleted"), INVALID_HOBJ);
}

TEST(ThreadsWm, AHandlerCanDeleteItselfFromOneOfItsEvents) {
  struct Ctx {
    Recorder<UINT32> handled;
    std::atomic<int> nDeleteResult{-1};
  };
  // The handler thread may still be ending when the test returns: every run gets a context of
  // its own that outlives the test.
  static std::deque<Ctx> s_contexts;
  Ctx& ctx = s_contexts.emplace_back();
  const HOBJ hGroup = WmCreateEHGroup("SelfGroup");
  const WmEventMapEntry map[] = {{0, 0xFFFFFFFF, [](WmEHState* s, WmEvent* e) {
                                    auto* c = static_cast<Ctx*>(s->pUserData);
                                    if (e->nEventId == 1) {
                                      c->nDeleteResult = WmDeleteEventHandler(s->hEventHandler);
                                    }
                                    c->handled.Add(e->nEventId);
                                    return 1;
                                  }}};
  const HOBJ h = WmCreateEventHandler(hGroup, "SelfDeleting", map, 1, &ctx);
  WmEvent ev{};
  ev.nEventId = 1;
  WmSendEvent(h, &ev);
  ASSERT_TRUE(ctx.handled.WaitFor(4));
  EXPECT_EQ(ctx.nDeleteResult.load(), TRUE);
  EXPECT_EQ(ctx.handled.Values(), (std::vector<UINT32>{WM_EVENT_CREATE, WM_EVENT_START, 1, WM_EVENT_DESTROY}));
  EXPECT_FALSE(WmIsEventHandlerValid(h));
  EXPECT_TRUE(WmDeleteEHGroup(hGroup));
}

TEST(ThreadsWm, NamesAreUniqueGroupsDeleteTheirHandlersAndBadArgumentsAreRefused) {
  const HOBJ hGroup = WmCreateEHGroup("Names");
  ASSERT_NE(hGroup, INVALID_HOBJ);
  EXPECT_EQ(WmCreateEHGroup("Names"), INVALID_HOBJ);
  EXPECT_EQ(WmGetEHGroupByName("Names"), hGroup);
  const HOBJ a = WmCreateEventHandler(hGroup, "First", nullptr, 0, nullptr);
  const HOBJ b = WmCreateEventHandler(hGroup, "Second", nullptr, 0, nullptr);
  ASSERT_NE(a, INVALID_HOBJ);
  ASSERT_NE(b, INVALID_HOBJ);
  EXPECT_EQ(WmCreateEventHandler(hGroup, "First", nullptr, 0, nullptr), INVALID_HOBJ);
  EXPECT_EQ(WmCreateEventHandler(hGroup, nullptr, nullptr, 0, nullptr), INVALID_HOBJ);
  EXPECT_EQ(WmCreateEventHandler(hGroup, "NullMap", nullptr, 2, nullptr), INVALID_HOBJ);
  EXPECT_EQ(WmCreateEventHandler(hGroup, "NegativeCount", nullptr, -1, nullptr), INVALID_HOBJ);
  EXPECT_FALSE(WmSendEvent(a, nullptr));
  EXPECT_EQ(WmCreateEHGroup(nullptr), INVALID_HOBJ);
  EXPECT_EQ(WmCreateEHGroup(""), INVALID_HOBJ);
  EXPECT_EQ(WmGetEventHandlerByName(nullptr), INVALID_HOBJ);

  EXPECT_TRUE(WmDeleteEHGroup(hGroup));
  EXPECT_FALSE(WmIsEventHandlerValid(a));
  EXPECT_FALSE(WmIsEventHandlerValid(b));
  EXPECT_EQ(WmGetEHGroupByName("Names"), INVALID_HOBJ);
  // The names are free again; the old handles are not handed out again.
  const HOBJ hAgain = WmCreateEHGroup("Names");
  const HOBJ c = WmCreateEventHandler(hAgain, "First", nullptr, 0, nullptr);
  EXPECT_NE(c, INVALID_HOBJ);
  EXPECT_NE(c, a);
  EXPECT_TRUE(WmDeleteEHGroup(hAgain));
}

}  // namespace

// A broadcast reaches every handler once, as WM_BROADCAST; no handler ever has that handle.
TEST(ThreadsWm, ABroadcastReachesEveryHandler) {
  Recorder<std::string> seen;
  auto record = [&seen](const char* pszName) {
    return [&seen, pszName](WmEHState*, WmEvent* pEvent) {
      if (pEvent->nEventId == 0x214) {
        seen.Add(std::string(pszName) + (pEvent->hReceiver == WM_BROADCAST ? ":all" : ":one") + ":" +
                 std::to_string(pEvent->nParam1));
      }
    };
  };
  FunctionHandler a("BroadcastA", record("a"));
  FunctionHandler b("BroadcastB", record("b"));
  WmEvent ev{};
  ev.nEventId = 0x214;
  ev.nParam1 = 0x86;
  ASSERT_TRUE(WmSendEvent(WM_BROADCAST, &ev));
  ASSERT_TRUE(a.WaitIdle());
  ASSERT_TRUE(b.WaitIdle());
  std::vector<std::string> vcSeen = seen.Values();
  std::sort(vcSeen.begin(), vcSeen.end());
  EXPECT_EQ((std::vector<std::string>{"a:all:134", "b:all:134"}), vcSeen);
  EXPECT_NE(WM_BROADCAST, a.Handle());
  EXPECT_FALSE(WmIsEventHandlerValid(WM_BROADCAST));
}
