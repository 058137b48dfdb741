// Reading image files and buffers as displayed bitmaps, and encoding bitmaps to files.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "ImgInternal.h"
#include "ZelCore/ZelFm.h"

namespace {

using namespace zel::img;

struct BitmapFree {
  void operator()(ImgBitmap* p) const { ImgFreeBitmap(p); }
};
using BitmapPtr = std::unique_ptr<ImgBitmap, BitmapFree>;

class CFile {
 public:
  explicit CFile(HOBJ hFile) : m_hFile(hFile) {}
  ~CFile() {
    if (m_hFile != INVALID_HOBJ) FmCloseFile(m_hFile);
  }
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  HOBJ Get() const { return m_hFile; }

 private:
  HOBJ m_hFile;
};

bool ReadInfo(const UINT8* pData, size_t nSize, ImgImageInfo* pInfo) {
  switch (SniffFormat(pData, nSize)) {
    case IMG_FORMAT_JPEG: return JpegReadInfo(pData, nSize, pInfo);
    case IMG_FORMAT_PNG: return PngReadInfo(pData, nSize, pInfo);
    default: SetError("not a JPEG or PNG image"); return false;
  }
}

// Size the decoded (stored, not yet oriented) image must cover so that the mode's target keeps
// full detail; 0 x 0 for the image's own size.
void MinDecodeSize(const ImgImageInfo& info, int nWidth, int nHeight, int nMode, int& nMinW, int& nMinH) {
  nMinW = nMinH = 0;
  if (nWidth <= 0 || nHeight <= 0) {
    return;
  }
  const double sw = static_cast<double>(nWidth) / info.nWidth;
  const double sh = static_cast<double>(nHeight) / info.nHeight;
  const double s = nMode == IMG_RESIZE_FILL ? std::max(sw, sh) : nMode == IMG_RESIZE_FIT ? std::min(sw, sh) : 0.0;
  int nShownW = s > 0.0 ? static_cast<int>(std::ceil(info.nWidth * s)) : nWidth;
  int nShownH = s > 0.0 ? static_cast<int>(std::ceil(info.nHeight * s)) : nHeight;
  if (info.nOrientation >= 5) {
    std::swap(nShownW, nShownH);
  }
  nMinW = nShownW;
  nMinH = nShownH;
}

}  // namespace

namespace zel::img {

ImgFormat SniffFormat(const UINT8* pData, size_t nSize) {
  static const UINT8 kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (pData != nullptr && nSize >= 3 && pData[0] == 0xFF && pData[1] == 0xD8 && pData[2] == 0xFF) {
    return IMG_FORMAT_JPEG;
  }
  if (pData != nullptr && nSize >= 8 && std::memcmp(pData, kPng, 8) == 0) {
    return IMG_FORMAT_PNG;
  }
  return IMG_FORMAT_UNKNOWN;
}

bool ReadWholeFile(const char* pszPath, std::vector<UINT8>& vcData) {
  const CFile file(pszPath != nullptr ? FmOpenFile(pszPath, FM_READ) : INVALID_HOBJ);
  if (file.Get() == INVALID_HOBJ) {
    SetError("cannot open %s", pszPath != nullptr ? pszPath : "(null)");
    return false;
  }
  const INT32 nSize = FmGetFileSize(file.Get());
  if (nSize < 0 || nSize > IMG_MAX_FILE_BYTES) {
    SetError("%s: %d bytes is not an image file this service reads", pszPath, nSize);
    return false;
  }
  vcData.resize(static_cast<size_t>(nSize));
  if (nSize > 0 && FmReadFile(file.Get(), vcData.data(), static_cast<UINT32>(nSize)) != nSize) {
    SetError("%s: read failed", pszPath);
    return false;
  }
  return true;
}

}  // namespace zel::img

BOOL ImgGetImageInfoFromBuffer(const UINT8* pData, UINT32 nSize, ImgImageInfo* pInfo) {
  ClearError();
  if (pInfo == nullptr || !ReadInfo(pData, nSize, pInfo)) {
    return FALSE;
  }
  if (pInfo->nOrientation >= 5) {
    std::swap(pInfo->nWidth, pInfo->nHeight);
  }
  return TRUE;
}

