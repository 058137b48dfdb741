// Caller images and thumbnails through the exported functions of the loaded service: stores per
// account, what is refused and what then stays on disk, account removal, and the slots of the
// interface table.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CtSvcImg.h"
#include "CtSvcImg/CtSvcImgMgr.h"
#include "CtSvcModule/CtSvcInterfaceTable.h"
#include "CtSvcModule.h"
#include "CtSvcTask.h"
#include "CtSvcTestEnv.h"
#include "CtSvcTestThreads.h"
#include "ImgTestFiles.h"
#include "ZelCoreTest.h"
#include "ZelFm.h"
#include "ZelImgSvcTest.h"
#include "ZelWm.h"

namespace {

using img_test::Bytes;

struct BitmapFree {
  void operator()(ImgBitmap* p) const { ImgFreeBitmap(p); }
};
using BitmapPtr = std::unique_ptr<ImgBitmap, BitmapFree>;

const char kSource[] = "/User/Ct/Import/source.jpg";

class CtSvcImgTest : public ctsvc_test::ServiceTest {
 protected:
  void TearDown() override {
    zel::test::ImgSetThumbDbCapacity(0);
    ServiceTest::TearDown();
  }
  static std::string Source(const Bytes& v, const std::string& strPath = kSource) {
    img_test::WritePlatformFile(strPath, v);
    return strPath;
  }
  static BitmapPtr Thumb(const std::string& strPath) { return BitmapPtr(CtSvcImgLoadThumbnail(strPath.c_str())); }
  static BitmapPtr Pattern(int nWidth, int nHeight) {
    const Bytes jpeg = img_test::MakeJpeg(nWidth, nHeight);
    return BitmapPtr(ImgDecodeScaledBitmap(jpeg.data(), static_cast<UINT32>(jpeg.size()), 0, 0, 0));
  }
  static bool IsRedAt(const ImgBitmap* p, int x, int y) {
    BitmapPtr p24(WmGet24BitsBitmap(p));
    const UINT8* px = p24->pBits + y * p24->nStride + x * 3;
    return px[0] > 150 && px[2] < 100;
  }
};

TEST_F(CtSvcImgTest, CameraPhotosBecomeCallerImagesWithThumbnailsOfTheRightSize) {
  const struct {
    const char* pszName;
    Bytes source;
    std::pair<int, int> stored;  // size of the stored file: an upright JPEG is kept as it is
  } kCases[] = {
      {"upright JPEG", img_test::MakeJpeg(4000, 3000), {4000, 3000}},
      {"PNG", img_test::MakePng(4000, 3000), {172, 172}},
      {"JPEG held upright (orientation 6)", img_test::MakeJpeg(4000, 3000, 6), {172, 172}},
  };
  int n = 0;
  for (const auto& c : kCases) {
    const std::string strPath = "/User/Mass/Ct/0/Images/img" + std::to_string(n++) + ".jpg";
    ASSERT_TRUE(CtSvcImgSaveEx(strPath.c_str(), Source(c.source).c_str())) << c.pszName;
    EXPECT_EQ(img_test::EncodedSize(img_test::ReadPlatformFile(strPath)), c.stored) << c.pszName;
    BitmapPtr pThumb = Thumb(strPath);
    ASSERT_TRUE(pThumb) << c.pszName;
    EXPECT_EQ(pThumb->nWidth, CTSVC_IMG_THUMBNAIL_SIZE);
    EXPECT_EQ(pThumb->nHeight, CTSVC_IMG_THUMBNAIL_SIZE);
    EXPECT_EQ(pThumb->nBitsPerPixel, 16);
    EXPECT_FALSE(CtSvcImgIsThumbDbPath(strPath.c_str()));
    // The pattern's red half is on top, or on the right for the camera turned by 90 degrees.
    const bool bTurned = c.stored.first == 172 && std::string(c.pszName).find("orientation") != std::string::npos;
    EXPECT_TRUE(bTurned ? IsRedAt(pThumb.get(), 60, 35) : IsRedAt(pThumb.get(), 35, 10)) << c.pszName;
    EXPECT_FALSE(bTurned ? IsRedAt(pThumb.get(), 10, 35) : IsRedAt(pThumb.get(), 35, 60)) << c.pszName;
  }
  EXPECT_TRUE(FmIsFileExist("/User/Mass/Ct/0/thumbdb.tdb"));
}

TEST_F(CtSvcImgTest, BadSourcesFailClearlyAndStoreNothing) {
  const Bytes jpeg = img_test::MakeJpeg(640, 480);
  const std::string strText = "not an image\n";
  const struct {
    const char* pszName;
    Bytes data;
  } kCases[] = {
      {"text file", Bytes(strText.begin(), strText.end())},
      {"truncated JPEG", Bytes(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() / 2))},
      {"50-megapixel JPEG", img_test::JpegDeclaring(8660, 5774)},
      {"PNG bomb", img_test::PngDeclaring(100000, 100000)},
  };
  const std::string strPath = "/User/Mass/Ct/2/Images/bad.jpg";
  for (const auto& c : kCases) {
    zel::test::LogCapture log;
    zel::test::ImgResetPeakPixelBytes();
    const uint64_t nBefore = zel::test::ImgPeakPixelBytes();
    EXPECT_FALSE(CtSvcImgSaveEx(strPath.c_str(), Source(c.data).c_str())) << c.pszName;
    EXPECT_TRUE(log.Contains("CCtSvcImgMgr::SaveEx - ")) << c.pszName;
    EXPECT_FALSE(FmIsFileExist(strPath.c_str())) << c.pszName;
    EXPECT_FALSE(Thumb(strPath)) << c.pszName;
    // Refused from the declared size: no pixel buffer was ever allocated for them.
    if (std::string(c.pszName).find("truncated") == std::string::npos) {
      EXPECT_EQ(zel::test::ImgPeakPixelBytes(), nBefore) << c.pszName;
    }
    EXPECT_FALSE(CtSvcImgSaveThumbnail(kSource)) << c.pszName;
  }
  zel::test::LogCapture log;
  EXPECT_FALSE(CtSvcImgSaveEx(strPath.c_str(), "/User/Ct/none.jpg"));
  EXPECT_FALSE(CtSvcImgSaveEx("relative.jpg", Source(jpeg).c_str()));
  EXPECT_TRUE(log.HasAssertion("pszImgPath[0]=='/'"));
  EXPECT_FALSE(CtSvcImgSave("", Pattern(8, 8).get()));
  EXPECT_TRUE(log.HasAssertion("pszImgPath != NULL && AcStrlen(pszImgPath) > 0"));
}

