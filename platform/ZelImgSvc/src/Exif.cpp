// The orientation tag (0x0112) of a JPEG's APP1 Exif segment: a bounded walk of IFD0 only.
#include "ImgInternal.h"

#include <cstring>

namespace {

constexpr size_t kHeaderSize = 6;      // "Exif\0\0"
constexpr UINT16 kOrientationTag = 0x0112;
constexpr UINT16 kTypeShort = 3;
constexpr size_t kMaxEntries = 512;     // IFD0 of real cameras holds a few dozen

class CTiffReader {
 public:
  CTiffReader(const UINT8* pData, size_t nSize, bool bBigEndian) : m_pData(pData), m_nSize(nSize), m_bBig(bBigEndian) {}
  bool U16(size_t nOffset, UINT16& v) const {
    if (nOffset > m_nSize || m_nSize - nOffset < 2) return false;
    v = m_bBig ? static_cast<UINT16>(m_pData[nOffset] << 8 | m_pData[nOffset + 1])
               : static_cast<UINT16>(m_pData[nOffset + 1] << 8 | m_pData[nOffset]);
    return true;
  }
  bool U32(size_t nOffset, UINT32& v) const {
    UINT16 a = 0, b = 0;
    if (!U16(nOffset, a) || !U16(nOffset + 2, b)) return false;
    v = m_bBig ? (static_cast<UINT32>(a) << 16 | b) : (static_cast<UINT32>(b) << 16 | a);
    return true;
  }

 private:
  const UINT8* m_pData;
  size_t m_nSize;
  bool m_bBig;
};

}  // namespace

namespace zel::img {

int ExifOrientation(const UINT8* pData, size_t nSize) {
  if (pData == nullptr || nSize < kHeaderSize + 8 || std::memcmp(pData, "Exif\0\0", kHeaderSize) != 0) {
    return 1;
  }
  const UINT8* pTiff = pData + kHeaderSize;
  const size_t nTiff = nSize - kHeaderSize;
  bool bBig = false;
  if (pTiff[0] == 'M' && pTiff[1] == 'M') {
    bBig = true;
  } else if (!(pTiff[0] == 'I' && pTiff[1] == 'I')) {
    return 1;
  }
  const CTiffReader tiff(pTiff, nTiff, bBig);
  UINT16 nMagic = 0, nCount = 0;
  UINT32 nIfd = 0;
  if (!tiff.U16(2, nMagic) || nMagic != 42 || !tiff.U32(4, nIfd) || !tiff.U16(nIfd, nCount)) {
    return 1;
  }
  for (size_t i = 0; i < nCount && i < kMaxEntries; ++i) {
    const size_t nEntry = static_cast<size_t>(nIfd) + 2 + i * 12;
    UINT16 nTag = 0, nType = 0, nValue = 0;
    if (!tiff.U16(nEntry, nTag) || !tiff.U16(nEntry + 2, nType)) {
      return 1;
    }
    if (nTag == kOrientationTag) {
      if (nType != kTypeShort || !tiff.U16(nEntry + 8, nValue) || nValue < 1 || nValue > 8) {
        return 1;
      }
      return nValue;
    }
  }
  return 1;
}

ImgBitmap* ApplyOrientation(const ImgBitmap* pSrc, int nOrientation) {
  const int w = pSrc->nWidth;
  const int h = pSrc->nHeight;
  const bool bSwap = nOrientation >= 5 && nOrientation <= 8;
  ImgBitmap* pOut = ImgCreateBitmap(bSwap ? h : w, bSwap ? w : h, 24);
  if (pOut == nullptr) {
    return nullptr;
  }
  for (int y = 0; y < pOut->nHeight; ++y) {
    UINT8* pDst = pOut->pBits + static_cast<size_t>(y) * pOut->nStride;
    for (int x = 0; x < pOut->nWidth; ++x) {
      int sx = x, sy = y;
      switch (nOrientation) {
        case 2: sx = w - 1 - x; break;                     // mirrored left-right
        case 3: sx = w - 1 - x; sy = h - 1 - y; break;     // turned 180 degrees
        case 4: sy = h - 1 - y; break;                     // mirrored top-bottom
        case 5: sx = y; sy = x; break;                     // transposed
        case 6: sx = y; sy = h - 1 - x; break;             // shown turned 90 degrees clockwise
        case 7: sx = w - 1 - y; sy = h - 1 - x; break;     // transverse
        case 8: sx = w - 1 - y; sy = x; break;             // shown turned 90 degrees anticlockwise
        default: break;
      }
      GetRgb(pSrc, sx, sy, pDst + x * 3);
    }
  }
  return pOut;
}

}  // namespace zel::img
