// Db2FTSDoSyntax: creating and dropping full-text indexes, and the catalogue sysirs_indexes.
#include "Fts.h"

#include <algorithm>
#include <vector>

#include "Connection.h"
#include "Dialect.h"
#include "Exec.h"
#include "FtsRanked.h"
#include "FtsTokenizer.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace zel::db2 {

namespace {

const char kWho[] = "Db2FTSDoSyntax";

// "name" with inner quotes doubled.
std::string Ident(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') {
      out += '"';
    }
  }
  return out + "\"";
}

// 'text' with inner apostrophes doubled.
std::string Literal(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') {
      out += '\'';
    }
  }
  return out + "'";
}

// Reads the significant tokens of a full-text statement.
class SyntaxReader {
 public:
  explicit SyntaxReader(std::string_view text) : m_tokens(Tokenize(text)) { Skip(); }

  bool Word(std::string_view word) {
    if (m_pos < m_tokens.size() && m_tokens[m_pos].kind == TokenKind::Word &&
        EqualsNoCase(m_tokens[m_pos].text, word)) {
      Advance();
      return true;
    }
    return false;
  }
  bool Name(std::string* pOut) {
    if (m_pos < m_tokens.size() && m_tokens[m_pos].kind == TokenKind::Word) {
      *pOut = m_tokens[m_pos].text;
      Advance();
      return true;
    }
    return false;
  }
  bool Punct(char c) {
    if (m_pos < m_tokens.size() && m_tokens[m_pos].kind == TokenKind::Punct && m_tokens[m_pos].text[0] == c) {
      Advance();
      return true;
    }
    return false;
  }
  bool AtEnd() {
    Punct(';');
    return m_pos == m_tokens.size();
  }
  // The text up to the ')' that closes the current parenthesis, which is not consumed.
  std::string UntilClose() {
    std::string out;
    int nDepth = 0;
    for (; m_pos < m_tokens.size(); ++m_pos) {
      const Token& t = m_tokens[m_pos];
      if (t.kind == TokenKind::Punct && t.text == ")") {
        if (nDepth == 0) {
          break;
        }
        --nDepth;
      } else if (t.kind == TokenKind::Punct && t.text == "(") {
        ++nDepth;
      }
      out += t.text;
    }
    return out;
  }

 private:
  void Advance() {
    ++m_pos;
    Skip();
  }
  void Skip() {
    while (m_pos < m_tokens.size() && m_tokens[m_pos].kind == TokenKind::Space) {
      ++m_pos;
    }
  }
  std::vector<Token> m_tokens;
  size_t m_pos = 0;
};

struct CreateRequest {
  std::string group;
  std::string index;
  std::string table;
  std::string column;
  std::string condition;
  std::vector<std::string> orders;
  std::string rangeColumn;
  bool bTrigram = false;
};

// "order by O1, O2 [range K]" after the column.
bool ParseOrders(SyntaxReader& r, CreateRequest* pSpec) {
  if (!r.Word("order")) {
    return true;
  }
  std::string name;
  if (!r.Word("by") || !r.Name(&name)) {
    return false;
  }
  pSpec->orders.push_back(ToLowerAscii(name));
  while (r.Punct(',')) {
    if (!r.Name(&name)) {
      return false;
    }
    pSpec->orders.push_back(ToLowerAscii(name));
  }
  if (r.Word("range")) {
    if (!r.Name(&name)) {
      return false;
    }
    pSpec->rangeColumn = ToLowerAscii(name);
  }
  return !pSpec->bTrigram;
}

// "(like ngram, exactspace, utf8)": the trigram tokenizer when ngram is named, else words.
bool ParseOptions(SyntaxReader& r, bool* pTrigram) {
  std::string word;
  while (!r.Punct(')')) {
    if (r.Name(&word)) {
      *pTrigram = *pTrigram || EqualsNoCase(word, "ngram");
    } else if (!r.Punct(',')) {
      return false;
    }
  }
  return true;
}