TEST_F(CtSvcImgTest, PathsBelongToTheAccountNamedAfterTheStorePrefix) {
  const struct {
    const char* pszPath;
    int nAccount;
    bool bLogged;
  } kCases[] = {{"/User/Mass/Ct/7/Images/a.jpg", 7, false}, {"/User/Mass/Ct/0/Images/a.jpg", 0, false},
                {"/User/Mass/Ct/12/thumbdb.tdb", 12, false}, {"/User/Ct/a.jpg", 0, true},
                {"/User/Mass/Ct/x/a.jpg", 0, true},           {"/User/Mass/Ct/7", 0, true},
                {"/User/Mass/Ct/-3/a.jpg", 0, true}};
  for (const auto& c : kCases) {
    zel::test::LogCapture log;
    EXPECT_EQ(CCtSvcImgMgr::GetAccountIdFromCallerIdPath(c.pszPath), c.nAccount) << c.pszPath;
    EXPECT_EQ(log.Contains("don't support account path"), c.bLogged) << c.pszPath;
  }
  zel::test::LogCapture log;
  EXPECT_EQ(CCtSvcImgMgr::GetAccountIdFromCallerIdPath(""), -1);
  EXPECT_TRUE(log.HasAssertion("pszImgPath != NULL && AcStrlen(pszImgPath) > 0"));
  // Each account's thumbnails live in its own store file.
  ASSERT_TRUE(CtSvcImgSaveThumbnailFromBitmap("/User/Mass/Ct/7/Images/a.jpg", Pattern(30, 20).get()));
  EXPECT_TRUE(FmIsFileExist("/User/Mass/Ct/7/thumbdb.tdb"));
  EXPECT_FALSE(FmIsFileExist("/User/Mass/Ct/0/thumbdb.tdb"));
  EXPECT_TRUE(CtSvcImgIsThumbDbPath("/User/Mass/Ct/7/Images/a.jpg"));  // no file: thumbnail only
  EXPECT_TRUE(CtSvcImgIsThumbDbPath("a.jpg"));
}

