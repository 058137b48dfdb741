// A bulk import killed with SIGKILL in the middle leaves a store that opens cleanly: the file is
// intact, every contact that made it in is whole, every committed contact made it in, and the
// service starts on it and hands out ids above every stored one.
//
// The importer is a child process forked before the test loads anything. It reports each commit
// on a pipe; the parent waits for that report (not for time to pass) and kills the child while it
// goes on writing.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcModule.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "StoreReader.h"
#include "ZelWm.h"

namespace {

constexpr int kKillAfter = 150;     // committed contacts reported before the kill
constexpr int kMaxContacts = 100000;
constexpr int kReportTimeoutMs = 60000;

// Contact i: two numbers and an e-mail; every fourth shares the e-mail of the one before it, so
// that it joins that contact's primary.
void ImportContact(int i) {
  ctsvc_test::ContactParts parts("Person" + std::to_string(i), -1, i % 2 == 0 ? "Kim" : "Smith");
  parts.Number("010" + std::to_string(10000000 + i), 1).Number("02" + std::to_string(20000000 + i), 2);
  parts.Email("user" + std::to_string(i % 4 == 0 ? i - 1 : i) + "@example.com");
  CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
  contact.Insert(0);
}

// The child: imports contacts the way a bulk importer does, without end, committing every nBatch.
[[noreturn]] void RunImporter(const std::string& strDir, int nBatch, int fdReport) {
  if (!ZelSetDataDir(strDir.c_str()) || Db2Open(nullptr) != DB2_OK) {
    _exit(2);
  }
  CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0);
  {
    CCtSvcModuleLock lock;
    CCtSvcDbMgr::Instance()->SetInsertMassFlag(1);
    for (int i = 1; i <= kMaxContacts; ++i) {
      ImportContact(i);
      if (i % nBatch == 0 && Db2Commit()) {
        dprintf(fdReport, "committed %d\n", i);
      }
    }
  }
  _exit(3);  // never reached: the parent kills the importer long before
}

int CountThreads() {
  int n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    ++n;
  }
  return n;
}

// Starts the importer, waits until it reports at least kKillAfter committed contacts and kills it.
// The last count it reported, or -1.
int ImportAndKill(const std::string& strDir, int nBatch) {
  if (CountThreads() != 1) {
    ADD_FAILURE() << "the test process must be single-threaded when it forks";
    return -1;
  }
  int fds[2];
  if (pipe(fds) != 0) {
    return -1;
  }
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    RunImporter(strDir, nBatch, fds[1]);
  }
  close(fds[1]);
  FILE* pReports = fdopen(fds[0], "r");
  int nCommitted = -1;
  char szLine[64];
  pollfd pfd{fds[0], POLLIN, 0};
  while (nCommitted < kKillAfter && poll(&pfd, 1, kReportTimeoutMs) > 0 && std::fgets(szLine, sizeof(szLine), pReports) != nullptr) {
    std::sscanf(szLine, "committed %d", &nCommitted);
  }
  kill(pid, SIGKILL);
  int nStatus = 0;
  waitpid(pid, &nStatus, 0);
  std::fclose(pReports);
  EXPECT_TRUE(WIFSIGNALED(nStatus) && WTERMSIG(nStatus) == SIGKILL) << "the importer ended by itself: " << nStatus;
  return nCommitted;
}

using ctsvc_test::StoreReader;

// Beyond whole contacts: each contact as the importer wrote it.
const ctsvc_test::StoreRule kRules[] = {
    {"every person has both its numbers",
     "SELECT count(*) FROM CtSvcPerson p WHERE (SELECT count(*) FROM CtSvcContactDataTable d "
     "WHERE d.PERSON_ID = p.ID AND d.TYPE = 1) <> 2"},
    {"every person has its e-mail",
     "SELECT count(*) FROM CtSvcPerson p WHERE (SELECT count(*) FROM CtSvcContactDataTable d "
     "WHERE d.PERSON_ID = p.ID AND d.TYPE = 2) <> 1"},
    {"every person is in the default group",
     "SELECT count(*) FROM CtSvcPerson p WHERE NOT EXISTS (SELECT 1 FROM CtSvcGroupMember m WHERE m.PERSON_ID = p.ID)"},
};

