// Free space of the volume holding a platform path, or what a test says it is.
#include <sys/statvfs.h>

#include <atomic>
#include <string>

#include "FmInternal.h"
#include "ZelCoreTest.h"
#include "ZelFm.h"

namespace {

std::atomic<int64_t> g_nForcedAvailable{-1};

}  // namespace

INT64 FmGetAvailableSize(const char* pszPath) {
  const int64_t nForced = g_nForcedAvailable.load();
  if (nForced >= 0) {
    return nForced;
  }
  std::string strHost;
  if (!zel::internal::HostPath(pszPath, &strHost)) {
    return -1;
  }
  // The nearest existing folder of the path answers for it.
  struct statvfs st {};
  while (statvfs(strHost.c_str(), &st) != 0) {
    const size_t nSlash = strHost.find_last_of('/');
    if (nSlash == std::string::npos || nSlash == 0) {
      return -1;
    }
    strHost.resize(nSlash);
  }
  return static_cast<INT64>(st.f_bavail) * static_cast<INT64>(st.f_frsize);
}

namespace zel::test {

void SetAvailableSize(int64_t nBytes) { g_nForcedAvailable.store(nBytes < 0 ? -1 : nBytes); }

}  // namespace zel::test
