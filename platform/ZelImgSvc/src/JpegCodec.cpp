// JPEG through libjpeg-turbo. libjpeg reports fatal errors by calling error_exit, which must not
// return: it jumps back with longjmp. The functions that call into libjpeg therefore hold only
// plain data (no object with a destructor lives between setjmp and a jump), and a decode that
// met any warning (a truncated or damaged stream, which libjpeg would fill with grey) fails.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
// clang-format off
// The platform types already define INT32 (as int32_t); libjpeg skips its own (long) under XMD_H.
#define XMD_H
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "ImgInternal.h"

namespace {

// libjpeg's own work memory (coefficient buffers and the like) beyond the output bitmap.
constexpr long kJpegWorkBytes = 32L * 1024 * 1024;

struct JpegError {
  jpeg_error_mgr mgr;
  jmp_buf jump;
  char szMessage[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr pInfo) {
  auto* pError = reinterpret_cast<JpegError*>(pInfo->err);
  (*pInfo->err->format_message)(pInfo, pError->szMessage);
  std::longjmp(pError->jump, 1);
}

// Warnings are counted (num_warnings) and the first one kept; nothing is printed.
void OnJpegMessage(j_common_ptr pInfo, int nLevel) {
  auto* pError = reinterpret_cast<JpegError*>(pInfo->err);
  if (nLevel < 0) {
    if (pInfo->err->num_warnings++ == 0) {
      (*pInfo->err->format_message)(pInfo, pError->szMessage);
    }
  }
}

void InitError(JpegError* pError) {
  jpeg_std_error(&pError->mgr);
  pError->mgr.error_exit = OnJpegError;
  pError->mgr.emit_message = OnJpegMessage;
  pError->szMessage[0] = '\0';
}

// Smallest n of n/8 whose scaled size covers the wanted size.
unsigned ScaleNum(unsigned nWidth, unsigned nHeight, int nMinWidth, int nMinHeight) {
  if (nMinWidth <= 0 && nMinHeight <= 0) {
    return 8;
  }
  for (unsigned n = 1; n < 8; ++n) {
    if ((nWidth * n + 7) / 8 >= static_cast<unsigned>(nMinWidth) &&
        (nHeight * n + 7) / 8 >= static_cast<unsigned>(nMinHeight)) {
      return n;
    }
  }
  return 8;
}

}  // namespace

namespace zel::img {

bool JpegReadInfo(const UINT8* pData, size_t nSize, ImgImageInfo* pInfo) {
  jpeg_decompress_struct cinfo;
  JpegError error;
  cinfo.err = &error.mgr;
  InitError(&error);
  if (setjmp(error.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    SetError("JPEG: %s", error.szMessage);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, pData, static_cast<unsigned long>(nSize));
  jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(&cinfo, TRUE);
  int nOrientation = 1;
  for (jpeg_saved_marker_ptr p = cinfo.marker_list; p != nullptr; p = p->next) {
    if (p->marker == JPEG_APP0 + 1 && p->data_length >= 6 && std::memcmp(p->data, "Exif\0\0", 6) == 0) {
      nOrientation = ExifOrientation(p->data, p->data_length);
      break;
    }
  }
  *pInfo = ImgImageInfo{IMG_FORMAT_JPEG, static_cast<INT32>(cinfo.image_width),
                        static_cast<INT32>(cinfo.image_height), nOrientation};
  jpeg_destroy_decompress(&cinfo);
  return true;
}

ImgBitmap* JpegDecode(const UINT8* pData, size_t nSize, int nMinWidth, int nMinHeight) {
  jpeg_decompress_struct cinfo;
  JpegError error;
  ImgBitmap* volatile pOut = nullptr;
  cinfo.err = &error.mgr;
  InitError(&error);
  if (setjmp(error.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    ImgFreeBitmap(pOut);
    SetError("JPEG: %s", error.szMessage);
    return nullptr;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = kJpegWorkBytes;
  jpeg_mem_src(&cinfo, pData, static_cast<unsigned long>(nSize));
  jpeg_read_header(&cinfo, TRUE);
  if (static_cast<UINT64>(cinfo.image_width) * cinfo.image_height > IMG_MAX_PIXELS) {
    SetError("JPEG: %ux%u is more than %d pixels", cinfo.image_width, cinfo.image_height, IMG_MAX_PIXELS);
    jpeg_destroy_decompress(&cinfo);
    return nullptr;
  }
  cinfo.scale_num = ScaleNum(cinfo.image_width, cinfo.image_height, nMinWidth, nMinHeight);
  cinfo.scale_denom = 8;
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  pOut = ImgCreateBitmap(static_cast<INT32>(cinfo.output_width), static_cast<INT32>(cinfo.output_height), 24);
  if (pOut == nullptr || cinfo.output_components != 3) {
    ImgFreeBitmap(pOut);
    jpeg_destroy_decompress(&cinfo);
    SetError("JPEG: no room for the %ux%u image", cinfo.output_width, cinfo.output_height);
    return nullptr;
  }
  while (cinfo.output_scanline < cinfo.output_height && error.mgr.num_warnings == 0) {
    JSAMPROW pRow = pOut->pBits + static_cast<size_t>(cinfo.output_scanline) * pOut->nStride;
    jpeg_read_scanlines(&cinfo, &pRow, 1);
  }
  if (error.mgr.num_warnings == 0) {
    jpeg_finish_decompress(&cinfo);
  }
  const bool bDamaged = error.mgr.num_warnings != 0;
  jpeg_destroy_decompress(&cinfo);
  if (bDamaged) {
    ImgFreeBitmap(pOut);
    SetError("JPEG: damaged or truncated data (%s)", error.szMessage);
    return nullptr;
  }
  return pOut;
}

// Encodes into a buffer libjpeg allocates; the caller copies it and frees it with free().
static bool JpegEncodeRaw(const ImgBitmap* pRgb, int nQuality, unsigned char** ppBuffer, unsigned long* pnSize) {
  jpeg_compress_struct cinfo;
  JpegError error;
  cinfo.err = &error.mgr;
  InitError(&error);
  if (setjmp(error.jump) != 0) {
    jpeg_destroy_compress(&cinfo);
    SetError("JPEG encode: %s", error.szMessage);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, ppBuffer, pnSize);
  cinfo.image_width = static_cast<JDIMENSION>(pRgb->nWidth);
  cinfo.image_height = static_cast<JDIMENSION>(pRgb->nHeight);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, nQuality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW pRow = pRgb->pBits + static_cast<size_t>(cinfo.next_scanline) * pRgb->nStride;
    jpeg_write_scanlines(&cinfo, &pRow, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

bool JpegEncode(const ImgBitmap* pRgb, int nQuality, std::vector<UINT8>& vcOut) {
  unsigned char* pBuffer = nullptr;
  unsigned long nSize = 0;
  const bool bOk = JpegEncodeRaw(pRgb, nQuality, &pBuffer, &nSize);
  if (bOk) {
    vcOut.assign(pBuffer, pBuffer + nSize);
  }
  std::free(pBuffer);
  return bOk;
}

}  // namespace zel::img
