// Db2QueryEx / Db2GetNextRow / Db2GetColumn: printf-style statements whose rows are kept as
// UTF-8 text for the calling thread.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Connection.h"
#include "Exec.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace zel::db2 {

namespace {

const char kWho[] = "Db2QueryEx";

// The rows of the calling thread's last query: every value as terminated text in one buffer.
struct QueryRows {
  std::string data;
  std::vector<uint32_t> offsets;  // per cell, row after row
  int nColumns = 0;
  int nRows = 0;
  int nCursor = -1;  // row fetched by Db2GetNextRow; -1 before the first

  void Reset(int nNewColumns) {
    data.clear();
    offsets.clear();
    nColumns = nNewColumns;
    nRows = 0;
    nCursor = -1;
  }
  void Append(sqlite3_stmt* pStmt) {
    for (int i = 0; i < nColumns; ++i) {
      offsets.push_back(static_cast<uint32_t>(data.size()));
      const unsigned char* psz = sqlite3_column_text(pStmt, i);
      if (psz != nullptr) {
        data.append(reinterpret_cast<const char*>(psz), static_cast<size_t>(sqlite3_column_bytes(pStmt, i)));
      }
      data.push_back('\0');
    }
    ++nRows;
  }
};

thread_local QueryRows t_rows;
thread_local std::string t_text;  // the formatted statement text
thread_local std::string t_sql;   // its SQLite form

bool Format(const char* pszFormat, va_list ap) {
  va_list copy;
  va_copy(copy, ap);
  t_text.resize(t_text.capacity() > 256 ? t_text.capacity() : 256);
  int n = std::vsnprintf(&t_text[0], t_text.size() + 1, pszFormat, copy);
  va_end(copy);
  if (n < 0) {
    return false;
  }
  if (static_cast<size_t>(n) > t_text.size()) {
    t_text.resize(static_cast<size_t>(n));
    n = std::vsnprintf(&t_text[0], t_text.size() + 1, pszFormat, ap);
  }
  t_text.resize(static_cast<size_t>(n));
  return true;
}

// Runs every statement of the SQLite text in t_sql; the rows of the last one are kept.
int RunAll(Connection& conn) {
  const char* pszNext = t_sql.c_str();
  int nResult = 0;
  bool bRan = false;
  while (pszNext != nullptr && *pszNext != '\0') {
    const char* pszTail = nullptr;
    StmtLease lease = conn.PrepareSqlite(pszNext, &pszTail, kWho);
    if (pszTail == nullptr) {
      return -1;  // reported
    }
    pszNext = pszTail;
    if (!lease) {
      continue;  // blanks or a lone ';'
    }
    sqlite3_stmt* pStmt = lease.Get();
    t_rows.Reset(sqlite3_column_count(pStmt));
    if (RunToEnd(pStmt, kWho, [](sqlite3_stmt* p) { t_rows.Append(p); }) != SQLITE_DONE) {
      t_rows.Reset(0);
      return -1;
    }
    nResult = t_rows.nColumns > 0 ? t_rows.nRows : ChangesOf(pStmt);
    bRan = true;
  }
  if (!bRan) {
    ReportFailure(kWho, "no statement", t_text, nullptr);
    return -1;
  }
  return nResult;
}

}  // namespace

}  // namespace zel::db2

using namespace zel::db2;

extern "C" int Db2QueryEx(const char* pszFormat, ...) {
  if (!ZEL_REQUIRE(pszFormat != NULL)) {
    return -1;
  }
  t_rows.Reset(0);
  va_list ap;
  va_start(ap, pszFormat);
  const bool bFormatted = Format(pszFormat, ap);
  va_end(ap);
  if (!bFormatted) {
    DbgPrint(DBG_CLASS_FAIL, "Db2QueryEx - cannot format(%s)\n", pszFormat);
    return -1;
  }
  Connection& conn = Connection::Instance();
  Guard guard(conn.Mutex());
  if (conn.Db() == nullptr) {
    ReportFailure(kWho, "no database", t_text, nullptr);
    return -1;
  }
  t_sql = conn.Translate(t_text);
  return RunAll(conn);
}

extern "C" int Db2GetNextRow(void) {
  if (t_rows.nCursor + 1 >= t_rows.nRows) {
    t_rows.nCursor = t_rows.nRows;
    return 0;
  }
  ++t_rows.nCursor;
  return 1;
}

extern "C" const char* Db2GetColumn(int nIndex) {
  // Before the first Db2GetNextRow the first row answers.
  const int nRow = t_rows.nCursor < 0 ? 0 : t_rows.nCursor;
  if (nIndex < 0 || nIndex >= t_rows.nColumns || nRow >= t_rows.nRows) {
    return "";
  }
  return t_rows.data.c_str() + t_rows.offsets[static_cast<size_t>(nRow * t_rows.nColumns + nIndex)];
}
