// ctsvc sim status, list, set, delete, insert-card and remove-card on card files: a write survives
// the restart of the next command and changes no other record, bad input is refused with the card
// file as before, and a card file the simulator refuses is not inserted.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../../CtSvc/CtSvcSim/SimMgr/SimMgrTestCard.h"
#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"
#include "ZelSimSampleCard.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;
using ctsvc_sim_mgr_test::GetRecord;
using zel::sim::SampleCardType;

std::string ReadText(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class CtsvcSimPhonebook : public ::testing::Test {
 protected:
  void Insert(SampleCardType type) {
    const std::string strSource = m_dir.File("sample.json");
    std::ofstream(strSource, std::ios::binary | std::ios::trunc) << zel::sim::BuildSampleCard(type, false);
    const ToolRun run = Run("sim insert-card " + strSource);
    ASSERT_EQ(0, run.nExit) << run.strOut;
  }
  ToolRun Run(const std::string& strArgs, bool bStderr = true) { return RunTool("--data " + m_dir.Path() + " " + strArgs, bStderr); }
  std::string Card() { return ReadText(m_dir.File("sim/card.json")); }

  ctsvc_test::TempDir m_dir;
};

TEST_F(CtsvcSimPhonebook, ASetContactIsOnTheCardAfterARestartAndNothingElseChanged) {
  Insert(SampleCardType::Usim);
  const std::string strBefore = Card();
  const std::string strListBefore = Run("sim list --json", false).strOut;
  const ToolRun set = Run("sim set 7 --name Otto --number +4930123456789012345678 --email otto@example.org --group Friends");
  ASSERT_EQ(0, set.nExit) << set.strOut;
  EXPECT_NE(std::string::npos, set.strOut.find("record 7 written"));
  const ToolRun list = Run("sim list --json", false);
  ASSERT_EQ(0, list.nExit);
  const std::string strContact = "{\"index\":7,\"name\":\"Otto\",\"number\":\"+4930123456789012345678\",\"emails\":[\"otto@"
                                 "example.org\"],\"numbers\":[],\"groups\":[\"Friends\"]}";
  EXPECT_NE(std::string::npos, list.strOut.find(strContact)) << list.strOut;
  // The other contacts read as before: the new one sits between the fifth and the 101st.
  EXPECT_EQ(strListBefore.substr(0, strListBefore.find("{\"index\":101")),
            list.strOut.substr(0, list.strOut.find("{\"index\":7")));
  const ToolRun dump = Run("sim dump --json", false);
  EXPECT_NE(std::string::npos, dump.strOut.find("\"index\":7,\"name\":\"Otto\",\"number\":\"+4930123456789012345678\""))
      << dump.strOut;
  const std::string strAfter = Card();
  for (int i = 0; i < 100; ++i) {
    if (i != 6) {
      EXPECT_EQ(GetRecord(strBefore, "4F3A", i), GetRecord(strAfter, "4F3A", i)) << i;
      EXPECT_EQ(GetRecord(strBefore, "4F26", i), GetRecord(strAfter, "4F26", i)) << i;
    }
    EXPECT_EQ(GetRecord(strBefore, "4F3B", i), GetRecord(strAfter, "4F3B", i)) << i;
  }
  // The number's last digits went to a new extension record; the old one stays.
  EXPECT_EQ(GetRecord(strBefore, "4F4A", 0), GetRecord(strAfter, "4F4A", 0));
  EXPECT_NE(GetRecord(strBefore, "4F4A", 1), GetRecord(strAfter, "4F4A", 1));

  const ToolRun erase = Run("sim delete 7");
  ASSERT_EQ(0, erase.nExit) << erase.strOut;
  EXPECT_EQ(strListBefore, Run("sim list --json", false).strOut);
  EXPECT_EQ(GetRecord(strBefore, "4F3A", 6), GetRecord(Card(), "4F3A", 6));
}

TEST_F(CtsvcSimPhonebook, BadInputIsRefusedAndTheCardStaysAsItWas) {
  Insert(SampleCardType::Gsm);
  const std::string strBefore = Card();
  struct Row {
    const char* pszArgs;
    int nExit;
    const char* pszMessage;
  };
  const Row kRows[] = {
      {"sim set 251 --name X", 2, "index '251' out of range (1..250)"},
      {"sim set 0 --name X", 2, "out of range"},
      {"sim set 9 --name X --number 0301-234", 1, "holds characters a SIM card cannot store"},
      {"sim set 9 --name X --number 01234567890123456789012345678901234567890", 1, "longer than the 40 digits"},
      {"sim set 9 --email a@b.c", 2, "needs --name or --number"},
      {"sim delete 9", 1, "record 9 is empty"},
      {"sim list phone", 2, "unknown kind 'phone'"},
      {"sim set", 2, "unknown subcommand 'set'"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.pszArgs);
    const ToolRun run = Run(row.pszArgs);
    EXPECT_EQ(row.nExit, run.nExit) << run.strOut;
    EXPECT_NE(std::string::npos, run.strOut.find(row.pszMessage)) << run.strOut;
    EXPECT_EQ(strBefore, Card());
  }
}

TEST_F(CtsvcSimPhonebook, ALongNameIsCutToTheRecordAndTheToolSaysSo) {
  Insert(SampleCardType::Gsm);
  const ToolRun run = Run("sim set 9 --name \"Maximilian Alexander Schmidt\" --number 0301234567");
  ASSERT_EQ(0, run.nExit) << run.strOut;
  EXPECT_NE(std::string::npos, run.strOut.find("the name does not fit the card's 16 bytes; cut to 'Maximilian Alexa'"))
      << run.strOut;
  const ToolRun list = Run("sim list --json", false);
  EXPECT_NE(std::string::npos, list.strOut.find("{\"index\":9,\"name\":\"Maximilian Alexa\",\"number\":\"0301234567\""))
      << list.strOut;
}

TEST_F(CtsvcSimPhonebook, StatusShowsEveryFileAndTheLengths) {
  Insert(SampleCardType::Gsm);
  const ToolRun run = Run("sim status --json", false);
  ASSERT_EQ(0, run.nExit);
  EXPECT_NE(std::string::npos, run.strOut.find("\"card\":\"gsm\"")) << run.strOut;
  EXPECT_NE(std::string::npos, run.strOut.find("{\"name\":\"ADN\",\"used\":7,\"total\":250,\"free\":243}")) << run.strOut;
  EXPECT_NE(std::string::npos, run.strOut.find("{\"name\":\"FDN\",\"used\":2,\"total\":20,\"free\":18}")) << run.strOut;
  EXPECT_NE(std::string::npos, run.strOut.find("\"lengths\":{\"name\":16,\"number\":40")) << run.strOut;
  // The phonebook was started on the card, so its status types are there (a GSM card has no
  // e-mail file).
  EXPECT_NE(std::string::npos, run.strOut.find("\"adn_records\":250,\"adn_used\":7")) << run.strOut;
  EXPECT_NE(std::string::npos, run.strOut.find("\"email_in_use\":0")) << run.strOut;
  const ToolRun fdn = Run("sim list fdn --json", false);
  EXPECT_NE(std::string::npos, fdn.strOut.find("{\"index\":2,\"name\":\"Home\",\"number\":\"+493012345\"}")) << fdn.strOut;
}

TEST_F(CtsvcSimPhonebook, ARefusedCardFileLeavesTheInsertedCardAndRemovalTakesItOut) {
  Insert(SampleCardType::Usim);
  const std::string strBefore = Card();
  const std::string strBad = m_dir.File("bad.json");
  std::ofstream(strBad, std::ios::binary | std::ios::trunc) << "{\"type\": \"usim\"}";
  const ToolRun bad = Run("sim insert-card " + strBad);
  EXPECT_EQ(1, bad.nExit);
  EXPECT_NE(std::string::npos, bad.strOut.find("refused")) << bad.strOut;
  EXPECT_EQ(strBefore, Card());
  EXPECT_EQ(1, Run("sim insert-card " + m_dir.File("missing.json")).nExit);
  const ToolRun removed = Run("sim remove-card");
  ASSERT_EQ(0, removed.nExit) << removed.strOut;
  EXPECT_FALSE(std::filesystem::exists(m_dir.File("sim/card.json")));
  const ToolRun status = Run("sim status");
  EXPECT_EQ(1, status.nExit);
  EXPECT_NE(std::string::npos, status.strOut.find("no SIM card inserted")) << status.strOut;
  EXPECT_EQ(1, Run("sim remove-card").nExit);
}

}  // namespace
