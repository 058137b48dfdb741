// Storage for a process-wide object that is never destroyed, so that threads still running while
// the process exits can use it.
#ifndef ZEL_DB2_IMMORTAL_H
#define ZEL_DB2_IMMORTAL_H

#include <new>

namespace zel::db2 {

template <typename T>
class Immortal {
 public:
  Immortal() : m_pObject(::new (static_cast<void*>(m_storage)) T()) {}
  T& Get() { return *m_pObject; }

 private:
  alignas(T) unsigned char m_storage[sizeof(T)];
  T* m_pObject;
};

}  // namespace zel::db2

#endif
