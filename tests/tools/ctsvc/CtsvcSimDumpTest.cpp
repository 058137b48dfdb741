// ctsvc sim dump on card files: shared real records, the sample USIM with its linked data, and
// cards that are missing or not card files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../../CtSvc/CtSvcSim/SimTestRows.h"
#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"
#include "ZelSimSampleCard.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;

// A data directory whose sim/card.json holds the text.
void WriteCard(const ctsvc_test::TempDir& dir, const std::string& strCard) {
  std::filesystem::create_directories(dir.File("sim"));
  std::ofstream(dir.File("sim/card.json"), std::ios::binary | std::ios::trunc) << strCard;
}

TEST(CtsvcSimDump, SharedRecordsComeOutWithTheirNamesAndNumbers) {
  const std::vector<ctsvc_sim_test::SimRow> vcRow = ctsvc_sim_test::LoadSimRows();
  if (vcRow.empty()) {
    GTEST_SKIP() << "external SIM test data not found (../shared/testdata)";
  }
  for (const ctsvc_sim_test::SimRow& row : vcRow) {
    SCOPED_TRACE(row.strNote);
    ctsvc_test::TempDir dir;
    WriteCard(dir, ctsvc_sim_test::GsmCardWithAdn(row.strRecordHex));
    const ToolRun run = RunTool("--data " + dir.Path() + " sim dump --json");
    ASSERT_EQ(0, run.nExit) << run.strOut;
    if (row.strName.empty() && row.strNumber.empty()) {
      EXPECT_NE(std::string::npos, run.strOut.find("{\"name\":\"ADN\",\"id\":\"6F3A\",\"records\":[]}")) << run.strOut;
    } else {
      const std::string strRecord = "{\"index\":1,\"name\":\"" + row.strName + "\",\"number\":\"" + row.strNumber + "\"}";
      EXPECT_NE(std::string::npos, run.strOut.find(strRecord)) << run.strOut;
    }
  }
}

TEST(CtsvcSimDump, AUsimContactShowsWhatIsLinkedToIt) {
  ctsvc_test::TempDir dir;
  WriteCard(dir, zel::sim::BuildSampleCard(zel::sim::SampleCardType::Usim, false));
  const ToolRun json = RunTool("--data " + dir.Path() + " sim dump --json");
  ASSERT_EQ(0, json.nExit) << json.strOut;
  for (const char* pszPart : {"{\"name\":\"ADN\",\"id\":\"FF07\",\"pbr\":0,\"records\":[{\"index\":1,",
                              "{\"name\":\"ADN\",\"id\":\"FF1A\",\"pbr\":1,", "\"anr\":[{\"number\":",
                              "\"emails\":[\"", "{\"name\":\"GAS\",\"id\":\"FF0E\"", "{\"name\":\"PSC\""}) {
    EXPECT_NE(std::string::npos, json.strOut.find(pszPart)) << pszPart << "\n" << json.strOut;
  }
  const ToolRun text = RunTool("--data " + dir.Path() + " sim dump");
  ASSERT_EQ(0, text.nExit) << text.strOut;
  EXPECT_NE(std::string::npos, text.strOut.find("ADN FF07\n  index=1 name="));
}

TEST(CtsvcSimDump, MissingAndUnreadableCardsAreReported) {
  ctsvc_test::TempDir dir;
  const ToolRun none = RunTool("--data " + dir.Path() + " sim dump");
  EXPECT_EQ(1, none.nExit);
  EXPECT_NE(std::string::npos, none.strOut.find("no SIM card inserted")) << none.strOut;

  WriteCard(dir, "this is { not json");
  const ToolRun bad = RunTool("--data " + dir.Path() + " sim dump --json");
  EXPECT_EQ(1, bad.nExit);
  EXPECT_NE(std::string::npos, bad.strOut.find("cannot be read")) << bad.strOut;

  const ToolRun usage = RunTool("--data " + dir.Path() + " sim dump --bogus");
  EXPECT_EQ(2, usage.nExit);
}

}  // namespace
