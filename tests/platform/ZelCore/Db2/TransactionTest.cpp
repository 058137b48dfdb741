// The lazy write transaction as another connection sees it: uncommitted and paused writes are
// invisible until the commit.
#include <gtest/gtest.h>

#include "Db2TestSupport.h"
#include "ZelCoreTest.h"

namespace {

using db2test::Db2Test;
using db2test::OtherConnection;
using db2test::Scalar;

class Db2Transaction : public Db2Test {
 protected:
  void SetUp() override {
    Db2Test::SetUp();
    Exec("CREATE TABLE t (a INTEGER)");
    ASSERT_TRUE(Db2Commit());
  }
};

TEST_F(Db2Transaction, WritesAndPausedCommitsAreInvisibleUntilCommitted) {
  OtherConnection other(Path());
  Exec("INSERT INTO t VALUES (1)");
  EXPECT_EQ(Scalar("SELECT count(*) FROM t"), "1");  // the writer sees its own work
  EXPECT_EQ(other.Int("SELECT count(*) FROM t"), 0);
  ASSERT_TRUE(Db2CommitLite());
  EXPECT_EQ(other.Int("SELECT count(*) FROM t"), 1);
  ASSERT_TRUE(Db2CommitPause());
  Exec("INSERT INTO t VALUES (2)");
  EXPECT_TRUE(Db2Commit());  // deferred, not refused
  Exec("INSERT INTO t VALUES (3)");
  EXPECT_TRUE(Db2IsCommitPaused());
  EXPECT_EQ(other.Int("SELECT count(*) FROM t"), 1);
  ASSERT_TRUE(Db2CommitResume());
  EXPECT_EQ(other.Int("SELECT count(*) FROM t"), 1);  // resuming alone commits nothing
  ASSERT_TRUE(Db2CommitLite());
  EXPECT_EQ(other.Int("SELECT count(*) FROM t"), 3);
}

TEST_F(Db2Transaction, AccidentalNestingIsCountedAndResumeWithoutPauseFails) {
  OtherConnection other(Path());
  Db2CommitPause();
  Db2CommitPause();
  Exec("INSERT INTO t VALUES (1)");
  Db2CommitResume();
  Db2Commit();
  EXPECT_EQ(other.Int("SELECT count(*) FROM t"), 0);
  Db2CommitResume();
  Db2Commit();
  EXPECT_EQ(other.Int("SELECT count(*) FROM t"), 1);
  zel::test::LogCapture log;
  EXPECT_FALSE(Db2CommitResume());
  EXPECT_TRUE(log.Contains("Db2CommitResume"));
}

TEST_F(Db2Transaction, RollbackDiscardsTheOpenWork) {
  Exec("INSERT INTO t VALUES (1)");
  ASSERT_TRUE(Db2Commit());
  Exec("INSERT INTO t VALUES (2)");
  Exec("DELETE FROM t WHERE a = 1");
  ASSERT_TRUE(Db2Rollback());
  EXPECT_EQ(Scalar("SELECT group_concat(a) FROM t"), "1");
  EXPECT_TRUE(Db2Rollback());  // nothing open: harmless
}

TEST_F(Db2Transaction, ReadsOpenNoTransaction) {
  OtherConnection other(Path());
  EXPECT_EQ(Scalar("SELECT count(*) FROM t"), "0");
  // The other connection can write at once: no read left a transaction open.
  ASSERT_EQ(sqlite3_exec(other.Get(), "INSERT INTO t VALUES (5)", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_EQ(Scalar("SELECT count(*) FROM t"), "1");
}

TEST_F(Db2Transaction, CommittedWorkSurvivesAFailedStatement) {
  Exec("INSERT INTO t VALUES (1)");
  zel::test::LogCapture log;
  EXPECT_LT(Db2QueryEx("INSERT INTO missing_table VALUES (1)"), 0);
  EXPECT_TRUE(log.Contains("missing_table"));
  ASSERT_TRUE(Db2Commit());
  OtherConnection other(Path());
  EXPECT_EQ(other.Int("SELECT count(*) FROM t"), 1);
}

}  // namespace
