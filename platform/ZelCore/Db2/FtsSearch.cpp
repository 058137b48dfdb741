// Db2FTSCreate … Db2FTSDestroy: a full-text search over one index, with fetch columns, a sort
// column and a range of the content table, optionally narrowed by a row-id sub-query.
//
// Prefix terms run as one FTS5 MATCH. A trigram index cannot answer a term shorter than three
// characters through MATCH; such a term is answered by a substring scan (LIKE) of the indexed
// rows, that is the rows of the content table meeting the index's condition.
//
// A row-id sub-query is checked for each hit by an EXISTS over it, in which SQLite looks the hit up
// in the sub-query's tables. "rowid IN (sub-query)" would first collect every row the sub-query
// selects (all the phone's contacts, for a device-type condition) whatever the hits are. A search
// served by a ranked index outside a transaction checks its hits against the sub-query's answers
// kept while the store is unchanged (RidSetCache.h) instead.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Connection.h"
#include "Dialect.h"
#include "Exec.h"
#include "Fts.h"
#include "FtsQuery.h"
#include "FtsRanked.h"
#include "HandleTable.h"
#include "RidSetCache.h"
#include "ZelDb2.h"
#include "ZelDebug.h"
#include "ZelImmortal.h"

namespace zel::db2 {

namespace {

const char kWho[] = "Db2FTS";
// The name the row-id sub-query gets in a search statement (its one column is v).
const char kRidFilter[] = "db2_rid_filter";
constexpr int kMaxFetchColumns = 16;
constexpr size_t kTrigramLength = 3;

struct ColumnRef {
  std::string table;  // lower case
  std::string column;
};

struct Search {
  FtsIndexInfo index;
  FtsQuery query;
  std::vector<std::string> fetchColumns;  // by position; empty: the row id
  std::string sortColumn;
  bool bAscending = true;
  std::string rangeColumn;
  std::string rangeFrom;
  std::string rangeTo;
  std::vector<INT32> values;  // rows x fetch columns
  int nRows = -1;             // -1 until executed

  size_t FetchCount() const { return std::max<size_t>(fetchColumns.size(), 1); }
};

HandleTable<Search>& Searches() {
  static Immortal<HandleTable<Search>> s_table;
  return s_table.Get();
}

HandleTable<ColumnRef>& Columns() {
  static Immortal<HandleTable<ColumnRef>> s_table;
  return s_table.Get();
}

bool IsIdentifier(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
  });
}

std::string Ident(const std::string& name) { return "\"" + name + "\""; }  // identifiers only

// Runs f(search) under the connection mutex; an unknown handle is reported and answers -1.
template <typename F>
int WithSearch(int hFts, const char* pszWho, F f) {
  Guard guard(Connection::Instance().Mutex());
  Search* p = Searches().Find(hFts);
  if (p == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s - invalid handle(%d)\n", pszWho, hFts);
    return -1;
  }
  return f(*p);
}

// The column of a "T:C" handle when T is the content table of the search's index.
const ColumnRef* ColumnOf(const Search& s, int hColumn, const char* pszWho) {
  const ColumnRef* p = Columns().Find(hColumn);
  if (p == nullptr || p->table != s.index.table) {
    DbgPrint(DBG_CLASS_FAIL, "%s - column handle %d does not name a column of %s\n", pszWho, hColumn,
             s.index.table.c_str());
    return nullptr;
  }
  return p;
}

std::string LikeSubstring(const std::string& text) {
  std::string escaped(text.size() * 2 + 1, '\0');
  Db2ConvertStringLike(text.c_str(), escaped.data(), static_cast<int>(escaped.size()));
  return "%" + std::string(escaped.c_str()) + "%";
}

bool IsSmallKey(const std::string& value) { return value == "0" || value == "1" || value == "2"; }

