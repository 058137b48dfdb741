// ctsvc myprofile as a user runs it: set from a file, show, clear, and refused input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;

class CtsvcMyProfileTest : public ::testing::Test {
 protected:
  ToolRun Run(const std::string& strArgs) { return RunTool("--data " + m_dir.Path() + "/d " + strArgs); }
  std::string Write(const std::string& strName, const std::string& strText) {
    const std::string strPath = m_dir.File(strName);
    std::ofstream(strPath, std::ios::binary) << strText;
    return strPath;
  }
  ctsvc_test::TempDir m_dir;
};

TEST_F(CtsvcMyProfileTest, SetShowAndClearTheOwnersCard) {
  const std::string strCard = Write(
      "me.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Owner;Olive\r\nTEL;TYPE=CELL:0101\r\nEMAIL:o@x.org\r\nEND:VCARD\r\n");
  const ToolRun set = Run("myprofile set " + strCard);
  ASSERT_EQ(set.nExit, 0) << set.strOut;
  EXPECT_EQ(set.strOut, "my profile set\n");
  EXPECT_TRUE(std::filesystem::exists(m_dir.File("d/User/Ct/myaddress.vcf")));
  const ToolRun show = Run("--json myprofile");
  EXPECT_EQ(show.nExit, 0);
  EXPECT_NE(show.strOut.find("\"first\":\"Olive\""), std::string::npos) << show.strOut;
  EXPECT_NE(show.strOut.find("{\"number\":\"0101\",\"type\":1,\"use\":1}"), std::string::npos) << show.strOut;
  EXPECT_NE(show.strOut.find("\"email\":\"o@x.org\""), std::string::npos) << show.strOut;
  EXPECT_EQ(Run("myprofile clear").strOut, "my profile cleared\n");
  EXPECT_FALSE(std::filesystem::exists(m_dir.File("d/User/Ct/myaddress.vcf")));
  EXPECT_NE(Run("--json myprofile show").strOut.find("\"first\":\"\""), std::string::npos);
}

TEST_F(CtsvcMyProfileTest, BadInputIsRefusedAndKeepsTheCard) {
  ASSERT_EQ(Run("myprofile set " + Write("me.vcf", "BEGIN:VCARD\r\nN:Kept;K\r\nEND:VCARD\r\n")).nExit, 0);
  const struct {
    std::string strArgs;
    int nExit;
    const char* pszSays;
  } kCases[] = {
      {"myprofile set " + m_dir.File("missing.vcf"), 1, "cannot open"},
      {"myprofile set " + Write("junk.vcf", "no card here"), 1, "holds no vCard"},
      {"myprofile set", 2, "use 'myprofile"},
      {"myprofile remove", 2, "use 'myprofile"},
  };
  for (const auto& c : kCases) {
    const ToolRun run = Run(c.strArgs);
    EXPECT_EQ(run.nExit, c.nExit) << c.strArgs;
    EXPECT_NE(run.strOut.find(c.pszSays), std::string::npos) << c.strArgs << ": " << run.strOut;
  }
  EXPECT_NE(Run("--json myprofile").strOut.find("\"first\":\"K\""), std::string::npos);
}

}  // namespace