TEST_F(CtSvcImgTest, DeleteRemovesFilesOnlyInsideTheStore) {
  BitmapPtr pBitmap = Pattern(400, 300);
  const char* kOutside = "/User/Ct/outside.jpg";
  const char* kInside = "/User/Mass/Ct/0/Images/inside.jpg";
  for (const char* pszPath : {kOutside, kInside}) {
    ASSERT_TRUE(CtSvcImgSave(pszPath, pBitmap.get())) << pszPath;
    EXPECT_EQ(img_test::EncodedSize(img_test::ReadPlatformFile(pszPath)), std::make_pair(172, 172));
    BitmapPtr pLoaded(CtSvcImgLoad(pszPath));  // the thumbnail while there is one
    ASSERT_TRUE(pLoaded);
    EXPECT_EQ(pLoaded->nWidth, CTSVC_IMG_THUMBNAIL_SIZE);
  }
  EXPECT_TRUE(FmIsFileExist("/User/Mass/Ct/0/thumbdb.tdb"));  // the outside path is account 0's
  for (const char* pszPath : {kOutside, kInside}) {
    EXPECT_TRUE(CtSvcImgDelete(pszPath)) << pszPath;
    EXPECT_FALSE(Thumb(pszPath)) << pszPath;
  }
  EXPECT_TRUE(FmIsFileExist(kOutside));
  EXPECT_FALSE(FmIsFileExist(kInside));
  BitmapPtr pFile(CtSvcImgLoad(kOutside));  // no thumbnail left: the file at its own size
  ASSERT_TRUE(pFile);
  EXPECT_EQ(pFile->nWidth, 172);
  zel::test::LogCapture log;
  EXPECT_FALSE(CtSvcImgDelete(kInside));
  EXPECT_FALSE(CtSvcImgDelete(""));
  EXPECT_TRUE(log.Contains("CCtSvcImgMgr::Delete - pszImgPath is NULL or Length is 0!\n"));
  EXPECT_EQ(CtSvcImgLoad(kInside), nullptr);
  EXPECT_TRUE(log.Contains("CCtSvcImgMgr::Load - ImgGetImageInfo failed\n"));
  EXPECT_EQ(CtSvcImgLoadThumbnail(""), nullptr);
  EXPECT_TRUE(log.Contains("CCtSvcImgMgr::LoadThumbnail -pszImgPath is NULL or length is 0\n"));
  EXPECT_FALSE(Thumb(kInside));
  EXPECT_TRUE(log.Contains("CCtSvcImgMgr::LoadThumbnail - not found in thunbDB(/User/Mass/Ct/0/Images/inside.jpg)\n"));
}

