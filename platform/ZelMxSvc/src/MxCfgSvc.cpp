// Save folders of media files, chosen by the file's extension.
#include <cstring>
#include <strings.h>

#include "ZelDebug.h"
#include "ZelMxSvc.h"

namespace {

struct FolderRule {
  const char* szExtension;
  const char* szFolder;
};

const FolderRule kRules[] = {
    {"jpg", MXSVC_FOLDER_IMAGES}, {"jpeg", MXSVC_FOLDER_IMAGES}, {"png", MXSVC_FOLDER_IMAGES},
    {"gif", MXSVC_FOLDER_IMAGES}, {"bmp", MXSVC_FOLDER_IMAGES},  {"wbmp", MXSVC_FOLDER_IMAGES},
    {"webp", MXSVC_FOLDER_IMAGES}, {"mp3", MXSVC_FOLDER_SOUNDS}, {"amr", MXSVC_FOLDER_SOUNDS},
    {"wav", MXSVC_FOLDER_SOUNDS}, {"aac", MXSVC_FOLDER_SOUNDS},  {"m4a", MXSVC_FOLDER_SOUNDS},
    {"mid", MXSVC_FOLDER_SOUNDS}, {"midi", MXSVC_FOLDER_SOUNDS}, {"ogg", MXSVC_FOLDER_SOUNDS},
    {"imy", MXSVC_FOLDER_SOUNDS}, {"mmf", MXSVC_FOLDER_SOUNDS},
};

// The extension of the file's last path component, or null.
const char* Extension(const char* pszFile) {
  const char* pszName = std::strrchr(pszFile, '/');
  pszName = pszName != nullptr ? pszName + 1 : pszFile;
  const char* pszDot = std::strrchr(pszName, '.');
  return pszDot != nullptr ? pszDot + 1 : nullptr;
}

const char* FolderOf(const char* pszFile) {
  const char* pszExt = Extension(pszFile);
  if (pszExt != nullptr) {
    for (const FolderRule& rule : kRules) {
      if (strcasecmp(pszExt, rule.szExtension) == 0) {
        return rule.szFolder;
      }
    }
  }
  return MXSVC_FOLDER_OTHERS;
}

}  // namespace

extern "C" BOOL MxCfgSvcGetSavePathByFile(const char* pszFile, char* pszOut, int nSize) {
  if (pszFile == nullptr || pszOut == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "MxCfgSvcGetSavePathByFile: - null argument\n");
    return FALSE;
  }
  const char* pszFolder = FolderOf(pszFile);
  const size_t nNeed = std::strlen(pszFolder) + 1;
  if (nSize < 0 || static_cast<size_t>(nSize) < nNeed) {
    DbgPrint(DBG_CLASS_FAIL, "MxCfgSvcGetSavePathByFile: - output of %d bytes is too small\n", nSize);
    return FALSE;
  }
  std::memcpy(pszOut, pszFolder, nNeed);
  return TRUE;
}
