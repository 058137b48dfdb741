// Process-wide state that lives until the process ends. Platform threads (event handlers, tasks,
// the timer thread) may still run while static destructors execute at exit, and other libraries
// may reach these objects from their own static destructors, so the object is built in static
// storage and never destroyed; nothing owns a heap block.
#ifndef ZEL_IMMORTAL_H
#define ZEL_IMMORTAL_H

#include <new>
#include <utility>

namespace zel {

template <typename T>
class Immortal {
 public:
  template <typename... Args>
  explicit Immortal(Args&&... args) {
    ::new (static_cast<void*>(m_storage)) T(std::forward<Args>(args)...);
  }
  Immortal(const Immortal&) = delete;
  Immortal& operator=(const Immortal&) = delete;

  T& Get() { return *std::launder(reinterpret_cast<T*>(m_storage)); }

 private:
  alignas(T) unsigned char m_storage[sizeof(T)];
};

}  // namespace zel

#endif
