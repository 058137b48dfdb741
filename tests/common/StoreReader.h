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
  explicit StoreReader(const std::string& strPath, bool bReadOnly = false) {
    sqlite3_open_v2(strPath.c_str(), &m_pDb, bReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                    nullptr);
    UseNameOrder(m_pDb);
  }
  ~StoreReader() { sqlite3_close(m_pDb); }
  StoreReader(const StoreReader&) = delete;
  StoreReader& operator=(const StoreReader&) = delete;
  // The column texts ("NULL" for null) of every row of a query; {"<error>"} when it fails.
  std::vector<std::vector<std::string>> Rows(const std::string& strSql) const {
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* pStmt = nullptr;
    int nStep = sqlite3_prepare_v2(m_pDb, strSql.c_str(), -1, &pStmt, nullptr);
    while (nStep == SQLITE_OK || nStep == SQLITE_ROW) {
      if ((nStep = sqlite3_step(pStmt)) == SQLITE_ROW) {
        rows.emplace_back();
        for (int i = 0; i < sqlite3_column_count(pStmt); ++i) {
          const unsigned char* psz = sqlite3_column_text(pStmt, i);
          rows.back().push_back(psz != nullptr ? reinterpret_cast<const char*>(psz) : "NULL");
        }
      }
    }
    sqlite3_finalize(pStmt);
    return nStep == SQLITE_DONE ? rows : std::vector<std::vector<std::string>>{{"<error>"}};
  }
  // The first column of the first row; "<error>" when the query fails or finds no row.
  std::string Text(const std::string& strSql) const {
    const auto rows = Rows(strSql);
    return rows.empty() || rows[0].empty() ? "<error>" : rows[0][0];
  }
  int Int(const std::string& strSql) const {
    const std::string text = Text(strSql);
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

// Whole contacts: no person without its primary, no detail or membership without its person, every
// primary's LINK_COUNT its number of persons and no primary left without one.
inline void ExpectContactsWhole(const StoreReader& store) {
  const StoreRule kWhole[] = {
      {"every person has its primary",
       "SELECT count(*) FROM CtSvcPerson p WHERE NOT EXISTS (SELECT 1 FROM CtSvcPrimary q WHERE q.ID = p.PRIMARY_ID)"},
      {"every number and e-mail has its person",
       "SELECT count(*) FROM CtSvcContactDataTable d WHERE NOT EXISTS (SELECT 1 FROM CtSvcPerson p WHERE p.ID = d.PERSON_ID)"},
      {"every group membership has its person",
       "SELECT count(*) FROM CtSvcGroupMember m WHERE NOT EXISTS (SELECT 1 FROM CtSvcPerson p WHERE p.ID = m.PERSON_ID)"},
      {"LINK_COUNT is the number of persons of the primary",
       "SELECT count(*) FROM CtSvcPrimary q WHERE q.LINK_COUNT <> (SELECT count(*) FROM CtSvcPerson p WHERE p.PRIMARY_ID = q.ID)"},
      {"no primary without persons",
       "SELECT count(*) FROM CtSvcPrimary q WHERE NOT EXISTS (SELECT 1 FROM CtSvcPerson p WHERE p.PRIMARY_ID = q.ID)"},
  };
  ExpectRulesKept(store, kWhole);
}

// Every row of every table, as text, sorted: what another process would read from the file.
inline std::vector<std::string> DumpStore(const std::string& strPath) {
  const StoreReader store(strPath, true);
  std::vector<std::string> rows;
  for (const auto& table :
       store.Rows("SELECT name FROM sqlite_master WHERE type = 'table' AND sql NOT LIKE 'CREATE VIRTUAL%'")) {
    for (const auto& columns : store.Rows("SELECT * FROM \"" + table[0] + "\"")) {
      std::string row = table[0];
      for (const std::string& column : columns) {
        row += "|" + column;
      }
      rows.push_back(row);
    }
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

// The rows of a dump without the records of pending account removals.
inline std::vector<std::string> WithoutPendingRemovals(std::vector<std::string> rows) {
  rows.erase(std::remove_if(rows.begin(), rows.end(),
                            [](const std::string& row) { return row.rfind("CtSvcDeleteAccount|", 0) == 0; }),
             rows.end());
  return rows;
}

}  // namespace ctsvc_test

#endif
