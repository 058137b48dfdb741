// The name index across processes: a store made by the previous version (its plain name index) is
// rebuilt ranked on the first start, a start killed in the middle of that leaves the store as it
// was and the next start migrates it; and a search sees at once what another process wrote, in
// the name order, also when that write renumbered the ranks.
//
// Every process is a child forked before the test starts any thread.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcSearch.h"
#include "CtSvcSearch/CtSvcSearchMgr.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ForkedService.h"
#include "StoreReader.h"
#include "ZelCoreTest.h"

namespace {

using ctsvc_test::RunChild;

// Latin names only, so that a LIKE on the words is an exact reference of the word search.
const char* const kFirst[] = {"Ann", "anna", "Andy", "Bob", "Anders", "Kim", "Zed", "andrea"};
const char* const kLast[] = {"Anker", "Smith", "Kidd", "Anna", "Berg", "Ahn"};

bool AddPrimaries(int nFrom, int nCount) {
  CCtSvcModuleLock lock;
  for (int i = nFrom; i < nFrom + nCount; ++i) {
    CCtSvcPrimary primary = ctsvc_test::Named<CCtSvcPrimary>(
        kFirst[i % std::size(kFirst)], kLast[(i / 3) % std::size(kLast)],
        i % 4 == 0 ? CTSVC_USE_TYPE_SIM : CTSVC_USE_TYPE_PHONE);
    primary.SetLinkCount(1);
    if (primary.Insert(1) <= 0) {
      return false;
    }
  }
  return true;
}

// The ids of the basic search, and the reference: the primaries with a word starting with the
// text, by the name order of the platform setting (first name first), ties by id.
std::vector<int> Searched(const char* pszText, int nDeviceType) {
  std::vector<int> ids;
  if (CtSvcSearchRequestSearch(0, pszText, nDeviceType)) {
    for (int i = 0; i < CtSvcSearchGetResultCount(); ++i) {
      ids.push_back(CtSvcSearchGetResultItem(i));
    }
  }
  return ids;
}

std::vector<int> Reference(const char* pszText, int nDeviceType) {
  std::vector<int> ids;
  const std::string strSql = std::string("SELECT ID FROM CtSvcPrimary WHERE (' ' || FL_FULLNAME) LIKE '% ") + pszText +
                             "%'" + (nDeviceType > 0 ? " AND DEVICE_TYPE = " + std::to_string(nDeviceType) : "") +
                             " ORDER BY FL_FULLNAME, ID";
  const int nRows = Db2QueryEx("%s", strSql.c_str());
  for (int i = 0; i < nRows && Db2GetNextRow() > 0; ++i) {
    ids.push_back(std::atoi(Db2GetColumn(0)));
  }
  return ids;
}

bool SearchesMatchReference() {
  CCtSvcModuleLock lock;
  int nFound = 0;
  for (const char* pszText : {"an", "a", "anna", "k", "zed"}) {
    for (int nDevice : {0, static_cast<int>(CTSVC_USE_TYPE_PHONE), static_cast<int>(CTSVC_USE_TYPE_SIM)}) {
      const std::vector<int> reference = Reference(pszText, nDevice);
      const std::vector<int> searched = Searched(pszText, nDevice);
      nFound += static_cast<int>(reference.size());
      if (searched != reference) {
        std::string strReport;
        for (int n : searched) strReport += " " + std::to_string(n);
        strReport += " /";
        for (int n : reference) strReport += " " + std::to_string(n);
        fprintf(stderr, "search %s device %d:%s\n", pszText, nDevice, strReport.c_str());
        return false;
      }
    }
  }
  return nFound > 100;
}

// A store as the previous version left it: the plain name index and no recorded shape.
[[noreturn]] void BuildPreviousStore(const std::string& strDir) {
  bool bOk = ctsvc_test::StartServiceIn(strDir) && AddPrimaries(0, 120);
  CCtSvcSearchMgr::Instance()->Prepare(0);
  bOk = bOk && Db2FTSDoSyntax("DROP FULLTEXT INDEX CtPrimaryGroup", 0) &&
        Db2FTSDoSyntax("CREATE FULLTEXT INDEX CtPrimaryGroup.CtPrimaryIndex (simplex, exactspace, utf8) ON "
                       "CtSvcPrimary (FL_FULLNAME)",
                       0) &&
        Db2QueryEx("DELETE FROM sysschema_versions WHERE module = 'CtSvc.search'") >= 0 && Db2Commit();
  ctsvc_test::StopService();
  _exit(bOk ? 0 : 1);
}

[[noreturn]] void StartKilledInMigration(const std::string& strDir) {
  CCtSvcSearchMgr::SetMigrationHook([] { kill(getpid(), SIGKILL); });
  ctsvc_test::StartServiceIn(strDir);
  _exit(2);  // not reached
}

[[noreturn]] void StartAndSearch(const std::string& strDir) {
  const bool bOk = ctsvc_test::StartServiceIn(strDir) && SearchesMatchReference();
  ctsvc_test::StopService();
  _exit(bOk ? 0 : 1);
}

TEST(CtSvcSearchStore, APreviousStoreIsMigratedOnFirstStartAndAKilledMigrationStartsAgain) {
  ctsvc_test::TempDir dir;
  const std::string strPath = dir.File("ctsvc.db");
  ASSERT_EQ(0, RunChild([&] { BuildPreviousStore(dir.Path()); }));
  const char kPlainIndex[] = "SELECT count(*) FROM sqlite_master WHERE name = 'fts_ctprimarygroup_ctprimaryindex'";
  const char kOrders[] = "SELECT count(*) FROM sysirs_orders WHERE groupname = 'ctprimarygroup'";
  const char kShape[] = "SELECT version FROM sysschema_versions WHERE module = 'CtSvc.search'";
  {
    const ctsvc_test::StoreReader store(strPath);
    ASSERT_EQ(1, store.Int(kPlainIndex));
    ASSERT_EQ(0, store.Int(kOrders));
  }

  EXPECT_EQ(-1, RunChild([&] { StartKilledInMigration(dir.Path()); }));
  {
    const ctsvc_test::StoreReader store(strPath);
    EXPECT_EQ("ok", store.Text("PRAGMA integrity_check"));
    EXPECT_EQ(1, store.Int(kPlainIndex)) << "the killed migration dropped the old index";
    EXPECT_EQ(0, store.Int(kOrders));
    EXPECT_EQ("<error>", store.Text(kShape));
  }

  ASSERT_EQ(0, RunChild([&] { StartAndSearch(dir.Path()); }));
  const ctsvc_test::StoreReader store(strPath);
  EXPECT_EQ(0, store.Int(kPlainIndex));
  EXPECT_EQ(2, store.Int(kOrders));
  EXPECT_EQ("ranked 1", store.Text(kShape));
  EXPECT_EQ(store.Int("SELECT count(DISTINCT FL_FULLNAME) FROM CtSvcPrimary"),
            store.Int("SELECT count(*) FROM fts_ctprimarygroup_ctprimaryindex_fl_fullname_rank"));
}

// Writes of another process: new names that each sort just after the previous one (they use up
// the gap and force a renumbering), renames and deletes. Exit code 3: no renumbering happened.
[[noreturn]] void WriteElsewhere(const std::string& strDir) {
  zel::test::LogCapture log;
  bool bOk = ctsvc_test::StartServiceIn(strDir) && AddPrimaries(200, 40);
  {
    CCtSvcModuleLock lock;
    std::string strName = "Anne";
    for (int i = 0; bOk && i < 40; ++i) {
      strName += "e";
      CCtSvcPrimary primary = ctsvc_test::Named<CCtSvcPrimary>(strName.c_str(), "Berg");
      primary.SetLinkCount(1);
      bOk = primary.Insert(1) > 0;
    }
    bOk = bOk && Db2QueryEx("%s", "UPDATE CtSvcPrimary SET FL_FULLNAME = 'Aaron Anker' WHERE ID % 7 = 1") >= 0 &&
          Db2QueryEx("%s", "DELETE FROM CtSvcPrimary WHERE ID % 11 = 2") >= 0 && Db2Commit();
  }
  ctsvc_test::StopService();
  _exit(!bOk ? 1 : log.Contains("fl_fullname renumbered") ? 0 : 3);
}

// Searches, waits while another process writes, and searches again without restarting: exit code
// 0 when every search equals its reference both times.
[[noreturn]] void SearchAroundWrites(const std::string& strDir, int fdReady, int fdGo) {
  bool bOk = ctsvc_test::StartServiceIn(strDir) && AddPrimaries(0, 80) && SearchesMatchReference();
  char c = 0;
  bOk = write(fdReady, "r", 1) == 1 && read(fdGo, &c, 1) == 1 && bOk && SearchesMatchReference();
  ctsvc_test::StopService();
  _exit(bOk ? 0 : 1);
}

TEST(CtSvcSearchStore, ASearchSeesWritesOfAnotherProcessInTheNameOrder) {
  ctsvc_test::TempDir dir;
  int ready[2];
  int go[2];
  ASSERT_EQ(0, pipe(ready));
  ASSERT_EQ(0, pipe(go));
  const pid_t searcher = fork();
  if (searcher == 0) {
    SearchAroundWrites(dir.Path(), ready[1], go[0]);
  }
  char c = 0;
  ASSERT_EQ(1, read(ready[0], &c, 1));
  EXPECT_EQ(0, RunChild([&] { WriteElsewhere(dir.Path()); }));
  ASSERT_EQ(1, write(go[1], "g", 1));
  EXPECT_EQ(0, ctsvc_test::ExitCodeOf(searcher));
  for (int fd : {ready[0], ready[1], go[0], go[1]}) {
    close(fd);
  }
}

}  // namespace