BOOL ImgGetImageInfo(const char* pszPath, ImgImageInfo* pInfo) {
  std::vector<UINT8> vcData;
  ClearError();
  return ReadWholeFile(pszPath, vcData) &&
         ImgGetImageInfoFromBuffer(vcData.data(), static_cast<UINT32>(vcData.size()), pInfo);
}

ImgBitmap* ImgDecodeScaledBitmap(const UINT8* pData, UINT32 nSize, INT32 nWidth, INT32 nHeight, INT32 nMode) {
  ClearError();
  ImgImageInfo info{};
  if (!ReadInfo(pData, nSize, &info)) {
    return nullptr;
  }
  if (static_cast<INT64>(info.nWidth) * info.nHeight > IMG_MAX_PIXELS) {
    SetError("%dx%d is more than %d pixels", info.nWidth, info.nHeight, IMG_MAX_PIXELS);
    return nullptr;
  }
  ImgImageInfo shown = info;
  if (info.nOrientation >= 5) {
    std::swap(shown.nWidth, shown.nHeight);
  }
  int nMinW = 0, nMinH = 0;
  MinDecodeSize(shown, nWidth, nHeight, nMode, nMinW, nMinH);
  BitmapPtr pStored(info.nFormat == IMG_FORMAT_JPEG ? JpegDecode(pData, nSize, nMinW, nMinH) : PngDecode(pData, nSize));
  if (!pStored) {
    return nullptr;
  }
  BitmapPtr pShown(info.nOrientation > 1 ? ApplyOrientation(pStored.get(), info.nOrientation) : pStored.release());
  pStored.reset();
  if (!pShown || nWidth <= 0 || nHeight <= 0) {
    return pShown.release();
  }
  return ImgSvcResizeBitmap(pShown.get(), nWidth, nHeight, nMode);
}

ImgBitmap* ImgLoadScaledBitmap(const char* pszPath, INT32 nWidth, INT32 nHeight, INT32 nMode) {
  std::vector<UINT8> vcData;
  ClearError();
  if (!ReadWholeFile(pszPath, vcData)) {
    return nullptr;
  }
  return ImgDecodeScaledBitmap(vcData.data(), static_cast<UINT32>(vcData.size()), nWidth, nHeight, nMode);
}

BOOL ImgEncodeBitmap(const ImgBitmap* pBitmap, INT32 nFormat, INT32 nQuality, UINT8** ppData, UINT32* pnSize) {
  ClearError();
  if (pBitmap == nullptr || pBitmap->pBits == nullptr || ppData == nullptr || pnSize == nullptr ||
      (nFormat == IMG_FORMAT_JPEG && (nQuality < 1 || nQuality > 100))) {
    SetError("nothing to encode");
    return FALSE;
  }
  BitmapPtr pRgb(WmGet24BitsBitmap(pBitmap));
  std::vector<UINT8> vcOut;
  const bool bOk = pRgb && (nFormat == IMG_FORMAT_JPEG   ? JpegEncode(pRgb.get(), nQuality, vcOut)
                            : nFormat == IMG_FORMAT_PNG ? PngEncode(pRgb.get(), vcOut)
                                                        : false);
  if (!bOk || vcOut.empty()) {
    return FALSE;
  }
  *ppData = static_cast<UINT8*>(std::malloc(vcOut.size()));
  if (*ppData == nullptr) {
    return FALSE;
  }
  std::memcpy(*ppData, vcOut.data(), vcOut.size());
  *pnSize = static_cast<UINT32>(vcOut.size());
  return TRUE;
}

void ImgFreeData(UINT8* pData) { std::free(pData); }

BOOL ImgSaveBitmapToFile(const ImgBitmap* pBitmap, const char* pszPath, INT32 nFormat, INT32 nQuality) {
  UINT8* pData = nullptr;
  UINT32 nSize = 0;
  if (pszPath == nullptr || !ImgEncodeBitmap(pBitmap, nFormat, nQuality, &pData, &nSize)) {
    return FALSE;
  }
  const std::unique_ptr<UINT8, void (*)(UINT8*)> data(pData, ImgFreeData);
  bool bOk = false;
  {
    const CFile file(FmCreateFile(pszPath));
    bOk = file.Get() != INVALID_HOBJ && FmWriteFile(file.Get(), pData, nSize) == static_cast<INT32>(nSize);
  }
  if (!bOk) {
    FmDeleteFile(pszPath);
    SetError("cannot write %s", pszPath);
    return FALSE;
  }
  return TRUE;
}
