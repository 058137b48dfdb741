// Ranked full-text indexes: a word index whose entries are kept in the order of one or more
// columns of the content table, so that a search reads its hits in that order straight from the
// index, without looking each hit up in the content table or sorting them.
//
// Per order column O of an index "fts_g_i" over the content table T (column C, optional condition
// and range column K):
// - the rank table "fts_g_i_O_rank" (name PRIMARY KEY in O's collation, rank): one rank per
//   distinct value of O, increasing in O's order, with gaps between neighbours;
// - the contentless FTS5 table "fts_g_i_O" (detail=none, columnsize=0, prefix='1 2 3') over C whose
//   rowid is (rank << 34) | (T.rowid << 2) | key, key being K when it is 0, 1 or 2 and 3 otherwise.
//   "MATCH ? ORDER BY rowid" returns the hits in O's order, ties by T.rowid, and a range of K
//   within 0-2 is a test of the rowid's two low bits.
// Triggers on T keep both up to date inside the writer's transaction, that is under the store's
// write lock, so every process sees ranks and entries that agree. A new value takes the middle of
// the gap between its neighbours; when there is none, db2_rank_renumber spreads the ranks evenly
// again and refills the FTS table (every entry's rowid changes). A value no row holds any more
// keeps its rank until the next renumbering. A NULL value has rank 0, before every value. The
// content table's rowids must lie in [0, 2^32).
#ifndef ZEL_DB2_FTS_RANKED_H
#define ZEL_DB2_FTS_RANKED_H

#include <sqlite3.h>

#include <string>
#include <vector>

namespace zel::db2 {

// Ranks lie in [1, kRankLimit): 29 bits above the 34 of row id and key.
inline constexpr long long kRankLimit = 1LL << 29;

struct RankedOrder {
  std::string ftsBase;      // "fts_g_i"
  std::string table;        // content table
  std::string column;       // indexed column
  std::string condition;    // on the content table's columns, or empty
  std::string orderColumn;  // lower case
  std::string rangeColumn;  // lower case, or empty
  std::string collation;    // of the order column ("BINARY" when none is declared)

  std::string FtsTable() const { return ftsBase + "_" + orderColumn; }
  std::string RankTable() const { return FtsTable() + "_rank"; }
};

// Catalogue of the order columns of ranked indexes (one row per index and order column).
inline constexpr char kCreateRankedCatalogue[] =
    "CREATE TABLE IF NOT EXISTS sysirs_orders (groupname TEXT NOT NULL, idxname TEXT NOT NULL, "
    "ordercol TEXT NOT NULL, rangecol TEXT NOT NULL DEFAULT '', PRIMARY KEY (groupname, idxname, ordercol))";

// text between cQuote characters, inner ones doubled: an SQL identifier ('"') or literal ('\'').
std::string QuotedSql(const std::string& text, char cQuote);

// The T.rowid of an entry of a ranked FTS table whose rowid is pszRowid.
std::string RankedRowId(const char* pszRowid);

// The statements making the tables, initial entries and triggers of one order. newCond and
// oldCond are the row condition qualified by "new." / "old." (or "1"); updateCols the columns whose
// change moves an entry.
std::vector<std::string> RankedCreateStatements(const RankedOrder& order, const std::string& newCond,
                                                const std::string& oldCond, const std::string& updateCols);
std::vector<std::string> RankedDropStatements(const std::string& ftsTable);

// The declared collation of a column ("BINARY" when none is declared).
std::string ColumnCollation(sqlite3* pDb, const std::string& table, const std::string& column);

// TRUE when the column is the table's INTEGER PRIMARY KEY, that is its rowid.
bool IsRowIdAlias(sqlite3* pDb, const std::string& table, const std::string& column);

// The orders of the ranked indexes of the store (all when group is empty), read on pDb.
std::vector<RankedOrder> ReadRankedOrders(sqlite3* pDb, const std::string& group, const std::string& index);

// Spreads the ranks of one order evenly and refills its FTS table from the content rows, except
// the row nSkipRowId (the row a trigger is about to add). Logs how many values it ranked.
bool RenumberRanks(sqlite3* pDb, const RankedOrder& order, long long nSkipRowId);

// Renumbers every ranked order of the store (a new name order or a new tokenizer).
bool RebuildRankedIndexes(sqlite3* pDb);

// db2_rank_renumber(fts table, skipped rowid), called by the triggers.
bool RegisterRankFunctions(sqlite3* pDb);

}  // namespace zel::db2

#endif
