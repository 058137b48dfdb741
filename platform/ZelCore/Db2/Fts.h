// Full-text indexes: "create fulltext index G.I (options) on T (column [condition c])" makes an
// external-content FTS5 table over T kept up to date by triggers on T (only rows meeting the
// condition are indexed), and a row in the catalogue sysirs_indexes. A word index written
// "(column order by O1, O2 [range K] [condition c])" is ranked instead (FtsRanked.h): one
// contentless FTS table per order column, whose entries come in that column's order. Dropping a group, or the
// content table, removes its FTS tables and catalogue rows.
#ifndef ZEL_DB2_FTS_H
#define ZEL_DB2_FTS_H

#include <string>
#include <string_view>
#include <vector>

namespace zel::db2 {

struct FtsIndexInfo {
  std::string group;      // lower case
  std::string index;      // lower case
  std::string table;      // the content table, lower case
  std::string column;     // the indexed column
  std::string ftsTable;   // the FTS5 table
  std::string tokenizer;  // "simplex" or "trigram"
  std::string condition;  // SQLite condition on the content table's columns, or empty
  // A ranked index (FtsRanked.h): its order columns (lower case) and range column. ftsTable is
  // then the base name of the per-order tables.
  std::vector<std::string> orders;
  std::string rangeColumn;

  bool IsTrigram() const { return tokenizer == "trigram"; }
  bool IsRanked() const { return !orders.empty(); }
  // The FTS table a search of the index reads when it is not served in a ranked order.
  std::string SearchTable() const { return IsRanked() ? ftsTable + "_" + orders[0] : ftsTable; }
};

// The catalogue row of group.index (compared in lower case); FALSE when there is none.
// Caller holds the connection mutex.
bool FindFtsIndex(std::string_view group, std::string_view index, FtsIndexInfo* pOut);

// The condition with every column of the content table prefixed by "<qualifier>.".
std::string QualifyCondition(const FtsIndexInfo& info, const char* pszQualifier);

// Removes the full-text indexes whose content table was dropped. Caller holds the mutex.
void DropTableIndexes(const std::string& table);

}  // namespace zel::db2

#endif
