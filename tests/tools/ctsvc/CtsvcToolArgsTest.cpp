// The ctsvc command line: per-command help, options before or after the command, --data=DIR,
// and usage errors for words and options a command does not take.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;

const char* const kCommands[] = {"init",     "demo",     "gen",    "add",       "update", "show",
                                 "list",     "favorites", "delete", "link",      "unlink", "favorite",
                                 "group",    "speeddial", "search", "letters",   "delete-account", "watch"};

TEST(CtsvcToolArgs, EveryCommandAnswersHelpWithItsOwnUsage) {
  ctsvc_test::TempDir dir;
  const ToolRun overview = RunTool("--help");
  ASSERT_EQ(0, overview.nExit);
  for (const char* szCommand : kCommands) {
    EXPECT_NE(std::string::npos, overview.strOut.find(std::string("\n  ") + szCommand + " ")) << szCommand;
    for (const std::string& strArgs : {std::string(szCommand) + " --help", "--help " + std::string(szCommand),
                                       std::string(szCommand) + " -h"}) {
      const ToolRun help = RunTool("--data " + dir.File("unused") + " " + strArgs);
      EXPECT_EQ(0, help.nExit) << strArgs;
      EXPECT_EQ(0u, help.strOut.find("usage: ctsvc [--data DIR] [--json] " + std::string(szCommand)))
          << strArgs << ": " << help.strOut;
    }
  }
  EXPECT_NE(std::string::npos, RunTool("search --help").strOut.find("--number N"));
  EXPECT_NE(std::string::npos, RunTool("group --help").strOut.find("add-member GROUP CONTACT"));
  const ToolRun version = RunTool("--version");
  EXPECT_EQ(0, version.nExit);
  EXPECT_NE(std::string::npos, version.strOut.find("1.1.76.0.0")) << version.strOut;
  EXPECT_FALSE(std::ifstream(dir.File("unused")).good()) << "help touches no data directory";
}

TEST(CtsvcToolArgs, GlobalOptionsStandBeforeOrAfterTheCommand) {
  ctsvc_test::TempDir dir;
  ASSERT_EQ(0, RunTool("add --first Ann --data=" + dir.Path()).nExit);
  const std::string strExpected = RunTool("--data " + dir.Path() + " --json list").strOut;
  ASSERT_NE(std::string::npos, strExpected.find("\"name\":\"Ann\"")) << strExpected;
  for (const std::string& strArgs : {"list --json --data " + dir.Path(), "--data=" + dir.Path() + " list --json",
                                     "--json list --data=" + dir.Path(), "list --data " + dir.Path() + " --json"}) {
    EXPECT_EQ(strExpected, RunTool(strArgs).strOut) << strArgs;
  }
  // "--" ends the options: a name may begin with dashes.
  ASSERT_EQ(0, RunTool("--data " + dir.Path() + " search -- --x").nExit);
}

TEST(CtsvcToolArgs, WordsAndOptionsACommandDoesNotTakeExitWithTwo) {
  ctsvc_test::TempDir dir;
  ASSERT_EQ(0, RunTool("--data " + dir.Path() + " add --first Ann").nExit);
  const char* const kBad[] = {"list extra",        "init now",          "show 1 2",          "favorites 3",
                              "demo fast",         "watch here",        "link 1 2 3",        "unlink 1",
                              "gen",               "gen 3 4",           "gen x",             "search a b",
                              "list --bogus",      "list --persons=yes", "list --limit",     "letters --order",
                              "update 1",          "update 1 --birthday 2020-13-01", "update x --first A",
                              "delete-account 1 2", "group",            "group add",         "group add-member 2",
                              "group frobnicate",  "speeddial set 2",   "favorite 1 --off --order 2",
                              "search --number 1 --email a", "search ann --number 1", "--data",  "--data= list",
                              "-x list"};
  for (const char* szArgs : kBad) {
    const ToolRun run = RunTool("--data " + dir.Path() + " " + szArgs);
    EXPECT_EQ(2, run.nExit) << szArgs << ": " << run.strOut;
    EXPECT_EQ(0u, run.strOut.find("ctsvc: ")) << szArgs << ": " << run.strOut;
  }
  EXPECT_NE(std::string::npos, RunTool("--data " + dir.Path() + " list extra").strOut.find("unexpected argument 'extra'"));
  EXPECT_EQ("{\"total\":1", RunTool("--data " + dir.Path() + " --json list").strOut.substr(0, 10))
      << "nothing was changed by the refused commands";
}

}  // namespace
