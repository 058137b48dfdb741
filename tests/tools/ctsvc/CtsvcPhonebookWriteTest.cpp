// ctsvc add, update and delete through the phonebook's writes: a SIM contact reaches the card file
// once the card answered, a later start neither copies it twice nor loses it, deleting a contact
// frees its speed-dial key, and --trace prints the change callbacks a command caused.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"
#include "JsonReader.h"
#include "ZelSimSampleCard.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;

ctsvc_tool_test::JValue Parse(const std::string& strText) {
  ctsvc_tool_test::JValue value;
  EXPECT_TRUE(ctsvc_tool_test::JsonReader::Read(strText, value)) << strText;
  return value;
}

int Number(const ctsvc_tool_test::JValue& value) { return value.strText.empty() ? -1 : std::stoi(value.strText); }

size_t CountOf(const std::string& strText, const std::string& strPart) {
  size_t nCount = 0;
  for (size_t nPos = strText.find(strPart); nPos != std::string::npos; nPos = strText.find(strPart, nPos + 1)) {
    ++nCount;
  }
  return nCount;
}

class CtsvcPhonebookWrite : public ::testing::Test {
 protected:
  void InsertCard(zel::sim::SampleCardType type) {
    const std::string strSource = m_dir.File("sample.json");
    std::ofstream(strSource, std::ios::binary | std::ios::trunc) << zel::sim::BuildSampleCard(type, false);
    const ToolRun run = Run("sim insert-card " + strSource);
    ASSERT_EQ(0, run.nExit) << run.strOut;
  }
  ToolRun Run(const std::string& strArgs, bool bStderr = true) {
    return RunTool("--data " + m_dir.Path() + " " + strArgs, bStderr);
  }
  // The card file as the simulator last wrote it.
  std::string Card() {
    std::ifstream in(m_dir.File("sim/card.json"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  ctsvc_test::TempDir m_dir;
};

TEST_F(CtsvcPhonebookWrite, ASimContactIsOnTheCardAfterTheAnswerAndIsCopiedOnce) {
  InsertCard(zel::sim::SampleCardType::Usim);
  const std::string strCardBefore = Card();
  const ToolRun add = Run("--json add --sim --first Otto --last Ohm --number 0301119999 --email otto@example.org", false);
  ASSERT_EQ(0, add.nExit) << Run("add --sim --first Otto").strOut;
  const ctsvc_tool_test::JValue result = Parse(add.strOut);
  EXPECT_EQ("written", result["card"].strText);
  const std::string strRecord = std::to_string(Number(result["record"]));
  // The card file holds it: the simulator wrote it before the answer came.
  const std::string kOttoOhmAlpha = "4F74746F204F686D";  // "Otto Ohm" in the card's alphabet
  EXPECT_EQ(std::string::npos, strCardBefore.find(kOttoOhmAlpha));
  EXPECT_NE(std::string::npos, Card().find(kOttoOhmAlpha));
  const ToolRun list = Run("sim list --json", false);
  EXPECT_NE(std::string::npos, list.strOut.find("{\"index\":" + strRecord + ",\"name\":\"Otto Ohm\",\"number\":\"0301119999\""))
      << list.strOut;

  // A second start finds the card as it left it: nothing is copied again, nothing lost.
  const std::string strPersons = Run("--json list --persons --limit 1000", false).strOut;
  EXPECT_EQ(1u, CountOf(strPersons, "\"Otto Ohm\""));
  ASSERT_EQ(0, Run("add --sim --first Pia --number 0302").nExit);
  const std::string strAfter = Run("--json list --persons --limit 1000", false).strOut;
  EXPECT_EQ(1u, CountOf(strAfter, "\"Otto Ohm\""));
  EXPECT_EQ(1u, CountOf(strAfter, "\"Pia\""));
  // The first copy's persons kept their ids: the second start did not copy the card again.
  const size_t nFrom = strPersons.find("\"persons\"");
  const size_t nFromAfter = strAfter.find("\"persons\"");
  EXPECT_EQ(strPersons.substr(nFrom, strPersons.find("\"Otto Ohm\"") - nFrom),
            strAfter.substr(nFromAfter, strAfter.find("\"Otto Ohm\"") - nFromAfter));
}

TEST_F(CtsvcPhonebookWrite, SimWritesNeedACard) {
  ASSERT_EQ(0, Run("init").nExit);
  const ToolRun none = Run("add --sim --first Otto --number 0301");
  EXPECT_EQ(1, none.nExit);
  EXPECT_NE(std::string::npos, none.strOut.find("no SIM card inserted")) << none.strOut;
  EXPECT_EQ(std::string::npos, Run("--json list --persons", false).strOut.find("Otto"));
}

TEST_F(CtsvcPhonebookWrite, DeleteRemovesTheContactWithItsLastPersonAndFreesItsSpeedDial) {
  const ToolRun add = Run("--json add --first Ann --number 0100", false);
  ASSERT_EQ(0, add.nExit) << add.strOut;
  const int nPrimary = Number(Parse(add.strOut)["primary"]);
  const ctsvc_tool_test::JValue shown = Parse(Run("--json show " + std::to_string(nPrimary), false).strOut);
  const int nNumber = Number(shown["persons"].vcItems.at(0)["numbers"].vcItems.at(0)["id"]);
  ASSERT_EQ(0, Run("speeddial set 4 " + std::to_string(nNumber)).nExit);
  const ToolRun removed = Run("delete " + std::to_string(nPrimary) + " --trace");
  ASSERT_EQ(0, removed.nExit) << removed.strOut;
  EXPECT_NE(std::string::npos, removed.strOut.find("trace: contact delete ")) << removed.strOut;
  EXPECT_NE(std::string::npos, removed.strOut.find("trace: contact-qrn delete ")) << removed.strOut;
  EXPECT_EQ(1, Run("show " + std::to_string(nPrimary)).nExit);
  EXPECT_EQ(std::string::npos, Run("--json speeddial list", false).strOut.find("\"slot\":4"));
  EXPECT_EQ(1, Run("delete " + std::to_string(nPrimary)).nExit);
}

TEST_F(CtsvcPhonebookWrite, TraceShowsTheCallbacksOfAnAddAndAnUpdate) {
  const ToolRun add = Run("add --first Ann --number 0100 --trace");
  ASSERT_EQ(0, add.nExit) << add.strOut;
  EXPECT_NE(std::string::npos, add.strOut.find("trace: contact insert 1\n")) << add.strOut;
  EXPECT_NE(std::string::npos, add.strOut.find("trace: contact-qrn insert 1\n")) << add.strOut;
  const ToolRun quiet = Run("add --first Bo");
  EXPECT_EQ(std::string::npos, quiet.strOut.find("trace:")) << quiet.strOut;
  const ToolRun update = Run("update 1 --number 0200 --number 0300 --trace");
  ASSERT_EQ(0, update.nExit) << update.strOut;
  EXPECT_NE(std::string::npos, update.strOut.find("trace: contact update 1\n")) << update.strOut;
  const std::string strShown = Run("--json show 1", false).strOut;
  EXPECT_NE(std::string::npos, strShown.find("0200")) << strShown;
  EXPECT_NE(std::string::npos, strShown.find("0300")) << strShown;
  EXPECT_EQ(std::string::npos, strShown.find("0100")) << strShown;
}

TEST_F(CtsvcPhonebookWrite, UpdateAndDeleteOfASimContactChangeTheCard) {
  InsertCard(zel::sim::SampleCardType::Usim);
  const ToolRun add = Run("--json add --sim --first Otto --number 0301", false);
  ASSERT_EQ(0, add.nExit) << add.strOut;
  const ctsvc_tool_test::JValue result = Parse(add.strOut);
  const std::string strPrimary = std::to_string(Number(result["primary"]));
  const std::string strIndex = "{\"index\":" + std::to_string(Number(result["record"])) + ",";
  const ToolRun update = Run("update " + strPrimary + " --first Ola --number 0302 --trace");
  ASSERT_EQ(0, update.nExit) << update.strOut;
  const std::string strList = Run("sim list --json", false).strOut;
  EXPECT_NE(std::string::npos, strList.find(strIndex + "\"name\":\"Ola\",\"number\":\"0302\"")) << strList;
  const ToolRun removed = Run("delete " + strPrimary);
  ASSERT_EQ(0, removed.nExit) << removed.strOut;
  EXPECT_EQ(std::string::npos, Run("sim list --json", false).strOut.find(strIndex));
  EXPECT_EQ(1, Run("show " + strPrimary).nExit);
  // A phone person is not a SIM contact.
  EXPECT_EQ(2, Run("update " + std::to_string(Number(Parse(Run("--json add --first Bo", false).strOut)["primary"])) +
                   " --first B --sim")
                   .nExit);
}

}  // namespace
