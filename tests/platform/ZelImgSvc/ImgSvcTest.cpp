#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../ZelCore/CoreTestSupport.h"
#include "ImgTestFiles.h"
#include "ZelImgSvc/ImgSvcThumbDB.h"
#include "ZelImgSvc/ZelImgSvc.h"
#include "ZelImgSvc/ZelImgSvcTest.h"

namespace {

using img_test::Bytes;

struct BitmapFree {
  void operator()(ImgBitmap* p) const { ImgFreeBitmap(p); }
};
using BitmapPtr = std::unique_ptr<ImgBitmap, BitmapFree>;

BitmapPtr Decode(const Bytes& v, int nWidth, int nHeight, int nMode) {
  return BitmapPtr(ImgDecodeScaledBitmap(v.data(), static_cast<UINT32>(v.size()), nWidth, nHeight, nMode));
}

Bytes Encode(const ImgBitmap* pBitmap, int nFormat) {
  UINT8* pData = nullptr;
  UINT32 nSize = 0;
  if (!ImgEncodeBitmap(pBitmap, nFormat, 90, &pData, &nSize)) return {};
  Bytes v(pData, pData + nSize);
  ImgFreeData(pData);
  return v;
}

bool IsRed(const ImgBitmap* p, int x, int y) {
  const UINT8* px = p->pBits + static_cast<size_t>(y) * p->nStride + x * 3;
  return px[0] > 150 && px[2] < 100;
}

TEST(ImgSvcTest, CameraSizedJpegAndPngBecomeThumbnailsThatDecodeAtTheirSize) {
  const struct {
    const char* pszName;
    Bytes data;
  } kFiles[] = {{"jpeg", img_test::MakeJpeg(4000, 3000)}, {"png", img_test::MakePng(4000, 3000)}};
  for (const auto& file : kFiles) {
    for (const int nSize : {70, 137, 172}) {
      BitmapPtr pThumb = Decode(file.data, nSize, nSize, IMG_RESIZE_FILL);
      ASSERT_TRUE(pThumb) << file.pszName << ": " << ImgGetLastError();
      EXPECT_EQ(pThumb->nWidth, nSize);
      EXPECT_EQ(pThumb->nHeight, nSize);
      for (const int nFormat : {IMG_FORMAT_JPEG, IMG_FORMAT_PNG}) {
        EXPECT_EQ(img_test::EncodedSize(Encode(pThumb.get(), nFormat)), std::make_pair(nSize, nSize))
            << file.pszName << " " << nSize << " as " << nFormat;
      }
      // The pattern survives: red on top, blue below.
      EXPECT_TRUE(IsRed(pThumb.get(), nSize / 2, 2)) << file.pszName;
      EXPECT_FALSE(IsRed(pThumb.get(), nSize / 2, nSize - 3)) << file.pszName;
    }
  }
}

TEST(ImgSvcTest, JpegThumbnailsUseScaledDecodingSoFewPixelsAreHeld) {
  const Bytes jpeg = img_test::MakeJpeg(4000, 3000);
  zel::test::ImgResetPeakPixelBytes();
  const uint64_t nBefore = zel::test::ImgPeakPixelBytes();
  BitmapPtr pThumb = Decode(jpeg, 70, 70, IMG_RESIZE_FILL);
  ASSERT_TRUE(pThumb);
  // Decoded at 1/8 (500 x 375 x 3 bytes) instead of 36 MB at full size.
  EXPECT_LT(zel::test::ImgPeakPixelBytes() - nBefore, 600u * 1000u);
}

TEST(ImgSvcTest, ExifOrientationTurnsTheImageAsTheCameraHeldIt) {
  // 80 x 60 stored with its top half red; where the red half must show for each orientation.
  enum Side { kTop, kBottom, kLeft, kRight };
  const struct {
    int nOrientation;
    int nWidth, nHeight;
    Side red;
  } kCases[] = {{0, 80, 60, kTop},  {1, 80, 60, kTop},  {2, 80, 60, kTop},    {3, 80, 60, kBottom},
                {4, 80, 60, kBottom}, {5, 60, 80, kLeft}, {6, 60, 80, kRight}, {7, 60, 80, kRight},
                {8, 60, 80, kLeft},  {9, 80, 60, kTop}};
  for (const auto& c : kCases) {
    const Bytes jpeg = img_test::MakeJpeg(80, 60, c.nOrientation);
    ImgImageInfo info{};
    ASSERT_TRUE(ImgGetImageInfoFromBuffer(jpeg.data(), static_cast<UINT32>(jpeg.size()), &info));
    EXPECT_EQ(info.nWidth, c.nWidth) << c.nOrientation;
    EXPECT_EQ(info.nHeight, c.nHeight) << c.nOrientation;
    BitmapPtr p = Decode(jpeg, 0, 0, 0);
    ASSERT_TRUE(p) << c.nOrientation;
    ASSERT_EQ(p->nWidth, c.nWidth);
    // Probes a quarter into the image on the axis the red half lies on.
    const int w = p->nWidth, h = p->nHeight;
    const bool bVertical = c.red == kTop || c.red == kBottom;
    const bool bFirstRed = bVertical ? IsRed(p.get(), w / 2, h / 4) : IsRed(p.get(), w / 4, h / 2);
    const bool bSecondRed = bVertical ? IsRed(p.get(), w / 2, 3 * h / 4) : IsRed(p.get(), 3 * w / 4, h / 2);
    EXPECT_EQ(bFirstRed, c.red == kTop || c.red == kLeft) << c.nOrientation;
    EXPECT_EQ(bSecondRed, c.red == kBottom || c.red == kRight) << c.nOrientation;
  }
  // A camera-sized portrait photo (orientation 6) gives a portrait-shaped fitted image.
  BitmapPtr pFit = Decode(img_test::MakeJpeg(4000, 3000, 6), 172, 172, IMG_RESIZE_FIT);
  ASSERT_TRUE(pFit);
  EXPECT_EQ(pFit->nWidth, 129);
  EXPECT_EQ(pFit->nHeight, 172);
}

TEST(ImgSvcTest, MalformedExifBlocksReadAsUpright) {
  Bytes bigEndian = {'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1,
                     0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 6, 0, 0, 0, 0, 0, 0};
  Bytes farOffset = img_test::ExifWithOrientation(6);
  farOffset[10] = 0xF0;  // IFD0 beyond the block
  Bytes manyEntries = img_test::ExifWithOrientation(6);
  manyEntries[14] = 0xFF;  // 0xFFFF entries claimed, one present
  manyEntries[15] = 0xFF;
  manyEntries[16] = 0x13;  // and it is not the orientation
  const Bytes full = img_test::ExifWithOrientation(6);
  Bytes wrongType = full;
  wrongType[18] = 4;  // LONG instead of SHORT
  const struct {
    const char* pszName;
    Bytes exif;
    int nExpected;
  } kCases[] = {{"big-endian", bigEndian, 6},   {"IFD beyond the block", farOffset, 1},
                {"entry count beyond the block", manyEntries, 1}, {"wrong type", wrongType, 1},
                {"cut short", Bytes(full.begin(), full.begin() + 20), 1}};
  for (const auto& c : kCases) {
    // Written as the APP1 block of a real JPEG, so the parser sees exactly these bytes.
    Bytes jpeg = img_test::MakeJpeg(8, 4);
    Bytes app1 = {0xFF, 0xE1, static_cast<unsigned char>((c.exif.size() + 2) >> 8),
                  static_cast<unsigned char>(c.exif.size() + 2)};
    app1.insert(app1.end(), c.exif.begin(), c.exif.end());
    jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
    ImgImageInfo info{};
    ASSERT_TRUE(ImgGetImageInfoFromBuffer(jpeg.data(), static_cast<UINT32>(jpeg.size()), &info)) << c.pszName;
    EXPECT_EQ(info.nOrientation, c.nExpected) << c.pszName;
  }
}

TEST(ImgSvcTest, BadInputFailsClearlyBeforeAnyPixelIsAllocated) {
  const Bytes jpeg = img_test::MakeJpeg(640, 480);
  const Bytes png = img_test::MakePng(640, 480);
  const std::string strText = "BEGIN:VCARD\r\nVERSION:2.1\r\nEND:VCARD\r\n";
  const struct {
    const char* pszName;
    Bytes data;
    bool bHeaderReadable;  // the header alone is fine; the pixels are not
  } kCases[] = {
      {"text file", Bytes(strText.begin(), strText.end()), false},
      {"empty file", Bytes(), false},
      {"truncated JPEG", Bytes(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() / 2)), true},
      {"JPEG cut inside its header", Bytes(jpeg.begin(), jpeg.begin() + 40), false},
      {"truncated PNG", Bytes(png.begin(), png.begin() + static_cast<long>(png.size() / 2)), true},
      {"50-megapixel JPEG", img_test::JpegDeclaring(8660, 5774), true},
      {"PNG bomb", img_test::PngDeclaring(100000, 100000), true},
      {"PNG wider than libpng allows", img_test::PngDeclaring(0x7FFFFFFF, 1), false},
  };
  for (const auto& c : kCases) {
    for (const int nSize : {70, 0}) {
      zel::test::ImgResetPeakPixelBytes();
      const uint64_t nBefore = zel::test::ImgPeakPixelBytes();
      BitmapPtr p = Decode(c.data, nSize, nSize, IMG_RESIZE_FILL);
      EXPECT_FALSE(p) << c.pszName;
      EXPECT_STRNE(ImgGetLastError(), "") << c.pszName;
      if (std::string(c.pszName).find("truncated") == std::string::npos) {
        EXPECT_EQ(zel::test::ImgPeakPixelBytes(), nBefore) << c.pszName << " allocated pixels";
      }
    }
    ImgImageInfo info{};
    EXPECT_EQ(ImgGetImageInfoFromBuffer(c.data.data(), static_cast<UINT32>(c.data.size()), &info) != FALSE,
              c.bHeaderReadable)
        << c.pszName << ": " << ImgGetLastError();
  }
}