TEST_F(CtSvcImgTest, NoSaveWithoutMoreThan300KiBFree) {
  const std::string strSource = Source(img_test::MakeJpeg(64, 48));
  BitmapPtr pBitmap = Pattern(64, 48);
  const std::string strPath = "/User/Mass/Ct/0/Images/room.jpg";
  const std::function<BOOL()> kSaves[] = {
      [&] { return CtSvcImgSave(strPath.c_str(), pBitmap.get()); },
      [&] { return CtSvcImgSaveEx(strPath.c_str(), strSource.c_str()); },
      [&] { return CtSvcImgSaveThumbnailFromBitmap(strPath.c_str(), pBitmap.get()); },
      [&] { return CtSvcImgSaveThumbnail(strSource.c_str()); },
  };
  for (const auto& save : kSaves) {
    zel::test::SetAvailableSize(CTSVC_IMG_MIN_AVAILABLE_SIZE);
    zel::test::LogCapture log;
    EXPECT_FALSE(save());
    EXPECT_TRUE(log.Contains("CCtSvcImgMgr::IsEnoughAvailableSize : Quota Full Available size (307200)\n"));
    EXPECT_TRUE(log.Contains("CCtSvcImgMgr::Save - IsEnoughAvailableSize is FALSE\n"));
    EXPECT_FALSE(FmIsFileExist(strPath.c_str()));
    EXPECT_FALSE(Thumb(strPath));
    EXPECT_FALSE(Thumb(strSource));
    zel::test::SetAvailableSize(CTSVC_IMG_MIN_AVAILABLE_SIZE + 1);
    EXPECT_TRUE(save());
    CtSvcImgDelete(strPath.c_str());
    CtSvcImgDelete(strSource.c_str());
  }
}

TEST_F(CtSvcImgTest, AFullThumbnailStoreStillGetsTheCopiedFile) {
  zel::test::ImgSetThumbDbCapacity(1);
  const std::string strSource = Source(img_test::MakeJpeg(640, 480));
  ASSERT_TRUE(CtSvcImgSaveEx("/User/Mass/Ct/0/Images/first.jpg", strSource.c_str()));
  zel::test::LogCapture log;
  EXPECT_TRUE(CtSvcImgSaveEx("/User/Mass/Ct/0/Images/second.jpg", strSource.c_str()));
  EXPECT_TRUE(log.Contains("CCtSvcImgMgr::Save - ThumbDB is Full Source path is (" + strSource + ")\n"));
  EXPECT_EQ(img_test::ReadPlatformFile("/User/Mass/Ct/0/Images/second.jpg"), img_test::ReadPlatformFile(strSource));
  EXPECT_FALSE(Thumb("/User/Mass/Ct/0/Images/second.jpg"));
  // A bitmap save writes its file too; only the thumbnail is left out.
  EXPECT_TRUE(CtSvcImgSave("/User/Mass/Ct/0/Images/third.jpg", Pattern(90, 90).get()));
  EXPECT_TRUE(FmIsFileExist("/User/Mass/Ct/0/Images/third.jpg"));
  EXPECT_FALSE(Thumb("/User/Mass/Ct/0/Images/third.jpg"));
  EXPECT_FALSE(CtSvcImgSaveThumbnailFromBitmap("/User/Mass/Ct/0/Images/fourth.jpg", Pattern(9, 9).get()));
  // Another account's store has room of its own.
  EXPECT_TRUE(CtSvcImgSaveEx("/User/Mass/Ct/1/Images/first.jpg", strSource.c_str()));
  EXPECT_TRUE(Thumb("/User/Mass/Ct/1/Images/first.jpg"));
}

TEST_F(CtSvcImgTest, DeletingAnAccountRemovesItsImagesFromTheDisk) {
  const std::string strSource = Source(img_test::MakeJpeg(320, 240));
  for (const char* pszPath : {"/User/Mass/Ct/5/Images/a.jpg", "/User/Mass/Ct/5/Images/b.jpg",
                              "/User/Mass/Ct/6/Images/a.jpg"}) {
    ASSERT_TRUE(CtSvcImgSaveEx(pszPath, strSource.c_str()));
  }
  EXPECT_TRUE(CtSvcImgDeleteAccount(5));
  EXPECT_FALSE(FmIsDirExist("/User/Mass/Ct/5"));
  EXPECT_TRUE(FmIsFileExist("/User/Mass/Ct/6/Images/a.jpg"));
  EXPECT_TRUE(Thumb("/User/Mass/Ct/6/Images/a.jpg"));
  // The account's store starts afresh: the old thumbnails are gone with it.
  EXPECT_FALSE(Thumb("/User/Mass/Ct/5/Images/a.jpg"));
  ASSERT_TRUE(CtSvcImgSaveEx("/User/Mass/Ct/5/Images/c.jpg", strSource.c_str()));
  EXPECT_TRUE(Thumb("/User/Mass/Ct/5/Images/c.jpg"));
  zel::test::LogCapture log;
  EXPECT_TRUE(CtSvcImgDeleteAccount(9));
  EXPECT_TRUE(log.Contains("CCtSvcImgMgr::DeleteAccount Directory doesn't exist /User/Mass/Ct/9\n"));
}