// A ranked index serves the search straight from the FTS table of its sort column when the order
// is ascending, the range (if any) is its range column within the values its entries carry, and
// only the row id is fetched: no lookup of a hit in the content table, no sort.
bool IsServedRanked(const Search& s) {
  const FtsIndexInfo& ix = s.index;
  if (!ix.IsRanked() || !s.bAscending ||
      std::find(ix.orders.begin(), ix.orders.end(), ToLowerAscii(s.sortColumn)) == ix.orders.end()) {
    return false;
  }
  if (!s.rangeColumn.empty() && !(EqualsNoCase(s.rangeColumn, ix.rangeColumn) && IsSmallKey(s.rangeFrom) &&
                                  IsSmallKey(s.rangeTo))) {
    return false;
  }
  return std::all_of(s.fetchColumns.begin(), s.fetchColumns.end(), [&](const std::string& column) {
    return EqualsNoCase(column, "rowid") || IsRowIdAlias(Connection::Instance().Db(), ix.table, column);
  });
}

std::string ServedRankedSql(const Search& s, const std::string& ridSubQuery, std::vector<std::string>* pBinds) {
  const std::string fts = s.index.ftsTable + "_" + ToLowerAscii(s.sortColumn);
  const std::string rowId = RankedRowId("f.rowid");
  std::string sql = ridSubQuery.empty() ? "" : std::string("WITH ") + kRidFilter + "(v) AS (" + ridSubQuery + ") ";
  sql += "SELECT ";
  for (size_t i = 0; i < s.FetchCount(); ++i) {
    sql += (i > 0 ? ", " : "") + rowId;
  }
  sql += " FROM " + Ident(fts) + " AS f WHERE f." + Ident(fts) + " MATCH ?";
  pBinds->push_back(BuildMatchExpression(s.query.terms, false));
  if (!s.rangeColumn.empty()) {
    sql += " AND (f.rowid & 3) BETWEEN " + s.rangeFrom + " AND " + s.rangeTo;
  }
  if (!ridSubQuery.empty()) {
    // A scalar sub-query per hit: SQLite would turn an EXISTS with this equality into an IN and
    // collect every row the sub-query selects first. The CAST compares the values as a rowid
    // column would (text that reads as a number is that number).
    sql += std::string(" AND (SELECT 1 FROM ") + kRidFilter + " WHERE " + kRidFilter + ".v = CAST(" + rowId +
           " AS INTEGER) LIMIT 1) IS NOT NULL";
  }
  return sql + " ORDER BY f.rowid";
}

// The statement of a search and the texts bound to its parameters, in order. With MATCH terms the
// FTS table drives a join to the content table c; otherwise the indexed rows of c are scanned.
std::string BuildSql(const Search& s, const std::string& ridSubQuery, std::vector<std::string>* pBinds) {
  const FtsIndexInfo& ix = s.index;
  if (!s.query.terms.empty() && IsServedRanked(s)) {
    return ServedRankedSql(s, ridSubQuery, pBinds);
  }
  std::vector<FtsTerm> matchTerms;
  std::vector<const FtsTerm*> scanTerms;
  for (const FtsTerm& term : s.query.terms) {
    if (ix.IsTrigram() && CharCount(term.text) < kTrigramLength) {
      scanTerms.push_back(&term);
    } else {
      matchTerms.push_back(term);
    }
  }
  std::string sql = ridSubQuery.empty() ? "" : std::string("WITH ") + kRidFilter + "(v) AS (" + ridSubQuery + ") ";
  sql += "SELECT ";
  for (size_t i = 0; i < s.fetchColumns.size(); ++i) {
    sql += (i > 0 ? ", c." : "c.") + Ident(s.fetchColumns[i]);
  }
  sql += s.fetchColumns.empty() ? "c.rowid" : "";
  if (!matchTerms.empty()) {
    const std::string fts = ix.SearchTable();
    sql += " FROM " + Ident(fts) + " AS f JOIN " + Ident(ix.table) + " AS c ON c.rowid = " +
           (ix.IsRanked() ? RankedRowId("f.rowid") : std::string("f.rowid")) + " WHERE f." + Ident(fts) + " MATCH ?";
    pBinds->push_back(BuildMatchExpression(matchTerms, ix.IsTrigram()));
  } else {
    sql += " FROM " + Ident(ix.table) + " AS c WHERE " + (ix.condition.empty() ? "1" : "(" + QualifyCondition(ix, "c") + ")");
  }
  for (const FtsTerm* pTerm : scanTerms) {
    sql += " AND c." + Ident(ix.column) + " LIKE ? ESCAPE '\\'";
    pBinds->push_back(LikeSubstring(pTerm->text));
  }
  if (!s.rangeColumn.empty()) {
    sql += " AND c." + Ident(s.rangeColumn) + " BETWEEN ? AND ?";
    pBinds->push_back(s.rangeFrom);
    pBinds->push_back(s.rangeTo);
  }
  if (!ridSubQuery.empty()) {
    sql += std::string(" AND EXISTS (SELECT 1 FROM ") + kRidFilter + " WHERE " + kRidFilter + ".v = c.rowid)";
  }
  if (!s.sortColumn.empty()) {
    sql += " ORDER BY c." + Ident(s.sortColumn) + (s.bAscending ? " ASC" : " DESC") + ", c.rowid";
  } else {
    sql += " ORDER BY c.rowid";
  }
  return sql;
}

