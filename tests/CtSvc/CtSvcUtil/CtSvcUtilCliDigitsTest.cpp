#include <gtest/gtest.h>

#include "CtSvcTestEnv.h"
#include "CtSvcUtil.h"
#include "CtSvcUtil/CtSvcUtilInternal.h"
#include "ZelCommTAPI/ZelTapiTest.h"
#include "ZelCoreTest.h"
#include "ZelNv.h"
#include "ZelReg.h"

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
  static void WriteCliDigits(INT32 nDigits) {
    ASSERT_EQ(RegLoad(kCliFile, 1), REG_OK);
    ASSERT_EQ(RegSetInt(kCliFile, "sectionOne", "CLIDigits", nDigits), REG_OK);
    ASSERT_EQ(RegFlush(kCliFile), REG_OK);
    ASSERT_EQ(RegUnload(kCliFile), REG_OK);
  }
};

TEST_F(CtSvcUtilCliDigits, DefaultFollowsTheOperatorProfile) {
  struct Case {
    INT32 nProfile;
    int nDigits;
  };
  const Case kCases[] = {{0, 8},   {4, 11}, {5, 7},  {13, 7}, {44, 7},  {45, 7},  {47, 7}, {63, 7},
                         {65, 7},  {71, 7}, {72, 7}, {73, 7}, {74, 7},  {75, 7},  {76, 7}, {11, 10},
                         {70, 10}, {30, 9}, {69, 9}, {83, 9}, {57, 8},  {46, 8},  {77, 8}, {-1, 8}};
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

TEST_F(CtSvcUtilCliDigits, CountryRulesOfTheImsiProfile) {
  ASSERT_TRUE(NvSetInt(kNvProfile, 57));
  struct Case {
    const char* pszMcc;  // null: no IMSI
    const char* pszNumber;
    int nDigits;
  };
  const Case kCases[] = {
      {nullptr, "0123456789", 0},
      {nullptr, nullptr, 8},        // no number: the IMSI is not consulted
      {"415", "7123456", 7},        // shorter than 8
      {"415", "71123456", 8},       // 8th- and 7th-last characters "71"
      {"415", "96172123456", 8},    // "72"
      {"415", "96173123456", 7},
      {"415", "03123456", 7},
      {"410", "0300123456", 9},
      {"427", "0501234567", 7},
      {"617", "57123456", 7},
      {"262", "01701234567", 8},    // other countries keep the setting
  };
  for (const Case& c : kCases) {
    if (c.pszMcc != nullptr) {
      ASSERT_TRUE(zel::test::SetTapiImsi(c.pszMcc, "01", "123456789"));
    } else {
      zel::test::ClearTapiImsi();
    }
    EXPECT_EQ(CtSvcGetDigitsCount2Compare(c.pszNumber), c.nDigits)
        << (c.pszMcc ? c.pszMcc : "no IMSI") << " " << (c.pszNumber ? c.pszNumber : "null");
  }
  zel::test::LogCapture capture;
  ASSERT_TRUE(zel::test::SetTapiImsi("410", "01", "1"));
  CtSvcGetDigitsCount2Compare("123");
  EXPECT_TRUE(capture.Contains("CtSvcGetDigitsCount2Compare() -Return=9\n"));
}

TEST_F(CtSvcUtilCliDigits, CountryCheckSettingGivesSevenDigitsOnCountryCode274) {
  ASSERT_TRUE(NvSetInt(kNvProfile, 4));
  struct Case {
    INT32 nCheck;
    const char* pszMcc;
    int nDigits;
  };
  const Case kCases[] = {{1, "274", 7}, {1, "275", 11}, {0, "274", 11}, {2, "274", 11}, {1, nullptr, 11}};
  for (const Case& c : kCases) {
    ASSERT_TRUE(NvSetInt(kNvCountryCheck, c.nCheck));
    if (c.pszMcc != nullptr) {
      ASSERT_TRUE(zel::test::SetTapiImsi(c.pszMcc, "01", "1"));
    } else {
      zel::test::ClearTapiImsi();
    }
    EXPECT_EQ(CtSvcGetDigitsCount2Compare("0123"), c.nDigits) << c.nCheck << " " << (c.pszMcc ? c.pszMcc : "none");
  }
}

}  // namespace
