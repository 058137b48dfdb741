// The rows of an executed statement, read completely so that the row count is exact and any row
// can be revisited. Values are kept in one buffer; Fill points result fields at one row.
#ifndef ZEL_DB2_ROW_STORE_H
#define ZEL_DB2_ROW_STORE_H

#include <sqlite3.h>

#include <cstdint>
#include <vector>

#include "ZelDb2.h"

namespace zel::db2 {

class RowStore {
 public:
  // Empties the store (keeping its memory) for rows of nColumns columns.
  void Reset(int nColumns);
  // Copies the current row of pStmt. Text of a column marked in dateColumns is read as a date.
  void Append(sqlite3_stmt* pStmt, const std::vector<char>& dateColumns);
  int Rows() const { return m_nRows; }
  // Points pFields (one per column) at the values of row nRow.
  void Fill(int nRow, Db2Field* pFields);

 private:
  struct Cell {
    Db2FieldType nType;
    uint32_t nOffset;
    int32_t nLength;
  };
  // Stores nBytes (plus nZeros terminating zero bytes) 8-byte aligned; returns the offset.
  uint32_t Put(const void* pData, size_t nBytes, size_t nZeros);
  Cell ReadCell(sqlite3_stmt* pStmt, int nColumn, bool bDate);

  std::vector<Cell> m_cells;
  std::vector<char> m_data;
  int m_nColumns = 0;
  int m_nRows = 0;
};

}  // namespace zel::db2

#endif
