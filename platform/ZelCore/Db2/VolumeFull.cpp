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
  if (g_bForcedFull.load(std::memory_order_relaxed)) {
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
}

}  // namespace zel::test

// Every volume the service names is the data directory's file system.
extern "C" BOOL Db2IsVolumeFull(int /*nVolume*/) {
  if (g_bForcedFull.load()) {
    return TRUE;
  }
  return HasRoom(ZelGetDataDir()) ? FALSE : TRUE;
}
