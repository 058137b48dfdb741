#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>

#include "CtSvcTestEnv.h"
#include "CtSvcUtil.h"
#include "ZelFm.h"

namespace {

class CtSvcUtilFile : public ctsvc_test::StoreTest {
 protected:
  static void Touch(const std::string& strPlatformPath) {
    char szHost[PATH_MAX];
    ASSERT_TRUE(FmGetHostPath(strPlatformPath.c_str(), szHost, sizeof(szHost)));
    std::filesystem::create_directories(std::filesystem::path(szHost).parent_path());
    std::ofstream(szHost) << "x";
  }
  static std::string FreePath(const char* pszSrc) {
    char szOut[800] = "";
    EXPECT_TRUE(CtSvcGetFilePathName4PhoneMemory(pszSrc, szOut, sizeof(szOut))) << pszSrc;
    return szOut;
  }
};

TEST_F(CtSvcUtilFile, FreeNameCountsUpAndReplacesAnEarlierCounter) {
  EXPECT_EQ(FreePath("/User/Ct/photo.jpg"), "/User/Mass/Images/photo.jpg");
  Touch("/User/Mass/Images/photo.jpg");
  EXPECT_EQ(FreePath("/User/Ct/photo.jpg"), "/User/Mass/Images/photo_001.jpg");
  Touch("/User/Mass/Images/photo_001.jpg");
  EXPECT_EQ(FreePath("/User/Ct/photo.jpg"), "/User/Mass/Images/photo_002.jpg");
  Touch("/User/Mass/Images/photo_007.jpg");
  EXPECT_EQ(FreePath("photo_007.jpg"), "/User/Mass/Images/photo_002.jpg");  // not photo_007_001
  EXPECT_EQ(FreePath("photo_07.jpg"), "/User/Mass/Images/photo_07.jpg");

  Touch("/User/Mass/Others/notes");
  EXPECT_EQ(FreePath("/a.b/notes"), "/User/Mass/Others/notes_001");
  Touch("/User/Mass/Others/my.card.vcf");
  EXPECT_EQ(FreePath("my.card.vcf"), "/User/Mass/Others/my.card_001.vcf");
}

TEST_F(CtSvcUtilFile, OverlongNameIsCutOnACharacterBoundary) {
  std::string strName;
  for (int i = 0; i < 400; ++i) {
    strName += "\xC3\xA9";  // two bytes each
  }
  strName += ".jpg";
  const std::string strPath = FreePath(strName.c_str());
  EXPECT_LT(strPath.size(), 772u);
  EXPECT_EQ(strPath.substr(strPath.size() - 8), "_001.jpg");
  EXPECT_TRUE(CtAppIsUTF8(strPath.c_str()));
}

TEST_F(CtSvcUtilFile, BadArgumentsAndSmallOutputsAreRefused) {
  char szOut[16] = "";
  EXPECT_FALSE(CtSvcGetFilePathName4PhoneMemory("photo.jpg", szOut, sizeof(szOut)));  // does not fit
  EXPECT_FALSE(CtSvcGetFilePathName4PhoneMemory(nullptr, szOut, sizeof(szOut)));
  EXPECT_FALSE(CtSvcGetFilePathName4PhoneMemory("photo.jpg", nullptr, 100));
  EXPECT_FALSE(CtSvcGetFilePathName4PhoneMemory("/User/Ct/", szOut, sizeof(szOut)));  // no file name
  EXPECT_FALSE(CtIsFileFull(nullptr, 0));
}

TEST_F(CtSvcUtilFile, FolderIsFullAboveNineHundredNinetyEightFiles) {
  for (int i = 0; i < 998; ++i) {
    Touch("/User/Mass/Images/f" + std::to_string(i) + ".jpg");
  }
  EXPECT_FALSE(CtIsFileFull("new.jpg", 0));
  EXPECT_FALSE(CtIsFileFull("new.mp3", 0));
  Touch("/User/Mass/Images/last.jpg");
  EXPECT_TRUE(CtIsFileFull("new.jpg", 0));
  EXPECT_FALSE(CtIsFileFull("new.mp3", 0));  // another folder
}

}  // namespace
