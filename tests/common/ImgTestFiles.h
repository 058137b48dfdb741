// Image files made in the tests with libjpeg and libpng directly: camera-like JPEGs (optionally
// with an Exif orientation), PNGs, and damaged or oversized files; and a reader of the size an
// encoded image declares.
#ifndef CTSVC_IMG_TEST_FILES_H
#define CTSVC_IMG_TEST_FILES_H

#include <png.h>
#include <zlib.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>
// clang-format off
#define XMD_H  // the platform types define INT32 already
#include <jpeglib.h>
// clang-format on

#include "ZelFm.h"

namespace img_test {

using Bytes = std::vector<unsigned char>;

// Colours of the test pattern: the top half red, the bottom half blue, so that a turned or
// mirrored image shows where its top went.
inline void PatternPixel(int nY, int nHeight, unsigned char* pRgb) {
  const bool bTop = nY < nHeight / 2;
  pRgb[0] = bTop ? 220 : 20;
  pRgb[1] = 30;
  pRgb[2] = bTop ? 20 : 220;
}

// The Exif APP1 payload of a little-endian IFD0 holding only the orientation tag.
inline Bytes ExifWithOrientation(int nOrientation) {
  Bytes v = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0,  // header, IFD0 at 8
             1, 0,                                                   // one entry
             0x12, 0x01, 3, 0, 1, 0, 0, 0,                           // orientation, SHORT, count 1
             static_cast<unsigned char>(nOrientation), 0, 0, 0,      // value
             0, 0, 0, 0};                                            // no next IFD
  return v;
}

// Fills one row (nWidth RGB pixels) of an image nHeight rows high.
using RowFill = std::function<void(int nY, int nWidth, int nHeight, unsigned char* pRow)>;

inline void PatternRow(int nY, int nWidth, int nHeight, unsigned char* pRow) {
  for (int x = 0; x < nWidth; ++x) {
    PatternPixel(nY, nHeight, pRow + static_cast<size_t>(x) * 3);
  }
}

// A JPEG of the pattern (or of the rows fill gives), with an Exif orientation when above 0.
inline Bytes MakeJpeg(int nWidth, int nHeight, int nOrientation = 0, int nQuality = 85,
                      const RowFill& fill = PatternRow) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* pOut = nullptr;
  unsigned long nOut = 0;
  jpeg_mem_dest(&cinfo, &pOut, &nOut);
  cinfo.image_width = static_cast<JDIMENSION>(nWidth);
  cinfo.image_height = static_cast<JDIMENSION>(nHeight);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, nQuality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  if (nOrientation > 0) {
    const Bytes exif = ExifWithOrientation(nOrientation);
    jpeg_write_marker(&cinfo, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));
  }
  std::vector<unsigned char> vcRow(static_cast<size_t>(nWidth) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    fill(static_cast<int>(cinfo.next_scanline), nWidth, nHeight, vcRow.data());
    JSAMPROW pRow = vcRow.data();
    jpeg_write_scanlines(&cinfo, &pRow, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes v(pOut, pOut + nOut);
  std::free(pOut);
  return v;
}

inline void AppendToBytes(png_structp png, png_bytep p, png_size_t n) {
  auto* pOut = static_cast<Bytes*>(png_get_io_ptr(png));
  pOut->insert(pOut->end(), p, p + n);
}

inline void NoFlush(png_structp) {}

// An RGBA PNG of the pattern, fully opaque.
inline Bytes MakePng(int nWidth, int nHeight) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, AppendToBytes, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(nWidth), static_cast<png_uint_32>(nHeight), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 1);
  png_write_info(png, info);
  std::vector<unsigned char> vcRow(static_cast<size_t>(nWidth) * 4, 255);
  for (int y = 0; y < nHeight; ++y) {
    for (int x = 0; x < nWidth; ++x) {
      PatternPixel(y, nHeight, &vcRow[static_cast<size_t>(x) * 4]);
    }
    png_write_row(png, vcRow.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// A real small PNG whose header then declares nWidth x nHeight (CRC fixed): a decompression bomb's
// header on a tiny file.
inline Bytes PngDeclaring(unsigned nWidth, unsigned nHeight) {
  Bytes v = MakePng(4, 4);
  // Signature (8), IHDR length (4), "IHDR" (4), width (4), height (4), ...; CRC after 13 data bytes.
  const auto Put32 = [&v](size_t nAt, unsigned nValue) {
    for (int i = 0; i < 4; ++i) v[nAt + i] = static_cast<unsigned char>(nValue >> (24 - 8 * i));
  };
  Put32(16, nWidth);
  Put32(20, nHeight);
  Put32(29, static_cast<unsigned>(crc32(0, &v[12], 17)));
  return v;
}

// A real small JPEG whose frame header then declares nWidth x nHeight.
inline Bytes JpegDeclaring(unsigned nWidth, unsigned nHeight) {
  Bytes v = MakeJpeg(16, 16);
  for (size_t i = 2; i + 9 < v.size(); ++i) {
    if (v[i] == 0xFF && (v[i + 1] == 0xC0 || v[i + 1] == 0xC2)) {
      v[i + 5] = static_cast<unsigned char>(nHeight >> 8);
      v[i + 6] = static_cast<unsigned char>(nHeight);
      v[i + 7] = static_cast<unsigned char>(nWidth >> 8);
      v[i + 8] = static_cast<unsigned char>(nWidth);
      break;
    }
  }
  return v;
}

// Width and height an encoded JPEG or PNG declares, read with the libraries; {-1, -1} when it
// is neither.
inline std::pair<int, int> EncodedSize(const Bytes& v) {
  if (v.size() > 8 && png_sig_cmp(v.data(), 0, 8) == 0) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, v.data(), v.size())) return {-1, -1};
    const std::pair<int, int> size(static_cast<int>(image.width), static_cast<int>(image.height));
    png_image_free(&image);
    return size;
  }
  if (v.size() < 4 || v[0] != 0xFF || v[1] != 0xD8) return {-1, -1};
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, v.data(), static_cast<unsigned long>(v.size()));
  jpeg_read_header(&cinfo, TRUE);
  const std::pair<int, int> size(static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height));
  jpeg_destroy_decompress(&cinfo);
  return size;
}

inline std::string HostPath(const std::string& strPlatformPath) {
  char szHost[PATH_MAX];
  return FmGetHostPath(strPlatformPath.c_str(), szHost, sizeof(szHost)) ? szHost : "";
}

// Writes the bytes to a platform path, creating its folders.
inline void WritePlatformFile(const std::string& strPlatformPath, const Bytes& v) {
  const std::string strHost = HostPath(strPlatformPath);
  std::filesystem::create_directories(std::filesystem::path(strHost).parent_path());
  std::ofstream(strHost, std::ios::binary).write(reinterpret_cast<const char*>(v.data()), static_cast<std::streamsize>(v.size()));
}

inline Bytes ReadPlatformFile(const std::string& strPlatformPath) {
  std::ifstream in(HostPath(strPlatformPath), std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace img_test

#endif
