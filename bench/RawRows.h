// The rows a generated address book adds to an empty store, read back with plain SQLite and
// written again to a copy of the empty store: the raw limit of the whole-contact insert.
#ifndef CTSVC_BENCH_RAW_ROWS_H
#define CTSVC_BENCH_RAW_ROWS_H

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "BenchEnv.h"

namespace ctsvc_bench {

struct ValueFree {
  void operator()(sqlite3_value* p) const { sqlite3_value_free(p); }
};
using Value = std::unique_ptr<sqlite3_value, ValueFree>;

struct TableRows {
  std::string strTable;
  int nColumns = 0;
  std::vector<Value> vcValues;  // row after row
  size_t Rows() const { return nColumns > 0 ? vcValues.size() / static_cast<size_t>(nColumns) : 0; }
};

// Every row of the contact tables of strStore that strEmptyStore does not hold.
std::vector<TableRows> ReadAddedRows(const std::string& strStore, const std::string& strEmptyStore);

// Writes the rows table by table in one transaction, one prepared statement per table.
void WriteRows(const RawDb& db, const std::vector<TableRows>& vcTables);

}  // namespace ctsvc_bench

#endif
