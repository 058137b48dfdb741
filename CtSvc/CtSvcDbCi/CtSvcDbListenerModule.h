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
#include <memory>
#include <mutex>
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
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = std::find_if(m_vcListeners.begin(), m_vcListeners.end(), [&](const Ptr& p) { return pred(*p); });
    if (it == m_vcListeners.end()) {
      return nullptr;
    }
    Ptr pTaken = std::move(*it);
    m_vcListeners.erase(it);
    return pTaken;
  }

  bool Contains(const void* pListener) const {
    return With(pListener, [](const T&) {});
  }

  // Calls f(listener) under the lock for the listener at that address; false when it is not here.
  template <class F>
  bool With(const void* pListener, F f) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const Ptr& p : m_vcListeners) {
      if (p.get() == pListener) {
        f(*p);
        return true;
      }
    }
    return false;
  }

  std::vector<Ptr> Snapshot() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_vcListeners;
  }

 private:
  mutable std::mutex m_mutex;
  std::vector<Ptr> m_vcListeners;
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
