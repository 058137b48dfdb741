// Storing caller images: from a bitmap, from a source file, and thumbnails alone.
#include <cstring>
#include <string>

#include "ContentFramework.h"
#include "CtSvcImg.h"
#include "CtSvcImgBitmapPtr.h"
#include "CtSvcImgMgr.h"
#include "ZelAc.h"
#include "ZelDebug.h"
#include "ZelFm.h"

namespace {

// The folder of a file path exists (created when missing).
bool MakeParentFolder(const char* pszPath) {
  const char* pszSlash = std::strrchr(pszPath, '/');
  return pszSlash == nullptr || pszSlash == pszPath ||
         FmCreateDir(std::string(pszPath, static_cast<size_t>(pszSlash - pszPath)).c_str());
}

// Required of every path a save writes under: non-empty and absolute.
bool CheckSavePath(const char* pszImgPath) {
  return ZEL_REQUIRE(pszImgPath != NULL && AcStrlen(pszImgPath) > 0) &&
         ZEL_REQUIRE_TEXT(pszImgPath[0] == '/', "pszImgPath[0]=='/'");
}

bool HasRoom() {
  if (!CCtSvcImgMgr::IsEnoughAvailableSize()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::Save - IsEnoughAvailableSize is FALSE\n");
    return false;
  }
  return true;
}

}  // namespace

BOOL CCtSvcImgMgr::_PutThumbnail(const char* pszImgPath, const ImgBitmap* pBitmap) {
  CtSvcBitmapPtr pSized(ImgSvcResizeBitmap(pBitmap, CTSVC_IMG_THUMBNAIL_SIZE, CTSVC_IMG_THUMBNAIL_SIZE, IMG_RESIZE_FILL));
  CtSvcBitmapPtr pThumb(WmGet16BitsBitmap(pSized.get()));
  if (!pThumb) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::Save - thumbnail of %s failed : %s\n", pszImgPath, ImgGetLastError());
    return FALSE;
  }
  const int nAccountId = GetAccountIdFromCallerIdPath(pszImgPath);
  CAppSvcMutexLock lock(m_hAccessMutex);
  CImgSvcThumbDB* pDb = _GetThumbDB(nAccountId);
  if (pDb == nullptr) {
    return FALSE;
  }
  if (pDb->IsFull()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::Save - ThumbDB is Full Source path is (%s)\n", pszImgPath);
    return FALSE;
  }
  if (!pDb->Put(pszImgPath, pThumb->nWidth, pThumb->nHeight, pThumb->nBitsPerPixel, pThumb->pBits,
                static_cast<UINT32>(pThumb->nStride * pThumb->nHeight))) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::Save - ThumbDB Put(%s) failed\n", pszImgPath);
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcImgMgr::_IsThumbDbFull(const char* pszImgPath) {
  const int nAccountId = GetAccountIdFromCallerIdPath(pszImgPath);
  CAppSvcMutexLock lock(m_hAccessMutex);
  CImgSvcThumbDB* pDb = _GetThumbDB(nAccountId);
  return pDb == nullptr || pDb->IsFull();
}

BOOL CCtSvcImgMgr::_DeleteThumbnail(const char* pszImgPath) {
  const int nAccountId = GetAccountIdFromCallerIdPath(pszImgPath);
  CAppSvcMutexLock lock(m_hAccessMutex);
  CImgSvcThumbDB* pDb = _GetThumbDB(nAccountId);
  return pDb != nullptr && pDb->Delete(pszImgPath);
}

