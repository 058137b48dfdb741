// Follow-up of running statements.
#include "Exec.h"

#include <cctype>
#include <string_view>

#include "Connection.h"
#include "Dialect.h"
#include "Fts.h"

namespace zel::db2 {

namespace {

// The first word of a SQLite text, up to 8 characters.
std::string_view FirstWord(const char* pszSql) {
  if (pszSql == nullptr) {
    return std::string_view();
  }
  while (std::isspace(static_cast<unsigned char>(*pszSql))) {
    ++pszSql;
  }
  size_t n = 0;
  while (n < 8 && std::isalpha(static_cast<unsigned char>(pszSql[n]))) {
    ++n;
  }
  return std::string_view(pszSql, n);
}

}  // namespace

bool BeforeRun(sqlite3_stmt* pStmt, const char* pszWho) {
  // A PRAGMA (checkpoint, journal mode, ...) often cannot run inside a transaction.
  if (sqlite3_stmt_readonly(pStmt) != 0 || EqualsNoCase(FirstWord(sqlite3_sql(pStmt)), "pragma")) {
    return true;
  }
  return Connection::Instance().BeginWrite(pszWho, sqlite3_sql(pStmt));
}

void AfterRun(sqlite3_stmt* pStmt, int rc, const char* pszWho) {
  if (rc != SQLITE_DONE) {
    ReportFailure(pszWho, "failed", sqlite3_sql(pStmt), sqlite3_db_handle(pStmt));
    sqlite3_reset(pStmt);
    return;
  }
  sqlite3_reset(pStmt);
  if (EqualsNoCase(FirstWord(sqlite3_sql(pStmt)), "drop")) {
    const std::string table = DroppedTable(sqlite3_sql(pStmt));
    if (!table.empty()) {
      DropTableIndexes(table);
    }
  }
}

int ChangesOf(sqlite3_stmt* pStmt) {
  const std::string_view word = FirstWord(sqlite3_sql(pStmt));
  if (EqualsNoCase(word, "insert") || EqualsNoCase(word, "update") || EqualsNoCase(word, "delete") ||
      EqualsNoCase(word, "replace")) {
    return sqlite3_changes(sqlite3_db_handle(pStmt));
  }
  return 0;
}

}  // namespace zel::db2