bool ParseCreate(std::string_view text, CreateRequest* pSpec) {
  SyntaxReader r(text);
  if (!(r.Word("create") && r.Word("fulltext") && r.Word("index") && r.Name(&pSpec->group) && r.Punct('.') &&
        r.Name(&pSpec->index) && r.Punct('(') && ParseOptions(r, &pSpec->bTrigram) && r.Word("on") &&
        r.Name(&pSpec->table) && r.Punct('(') && r.Name(&pSpec->column) && ParseOrders(r, pSpec))) {
    return false;
  }
  if (r.Word("condition")) {
    pSpec->condition = r.UntilClose();
    if (pSpec->condition.find_first_not_of(" \t\r\n") == std::string::npos) {
      return false;
    }
  }
  return r.Punct(')') && r.AtEnd();
}

// "DROP FULLTEXT INDEX G" or "DROP FULLTEXT INDEX G.I".
bool ParseDrop(std::string_view text, std::string* pGroup, std::string* pIndex) {
  SyntaxReader r(text);
  if (!(r.Word("drop") && r.Word("fulltext") && r.Word("index") && r.Name(pGroup))) {
    return false;
  }
  if (r.Punct('.') && !r.Name(pIndex)) {
    return false;
  }
  return r.AtEnd();
}

struct TableColumns {
  std::vector<std::string> names;  // lower case
  std::string rowidColumn;         // the INTEGER PRIMARY KEY column, or empty
};

bool ReadColumns(const std::string& table, TableColumns* pOut) {
  StmtLease lease = Connection::Instance().PrepareDialect("PRAGMA table_info(" + Ident(table) + ")", kWho);
  if (!lease) {
    return false;
  }
  const int rc = RunToEnd(lease.Get(), kWho, [&](sqlite3_stmt* p) {
    const std::string name = ToLowerAscii(reinterpret_cast<const char*>(sqlite3_column_text(p, 1)));
    const unsigned char* pszType = sqlite3_column_text(p, 2);
    if (sqlite3_column_int(p, 5) == 1 && pszType != nullptr &&
        EqualsNoCase(reinterpret_cast<const char*>(pszType), "INTEGER")) {
      pOut->rowidColumn = name;
    }
    pOut->names.push_back(name);
  });
  return rc == SQLITE_DONE && !pOut->names.empty();
}

bool HasColumn(const TableColumns& columns, const std::string& name) {
  return std::find(columns.names.begin(), columns.names.end(), ToLowerAscii(name)) != columns.names.end();
}

// The condition with the table's columns prefixed by "<qualifier>."; the columns met are added
// to pUsed.
std::string Qualify(const std::string& condition, const TableColumns& columns, const char* pszQualifier,
                    std::vector<std::string>* pUsed) {
  std::vector<Token> tokens = Tokenize(condition);
  const Token* pPrev = nullptr;
  for (Token& t : tokens) {
    if (t.kind == TokenKind::Word && HasColumn(columns, t.text) && !(pPrev != nullptr && pPrev->text == ".")) {
      if (pUsed != nullptr) {
        pUsed->push_back(ToLowerAscii(t.text));
      }
      t.text = std::string(pszQualifier) + "." + t.text;
    }
    if (t.kind != TokenKind::Space) {
      pPrev = &t;
    }
  }
  std::string out;
  for (const Token& t : tokens) {
    out += t.text;
  }
  return out;
}

template <typename F>
bool InSavepoint(F f) {
  Connection& conn = Connection::Instance();
  if (!conn.BeginWrite(kWho, "SAVEPOINT db2fts") || !conn.ExecSqlite("SAVEPOINT db2fts", kWho)) {
    return false;
  }
  if (f()) {
    return conn.ExecSqlite("RELEASE db2fts", kWho);
  }
  conn.ExecSqlite("ROLLBACK TO db2fts", kWho);
  conn.ExecSqlite("RELEASE db2fts", kWho);
  return false;
}

