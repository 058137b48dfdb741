// Event handlers: named handlers in named groups. Each handler owns one dispatcher thread that
// takes queued events one at a time and hands each to the first entry of the handler's event map
// whose range holds the event id; events no entry covers are dropped.
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "HandleTable.h"
#include "WmInternal.h"
#include "ZelDebug.h"
#include "ZelImmortal.h"
#include "ZelOs.h"
#include "ZelWm.h"

namespace {

using zel::internal::HandleTable;

struct Group {
  std::string name;
};

// One queued unit of work: an event for the map, or an internal call (timer callbacks).
struct Item {
  WmEvent event{};
  std::function<void()> call;
  bool bLast = false;  // WM_EVENT_DESTROY of a deleted handler: the thread ends after it
};

struct Handler {
  std::string name;
  HOBJ hGroup = INVALID_HOBJ;
  std::vector<WmEventMapEntry> map;
  WmEHState state{INVALID_HOBJ, nullptr};
  std::thread thread;  // set at creation and taken by deletion, both under Registry::mutex

  std::mutex mutex;
  std::condition_variable cvWork;
  std::condition_variable cvIdle;
  std::deque<Item> queue;
  bool bBusy = false;     // an item is being handled
  bool bStarted = false;  // WM_EVENT_START has been handled
  bool bClosing = false;  // deleted: nothing more is queued
  bool bFinished = false; // the dispatcher thread has ended
};

// Creation and deletion hold the mutex, so names stay unique and a handler's thread is always
// assigned before anyone can take it.
struct Registry {
  std::mutex mutex;
  HandleTable<Group> groups;
  HandleTable<Handler> handlers;
};

Registry& TheRegistry() {
  static zel::Immortal<Registry> s_registry;
  return s_registry.Get();
}

thread_local HOBJ t_hDispatching = INVALID_HOBJ;  // the handler this thread dispatches for
thread_local HOBJ t_hCurrent = INVALID_HOBJ;      // WmGetCurrentEventHandler

std::shared_ptr<Handler> FindHandler(HOBJ h, const char* pszCaller) {
  std::shared_ptr<Handler> p = TheRegistry().handlers.Get(h);
  if (p == nullptr && pszCaller != nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - invalid event handler(%d)\n", pszCaller, h);
  }
  return p;
}

bool Enqueue(Handler& h, Item item) {
  {
    std::lock_guard<std::mutex> lock(h.mutex);
    if (h.bClosing) {
      return false;
    }
    h.queue.push_back(std::move(item));
  }
  h.cvWork.notify_one();
  return true;
}

Item MakeEvent(UINT32 nEventId, HOBJ hReceiver) {
  Item item;
  item.event.nEventId = nEventId;
  item.event.hSender = INVALID_HOBJ;
  item.event.hReceiver = hReceiver;
  return item;
}

void HandleItem(Handler& h, Item& item) {
  if (item.call) {
    item.call();
    return;
  }
  const UINT32 nId = item.event.nEventId;
  for (const WmEventMapEntry& entry : h.map) {
    if (nId >= entry.nFirstEvent && nId <= entry.nLastEvent) {
      if (entry.pfnHandler != nullptr) {
        entry.pfnHandler(&h.state, &item.event);
      }
      break;
    }
  }
  if (nId == WM_EVENT_START) {
    std::lock_guard<std::mutex> lock(h.mutex);
    h.bStarted = true;
  }
}

void Dispatch(std::shared_ptr<Handler> pHandler) {
  Handler& h = *pHandler;
  t_hDispatching = h.state.hEventHandler;
  OsSetCurrentTaskName(h.name.c_str());
  for (;;) {
    Item item;
    {
      std::unique_lock<std::mutex> lock(h.mutex);
      h.cvWork.wait(lock, [&] { return !h.queue.empty(); });
      item = std::move(h.queue.front());
      h.queue.pop_front();
      h.bBusy = true;
    }
    t_hCurrent = h.state.hEventHandler;  // an earlier event may have made another handler current
    HandleItem(h, item);
    {
      std::lock_guard<std::mutex> lock(h.mutex);
      h.bBusy = false;
      h.bFinished = item.bLast;
    }
    h.cvIdle.notify_all();
    if (item.bLast) {
      return;
    }
  }
}

// Drops what is queued, queues WM_EVENT_DESTROY as the last event and takes the thread.
std::thread Close(Handler& h) {
  {
    std::lock_guard<std::mutex> lock(h.mutex);
    h.queue.clear();
    Item last = MakeEvent(WM_EVENT_DESTROY, h.state.hEventHandler);
    last.bLast = true;
    h.queue.push_back(std::move(last));
    h.bClosing = true;
  }
  h.cvWork.notify_one();
  return std::move(h.thread);
}

}  // namespace

