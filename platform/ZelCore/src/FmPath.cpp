// Platform paths: "/User/Ct/a.vcf" and "User/Ct/a.vcf" both name "<datadir>/User/Ct/a.vcf".
// A path that already lies inside the data directory is taken as it is; a path with a ".."
// component is refused, so no platform path reaches outside the data directory.
#include <cstring>
#include <string>

#include "FmInternal.h"
#include "ZelDebug.h"
#include "ZelFm.h"

namespace {

bool HasParentComponent(const std::string& path) {
  size_t nStart = 0;
  while (nStart <= path.size()) {
    size_t nEnd = path.find('/', nStart);
    if (nEnd == std::string::npos) {
      nEnd = path.size();
    }
    if (path.compare(nStart, nEnd - nStart, "..") == 0 && nEnd - nStart == 2) {
      return true;
    }
    nStart = nEnd + 1;
  }
  return false;
}

bool IsInside(const std::string& path, const std::string& dir) {
  return path == dir || (path.size() > dir.size() && path.compare(0, dir.size(), dir) == 0 && path[dir.size()] == '/');
}

}  // namespace

namespace zel::internal {

bool HostPath(const char* pszPath, std::string* pHostPath) {
  if (pszPath == nullptr || *pszPath == '\0') {
    DbgPrint(DBG_CLASS_FAIL, "FmGetHostPath: - empty path\n");
    return false;
  }
  const std::string path = pszPath;
  if (HasParentComponent(path)) {
    DbgPrint(DBG_CLASS_FAIL, "FmGetHostPath: - %s climbs out of the data directory\n", pszPath);
    return false;
  }
  const std::string dataDir = ZelGetDataDir();
  if (IsInside(path, dataDir)) {
    *pHostPath = path;
    return true;
  }
  const size_t nFirst = path.find_first_not_of('/');
  *pHostPath = nFirst == std::string::npos ? dataDir : dataDir + "/" + path.substr(nFirst);
  return true;
}

}  // namespace zel::internal

extern "C" BOOL FmGetHostPath(const char* pszPath, char* pszHostPath, size_t nSize) {
  std::string host;
  if (pszHostPath == nullptr || !zel::internal::HostPath(pszPath, &host)) {
    return FALSE;
  }
  if (host.size() >= nSize) {
    DbgPrint(DBG_CLASS_FAIL, "FmGetHostPath: - %s does not fit in %zu bytes\n", host.c_str(), nSize);
    return FALSE;
  }
  std::memcpy(pszHostPath, host.c_str(), host.size() + 1);
  return TRUE;
}