// The store after a kill: intact file, whole contacts, and at least the reported ones. The persons.
int CheckStore(const std::string& strPath, int nAtLeast) {
  const StoreReader store(strPath);
  EXPECT_EQ("ok", store.Text("PRAGMA integrity_check"));
  ctsvc_test::ExpectContactsWhole(store);
  ctsvc_test::ExpectRulesKept(store, kRules);
  const int nPersons = store.Int("SELECT count(*) FROM CtSvcPerson");
  EXPECT_GE(nPersons, nAtLeast) << "a committed contact was lost";
  return nPersons;
}

// Each full-text index agrees with its content table, each FTS table of a ranked index is whole
// and every name has its rank (needs the Db2 tokenizers: through Db2).
void CheckFullTextIndexes() {
  EXPECT_EQ(0, Db2QueryEx("SELECT 1 FROM CtSvcPrimary WHERE FL_FULLNAME IS NOT NULL AND FL_FULLNAME NOT IN "
                          "(SELECT name FROM fts_ctprimarygroup_ctprimaryindex_fl_fullname_rank)"));
  ASSERT_GT(Db2QueryEx("SELECT ftsname FROM sysirs_indexes AS i WHERE NOT EXISTS (SELECT 1 FROM sysirs_orders AS o "
                       "WHERE o.groupname = i.groupname AND o.idxname = i.idxname) UNION ALL SELECT i.ftsname || '_' "
                       "|| o.ordercol FROM sysirs_orders AS o JOIN sysirs_indexes AS i USING (groupname, idxname)"),
            0);
  std::vector<std::string> names;
  while (Db2GetNextRow() > 0) {
    names.emplace_back(Db2GetColumn(0));
  }
  for (const std::string& name : names) {
    EXPECT_GE(Db2QueryEx("INSERT INTO \"%s\"(\"%s\") VALUES ('integrity-check')", name.c_str(), name.c_str()), 0)
        << name << ": " << Db2GetLastError();
  }
  Db2Commit();
}

TEST(CtSvcCrashConsistency, KilledBulkImportLeavesAWholeStoreAndTheServiceStarts) {
  ctsvc_test::TempDir dir;
  const std::string strPath = dir.File("ctsvc.db");
  // Batches of 25: the kill lands inside an open transaction.
  const int nFirst = ImportAndKill(dir.Path(), 25);
  ASSERT_GE(nFirst, kKillAfter);
  const int nPersons = CheckStore(strPath, nFirst);
  // A commit per contact on the recovered store: the kill often lands in a commit.
  const int nSecond = ImportAndKill(dir.Path(), 1);
  ASSERT_GE(nSecond, kKillAfter);
  CheckStore(strPath, nPersons + nSecond);

  int nMaxIds[3];
  {
    const StoreReader store(strPath);
    nMaxIds[0] = store.Int("SELECT max(ID) FROM CtSvcPerson");
    nMaxIds[1] = store.Int("SELECT max(ID) FROM CtSvcPrimary");
    nMaxIds[2] = store.Int("SELECT max(ID) FROM CtSvcContactDataTable");
  }
  ASSERT_TRUE(ZelSetDataDir(dir.Path().c_str()));
  ASSERT_EQ(DB2_OK, Db2Open(nullptr));
  CheckFullTextIndexes();
  CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0);
  ASSERT_NE(ZEL_INVALID_HANDLE_VALUE, CtSvcGetModuleMutex());
  {
    CCtSvcModuleLock lock;
    ImportContact(nMaxIds[0] + 7);  // an e-mail of its own: a primary of its own
    ASSERT_TRUE(Db2Commit());
  }
  const StoreReader store(strPath);
  EXPECT_GT(store.Int("SELECT max(ID) FROM CtSvcPerson"), nMaxIds[0]);
  EXPECT_GT(store.Int("SELECT max(ID) FROM CtSvcPrimary"), nMaxIds[1]);
  EXPECT_EQ(2, store.Int(("SELECT count(*) FROM CtSvcContactDataTable WHERE ID > " + std::to_string(nMaxIds[2]) +
                          " AND TYPE = 1").c_str()));
  ctsvc_test::ExpectContactsWhole(store);
  ctsvc_test::ExpectRulesKept(store, kRules);
  const HOBJ hEH = WmGetEventHandlerByName("CTSVC");
  if (hEH != INVALID_HOBJ) {
    WmWaitEventHandlerIdle(hEH, 10000);
  }
  CtSvcDispatch(CTSVC_DISPATCH_UNLOAD, 0, 0);
  CCtSvcDbMgr::DestroyInstance();
  Db2Close();
}

}  // namespace
