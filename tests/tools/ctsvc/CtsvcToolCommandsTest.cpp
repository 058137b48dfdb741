// What ctsvc reports after it acts: cut texts, removed contacts, missing groups, duplicate group
// names, seeds, favourites, updates and searches by number or e-mail, each as JSON of real types.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"
#include "JsonReader.h"

namespace {

using ctsvc_tool_test::JsonReader;
using ctsvc_tool_test::JValue;
using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;

class CtsvcToolCommands : public ::testing::Test {
 protected:
  // Runs a command with --json; its stdout must be one JSON value.
  JValue Json(const std::string& strArgs, int nExit = 0) {
    const ToolRun run = RunTool("--data " + m_dir.Path() + " --json " + strArgs, false);
    EXPECT_EQ(nExit, run.nExit) << strArgs << ": " << run.strOut;
    JValue value;
    EXPECT_TRUE(JsonReader::Read(run.strOut, value)) << strArgs << ": " << run.strOut;
    value.ForEachKey([&](const std::string& strKey) {
      EXPECT_EQ(std::string::npos, strKey.find(' ')) << strArgs << ": key '" << strKey << "'";
    });
    return value;
  }
  // Runs a command; stdout and stderr.
  ToolRun Run(const std::string& strArgs) { return RunTool("--data " + m_dir.Path() + " " + strArgs); }