bool ExecAll(const std::vector<std::string>& statements) {
  Connection& conn = Connection::Instance();
  return std::all_of(statements.begin(), statements.end(),
                     [&](const std::string& sql) { return conn.ExecSqlite(sql.c_str(), kWho); });
}

std::string CatalogueStatement(const FtsIndexInfo& info) {
  return "INSERT INTO sysirs_indexes (groupname, idxname, tablename, colname, ftsname, tokenizer, rowcondition) "
         "VALUES (" +
         Literal(info.group) + ", " + Literal(info.index) + ", " + Literal(info.table) + ", " + Literal(info.column) +
         ", " + Literal(info.ftsTable) + ", " + Literal(info.tokenizer) + ", " + Literal(info.condition) + ")";
}

// A ranked index: catalogue rows first (the initial renumbering reads them), then each order's
// tables, entries and triggers.
std::vector<std::string> RankedIndexStatements(const FtsIndexInfo& info, const std::string& newCond,
                                               const std::string& oldCond, const std::string& updateCols) {
  std::vector<std::string> statements{CatalogueStatement(info)};
  for (const std::string& order : info.orders) {
    statements.push_back("INSERT INTO sysirs_orders (groupname, idxname, ordercol, rangecol) VALUES (" +
                         Literal(info.group) + ", " + Literal(info.index) + ", " + Literal(order) + ", " +
                         Literal(info.rangeColumn) + ")");
  }
  sqlite3* pDb = Connection::Instance().Db();
  for (const std::string& column : info.orders) {
    const RankedOrder order{info.ftsTable, info.table,       info.column,
                            info.condition, column, info.rangeColumn, ColumnCollation(pDb, info.table, column)};
    const std::vector<std::string> more = RankedCreateStatements(order, newCond, oldCond, updateCols);
    statements.insert(statements.end(), more.begin(), more.end());
  }
  return statements;
}

// The statements that build one index: FTS table, its initial rows, triggers, catalogue row.
std::vector<std::string> CreateStatements(const FtsIndexInfo& info, const TableColumns& columns) {
  std::vector<std::string> updateOf{ToLowerAscii(info.column)};
  const bool bCond = !info.condition.empty();
  const std::string newCond = bCond ? "(" + Qualify(info.condition, columns, "new", &updateOf) + ")" : "1";
  const std::string oldCond = bCond ? "(" + Qualify(info.condition, columns, "old", nullptr) + ")" : "1";
  if (!columns.rowidColumn.empty()) {
    updateOf.push_back(columns.rowidColumn);
  }
  updateOf.insert(updateOf.end(), info.orders.begin(), info.orders.end());
  if (!info.rangeColumn.empty()) {
    updateOf.push_back(info.rangeColumn);
  }
  std::sort(updateOf.begin(), updateOf.end());
  updateOf.erase(std::unique(updateOf.begin(), updateOf.end()), updateOf.end());
  std::string updateCols;
  for (const std::string& c : updateOf) {
    updateCols += (updateCols.empty() ? "" : ", ") + Ident(c);
  }
  if (info.IsRanked()) {
    return RankedIndexStatements(info, newCond, oldCond, updateCols);
  }
  const std::string fts = Ident(info.ftsTable);
  const std::string table = Ident(info.table);
  const std::string col = Ident(info.column);
  const std::string insertNew = "INSERT INTO " + fts + " (rowid, " + col + ") ";
  const std::string deleteOld = "INSERT INTO " + fts + " (" + fts + ", rowid, " + col + ") ";
  const std::string options = info.IsTrigram()
                                  ? "tokenize = 'trigram'"
                                  : std::string("tokenize = '") + kWordTokenizer + "', prefix = '1 2 3'";
  return {
      "CREATE VIRTUAL TABLE " + fts + " USING fts5(" + col + ", content = " + Literal(info.table) +
          ", content_rowid = 'rowid', " + options + ")",
      insertNew + "SELECT rowid, " + col + " FROM " + table + (bCond ? " WHERE (" + info.condition + ")" : ""),
      "CREATE TRIGGER " + Ident(info.ftsTable + "_ai") + " AFTER INSERT ON " + table + " WHEN " + newCond +
          " BEGIN " + insertNew + "VALUES (new.rowid, new." + col + "); END",
      "CREATE TRIGGER " + Ident(info.ftsTable + "_ad") + " AFTER DELETE ON " + table + " WHEN " + oldCond +
          " BEGIN " + deleteOld + "VALUES ('delete', old.rowid, old." + col + "); END",
      "CREATE TRIGGER " + Ident(info.ftsTable + "_au") + " AFTER UPDATE OF " + updateCols + " ON " + table +
          " BEGIN " + deleteOld + "SELECT 'delete', old.rowid, old." + col + " WHERE " + oldCond + "; " +
          insertNew + "SELECT new.rowid, new." + col + " WHERE " + newCond + "; END",
      CatalogueStatement(info)};
}

