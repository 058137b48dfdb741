// ctsvc settings, ownnumber and birthdays as a user runs them.
#include <gtest/gtest.h>

#include <string>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;

class CtsvcSettingsTest : public ::testing::Test {
 protected:
  ToolRun Run(const std::string& strArgs) { return RunTool("--data " + m_dir.Path() + "/d " + strArgs); }
  ctsvc_test::TempDir m_dir;
};

TEST_F(CtsvcSettingsTest, PreferencesAreKeptAndBadValuesRefused) {
  EXPECT_EQ(Run("settings get item_storage").strOut, "item_storage = 2 (0 phone, 1 SIM, 2 ask)\n");
  EXPECT_EQ(Run("settings set view_sort 1").nExit, 0);
  EXPECT_EQ(Run("--json settings get view_sort").strOut, "{\"view_sort\":1}\n");
  for (const char* pszBad : {"settings set view_sort 2", "settings set item_storage x", "settings set item_storage -1",
                             "settings get colour", "settings put view_sort 1", "settings get"}) {
    const ToolRun run = Run(pszBad);
    EXPECT_EQ(run.nExit, 2) << pszBad;
    EXPECT_NE(run.strOut.find("ctsvc: "), std::string::npos) << pszBad;
  }
  EXPECT_EQ(Run("--json settings get view_sort").strOut, "{\"view_sort\":1}\n");  // unchanged
}

TEST_F(CtsvcSettingsTest, OwnNumberSetListDelete) {
  EXPECT_EQ(Run("ownnumber").strOut, "no own number in phone memory\n");
  EXPECT_EQ(Run("ownnumber set Me +821012345678").nExit, 0);
  EXPECT_EQ(Run("--json ownnumber list").strOut, "[{\"name\":\"Me\",\"number\":\"+821012345678\"}]\n");
  const ToolRun bad = Run("ownnumber set Me 12+34");
  EXPECT_EQ(bad.nExit, 1);
  EXPECT_NE(bad.strOut.find("is not a number"), std::string::npos);
  EXPECT_EQ(Run("ownnumber").strOut, "+821012345678 Me\n");  // the refused one changed nothing
  EXPECT_EQ(Run("ownnumber delete").nExit, 0);
  EXPECT_EQ(Run("--json ownnumber").strOut, "[]\n");
}

TEST_F(CtsvcSettingsTest, BirthdaysNeedAStoreAndListNone) {
  EXPECT_EQ(Run("birthdays").nExit, 1);  // no store yet
  ASSERT_EQ(Run("init").nExit, 0);
  const ToolRun run = Run("--json birthdays");
  EXPECT_EQ(run.nExit, 0);
  EXPECT_EQ(run.strOut, "[]\n");
}

}  // namespace
