// Db2Stmt…: prepared statements with bound fields and materialised result rows.
#include "Statement.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>

#include "Connection.h"
#include "DateText.h"
#include "Dialect.h"
#include "Exec.h"
#include "HandleTable.h"
#include "ZelDebug.h"
#include "ZelImmortal.h"

namespace zel::db2 {

namespace {

const char kWho[] = "Db2StmtExecute";

Db2Field NullField() { return Db2Field{DB2_FIELD_NULL, nullptr, 0}; }

// The type a caller wrote into a field, read as the raw integer: a C caller may store any value.
int RawTypeOf(const Db2Field& f) {
  std::underlying_type_t<Db2FieldType> nType;
  std::memcpy(&nType, &f.nType, sizeof(nType));
  return static_cast<int>(nType);
}

}  // namespace

Statement::Statement(StmtLease lease)
    : m_lease(std::move(lease)),
      m_nParams(sqlite3_bind_parameter_count(m_lease.Get())),
      m_nResults(sqlite3_column_count(m_lease.Get())),
      m_params(static_cast<size_t>(std::max(m_nParams, 1)), NullField()),
      m_results(static_cast<size_t>(std::max(m_nResults, 1)), NullField()),
      m_dateColumns(static_cast<size_t>(m_nResults), 0) {
  for (int i = 0; i < m_nResults; ++i) {
    const char* pszType = sqlite3_column_decltype(m_lease.Get(), i);
    m_dateColumns[static_cast<size_t>(i)] = pszType != nullptr && EqualsNoCase(pszType, "DATETIME") ? 1 : 0;
  }
}

bool Statement::IsCurrent() const { return m_lease.Generation() == Connection::Instance().Generation(); }

bool Statement::Bind(int nIndex, const Db2Field& f) {
  sqlite3_stmt* pStmt = m_lease.Get();
  const int n = nIndex + 1;
  const int nType = RawTypeOf(f);
  if (f.pBuffer == nullptr || nType == DB2_FIELD_NULL) {
    return sqlite3_bind_null(pStmt, n) == SQLITE_OK;
  }
  switch (nType) {
    case DB2_FIELD_INT32:
      return sqlite3_bind_int(pStmt, n, *static_cast<const INT32*>(f.pBuffer)) == SQLITE_OK;
    case DB2_FIELD_INT64:
      return sqlite3_bind_int64(pStmt, n, *static_cast<const INT64*>(f.pBuffer)) == SQLITE_OK;
    case DB2_FIELD_DOUBLE:
      return sqlite3_bind_double(pStmt, n, *static_cast<const double*>(f.pBuffer)) == SQLITE_OK;
    case DB2_FIELD_TEXT16:
      return sqlite3_bind_text16(pStmt, n, f.pBuffer, f.nLength < 0 ? -1 : (f.nLength & ~1), SQLITE_STATIC) ==
             SQLITE_OK;
    case DB2_FIELD_TEXT:
      return sqlite3_bind_text(pStmt, n, static_cast<const char*>(f.pBuffer), f.nLength < 0 ? -1 : f.nLength,
                               SQLITE_STATIC) == SQLITE_OK;
    case DB2_FIELD_DATETIME: {
      const std::string text = FormatDateTimeText(*static_cast<const TmDateTime*>(f.pBuffer));
      return sqlite3_bind_text(pStmt, n, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) == SQLITE_OK;
    }
    case DB2_FIELD_BLOB:
      return sqlite3_bind_blob(pStmt, n, f.pBuffer, std::max(f.nLength, 0), SQLITE_STATIC) == SQLITE_OK;
    default:
      return false;
  }
}

bool Statement::BindAll() {
  for (int i = 0; i < m_nParams; ++i) {
    if (!Bind(i, m_params[static_cast<size_t>(i)])) {
      DbgPrint(DBG_CLASS_FAIL, "%s - cannot bind parameter %d (type %d)(%s)\n", kWho, i + 1,
               RawTypeOf(m_params[static_cast<size_t>(i)]), sqlite3_sql(m_lease.Get()));
      return false;
    }
  }
  return true;
}

int Statement::Execute() {
  sqlite3_stmt* pStmt = m_lease.Get();
  ClearRows();
  if (!BindAll()) {
    sqlite3_clear_bindings(pStmt);
    return -1;
  }
  const int rc = RunToEnd(pStmt, kWho, [this](sqlite3_stmt* p) { m_rows.Append(p, m_dateColumns); });
  sqlite3_clear_bindings(pStmt);  // the bound buffers belong to the caller
  if (rc != SQLITE_DONE) {
    m_rows.Reset(m_nResults);
    return -1;
  }
  return m_nResults > 0 ? m_rows.Rows() : ChangesOf(pStmt);
}

int Statement::ExecuteInts(void (*pfnRow)(void*, INT32), void* pContext) {
  sqlite3_stmt* pStmt = m_lease.Get();
  ClearRows();
  if (m_nResults < 1 || !BindAll()) {
    sqlite3_clear_bindings(pStmt);
    return -1;
  }
  int nRows = 0;
  bool bAllNumbers = true;
  const int rc = RunToEnd(pStmt, kWho, [&](sqlite3_stmt* p) {
    // One call into the connection per row (each takes its mutex): the value's own accessors do not.
    sqlite3_value* pValue = sqlite3_column_value(p, 0);
    const int nType = sqlite3_value_type(pValue);
    bAllNumbers = bAllNumbers && (nType == SQLITE_INTEGER || nType == SQLITE_FLOAT);
    pfnRow(pContext, sqlite3_value_int(pValue));
    ++nRows;
  });
  sqlite3_clear_bindings(pStmt);
  if (!bAllNumbers) {
    DbgPrint(DBG_CLASS_FAIL, "Db2StmtExecuteInts - a row without a number(%s)\n", sqlite3_sql(pStmt));
  }
  return rc == SQLITE_DONE && bAllNumbers ? nRows : -1;
}

int Statement::NextRow() {
  if (m_nCursor >= m_rows.Rows()) {
    return 0;
  }
  m_rows.Fill(m_nCursor++, m_results.data());
  return 1;
}

int Statement::Seek(int nWhence, int nRow) {
  const int nTarget = nWhence == 0 ? nRow : (nWhence == 1 ? m_nCursor + nRow : -1);
  if (nTarget < 0 || nTarget >= m_rows.Rows()) {
    return -1;
  }
  m_nCursor = nTarget;  // the next Db2StmtGetNextRow fetches this row
  return 1;
}

void Statement::ClearRows() {
  m_rows.Reset(m_nResults);
  m_nCursor = 0;
  std::fill(m_results.begin(), m_results.end(), NullField());
  sqlite3_reset(m_lease.Get());
}

namespace {

HandleTable<Statement>& Table() {
  static Immortal<HandleTable<Statement>> s_table;
  return s_table.Get();
}

// Runs f(statement) under the connection mutex; an unknown handle is reported and answers nBad.
template <typename F>
auto WithStatement(int hStmt, const char* pszWho, decltype(std::declval<F>()(std::declval<Statement&>())) nBad, F f) {
  Guard guard(Connection::Instance().Mutex());
  Statement* p = Table().Find(hStmt);
  if (p == nullptr || !p->IsCurrent()) {
    DbgPrint(DBG_CLASS_FAIL, "%s - invalid statement handle(%d)\n", pszWho, hStmt);
    return nBad;
  }
  return f(*p);
}

}  // namespace

void ReleaseAllStatements() { Table().Clear(); }

}  // namespace zel::db2

