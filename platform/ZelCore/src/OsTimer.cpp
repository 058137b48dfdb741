// One-shot timers. One platform timer thread keeps the schedule. When a timer is due, its callback
// runs on the event handler that created the timer (queued like one of its events), or, for a
// timer created elsewhere, on the timer thread itself.
//
// A timer is in the schedule while it is armed. Every arming, stop and deletion bumps its
// generation; a firing carries the generation it was armed with and is dropped when it reaches the
// handler after the timer was stopped, re-armed or deleted.
//
// Tests may switch the service to manual mode: an arming then only marks the timer armed, and the
// test fires armed timers by hand, synchronously on its own thread (zel::test::FireTimer).
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "HandleTable.h"
#include "WmInternal.h"
#include "ZelDebug.h"
#include "ZelImmortal.h"
#include "ZelCoreTest.h"
#include "ZelOs.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Timer;

// One arming of a timer.
struct Firing {
  std::shared_ptr<Timer> pTimer;
  uint64_t nGeneration;
};

using Schedule = std::multimap<Clock::time_point, Firing>;

struct Timer {
  std::string name;
  OsTimerCallback pfnCallback = nullptr;
  void* pParam = nullptr;
  HOBJ hSelf = INVALID_HOBJ;
  HOBJ hOwner = INVALID_HOBJ;  // event handler the callback runs on, INVALID_HOBJ: timer thread
  // Guarded by TimerService::mutex.
  uint64_t nGeneration = 0;
  bool bArmed = false;  // in the schedule, at itScheduled (or, when bManual, armed by hand)
  bool bManual = false;
  Schedule::iterator itScheduled;
  bool bDeleted = false;
  bool bInCallback = false;
  std::thread::id callbackThread;
};

class TimerService {
 public:
  TimerService() : m_thread([this] { Run(); }) {}

  HOBJ Create(std::shared_ptr<Timer> pTimer) {
    Timer* pRaw = pTimer.get();
    std::lock_guard<std::mutex> lock(m_mutex);  // hSelf is read under the mutex
    pRaw->hSelf = m_timers.Add(std::move(pTimer));
    return pRaw->hSelf;
  }

  std::shared_ptr<Timer> Find(HOBJ h, const char* pszCaller) const {
    std::shared_ptr<Timer> p = m_timers.Get(h);
    if (p == nullptr) {
      DbgPrint(DBG_CLASS_FAIL, "%s: - invalid timer handle(%d)\n", pszCaller, h);
    }
    return p;
  }

