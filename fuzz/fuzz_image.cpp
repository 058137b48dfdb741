// Image bytes -> header information and bitmaps, as the image manager reads files. On every input:
//  - no pixel buffer beyond the stated bound is ever held (3 bytes x IMG_MAX_PIXELS per bitmap,
//    two bitmaps at once while an image is turned or resized);
//  - a decoded image has the displayed size its header declares, and a thumbnail is 70 x 70;
//  - an image that decodes encodes to a JPEG and a PNG that decode again at the same size;
//  - every bitmap handed out is freed (ASan reports leaks).
#include <cstdint>
#include <cstring>

#include "FuzzCheck.h"
#include "ZelImgSvc/ZelImgSvc.h"
#include "ZelImgSvc/ZelImgSvcTest.h"

namespace {

constexpr uint64_t kPixelBound = 2ull * 3 * IMG_MAX_PIXELS;

void CheckRoundTrip(const ImgBitmap* pBitmap) {
  for (const int nFormat : {IMG_FORMAT_JPEG, IMG_FORMAT_PNG}) {
    UINT8* pData = nullptr;
    UINT32 nSize = 0;
    FUZZ_CHECK(ImgEncodeBitmap(pBitmap, nFormat, 75, &pData, &nSize), "a decoded bitmap encodes");
    ImgImageInfo info{};
    FUZZ_CHECK(ImgGetImageInfoFromBuffer(pData, nSize, &info), "an encoded bitmap reads back");
    FUZZ_CHECK(info.nWidth == pBitmap->nWidth && info.nHeight == pBitmap->nHeight, "encoding keeps the size");
    ImgFreeData(pData);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  zel::test::ImgResetPeakPixelBytes();
  const uint64_t nBefore = zel::test::ImgPeakPixelBytes();
  ImgImageInfo info{};
  const bool bInfo = ImgGetImageInfoFromBuffer(pData, static_cast<UINT32>(nSize), &info) != FALSE;
  ImgBitmap* pFull = ImgDecodeScaledBitmap(pData, static_cast<UINT32>(nSize), 0, 0, 0);
  FUZZ_CHECK(pFull == nullptr || bInfo, "what decodes has a readable header");
  if (pFull != nullptr) {
    FUZZ_CHECK(pFull->nWidth == info.nWidth && pFull->nHeight == info.nHeight, "decoded at the declared size");
    if (static_cast<uint64_t>(pFull->nWidth) * pFull->nHeight <= 4096) {
      CheckRoundTrip(pFull);
    }
    ImgFreeBitmap(pFull);
  }
  ImgBitmap* pThumb = ImgDecodeScaledBitmap(pData, static_cast<UINT32>(nSize), 70, 70, IMG_RESIZE_FILL);
  if (pThumb != nullptr) {
    FUZZ_CHECK(pThumb->nWidth == 70 && pThumb->nHeight == 70, "a thumbnail is 70 x 70");
    ImgFreeBitmap(pThumb);
  }
  FUZZ_CHECK(zel::test::ImgPeakPixelBytes() - nBefore <= kPixelBound, "pixel memory stays within the bound");
  return 0;
}
