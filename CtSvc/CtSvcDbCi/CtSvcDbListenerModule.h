// The listener module's own lists: URI listeners, list listeners and full-synchronisation
// listeners, and the paused state. The content framework never owns a listener; it only holds
// registrations of listeners that live here.
//
// Each list has a small mutex that guards the list alone. It is never held while the framework
// is called or a client runs, because the framework's unregistration waits for calls of the
// listener on other threads, and such a call may come back into this module.
#ifndef CTSVC_DB_LISTENER_MODULE_H
#define CTSVC_DB_LISTENER_MODULE_H

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "CtSvcDbCi/CtSvcDbObserver.h"
#include "CtSvcDbListener.h"

// A full-synchronisation listener.
struct CCtSvcFullSyncObserver {
  CtSvcDbFullSyncCallback m_pfnCallback;
  void* m_pUserData;
};

// One list of listeners. Entries are shared so that a caller walking a snapshot keeps every
// listener alive until it is done with it.
//
// Call runs a client function of a listener outside the lock; Take, which removes a listener,
// waits until such calls of it on other threads have returned, so that the client may free its
// user data once the listener is removed. A client function must therefore never wait for a
// thread that is removing its listener.
template <class T>
class CCtSvcListenerSet {
 public:
  using Ptr = std::shared_ptr<T>;

  void Add(Ptr pListener) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vcListeners.push_back(std::move(pListener));
  }

  // Removes and returns the first listener that pred accepts, or null.
  template <class Pred>
  Ptr Take(Pred pred) {
    std::unique_lock<std::mutex> lock(m_mutex);
    auto it = std::find_if(m_vcListeners.begin(), m_vcListeners.end(), [&](const Ptr& p) { return pred(*p); });
    if (it == m_vcListeners.end()) {
      return nullptr;
    }
    Ptr pTaken = std::move(*it);
    m_vcListeners.erase(it);
    const std::thread::id self = std::this_thread::get_id();
    m_cvCallDone.wait(lock, [&] {
      return std::none_of(m_vcCalls.begin(), m_vcCalls.end(),
                          [&](const CallEntry& call) { return call.first == pTaken.get() && call.second != self; });
    });
    return pTaken;
  }

  bool Contains(const void* pListener) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return _Find(pListener) != nullptr;
  }

  // Calls f(listener) outside the lock for the listener at that address; false when it is not here.
  template <class F>
  bool Call(const void* pListener, F f) {
    Ptr pFound;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      pFound = _Find(pListener);
      if (!pFound) {
        return false;
      }
      m_vcCalls.emplace_back(pFound.get(), std::this_thread::get_id());
    }
    // Leaves the list of calls even when f throws, so that a waiting Take never hangs.
    struct Leave {
      CCtSvcListenerSet& set;
      CallEntry call;
      ~Leave() {
        std::lock_guard<std::mutex> lock(set.m_mutex);
        const auto it = std::find(set.m_vcCalls.begin(), set.m_vcCalls.end(), call);
        if (it != set.m_vcCalls.end()) {
          set.m_vcCalls.erase(it);
        }
        set.m_cvCallDone.notify_all();
      }
    } leave{*this, {pFound.get(), std::this_thread::get_id()}};
    f(static_cast<const T&>(*pFound));
    return true;
  }

  std::vector<Ptr> Snapshot() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_vcListeners;
  }

 private:
  using CallEntry = std::pair<const T*, std::thread::id>;

  Ptr _Find(const void* pListener) const {
    for (const Ptr& p : m_vcListeners) {
      if (p.get() == pListener) {
        return p;
      }
    }
    return nullptr;
  }

  mutable std::mutex m_mutex;
  std::condition_variable m_cvCallDone;
  std::vector<Ptr> m_vcListeners;
  std::vector<CallEntry> m_vcCalls;  // client calls under way
};

struct CCtSvcDbListenerModule {
  static CCtSvcDbListenerModule& Instance();

  CCtSvcListenerSet<CCtSvcDbObserver> m_vcDbUriListener;
  CCtSvcListenerSet<CCtSvcDbObserver> m_vcDbListListener;
  CCtSvcListenerSet<CCtSvcFullSyncObserver> m_vcFullSyncObserver;
  // Set by pause, cleared by resume. A listener drops any change that still reaches it while set.
  std::atomic<bool> m_bPaused{false};
};

#endif