void BindValue(sqlite3_stmt* pStmt, int n, const std::string& value) {
  char* pEnd = nullptr;
  const long long nValue = std::strtoll(value.c_str(), &pEnd, 10);
  if (!value.empty() && pEnd != nullptr && *pEnd == '\0') {
    sqlite3_bind_int64(pStmt, n, nValue);
  } else {
    sqlite3_bind_text(pStmt, n, value.c_str(), -1, SQLITE_TRANSIENT);
  }
}

RidSetCache& KeptSets() {
  static Immortal<RidSetCache> s_cache;
  return s_cache.Get();
}

// Runs sql and keeps its rows; with pCheck, only the rows whose first column (the id) it passes.
int Run(Search& s, const std::string& sql, const std::vector<std::string>& binds, RidCheck* pCheck) {
  Connection& conn = Connection::Instance();
  s.values.clear();
  s.nRows = -1;
  const char* pszTail = nullptr;
  StmtLease lease = conn.PrepareSqlite(sql.c_str(), &pszTail, kWho);
  if (!lease) {
    return -1;
  }
  for (size_t i = 0; i < binds.size(); ++i) {
    BindValue(lease.Get(), static_cast<int>(i + 1), binds[i]);
  }
  int nRows = 0;
  bool bCheckFailed = false;
  const int nColumns = static_cast<int>(s.FetchCount());
  const int rc = RunToEnd(lease.Get(), kWho, [&](sqlite3_stmt* p) {
    if (pCheck != nullptr && !bCheckFailed) {
      const int nIn = pCheck->Contains(sqlite3_column_int64(p, 0));
      bCheckFailed = nIn < 0;
      if (nIn != 1) {
        return;
      }
    } else if (bCheckFailed) {
      return;
    }
    for (int i = 0; i < nColumns; ++i) {
      s.values.push_back(sqlite3_column_int(p, i));
    }
    ++nRows;
  });
  if (rc != SQLITE_DONE || bCheckFailed) {
    s.values.clear();
    return -1;
  }
  s.nRows = nRows;
  return nRows;
}

long long PragmaValue(const char* pszPragma) {
  const char* pszTail = nullptr;
  StmtLease lease = Connection::Instance().PrepareSqlite(pszPragma, &pszTail, kWho);
  long long nValue = -1;
  if (lease && sqlite3_step(lease.Get()) == SQLITE_ROW) {
    nValue = sqlite3_column_int64(lease.Get(), 0);
  }
  if (lease) {
    sqlite3_reset(lease.Get());
  }
  return nValue;
}

