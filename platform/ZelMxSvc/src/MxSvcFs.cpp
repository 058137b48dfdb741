// File counts and existence checks on platform folders.
#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>

#include <memory>
#include <string>

#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelMxSvc.h"

namespace {

bool IsRegularFile(const std::string& strPath) {
  struct stat st {};
  return stat(strPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

extern "C" int MxSvcFsGetContentsCntByPathForFullCheck(const char* pszFolder) {
  char szHost[PATH_MAX];
  if (pszFolder == nullptr || !FmGetHostPath(pszFolder, szHost, sizeof(szHost))) {
    DbgPrint(DBG_CLASS_FAIL, "MxSvcFsGetContentsCntByPathForFullCheck: - invalid folder\n");
    return -1;
  }
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(szHost), &closedir);
  if (dir == nullptr) {
    return 0;
  }
  int nCount = 0;
  while (const dirent* pEntry = readdir(dir.get())) {
    if (IsRegularFile(std::string(szHost) + "/" + pEntry->d_name)) {
      ++nCount;
    }
  }
  return nCount;
}

extern "C" BOOL MxSvcFsIsDuplicatedFile(const char* pszPath) {
  if (pszPath == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "MxSvcFsIsDuplicatedFile: - pszPath is NULL\n");
    return FALSE;
  }
  return FmIsFileExist(pszPath) || FmIsDirExist(pszPath) ? TRUE : FALSE;
}
