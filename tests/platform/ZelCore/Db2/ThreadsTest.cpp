// Several threads on the one connection: statements and immediate queries interleave, each thread
// keeps its own immediate-query rows, and nothing is lost.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "Db2TestSupport.h"

namespace {

using db2test::Db2Test;
using db2test::Scalar;

class ThreadsDb2 : public Db2Test {};

constexpr int kThreads = 4;
constexpr int kRowsPerThread = 200;

TEST_F(ThreadsDb2, ConcurrentWritersAndReaders) {
  Exec("CREATE TABLE t (ID INTEGER PRIMARY KEY, OWNER INTEGER, NAME NVARCHAR(25,102))");
  ASSERT_TRUE(Db2Commit());
  std::atomic<int> nFailures{0};
  std::vector<std::thread> threads;
  for (int nThread = 0; nThread < kThreads; ++nThread) {
    threads.emplace_back([nThread, &nFailures] {
      const int h = Db2StmtCreate("INSERT INTO t (ID, OWNER, NAME) VALUES (?, ?, ?)");
      Db2Field* f = Db2StmtGetBindParamFields(h);
      const std::u16string name = u"writer " + std::u16string(1, static_cast<char16_t>(u'A' + nThread));
      for (int i = 0; i < kRowsPerThread; ++i) {
        int nId = nThread * kRowsPerThread + i + 1;
        int nOwner = nThread;
        f[0] = {DB2_FIELD_INT32, &nId, sizeof(nId)};
        f[1] = {DB2_FIELD_INT32, &nOwner, sizeof(nOwner)};
        f[2] = {DB2_FIELD_TEXT16, const_cast<char16_t*>(name.c_str()), static_cast<INT32>(name.size() * 2)};
        // The statement handle and its fields belong to this thread; the execution is serialised.
        if (Db2StmtExecute(h) != 1 || !Db2CommitLite()) {
          ++nFailures;
        }
        // This thread's immediate rows must be its own even while others query.
        if (Db2QueryEx("SELECT OWNER, count(*) FROM t WHERE OWNER = %d", nThread) != 1 || Db2GetNextRow() <= 0 ||
            std::stoi(Db2GetColumn(0)) != nThread || std::stoi(Db2GetColumn(1)) != i + 1) {
          ++nFailures;
        }
      }
      Db2StmtDestroy(h);
    });
  }
  for (std::thread& t : threads) {
    t.join();
  }
  EXPECT_EQ(nFailures.load(), 0);
  EXPECT_EQ(Scalar("SELECT count(*) FROM t"), std::to_string(kThreads * kRowsPerThread));
  db2test::OtherConnection other(Path());
  EXPECT_EQ(other.Int("SELECT count(*) FROM t"), kThreads * kRowsPerThread);
}

TEST_F(ThreadsDb2, PausedGroupOfOneThreadIsNotCommittedByAnother) {
  Exec("CREATE TABLE t (a INTEGER)");
  ASSERT_TRUE(Db2Commit());
  db2test::OtherConnection other(Path());
  ASSERT_TRUE(Db2CommitPause());
  Exec("INSERT INTO t VALUES (1)");
  std::thread committer([] { Db2Commit(); });
  committer.join();
  EXPECT_EQ(other.Int("SELECT count(*) FROM t"), 0);
  Db2CommitResume();
  Db2Commit();
  EXPECT_EQ(other.Int("SELECT count(*) FROM t"), 1);
}

}  // namespace
