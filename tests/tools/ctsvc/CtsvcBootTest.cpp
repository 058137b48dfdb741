// ctsvc boot end to end on card files: the first boot copies every card contact into the store,
// a second boot on the same card only reads it, a swapped card replaces the SIM contacts, and a
// card file edited behind the service's back is noticed by its fingerprints.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "../../CtSvc/CtSvcSim/SimMgr/SimMgrTestCard.h"
#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"
#include "ZelSimSampleCard.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;
using zel::sim::SampleCardType;

// Every value of the key in a JSON text, in order.
std::vector<std::string> Values(const std::string& strJson, const std::string& strKey) {
  std::vector<std::string> vcValue;
  const std::regex value("\"" + strKey + "\":(\"([^\"]*)\"|([0-9a-z]+))");
  for (auto it = std::sregex_iterator(strJson.begin(), strJson.end(), value); it != std::sregex_iterator(); ++it) {
    vcValue.push_back((*it)[2].matched ? (*it)[2].str() : (*it)[3].str());
  }
  return vcValue;
}

std::string Value(const std::string& strJson, const std::string& strKey) {
  const std::vector<std::string> vcValue = Values(strJson, strKey);
  return vcValue.empty() ? "" : vcValue[0];
}

class CtsvcBoot : public ::testing::Test {
 protected:
  void InsertCard(const std::string& strCard) {
    const std::string strSource = m_dir.File("card-" + std::to_string(++m_nCards) + ".json");
    std::ofstream(strSource, std::ios::binary | std::ios::trunc) << strCard;
    const ToolRun run = Run("sim insert-card " + strSource);
    ASSERT_EQ(0, run.nExit) << run.strOut;
  }
  ToolRun Run(const std::string& strArgs, bool bStderr = true) {
    return RunTool("--data " + m_dir.Path() + " " + strArgs, bStderr);
  }
  // The names of the SIM contacts the store holds and of the contacts the card holds.
  std::multiset<std::string> StoredSimNames() {
    const std::string strList = Run("list --persons --json --limit 10000", false).strOut;
    std::multiset<std::string> names;
    const std::regex person("\"store\":\"sim\",\"name\":\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(strList.begin(), strList.end(), person); it != std::sregex_iterator(); ++it) {
      names.insert((*it)[1].str());
    }
    return names;
  }
  std::multiset<std::string> CardNames() {
    const std::vector<std::string> vc = Values(Run("sim list --json", false).strOut, "name");
    return {vc.begin(), vc.end()};
  }

  ctsvc_test::TempDir m_dir;
  int m_nCards = 0;
};

TEST_F(CtsvcBoot, TheFirstBootCopiesTheCardAndTheSecondOnlyReadsIt) {
  InsertCard(zel::sim::BuildSampleCard(SampleCardType::Usim, false));
  const ToolRun first = Run("boot --json", false);
  ASSERT_EQ(0, first.nExit) << first.strOut;
  EXPECT_EQ("usim", Value(first.strOut, "card"));
  EXPECT_EQ("15", Value(first.strOut, "state"));
  EXPECT_EQ("true", Value(first.strOut, "copied"));
  const std::multiset<std::string> card = CardNames();
  ASSERT_GT(card.size(), 5u);
  EXPECT_EQ(std::to_string(card.size()), Value(first.strOut, "contacts"));
  EXPECT_NE("0", Value(first.strOut, "groups"));
  EXPECT_EQ(card, StoredSimNames());

  // The second boot commits nothing: a connection held open across it sees no new data version.
  sqlite3* pDb = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(m_dir.File("ctsvc.db").c_str(), &pDb, SQLITE_OPEN_READONLY, nullptr));
  auto dataVersion = [pDb]() {
    sqlite3_stmt* pStmt = nullptr;
    sqlite3_prepare_v2(pDb, "PRAGMA data_version", -1, &pStmt, nullptr);
    sqlite3_step(pStmt);
    const long n = sqlite3_column_int64(pStmt, 0);
    sqlite3_finalize(pStmt);
    return n;
  };
  const long nBefore = dataVersion();
  const ToolRun second = Run("boot");
  const long nAfter = dataVersion();
  sqlite3_close(pDb);
  ASSERT_EQ(0, second.nExit) << second.strOut;
  EXPECT_NE(std::string::npos, second.strOut.find("SIM unchanged: kept " + std::to_string(card.size()) + " contacts"))
      << second.strOut;
  EXPECT_EQ(nBefore, nAfter);
  EXPECT_EQ(card, StoredSimNames());
}