  bool Start(HOBJ h, UINT32 nMilliseconds) {
    std::shared_ptr<Timer> p = Find(h, "OsStartTimer");
    if (p == nullptr) {
      return false;
    }
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      if (p->bDeleted) {
        return false;
      }
      Disarm(*p);
      p->bArmed = true;
      if (m_bManual) {
        p->bManual = true;
        m_manual.push_back(p);
        return true;
      }
      p->itScheduled =
          m_schedule.emplace(Clock::now() + std::chrono::milliseconds(nMilliseconds), Firing{p, p->nGeneration});
    }
    m_cv.notify_one();
    return true;
  }

  bool Stop(HOBJ h) {
    std::shared_ptr<Timer> p = Find(h, "OsStopTimer");
    if (p == nullptr) {
      return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    Disarm(*p);
    return true;
  }

  bool IsArmed(HOBJ h) {
    std::shared_ptr<Timer> p = Find(h, "OsIsTimerRunning");
    if (p == nullptr) {
      return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    return p->bArmed;
  }

  // Deleting from inside the timer's own callback must not wait for that callback.
  bool Delete(HOBJ h) {
    std::shared_ptr<Timer> p = m_timers.Remove(h);
    if (p == nullptr) {
      DbgPrint(DBG_CLASS_FAIL, "OsDeleteTimer: - invalid timer handle(%d)\n", h);
      return false;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    p->bDeleted = true;
    Disarm(*p);
    if (p->bInCallback && p->callbackThread != std::this_thread::get_id()) {
      DbgPrint(DBG_CLASS_TRACE, "OsDeleteTimer: - waiting for the callback of %s\n", p->name.c_str());
      m_cvCallbackDone.wait(lock, [&] { return !p->bInCallback; });
    }
    return true;
  }

 private:
  // Takes the timer out of the schedule and invalidates a firing already on its way (the caller
  // holds m_mutex).
  void Disarm(Timer& t) {
    if (t.bArmed && !t.bManual) {
      m_schedule.erase(t.itScheduled);
    }
    t.bArmed = false;
    t.bManual = false;
    ++t.nGeneration;
  }

 public:
  // Manual mode: see the file comment. Leaving it hands the timers armed by hand to the schedule,
  // due at once.
  void SetManual(bool bManual) {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_bManual = bManual;
      if (bManual) {
        return;
      }
      for (const std::weak_ptr<Timer>& w : m_manual) {
        std::shared_ptr<Timer> p = w.lock();
        if (p != nullptr && p->bArmed && p->bManual) {
          p->bManual = false;
          p->itScheduled = m_schedule.emplace(Clock::now(), Firing{p, p->nGeneration});
        }
      }
      m_manual.clear();
    }
    m_cv.notify_one();
  }

  // Fires the first armed-by-hand timer of the name (any name when null) on the calling thread.
  bool FireManual(const char* pszName) {
    Firing firing{};
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      auto it = m_manual.begin();
      for (; it != m_manual.end(); ++it) {
        std::shared_ptr<Timer> p = it->lock();
        if (p != nullptr && p->bArmed && p->bManual && !p->bDeleted && (pszName == nullptr || p->name == pszName)) {
          firing = Firing{p, p->nGeneration};
          p->bArmed = false;
          p->bManual = false;
          break;
        }
      }
      if (it == m_manual.end()) {
        return false;
      }
      m_manual.erase(it);
    }
    RunCallback(firing);
    return true;
  }

 private:

  void Run() {
    OsSetCurrentTaskName("ZelTimer");
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
      if (m_schedule.empty()) {
        m_cv.wait(lock);
        continue;
      }
      const Clock::time_point due = m_schedule.begin()->first;
      if (Clock::now() < due) {
        m_cv.wait_until(lock, due);
        continue;
      }
      Firing firing = std::move(m_schedule.begin()->second);
      m_schedule.erase(m_schedule.begin());
      firing.pTimer->bArmed = false;
      lock.unlock();
      Fire(std::move(firing));
      lock.lock();
    }
  }

  void Fire(Firing firing) {
    const HOBJ hOwner = firing.pTimer->hOwner;
    if (hOwner == INVALID_HOBJ) {
      RunCallback(firing);
      return;
    }
    const std::string name = firing.pTimer->name;
    if (!zel::internal::WmPostCall(hOwner, [this, firing] { RunCallback(firing); })) {
      DbgPrint(DBG_CLASS_FAIL, "OsTimer: - event handler(%d) of timer %s is gone, callback dropped\n", hOwner,
               name.c_str());
    }
  }

  void RunCallback(const Firing& firing) {
    Timer& t = *firing.pTimer;
    HOBJ hTimer = INVALID_HOBJ;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      // A firing queued to a handler may meet a timer stopped or re-armed in the meantime.
      if (t.bDeleted || t.nGeneration != firing.nGeneration) {
        return;
      }
      t.bInCallback = true;
      t.callbackThread = std::this_thread::get_id();
      hTimer = t.hSelf;
    }
    t.pfnCallback(hTimer, t.pParam);
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      t.bInCallback = false;
    }
    m_cvCallbackDone.notify_all();
  }

  zel::internal::HandleTable<Timer> m_timers;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::condition_variable m_cvCallbackDone;
  Schedule m_schedule;
  bool m_bManual = false;
  std::vector<std::weak_ptr<Timer>> m_manual;  // armed by hand, in arming order
  std::thread m_thread;  // last: starts once everything above exists
};

TimerService& Timers() {
  static zel::Immortal<TimerService> s_service;
  return s_service.Get();
}

}  // namespace

extern "C" HOBJ OsCreateTimer(const char* pszName, OsTimerCallback pfnCallback, void* pParam) {
  if (pfnCallback == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "OsCreateTimer: - timer %s has no callback\n", pszName != nullptr ? pszName : "");
    return INVALID_HOBJ;
  }
  auto pTimer = std::make_shared<Timer>();
  pTimer->name = pszName != nullptr ? pszName : "";
  pTimer->pfnCallback = pfnCallback;
  pTimer->pParam = pParam;
  pTimer->hOwner = zel::internal::WmGetDispatchingHandler();
  return Timers().Create(std::move(pTimer));
}

extern "C" BOOL OsStartTimer(HOBJ hTimer, UINT32 nMilliseconds) {
  return Timers().Start(hTimer, nMilliseconds) ? TRUE : FALSE;
}

extern "C" BOOL OsStopTimer(HOBJ hTimer) { return Timers().Stop(hTimer) ? TRUE : FALSE; }

extern "C" BOOL OsIsTimerRunning(HOBJ hTimer) { return Timers().IsArmed(hTimer) ? TRUE : FALSE; }

extern "C" BOOL OsDeleteTimer(HOBJ hTimer) { return Timers().Delete(hTimer) ? TRUE : FALSE; }

namespace zel::test {

void SetTimersManual(bool bManual) { Timers().SetManual(bManual); }

bool FireTimer(const char* pszName) { return Timers().FireManual(pszName); }

int FireDueTimers(int nMaxFirings) {
  int nFired = 0;
  while (nFired < nMaxFirings && Timers().FireManual(nullptr)) {
    ++nFired;
  }
  return nFired;
}

}  // namespace zel::test