TEST_F(CtSvcImgTest, TheAccountRemovalJobTakesTheImagesWithIt) {
  ASSERT_TRUE(CtSvcImgSaveEx("/User/Mass/Ct/8/Images/a.jpg", Source(img_test::MakeJpeg(32, 32)).c_str()));
  ctsvc_test::CallbackLog done;
  WmSetCurrentEventHandler(WmGetEventHandlerByName("CTSVC"));
  const INT32 nAccount = 8;
  ASSERT_TRUE(CtSvcTaskRequestDeleteAccount(
      CTSVC_USE_TYPE_PHONE, &nAccount, 1,
      [](INT32 nResult, void* p) { static_cast<ctsvc_test::CallbackLog*>(p)->Add(std::to_string(nResult)); }, &done));
  WmSetCurrentEventHandler(INVALID_HOBJ);
  EXPECT_EQ(done.WaitFor(1), std::vector<std::string>{"1"});
  EXPECT_FALSE(FmIsDirExist("/User/Mass/Ct/8"));
}

TEST_F(CtSvcImgTest, CallerIdPathsAndSlots59And60OfTheInterfaceTable) {
  ASSERT_STREQ(CtSvcGetInterfaceSlotName(59), "CtSvcImgSaveEx");
  ASSERT_STREQ(CtSvcGetInterfaceSlotName(60), "CtSvcImgMakeCallerIdPath");
  void** ppSlots = CtSvcGetClassDescriptor()->ppInterface;
  using SaveExFn = BOOL (*)(const char*, const char*);
  using MakePathFn = BOOL (*)(INT32, const char*, char*, INT32);
  auto pfnSaveEx = reinterpret_cast<SaveExFn>(ppSlots[59]);
  auto pfnMakePath = reinterpret_cast<MakePathFn>(ppSlots[60]);
  ASSERT_NE(pfnSaveEx, nullptr);
  ASSERT_NE(pfnMakePath, nullptr);
  char szPath[64];
  ASSERT_TRUE(pfnMakePath(3, "phone1.jpg", szPath, sizeof(szPath)));
  EXPECT_STREQ(szPath, "/User/Mass/Ct/3/Images/phone1.jpg");
  EXPECT_TRUE(pfnSaveEx(szPath, Source(img_test::MakeJpeg(100, 100)).c_str()));
  EXPECT_TRUE(Thumb(szPath));
  zel::test::LogCapture log;
  char szSmall[20];
  EXPECT_FALSE(pfnMakePath(3, "phone1.jpg", szSmall, sizeof(szSmall)));
  EXPECT_STREQ(szSmall, "");
  EXPECT_FALSE(pfnMakePath(3, "", szPath, sizeof(szPath)));
  EXPECT_TRUE(log.HasAssertion("pszFileName != NULL && AcStrlen(pszFileName) > 0"));
  EXPECT_FALSE(pfnMakePath(3, "a.jpg", nullptr, 10));
  EXPECT_FALSE(pfnMakePath(3, "a.jpg", szPath, 0));
  EXPECT_EQ(log.Assertions().size(), 3u);
  EXPECT_TRUE(log.HasAssertion("pszOutputCallerIdPath != NULL && nBufferLength > 0"));
}