bool CreateIndex(const CreateRequest& request) {
  FtsIndexInfo info;
  info.group = ToLowerAscii(request.group);
  info.index = ToLowerAscii(request.index);
  if (FindFtsIndex(info.group, info.index, &info)) {
    DbgPrint(DBG_CLASS_FAIL, "%s - index %s.%s already exists\n", kWho, info.group.c_str(), info.index.c_str());
    return false;
  }
  TableColumns columns;
  auto ordersKnown = [&] {
    return std::all_of(request.orders.begin(), request.orders.end(),
                       [&](const std::string& c) { return HasColumn(columns, c); }) &&
           (request.rangeColumn.empty() || HasColumn(columns, request.rangeColumn));
  };
  if (!ReadColumns(request.table, &columns) || !HasColumn(columns, request.column) || !ordersKnown()) {
    DbgPrint(DBG_CLASS_FAIL, "%s - no column %s in table %s\n", kWho, request.column.c_str(), request.table.c_str());
    return false;
  }
  info.table = ToLowerAscii(request.table);
  info.column = ToLowerAscii(request.column);
  info.ftsTable = "fts_" + info.group + "_" + info.index;
  info.tokenizer = request.bTrigram ? "trigram" : kWordTokenizer;
  info.orders = request.orders;
  info.rangeColumn = request.rangeColumn;
  info.condition = request.condition.empty() ? std::string() : TranslateDialect(request.condition);
  return InSavepoint([&] { return ExecAll(CreateStatements(info, columns)); });
}

struct CatalogueRow {
  std::string group;
  std::string index;
  std::string ftsTable;
};

// The catalogue rows whose column pszColumn (groupname or tablename) equals value, and whose
// index is the given one when it is not empty.
std::vector<CatalogueRow> RowsWhere(const char* pszColumn, const std::string& value, const std::string& index) {
  std::vector<CatalogueRow> rows;
  const std::string sql = std::string("SELECT groupname, idxname, ftsname FROM sysirs_indexes WHERE ") + pszColumn +
                          " = ?1 AND (?2 = '' OR idxname = ?2)";
  StmtLease lease = Connection::Instance().PrepareDialect(sql, kWho);
  if (!lease) {
    return rows;
  }
  sqlite3_bind_text(lease.Get(), 1, value.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(lease.Get(), 2, index.c_str(), -1, SQLITE_TRANSIENT);
  RunToEnd(lease.Get(), kWho, [&](sqlite3_stmt* p) {
    auto text = [p](int i) { return std::string(reinterpret_cast<const char*>(sqlite3_column_text(p, i))); };
    rows.push_back(CatalogueRow{text(0), text(1), text(2)});
  });
  return rows;
}

bool DropIndexes(const std::vector<CatalogueRow>& rows) {
  std::vector<std::string> statements;
  for (const CatalogueRow& row : rows) {
    const std::vector<RankedOrder> orders = ReadRankedOrders(Connection::Instance().Db(), row.group, row.index);
    std::vector<std::string> tables{row.ftsTable};
    if (!orders.empty()) {
      tables.clear();
      for (const RankedOrder& order : orders) {
        tables.push_back(order.FtsTable());
      }
    }
    for (const std::string& table : tables) {
      const std::vector<std::string> drops = RankedDropStatements(table);
      statements.insert(statements.end(), drops.begin(), drops.end());
    }
    const std::string key = " WHERE groupname = " + Literal(row.group) + " AND idxname = " + Literal(row.index);
    statements.push_back("DELETE FROM sysirs_indexes" + key);
    if (!orders.empty()) {
      statements.push_back("DELETE FROM sysirs_orders" + key);
    }
  }
  return rows.empty() || InSavepoint([&] { return ExecAll(statements); });
}

}  // namespace

