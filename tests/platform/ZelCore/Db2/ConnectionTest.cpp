// Opening the database: configuration of a new file, refusal of files that are not databases
// (which must stay untouched), unwritable places, and the default file of the data directory.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>

#include "../CoreTestSupport.h"
#include "Db2TestSupport.h"
#include "ZelCoreTest.h"
#include "ZelFm.h"

namespace {

using db2test::Db2Test;
class Db2Connection : public Db2Test {};
using db2test::Scalar;
using zel::coretest::ReadHost;
using zel::coretest::WriteHost;

// File times tick coarsely; a writer after the close is shown by a modification time moved on.
void MoveModificationTimeOn(const std::string& path) {
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  const timespec times[2] = {st.st_atim, {st.st_mtim.tv_sec + 2, st.st_mtim.tv_nsec}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// A fresh directory, which is the data directory too while the test runs.
class Db2OpenFile : public ::testing::Test {
 protected:
  void TearDown() override { Db2Close(); }
  zel::coretest::TempDataDir m_data;
  const std::string m_dir = m_data.Path();
};

TEST_F(Db2Connection, NewFileIsUtf16BigEndianWithWal) {
  EXPECT_EQ(Scalar("PRAGMA encoding"), "UTF-16be");
  EXPECT_EQ(Scalar("PRAGMA journal_mode"), "wal");
  EXPECT_EQ(Scalar("SELECT count(*) FROM sysirs_indexes"), "0");
}

TEST_F(Db2Connection, CloseCommitsOpenWorkButNotPausedWork) {
  Exec("CREATE TABLE t (a INTEGER)");
  Exec("INSERT INTO t VALUES (1)");
  Db2Close();
  EXPECT_FALSE(Db2IsOpen());
  ASSERT_EQ(Db2Open(Path().c_str()), DB2_OK);
  Db2CommitPause();
  Exec("INSERT INTO t VALUES (2)");
  Db2Close();  // a paused group is incomplete: it must not be committed piecemeal
  ASSERT_EQ(Db2Open(Path().c_str()), DB2_OK);
  EXPECT_FALSE(Db2IsCommitPaused());
  EXPECT_EQ(Scalar("SELECT group_concat(a) FROM t"), "1");
}

TEST_F(Db2OpenFile, FilesThatAreNoDatabaseAreRefusedAndLeftUntouched) {
  const std::string path = m_dir + "/ctsvc.db";
  std::string garbage(8192, '\0');
  std::mt19937 rng(42);
  for (char& c : garbage) {
    c = static_cast<char>(rng());
  }
  for (const std::string& bytes : {garbage, std::string("just some text, not a database\n")}) {
    WriteHost(path, bytes);
    zel::test::LogCapture log;
    EXPECT_EQ(Db2Open(path.c_str()), DB2_ERR_CORRUPT);
    EXPECT_FALSE(Db2IsOpen());
    EXPECT_EQ(ReadHost(path), bytes);
    EXPECT_FALSE(std::filesystem::exists(path + "-wal"));
    EXPECT_TRUE(log.Contains("Db2Open"));
  }
}

// SQLite files made elsewhere: one holding tables of another program is refused untouched; one
// without tables is a new database; one of this layer opens.
TEST_F(Db2OpenFile, AnotherProgramsTablesAreRefusedAndLeftUntouched) {
  const std::string path = m_dir + "/ctsvc.db";
  struct Case {
    const char* szSql;
    int nResult;
  };
  const Case kCases[] = {
      {"CREATE TABLE notes (id INTEGER PRIMARY KEY, text TEXT); INSERT INTO notes (text) VALUES ('mine')",
       DB2_ERR_CORRUPT},
      {"CREATE TABLE CtSvcPerson (ID INTEGER PRIMARY KEY)", DB2_ERR_CORRUPT},
      {"PRAGMA user_version = 7", DB2_OK},
      {"CREATE TABLE sysschema_versions (module TEXT PRIMARY KEY, version TEXT NOT NULL); "
       "CREATE TABLE t (a INTEGER)",
       DB2_OK},
  };
  for (const Case& c : kCases) {
    std::filesystem::remove(path);
    sqlite3* pDb = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &pDb), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(pDb, c.szSql, nullptr, nullptr, nullptr), SQLITE_OK) << c.szSql;
    sqlite3_close(pDb);
    const std::string bytes = ReadHost(path);
    zel::test::LogCapture log;
    EXPECT_EQ(Db2Open(path.c_str()), c.nResult) << c.szSql;
    if (c.nResult == DB2_OK) {
      EXPECT_EQ(Scalar("PRAGMA journal_mode"), "wal") << c.szSql;
    } else {
      EXPECT_FALSE(Db2IsOpen());
      EXPECT_EQ(ReadHost(path), bytes) << c.szSql;
      EXPECT_FALSE(std::filesystem::exists(path + "-wal"));
      EXPECT_TRUE(log.Contains("tables of another program")) << c.szSql;
    }
    Db2Close();
  }
}

TEST_F(Db2OpenFile, DamagedDatabaseIsRefusedAndLeftUntouched) {
  const std::string path = m_dir + "/ctsvc.db";
  ASSERT_EQ(Db2Open(path.c_str()), DB2_OK);
  ASSERT_GE(Db2QueryEx("CREATE TABLE t (a INTEGER PRIMARY KEY, b NVARCHAR(25,102))"), 0);
  for (int i = 0; i < 400; ++i) {
    ASSERT_EQ(Db2QueryEx("INSERT INTO t VALUES (%d, 'some text to fill a few pages of the table %d')", i, i), 1);
  }
  ASSERT_TRUE(Db2Commit());
  ASSERT_GE(Db2QueryEx("PRAGMA wal_checkpoint(TRUNCATE)"), 0);
  Db2Close();
  std::string bytes = ReadHost(path);
  ASSERT_GT(bytes.size(), 4096u * 3);
  for (size_t i = 4096 * 2; i < 4096 * 3; ++i) {  // overwrite the third page
    bytes[i] = static_cast<char>(0xA5);
  }
  WriteHost(path, bytes);
  MoveModificationTimeOn(path);
  EXPECT_EQ(Db2Open(path.c_str()), DB2_ERR_CORRUPT);
  EXPECT_EQ(ReadHost(path), bytes);
}

TEST_F(Db2OpenFile, OnlyAFileUnchangedSinceItsCleanCloseSkipsTheWholeCheck) {
  const std::string path = m_dir + "/ctsvc.db";
  const char* kSkipped = "unchanged since its clean close";
  ASSERT_EQ(Db2Open(path.c_str()), DB2_OK);
  ASSERT_GE(Db2QueryEx("CREATE TABLE t (a INTEGER)"), 0);
  Db2Close();
  {
    zel::test::LogCapture log;
    ASSERT_EQ(Db2Open(path.c_str()), DB2_OK);
    EXPECT_TRUE(log.Contains(kSkipped));
  }
  Db2Close();
  MoveModificationTimeOn(path);
  {
    zel::test::LogCapture log;
    ASSERT_EQ(Db2Open(path.c_str()), DB2_OK);
    EXPECT_FALSE(log.Contains(kSkipped));
  }
  // Another connection still open at the close keeps the log: no stamp, the next open checks.
  sqlite3* pOther = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &pOther), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(pOther, "INSERT INTO t VALUES (1)", nullptr, nullptr, nullptr), SQLITE_OK);
  Db2Close();
  EXPECT_FALSE(std::filesystem::exists(path + "-verified"));
  sqlite3_close(pOther);
  zel::test::LogCapture log;
  ASSERT_EQ(Db2Open(path.c_str()), DB2_OK);
  EXPECT_FALSE(log.Contains(kSkipped));
  EXPECT_EQ(Db2QueryEx("SELECT a FROM t"), 1);
}