TEST_F(CtsvcBoot, AContactAddedToTheCardIsKeptOnceByTheNextBoot) {
  InsertCard(zel::sim::BuildSampleCard(SampleCardType::Usim, false));
  ASSERT_EQ(0, Run("boot").nExit);
  const ToolRun add = Run("add --sim --first Otto --number 0301234567");
  ASSERT_EQ(0, add.nExit) << add.strOut;
  std::multiset<std::string> card = CardNames();
  ASSERT_EQ(1u, card.count("Otto"));
  for (int i = 0; i < 2; ++i) {
    const ToolRun boot = Run("boot --json", false);
    ASSERT_EQ(0, boot.nExit) << boot.strOut;
    EXPECT_EQ(std::to_string(card.size()), Value(boot.strOut, "contacts"));
    EXPECT_EQ(card, StoredSimNames());
  }
}

TEST_F(CtsvcBoot, ASwappedOrEditedCardReplacesTheSimContacts) {
  InsertCard(zel::sim::BuildSampleCard(SampleCardType::Usim, false));
  ASSERT_EQ(0, Run("boot").nExit);
  // Another card: its contacts replace the first card's.
  InsertCard(zel::sim::BuildSampleCard(SampleCardType::Gsm, false));
  const ToolRun swapped = Run("boot");
  ASSERT_EQ(0, swapped.nExit) << swapped.strOut;
  EXPECT_NE(std::string::npos, swapped.strOut.find("copied ")) << swapped.strOut;
  EXPECT_EQ(CardNames(), StoredSimNames());
  // The card file edited behind the service's back (same ICCID): the changed record is noticed.
  std::ifstream in(m_dir.File("sim/card.json"), std::ios::binary);
  std::string strCard((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  const std::string strOld = ctsvc_sim_mgr_test::GetRecord(strCard, "6F3A", 0);
  ctsvc_sim_mgr_test::SetRecord(&strCard, "6F3A", 0, "4265727461" + std::string(strOld.size() - 38, 'F') + strOld.substr(strOld.size() - 28));
  std::ofstream(m_dir.File("sim/card.json"), std::ios::binary | std::ios::trunc) << strCard;
  const ToolRun edited = Run("boot --json", false);
  ASSERT_EQ(0, edited.nExit) << edited.strOut;
  EXPECT_EQ("true", Value(edited.strOut, "copied"));
  EXPECT_EQ(1u, StoredSimNames().count("Berta"));
  EXPECT_EQ(CardNames(), StoredSimNames());
}

TEST_F(CtsvcBoot, WithoutCardSimContactsGoAndAnUnreadableCardIsAFailure) {
  InsertCard(zel::sim::BuildSampleCard(SampleCardType::Usim, false));
  ASSERT_EQ(0, Run("boot").nExit);
  ASSERT_EQ(0, Run("sim remove-card").nExit);
  const ToolRun none = Run("boot");
  ASSERT_EQ(0, none.nExit) << none.strOut;
  EXPECT_NE(std::string::npos, none.strOut.find("no SIM card")) << none.strOut;
  EXPECT_TRUE(StoredSimNames().empty());
  std::ofstream(m_dir.File("sim/card.json"), std::ios::binary | std::ios::trunc) << "{\"type\": \"usim\"";
  const ToolRun bad = Run("boot");
  EXPECT_EQ(1, bad.nExit);
  EXPECT_NE(std::string::npos, bad.strOut.find("ctsvc: boot: the card in")) << bad.strOut;
}

}  // namespace
