// A prepared statement of the platform database that is cleared and destroyed, in that order,
// when it goes out of scope, and the storage that keeps bound values alive until it executes.
#ifndef CTSVC_DB2_STMT_H
#define CTSVC_DB2_STMT_H

#include <deque>
#include <string>
#include <vector>

#include "ContentFramework.h"
#include "ZelDb2.h"

class CCtSvcDb2Stmt {
 public:
  explicit CCtSvcDb2Stmt(const std::string& strSql) : m_hStmt(Db2StmtCreate(strSql.c_str())) {}
  // Adopts a statement kept elsewhere (mass-insert cache): neither cleared nor destroyed here.
  static CCtSvcDb2Stmt Borrow(int hStmt) { return CCtSvcDb2Stmt(hStmt, false); }
  ~CCtSvcDb2Stmt() { Reset(); }
  CCtSvcDb2Stmt(CCtSvcDb2Stmt&& other) noexcept : m_hStmt(other.m_hStmt), m_bOwned(other.m_bOwned) {
    other.m_hStmt = -1;
  }
  CCtSvcDb2Stmt& operator=(CCtSvcDb2Stmt&&) = delete;
  CCtSvcDb2Stmt(const CCtSvcDb2Stmt&) = delete;
  CCtSvcDb2Stmt& operator=(const CCtSvcDb2Stmt&) = delete;

  bool IsValid() const { return m_hStmt >= 0; }
  int Get() const { return m_hStmt; }
  void Reset() {
    if (m_hStmt >= 0 && m_bOwned) {
      Db2StmtClearRow(m_hStmt);
      Db2StmtDestroy(m_hStmt);
    }
    m_hStmt = -1;
  }

 private:
  CCtSvcDb2Stmt(int hStmt, bool bOwned) : m_hStmt(hStmt), m_bOwned(bOwned) {}
  int m_hStmt;
  bool m_bOwned = true;
};

// Fills a statement's parameter fields in order from typed values; keeps their buffers alive.
class CCtSvcStmtBinder {
 public:
  explicit CCtSvcStmtBinder(int hStmt);
  bool BindText(const std::u16string& strValue);
  bool BindInt(int32_t nValue);
  bool BindDateTime(const TmDateTime& dtValue);
  bool BindNull();
  bool BindValue(const CContentValue& value);
  int GetBoundCount() const { return m_nNext; }

 private:
  Db2Field* _Next();

  Db2Field* m_pFields;
  int m_nCount;
  int m_nNext = 0;
  std::deque<std::u16string> m_texts;
  std::deque<int32_t> m_ints;
  std::deque<TmDateTime> m_dates;
};

// Reads the current row of an executed query into a content row.
void CtSvcReadRow(int hStmt, CContent& content);

#endif
