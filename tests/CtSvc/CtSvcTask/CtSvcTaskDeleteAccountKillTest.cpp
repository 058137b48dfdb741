// An account removal killed with SIGKILL in the middle of its deletes leaves the store as it was
// (every contact whole, every link count right) with the removal still recorded, and the next
// start of the service in another process finishes it.
//
// Every process is a child forked before the test starts any thread. The remover reports its first
// batch of deletes on a pipe from a change observer and then waits there; the parent kills it.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcTask/CtSvcTaskJobDeleteAccount.h"
#include "CtSvcTask/CtSvcTaskMgr.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ForkedService.h"
#include "StoreReader.h"

namespace {

using ctsvc_test::RunChild;

constexpr int kAccount = 1;
constexpr int kMerged = 120;  // local contacts each merged with a contact of the account
constexpr int kAlone = 60;    // contacts of the account alone

// Contact n of the store: a number of its own and the given e-mail.
bool Store(int n, const std::string& strFirst, int nAccountId, const std::string& strEmail) {
  ctsvc_test::ContactParts parts(strFirst, nAccountId, "Kim");
  parts.Number("010" + std::to_string(20000000 + n)).Email(strEmail);
  CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
  return contact.Insert(0) > 0;
}

[[noreturn]] void BuildStore(const std::string& strDir) {
  bool bStored = ctsvc_test::StartServiceIn(strDir);
  {
    CCtSvcModuleLock lock;
    // The account's own contacts first: a contact merges only once the store holds account data.
    for (int i = 0; bStored && i < kAlone; ++i) {
      bStored = Store(1000 + i, "Alone" + std::to_string(i), kAccount, "a" + std::to_string(i) + "@example.com");
    }
    for (int i = 0; bStored && i < kMerged; ++i) {
      const std::string strEmail = "m" + std::to_string(i) + "@example.com";
      bStored = Store(2 * i, "Local" + std::to_string(i), -1, strEmail) &&
                Store(2 * i + 1, "Synced" + std::to_string(i), kAccount, strEmail);
    }
    bStored = bStored && Db2Commit();
  }
  ctsvc_test::StopService();
  _exit(bStored ? 0 : 1);
}

// Tells the parent when the first rows went, then waits to be killed.
class ReportFirstDelete : public IContentObserver {
 public:
  explicit ReportFirstDelete(int fd) : m_fd(fd) { CContentMgr::Instance()->RegisterObserver("CtSvc/Person", this); }
  void OnChange(int nChangeType, const std::string&, int, intptr_t, int) override {
    if (nChangeType == CONTENT_CHANGE_DELETE && write(m_fd, "d", 1) == 1) {
      for (;;) {
        pause();
      }
    }
  }

 private:
  int m_fd;
};

[[noreturn]] void RemoveAccount(const std::string& strDir, int fdReport) {
  if (!ctsvc_test::StartServiceIn(strDir)) {
    _exit(1);
  }
  ReportFirstDelete observer(fdReport);
  CCtSvcTaskJobDeleteAccount job(CTSVC_USE_TYPE_PHONE, {kAccount}, nullptr, nullptr);
  job.DoWork();
  _exit(2);  // not reached: killed at its first delete
}

[[noreturn]] void StartAgain(const std::string& strDir) {
  const bool bStarted = ctsvc_test::StartServiceIn(strDir);
  const bool bIdle = bStarted && CCtSvcTaskMgr::Instance()->WaitForIdle(60000);
  ctsvc_test::StopService();
  _exit(bIdle ? 0 : 1);
}

TEST(CtSvcTaskDeleteAccountKill, KilledRemovalLeavesTheStoreWholeAndTheNextStartFinishesIt) {
  ctsvc_test::TempDir dir;
  const std::string strPath = dir.File("ctsvc.db");
  ASSERT_EQ(0, RunChild([&] { BuildStore(dir.Path()); }));
  const std::string strAccountPersons = "SELECT count(*) FROM CtSvcPerson WHERE ACCOUNT_ID = " + std::to_string(kAccount);
  ASSERT_EQ(kMerged + kAlone, ctsvc_test::StoreReader(strPath).Int(strAccountPersons));
  ASSERT_EQ(kMerged, ctsvc_test::StoreReader(strPath).Int("SELECT count(*) FROM CtSvcPrimary WHERE LINK_COUNT = 2"));
  const std::vector<std::string> before = ctsvc_test::DumpStore(strPath);

  int fds[2];
  ASSERT_EQ(0, pipe(fds));
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    RemoveAccount(dir.Path(), fds[1]);
  }
  close(fds[1]);
  char c = 0;
  const bool bReported = read(fds[0], &c, 1) == 1;
  kill(pid, SIGKILL);
  EXPECT_EQ(-1, ctsvc_test::ExitCodeOf(pid));
  close(fds[0]);
  ASSERT_TRUE(bReported) << "the remover ended before its first delete";

  const std::vector<std::string> after = ctsvc_test::DumpStore(strPath);
  const std::vector<std::string> kept = ctsvc_test::WithoutPendingRemovals(after);
  ASSERT_EQ(after.size() - 1, kept.size()) << "the removal is not recorded once";
  EXPECT_EQ(before, kept) << "the killed removal changed the store";

  ASSERT_EQ(0, RunChild([&] { StartAgain(dir.Path()); }));
  const ctsvc_test::StoreReader store(strPath);
  EXPECT_EQ(0, store.Int(strAccountPersons));
  EXPECT_EQ(kMerged, store.Int("SELECT count(*) FROM CtSvcPerson"));
  EXPECT_EQ(kMerged, store.Int("SELECT count(*) FROM CtSvcPrimary WHERE LINK_COUNT = 1"));
  EXPECT_EQ(0, store.Int("SELECT count(*) FROM CtSvcDeleteAccount"));
  ctsvc_test::ExpectContactsWhole(store);
}

}  // namespace
