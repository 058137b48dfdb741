// Shared inside the image services: the error text, the codecs and the pixel helpers.
#ifndef ZEL_IMG_INTERNAL_H
#define ZEL_IMG_INTERNAL_H

#include <cstddef>
#include <vector>

#include "ZelImgSvc/ZelImgSvc.h"

namespace zel::img {

// The thread's failure text (ImgGetLastError).
void SetError(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
void ClearError();

// Format from the first bytes.
ImgFormat SniffFormat(const UINT8* pData, size_t nSize);

// Stored size (before orientation) and orientation.
bool JpegReadInfo(const UINT8* pData, size_t nSize, ImgImageInfo* pInfo);
bool PngReadInfo(const UINT8* pData, size_t nSize, ImgImageInfo* pInfo);

// 24-bit bitmap of the stored image. A JPEG is decoded at the smallest scale (n/8) whose size
// still covers nMinWidth x nMinHeight (0 x 0: full size).
ImgBitmap* JpegDecode(const UINT8* pData, size_t nSize, int nMinWidth, int nMinHeight);
ImgBitmap* PngDecode(const UINT8* pData, size_t nSize);

bool JpegEncode(const ImgBitmap* pRgb, int nQuality, std::vector<UINT8>& vcOut);
bool PngEncode(const ImgBitmap* pRgb, std::vector<UINT8>& vcOut);

// EXIF orientation (1..8) of an APP1 segment's payload; 1 when absent or malformed.
int ExifOrientation(const UINT8* pData, size_t nSize);
// A new bitmap showing the stored bitmap as its orientation says (24 bits).
ImgBitmap* ApplyOrientation(const ImgBitmap* pSrc, int nOrientation);

// Pixel (x, y) of a 16- or 24-bit bitmap as R, G, B.
void GetRgb(const ImgBitmap* pBitmap, int nX, int nY, UINT8 aRgb[3]);

// Whole file of a platform path, refusing files above IMG_MAX_FILE_BYTES.
bool ReadWholeFile(const char* pszPath, std::vector<UINT8>& vcData);

}  // namespace zel::img

#endif
