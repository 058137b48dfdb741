// Storage for a process-wide object that is never destroyed, so that threads still running while
// the process exits (and static destructors of other libraries) can use it. The object lives in
// static storage; nothing owns a heap block.
#ifndef ZEL_IMMORTAL_H
#define ZEL_IMMORTAL_H

#include <new>

namespace zel {

template <typename T>
class Immortal {
 public:
  Immortal() : m_pObject(::new (static_cast<void*>(m_storage)) T()) {}
  Immortal(const Immortal&) = delete;
  Immortal& operator=(const Immortal&) = delete;
  T& Get() { return *m_pObject; }

 private:
  alignas(T) unsigned char m_storage[sizeof(T)];
  T* m_pObject;
};

}  // namespace zel

#endif