// A narrowed search served by a ranked index, its hits checked against the kept answers of the
// sub-query. One read transaction holds the state check, the answers and the search, so all three
// see the same snapshot of the store.
int RunAgainstKeptSet(Search& s, const std::string& ridSubQuery) {
  Connection& conn = Connection::Instance();
  if (!conn.ExecSqlite("BEGIN", kWho)) {
    return -1;
  }
  StoreState state;
  state.nGeneration = conn.Generation();
  state.nDataVersion = conn.DataVersion();
  state.nSchemaVersion = PragmaValue("PRAGMA schema_version");
  state.nOwnChanges = sqlite3_total_changes64(conn.Db());
  int nRows = -1;
  if (state.nDataVersion >= 0 && state.nSchemaVersion >= 0) {
    RidCheck check = KeptSets().Begin(conn.Db(), ridSubQuery, state);
    std::vector<std::string> binds;
    nRows = Run(s, ServedRankedSql(s, std::string(), &binds), binds, &check);
    check.Report();
  }
  if (!conn.ExecSqlite("COMMIT", kWho)) {
    conn.ExecSqlite("ROLLBACK", kWho);
  }
  return nRows;
}

int Execute(Search& s, const char* pszRidSubQuery) {
  Connection& conn = Connection::Instance();
  if (conn.Db() == nullptr) {
    return -1;
  }
  s.values.clear();
  s.nRows = -1;
  const std::string rid = pszRidSubQuery != nullptr ? conn.Translate(pszRidSubQuery) : std::string();
  if (!rid.empty() && !s.query.terms.empty() && IsServedRanked(s) && !conn.InTransaction()) {
    return RunAgainstKeptSet(s, rid);
  }
  std::vector<std::string> binds;
  const std::string sql = BuildSql(s, rid, &binds);
  return Run(s, sql, binds, nullptr);
}

}  // namespace

}  // namespace zel::db2

using namespace zel::db2;

extern "C" int Db2FTSCreate(const char* pszQuery, int /*nMode*/, int /*nFlags*/) {
  if (!ZEL_REQUIRE(pszQuery != NULL)) {
    return -1;
  }
  auto pSearch = std::make_unique<Search>();
  if (!ParseFtsQuery(pszQuery, &pSearch->query)) {
    DbgPrint(DBG_CLASS_FAIL, "Db2FTSCreate - bad query(%s)\n", pszQuery);
    return -1;
  }
  Connection& conn = Connection::Instance();
  Guard guard(conn.Mutex());
  if (conn.Db() == nullptr || !FindFtsIndex(pSearch->query.group, pSearch->query.index, &pSearch->index)) {
    DbgPrint(DBG_CLASS_FAIL, "Db2FTSCreate - no full-text index %s.%s\n", pSearch->query.group.c_str(),
             pSearch->query.index.c_str());
    return -1;
  }
  return Searches().Add(std::move(pSearch));
}

extern "C" int Db2FTSAddFetchColumnList(int hFts, int nPos, const char* pszTable, const char* pszColumn) {
  return WithSearch(hFts, "Db2FTSAddFetchColumnList", [&](Search& s) {
    if (pszTable == nullptr || pszColumn == nullptr || !EqualsNoCase(pszTable, s.index.table) ||
        !IsIdentifier(pszColumn) || nPos < 0 || nPos >= kMaxFetchColumns) {
      DbgPrint(DBG_CLASS_FAIL, "Db2FTSAddFetchColumnList - bad column %d(%s:%s)\n", nPos,
               pszTable != nullptr ? pszTable : "", pszColumn != nullptr ? pszColumn : "");
      return -1;
    }
    if (s.fetchColumns.size() <= static_cast<size_t>(nPos)) {
      s.fetchColumns.resize(static_cast<size_t>(nPos) + 1, "rowid");
    }
    s.fetchColumns[static_cast<size_t>(nPos)] = pszColumn;
    return 1;
  });
}

extern "C" int Db2FTSMakeDBTableColumn(const char* pszTableColumn) {
  const char* pszColon = pszTableColumn != nullptr ? std::strchr(pszTableColumn, ':') : nullptr;
  if (pszColon == nullptr || !IsIdentifier(std::string_view(pszTableColumn, pszColon - pszTableColumn)) ||
      !IsIdentifier(pszColon + 1)) {
    DbgPrint(DBG_CLASS_FAIL, "Db2FTSMakeDBTableColumn - bad column(%s)\n",
             pszTableColumn != nullptr ? pszTableColumn : "");
    return -1;
  }
  Guard guard(Connection::Instance().Mutex());
  return Columns().Add(std::make_unique<ColumnRef>(
      ColumnRef{ToLowerAscii(std::string_view(pszTableColumn, pszColon - pszTableColumn)), pszColon + 1}));
}

