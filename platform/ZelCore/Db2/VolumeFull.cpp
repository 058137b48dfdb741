// Db2IsVolumeFull: the free space of the file system holding the data directory, or what a test
// forced.
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

}  // namespace

namespace zel::test {

void SetVolumeFull(bool bFull) { g_bForcedFull.store(bFull); }

}  // namespace zel::test

extern "C" BOOL Db2IsVolumeFull(int nVolume) {
  if (g_bForcedFull.load()) {
    return TRUE;
  }
  struct statvfs st {};
  if (statvfs(ZelGetDataDir(), &st) != 0) {
    DbgPrint(DBG_CLASS_FAIL, "Db2IsVolumeFull - statvfs failed for volume %d (%s)\n", nVolume, ZelGetDataDir());
    return FALSE;
  }
  const unsigned long long nFree = static_cast<unsigned long long>(st.f_bavail) * st.f_frsize;
  return nFree < kMinFreeBytes ? TRUE : FALSE;
}
