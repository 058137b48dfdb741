// Prepared statements behind the Db2Stmt handles.
#ifndef ZEL_DB2_STATEMENT_H
#define ZEL_DB2_STATEMENT_H

#include <vector>

#include "RowStore.h"
#include "StmtCache.h"
#include "ZelDb2.h"

namespace zel::db2 {

class Statement {
 public:
  explicit Statement(StmtLease lease);

  // Binds the parameter fields and runs the statement (see Db2StmtExecute).
  int Execute();
  // Runs the statement handing column 0 of every row to pfnRow (see Db2StmtExecuteInts).
  int ExecuteInts(void (*pfnRow)(void*, INT32), void* pContext);
  int NextRow();
  int Seek(int nWhence, int nRow);
  void ClearRows();
  bool IsCurrent() const;  // made on the open connection

  std::vector<Db2Field>& Params() { return m_params; }
  std::vector<Db2Field>& Results() { return m_results; }
  int ParamCount() const { return m_nParams; }
  int ResultCount() const { return m_nResults; }

 private:
  bool BindAll();
  bool Bind(int nIndex, const Db2Field& field);

  StmtLease m_lease;
  int m_nParams;
  int m_nResults;
  std::vector<Db2Field> m_params;   // at least one element, so the arrays are never null
  std::vector<Db2Field> m_results;
  std::vector<char> m_dateColumns;  // 1 for a column declared DATETIME
  RowStore m_rows;
  int m_nCursor = 0;
};

// Destroys every statement handle; called while the connection closes.
void ReleaseAllStatements();

}  // namespace zel::db2

#endif
