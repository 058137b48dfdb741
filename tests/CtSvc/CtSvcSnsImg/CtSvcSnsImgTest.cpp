// Friends' profile photos: the fetcher task turns an arriving photo into the caller image of the
// person whose social-network data carries the people id. Tests wait for the task to be idle.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtSvcImg.h"
#include "CtSvcModule.h"
#include "CtSvcSnsImg/CtSvcSnsImgMgr.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ImgTestFiles.h"
#include "ZelCoreTest.h"
#include "ZelSnsSvcTest.h"
#include "ZelWm.h"

namespace {

struct BitmapFree {
  void operator()(ImgBitmap* p) const { ImgFreeBitmap(p); }
};
using BitmapPtr = std::unique_ptr<ImgBitmap, BitmapFree>;

class CtSvcSnsImgTest : public ctsvc_test::ServiceTest {
 protected:
  void TearDown() override {
    zel::test::SnsClearPhotos();
    ServiceTest::TearDown();
  }
  // A phone person of the account with one social-network row; its id.
  static int AddFriend(const char* pszPeopleId, int nSp, int nAccountId) {
    CCtSvcPerson person = ctsvc_test::Named("Sam", "Fox");
    person.SetAccountId(nAccountId);
    if (person.Insert(1) <= 0) return -1;
    CtSvcSnsDataInfo sns{};
    ctsvc_test::Copy(sns.szPeopleId, pszPeopleId);
    sns.nSp = nSp;
    return CtSvcDbSnsDataInsertRecord(person.GetHandle(), 1, &sns) > 0 ? CTSVC_HANDLE_TO_ID(person.GetHandle()) : -1;
  }
  static std::string CallerImage(int nPersonId) {
    CtSvcPersonRecord record{};
    return CtSvcDbPersonGetRecordById(nPersonId, &record) ? record.Info.szCallerImage : "(none)";
  }
  static void WaitForTask() {
    ASSERT_EQ(1, WmWaitEventHandlerIdle(WmGetEventHandlerByName(CTSVC_SNS_IMG_TASK_NAME), 10000));
  }
};

TEST_F(CtSvcSnsImgTest, AnArrivingPhotoBecomesTheFriendsCallerImage) {
  const int nPerson = AddFriend("p42", 2, 4);
  const int nOther = AddFriend("p43", 2, 4);
  ASSERT_GT(nPerson, 0);
  const img_test::Bytes jpeg = img_test::MakeJpeg(800, 600);
  zel::test::SnsSetPhoto("p42", jpeg.data(), jpeg.size());
  zel::test::LogCapture log;
  ASSERT_TRUE(CtSvcSnsImageRequest("p42"));
  WaitForTask();
  const std::string strPath = "/User/Mass/Ct/4/Images/2p42.jpg";
  EXPECT_EQ(CallerImage(nPerson), strPath);
  EXPECT_EQ(CallerImage(nOther), "");
  EXPECT_TRUE(log.Contains("CCtSvcSnsImgMgr::Update Sns Caller ID\n"));
  EXPECT_TRUE(log.Contains("TIME_CHECK CCtSvcSnsImgMgr::UpdateCallerImgToPerson took "));
  // Stored as a thumbnail only, with the provider's badge in the bottom right corner.
  EXPECT_TRUE(CtSvcImgIsThumbDbPath(strPath.c_str()));
  BitmapPtr pThumb(CtSvcImgLoadThumbnail(strPath.c_str()));
  ASSERT_TRUE(pThumb);
  EXPECT_EQ(pThumb->nWidth, CTSVC_IMG_THUMBNAIL_SIZE);
  BitmapPtr pIcon(SnsSvcGetServiceProviderIcon(2));
  BitmapPtr pThumb24(WmGet24BitsBitmap(pThumb.get()));
  const UINT8* pCorner = pThumb24->pBits + 66 * pThumb24->nStride + 66 * 3;
  EXPECT_NEAR(pCorner[0], pIcon->pBits[0], 8);
  EXPECT_NEAR(pCorner[2], pIcon->pBits[2], 8);
  const UINT8* pTop = pThumb24->pBits + 5 * pThumb24->nStride + 5 * 3;
  EXPECT_GT(pTop[0], 150);  // the photo's red top half
}

TEST_F(CtSvcSnsImgTest, WithoutPhotoOrFriendThePersonStaysAsItWas) {
  const int nPerson = AddFriend("p7", 1, 2);
  const std::string strText = "not a photo";
  zel::test::SnsSetPhoto("p7", strText.data(), strText.size());
  const img_test::Bytes jpeg = img_test::MakeJpeg(64, 64);
  zel::test::SnsSetPhoto("stranger", jpeg.data(), jpeg.size());
  zel::test::LogCapture log;
  for (const char* pszPeopleId : {"p7", "stranger", "nobody"}) {
    EXPECT_TRUE(CtSvcSnsImageRequest(pszPeopleId)) << pszPeopleId;
  }
  WaitForTask();
  EXPECT_EQ(CallerImage(nPerson), "");
  EXPECT_EQ(log.Count("CCtSvcSnsImgMgr::UpdateCallerImgToPerson("), 3);
  EXPECT_FALSE(log.Contains("Update Sns Caller ID"));
  EXPECT_FALSE(CtSvcSnsImageRequest(""));
  EXPECT_FALSE(CtSvcSnsImageRequest(nullptr));
}

TEST_F(CtSvcSnsImgTest, APeopleIdThatNamesAFolderIsNotUsedAsAFileName) {
  const int nPerson = AddFriend("../../x", 1, 2);
  const img_test::Bytes jpeg = img_test::MakeJpeg(64, 64);
  zel::test::SnsSetPhoto("../../x", jpeg.data(), jpeg.size());
  ASSERT_TRUE(CtSvcSnsImageRequest("../../x"));
  WaitForTask();
  EXPECT_EQ(CallerImage(nPerson), "");
}

TEST_F(CtSvcSnsImgTest, UnloadingTheServiceStopsTheTask) {
  ASSERT_TRUE(CtSvcSnsImageRequest("p1"));
  WaitForTask();
  EXPECT_NE(WmGetEventHandlerByName(CTSVC_SNS_IMG_TASK_NAME), INVALID_HOBJ);
  ASSERT_EQ(TRUE, CtSvcDispatch(CTSVC_DISPATCH_UNLOAD, 0, 0));
  EXPECT_EQ(WmGetEventHandlerByName(CTSVC_SNS_IMG_TASK_NAME), INVALID_HOBJ);
  ASSERT_EQ(TRUE, CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0));  // as the fixture expects to unload
}

}  // namespace
