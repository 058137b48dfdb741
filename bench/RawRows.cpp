#include "RawRows.h"

namespace ctsvc_bench {

namespace {

// The contact tables the service writes; the letter counts are written by the store's triggers.
std::vector<std::string> ContactTables(const RawDb& db) {
  RawStmt stmt(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name LIKE 'CtSvc%' AND name <> "
                   "'CtSvcPrimaryLetterCount' ORDER BY rowid");
  std::vector<std::string> vcNames;
  while (sqlite3_step(stmt.Get()) == SQLITE_ROW) {
    vcNames.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.Get(), 0)));
  }
  return vcNames;
}

}  // namespace

std::vector<TableRows> ReadAddedRows(const std::string& strStore, const std::string& strEmptyStore) {
  RawDb db(strStore);
  db.Exec("ATTACH DATABASE '" + strEmptyStore + "' AS empty");
  std::vector<TableRows> vcTables;
  for (const std::string& strTable : ContactTables(db)) {
    RawStmt stmt(db, "SELECT * FROM main." + strTable + " WHERE rowid NOT IN (SELECT rowid FROM empty." + strTable +
                         ") ORDER BY rowid");
    TableRows rows;
    rows.strTable = strTable;
    rows.nColumns = sqlite3_column_count(stmt.Get());
    while (sqlite3_step(stmt.Get()) == SQLITE_ROW) {
      for (int i = 0; i < rows.nColumns; ++i) {
        rows.vcValues.emplace_back(sqlite3_value_dup(sqlite3_column_value(stmt.Get(), i)));
      }
    }
    vcTables.push_back(std::move(rows));
  }
  db.Exec("DETACH DATABASE empty");
  return vcTables;
}

void WriteRows(const RawDb& db, const std::vector<TableRows>& vcTables) {
  db.Exec("BEGIN IMMEDIATE");
  for (const TableRows& rows : vcTables) {
    if (rows.Rows() == 0) {
      continue;
    }
    std::string strSql = "INSERT INTO " + rows.strTable + " VALUES (?";
    for (int i = 1; i < rows.nColumns; ++i) {
      strSql += ", ?";
    }
    RawStmt stmt(db, strSql + ")");
    for (size_t nRow = 0; nRow < rows.Rows(); ++nRow) {
      for (int i = 0; i < rows.nColumns; ++i) {
        sqlite3_bind_value(stmt.Get(), i + 1, rows.vcValues[nRow * static_cast<size_t>(rows.nColumns) + i].get());
      }
      stmt.Drain();
    }
  }
  db.Exec("COMMIT");
}

}  // namespace ctsvc_bench
