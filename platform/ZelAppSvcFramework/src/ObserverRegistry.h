// Observers of content URIs, called outside the registry's lock on the thread that made a change.
#ifndef ZEL_FW_OBSERVER_REGISTRY_H
#define ZEL_FW_OBSERVER_REGISTRY_H

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ContentFramework.h"

namespace zel::content {

class CObserverRegistry {
 public:
  // False for a registration that exists already.
  bool Add(const std::string& strUri, IContentObserver* pObserver);
  // Removes one registration, then waits until calls of it running on other threads have
  // returned, so that the observer may be destroyed as soon as this returns. False when absent.
  bool Remove(const std::string& strUri, IContentObserver* pObserver);
  // Removes every registration of the observer (waiting likewise); the number removed.
  int RemoveAll(IContentObserver* pObserver);
  // Calls every observer of the URI or of a URI it continues, in registration order.
  void Notify(int nChangeType, const std::string& strUri, int nId, intptr_t nParam1, int nParam2);

 private:
  struct Slot {
    std::string strUri;
    IContentObserver* pObserver = nullptr;
    bool bRemoved = false;
    std::vector<std::thread::id> vcCallers;  // threads inside OnChange of this slot
  };

  static bool Covers(const std::string& strRegistered, const std::string& strChanged);
  void Call(const std::shared_ptr<Slot>& pSlot, int nChangeType, const std::string& strUri, int nId,
            intptr_t nParam1, int nParam2);
  // Waits (with the lock held by `lock`) until only the calling thread may still be in the slot.
  void WaitForOtherCallers(std::unique_lock<std::mutex>& lock, const Slot& slot);

  std::mutex m_mutex;
  std::condition_variable m_cvCallDone;
  std::vector<std::shared_ptr<Slot>> m_vcSlots;
};

}  // namespace zel::content

#endif
