// Shared helpers of the Db2 tests: a fresh database file per test and small query helpers.
#ifndef ZEL_DB2_TEST_SUPPORT_H
#define ZEL_DB2_TEST_SUPPORT_H

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ZelDb2.h"

namespace db2test {

inline std::string MakeTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "db2test-XXXXXX").string();
  const char* psz = mkdtemp(pattern.data());
  return psz != nullptr ? std::string(psz) : std::string();
}

// Rows of the last Db2QueryEx of this thread, nColumns texts per row.
inline std::vector<std::vector<std::string>> FetchRows(int nColumns) {
  std::vector<std::vector<std::string>> rows;
  while (Db2GetNextRow() > 0) {
    std::vector<std::string> row;
    for (int i = 0; i < nColumns; ++i) {
      row.emplace_back(Db2GetColumn(i));
    }
    rows.push_back(row);
  }
  return rows;
}

// The first column of every row of a query.
inline std::vector<std::string> Column(const char* pszSql) {
  std::vector<std::string> out;
  if (Db2QueryEx("%s", pszSql) < 0) {
    ADD_FAILURE() << "query failed: " << pszSql << " : " << Db2GetLastError();
    return out;
  }
  for (const auto& row : FetchRows(1)) {
    out.push_back(row[0]);
  }
  return out;
}

inline std::string Scalar(const char* pszSql) {
  const std::vector<std::string> values = Column(pszSql);
  return values.empty() ? std::string("<no row>") : values[0];
}

// A second, independent connection to the same file (what another process would see).
class OtherConnection {
 public:
  explicit OtherConnection(const std::string& path) { sqlite3_open(path.c_str(), &m_pDb); }
  ~OtherConnection() { sqlite3_close(m_pDb); }
  OtherConnection(const OtherConnection&) = delete;
  OtherConnection& operator=(const OtherConnection&) = delete;
  // The integer answer of a query, or -1 when it fails.
  long long Int(const char* pszSql) const {
    sqlite3_stmt* pStmt = nullptr;
    long long n = -1;
    if (sqlite3_prepare_v2(m_pDb, pszSql, -1, &pStmt, nullptr) == SQLITE_OK && sqlite3_step(pStmt) == SQLITE_ROW) {
      n = sqlite3_column_int64(pStmt, 0);
    }
    sqlite3_finalize(pStmt);
    return n;
  }
  sqlite3* Get() const { return m_pDb; }

 private:
  sqlite3* m_pDb = nullptr;
};

// A fresh database file in a temporary directory for each test.
class Db2Test : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = MakeTempDir();
    ASSERT_FALSE(m_dir.empty());
    ASSERT_EQ(Db2Open(Path().c_str()), DB2_OK);
  }
  void TearDown() override {
    while (Db2IsCommitPaused()) {
      Db2CommitResume();
    }
    Db2Close();
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }
  std::string Path() const { return m_dir + "/ctsvc.db"; }
  void Exec(const char* pszSql) { ASSERT_GE(Db2QueryEx("%s", pszSql), 0) << pszSql << " : " << Db2GetLastError(); }

  std::string m_dir;
};

}  // namespace db2test

#endif
