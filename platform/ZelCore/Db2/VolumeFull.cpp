// Db2IsVolumeFull and the full-volume state of the write path: the free space of the file system
// holding the data directory, what a test forced, and whether the engine found the disk full.
#include "VolumeFull.h"

#include <sys/statvfs.h>

#include <atomic>

#include "ZelCoreTest.h"
#include "ZelDb2.h"
#include "ZelDebug.h"
#include "ZelFm.h"

namespace {

// Below this much free space the tables cannot be written safely.
constexpr unsigned long long kMinFreeBytes = 1024ULL * 1024ULL;

std::atomic<bool> g_bForcedFull{false};
// Writes a test lets through before the volume counts as full; -1: no such count.
std::atomic<int> g_nWritesBeforeFull{-1};

// Counts one write against the test's count; true when the volume is full by it.
bool CountedFull() {
  int n = g_nWritesBeforeFull.load(std::memory_order_relaxed);
  while (n > 0 && !g_nWritesBeforeFull.compare_exchange_weak(n, n - 1)) {
  }
  return n == 0;
}
// Set when the engine answered SQLITE_FULL; cleared once the file system shows room again.
std::atomic<bool> g_bDiskFull{false};

// False when the file system holding pszDir has less than kMinFreeBytes free; room clears the
// full disk the engine reported. A file system that cannot be asked counts as having room: the
// engine still reports a real full.
bool HasRoom(const char* pszDir) {
  struct statvfs st {};
  if (statvfs(pszDir, &st) != 0) {
    DbgPrint(DBG_CLASS_FAIL, "Db2IsVolumeFull - statvfs failed (%s)\n", pszDir);
    return true;
  }
  const unsigned long long nFree = static_cast<unsigned long long>(st.f_bavail) * st.f_frsize;
  if (nFree < kMinFreeBytes) {
    return false;
  }
  g_bDiskFull.store(false);
  return true;
}

}  // namespace

namespace zel::db2 {

bool IsVolumeFullForWrites(const char* pszDir) {
  if (g_bForcedFull.load(std::memory_order_relaxed) || CountedFull()) {
    return true;
  }
  return g_bDiskFull.load(std::memory_order_relaxed) && !HasRoom(pszDir);
}

void NoteDiskFull() { g_bDiskFull.store(true); }

}  // namespace zel::db2

namespace zel::test {

void SetVolumeFull(bool bFull) {
  g_bForcedFull.store(bFull);
  g_bDiskFull.store(false);
  g_nWritesBeforeFull.store(-1);
}

void SetVolumeFullAfterWrites(int nWrites) {
  g_bForcedFull.store(false);
  g_bDiskFull.store(false);
  g_nWritesBeforeFull.store(nWrites < 0 ? -1 : nWrites);
}

}  // namespace zel::test

// Every volume the service names is the data directory's file system.
extern "C" BOOL Db2IsVolumeFull(int /*nVolume*/) {
  if (g_bForcedFull.load() || g_nWritesBeforeFull.load() == 0) {
    return TRUE;
  }
  return HasRoom(ZelGetDataDir()) ? FALSE : TRUE;
}
