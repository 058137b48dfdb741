// ctsvc programs sharing one store: several add loops at once lose nothing, a refused unlink
// changes nothing, and a removal of an account cut short is finished by the next command.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"
#include "StoreReader.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;

// Runs each command on the data directory in turn; false (reported) at the first that fails.
bool RunEach(const std::string& strData, std::initializer_list<const char*> commands) {
  for (const char* pszCommand : commands) {
    const ToolRun run = RunTool(strData + pszCommand);
    if (run.nExit != 0) {
      ADD_FAILURE() << pszCommand << ": " << run.strOut;
      return false;
    }
  }
  return true;
}

TEST(CtsvcToolStoreSharing, FourAddLoopsAtOnceStoreEveryContact) {
  constexpr int kLoops = 4;
  constexpr int kAdds = 25;
  ctsvc_test::TempDir dir;
  const std::string strData = "--data " + dir.Path() + " ";
  ASSERT_EQ(0, RunTool(strData + "init").nExit);
  std::vector<std::string> vcErrors(kLoops);  // what each loop's failed adds printed
  std::vector<std::thread> vcLoops;
  for (int w = 0; w < kLoops; ++w) {
    vcLoops.emplace_back([&, w] {
      for (int i = 0; i < kAdds; ++i) {
        const ToolRun run = RunTool(strData + "add --first W" + std::to_string(w) + " --last N" + std::to_string(i));
        vcErrors[w] += run.nExit != 0 ? "exit " + std::to_string(run.nExit) + ": " + run.strOut : "";
      }
    });
  }
  for (int w = 0; w < kLoops; ++w) {
    vcLoops[w].join();
    EXPECT_EQ("", vcErrors[w]) << "loop " << w;
  }
  const ctsvc_test::StoreReader store(dir.File("ctsvc.db"));
  EXPECT_EQ(kLoops * kAdds, store.Int("SELECT count(DISTINCT FIRSTNAME || LASTNAME) FROM CtSvcPerson"));
  EXPECT_EQ(kLoops * kAdds, store.Int("SELECT count(*) FROM CtSvcPrimary"));
  EXPECT_EQ(kLoops * kAdds, store.Int("SELECT count(*) FROM CtSvcGroupMember"));
}

TEST(CtsvcToolStoreSharing, UnlinkOfAPersonNotInTheContactChangesNothing) {
  ctsvc_test::TempDir dir;
  const std::string strData = "--data " + dir.Path() + " ";
  ASSERT_TRUE(RunEach(strData, {"add --first Ann --last Kidd --number 01012345678",
                                 "add --first Bob --last Lee --number 01087654321", "link 1 2"}));
  const std::vector<std::string> before = ctsvc_test::DumpStore(dir.File("ctsvc.db"));
  const ToolRun unlink = RunTool(strData + "unlink 1 999");
  EXPECT_EQ(1, unlink.nExit) << unlink.strOut;
  EXPECT_EQ(before, ctsvc_test::DumpStore(dir.File("ctsvc.db")));
}

TEST(CtsvcToolStoreSharing, AReadCommandFinishesAPendingAccountRemoval) {
  ctsvc_test::TempDir dir;
  const std::string strData = "--data " + dir.Path() + " ";
  ASSERT_TRUE(RunEach(strData, {"add --first Ann --last Kidd --account 5 --number 0101234",
                                 "add --first Cy --last Kidd --account 5 --email cy@example.com",
                                 "add --first Bob --last Lee"}));
  {
    // What a removal killed before its work was committed leaves: the record of the account.
    const ctsvc_test::StoreReader store(dir.File("ctsvc.db"));
    ASSERT_EQ(0, store.Int("INSERT INTO CtSvcDeleteAccount (ID, DEVICE_TYPE, ACCOUNT_ID) VALUES (1, 1, 5) "
                           "RETURNING 0"));
  }
  const ToolRun list = RunTool(strData + "list");
  ASSERT_EQ(0, list.nExit) << list.strOut;
  const ctsvc_test::StoreReader store(dir.File("ctsvc.db"));
  EXPECT_EQ(0, store.Int("SELECT count(*) FROM CtSvcPerson WHERE ACCOUNT_ID = 5"));
  EXPECT_EQ(1, store.Int("SELECT count(*) FROM CtSvcPerson"));
  EXPECT_EQ(1, store.Int("SELECT count(*) FROM CtSvcPrimary"));
  EXPECT_EQ(0, store.Int("SELECT count(*) FROM CtSvcDeleteAccount"));
}

}  // namespace
