// A prepared statement of the platform database that is always cleared and then destroyed when
// its guard goes out of scope, for handlers and lists that run their own statements.
#ifndef ZEL_DB2_STATEMENT_H
#define ZEL_DB2_STATEMENT_H

#include <cstdint>
#include <string>
#include <vector>

#include "ZelDb2.h"

class CDb2Statement {
 public:
  // Prepares the statement; a failure is logged and leaves the guard invalid.
  explicit CDb2Statement(const std::string& strSql);
  ~CDb2Statement();
  CDb2Statement(const CDb2Statement&) = delete;
  CDb2Statement& operator=(const CDb2Statement&) = delete;

  bool IsValid() const { return m_hStmt >= 0; }
  int GetHandle() const { return m_hStmt; }

  // Binds the texts as 16-bit text to the parameters from nFirstParam on. The texts are not
  // copied: they must stay alive and unchanged until Execute.
  bool BindText16(const std::vector<std::u16string>& vcArgs, int nFirstParam = 0);
  // Result rows of a query or rows changed by a write; negative on failure (logged).
  int Execute();
  // Fetches the next result row; false when there is none.
  bool Fetch();
  // Integer value of a column of the fetched row; false for NULL, a bad index or a non-number.
  bool GetInt(int nColumn, int32_t& nValue) const;

 private:
  int m_hStmt = -1;
  std::string m_strSql;
};

// Binds texts as 16-bit text to the parameters of a statement handle from nFirstParam on (the
// texts must outlive the execution); false when the statement has too few parameters.
bool Db2BindText16(int hStmt, const std::vector<std::u16string>& vcArgs, int nFirstParam = 0);
// Integer value of a result field (INT32, INT64 within range, DOUBLE or decimal text).
bool Db2FieldGetInt(const Db2Field& field, int32_t& nValue);

#endif