BOOL CCtSvcImgMgr::Save(const char* pszImgPath, const ImgBitmap* pBitmap) {
  if (!CheckSavePath(pszImgPath) || !ZEL_REQUIRE(pBitmap != NULL) || !HasRoom()) {
    return FALSE;
  }
  CtSvcBitmapPtr p16(WmGet16BitsBitmap(pBitmap));
  CtSvcBitmapPtr pCaller(
      ImgSvcResizeBitmap(p16.get(), CTSVC_IMG_CALLER_IMAGE_SIZE, CTSVC_IMG_CALLER_IMAGE_SIZE, IMG_RESIZE_FILL));
  if (!pCaller) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::Save - resize failed : %s\n", ImgGetLastError());
    return FALSE;
  }
  const bool bThumb = !_IsThumbDbFull(pszImgPath) && _PutThumbnail(pszImgPath, p16.get());
  if (!MakeParentFolder(pszImgPath) ||
      !ImgSaveBitmapToFile(pCaller.get(), pszImgPath, IMG_FORMAT_JPEG, CTSVC_IMG_JPEG_QUALITY)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::Save - ImgEncodeBitmap(%s) failed\n", pszImgPath);
    if (bThumb) {
      _DeleteThumbnail(pszImgPath);  // no thumbnail of an image that is not there
    }
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcImgMgr::SaveEx(const char* pszImgPath, const char* pszSrcPath) {
  if (!CheckSavePath(pszImgPath) || !ZEL_REQUIRE(pszSrcPath != NULL && pszSrcPath[0] == '/') || !HasRoom()) {
    return FALSE;
  }
  // The whole source is decoded before anything is stored, so a damaged file stores nothing.
  ImgImageInfo info{};
  if (!ImgGetImageInfo(pszSrcPath, &info)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::SaveEx - ImgGetImageInfo(%s) failed : %s\n", pszSrcPath,
             ImgGetLastError());
    return FALSE;
  }
  // An upright JPEG is kept as it is; any other image is stored re-encoded.
  const bool bAsIs = info.nFormat == IMG_FORMAT_JPEG && info.nOrientation == 1;
  const int nSize = bAsIs ? CTSVC_IMG_THUMBNAIL_SIZE : CTSVC_IMG_CALLER_IMAGE_SIZE;
  CtSvcBitmapPtr pBitmap(ImgLoadScaledBitmap(pszSrcPath, nSize, nSize, IMG_RESIZE_FILL));
  if (!pBitmap) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::SaveEx - decoding %s failed : %s\n", pszSrcPath, ImgGetLastError());
    return FALSE;
  }
  const HOBJ hSource = FmOpenFile(pszSrcPath, FM_READ);
  if (hSource == INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::Save - FmOpenFile(%s) failed\n", pszSrcPath);
    return FALSE;
  }
  FmCloseFile(hSource);
  if (_IsThumbDbFull(pszImgPath)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::Save - ThumbDB is Full Source path is (%s)\n", pszSrcPath);
    return MakeParentFolder(pszImgPath) && FmCopyFile(pszSrcPath, pszImgPath);
  }
  if (!bAsIs) {
    return Save(pszImgPath, pBitmap.get());
  }
  if (!MakeParentFolder(pszImgPath) || !FmCopyFile(pszSrcPath, pszImgPath)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::Save - FmCopyFile(%s) failed\n", pszImgPath);
    return FALSE;
  }
  if (!_PutThumbnail(pszImgPath, pBitmap.get())) {
    FmDeleteFile(pszImgPath);
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcImgMgr::SaveThumbnail(const char* pszImgPath) {
  if (!CheckSavePath(pszImgPath) || !HasRoom()) {
    return FALSE;
  }
  CtSvcBitmapPtr pBitmap(
      ImgLoadScaledBitmap(pszImgPath, CTSVC_IMG_THUMBNAIL_SIZE, CTSVC_IMG_THUMBNAIL_SIZE, IMG_RESIZE_FILL));
  if (!pBitmap) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::SaveThumbnail - decoding %s failed : %s\n", pszImgPath,
             ImgGetLastError());
    return FALSE;
  }
  return _PutThumbnail(pszImgPath, pBitmap.get());
}

BOOL CCtSvcImgMgr::SaveThumbnailFromBitmap(const char* pszImgPath, const ImgBitmap* pBitmap) {
  if (!CheckSavePath(pszImgPath) || !ZEL_REQUIRE(pBitmap != NULL) || !HasRoom()) {
    return FALSE;
  }
  return _PutThumbnail(pszImgPath, pBitmap);
}