bool FindFtsIndex(std::string_view group, std::string_view index, FtsIndexInfo* pOut) {
  StmtLease lease = Connection::Instance().PrepareDialect(
      "SELECT groupname, idxname, tablename, colname, ftsname, tokenizer, rowcondition FROM sysirs_indexes "
      "WHERE groupname = ? AND idxname = ?",
      "Db2FTS");
  if (!lease) {
    return false;
  }
  const std::string lowerGroup = ToLowerAscii(group);
  const std::string lowerIndex = ToLowerAscii(index);
  sqlite3_bind_text(lease.Get(), 1, lowerGroup.c_str(), -1, SQLITE_STATIC);
  sqlite3_bind_text(lease.Get(), 2, lowerIndex.c_str(), -1, SQLITE_STATIC);
  bool bFound = false;
  RunToEnd(lease.Get(), "Db2FTS", [&](sqlite3_stmt* p) {
    auto text = [p](int i) { return std::string(reinterpret_cast<const char*>(sqlite3_column_text(p, i))); };
    *pOut = FtsIndexInfo{text(0), text(1), text(2), text(3), text(4), text(5), text(6), {}, {}};
    bFound = true;
  });
  if (bFound) {
    for (const RankedOrder& order : ReadRankedOrders(Connection::Instance().Db(), lowerGroup, lowerIndex)) {
      pOut->orders.push_back(order.orderColumn);
      pOut->rangeColumn = order.rangeColumn;
    }
  }
  return bFound;
}

std::string QualifyCondition(const FtsIndexInfo& info, const char* pszQualifier) {
  TableColumns columns;
  if (info.condition.empty() || !ReadColumns(info.table, &columns)) {
    return info.condition;
  }
  return Qualify(info.condition, columns, pszQualifier, nullptr);
}

void DropTableIndexes(const std::string& table) {
  const std::vector<CatalogueRow> rows = RowsWhere("tablename", ToLowerAscii(table), std::string());
  if (!rows.empty() && DropIndexes(rows)) {
    DbgPrint(DBG_CLASS_TRACE, "Db2 - dropped %zu full-text index(es) of table %s\n", rows.size(), table.c_str());
  }
}

}  // namespace zel::db2

using namespace zel::db2;

extern "C" int Db2FTSDoSyntax(const char* pszStatement, int /*nFlags*/) {
  if (!ZEL_REQUIRE(pszStatement != NULL)) {
    return FALSE;
  }
  Connection& conn = Connection::Instance();
  Guard guard(conn.Mutex());
  if (conn.Db() == nullptr) {
    ReportFailure(kWho, "no database", pszStatement, nullptr);
    return FALSE;
  }
  CreateRequest request;
  if (ParseCreate(pszStatement, &request)) {
    return CreateIndex(request) ? TRUE : FALSE;
  }
  std::string group;
  std::string index;
  if (ParseDrop(pszStatement, &group, &index)) {
    const std::vector<CatalogueRow> rows = RowsWhere("groupname", ToLowerAscii(group), ToLowerAscii(index));
    if (rows.empty()) {
      DbgPrint(DBG_CLASS_TRACE, "%s - no full-text index in %s\n", kWho, pszStatement);
    }
    return DropIndexes(rows) ? TRUE : FALSE;
  }
  DbgPrint(DBG_CLASS_FAIL, "%s - unknown statement(%s)\n", kWho, pszStatement);
  return FALSE;
}
