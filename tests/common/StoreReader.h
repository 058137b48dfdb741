// A second connection to a store file, as another process (or the next start) sees it: texts and
// numbers of one-value queries, with "<error>" / -1 when the query fails, and every stored row.
#ifndef CTSVC_TEST_STORE_READER_H
#define CTSVC_TEST_STORE_READER_H

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "CtSvcTestEnv.h"

namespace ctsvc_test {

class StoreReader {
 public:
  explicit StoreReader(const std::string& strPath) {
    sqlite3_open(strPath.c_str(), &m_pDb);
    UseNameOrder(m_pDb);
  }
  ~StoreReader() { sqlite3_close(m_pDb); }
  StoreReader(const StoreReader&) = delete;
  StoreReader& operator=(const StoreReader&) = delete;
  std::string Text(const char* pszSql) const {
    sqlite3_stmt* pStmt = nullptr;
    std::string text = "<error>";
    if (sqlite3_prepare_v2(m_pDb, pszSql, -1, &pStmt, nullptr) == SQLITE_OK && sqlite3_step(pStmt) == SQLITE_ROW) {
      const unsigned char* psz = sqlite3_column_text(pStmt, 0);
      text = psz != nullptr ? reinterpret_cast<const char*>(psz) : "NULL";
    }
    sqlite3_finalize(pStmt);
    return text;
  }
  int Int(const char* pszSql) const {
    const std::string text = Text(pszSql);
    return text == "<error>" ? -1 : std::atoi(text.c_str());
  }

 private:
  sqlite3* m_pDb = nullptr;
};

// A rule a whole store keeps: sql counts the rows that break it.
struct StoreRule {
  const char* what;
  const char* sql;
};

// Expects no row of the store to break any of the rules.
template <size_t N>
void ExpectRulesKept(const StoreReader& store, const StoreRule (&rules)[N]) {
  for (const StoreRule& rule : rules) {
    EXPECT_EQ(0, store.Int(rule.sql)) << rule.what;
  }
}

// Every row of every table, as text, sorted: what another process would read from the file.
inline std::vector<std::string> DumpStore(const std::string& strPath) {
  std::vector<std::string> rows;
  sqlite3* pDb = nullptr;
  if (sqlite3_open_v2(strPath.c_str(), &pDb, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(pDb);
    return {"<cannot open>"};
  }
  UseNameOrder(pDb);
  std::vector<std::string> tables;
  sqlite3_exec(
      pDb, "SELECT name FROM sqlite_master WHERE type = 'table' AND sql NOT LIKE 'CREATE VIRTUAL%'",
      [](void* p, int, char** ppValues, char**) {
        static_cast<std::vector<std::string>*>(p)->push_back(ppValues[0]);
        return 0;
      },
      &tables, nullptr);
  for (const std::string& table : tables) {
    sqlite3_stmt* pStmt = nullptr;
    sqlite3_prepare_v2(pDb, ("SELECT * FROM \"" + table + "\"").c_str(), -1, &pStmt, nullptr);
    while (pStmt != nullptr && sqlite3_step(pStmt) == SQLITE_ROW) {
      std::string row = table;
      for (int i = 0; i < sqlite3_column_count(pStmt); ++i) {
        const unsigned char* psz = sqlite3_column_text(pStmt, i);
        row += "|" + std::string(psz != nullptr ? reinterpret_cast<const char*>(psz) : "NULL");
      }
      rows.push_back(row);
    }
    sqlite3_finalize(pStmt);
  }
  sqlite3_close(pDb);
  std::sort(rows.begin(), rows.end());
  return rows;
}

}  // namespace ctsvc_test

#endif
