// Recursive named mutexes. The lock is kept as an owner thread and a depth guarded by a plain
// mutex and a condition variable, so that
//  - an unlock by a thread that does not hold the mutex is refused instead of being undefined;
//  - deleting a mutex is safe whoever holds it: the handle becomes invalid at once, threads
//    waiting for it wake up and get FALSE, and the holder's later unlock gets FALSE (the lock is
//    gone, nothing stays locked). The memory is freed when the last waiter has left.
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "HandleTable.h"
#include "ZelDebug.h"
#include "ZelImmortal.h"
#include "ZelOs.h"

namespace {

struct Mutex {
  std::string name;
  std::mutex mutex;
  std::condition_variable cv;
  std::thread::id owner;  // default id: not held
  unsigned nDepth = 0;
  bool bDeleted = false;
};

zel::internal::HandleTable<Mutex>& Mutexes() {
  static zel::Immortal<zel::internal::HandleTable<Mutex>> s_mutexes;
  return s_mutexes.Get();
}

std::shared_ptr<Mutex> FindMutex(HOBJ hMutex, const char* pszCaller) {
  std::shared_ptr<Mutex> pMutex = Mutexes().Get(hMutex);
  if (pMutex == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - invalid mutex handle(%d)\n", pszCaller, hMutex);
  }
  return pMutex;
}

// Takes the lock when it is free or already ours (the caller holds m.mutex).
bool TakeIfAvailable(Mutex& m) {
  const std::thread::id self = std::this_thread::get_id();
  if (m.nDepth != 0 && m.owner != self) {
    return false;
  }
  m.owner = self;
  ++m.nDepth;
  return true;
}

BOOL Lock(HOBJ hMutex, bool bWait, const char* pszCaller) {
  std::shared_ptr<Mutex> pMutex = FindMutex(hMutex, pszCaller);
  if (pMutex == nullptr) {
    return FALSE;
  }
  std::unique_lock<std::mutex> lock(pMutex->mutex);
  if (bWait) {
    pMutex->cv.wait(lock, [&] { return pMutex->bDeleted || pMutex->nDepth == 0 ||
                                       pMutex->owner == std::this_thread::get_id(); });
  }
  if (pMutex->bDeleted) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - mutex %s was deleted\n", pszCaller, pMutex->name.c_str());
    return FALSE;
  }
  return TakeIfAvailable(*pMutex) ? TRUE : FALSE;
}

}  // namespace

extern "C" HOBJ OsCreateMutex(const char* pszName) {
  auto pMutex = std::make_shared<Mutex>();
  pMutex->name = pszName != nullptr ? pszName : "";
  return Mutexes().Add(std::move(pMutex));
}

extern "C" BOOL OsLockMutex(HOBJ hMutex) { return Lock(hMutex, true, "OsLockMutex"); }

extern "C" BOOL OsTryLockMutex(HOBJ hMutex) { return Lock(hMutex, false, "OsTryLockMutex"); }

extern "C" BOOL OsUnlockMutex(HOBJ hMutex) {
  std::shared_ptr<Mutex> pMutex = FindMutex(hMutex, "OsUnlockMutex");
  if (pMutex == nullptr) {
    return FALSE;
  }
  {
    std::lock_guard<std::mutex> lock(pMutex->mutex);
    if (pMutex->nDepth == 0 || pMutex->owner != std::this_thread::get_id()) {
      DbgPrint(DBG_CLASS_FAIL, "OsUnlockMutex: - mutex %s is not held by this thread\n", pMutex->name.c_str());
      return FALSE;
    }
    if (--pMutex->nDepth != 0) {
      return TRUE;
    }
    pMutex->owner = std::thread::id();
  }
  pMutex->cv.notify_one();
  return TRUE;
}

extern "C" BOOL OsDeleteMutex(HOBJ hMutex) {
  std::shared_ptr<Mutex> pMutex = Mutexes().Remove(hMutex);
  if (pMutex == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "OsDeleteMutex: - invalid mutex handle(%d)\n", hMutex);
    return FALSE;
  }
  {
    std::lock_guard<std::mutex> lock(pMutex->mutex);
    if (pMutex->nDepth != 0 && pMutex->owner != std::this_thread::get_id()) {
      DbgPrint(DBG_CLASS_FAIL, "OsDeleteMutex: - mutex %s deleted while another thread holds it\n",
               pMutex->name.c_str());
    }
    pMutex->bDeleted = true;
    pMutex->nDepth = 0;
    pMutex->owner = std::thread::id();
  }
  pMutex->cv.notify_all();
  return TRUE;
}
