// ctsvc and the data directory: which commands make a store, a file that is not a contact store,
// and a store the user may only read.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::RunToolAs;
using ctsvc_tool_test::ToolRun;

constexpr uid_t kNobody = 65534;

std::string ReadFile(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& strPath) { return std::filesystem::exists(strPath); }

// Sets the permissions of the data directory's parent, the directory and everything in it.
void SetPermissions(const std::string& strParent, const std::string& strStore, std::filesystem::perms dirs,
                    std::filesystem::perms files) {
  namespace fs = std::filesystem;
  fs::permissions(strParent, dirs);
  for (const fs::directory_entry& entry : fs::directory_iterator(strStore)) {
    fs::permissions(entry.path(), entry.is_directory() ? dirs : files);
  }
  fs::permissions(strStore, dirs);
}

TEST(CtsvcToolStore, ReadCommandsNeedAStoreAndCreateNone) {
  ctsvc_test::TempDir dir;
  const std::string strMissing = dir.File("none");
  const char* const kCommands[] = {"list",          "list --persons", "show 1",         "search ann",
                                   "search --number 010", "letters", "letters --async", "favorites",
                                   "group list",    "speeddial list", "delete 1",       "link 1 2",
                                   "update 1 --first X", "delete-account 3", "favorite 1", "group add Work"};
  for (const std::string& strDir : {strMissing, dir.Path()}) {
    for (const char* szCommand : kCommands) {
      const ToolRun run = RunTool("--data " + strDir + " " + szCommand);
      EXPECT_EQ(1, run.nExit) << szCommand;
      EXPECT_EQ("ctsvc: no contact store in " + strDir + " (ctsvc init creates one)\n", run.strOut) << szCommand;
    }
  }
  EXPECT_FALSE(Exists(strMissing));
  EXPECT_FALSE(Exists(dir.File("ctsvc.db")));

  // The commands that make a store.
  for (const char* szCommand : {"init", "gen 2 --seed 1", "add --first Ann"}) {
    const std::string strDir = dir.File(std::string("new-") + szCommand[0]);
    const ToolRun run = RunTool("--data " + strDir + " " + szCommand);
    EXPECT_EQ(0, run.nExit) << szCommand << ": " << run.strOut;
    EXPECT_TRUE(Exists(strDir + "/ctsvc.db")) << szCommand;
    EXPECT_EQ(0, RunTool("--data " + strDir + " list").nExit) << szCommand;
  }
}

// A database of another program: a table of its own, rows, the rollback journal.
void MakeForeignDatabase(const std::string& strPath) {
  sqlite3* pDb = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_open(strPath.c_str(), &pDb));
  ASSERT_EQ(SQLITE_OK, sqlite3_exec(pDb,
                                    "CREATE TABLE notes (id INTEGER PRIMARY KEY, text TEXT);"
                                    "INSERT INTO notes (text) VALUES ('keep me'), ('and me');",
                                    nullptr, nullptr, nullptr));
  sqlite3_close(pDb);
}

TEST(CtsvcToolStore, AnotherProgramsDatabaseIsRefusedUntouched) {
  ctsvc_test::TempDir dir;
  const std::string strDb = dir.File("ctsvc.db");
  MakeForeignDatabase(strDb);
  const std::string strBefore = ReadFile(strDb);
  for (const char* szCommand : {"init", "list", "add --first Ann", "search ann"}) {
    const ToolRun run = RunTool("--data " + dir.Path() + " " + szCommand);
    EXPECT_EQ(1, run.nExit) << szCommand;
    EXPECT_NE(std::string::npos, run.strOut.find("is not a contact store or is damaged; it was left untouched"))
        << szCommand << ": " << run.strOut;
  }
  EXPECT_EQ(strBefore, ReadFile(strDb));  // no schema, and still in rollback-journal mode
  EXPECT_FALSE(Exists(strDb + "-wal"));
}

// The test's user, or nobody when the test runs as root (root may write anything).
uid_t Reader() { return geteuid() == 0 ? kNobody : geteuid(); }

TEST(CtsvcToolStore, AStoreTheUserMayOnlyReadIsListedAndSearched) {
  ctsvc_test::TempDir dir;
  const std::string strStore = dir.File("store");
  const std::string strData = "--data " + strStore + " ";
  ASSERT_EQ(0, RunTool(strData + "add --first Ann --last Kidd --number 0101234567").nExit);
  ASSERT_EQ(0, RunTool(strData + "add --first Bob --last Lee").nExit);
  if (Reader() == kNobody && RunToolAs(kNobody, "--version").nExit != 0) {
    GTEST_SKIP() << "the program cannot be run as nobody from here";
  }
  namespace fs = std::filesystem;
  const auto kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  const auto kOpen = kReadOnly | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  SetPermissions(dir.Path(), strStore, kOpen, kReadOnly);
  const std::string strBefore = ReadFile(strStore + "/ctsvc.db");

  const ToolRun list = RunToolAs(Reader(), strData + "--json list");
  EXPECT_EQ(0, list.nExit) << list.strOut;
  EXPECT_NE(std::string::npos, list.strOut.find("\"total\":2")) << list.strOut;
  const ToolRun search = RunToolAs(Reader(), strData + "search bo");
  EXPECT_EQ(0, search.nExit) << search.strOut;
  EXPECT_NE(std::string::npos, search.strOut.find("Bob Lee")) << search.strOut;
  EXPECT_EQ(0, RunToolAs(Reader(), strData + "search --number 1234").nExit);
  const ToolRun add = RunToolAs(Reader(), strData + "add --first Cy");
  EXPECT_EQ(1, add.nExit);
  EXPECT_NE(std::string::npos, add.strOut.find("ctsvc: ")) << add.strOut;
  EXPECT_EQ(strBefore, ReadFile(strStore + "/ctsvc.db"));

  SetPermissions(dir.Path(), strStore, fs::perms::owner_all, fs::perms::owner_all);
}

}  // namespace
