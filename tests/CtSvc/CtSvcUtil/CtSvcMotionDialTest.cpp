// A contact and one of its numbers as a motion-dial entry.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcImg.h"
#include "CtSvcStatus.h"
#include "CtSvcTestEnv.h"
#include "ImgTestFiles.h"
#include "ZelCoreTest.h"

namespace {

class CtSvcMotionDialTest : public ctsvc_test::ServiceTest {};

TEST_F(CtSvcMotionDialTest, TheEntryTakesNameNumberIdAndA137Thumbnail) {
  const img_test::Bytes jpeg = img_test::MakeJpeg(300, 200);
  std::filesystem::create_directories(m_dir.File("pics"));
  std::ofstream(m_dir.File("pics/a.jpg"), std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), jpeg.size());
  CCtSvcContactInfoBuilder builder("Mo", -1, "Tion");
  builder.Number("0101").Number(std::string(60, '9'));
  builder.person.hPerson = CTSVC_MAKE_HANDLE(CTSVC_USE_TYPE_PHONE, 42);
  CtSvcCopyText(builder.person.szCallerImage, std::string("/pics/a.jpg"));
  const CtSvcContactInfo info = builder.Info();
  CtMotionDialInfo entry{};
  ASSERT_TRUE(CtSvcConvert2MotionDial(&info, 1, &entry));
  EXPECT_STREQ("Mo Tion", entry.szDisplayName);
  EXPECT_EQ(std::string(50, '9'), entry.szPhoneNumber) << "at most 50 bytes";
  EXPECT_EQ(42, entry.nPersonId);
  EXPECT_EQ(1, entry.nSelectedPhoneNumberIndex);
  ASSERT_NE(nullptr, entry.pThumbnail);
  EXPECT_EQ(CTSVC_IMG_MOTION_DIAL_SIZE, entry.pThumbnail->nWidth);
  EXPECT_EQ(CTSVC_IMG_MOTION_DIAL_SIZE, entry.pThumbnail->nHeight);
  CtFreeThumbNailBitmap(entry.pThumbnail);
}

TEST_F(CtSvcMotionDialTest, NoImageNoThumbnailAndAMissingNumberIsFalse) {
  CCtSvcContactInfoBuilder builder("", -1, "Last");
  builder.Number("0101");
  const CtSvcContactInfo info = builder.Info();
  CtMotionDialInfo entry{};
  ASSERT_TRUE(CtSvcConvert2MotionDial(&info, 0, &entry));
  EXPECT_STREQ("Last", entry.szDisplayName);
  EXPECT_EQ(nullptr, entry.pThumbnail);
  EXPECT_FALSE(CtSvcConvert2MotionDial(&info, 1, &entry)) << "no second number";
  EXPECT_STREQ("", entry.szPhoneNumber);
  EXPECT_EQ(1, entry.nSelectedPhoneNumberIndex);
}

TEST_F(CtSvcMotionDialTest, ANegativeIndexIsRefusedWithItsAssertion) {
  CCtSvcContactInfoBuilder builder("Neg", -1);
  builder.Number("0101");
  const CtSvcContactInfo info = builder.Info();
  CtMotionDialInfo entry{};
  std::snprintf(entry.szDisplayName, sizeof(entry.szDisplayName), "untouched");
  zel::test::LogCapture capture;
  EXPECT_FALSE(CtSvcConvert2MotionDial(&info, -1, &entry));
  EXPECT_TRUE(capture.HasAssertion("iSelectedPhoneNumberIndex>-1"));
  EXPECT_STREQ("untouched", entry.szDisplayName);
}

}  // namespace
