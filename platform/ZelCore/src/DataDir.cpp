// The data directory in which every platform path is rooted.
#include <sys/stat.h>

#include <cerrno>
#include <mutex>
#include <string>

#include "ZelFm.h"

namespace {
std::mutex g_mutex;
std::string g_strDataDir = "./ctsvc-data";

// mkdir -p; true when the directory exists afterwards.
bool MakeDirs(const std::string& path) {
  if (path.empty()) {
    return false;
  }
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) {
    return S_ISDIR(st.st_mode);
  }
  const size_t nSlash = path.find_last_of('/');
  if (nSlash != std::string::npos && nSlash > 0 && !MakeDirs(path.substr(0, nSlash))) {
    return false;
  }
  return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}
}  // namespace

extern "C" BOOL ZelSetDataDir(const char* pszHostDir) {
  if (pszHostDir == nullptr || *pszHostDir == '\0') {
    return FALSE;
  }
  std::string dir = pszHostDir;
  while (dir.size() > 1 && dir.back() == '/') {
    dir.pop_back();
  }
  if (!MakeDirs(dir)) {
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(g_mutex);
  g_strDataDir = dir;
  return TRUE;
}

extern "C" const char* ZelGetDataDir(void) {
  // The string only changes through ZelSetDataDir, which callers make before using the platform.
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_strDataDir.c_str();
}
