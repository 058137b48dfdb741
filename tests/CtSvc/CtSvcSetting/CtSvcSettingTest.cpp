#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>

#include "CtSvcModule.h"
#include "CtSvcSetting.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"
#include "ZelReg.h"

namespace {

const char kSettings[] = "CtSet.ini";
const char kCarrierIn[] = "/Settings/KRV/KRV_XMLCustomer.ini";
const char kCarrierOut[] = "/Settings/KRV/KRV_PhoneCustomer.ini";

class CtSvcSettingTest : public ctsvc_test::StoreTest {
 protected:
  // Writes a whole settings file: {section, key, value} rows.
  static void WriteFile(const char* pszName, std::initializer_list<std::array<const char*, 3>> rows) {
    ASSERT_EQ(RegLoad(pszName, 1), REG_OK);
    for (const auto& row : rows) {
      ASSERT_EQ(RegSetString(pszName, row[0], row[1], row[2]), REG_OK);
    }
    ASSERT_EQ(RegFlush(pszName), REG_OK);
    ASSERT_EQ(RegUnload(pszName), REG_OK);
  }
  static std::string Read(const char* pszName, const char* pszSection, const char* pszKey) {
    if (RegLoad(pszName, 0) != REG_OK) {
      return "<no file>";
    }
    char sz[200] = {};
    const UINT32 nErr = RegGetString(pszName, pszSection, pszKey, sz, sizeof(sz));
    RegUnload(pszName);
    return nErr == REG_OK ? sz : "<none>";
  }
  static int Setting(int nId) {
    int n = -99;
    EXPECT_TRUE(CtSvcGetCtSetting(nId, &n)) << nId;
    return n;
  }
  void WriteCarrier(const char* pszSave, const char* pszView, const char* pszSort) {
    WriteFile(kCarrierIn, {{"Contact", "SavePosition", pszSave},
                           {"Contact", "ViewFrom", pszView},
                           {"Contact", "ContactSort", pszSort},
                           {"Contact", "CLIDigits", "9"},
                           {"Contact", "PreInstCount", "2"},
                           {"Contact", "PreInstTelName1", "Customer care"},
                           {"Contact", "PreInstTelNum1", "114"},
                           {"Contact", "PreInstTelName2", "Roaming"},
                           {"Contact", "PreInstTelNum2", "+82215990011"}});
  }
};

TEST_F(CtSvcSettingTest, DefaultsOnANewDeviceAndValuesKeptInTheRegistryFile) {
  EXPECT_EQ(Setting(CTSVC_SETTING_ITEM_STORAGE), 2);  // ask
  EXPECT_EQ(Setting(CTSVC_SETTING_VIEW_STORAGE), 0);
  EXPECT_EQ(Setting(CTSVC_SETTING_VIEW_SORT), 0);
  EXPECT_TRUE(CtSvcSetCtSetting(CTSVC_SETTING_VIEW_SORT, 1));
  EXPECT_TRUE(CtSvcSetCtSetting(CTSVC_SETTING_ITEM_STORAGE, 0));
  EXPECT_EQ(Setting(CTSVC_SETTING_VIEW_SORT), 1);
  EXPECT_EQ(Setting(CTSVC_SETTING_ITEM_STORAGE), 0);
  // The bare name and the full registry path are one file.
  EXPECT_EQ(Read("/Settings/Default/Registry/CtSet.ini", "sectionOne", "view_sort"), "1");

  int n = 5;
  EXPECT_FALSE(CtSvcGetCtSetting(3, &n));
  EXPECT_EQ(n, 5);
  EXPECT_TRUE(CtSvcSetCtSetting(3, 7));  // written nowhere, but answered
  EXPECT_EQ(Read(kSettings, "sectionOne", "3"), "<none>");
  EXPECT_EQ(RegUnload(kSettings), REG_ERR_NOT_LOADED);  // every path unloaded what it loaded
}

TEST_F(CtSvcSettingTest, CarrierReadMapsSavePositionViewAndSort) {
  struct Case {
    const char* pszSave;
    const char* pszView;
    int nItem;  // -1: left as it was (2, the default)
    int nView;
  } kCases[] = {
      {"ask", "both", 2, 0},  {"sim", "phone", 1, 1}, {"phone", "sim", 0, 2},
      {"", "sim", 1, 2},      {"", "phone", 0, 1},    {"bogus", "both", -1, 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.pszSave) + "/" + c.pszView);
    ASSERT_EQ(RegClean(kSettings) == REG_OK || true, true);
    WriteFile(kSettings, {{"sectionOne", "item_storage", "2"}});
    WriteCarrier(c.pszSave, c.pszView, "lastname");
    ASSERT_TRUE(CtSvcSettingPreConfigForKRV(CTSVC_PRECONFIG_READ));
    EXPECT_EQ(Setting(CTSVC_SETTING_ITEM_STORAGE), c.nItem < 0 ? 2 : c.nItem);
    EXPECT_EQ(Setting(CTSVC_SETTING_VIEW_STORAGE), c.nView);
  }
  EXPECT_EQ(Read(kSettings, "sectionOne", "item_sort"), "1");
  EXPECT_EQ(Read(kSettings, "sectionOne", "CLIDigits"), "9");
  EXPECT_EQ(Read(kSettings, "sectionOne", "PreInstCount"), "2");
  EXPECT_EQ(Read(kSettings, "sectionOne", "PreInstTelNum2"), "+82215990011");
}

