// The contact utilities that read settings or files of the data directory: the number of digits
// two numbers are compared on, and free file names in the phone's media folders.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>

#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "CtSvcUtil.h"
#include "CtSvcUtil/CtSvcUtilInternal.h"
#include "ZelCommTAPI/ZelTapiTest.h"
#include "ZelCoreTest.h"
#include "ZelFm.h"
#include "ZelNv.h"

namespace {

constexpr UINT32 kNvProfile = 0x4BD;
constexpr UINT32 kNvCountryCheck = 0x180;
const char kCliFile[] = "/Settings/Default/Registry/CtSet.ini";

// A fresh data directory (its own Nv settings) with no IMSI and an empty digits cache.
class CtSvcUtilCliDigits : public ctsvc_test::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    zel::test::ClearTapiImsi();
    CtSvcUtilResetCliDigitsCache();
  }
  void TearDown() override {
    zel::test::ClearTapiImsi();
    CtSvcUtilResetCliDigitsCache();
    StoreTest::TearDown();
  }
  static void WriteCliDigits(INT32 nDigits) { ctsvc_test::SetSetting(kCliFile, "CLIDigits", nDigits); }
};

TEST_F(CtSvcUtilCliDigits, DefaultFollowsTheOperatorProfile) {
  struct Case {
    INT32 nProfile;
    int nDigits;
  };
  // A profile of each length, the ends of the runs of seven, and profiles outside every run.
  const Case kCases[] = {{0, 8},  {4, 11},  {5, 7},  {63, 7}, {71, 7}, {76, 7},  {11, 10},
                         {70, 10}, {30, 9}, {83, 9}, {46, 8}, {77, 8}, {-1, 8}};
  for (const Case& c : kCases) {
    ASSERT_TRUE(NvSetInt(kNvProfile, c.nProfile));
    EXPECT_EQ(CtSvcGetDefaultCLI(), c.nDigits) << "profile " << c.nProfile;
  }
}

TEST_F(CtSvcUtilCliDigits, SettingIsReadOnceAndCachedUntilReset) {
  ASSERT_TRUE(NvSetInt(kNvProfile, 4));
  EXPECT_EQ(CtSvcGetDigitsCount2Compare("0123"), 11);  // no file yet: created, default used
  EXPECT_TRUE(FmIsFileExist(kCliFile));

  CtSvcUtilResetCliDigitsCache();
  WriteCliDigits(6);
  EXPECT_EQ(CtSvcGetDigitsCount2Compare("0123"), 6);
  WriteCliDigits(9);
  ASSERT_TRUE(NvSetInt(kNvProfile, 5));
  EXPECT_EQ(CtSvcGetDigitsCount2Compare(nullptr), 6);  // cached: neither the file nor the profile is read again
  CtSvcUtilResetCliDigitsCache();
  EXPECT_EQ(CtSvcGetDigitsCount2Compare(nullptr), 9);
}

// Rules by the IMSI's country: under profile 57 (8 digits) some countries compare 7 or 9 digits,
// some numbers by their 8th- and 7th-last characters; under profile 4 (11 digits) country 274
// compares 7 when the country check is 1.
TEST_F(CtSvcUtilCliDigits, CountryRulesOfTheImsi) {
  struct Case {
    INT32 nProfile, nCheck;
    const char* pszMcc;  // null: no IMSI
    const char* pszNumber;
    int nDigits;
  };
  const Case kCases[] = {
      {57, 0, nullptr, "0123456789", 0},
      {57, 0, nullptr, nullptr, 8},          // no number: the IMSI is not consulted
      {57, 0, "415", "7123456", 7},          // shorter than 8
      {57, 0, "415", "71123456", 8},         // 8th- and 7th-last characters "71"
      {57, 0, "415", "96172123456", 8},      // "72"
      {57, 0, "415", "96173123456", 7},
      {57, 0, "415", "03123456", 7},
      {57, 0, "410", "0300123456", 9},
      {57, 0, "427", "0501234567", 7},
      {57, 0, "617", "57123456", 7},
      {57, 0, "262", "01701234567", 8},      // other countries keep the setting
      {4, 1, "274", "0123", 7},
      {4, 1, "275", "0123", 11},
      {4, 0, "274", "0123", 11},
      {4, 2, "274", "0123", 11},
      {4, 1, nullptr, "0123", 11},
  };
  for (const Case& c : kCases) {
    ASSERT_TRUE(NvSetInt(kNvProfile, c.nProfile));
    ASSERT_TRUE(NvSetInt(kNvCountryCheck, c.nCheck));
    CtSvcUtilResetCliDigitsCache();
    if (c.pszMcc != nullptr) {
      ASSERT_TRUE(zel::test::SetTapiImsi(c.pszMcc, "01", "123456789"));
    } else {
      zel::test::ClearTapiImsi();
    }
    EXPECT_EQ(CtSvcGetDigitsCount2Compare(c.pszNumber), c.nDigits)
        << c.nProfile << "/" << c.nCheck << " " << (c.pszMcc ? c.pszMcc : "no IMSI") << " " << (c.pszNumber ? c.pszNumber : "null");
  }
}

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

TEST_F(CtSvcUtilFile, OverlongNameIsCutOnACharacterBoundaryAndBadArgumentsAreRefused) {
  std::string strName;
  for (int i = 0; i < 400; ++i) {
    strName += "\xC3\xA9";  // two bytes each
  }
  strName += ".jpg";
  const std::string strPath = FreePath(strName.c_str());
  EXPECT_LT(strPath.size(), 772u);
  EXPECT_EQ(strPath.substr(strPath.size() - 8), "_001.jpg");
  EXPECT_TRUE(CtAppIsUTF8(strPath.c_str()));

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
