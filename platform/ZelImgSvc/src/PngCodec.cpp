// PNG through libpng. libpng reports errors with longjmp to png_jmpbuf; as for JPEG, the
// functions calling into it hold only plain data. Every image is read as 8-bit RGB: palettes and
// grey expanded, 16-bit samples stripped, transparency composed onto white. The declared size
// is checked against IMG_MAX_PIXELS before any pixel is allocated, and libpng's own chunk
// allocations are capped.
#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "ImgInternal.h"

namespace {

constexpr png_alloc_size_t kMaxChunkBytes = 8u * 1024 * 1024;

struct PngSource {
  const UINT8* pData;
  size_t nSize;
  size_t nPos;
};

void ReadFromSource(png_structp png, png_bytep pOut, png_size_t nWanted) {
  auto* pSource = static_cast<PngSource*>(png_get_io_ptr(png));
  if (pSource->nSize - pSource->nPos < nWanted) {
    png_error(png, "file ends before the image does");
  }
  std::memcpy(pOut, pSource->pData + pSource->nPos, nWanted);
  pSource->nPos += nWanted;
}

struct PngMessage {
  char szText[200];
};

void OnPngError(png_structp png, png_const_charp pszMessage) {
  auto* pMessage = static_cast<PngMessage*>(png_get_error_ptr(png));
  std::strncpy(pMessage->szText, pszMessage, sizeof(pMessage->szText) - 1);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

struct PngSink {
  UINT8* pData;
  size_t nSize;
  size_t nCapacity;
  bool bFailed;
};

void WriteToSink(png_structp png, png_bytep pIn, png_size_t nBytes) {
  auto* pSink = static_cast<PngSink*>(png_get_io_ptr(png));
  if (pSink->nCapacity - pSink->nSize < nBytes) {
    const size_t nNew = (pSink->nCapacity + nBytes) * 2;
    auto* pGrown = static_cast<UINT8*>(std::realloc(pSink->pData, nNew));
    if (pGrown == nullptr) {
      pSink->bFailed = true;
      png_error(png, "out of memory");
    }
    pSink->pData = pGrown;
    pSink->nCapacity = nNew;
  }
  std::memcpy(pSink->pData + pSink->nSize, pIn, nBytes);
  pSink->nSize += nBytes;
}

void FlushSink(png_structp) {}

}  // namespace

namespace zel::img {

// Reads the header; with a bitmap wanted, sets the transforms and reads the pixels too.
static bool PngRead(const UINT8* pData, size_t nSize, ImgImageInfo* pInfo, ImgBitmap** ppOut) {
  PngMessage message{};
  PngSource source{pData, nSize, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &message, OnPngError, OnPngWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  ImgBitmap* volatile pOut = nullptr;
  png_bytep* volatile ppRows = nullptr;
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    SetError("PNG: out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_read_struct(&png, &info, nullptr);
    ImgFreeBitmap(pOut);
    std::free(ppRows);
    SetError("PNG: %s", message.szText);
    return false;
  }
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  png_set_read_fn(png, &source, ReadFromSource);
  png_read_info(png, info);
  const png_uint_32 nWidth = png_get_image_width(png, info);
  const png_uint_32 nHeight = png_get_image_height(png, info);
  *pInfo = ImgImageInfo{IMG_FORMAT_PNG, static_cast<INT32>(nWidth), static_cast<INT32>(nHeight), 1};
  if (ppOut == nullptr) {
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
  }
  if (static_cast<UINT64>(nWidth) * nHeight > IMG_MAX_PIXELS) {
    png_destroy_read_struct(&png, &info, nullptr);
    SetError("PNG: %ux%u is more than %d pixels", nWidth, nHeight, IMG_MAX_PIXELS);
    return false;
  }
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_color_16 white{0, 255, 255, 255, 255};
  png_set_background(png, &white, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  pOut = ImgCreateBitmap(static_cast<INT32>(nWidth), static_cast<INT32>(nHeight), 24);
  ppRows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * nHeight));
  if (pOut == nullptr || ppRows == nullptr || png_get_rowbytes(png, info) != static_cast<size_t>(pOut->nStride)) {
    png_error(png, "no room for the image");
  }
  for (png_uint_32 y = 0; y < nHeight; ++y) {
    ppRows[y] = pOut->pBits + static_cast<size_t>(y) * pOut->nStride;
  }
  png_read_image(png, ppRows);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::free(ppRows);
  *ppOut = pOut;
  return true;
}

bool PngReadInfo(const UINT8* pData, size_t nSize, ImgImageInfo* pInfo) { return PngRead(pData, nSize, pInfo, nullptr); }

ImgBitmap* PngDecode(const UINT8* pData, size_t nSize) {
  ImgImageInfo info{};
  ImgBitmap* pOut = nullptr;
  return PngRead(pData, nSize, &info, &pOut) ? pOut : nullptr;
}

static bool PngEncodeRaw(const ImgBitmap* pRgb, PngSink* pSink) {
  PngMessage message{};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &message, OnPngError, OnPngWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    SetError("PNG encode: out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    SetError("PNG encode: %s", message.szText);
    return false;
  }
  png_set_write_fn(png, pSink, WriteToSink, FlushSink);
  png_set_IHDR(png, info, static_cast<png_uint_32>(pRgb->nWidth), static_cast<png_uint_32>(pRgb->nHeight), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < pRgb->nHeight; ++y) {
    png_write_row(png, pRgb->pBits + static_cast<size_t>(y) * pRgb->nStride);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool PngEncode(const ImgBitmap* pRgb, std::vector<UINT8>& vcOut) {
  PngSink sink{nullptr, 0, 0, false};
  const bool bOk = PngEncodeRaw(pRgb, &sink);
  if (bOk) {
    vcOut.assign(sink.pData, sink.pData + sink.nSize);
  }
  std::free(sink.pData);
  return bOk;
}

}  // namespace zel::img
