#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "CtsvcToolRun.h"
#include "ZelSimSampleCard.h"
#include "ZelSimTest.h"

namespace {

using ctsvc_tool_test::RunTool;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(CtsvcSimMakeCard, WritesTheSampleCardTheSimulatorTakes) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "ctsvc-make-card-test";
  std::filesystem::remove_all(dir);
  const struct {
    const char* pszArgs;
    zel::sim::SampleCardType type;
    bool bEmpty;
    const char* pszSaid;
  } kCases[] = {
      {"--usim", zel::sim::SampleCardType::Usim, false, "USIM card written"},
      {"--gsm --empty", zel::sim::SampleCardType::Gsm, true, "empty GSM SIM card written"},
  };
  for (const auto& c : kCases) {
    const std::string path = (dir / "sim" / "card.json").string();  // the folder is made
    const auto run = RunTool(std::string("sim make-card ") + c.pszArgs + " " + path);
    EXPECT_EQ(run.nExit, 0) << run.strOut;
    EXPECT_NE(run.strOut.find(c.pszSaid), std::string::npos) << run.strOut;
    EXPECT_EQ(ReadFile(path), zel::sim::BuildSampleCard(c.type, c.bEmpty));
    std::string why;
    EXPECT_TRUE(zel::test::InsertSimCardFile(path, &why)) << why;
  }
  zel::test::ResetSim();
  std::filesystem::remove_all(dir);
}

TEST(CtsvcSimMakeCard, BadArgumentsAndUnwritableFilesAreRefused) {
  const struct {
    const char* pszArgs;
    int nExit;
    const char* pszSaid;
  } kCases[] = {
      {"sim make-card /tmp/x.json", 2, "give --gsm or --usim and one FILE"},
      {"sim make-card --gsm --usim /tmp/x.json", 2, "give --gsm or --usim and one FILE"},
      {"sim make-card --gsm", 2, "give --gsm or --usim and one FILE"},
      {"sim make-card --gsm --fast /tmp/x.json", 2, "unknown option '--fast'"},
      {"sim make-card --usim /proc/no/such/card.json", 1, "cannot write /proc/no/such/card.json"},
  };
  for (const auto& c : kCases) {
    const auto run = RunTool(c.pszArgs);
    EXPECT_EQ(run.nExit, c.nExit) << c.pszArgs << ": " << run.strOut;
    EXPECT_NE(run.strOut.find(c.pszSaid), std::string::npos) << c.pszArgs << ": " << run.strOut;
  }
}

}  // namespace
