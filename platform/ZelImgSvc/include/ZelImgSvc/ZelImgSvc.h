/* Image services: bitmaps, decoding JPEG and PNG files (scaled, EXIF orientation applied),
 * resizing with an area-averaging filter, JPEG and PNG encoding, and the 16-bit and merge helpers
 * of the window layer.
 *
 * Bad input never crashes and never allocates more than the limits below: a file that is not a
 * JPEG or PNG, a damaged or truncated one, or one whose declared size exceeds IMG_MAX_PIXELS is
 * refused (null or FALSE) before pixels are allocated, and ImgGetLastError tells why. */
#ifndef ZEL_IMG_SVC_H
#define ZEL_IMG_SVC_H

#include "ZelCore/ZelTypes.h"

/* Largest declared image (width x height) that is decoded: 24 megapixels (6000 x 4000). */
#define IMG_MAX_PIXELS 24000000
/* Largest image file that is read: 32 MiB. */
#define IMG_MAX_FILE_BYTES (32 * 1024 * 1024)

/* Pixel layouts: 24 bits RGB888 (R, G, B bytes), 16 bits RGB565 (native-endian UINT16). */
typedef struct ImgBitmap {
  INT32 nWidth;
  INT32 nHeight;
  INT32 nBitsPerPixel; /* 24 or 16 */
  INT32 nStride;       /* bytes per row */
  UINT8* pBits;
} ImgBitmap;

typedef enum ImgFormat {
  IMG_FORMAT_UNKNOWN = 0,
  IMG_FORMAT_JPEG = 1,
  IMG_FORMAT_PNG = 2
} ImgFormat;

typedef struct ImgImageInfo {
  INT32 nFormat;      /* ImgFormat */
  INT32 nWidth;       /* as displayed: after the EXIF orientation */
  INT32 nHeight;
  INT32 nOrientation; /* EXIF orientation 1..8; 1 when the file has none */
} ImgImageInfo;

/* Resize modes. */
#define IMG_RESIZE_STRETCH 1 /* the whole image to exactly width x height */
#define IMG_RESIZE_FIT 2     /* the whole image inside width x height, aspect kept (result may be smaller) */
#define IMG_RESIZE_FILL 3    /* centre cut to the target's aspect, then exactly width x height */

ZEL_EXTERN_C_BEGIN

/* A bitmap of the size and depth with zeroed pixels; null for a size outside 1..IMG_MAX_PIXELS. */
ImgBitmap* ImgCreateBitmap(INT32 nWidth, INT32 nHeight, INT32 nBitsPerPixel);
void ImgFreeBitmap(ImgBitmap* pBitmap); /* null is ignored */

/* Why the last call of this thread failed ("" when it did not). */
const char* ImgGetLastError(void);

/* Reads the format, displayed size and orientation of an image file (platform path) or buffer. */
BOOL ImgGetImageInfo(const char* pszPath, ImgImageInfo* pInfo);
BOOL ImgGetImageInfoFromBuffer(const UINT8* pData, UINT32 nSize, ImgImageInfo* pInfo);

/* Decodes an image file (platform path) or buffer to a 24-bit bitmap as displayed, resized with
 * the mode to nWidth x nHeight; nWidth = nHeight = 0 gives the image at its own size. JPEGs are
 * decoded at the smallest libjpeg scale that still covers the target. */
ImgBitmap* ImgLoadScaledBitmap(const char* pszPath, INT32 nWidth, INT32 nHeight, INT32 nMode);
ImgBitmap* ImgDecodeScaledBitmap(const UINT8* pData, UINT32 nSize, INT32 nWidth, INT32 nHeight, INT32 nMode);

/* A new 24-bit bitmap of the source resized with the mode (area averaging). */
ImgBitmap* ImgSvcResizeBitmap(const ImgBitmap* pSrc, INT32 nWidth, INT32 nHeight, INT32 nMode);

/* Encodes a bitmap (16 or 24 bits) as JPEG (quality 1..100) or PNG (quality ignored). The buffer
 * is freed with ImgFreeData. */
BOOL ImgEncodeBitmap(const ImgBitmap* pBitmap, INT32 nFormat, INT32 nQuality, UINT8** ppData, UINT32* pnSize);
void ImgFreeData(UINT8* pData);
/* Encodes and writes to a platform path; the file is removed again when the write fails. */
BOOL ImgSaveBitmapToFile(const ImgBitmap* pBitmap, const char* pszPath, INT32 nFormat, INT32 nQuality);

/* A 16-bit (RGB565) copy of a 16- or 24-bit bitmap. */
ImgBitmap* WmGet16BitsBitmap(const ImgBitmap* pBitmap);
/* A 24-bit copy of a 16- or 24-bit bitmap. */
ImgBitmap* WmGet24BitsBitmap(const ImgBitmap* pBitmap);
/* A copy of pBase with pOverlay drawn at (nX, nY), clipped to the base. */
ImgBitmap* WmGetMergedBitmapEx(const ImgBitmap* pBase, const ImgBitmap* pOverlay, INT32 nX, INT32 nY);

ZEL_EXTERN_C_END

#endif
