// Scoped lock of a platform mutex.
#include "ContentFramework.h"
#include "ZelDebug.h"
#include "ZelOs.h"

CAppSvcMutexLock::CAppSvcMutexLock(HOBJ hMutex) : m_hMutex(hMutex), m_bLocked(false) {
  if (hMutex == INVALID_HOBJ || hMutex == ZEL_INVALID_HANDLE_VALUE) {
    DbgPrint(DBG_CLASS_FAIL, "CAppSvcMutexLock::CAppSvcMutexLock - invalid mutex handle(%d)\n", hMutex);
    return;
  }
  m_bLocked = OsLockMutex(hMutex) != FALSE;
  if (!m_bLocked) {
    DbgPrint(DBG_CLASS_FAIL, "CAppSvcMutexLock::CAppSvcMutexLock - OsLockMutex(%d) failed\n", hMutex);
  }
}

CAppSvcMutexLock::~CAppSvcMutexLock() {
  if (m_bLocked) {
    OsUnlockMutex(m_hMutex);
  }
}