  ctsvc_test::TempDir m_dir;
};

std::vector<std::string> Names(const JValue& list, const char* szKey) {
  std::vector<std::string> vcNames;
  for (const JValue& item : list[szKey].vcItems) {
    vcNames.push_back(item["name"].strText);
  }
  return vcNames;
}

TEST_F(CtsvcToolCommands, AddWarnsOfEveryTextTheStoreCuts) {
  const std::string strFirst(200, 'A');
  std::string strLast;
  for (int i = 0; i < 80; ++i) {
    strLast += "김";  // 3 bytes each: 50 of them fit
  }
  const std::string strNumber(80, '1');
  const std::string strEmail(400, 'e');
  const ToolRun add = Run("add --first " + strFirst + " --last " + strLast + " --number 0101234 --number " + strNumber +
                          " --email " + strEmail + "@x.com");
  ASSERT_EQ(0, add.nExit) << add.strOut;
  for (const char* szWarning :
       {"ctsvc: warning: first name cut from 200 to 150 characters", "ctsvc: warning: last name cut from 80 to 50 characters",
        "ctsvc: warning: number 2 cut from 80 to 50 characters", "ctsvc: warning: e-mail 1 cut from 406 to 300 characters"}) {
    EXPECT_NE(std::string::npos, add.strOut.find(szWarning)) << szWarning << "\n" << add.strOut;
  }
  EXPECT_EQ(std::string::npos, add.strOut.find("number 1 cut"));
  const JValue person = Json("show 1")["persons"].vcItems.at(0);
  EXPECT_EQ(strFirst.substr(0, 150) + " " + strLast.substr(0, 150), person["name"].strText);
  EXPECT_EQ(strNumber.substr(0, 50), person["numbers"].vcItems.at(1)["number"].strText);

  const ToolRun fits = Run("update 1 --first Ann --email ann@example.com");
  EXPECT_EQ(0, fits.nExit);
  EXPECT_EQ(std::string::npos, fits.strOut.find("warning")) << fits.strOut;
  EXPECT_NE(std::string::npos, Run("update 1 --last " + strFirst).strOut.find("last name cut from 200 to 150"));
}

TEST_F(CtsvcToolCommands, DeleteAccountCountsWhatItRemoves) {
  for (const char* szAdd : {"add --first A --account 5", "add --first B --account 5 --number 0101",
                            "add --first C --account 6", "add --first D"}) {
    ASSERT_EQ(0, Run(szAdd).nExit) << szAdd;
  }
  const JValue removed = Json("delete-account 5");
  EXPECT_EQ(JValue::Kind::Number, removed["removed"].kind);
  EXPECT_EQ("2", removed["removed"].strText);
  const ToolRun again = Run("delete-account 5");
  EXPECT_EQ(1, again.nExit);
  EXPECT_NE(std::string::npos, again.strOut.find("account 5 has no contacts")) << again.strOut;
  EXPECT_EQ((std::vector<std::string>{"C", "D"}), Names(Json("list"), "contacts"));
}

TEST_F(CtsvcToolCommands, GroupsHaveUniqueNamesAndExistingMembers) {
  ASSERT_EQ(0, Run("add --first Ann").nExit);
  const ToolRun missing = Run("add --first Bob --group 2");
  EXPECT_EQ(1, missing.nExit);
  EXPECT_NE(std::string::npos, missing.strOut.find("no group 2")) << missing.strOut;
  EXPECT_EQ((std::vector<std::string>{"Ann"}), Names(Json("list"), "contacts"));

  EXPECT_EQ("2", Json("group add Work")["group"].strText);
  const ToolRun twice = Run("group add Work");
  EXPECT_EQ(1, twice.nExit);
  EXPECT_NE(std::string::npos, twice.strOut.find("a group named 'Work' exists already (group 2)")) << twice.strOut;
  EXPECT_EQ(0, Run("add --first Bob --group 2").nExit);

  EXPECT_EQ("1", Json("group add-member 2 1")["joined"].strText);
  EXPECT_EQ("0", Json("group add-member 2 1")["joined"].strText);  // already a member
  EXPECT_EQ("2", Json("group list").vcItems.at(1)["members"].strText);
  EXPECT_EQ("1", Json("group remove-member 2 1")["left"].strText);
  EXPECT_EQ(1, Run("group remove-member 2 1").nExit);
  EXPECT_EQ(1, Run("group add-member 9 1").nExit);
  EXPECT_EQ(1, Run("group add-member 2 99").nExit);
  EXPECT_EQ("1", Json("group list").vcItems.at(1)["members"].strText);
  EXPECT_EQ(JValue::Kind::Bool, Json("group delete 2")["deleted"].kind);
}

TEST_F(CtsvcToolCommands, GenTakesANewSeedUnlessOneIsGiven) {
  const JValue first = Json("gen 4");
  const JValue second = Json("gen 4");
  EXPECT_EQ(JValue::Kind::Number, first["seed"].kind);
  EXPECT_EQ(JValue::Kind::Number, first["seconds"].kind);
  EXPECT_NE(first["seed"].strText, second["seed"].strText);
  EXPECT_EQ("7", Json("gen 4 --seed 7")["seed"].strText);

  ctsvc_test::TempDir other;
  const std::string strSeed = " --seed " + second["seed"].strText;
  ASSERT_EQ(0, RunTool("--data " + other.Path() + " gen 4 --seed " + first["seed"].strText).nExit);
  ASSERT_EQ(0, RunTool("--data " + other.Path() + " gen 4" + strSeed).nExit);
  ASSERT_EQ(0, RunTool("--data " + other.Path() + " gen 4 --seed 7").nExit);
  EXPECT_EQ(Json("list --limit 100").vcMembers.at(1).second.vcItems.size(), 12u);
  EXPECT_EQ(Run("--json list --limit 100").strOut, RunTool("--data " + other.Path() + " --json list --limit 100").strOut)
      << "the printed seeds repeat the runs";
}

TEST_F(CtsvcToolCommands, UpdateChangesNamesNumbersEmailsAndBirthday) {
  ASSERT_EQ(0, Run("add --first Ann --last Kidd --number 0101 --number 0102 --email a@x.com").nExit);
  const JValue contact = Json("update 1 --first Anna --number 0109 --birthday 1990-02-03 --email \"\" ");
  const JValue& person = contact["persons"].vcItems.at(0);
  EXPECT_EQ("Anna Kidd", contact["name"].strText);
  EXPECT_EQ("1990-02-03", person["birthday"].strText);
  ASSERT_EQ(1u, person["numbers"].vcItems.size());
  EXPECT_EQ("0109", person["numbers"].vcItems[0]["number"].strText);
  EXPECT_EQ(0u, person["emails"].vcItems.size());
  EXPECT_EQ((std::vector<std::string>{"Anna Kidd"}), Names(Json("search anna"), "contacts"));
  EXPECT_EQ("0", Json("search --number 0101")["found"].strText);

  ASSERT_EQ(0, Run("add --first Anna --last Kidd --account 3").nExit);
  ASSERT_EQ(0, Run("link 1 2").nExit);
  const ToolRun linked = Run("update 1 --last Lee");
  EXPECT_EQ(1, linked.nExit);
  EXPECT_NE(std::string::npos, linked.strOut.find("--person")) << linked.strOut;
  EXPECT_EQ("Anna Lee", Json("update 2 --person --last Lee")["persons"].vcItems.at(1)["name"].strText);
  EXPECT_EQ(1, Run("update 9 --first X").nExit);
  EXPECT_EQ(1, Run("update 9 --person --first X").nExit);
}

TEST_F(CtsvcToolCommands, FavoritesAndSearchesByNumberOrEmail) {
  for (const char* szAdd : {"add --first Ann --number 0101111 --email ann@home.org", "add --first Bob --number 0102222",
                            "add --first Cy --email cy@work.org --email cy@home.org"}) {
    ASSERT_EQ(0, Run(szAdd).nExit) << szAdd;
  }
  EXPECT_EQ(JValue::Kind::Bool, Json("favorite 3")["favorite"].kind);
  EXPECT_EQ("true", Json("favorite 1")["favorite"].strText);
  ASSERT_EQ(0, Run("favorite 3 --order 2").nExit);
  ASSERT_EQ(0, Run("favorite 1 --order 5").nExit);
  EXPECT_EQ((std::vector<std::string>{"Cy", "Ann"}), Names(Json("favorites"), "favorites"));
  EXPECT_EQ("false", Json("favorite 3 --off")["favorite"].strText);
  EXPECT_EQ((std::vector<std::string>{"Ann"}), Names(Json("favorites"), "favorites"));

  EXPECT_EQ((std::vector<std::string>{"Bob"}), Names(Json("search --number 2222"), "contacts"));
  EXPECT_EQ((std::vector<std::string>{"Ann", "Cy"}), Names(Json("search --email home.org"), "contacts"));
  EXPECT_EQ("0", Json("search --email nobody@")["found"].strText);

  EXPECT_EQ("true", Json("delete 2")["deleted"].strText);
  EXPECT_EQ(JValue::Kind::Number, Json("speeddial set 3 1")["numberId"].kind);
  EXPECT_EQ(JValue::Kind::Null, Json("speeddial clear 3")["numberId"].kind);
}

TEST_F(CtsvcToolCommands, InitVersionAndDemoPrintJson) {
  const JValue store = Json("init");
  EXPECT_EQ("1.1.76.0.0", store["schemaVersion"].strText);
  EXPECT_EQ(13u, store["tables"].vcItems.size());
  EXPECT_EQ(JValue::Kind::Number, store["tables"].vcItems.at(0)["rows"].kind);
  EXPECT_EQ(JValue::Kind::Array, Json("letters").kind);
  EXPECT_EQ("1.1.76.0.0", Json("--version")["schemaVersion"].strText);
  const JValue demo = Json("demo");
  EXPECT_EQ(JValue::Kind::Number, demo["totalMs"].kind);
  EXPECT_EQ(JValue::Kind::Number, demo["steps"].vcItems.at(0)["ms"].kind);
  EXPECT_EQ(JValue::Kind::Bool, demo["steps"].vcItems.at(1)["result"]["reused"].kind);
}

}  // namespace
