// Thumbnail helpers of older callers: the per-contact thumbnail file, and a caller image at any
// size (motion-dial entries take it at 137 x 137).
#include <cstdio>

#include "CtSvcImg.h"
#include "CtSvcImgBitmapPtr.h"
#include "ZelDebug.h"
#include "ZelFm.h"

BOOL CtSetThumbNailBitmap(INT32 nId, const ImgBitmap* pBitmap) {
  if (!ZEL_REQUIRE(pBitmap != NULL)) {
    return FALSE;
  }
  if ((!FmIsDirExist("/User/Ct") && !FmCreateDir("/User/Ct")) ||
      (!FmIsDirExist("/User/Ct/Tmb") && !FmCreateDir("/User/Ct/Tmb"))) {
    DbgPrint(DBG_CLASS_FAIL, "CtSetThumbNailBitmap - FmCreateDir failed\n");
    return FALSE;
  }
  char szPath[64];
  std::snprintf(szPath, sizeof(szPath), "/User/Ct/Tmb/%d.jpeg", nId);
  // The file is removed again when the write fails.
  if (!ImgSaveBitmapToFile(pBitmap, szPath, IMG_FORMAT_JPEG, CTSVC_IMG_JPEG_QUALITY)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSetThumbNailBitmap - write of %s failed\n", szPath);
    return FALSE;
  }
  return TRUE;
}

ImgBitmap* CtGetThumbNailBitmap(INT32 /*nId*/) { return nullptr; }

BOOL CtRemoveThumbNailFile(INT32 /*nId*/) { return TRUE; }

ImgBitmap* CtSvcGetThumbNailBitmap(const char* pszCallerImage, INT32 nWidth, INT32 nHeight) {
  if (pszCallerImage == nullptr || pszCallerImage[0] == '\0' || nWidth < 1 || nHeight < 1) {
    return nullptr;
  }
  if (!CtSvcImgIsThumbDbPath(pszCallerImage)) {
    if (ImgBitmap* pBitmap = ImgLoadScaledBitmap(pszCallerImage, nWidth, nHeight, IMG_RESIZE_FILL)) {
      return pBitmap;
    }
  }
  const CtSvcBitmapPtr pThumb(CtSvcImgLoadThumbnail(pszCallerImage));
  return pThumb ? ImgSvcResizeBitmap(pThumb.get(), nWidth, nHeight, IMG_RESIZE_FILL) : nullptr;
}

void CtFreeThumbNailBitmap(ImgBitmap* pBitmap) { ImgFreeBitmap(pBitmap); }
