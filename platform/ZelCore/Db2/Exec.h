// Running a prepared statement: a statement that writes first opens the write transaction, rows
// go to a callback, failures are reported, and a dropped table takes its full-text indexes along.
// Callers hold the connection mutex.
#ifndef ZEL_DB2_EXEC_H
#define ZEL_DB2_EXEC_H

#include <sqlite3.h>

namespace zel::db2 {

// FALSE (reported) when the write transaction cannot be opened.
bool BeforeRun(sqlite3_stmt* pStmt, const char* pszWho);
// Reports a failure, resets the statement and does the follow-up work of a finished statement.
void AfterRun(sqlite3_stmt* pStmt, int rc, const char* pszWho);
// Rows a finished INSERT, UPDATE or DELETE changed; 0 for any other statement.
int ChangesOf(sqlite3_stmt* pStmt);

// Steps pStmt to its end, calling onRow(pStmt) for each row. SQLITE_DONE or the failing code.
template <typename OnRow>
int RunToEnd(sqlite3_stmt* pStmt, const char* pszWho, OnRow&& onRow) {
  if (!BeforeRun(pStmt, pszWho)) {
    sqlite3_reset(pStmt);
    return SQLITE_ERROR;
  }
  int rc = sqlite3_step(pStmt);
  while (rc == SQLITE_ROW) {
    onRow(pStmt);
    rc = sqlite3_step(pStmt);
  }
  AfterRun(pStmt, rc, pszWho);
  return rc;
}

}  // namespace zel::db2

#endif
