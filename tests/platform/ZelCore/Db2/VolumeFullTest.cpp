// Writes on a full volume: refused while a test forces the volume full, failed by the engine on a
// real full disk, and in both cases nothing committed is lost and writing works again once there
// is room.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Db2TestSupport.h"
#include "TmpfsMount.h"
#include "ZelCoreTest.h"
#include "ZelFm.h"

namespace {

using db2test::Db2Test;
using db2test::OtherConnection;
using db2test::Scalar;

constexpr char kFullError[] = "database or disk is full";

class Db2VolumeFullTest : public Db2Test {
 protected:
  void SetUp() override {
    Db2Test::SetUp();
    Exec("CREATE TABLE t (ID INTEGER PRIMARY KEY, NAME NVARCHAR(25,100))");
    Exec("INSERT INTO t (NAME) VALUES ('anna'), ('ben')");
    ASSERT_TRUE(Db2Commit());
  }
  void TearDown() override {
    zel::test::SetVolumeFull(false);
    Db2Test::TearDown();
  }
};

struct WriteCase {
  const char* name;
  std::function<bool()> write;  // true when the write succeeded
};

bool Query(const char* pszSql) { return Db2QueryEx("%s", pszSql) >= 0; }

bool PreparedInsert() {
  const int hStmt = Db2StmtCreate("INSERT INTO t (NAME) VALUES ('cleo')");
  const bool bOk = hStmt >= 0 && Db2StmtExecute(hStmt) >= 0;
  Db2StmtDestroy(hStmt);
  return bOk;
}

const WriteCase kWrites[] = {
    {"insert", [] { return Query("INSERT INTO t (NAME) VALUES ('dan')"); }},
    {"update", [] { return Query("UPDATE t SET NAME = 'x'"); }},
    {"delete", [] { return Query("DELETE FROM t"); }},
    {"prepared insert", PreparedInsert},
    {"create table", [] { return Query("CREATE TABLE u (a INTEGER) volume vol2"); }},
    {"full-text index",
     [] { return Db2FTSDoSyntax("create fulltext index g.n (simplex, exactspace, utf8) on t (name)", 0) != FALSE; }},
};

TEST_F(Db2VolumeFullTest, ForcedFullRefusesEveryWriteAndKeepsReading) {
  OtherConnection other(Path());
  for (const WriteCase& c : kWrites) {
    SCOPED_TRACE(c.name);
    zel::test::SetVolumeFull(true);
    zel::test::LogCapture log;
    EXPECT_FALSE(c.write());
    EXPECT_STREQ(kFullError, Db2GetLastError());
    EXPECT_TRUE(log.Contains("volume full, write refused"));
    Db2Rollback();
    EXPECT_EQ("2", Scalar("SELECT count(*) FROM t"));
    EXPECT_EQ("anna,ben", Scalar("SELECT group_concat(NAME) FROM (SELECT NAME FROM t ORDER BY ID)"));
    EXPECT_EQ(2, other.Int("SELECT count(*) FROM t"));
    zel::test::SetVolumeFull(false);
  }
  for (const WriteCase& c : kWrites) {
    EXPECT_TRUE(c.write()) << c.name << ": " << Db2GetLastError();
  }
  EXPECT_TRUE(Db2Commit());
  EXPECT_EQ(1, other.Int("SELECT count(*) FROM sysirs_indexes"));
}

// The engine's own full: the file may not grow beyond its pages.
TEST_F(Db2VolumeFullTest, EngineFullFailsTheStatementAndKeepsCommittedRows) {
  OtherConnection other(Path());
  const std::string strPages = Scalar("PRAGMA page_count");
  Exec(("PRAGMA max_page_count = " + strPages).c_str());
  zel::test::LogCapture log;
  EXPECT_FALSE(Query("INSERT INTO t (NAME) VALUES (hex(zeroblob(20000)))"));
  EXPECT_STREQ(kFullError, Db2GetLastError());
  EXPECT_TRUE(Db2Rollback());
  EXPECT_FALSE(Db2IsVolumeFull(2));  // the file system itself has room
  EXPECT_EQ(2, other.Int("SELECT count(*) FROM t"));
  Exec("PRAGMA max_page_count = 1000000");
  EXPECT_TRUE(Query("INSERT INTO t (NAME) VALUES (hex(zeroblob(20000)))")) << Db2GetLastError();
  EXPECT_TRUE(Db2Commit());
  EXPECT_EQ(3, other.Int("SELECT count(*) FROM t"));
}

// A real full disk: the write whose commit cannot be stored fails and is rolled back, later writes
// are refused while the disk stays full, and once there is room again writes go on.
TEST(Db2RealDiskFull, FailsWritesUntilThereIsRoomAndKeepsWhatWasCommitted) {
  const std::string strDir = db2test::MakeTempDir();
  ASSERT_FALSE(strDir.empty());
  {
    ctsvc_test::TmpfsMount volume(strDir, 2 * 1024 * 1024);
    if (!volume.IsMounted()) {
      GTEST_SKIP() << "no tmpfs to fill (" << volume.Error() << ")";
    }
    const std::string strPath = strDir + "/ctsvc.db";
    ASSERT_EQ(DB2_OK, Db2Open(strPath.c_str()));
    ASSERT_GE(Db2QueryEx("CREATE TABLE t (ID INTEGER PRIMARY KEY, DATA TEXT)"), 0);
    ASSERT_GE(Db2QueryEx("INSERT INTO t (DATA) VALUES (hex(randomblob(3000))), (hex(randomblob(3000)))"), 0);
    ASSERT_TRUE(Db2Commit());
    volume.Fill();
    int nCommitted = 2;
    bool bFailed = false;
    for (int i = 0; i < 200 && !bFailed; ++i) {
      bFailed = Db2QueryEx("INSERT INTO t (DATA) VALUES (hex(randomblob(3000)))") < 0 || !Db2Commit();
      nCommitted += bFailed ? 0 : 1;
    }
    ASSERT_TRUE(bFailed);
    EXPECT_STREQ(kFullError, Db2GetLastError());
    const std::string strDataDir = ZelGetDataDir();
    ZelSetDataDir(strDir.c_str());
    EXPECT_TRUE(Db2IsVolumeFull(2));
    ZelSetDataDir(strDataDir.c_str());
    {
      zel::test::LogCapture log;
      EXPECT_LT(Db2QueryEx("INSERT INTO t (DATA) VALUES ('x')"), 0);
      EXPECT_TRUE(log.Contains("volume full, write refused"));
    }
    Db2Rollback();
    {
      OtherConnection other(strPath);
      EXPECT_EQ(nCommitted, other.Int("SELECT count(*) FROM t"));
      EXPECT_EQ(0, other.Int("SELECT count(*) FROM t WHERE length(DATA) <> 6000"));
    }
    volume.Unfill();
    EXPECT_GE(Db2QueryEx("INSERT INTO t (DATA) VALUES ('after')"), 0) << Db2GetLastError();
    EXPECT_TRUE(Db2Commit());
    EXPECT_EQ(std::to_string(nCommitted + 1), Scalar("SELECT count(*) FROM t"));
    Db2Close();
  }
  std::error_code ec;
  std::filesystem::remove_all(strDir, ec);
}

}  // namespace