TEST(ImgSvcTest, ResizingAveragesTheAreaInsteadOfPickingPixels) {
  // Ten-pixel stripes of black and white shrunk tenfold and twentyfold: every pixel is grey.
  BitmapPtr pStripes(ImgCreateBitmap(200, 4, 24));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 200; ++x)
      std::memset(pStripes->pBits + y * pStripes->nStride + x * 3, (x / 5) % 2 ? 255 : 0, 3);
  for (const int nWidth : {20, 10, 7}) {
    BitmapPtr p(ImgSvcResizeBitmap(pStripes.get(), nWidth, 1, IMG_RESIZE_STRETCH));
    ASSERT_TRUE(p);
    for (int x = 0; x < nWidth; ++x) {
      EXPECT_NEAR(p->pBits[x * 3], 128, 20) << nWidth << " x " << x;
    }
  }
  // Enlarging keeps the image's own colours at the ends.
  BitmapPtr pTwo(ImgCreateBitmap(2, 1, 24));
  std::memset(pTwo->pBits + 3, 255, 3);
  BitmapPtr pWide(ImgSvcResizeBitmap(pTwo.get(), 8, 1, IMG_RESIZE_STRETCH));
  ASSERT_TRUE(pWide);
  EXPECT_EQ(pWide->pBits[0], 0);
  EXPECT_EQ(pWide->pBits[7 * 3], 255);
  // Fill cuts the wider side evenly: a 300 x 100 image with a red middle third becomes all red.
  BitmapPtr pWideImg(ImgCreateBitmap(300, 100, 24));
  for (int y = 0; y < 100; ++y)
    for (int x = 100; x < 200; ++x) pWideImg->pBits[y * pWideImg->nStride + x * 3] = 255;
  BitmapPtr pFill(ImgSvcResizeBitmap(pWideImg.get(), 10, 10, IMG_RESIZE_FILL));
  ASSERT_TRUE(pFill);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(pFill->pBits[5 * pFill->nStride + x * 3], 255) << x;
  EXPECT_EQ(ImgSvcResizeBitmap(pTwo.get(), 0, 4, IMG_RESIZE_FILL), nullptr);
  EXPECT_EQ(ImgSvcResizeBitmap(pTwo.get(), 4, 4, 7), nullptr);
}

