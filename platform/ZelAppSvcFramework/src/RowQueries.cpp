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
  // The values go straight into the vector: a list of 100 000 ids is not kept twice.
  const int nRows = Db2StmtExecuteInts(
      stmt.GetHandle(), [](void* p, INT32 nValue) { static_cast<std::vector<int>*>(p)->push_back(nValue); }, &vcOut);
  if (nRows < 0) {
    DbgPrint(DBG_CLASS_FAIL, "QueryInts - failed(%s): %s\n", strSql.c_str(), Db2GetLastError());
    vcOut.clear();
    return false;
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
