// Bitmaps: allocation with a running count of pixel bytes (the test API reads its peak), the
// thread's failure text, depth conversions and merging.
#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ImgInternal.h"
#include "ZelImgSvc/ZelImgSvcTest.h"

namespace {

std::atomic<uint64_t> g_nLiveBytes{0};
std::atomic<uint64_t> g_nPeakBytes{0};
thread_local char t_szError[256] = "";

void AddLive(uint64_t nBytes) {
  const uint64_t nNow = g_nLiveBytes.fetch_add(nBytes) + nBytes;
  uint64_t nPeak = g_nPeakBytes.load();
  while (nNow > nPeak && !g_nPeakBytes.compare_exchange_weak(nPeak, nNow)) {
  }
}

UINT16 ToRgb565(const UINT8* p) {
  return static_cast<UINT16>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
}

}  // namespace

namespace zel::img {

void SetError(const char* pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  std::vsnprintf(t_szError, sizeof(t_szError), pszFormat, args);
  va_end(args);
}

void ClearError() { t_szError[0] = '\0'; }

void GetRgb(const ImgBitmap* pBitmap, int nX, int nY, UINT8 aRgb[3]) {
  const UINT8* pRow = pBitmap->pBits + static_cast<size_t>(nY) * pBitmap->nStride;
  if (pBitmap->nBitsPerPixel == 16) {
    UINT16 v = 0;
    std::memcpy(&v, pRow + nX * 2, 2);
    aRgb[0] = static_cast<UINT8>(((v >> 11) & 0x1F) * 255 / 31);
    aRgb[1] = static_cast<UINT8>(((v >> 5) & 0x3F) * 255 / 63);
    aRgb[2] = static_cast<UINT8>((v & 0x1F) * 255 / 31);
  } else {
    std::memcpy(aRgb, pRow + nX * 3, 3);
  }
}

}  // namespace zel::img

using namespace zel::img;

ImgBitmap* ImgCreateBitmap(INT32 nWidth, INT32 nHeight, INT32 nBitsPerPixel) {
  if (nWidth < 1 || nHeight < 1 || static_cast<int64_t>(nWidth) * nHeight > IMG_MAX_PIXELS ||
      (nBitsPerPixel != 16 && nBitsPerPixel != 24)) {
    SetError("bitmap size %dx%d (%d bits) is not allowed", nWidth, nHeight, nBitsPerPixel);
    return nullptr;
  }
  const INT32 nStride = nWidth * (nBitsPerPixel / 8);
  const size_t nBytes = static_cast<size_t>(nStride) * nHeight;
  auto* pBitmap = static_cast<ImgBitmap*>(std::calloc(1, sizeof(ImgBitmap)));
  UINT8* pBits = static_cast<UINT8*>(std::calloc(nBytes, 1));
  if (pBitmap == nullptr || pBits == nullptr) {
    std::free(pBitmap);
    std::free(pBits);
    SetError("out of memory for a %dx%d bitmap", nWidth, nHeight);
    return nullptr;
  }
  *pBitmap = ImgBitmap{nWidth, nHeight, nBitsPerPixel, nStride, pBits};
  AddLive(nBytes);
  return pBitmap;
}

void ImgFreeBitmap(ImgBitmap* pBitmap) {
  if (pBitmap == nullptr) {
    return;
  }
  g_nLiveBytes.fetch_sub(static_cast<uint64_t>(pBitmap->nStride) * pBitmap->nHeight);
  std::free(pBitmap->pBits);
  std::free(pBitmap);
}

const char* ImgGetLastError(void) { return t_szError; }

ImgBitmap* WmGet16BitsBitmap(const ImgBitmap* pBitmap) {
  if (pBitmap == nullptr || pBitmap->pBits == nullptr) {
    return nullptr;
  }
  ImgBitmap* pOut = ImgCreateBitmap(pBitmap->nWidth, pBitmap->nHeight, 16);
  for (int y = 0; pOut != nullptr && y < pBitmap->nHeight; ++y) {
    auto* pDst = reinterpret_cast<UINT16*>(pOut->pBits + static_cast<size_t>(y) * pOut->nStride);
    for (int x = 0; x < pBitmap->nWidth; ++x) {
      UINT8 aRgb[3];
      GetRgb(pBitmap, x, y, aRgb);
      pDst[x] = ToRgb565(aRgb);
    }
  }
  return pOut;
}

ImgBitmap* WmGet24BitsBitmap(const ImgBitmap* pBitmap) {
  if (pBitmap == nullptr || pBitmap->pBits == nullptr) {
    return nullptr;
  }
  ImgBitmap* pOut = ImgCreateBitmap(pBitmap->nWidth, pBitmap->nHeight, 24);
  for (int y = 0; pOut != nullptr && y < pBitmap->nHeight; ++y) {
    for (int x = 0; x < pBitmap->nWidth; ++x) {
      GetRgb(pBitmap, x, y, pOut->pBits + static_cast<size_t>(y) * pOut->nStride + x * 3);
    }
  }
  return pOut;
}

ImgBitmap* WmGetMergedBitmapEx(const ImgBitmap* pBase, const ImgBitmap* pOverlay, INT32 nX, INT32 nY) {
  ImgBitmap* pOut = WmGet24BitsBitmap(pBase);
  if (pOut == nullptr || pOverlay == nullptr) {
    return pOut;
  }
  for (int y = std::max(0, nY); y < std::min(pOut->nHeight, nY + pOverlay->nHeight); ++y) {
    for (int x = std::max(0, nX); x < std::min(pOut->nWidth, nX + pOverlay->nWidth); ++x) {
      GetRgb(pOverlay, x - nX, y - nY, pOut->pBits + static_cast<size_t>(y) * pOut->nStride + x * 3);
    }
  }
  return pOut;
}

namespace zel::test {

uint64_t ImgPeakPixelBytes() { return g_nPeakBytes.load(); }
void ImgResetPeakPixelBytes() { g_nPeakBytes.store(g_nLiveBytes.load()); }

}  // namespace zel::test