using zel::db2::Statement;
using zel::db2::WithStatement;

extern "C" int Db2StmtCreate(const char* pszSql) {
  if (!ZEL_REQUIRE(pszSql != NULL)) {
    return -1;
  }
  zel::db2::Connection& conn = zel::db2::Connection::Instance();
  zel::db2::Guard guard(conn.Mutex());
  zel::db2::StmtLease lease = conn.PrepareDialect(pszSql, "Db2StmtCreate");
  if (!lease) {
    return -1;
  }
  return zel::db2::Table().Add(std::make_unique<Statement>(std::move(lease)));
}

extern "C" int Db2StmtGetBindParamCount(int hStmt) {
  return WithStatement(hStmt, "Db2StmtGetBindParamCount", -1, [](Statement& s) { return s.ParamCount(); });
}

extern "C" int Db2StmtGetBindResCount(int hStmt) {
  return WithStatement(hStmt, "Db2StmtGetBindResCount", -1, [](Statement& s) { return s.ResultCount(); });
}

extern "C" Db2Field* Db2StmtGetBindParamFields(int hStmt) {
  return WithStatement(hStmt, "Db2StmtGetBindParamFields", static_cast<Db2Field*>(nullptr),
                       [](Statement& s) { return s.Params().data(); });
}

extern "C" Db2Field* Db2StmtGetBindResFields(int hStmt) {
  return WithStatement(hStmt, "Db2StmtGetBindResFields", static_cast<Db2Field*>(nullptr),
                       [](Statement& s) { return s.Results().data(); });
}

extern "C" int Db2StmtExecute(int hStmt) {
  return WithStatement(hStmt, "Db2StmtExecute", -1, [](Statement& s) { return s.Execute(); });
}

extern "C" int Db2StmtExecuteInts(int hStmt, void (*pfnRow)(void*, INT32), void* pContext) {
  if (!ZEL_REQUIRE(pfnRow != NULL)) {
    return -1;
  }
  return WithStatement(hStmt, "Db2StmtExecuteInts", -1,
                       [&](Statement& s) { return s.ExecuteInts(pfnRow, pContext); });
}

extern "C" int Db2StmtGetNextRow(int hStmt) {
  return WithStatement(hStmt, "Db2StmtGetNextRow", -1, [](Statement& s) { return s.NextRow(); });
}

extern "C" int Db2StmtSeekRow(int hStmt, int nWhence, int nRow) {
  return WithStatement(hStmt, "Db2StmtSeekRow", -1, [&](Statement& s) { return s.Seek(nWhence, nRow); });
}

extern "C" int Db2StmtClearRow(int hStmt) {
  return WithStatement(hStmt, "Db2StmtClearRow", -1, [](Statement& s) {
    s.ClearRows();
    return 1;
  });
}

extern "C" int Db2StmtDestroy(int hStmt) {
  zel::db2::Guard guard(zel::db2::Connection::Instance().Mutex());
  if (!zel::db2::Table().Remove(hStmt)) {
    DbgPrint(DBG_CLASS_FAIL, "Db2StmtDestroy - invalid statement handle(%d)\n", hStmt);
    return -1;
  }
  return 1;
}

