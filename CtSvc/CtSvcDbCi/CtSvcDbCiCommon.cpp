#include "CtSvcDbCiCommon.h"

#include "CtSvcDB/CfPlugin/CtSvcDb2Stmt.h"
#include "ZelDb2.h"

bool CtSvcQueryIntRows(const std::string& strSql, const std::vector<std::u16string>& vcArgs, int nColumns,
                       std::vector<std::vector<int>>& vcRows, int nMaxRows) {
  vcRows.clear();
  CCtSvcDb2Stmt stmt(strSql);
  if (!stmt.IsValid()) {
    return false;
  }
  CCtSvcStmtBinder binder(stmt.Get());
  for (const std::u16string& strArg : vcArgs) {
    if (!binder.BindText(strArg)) {
      return false;
    }
  }
  const int nRows = Db2StmtExecute(stmt.Get());
  if (nRows < 0) {
    return false;
  }
  for (int i = 0; i < nRows && (nMaxRows < 0 || i < nMaxRows); ++i) {
    if (Db2StmtGetNextRow(stmt.Get()) <= 0) {
      return false;
    }
    CContent row;
    CtSvcReadRow(stmt.Get(), row);
    std::vector<int> vcValues(static_cast<size_t>(nColumns), 0);
    for (int c = 0; c < nColumns; ++c) {
      int32_t nValue = 0;
      row.GetInt(c, nValue);
      vcValues[static_cast<size_t>(c)] = nValue;
    }
    vcRows.push_back(vcValues);
  }
  return true;
}

int CtSvcQueryInt(const std::string& strSql, const std::vector<std::u16string>& vcArgs) {
  std::vector<std::vector<int>> vcRows;
  if (!CtSvcQueryIntRows(strSql, vcArgs, 1, vcRows, 1) || vcRows.empty()) {
    return -1;
  }
  return vcRows[0][0];
}
