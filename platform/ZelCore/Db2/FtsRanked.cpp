// Ranked full-text indexes: the tables and triggers of one order column, renumbering, and the
// SQL function the triggers call when a new value finds no gap between its neighbours.
#include "FtsRanked.h"

#include <string>
#include <vector>

#include "FtsTokenizer.h"
#include "ZelDebug.h"

namespace zel::db2 {

namespace {

const char kWho[] = "Db2FTSRank";

std::string Ident(const std::string& name) { return QuotedSql(name, '"'); }

// The two low bits of an entry: the range column's value when it is 0, 1 or 2, else 3.
std::string KeyBits(const RankedOrder& o, const std::string& row) {
  if (o.rangeColumn.empty()) {
    return "0";
  }
  const std::string k = row + "." + Ident(o.rangeColumn);
  return "(CASE WHEN " + k + " IN (0, 1, 2) THEN " + k + " ELSE 3 END)";
}

// The rowid of the entry of row ("new", "old" or the table's name): its rank from the rank table.
std::string EntryRowId(const RankedOrder& o, const std::string& row) {
  return "((coalesce((SELECT rank FROM " + Ident(o.RankTable()) + " WHERE name = " + row + "." +
         Ident(o.orderColumn) + "), 0) << 34) | (" + row + ".rowid << 2) | " + KeyBits(o, row) + ")";
}

// Statements adding the entry of row "new" when cond holds: room for its value (renumbering when
// the neighbours' ranks are adjacent), its rank, its entry. No statement may meet a conflict: an
// outer INSERT OR REPLACE would turn an INSERT OR IGNORE here into a replacement of the rank.
std::string AddEntry(const RankedOrder& o, const std::string& cond) {
  const std::string r = Ident(o.RankTable());
  const std::string v = "new." + Ident(o.orderColumn);
  const std::string lo = "coalesce((SELECT rank FROM " + r + " WHERE name < " + v + " ORDER BY name DESC LIMIT 1), 0)";
  const std::string hi = "coalesce((SELECT rank FROM " + r + " WHERE name > " + v + " ORDER BY name LIMIT 1), " +
                         std::to_string(kRankLimit) + ")";
  return "SELECT db2_rank_renumber(" + QuotedSql(o.FtsTable(), '\'') + ", new.rowid) WHERE " + cond + " AND " + v +
         " IS NOT NULL AND NOT EXISTS (SELECT 1 FROM " + r + " WHERE name = " + v + ") AND " + hi + " - " + lo +
         " < 2; INSERT INTO " + r + " (name, rank) SELECT " + v + ", (" + lo + " + " + hi + ") / 2 WHERE " + cond +
         " AND " + v + " IS NOT NULL AND NOT EXISTS (SELECT 1 FROM " + r + " WHERE name = " + v + "); INSERT INTO " + Ident(o.FtsTable()) + " (rowid, " + Ident(o.column) +
         ") SELECT " + EntryRowId(o, "new") + ", new." + Ident(o.column) + " WHERE " + cond + ";";
}

std::string DeleteEntry(const RankedOrder& o, const std::string& cond) {
  const std::string f = Ident(o.FtsTable());
  return "INSERT INTO " + f + " (" + f + ", rowid, " + Ident(o.column) + ") SELECT 'delete', " +
         EntryRowId(o, "old") + ", old." + Ident(o.column) + " WHERE " + cond + ";";
}

bool Exec(sqlite3* pDb, const std::string& sql) {
  if (sqlite3_exec(pDb, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    DbgPrint(DBG_CLASS_FAIL, "%s - %s : %s\n", kWho, sql.c_str(), sqlite3_errmsg(pDb));
    return false;
  }
  return true;
}

long long Count(sqlite3* pDb, const std::string& sql) {
  sqlite3_stmt* pStmt = nullptr;
  long long n = -1;
  if (sqlite3_prepare_v2(pDb, sql.c_str(), -1, &pStmt, nullptr) == SQLITE_OK && sqlite3_step(pStmt) == SQLITE_ROW) {
    n = sqlite3_column_int64(pStmt, 0);
  }
  sqlite3_finalize(pStmt);
  return n;
}

std::string Text(sqlite3_stmt* p, int i) {
  const unsigned char* psz = sqlite3_column_text(p, i);
  return psz != nullptr ? reinterpret_cast<const char*>(psz) : "";
}

void RenumberFunction(sqlite3_context* pContext, int /*nArgs*/, sqlite3_value** ppArgs) {
  sqlite3* pDb = sqlite3_context_db_handle(pContext);
  const unsigned char* pszFts = sqlite3_value_text(ppArgs[0]);
  const std::string fts = pszFts != nullptr ? reinterpret_cast<const char*>(pszFts) : "";
  for (const RankedOrder& order : ReadRankedOrders(pDb, std::string(), std::string())) {
    if (order.FtsTable() == fts) {
      if (RenumberRanks(pDb, order, sqlite3_value_int64(ppArgs[1]))) {
        sqlite3_result_int(pContext, 1);
      } else {
        sqlite3_result_error(pContext, "renumbering the ranks failed", -1);
      }
      return;
    }
  }
  sqlite3_result_error(pContext, "no ranked full-text index of that name", -1);
}

}  // namespace

std::string QuotedSql(const std::string& text, char cQuote) {
  std::string out(1, cQuote);
  for (char c : text) {
    out += c;
    if (c == cQuote) {
      out += cQuote;
    }
  }
  return out + cQuote;
}

std::string RankedRowId(const char* pszRowid) { return std::string("((") + pszRowid + " >> 2) & 4294967295)"; }

std::vector<std::string> RankedCreateStatements(const RankedOrder& o, const std::string& newCond,
                                                const std::string& oldCond, const std::string& updateCols) {
  const std::string f = Ident(o.FtsTable());
  const std::string t = Ident(o.table);
  return {
      "CREATE TABLE " + Ident(o.RankTable()) + " (name TEXT PRIMARY KEY COLLATE " + o.collation +
          ", rank INTEGER NOT NULL) WITHOUT ROWID",
      "CREATE VIRTUAL TABLE " + f + " USING fts5(" + Ident(o.column) + ", content = '', detail = none, " +
          "columnsize = 0, tokenize = '" + kWordTokenizer + "', prefix = '1 2 3')",
      "SELECT db2_rank_renumber(" + QuotedSql(o.FtsTable(), '\'') + ", -1)",
      "CREATE TRIGGER " + Ident(o.FtsTable() + "_ai") + " AFTER INSERT ON " + t + " BEGIN " + AddEntry(o, newCond) +
          " END",
      "CREATE TRIGGER " + Ident(o.FtsTable() + "_ad") + " AFTER DELETE ON " + t + " BEGIN " + DeleteEntry(o, oldCond) +
          " END",
      "CREATE TRIGGER " + Ident(o.FtsTable() + "_au") + " AFTER UPDATE OF " + updateCols + " ON " + t + " BEGIN " +
          DeleteEntry(o, oldCond) + " " + AddEntry(o, newCond) + " END",
  };
}

std::vector<std::string> RankedDropStatements(const std::string& ftsTable) {
  std::vector<std::string> statements;
  for (const char* pszSuffix : {"_ai", "_ad", "_au"}) {
    statements.push_back("DROP TRIGGER IF EXISTS " + Ident(ftsTable + pszSuffix));
  }
  statements.push_back("DROP TABLE IF EXISTS " + Ident(ftsTable));
  statements.push_back("DROP TABLE IF EXISTS " + Ident(ftsTable + "_rank"));
  return statements;
}

std::string ColumnCollation(sqlite3* pDb, const std::string& table, const std::string& column) {
  const char* pszCollation = nullptr;
  if (sqlite3_table_column_metadata(pDb, "main", table.c_str(), column.c_str(), nullptr, &pszCollation, nullptr,
                                    nullptr, nullptr) == SQLITE_OK &&
      pszCollation != nullptr) {
    return pszCollation;
  }
  return "BINARY";
}

bool IsRowIdAlias(sqlite3* pDb, const std::string& table, const std::string& column) {
  const char* pszType = nullptr;
  int nPrimaryKey = 0;
  return sqlite3_table_column_metadata(pDb, "main", table.c_str(), column.c_str(), &pszType, nullptr, nullptr,
                                       &nPrimaryKey, nullptr) == SQLITE_OK &&
         nPrimaryKey != 0 && pszType != nullptr && sqlite3_stricmp(pszType, "INTEGER") == 0;
}

std::vector<RankedOrder> ReadRankedOrders(sqlite3* pDb, const std::string& group, const std::string& index) {
  std::vector<RankedOrder> orders;
  sqlite3_stmt* pStmt = nullptr;
  if (sqlite3_prepare_v2(pDb,
                         "SELECT i.ftsname, i.tablename, i.colname, i.rowcondition, o.ordercol, o.rangecol "
                         "FROM sysirs_orders AS o JOIN sysirs_indexes AS i USING (groupname, idxname) "
                         "WHERE (?1 = '' OR o.groupname = ?1) AND (?2 = '' OR o.idxname = ?2) "
                         "ORDER BY o.groupname, o.idxname, o.ordercol",
                         -1, &pStmt, nullptr) != SQLITE_OK) {
    sqlite3_finalize(pStmt);
    return orders;  // a store without the catalogue has no ranked index
  }
  sqlite3_bind_text(pStmt, 1, group.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(pStmt, 2, index.c_str(), -1, SQLITE_TRANSIENT);
  while (sqlite3_step(pStmt) == SQLITE_ROW) {
    RankedOrder o{Text(pStmt, 0), Text(pStmt, 1), Text(pStmt, 2), Text(pStmt, 3), Text(pStmt, 4), Text(pStmt, 5), ""};
    o.collation = ColumnCollation(pDb, o.table, o.orderColumn);
    orders.push_back(std::move(o));
  }
  sqlite3_finalize(pStmt);
  return orders;
}

bool RenumberRanks(sqlite3* pDb, const RankedOrder& o, long long nSkipRowId) {
  const std::string t = Ident(o.table);
  const std::string r = Ident(o.RankTable());
  const std::string f = Ident(o.FtsTable());
  const std::string where = " WHERE " + (o.condition.empty() ? std::string("1") : "(" + o.condition + ")");
  const std::string values = "SELECT DISTINCT " + Ident(o.orderColumn) + " AS name FROM " + t + where + " AND " +
                             Ident(o.orderColumn) + " IS NOT NULL";
  const long long nValues = Count(pDb, "SELECT count(*) FROM (" + values + ")");
  if (nValues < 0 || nValues >= kRankLimit / 2) {
    DbgPrint(DBG_CLASS_FAIL, "%s - cannot rank %lld values of %s\n", kWho, nValues, o.FtsTable().c_str());
    return false;
  }
  const long long nGap = kRankLimit / (nValues + 1);
  const bool bOk =
      Exec(pDb, "DELETE FROM " + r + " WHERE rank >= 0") &&
      Exec(pDb, "INSERT INTO " + r + " (name, rank) SELECT name, row_number() OVER (ORDER BY name COLLATE " +
                    o.collation + ") * " + std::to_string(nGap) + " FROM (" + values + ")") &&
      Exec(pDb, "INSERT INTO " + f + " (" + f + ") VALUES ('delete-all')") &&
      Exec(pDb, "INSERT INTO " + f + " (rowid, " + Ident(o.column) + ") SELECT " + EntryRowId(o, t) + ", " + t + "." +
                    Ident(o.column) + " FROM " + t + where + " AND " + t + ".rowid IS NOT " + std::to_string(nSkipRowId));
  if (bOk) {
    DbgPrint(DBG_CLASS_TRACE, "%s - %s renumbered: %lld values, %lld apart\n", kWho, o.FtsTable().c_str(), nValues,
             nGap);
  }
  return bOk;
}

bool RebuildRankedIndexes(sqlite3* pDb) {
  for (const RankedOrder& order : ReadRankedOrders(pDb, std::string(), std::string())) {
    if (!RenumberRanks(pDb, order, -1)) {
      return false;
    }
  }
  return true;
}

bool RegisterRankFunctions(sqlite3* pDb) {
  return sqlite3_create_function_v2(pDb, "db2_rank_renumber", 2, SQLITE_UTF8, nullptr, RenumberFunction, nullptr,
                                    nullptr, nullptr) == SQLITE_OK;
}

}  // namespace zel::db2
