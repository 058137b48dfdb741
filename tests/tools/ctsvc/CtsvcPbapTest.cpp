// ctsvc pbap export: the full list and the listing written where the Bluetooth service reads them,
// their paths printed.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"

namespace ctsvc_tool_test {
namespace {

std::vector<std::string> Lines(const std::string& strText) {
  std::vector<std::string> vcLines;
  std::istringstream in(strText);
  for (std::string strLine; std::getline(in, strLine);) {
    vcLines.push_back(strLine);
  }
  return vcLines;
}

int CardsIn(const std::string& strPath) {
  std::ifstream in(strPath);
  std::stringstream text;
  text << in.rdbuf();
  int nCards = 0;
  for (size_t nAt = text.str().find("BEGIN:VCARD"); nAt != std::string::npos; nAt = text.str().find("BEGIN:VCARD", nAt + 1)) {
    ++nCards;
  }
  return nCards;
}

class CtsvcPbap : public ::testing::Test {
 protected:
  std::string Data() const { return "--data " + m_dir.Path(); }
  ctsvc_test::TempDir m_dir;
};

TEST_F(CtsvcPbap, ExportWritesTheFullListOrTheListingAndPrintsThePaths) {
  ASSERT_EQ(0, RunTool(Data() + " add --first Anna --last Berg --number +4930123").nExit);
  ASSERT_EQ(0, RunTool(Data() + " add --first Bo --number 0101234").nExit);
  const ToolRun full = RunTool(Data() + " pbap export", false);
  ASSERT_EQ(0, full.nExit) << full.strOut;
  EXPECT_EQ(std::vector<std::string>{m_dir.Path() + "/User/Bluetooth/_PBS/telecom/pb.vcf"}, Lines(full.strOut));
  EXPECT_EQ(3, CardsIn(m_dir.Path() + "/User/Bluetooth/_PBS/telecom/pb.vcf"));

  const ToolRun listing = RunTool(Data() + " pbap export --listing", false);
  ASSERT_EQ(0, listing.nExit) << listing.strOut;
  const std::vector<std::string> vcPaths = Lines(listing.strOut);
  ASSERT_EQ(3u, vcPaths.size());
  EXPECT_EQ(m_dir.Path() + "/User/Bluetooth/_PBS/telecom/pb/2.vcf", vcPaths[2]);
  for (const std::string& strPath : vcPaths) {
    EXPECT_EQ(1, CardsIn(strPath)) << strPath;
  }
  // No card: the SIM's list is the owner's entry alone, in the SIM's folder.
  const ToolRun sim = RunTool(Data() + " pbap export --sim", false);
  ASSERT_EQ(0, sim.nExit) << sim.strOut;
  EXPECT_EQ(1, CardsIn(m_dir.Path() + "/User/Bluetooth/_PBS/SIM1/telecom/pb.vcf"));
  EXPECT_EQ(2, RunTool(Data() + " pbap import").nExit);
  EXPECT_EQ(2, RunTool(Data() + " pbap").nExit);
}

}  // namespace
}  // namespace ctsvc_tool_test
