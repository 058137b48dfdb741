// Objects reached through small integer handles (>= 0). A freed handle number is reused.
// Callers hold the connection mutex.
#ifndef ZEL_DB2_HANDLE_TABLE_H
#define ZEL_DB2_HANDLE_TABLE_H

#include <algorithm>
#include <memory>
#include <vector>

namespace zel::db2 {

template <typename T>
class HandleTable {
 public:
  int Add(std::unique_ptr<T> pObject) {
    const auto it = std::find(m_slots.begin(), m_slots.end(), nullptr);
    if (it != m_slots.end()) {
      *it = std::move(pObject);
      return static_cast<int>(it - m_slots.begin());
    }
    m_slots.push_back(std::move(pObject));
    return static_cast<int>(m_slots.size() - 1);
  }
  T* Find(int nHandle) const {
    return IsUsed(nHandle) ? m_slots[static_cast<size_t>(nHandle)].get() : nullptr;
  }
  bool Remove(int nHandle) {
    if (!IsUsed(nHandle)) {
      return false;
    }
    m_slots[static_cast<size_t>(nHandle)].reset();
    return true;
  }
  void Clear() {
    for (auto& p : m_slots) {
      p.reset();
    }
  }

 private:
  bool IsUsed(int nHandle) const {
    return nHandle >= 0 && static_cast<size_t>(nHandle) < m_slots.size() && m_slots[static_cast<size_t>(nHandle)];
  }
  std::vector<std::unique_ptr<T>> m_slots;
};

}  // namespace zel::db2

#endif
