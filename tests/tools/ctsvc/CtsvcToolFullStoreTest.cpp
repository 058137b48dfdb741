// ctsvc add on a store whose volume is full (a real tmpfs, filled): a clear message, exit code 1,
// and nothing stored or lost.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"
#include "TmpfsMount.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;

std::string FirstNames(const std::string& strDb) {
  sqlite3* pDb = nullptr;
  std::string names;
  if (sqlite3_open_v2(strDb.c_str(), &pDb, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_exec(
        pDb, "SELECT FIRSTNAME FROM CtSvcPerson ORDER BY ID",
        [](void* p, int, char** ppValues, char**) {
          *static_cast<std::string*>(p) += std::string(ppValues[0]) + ";";
          return 0;
        },
        &names, nullptr);
  }
  sqlite3_close(pDb);
  return names;
}

TEST(CtsvcToolFullStore, AddOnAFullVolumeSaysSoAndChangesNothing) {
  ctsvc_test::TempDir dir;
  ctsvc_test::TmpfsMount volume(dir.Path(), 4 * 1024 * 1024);
  if (!volume.IsMounted()) {
    GTEST_SKIP() << "no tmpfs to fill (" << volume.Error() << ")";
  }
  const std::string strData = "--data " + dir.Path() + " ";
  ASSERT_EQ(0, RunTool(strData + "add --first Anna --number 0101234567").nExit);

  volume.Fill(256 * 1024);  // room to open the store, not enough to count as free
  const ToolRun full = RunTool(strData + "add --first Ben --number 0107654321");
  EXPECT_EQ(1, full.nExit);
  EXPECT_NE(std::string::npos, full.strOut.find("ctsvc: the store is full")) << full.strOut;
  EXPECT_EQ("Anna;", FirstNames(dir.File("ctsvc.db")));

  volume.Unfill();
  const ToolRun room = RunTool(strData + "add --first Ben --number 0107654321");
  EXPECT_EQ(0, room.nExit) << room.strOut;
  EXPECT_EQ("Anna;Ben;", FirstNames(dir.File("ctsvc.db")));
}

}  // namespace
