// Handle table shared by every kind of platform object (tasks, mutexes, timers, event handlers,
// groups, files). Handles are small positive integers drawn from one process-wide counter, so a
// handle is never valid in two tables and a closed handle is not handed out again until the
// counter wraps: a stale or foreign handle is simply not found.
#ifndef ZEL_CORE_HANDLE_TABLE_H
#define ZEL_CORE_HANDLE_TABLE_H

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "ZelTypes.h"

namespace zel::internal {

// The process-wide handle sequence (one counter for every table of the library).
inline std::atomic<uint32_t>& HandleCounter() {
  static std::atomic<uint32_t> s_counter{0};
  return s_counter;
}

// Next handle of the process-wide sequence, skipping values for which inUse() is true and the
// broadcast address of the event handlers (WM_BROADCAST).
template <typename InUse>
HOBJ NextHandle(InUse inUse) {
  for (;;) {
    // 1 .. 0x7FFFFFFE, wrapping around when the counter does.
    const HOBJ h = static_cast<HOBJ>(HandleCounter().fetch_add(1) % 0x7FFFFFFEu) + 1;
    if (h != 0xFFFE && !inUse(h)) {
      return h;
    }
  }
}

template <typename T>
class HandleTable {
 public:
  // Stores the object; its new handle (> 0).
  HOBJ Add(std::shared_ptr<T> pObject) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const HOBJ h = NextHandle([this](HOBJ n) { return m_objects.count(n) != 0; });
    m_objects.emplace(h, std::move(pObject));
    return h;
  }

  // The object of the handle, or null.
  std::shared_ptr<T> Get(HOBJ h) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_objects.find(h);
    return it == m_objects.end() ? nullptr : it->second;
  }

  // Takes the object out of the table (null when the handle is not in it). The object lives on
  // while someone else still holds it.
  std::shared_ptr<T> Remove(HOBJ h) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_objects.find(h);
    if (it == m_objects.end()) {
      return nullptr;
    }
    std::shared_ptr<T> p = std::move(it->second);
    m_objects.erase(it);
    return p;
  }

  // The first (lowest) handle whose object satisfies pred, or INVALID_HOBJ.
  template <typename Pred>
  HOBJ Find(Pred pred) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& entry : m_objects) {
      if (pred(*entry.second)) {
        return entry.first;
      }
    }
    return INVALID_HOBJ;
  }

  // Handles of every object satisfying pred, in handle order.
  template <typename Pred>
  std::vector<HOBJ> FindAll(Pred pred) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<HOBJ> found;
    for (const auto& entry : m_objects) {
      if (pred(*entry.second)) {
        found.push_back(entry.first);
      }
    }
    return found;
  }

  size_t Size() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_objects.size();
  }

 private:
  mutable std::mutex m_mutex;
  std::map<HOBJ, std::shared_ptr<T>> m_objects;
};

}  // namespace zel::internal

#endif
