// A second connection to a store file, as another process (or the next start) sees it: texts and
// numbers of one-value queries, with "<error>" / -1 when the query fails.
#ifndef CTSVC_TEST_STORE_READER_H
#define CTSVC_TEST_STORE_READER_H

#include <sqlite3.h>

#include <cstdlib>
#include <string>

namespace ctsvc_test {

class StoreReader {
 public:
  explicit StoreReader(const std::string& strPath) { sqlite3_open(strPath.c_str(), &m_pDb); }
  ~StoreReader() { sqlite3_close(m_pDb); }
  StoreReader(const StoreReader&) = delete;
  StoreReader& operator=(const StoreReader&) = delete;
  std::string Text(const char* pszSql) const {
    sqlite3_stmt* pStmt = nullptr;
    std::string text = "<error>";
    if (sqlite3_prepare_v2(m_pDb, pszSql, -1, &pStmt, nullptr) == SQLITE_OK && sqlite3_step(pStmt) == SQLITE_ROW) {
      const unsigned char* psz = sqlite3_column_text(pStmt, 0);
      text = psz != nullptr ? reinterpret_cast<const char*>(psz) : "NULL";
    }
    sqlite3_finalize(pStmt);
    return text;
  }
  int Int(const char* pszSql) const {
    const std::string text = Text(pszSql);
    return text == "<error>" ? -1 : std::atoi(text.c_str());
  }

 private:
  sqlite3* m_pDb = nullptr;
};

}  // namespace ctsvc_test

#endif
