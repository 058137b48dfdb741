// Process-wide state that lives until the process ends. Platform threads (event handlers, tasks,
// the timer thread) may still run while static destructors execute at exit, so the state they
// touch is built in static storage and never destroyed.
#ifndef ZEL_CORE_NEVER_DESTROYED_H
#define ZEL_CORE_NEVER_DESTROYED_H

#include <new>
#include <utility>

namespace zel::internal {

template <typename T>
class NeverDestroyed {
 public:
  template <typename... Args>
  explicit NeverDestroyed(Args&&... args) {
    ::new (static_cast<void*>(m_storage)) T(std::forward<Args>(args)...);
  }
  NeverDestroyed(const NeverDestroyed&) = delete;
  NeverDestroyed& operator=(const NeverDestroyed&) = delete;

  T& Get() { return *std::launder(reinterpret_cast<T*>(m_storage)); }

 private:
  alignas(T) unsigned char m_storage[sizeof(T)];
};

}  // namespace zel::internal

#endif
