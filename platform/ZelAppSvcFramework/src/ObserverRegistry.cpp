// Observer registrations and change delivery.
#include "ObserverRegistry.h"

#include <algorithm>

namespace zel::content {

bool CObserverRegistry::Covers(const std::string& strRegistered, const std::string& strChanged) {
  if (strChanged.size() < strRegistered.size() || strChanged.compare(0, strRegistered.size(), strRegistered) != 0) {
    return false;
  }
  return strChanged.size() == strRegistered.size() || strChanged[strRegistered.size()] == '/';
}

bool CObserverRegistry::Add(const std::string& strUri, IContentObserver* pObserver) {
  std::lock_guard<std::mutex> lock(m_mutex);
  for (const auto& pSlot : m_vcSlots) {
    if (pSlot->pObserver == pObserver && pSlot->strUri == strUri) {
      return false;
    }
  }
  auto pSlot = std::make_shared<Slot>();
  pSlot->strUri = strUri;
  pSlot->pObserver = pObserver;
  m_vcSlots.push_back(std::move(pSlot));
  return true;
}

void CObserverRegistry::WaitForOtherCallers(std::unique_lock<std::mutex>& lock, const Slot& slot) {
  const std::thread::id self = std::this_thread::get_id();
  m_cvCallDone.wait(lock, [&] {
    return std::all_of(slot.vcCallers.begin(), slot.vcCallers.end(), [&](std::thread::id id) { return id == self; });
  });
}

bool CObserverRegistry::Remove(const std::string& strUri, IContentObserver* pObserver) {
  std::unique_lock<std::mutex> lock(m_mutex);
  auto it = std::find_if(m_vcSlots.begin(), m_vcSlots.end(), [&](const std::shared_ptr<Slot>& pSlot) {
    return pSlot->pObserver == pObserver && pSlot->strUri == strUri;
  });
  if (it == m_vcSlots.end()) {
    return false;
  }
  std::shared_ptr<Slot> pSlot = *it;
  m_vcSlots.erase(it);
  pSlot->bRemoved = true;
  WaitForOtherCallers(lock, *pSlot);
  return true;
}

int CObserverRegistry::RemoveAll(IContentObserver* pObserver) {
  std::unique_lock<std::mutex> lock(m_mutex);
  std::vector<std::shared_ptr<Slot>> vcRemoved;
  for (auto it = m_vcSlots.begin(); it != m_vcSlots.end();) {
    if ((*it)->pObserver == pObserver) {
      (*it)->bRemoved = true;
      vcRemoved.push_back(*it);
      it = m_vcSlots.erase(it);
    } else {
      ++it;
    }
  }
  for (const auto& pSlot : vcRemoved) {
    WaitForOtherCallers(lock, *pSlot);
  }
  return static_cast<int>(vcRemoved.size());
}

void CObserverRegistry::Call(const std::shared_ptr<Slot>& pSlot, int nChangeType, const std::string& strUri, int nId,
                             intptr_t nParam1, int nParam2) {
  const std::thread::id self = std::this_thread::get_id();
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (pSlot->bRemoved) {
      return;
    }
    pSlot->vcCallers.push_back(self);
  }
  // Leaves the slot even when OnChange throws, so that a waiting Remove never hangs.
  struct Leave {
    CObserverRegistry& registry;
    Slot& slot;
    std::thread::id self;
    ~Leave() {
      std::lock_guard<std::mutex> lock(registry.m_mutex);
      auto it = std::find(slot.vcCallers.begin(), slot.vcCallers.end(), self);
      if (it != slot.vcCallers.end()) {
        slot.vcCallers.erase(it);
      }
      registry.m_cvCallDone.notify_all();
    }
  } leave{*this, *pSlot, self};
  pSlot->pObserver->OnChange(nChangeType, strUri, nId, nParam1, nParam2);
}

void CObserverRegistry::Notify(int nChangeType, const std::string& strUri, int nId, intptr_t nParam1, int nParam2) {
  std::vector<std::shared_ptr<Slot>> vcTargets;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& pSlot : m_vcSlots) {
      if (Covers(pSlot->strUri, strUri)) {
        vcTargets.push_back(pSlot);
      }
    }
  }
  for (const auto& pSlot : vcTargets) {
    Call(pSlot, nChangeType, strUri, nId, nParam1, nParam2);
  }
}

}  // namespace zel::content