TEST_F(Db2OpenFile, UnwritablePlaceGivesOpenError) {
  WriteHost(m_dir + "/plain-file", "x");
  zel::test::LogCapture log;
  EXPECT_EQ(Db2Open((m_dir + "/plain-file/ctsvc.db").c_str()), DB2_ERR_OPEN);
  EXPECT_EQ(Db2Open((m_dir + "/missing/dir/ctsvc.db").c_str()), DB2_ERR_OPEN);
  EXPECT_TRUE(log.Contains("Db2Open"));
  EXPECT_STRNE(Db2GetLastError(), "");
}

TEST_F(Db2OpenFile, ReadOnlyDirectoryGivesOpenError) {
  if (geteuid() == 0) {
    GTEST_SKIP() << "permissions do not apply to root";
  }
  const std::string dir = m_dir + "/ro";
  std::filesystem::create_directory(dir);
  std::filesystem::permissions(dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_EQ(Db2Open((dir + "/ctsvc.db").c_str()), DB2_ERR_OPEN);
  std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
}

TEST_F(Db2OpenFile, FirstCallOpensTheDefaultFileOfTheDataDirectory) {
  Db2Close();
  EXPECT_EQ(Db2QueryEx("CREATE TABLE t (a INTEGER)"), 0);
  EXPECT_TRUE(Db2IsOpen());
  EXPECT_TRUE(std::filesystem::exists(m_dir + "/ctsvc.db"));
}

}  // namespace
