// Reading and removing caller images and thumbnails.
#include <cstring>

#include "ContentFramework.h"
#include "CtSvcImgMgr.h"
#include "ZelDebug.h"
#include "ZelFm.h"

namespace {

const char kAccountPrefix[] = "/User/Mass/Ct/";

bool IsEmpty(const char* pszPath) { return pszPath == nullptr || pszPath[0] == '\0'; }

}  // namespace

ImgBitmap* CCtSvcImgMgr::LoadThumbnail(const char* pszImgPath) {
  if (IsEmpty(pszImgPath)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::LoadThumbnail -pszImgPath is NULL or length is 0\n");
    return nullptr;
  }
  const int nAccountId = GetAccountIdFromCallerIdPath(pszImgPath);
  CAppSvcMutexLock lock(m_hAccessMutex);
  CImgSvcThumbDB* pDb = _GetThumbDB(nAccountId);
  ImgBitmap* pThumb = pDb != nullptr ? pDb->Get(pszImgPath) : nullptr;
  if (pThumb == nullptr) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcImgMgr::LoadThumbnail - not found in thunbDB(%s)\n", pszImgPath);
  }
  return pThumb;
}

ImgBitmap* CCtSvcImgMgr::Load(const char* pszImgPath) {
  if (IsEmpty(pszImgPath)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::Load - Failed(ImgPath=%s)\n", "");
    return nullptr;
  }
  {
    const int nAccountId = GetAccountIdFromCallerIdPath(pszImgPath);
    CAppSvcMutexLock lock(m_hAccessMutex);
    CImgSvcThumbDB* pDb = _GetThumbDB(nAccountId);
    if (ImgBitmap* pThumb = pDb != nullptr ? pDb->Get(pszImgPath) : nullptr) {
      return pThumb;
    }
  }
  ImgImageInfo info{};
  if (!ImgGetImageInfo(pszImgPath, &info)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::Load - ImgGetImageInfo failed\n");
    return nullptr;
  }
  ImgBitmap* pBitmap = ImgLoadScaledBitmap(pszImgPath, 0, 0, 0);
  if (pBitmap == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::Load - Failed(ImgPath=%s)\n", pszImgPath);
  }
  return pBitmap;
}

BOOL CCtSvcImgMgr::Delete(const char* pszImgPath) {
  if (IsEmpty(pszImgPath)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::Delete - pszImgPath is NULL or Length is 0!\n");
    return FALSE;
  }
  const bool bThumb = _DeleteThumbnail(pszImgPath) != FALSE;
  // Only files of the image store are the manager's to remove.
  const bool bFile = std::strncmp(pszImgPath, kAccountPrefix, sizeof(kAccountPrefix) - 1) == 0 &&
                     FmIsFileExist(pszImgPath) && FmDeleteFile(pszImgPath);
  return bThumb || bFile ? TRUE : FALSE;
}

BOOL CCtSvcImgMgr::IsThumbDbPath(const char* pszImgPath) {
  if (pszImgPath == nullptr || pszImgPath[0] != '/') {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcImgMgr::IsThumbDbPath - pszImgPath is not valid path!\n");
    return TRUE;
  }
  const HOBJ hFile = FmOpenFile(pszImgPath, FM_READ);
  if (hFile == INVALID_HOBJ) {
    return TRUE;
  }
  FmCloseFile(hFile);
  return FALSE;
}