TEST(ImgSvcTest, SixteenBitCopiesAndMergesKeepColours) {
  BitmapPtr pBase(ImgCreateBitmap(4, 4, 24));
  std::memset(pBase->pBits, 255, static_cast<size_t>(pBase->nStride) * 4);
  BitmapPtr p16(WmGet16BitsBitmap(pBase.get()));
  ASSERT_TRUE(p16);
  EXPECT_EQ(p16->nBitsPerPixel, 16);
  EXPECT_EQ(reinterpret_cast<UINT16*>(p16->pBits)[0], 0xFFFF);
  BitmapPtr pDot(ImgCreateBitmap(2, 2, 24));  // black
  BitmapPtr pMerged(WmGetMergedBitmapEx(p16.get(), pDot.get(), 3, 3));
  ASSERT_TRUE(pMerged);
  EXPECT_EQ(pMerged->pBits[3 * pMerged->nStride + 3 * 3], 0);  // drawn, clipped at the edge
  EXPECT_EQ(pMerged->pBits[2 * pMerged->nStride + 2 * 3], 255);
}

TEST(ImgSvcTest, ThumbnailStoreIsAFileThatKeepsEntriesUntilFull) {
  zel::coretest::TempDataDir dir;
  BitmapPtr p(ImgCreateBitmap(70, 70, 16));
  p->pBits[0] = 0x5A;
  const UINT32 nBytes = static_cast<UINT32>(p->nStride * p->nHeight);
  {
    CImgSvcThumbDB db;
    ASSERT_TRUE(db.Create("/User/Mass/Ct/3/thumbdb.tdb", "/User/Mass/Ct/3/Images"));
    EXPECT_TRUE(FmIsDirExist("/User/Mass/Ct/3/Images"));
    EXPECT_TRUE(db.Put("/a.jpg", 70, 70, 16, p->pBits, nBytes));
    EXPECT_TRUE(db.Put("/a.jpg", 70, 70, 16, p->pBits, nBytes));  // replaces
    EXPECT_FALSE(db.Put("/b.jpg", 70, 71, 16, p->pBits, nBytes));  // size does not match the pixels
    EXPECT_EQ(db.GetCount(), 1);
  }
  EXPECT_TRUE(FmIsFileExist("/User/Mass/Ct/3/thumbdb.tdb"));
  CImgSvcThumbDB db;
  ASSERT_TRUE(db.Create("/User/Mass/Ct/3/thumbdb.tdb", "/User/Mass/Ct/3/Images"));
  BitmapPtr pRead(db.Get("/a.jpg"));
  ASSERT_TRUE(pRead);
  EXPECT_EQ(pRead->nWidth, 70);
  EXPECT_EQ(pRead->pBits[0], 0x5A);
  EXPECT_EQ(db.Get("/none.jpg"), nullptr);
  zel::test::ImgSetThumbDbCapacity(2);
  EXPECT_FALSE(db.IsFull());
  EXPECT_TRUE(db.Put("/c.jpg", 70, 70, 16, p->pBits, nBytes));
  EXPECT_TRUE(db.IsFull());
  zel::test::ImgSetThumbDbCapacity(0);
  EXPECT_TRUE(db.Delete("/a.jpg"));
  EXPECT_FALSE(db.Delete("/a.jpg"));
  EXPECT_FALSE(db.Has("/a.jpg"));
}

}  // namespace