TEST_F(CtSvcImgTest, RegisteringACallerImageCopiesItIntoTheAccountsStore) {
  zel::test::SetClock(1700000000);
  const std::string strSource = Source(img_test::MakeJpeg(200, 100));
  CtSvcPersonInfo person{};
  CtSvcContactInfo contact{};
  contact.pPersonInfo = &person;
  person.nAccountId = 3;
  for (const char* pszExpected : {"/User/Mass/Ct/3/Images/phone1700000000.jpg",
                                  "/User/Mass/Ct/3/Images/phone1700000001.jpg"}) {
    std::snprintf(person.szCallerImage, sizeof(person.szCallerImage), "%s", strSource.c_str());
    ASSERT_TRUE(CtSvcRegisterImgtoLibrary(&contact));
    EXPECT_STREQ(person.szCallerImage, pszExpected);  // the same second never overwrites an image
    EXPECT_TRUE(Thumb(pszExpected));
  }
  person.nAccountId = -1;  // a local contact's image goes to account 0
  std::snprintf(person.szCallerImage, sizeof(person.szCallerImage), "%s", strSource.c_str());
  ASSERT_TRUE(CtSvcRegisterImgtoLibrary(&contact));
  EXPECT_STREQ(person.szCallerImage, "/User/Mass/Ct/0/Images/phone1700000000.jpg");
  const std::string strText = Source(Bytes{'h', 'i'}, "/User/Ct/Import/text.jpg");
  std::snprintf(person.szCallerImage, sizeof(person.szCallerImage), "%s", strText.c_str());
  zel::test::LogCapture log;
  EXPECT_FALSE(CtSvcRegisterImgtoLibrary(&contact));
  EXPECT_STREQ(person.szCallerImage, strText.c_str());
  EXPECT_TRUE(log.Contains("CtSvcRegisterImgtoLibrary-CtSvcImgSaveEx return FALSE\n"));
  person.szCallerImage[0] = '\0';
  EXPECT_TRUE(CtSvcRegisterImgtoLibrary(&contact));  // nothing to register
  contact.pPersonInfo = nullptr;
  EXPECT_FALSE(CtSvcRegisterImgtoLibrary(&contact));
  EXPECT_FALSE(CtSvcRegisterImgtoLibrary(nullptr));
  EXPECT_EQ(log.Assertions().size(), 2u);
}

TEST_F(CtSvcImgTest, MotionDialAndLegacyThumbnails) {
  const std::string strFile = "/User/Mass/Ct/0/Images/dial.jpg";
  ASSERT_TRUE(CtSvcImgSaveEx(strFile.c_str(), Source(img_test::MakeJpeg(4000, 3000)).c_str()));
  const std::string strThumbOnly = "/User/Mass/Ct/0/Images/sns.jpg";
  ASSERT_TRUE(CtSvcImgSaveThumbnailFromBitmap(strThumbOnly.c_str(), Pattern(50, 50).get()));
  for (const std::string& strPath : {strFile, strThumbOnly}) {
    BitmapPtr p(CtSvcGetThumbNailBitmap(strPath.c_str(), CTSVC_IMG_MOTION_DIAL_SIZE, CTSVC_IMG_MOTION_DIAL_SIZE));
    ASSERT_TRUE(p) << strPath;
    EXPECT_EQ(p->nWidth, 137);
    EXPECT_EQ(p->nHeight, 137);
  }
  EXPECT_EQ(CtSvcGetThumbNailBitmap("", 137, 137), nullptr);
  EXPECT_EQ(CtSvcGetThumbNailBitmap("/User/Mass/Ct/0/Images/none.jpg", 137, 137), nullptr);

  ASSERT_TRUE(CtSetThumbNailBitmap(12, Pattern(48, 36).get()));
  EXPECT_EQ(img_test::EncodedSize(img_test::ReadPlatformFile("/User/Ct/Tmb/12.jpeg")), std::make_pair(48, 36));
  EXPECT_EQ(CtGetThumbNailBitmap(12), nullptr);
  EXPECT_TRUE(CtRemoveThumbNailFile(12));
  EXPECT_TRUE(FmIsFileExist("/User/Ct/Tmb/12.jpeg"));
}

}  // namespace