namespace zel::internal {

bool WmPostCall(HOBJ hEventHandler, std::function<void()> fn) {
  std::shared_ptr<Handler> p = FindHandler(hEventHandler, nullptr);
  if (p == nullptr) {
    return false;
  }
  Item item;
  item.call = std::move(fn);
  return Enqueue(*p, std::move(item));
}

HOBJ WmGetDispatchingHandler() { return t_hDispatching; }

}  // namespace zel::internal

extern "C" HOBJ WmCreateEHGroup(const char* pszName) {
  if (pszName == nullptr || *pszName == '\0') {
    DbgPrint(DBG_CLASS_FAIL, "WmCreateEHGroup: - no name\n");
    return INVALID_HOBJ;
  }
  Registry& reg = TheRegistry();
  std::lock_guard<std::mutex> lock(reg.mutex);
  if (reg.groups.Find([&](const Group& g) { return g.name == pszName; }) != INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "WmCreateEHGroup: - group %s exists already\n", pszName);
    return INVALID_HOBJ;
  }
  auto pGroup = std::make_shared<Group>();
  pGroup->name = pszName;
  return reg.groups.Add(std::move(pGroup));
}

extern "C" HOBJ WmGetEHGroupByName(const char* pszName) {
  if (pszName == nullptr) {
    return INVALID_HOBJ;
  }
  return TheRegistry().groups.Find([&](const Group& g) { return g.name == pszName; });
}

extern "C" BOOL WmDeleteEHGroup(HOBJ hGroup) {
  Registry& reg = TheRegistry();
  std::vector<HOBJ> members;
  {
    std::lock_guard<std::mutex> lock(reg.mutex);
    if (reg.groups.Remove(hGroup) == nullptr) {
      DbgPrint(DBG_CLASS_FAIL, "WmDeleteEHGroup: - invalid group(%d)\n", hGroup);
      return FALSE;
    }
    members = reg.handlers.FindAll([&](const Handler& h) { return h.hGroup == hGroup; });
  }
  for (HOBJ h : members) {
    WmDeleteEventHandler(h);
  }
  return TRUE;
}

extern "C" HOBJ WmCreateEventHandler(HOBJ hGroup, const char* pszName, const WmEventMapEntry* pMap, int nMapCount,
                                     void* pUserData) {
  if (pszName == nullptr || *pszName == '\0' || nMapCount < 0 || (pMap == nullptr && nMapCount > 0)) {
    DbgPrint(DBG_CLASS_FAIL, "WmCreateEventHandler: - invalid name or event map\n");
    return INVALID_HOBJ;
  }
  Registry& reg = TheRegistry();
  std::lock_guard<std::mutex> lock(reg.mutex);
  if (reg.groups.Get(hGroup) == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "WmCreateEventHandler: - invalid group(%d) for %s\n", hGroup, pszName);
    return INVALID_HOBJ;
  }
  if (reg.handlers.Find([&](const Handler& h) { return h.name == pszName; }) != INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "WmCreateEventHandler: - handler %s exists already\n", pszName);
    return INVALID_HOBJ;
  }
  auto pHandler = std::make_shared<Handler>();
  pHandler->name = pszName;
  pHandler->hGroup = hGroup;
  pHandler->map.assign(pMap, pMap + nMapCount);
  pHandler->state.pUserData = pUserData;
  const HOBJ h = reg.handlers.Add(pHandler);
  pHandler->state.hEventHandler = h;
  pHandler->queue.push_back(MakeEvent(WM_EVENT_CREATE, h));
  pHandler->queue.push_back(MakeEvent(WM_EVENT_START, h));
  pHandler->thread = std::thread(Dispatch, pHandler);
  return h;
}

