#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>

#include "../ZelCore/CoreTestSupport.h"
#include "ZelFm.h"
#include "ZelMxSvc.h"

namespace {

class MxSvcTest : public ::testing::Test {
 protected:
  void Touch(const std::string& strPlatformPath) {
    char szHost[PATH_MAX];
    ASSERT_TRUE(FmGetHostPath(strPlatformPath.c_str(), szHost, sizeof(szHost)));
    std::filesystem::create_directories(std::filesystem::path(szHost).parent_path());
    zel::coretest::WriteHost(szHost, "x");
  }
  zel::coretest::TempDataDir m_dir;
};

TEST_F(MxSvcTest, SaveFolderFollowsTheExtensionOfTheLastPathComponent) {
  struct Case {
    const char* pszFile;
    const char* pszFolder;
  };
  // Plain names, several dots and a dot in a folder name are the service's file tests'.
  const Case kCases[] = {
      {"/User/Ct/A.JPEG", MXSVC_FOLDER_IMAGES}, {"tone.MID", MXSVC_FOLDER_SOUNDS},
      {"photo.jpg.txt", MXSVC_FOLDER_OTHERS},   {"archive.tar.gif", MXSVC_FOLDER_IMAGES},
      {"", MXSVC_FOLDER_OTHERS},
  };
  for (const Case& c : kCases) {
    char szOut[64] = "";
    ASSERT_TRUE(MxCfgSvcGetSavePathByFile(c.pszFile, szOut, sizeof(szOut))) << c.pszFile;
    EXPECT_STREQ(szOut, c.pszFolder) << c.pszFile;
  }
  char szSmall[sizeof(MXSVC_FOLDER_IMAGES) - 1] = "";
  EXPECT_FALSE(MxCfgSvcGetSavePathByFile("a.jpg", szSmall, sizeof(szSmall)));
  char szExact[sizeof(MXSVC_FOLDER_IMAGES)] = "";
  EXPECT_TRUE(MxCfgSvcGetSavePathByFile("a.jpg", szExact, sizeof(szExact)));
  EXPECT_FALSE(MxCfgSvcGetSavePathByFile(nullptr, szExact, sizeof(szExact)));
  EXPECT_FALSE(MxCfgSvcGetSavePathByFile("a.jpg", nullptr, 10));
}

TEST_F(MxSvcTest, CountsRegularFilesOfTheFolderOnly) {
  EXPECT_EQ(MxSvcFsGetContentsCntByPathForFullCheck("/User/Mass/Images"), 0);  // missing
  Touch("/User/Mass/Images/a.jpg");
  Touch("/User/Mass/Images/b.jpg");
  Touch("/User/Mass/Images/sub/c.jpg");  // inside a sub-folder: not counted, nor the sub-folder
  Touch("/User/Mass/Sounds/d.mp3");
  EXPECT_EQ(MxSvcFsGetContentsCntByPathForFullCheck("/User/Mass/Images"), 2);
  EXPECT_EQ(MxSvcFsGetContentsCntByPathForFullCheck(nullptr), -1);
  EXPECT_EQ(MxSvcFsGetContentsCntByPathForFullCheck("/User/../../etc"), -1);
}

}  // namespace
