// Owning pointer of a platform bitmap.
#ifndef CTSVC_IMG_BITMAP_PTR_H
#define CTSVC_IMG_BITMAP_PTR_H

#include <memory>

#include "ZelImgSvc.h"

struct CtSvcBitmapFree {
  void operator()(ImgBitmap* pBitmap) const { ImgFreeBitmap(pBitmap); }
};
using CtSvcBitmapPtr = std::unique_ptr<ImgBitmap, CtSvcBitmapFree>;

#endif