extern "C" void Db2FTSFreeDBTableColumn(int hColumn) {
  Guard guard(Connection::Instance().Mutex());
  if (!Columns().Remove(hColumn)) {
    DbgPrint(DBG_CLASS_FAIL, "Db2FTSFreeDBTableColumn - invalid handle(%d)\n", hColumn);
  }
}

extern "C" int Db2FTSSetSortOption(int hFts, int hColumn, int nAscending, int /*nFlags*/) {
  return WithSearch(hFts, "Db2FTSSetSortOption", [&](Search& s) {
    const ColumnRef* pColumn = ColumnOf(s, hColumn, "Db2FTSSetSortOption");
    if (pColumn == nullptr) {
      return -1;
    }
    s.sortColumn = pColumn->column;
    s.bAscending = nAscending != 0;
    return 1;
  });
}

extern "C" int Db2FTSSetRangeQuery(int hFts, int hColumn, const char* pszFrom, const char* pszTo) {
  return WithSearch(hFts, "Db2FTSSetRangeQuery", [&](Search& s) {
    const ColumnRef* pColumn = ColumnOf(s, hColumn, "Db2FTSSetRangeQuery");
    if (pColumn == nullptr || pszFrom == nullptr || pszTo == nullptr) {
      return -1;
    }
    s.rangeColumn = pColumn->column;
    s.rangeFrom = pszFrom;
    s.rangeTo = pszTo;
    return 1;
  });
}

extern "C" int Db2FTSExecute(int hFts, int /*nFlags*/) {
  return WithSearch(hFts, "Db2FTSExecute", [](Search& s) { return Execute(s, nullptr); });
}

extern "C" int Db2FTSExecuteWithRID(int hFts, int /*nFlags*/, int /*nMode*/, const char* pszRidSubQuery) {
  return WithSearch(hFts, "Db2FTSExecuteWithRID", [&](Search& s) {
    if (!ZEL_REQUIRE(pszRidSubQuery != NULL)) {
      return -1;
    }
    return Execute(s, *pszRidSubQuery != '\0' ? pszRidSubQuery : nullptr);
  });
}

extern "C" int Db2FTSGetResultCnt(int hFts, int /*nFlags*/) {
  return WithSearch(hFts, "Db2FTSGetResultCnt", [](Search& s) { return s.nRows; });
}

extern "C" int Db2FTSFetchResultRecord(int hFts, int nOffset, void* pRecord, int nSize) {
  return WithSearch(hFts, "Db2FTSFetchResultRecord", [&](Search& s) {
    const size_t nBytes = s.FetchCount() * sizeof(INT32);
    if (pRecord == nullptr || nOffset < 0 || nOffset >= s.nRows || nSize < 0 ||
        static_cast<size_t>(nSize) < nBytes) {
      DbgPrint(DBG_CLASS_FAIL, "Db2FTSFetchResultRecord - bad offset %d of %d or size %d\n", nOffset, s.nRows,
               nSize);
      return -1;
    }
    std::memcpy(pRecord, s.values.data() + static_cast<size_t>(nOffset) * s.FetchCount(), nBytes);
    return 1;
  });
}

extern "C" int Db2FTSQuitResultRecord(int hFts) {
  return WithSearch(hFts, "Db2FTSQuitResultRecord", [](Search& s) {
    s.values.clear();
    s.nRows = -1;
    return 1;
  });
}

extern "C" int Db2FTSDestroy(int hFts) {
  Guard guard(Connection::Instance().Mutex());
  if (!Searches().Remove(hFts)) {
    DbgPrint(DBG_CLASS_FAIL, "Db2FTSDestroy - invalid handle(%d)\n", hFts);
    return -1;
  }
  return 1;
}