extern "C" BOOL WmDeleteEventHandler(HOBJ hEventHandler) {
  Registry& reg = TheRegistry();
  std::thread thread;
  {
    std::lock_guard<std::mutex> lock(reg.mutex);
    std::shared_ptr<Handler> p = reg.handlers.Remove(hEventHandler);
    if (p == nullptr) {
      DbgPrint(DBG_CLASS_FAIL, "WmDeleteEventHandler: - invalid event handler(%d)\n", hEventHandler);
      return FALSE;
    }
    thread = Close(*p);
  }
  if (thread.get_id() == std::this_thread::get_id()) {
    thread.detach();  // deleted from one of its own events: the thread ends after WM_EVENT_DESTROY
  } else {
    thread.join();
  }
  return TRUE;
}

extern "C" HOBJ WmGetEventHandlerByName(const char* pszName) {
  if (pszName == nullptr) {
    return INVALID_HOBJ;
  }
  return TheRegistry().handlers.Find([&](const Handler& h) { return h.name == pszName; });
}

extern "C" BOOL WmIsEventHandlerValid(HOBJ hEventHandler) {
  return FindHandler(hEventHandler, nullptr) != nullptr ? TRUE : FALSE;
}

extern "C" int WmGetEventHandlerState(HOBJ hEventHandler) {
  std::shared_ptr<Handler> p = FindHandler(hEventHandler, nullptr);
  if (p == nullptr) {
    return WM_EH_STATE_INVALID;
  }
  std::lock_guard<std::mutex> lock(p->mutex);
  return p->bStarted ? WM_EH_STATE_RUNNING : WM_EH_STATE_CREATED;
}

extern "C" const char* WmGetEventHandlerName(HOBJ hEventHandler) {
  std::shared_ptr<Handler> p = FindHandler(hEventHandler, nullptr);
  return p != nullptr ? p->name.c_str() : nullptr;  // the name lives as long as the handler
}

extern "C" BOOL WmSendEvent(HOBJ hReceiver, const WmEvent* pEvent) {
  if (pEvent == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "WmSendEvent: - pEvent is NULL\n");
    return FALSE;
  }
  if (hReceiver == WM_BROADCAST) {
    const std::vector<HOBJ> vcHandlers = TheRegistry().handlers.FindAll([](const Handler&) { return true; });
    for (const HOBJ h : vcHandlers) {
      std::shared_ptr<Handler> p = FindHandler(h, nullptr);
      Item item;
      item.event = *pEvent;
      item.event.hSender = WmGetCurrentEventHandler();
      item.event.hReceiver = WM_BROADCAST;
      if (p != nullptr) {
        Enqueue(*p, std::move(item));  // a handler being deleted misses it
      }
    }
    return TRUE;
  }
  std::shared_ptr<Handler> p = FindHandler(hReceiver, "WmSendEvent");
  if (p == nullptr) {
    return FALSE;
  }
  Item item;
  item.event = *pEvent;
  item.event.hSender = WmGetCurrentEventHandler();
  item.event.hReceiver = hReceiver;
  if (!Enqueue(*p, std::move(item))) {
    DbgPrint(DBG_CLASS_FAIL, "WmSendEvent: - event handler %s is being deleted\n", p->name.c_str());
    return FALSE;
  }
  return TRUE;
}

extern "C" HOBJ WmGetCurrentEventHandler(void) { return t_hCurrent; }

extern "C" BOOL WmSetCurrentEventHandler(HOBJ hEventHandler) {
  if (hEventHandler != INVALID_HOBJ && FindHandler(hEventHandler, "WmSetCurrentEventHandler") == nullptr) {
    return FALSE;
  }
  t_hCurrent = hEventHandler;
  return TRUE;
}

extern "C" int WmWaitEventHandlerIdle(HOBJ hEventHandler, INT32 nTimeoutMs) {
  std::shared_ptr<Handler> p = FindHandler(hEventHandler, "WmWaitEventHandlerIdle");
  if (p == nullptr) {
    return -1;
  }
  if (t_hDispatching == hEventHandler) {
    DbgPrint(DBG_CLASS_FAIL, "WmWaitEventHandlerIdle: - called on %s's own thread\n", p->name.c_str());
    return -1;
  }
  std::unique_lock<std::mutex> lock(p->mutex);
  auto idle = [&] { return p->bFinished || (p->queue.empty() && !p->bBusy); };
  if (nTimeoutMs < 0) {
    p->cvIdle.wait(lock, idle);
  } else if (!p->cvIdle.wait_for(lock, std::chrono::milliseconds(nTimeoutMs), idle)) {
    return 0;
  }
  return p->bFinished ? -1 : 1;
}
