// Materialised result rows.
#include "RowStore.h"

#include <cstring>

#include "DateText.h"

namespace zel::db2 {

void RowStore::Reset(int nColumns) {
  m_cells.clear();
  m_data.clear();
  m_nColumns = nColumns;
  m_nRows = 0;
}

uint32_t RowStore::Put(const void* pData, size_t nBytes, size_t nZeros) {
  const size_t nOffset = (m_data.size() + 7) & ~static_cast<size_t>(7);
  m_data.resize(nOffset + nBytes + nZeros);
  if (nBytes > 0) {
    std::memcpy(m_data.data() + nOffset, pData, nBytes);
  }
  std::memset(m_data.data() + nOffset + nBytes, 0, nZeros);
  return static_cast<uint32_t>(nOffset);
}

RowStore::Cell RowStore::ReadCell(sqlite3_stmt* pStmt, int nColumn, bool bDate) {
  switch (sqlite3_column_type(pStmt, nColumn)) {
    case SQLITE_INTEGER: {
      const sqlite3_int64 nValue = sqlite3_column_int64(pStmt, nColumn);
      if (nValue >= INT32_MIN && nValue <= INT32_MAX) {
        const INT32 n32 = static_cast<INT32>(nValue);
        return Cell{DB2_FIELD_INT32, Put(&n32, sizeof(n32), 0), sizeof(n32)};
      }
      const INT64 n64 = nValue;
      return Cell{DB2_FIELD_INT64, Put(&n64, sizeof(n64), 0), sizeof(n64)};
    }
    case SQLITE_FLOAT: {
      const double d = sqlite3_column_double(pStmt, nColumn);
      return Cell{DB2_FIELD_DOUBLE, Put(&d, sizeof(d), 0), sizeof(d)};
    }
    case SQLITE_TEXT: {
      TmDateTime dt{};
      if (bDate) {
        const char* psz = reinterpret_cast<const char*>(sqlite3_column_text(pStmt, nColumn));
        const int n = sqlite3_column_bytes(pStmt, nColumn);
        if (psz != nullptr && ParseDateTimeText(std::string_view(psz, static_cast<size_t>(n)), &dt)) {
          return Cell{DB2_FIELD_DATETIME, Put(&dt, sizeof(dt), 0), sizeof(dt)};
        }
      }
      const void* p = sqlite3_column_text16(pStmt, nColumn);
      const int n = sqlite3_column_bytes16(pStmt, nColumn);
      return Cell{DB2_FIELD_TEXT16, Put(p, static_cast<size_t>(n), sizeof(MCHAR)), n};
    }
    case SQLITE_BLOB: {
      const void* p = sqlite3_column_blob(pStmt, nColumn);
      const int n = sqlite3_column_bytes(pStmt, nColumn);
      return Cell{DB2_FIELD_BLOB, Put(p, static_cast<size_t>(n), 0), n};
    }
    default:
      return Cell{DB2_FIELD_NULL, 0, 0};
  }
}

void RowStore::Append(sqlite3_stmt* pStmt, const std::vector<char>& dateColumns) {
  const int nAvailable = sqlite3_column_count(pStmt);
  for (int i = 0; i < m_nColumns; ++i) {
    const bool bDate = static_cast<size_t>(i) < dateColumns.size() && dateColumns[static_cast<size_t>(i)] != 0;
    m_cells.push_back(i < nAvailable ? ReadCell(pStmt, i, bDate) : Cell{DB2_FIELD_NULL, 0, 0});
  }
  ++m_nRows;
}

void RowStore::Fill(int nRow, Db2Field* pFields) {
  const Cell* pCells = m_cells.data() + static_cast<size_t>(nRow) * static_cast<size_t>(m_nColumns);
  for (int i = 0; i < m_nColumns; ++i) {
    const Cell& cell = pCells[i];
    pFields[i].nType = cell.nType;
    pFields[i].pBuffer = cell.nType == DB2_FIELD_NULL ? nullptr : m_data.data() + cell.nOffset;
    pFields[i].nLength = cell.nLength;
  }
}

}  // namespace zel::db2
