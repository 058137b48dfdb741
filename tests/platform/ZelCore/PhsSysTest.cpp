#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "ZelCoreTest.h"
#include "ZelPhs.h"
#include "ZelSys.h"

namespace {

class PhsSys : public ::testing::Test {
 protected:
  void TearDown() override { zel::test::ResetPlatformState(); }
};

TEST_F(PhsSys, StatusImeiAndPowerOffAnswerWhatTestsSetUntilReset) {
  EXPECT_EQ(PhsGetStatus(PSV_SIM_MODE_NOSIM), 0);
  zel::test::SetPhoneStatus(PSV_SIM_MODE_NOSIM, 1);
  EXPECT_TRUE(PhsSetStatus(PSV_SIM_TYPE, 2));
  EXPECT_EQ(PhsGetStatus(PSV_SIM_MODE_NOSIM), 1);
  EXPECT_EQ(PhsGetStatus(PSV_SIM_TYPE), 2);
  EXPECT_EQ(PhsGetStatus(PSV_BT_REMOTE_SIM_CONNECTED), 0);
  zel::test::SetPowerOff(true);
  EXPECT_TRUE(_BmIsPowerOffState());

  char sz[20];
  ASSERT_TRUE(PhsGetIMEIEx(sz, sizeof(sz)));
  EXPECT_STREQ(sz, "350000000000006");
  ASSERT_TRUE(PhsGetIMEIEx(sz, 5));
  EXPECT_STREQ(sz, "3500");
  EXPECT_FALSE(PhsGetIMEIEx(sz, 0));
  EXPECT_FALSE(PhsGetIMEIEx(nullptr, 20));
  zel::test::SetImei(nullptr);  // a set or missing IMEI is what the person UUID tests read

  zel::test::ResetPlatformState();
  EXPECT_FALSE(_BmIsPowerOffState());
  EXPECT_EQ(PhsGetStatus(PSV_SIM_MODE_NOSIM), 0);
  EXPECT_EQ(PhsGetStatus(PSV_SIM_TYPE), 0);
  ASSERT_TRUE(PhsGetIMEIEx(sz, sizeof(sz)));
  EXPECT_STREQ(sz, "350000000000006");
}

TEST_F(PhsSys, UuidsAreVersion4AndDistinct) {
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    SysUUID u{};
    ASSERT_TRUE(SysGenerateUUID(&u));
    // Printed as word 0, low and high halves of word 1, bytes of word 2 low first: the third group
    // carries the version, the fourth the variant.
    EXPECT_EQ((u.aWord[1] >> 16) & 0xF000u, 0x4000u);
    EXPECT_EQ(u.aWord[2] & 0xC0u, 0x80u);
    char sz[40];
    std::snprintf(sz, sizeof(sz), "%08X%08X%08X%08X", u.aWord[0], u.aWord[1], u.aWord[2], u.aWord[3]);
    seen.insert(sz);
  }
  EXPECT_EQ(seen.size(), 200u);
  EXPECT_FALSE(SysGenerateUUID(nullptr));
}

TEST_F(PhsSys, ClassRegistry) {
  int descriptor = 0;
  int other = 0;
  const UINT32 nClass = 0x0100005Fu;
  EXPECT_EQ(SysGetClass(nClass), nullptr);
  EXPECT_TRUE(__SysRegisterClass(0, nClass, &descriptor, 1));
  EXPECT_FALSE(__SysRegisterClass(0, nClass, &other, 1));  // taken
  EXPECT_EQ(SysGetClass(nClass), &descriptor);
  EXPECT_FALSE(__SysRegisterClass(0, nClass + 1, nullptr, 1));
  EXPECT_TRUE(SysUnregisterClass(nClass));
  EXPECT_FALSE(SysUnregisterClass(nClass));
  EXPECT_EQ(SysGetClass(nClass), nullptr);
  EXPECT_TRUE(__SysRegisterClass(0, nClass, &other, 1));  // free again after unregistering
  EXPECT_TRUE(SysUnregisterClass(nClass));
}

}  // namespace
