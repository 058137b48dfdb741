// Row-id and count queries run directly on the platform database.
#include "RowQueries.h"

#include "Db2Statement.h"
#include "SqlText.h"
#include "ZelDebug.h"

namespace zel::content {

bool QueryInts(const std::string& strSql, const std::vector<std::u16string>& vcArgs, std::vector<int>& vcOut) {
  vcOut.clear();
  CDb2Statement stmt(strSql);
  if (!stmt.BindText16(vcArgs)) {
    return false;
  }
  const int nRows = stmt.Execute();
  if (nRows < 0) {
    return false;
  }
  vcOut.reserve(static_cast<size_t>(nRows));
  while (stmt.Fetch()) {
    int32_t nValue = 0;
    if (!stmt.GetInt(0, nValue)) {
      DbgPrint(DBG_CLASS_FAIL, "QueryInts - a row without an integer(%s)\n", strSql.c_str());
      return false;
    }
    vcOut.push_back(nValue);
  }
  return true;
}

int QueryInt(const std::string& strSql, const std::vector<std::u16string>& vcArgs) {
  std::vector<int> vcValues;
  if (!QueryInts(strSql, vcArgs, vcValues) || vcValues.empty()) {
    return -1;
  }
  return vcValues.front();
}

bool LoadRowIds(const std::string& strTable, const std::string& strIdColumn, const CContentFilter& filter,
                std::vector<int>& vcIds) {
  if (strTable.empty() || strIdColumn.empty()) {
    DbgPrint(DBG_CLASS_FAIL, "LoadRowIds - no table(%s) or ID column(%s)\n", strTable.c_str(), strIdColumn.c_str());
    vcIds.clear();
    return false;
  }
  return QueryInts(MakeIdSelect(strTable, strIdColumn, filter), filter.GetWhereArg(), vcIds);
}

}  // namespace zel::content
