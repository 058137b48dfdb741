// Several processes on one store at once: four writers of 200 contacts each (three committing
// every contact as an application does, one importing in bulk as `gen` does) and a reader, all
// started together on a directory without a store, make the store once and leave exactly 800
// whole contacts; no start, insert or read fails.
//
// The processes are children forked before the test starts any thread. The parent releases them
// together through a pipe and reads each one's count of failures from its exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcDbPerson.h"
#include "CtSvcModule.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ForkedService.h"
#include "StoreReader.h"

namespace {

constexpr int kPerWriter = 200;
constexpr int kReads = 400;

enum class Role { EachCommitted, BulkImport, Reader };

const Role kRoles[] = {Role::EachCommitted, Role::BulkImport, Role::EachCommitted, Role::EachCommitted, Role::Reader};
constexpr int kWriters = 4;

// Contact i of writer w: a number and an e-mail of its own, so that no two contacts merge.
int InsertContact(int nWriter, int i, int bCommit) {
  const std::string strKey = std::to_string(nWriter * 1000 + i);
  ctsvc_test::ContactParts parts("W" + std::to_string(nWriter), -1, "N" + std::to_string(i));
  parts.Number("0105" + std::string(7 - strKey.size(), '0') + strKey).Email("w" + strKey + "@example.com");
  CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
  return contact.Insert(bCommit);
}

int RunWrites(int nWriter, Role role) {
  int nFailed = 0;
  CCtSvcModuleLock lock;
  if (role == Role::BulkImport) {
    CCtSvcDbMgr::Instance()->SetInsertMassFlag(1);
  }
  for (int i = 1; i <= kPerWriter; ++i) {
    nFailed += InsertContact(nWriter, i, role == Role::BulkImport ? 0 : 1) > 0 ? 0 : 1;
  }
  if (role == Role::BulkImport) {
    nFailed += Db2Commit() ? 0 : 1;
    CCtSvcDbMgr::Instance()->SetInsertMassFlag(0);
  }
  return nFailed;
}

// Counts the persons again and again while the writers write: never refused, never fewer.
int RunReads() {
  int nFailed = 0;
  int nLast = 0;
  for (int i = 0; i < kReads; ++i) {
    const int nCount = CtSvcDbPersonGetTotalCount();
    nFailed += nCount < nLast ? 1 : 0;
    nLast = nCount < 0 ? nLast : nCount;
  }
  return nFailed;
}

[[noreturn]] void RunChild(const std::string& strDir, int nIndex, int fdGo) {
  char c = 0;
  if (read(fdGo, &c, 1) != 1 || !ctsvc_test::StartServiceIn(strDir)) {
    _exit(250);
  }
  const Role role = kRoles[nIndex];
  const int nFailed = role == Role::Reader ? RunReads() : RunWrites(nIndex, role);
  ctsvc_test::StopService();
  _exit(nFailed > 200 ? 200 : nFailed);
}

// Beyond whole contacts: each contact as its writer wrote it.
const ctsvc_test::StoreRule kRules[] = {
    {"every primary holds exactly one person",
     "SELECT count(*) FROM CtSvcPrimary q WHERE q.LINK_COUNT <> 1 OR "
     "(SELECT count(*) FROM CtSvcPerson p WHERE p.PRIMARY_ID = q.ID) <> 1"},
    {"every person has its number and its e-mail",
     "SELECT count(*) FROM CtSvcPerson p WHERE (SELECT count(*) FROM CtSvcContactDataTable d WHERE d.PERSON_ID = p.ID) <> 2"},
    {"details carry their person's primary",
     "SELECT count(*) FROM CtSvcContactDataTable d JOIN CtSvcPerson p ON p.ID = d.PERSON_ID WHERE d.PRIMARY_ID <> p.PRIMARY_ID"},
    {"the default number is the person's own number",
     "SELECT count(*) FROM CtSvcPerson p WHERE NOT EXISTS (SELECT 1 FROM CtSvcContactDataTable d "
     "WHERE d.ID = p.DEFAULT_PHNUM_ID AND d.PERSON_ID = p.ID AND d.TYPE = 1)"},
    {"every person is in the default group once",
     "SELECT count(*) FROM CtSvcPerson p WHERE (SELECT count(*) FROM CtSvcGroupMember m WHERE m.PERSON_ID = p.ID) <> 1"},
    {"no name stored twice",
     "SELECT count(*) - count(DISTINCT FIRSTNAME || ' ' || LASTNAME) FROM CtSvcPerson"},
};

TEST(CtSvcDbConcurrentWriters, FourProcessesStoreEightHundredWholeContacts) {
  ctsvc_test::TempDir dir;  // no store yet: the first starts make it together
  int fds[2];
  ASSERT_EQ(0, pipe(fds));
  std::vector<pid_t> vcChildren;
  for (int i = 0; i < static_cast<int>(std::size(kRoles)); ++i) {
    const pid_t pid = fork();
    if (pid == 0) {
      close(fds[1]);
      RunChild(dir.Path(), i, fds[0]);
    }
    vcChildren.push_back(pid);
  }
  close(fds[0]);
  const std::string strGo(std::size(kRoles), 'g');
  ASSERT_EQ(static_cast<ssize_t>(strGo.size()), write(fds[1], strGo.data(), strGo.size()));
  close(fds[1]);
  for (size_t i = 0; i < vcChildren.size(); ++i) {
    EXPECT_EQ(0, ctsvc_test::ExitCodeOf(vcChildren[i])) << "process " << i << " (" << static_cast<int>(kRoles[i]) << ") failed";
  }

  const ctsvc_test::StoreReader store(dir.File("ctsvc.db"));
  EXPECT_EQ(kWriters * kPerWriter, store.Int("SELECT count(*) FROM CtSvcPerson"));
  for (int w = 0; w < kWriters; ++w) {
    const std::string strSql = "SELECT count(*) FROM CtSvcPerson WHERE FIRSTNAME = 'W" + std::to_string(w) + "'";
    EXPECT_EQ(kPerWriter, store.Int(strSql.c_str())) << "writer " << w;
  }
  ctsvc_test::ExpectContactsWhole(store);
  ctsvc_test::ExpectRulesKept(store, kRules);
  EXPECT_EQ("ok", store.Text("PRAGMA integrity_check"));
}

}  // namespace