TEST_F(CtSvcSettingTest, EncodeTiesContactSortToTheViewSortAndVerifyLogsDifferences) {
  WriteCarrier("sim", "sim", "lastname");
  ASSERT_TRUE(CtSvcSettingPreConfigForKRV(CTSVC_PRECONFIG_READ));  // item_sort 1, view_sort untouched
  ASSERT_TRUE(CtSvcSettingPreConfigForKRV(CTSVC_PRECONFIG_ENCODE));
  EXPECT_EQ(Read(kCarrierOut, "Contact", "ContactSort"), "firstname");
  EXPECT_EQ(Read(kCarrierOut, "Contact", "ViewFrom"), "sim");
  EXPECT_EQ(Read(kCarrierOut, "Contact", "SavePosition"), "sim");
  EXPECT_EQ(Read(kCarrierOut, "Contact", "PreInstTelName1"), "Customer care");

  {
    zel::test::LogCapture log;
    EXPECT_TRUE(CtSvcSettingPreConfigForKRV(CTSVC_PRECONFIG_VERIFY));
    EXPECT_FALSE(log.Contains("is not same"));
  }
  ASSERT_TRUE(CtSvcSetCtSetting(CTSVC_SETTING_ITEM_STORAGE, 0));
  WriteFile(kSettings, {{"sectionOne", "PreInstTelName2", "Changed"}, {"sectionOne", "CLIDigits", "7"}});
  zel::test::LogCapture log;
  EXPECT_TRUE(CtSvcSettingPreConfigForKRV(CTSVC_PRECONFIG_VERIFY));
  EXPECT_TRUE(log.Contains("is not same STORE_IN_SIM"));
  EXPECT_TRUE(log.Contains("CtPreConfigDataForKRV: Verify iDefaultCLIDigit(9) is not same iCLIDigit(7)"));
  EXPECT_TRUE(log.Contains("CtPreConfigDataForKRV: Verify PreInst Name:Roaming!=Changed"));
  EXPECT_EQ(Read(kSettings, "sectionOne", "item_storage"), "0");  // verifying writes nothing
}

TEST_F(CtSvcSettingTest, DispatchCommandFourRunsThePreConfigurationAndRefusesUnknownModes) {
  WriteCarrier("ask", "phone", "firstname");
  EXPECT_EQ(TRUE, CtSvcDispatch(CTSVC_DISPATCH_PRECONFIG, 0, CTSVC_PRECONFIG_READ));
  EXPECT_EQ(Setting(CTSVC_SETTING_VIEW_STORAGE), 1);
  zel::test::LogCapture log;
  EXPECT_EQ(FALSE, CtSvcDispatch(CTSVC_DISPATCH_PRECONFIG, 0, 3));
  EXPECT_TRUE(log.HasAssertion("_CtSvcIsValidPreConfigType( iPreConfigType )"));
}

TEST_F(CtSvcSettingTest, OwnNumberKeepsTheInternationalPlusApartAndDeleteEmptiesTheSlot) {
  char szName[CTSVC_OWN_NUMBER_NAME_SIZE];
  char szNumber[CTSVC_OWN_NUMBER_NUMBER_SIZE];
  EXPECT_EQ(CtSvcOwnNumberGetUsedCount(), 0);
  EXPECT_FALSE(CtSvcOwnNumberGet(szName, sizeof(szName), szNumber, sizeof(szNumber)));

  ASSERT_TRUE(CtSvcOwnNumberSet("Me", "+821012345678"));
  EXPECT_EQ(Read("CtOwnNumber.ini", "sectionFour", "ownnumbernumber"), "821012345678");
  EXPECT_EQ(Read("CtOwnNumber.ini", "sectionFour", "ownnumbernumberInternational"), "+");
  ASSERT_TRUE(CtSvcOwnNumberGet(szName, sizeof(szName), szNumber, sizeof(szNumber)));
  EXPECT_STREQ(szName, "Me");
  EXPECT_STREQ(szNumber, "+821012345678");
  EXPECT_EQ(CtSvcOwnNumberGetUsedCount(), 1);

  ASSERT_TRUE(CtSvcOwnNumberSet("", "**21*+4930123#"));  // service string: '+' at its number start
  ASSERT_TRUE(CtSvcOwnNumberGet(szName, sizeof(szName), szNumber, sizeof(szNumber)));
  EXPECT_STREQ(szNumber, "**21*+4930123#");
  EXPECT_EQ(CtSvcOwnNumberGetUsedCount(), 1);  // no name, but international

  ASSERT_TRUE(CtSvcOwnNumberSet("", "0101234"));
  EXPECT_EQ(CtSvcOwnNumberGetUsedCount(), 0);
  char szSmall[4];
  EXPECT_FALSE(CtSvcOwnNumberGet(szName, sizeof(szName), szSmall, sizeof(szSmall)));

  EXPECT_FALSE(CtSvcOwnNumberSet("Me", nullptr));
  EXPECT_FALSE(CtSvcOwnNumberSet("Me", "12+34"));
  EXPECT_FALSE(CtSvcOwnNumberSet("Me", std::string(41, '1').c_str()));
  ASSERT_TRUE(CtSvcOwnNumberSet("Me", "0101234"));
  EXPECT_TRUE(CtSvcOwnNumberDelete());
  EXPECT_EQ(CtSvcOwnNumberGetUsedCount(), 0);
  EXPECT_EQ(Read("CtOwnNumber.ini", "sectionFour", "ownnumbername"), "<none>");
}

}  // namespace
