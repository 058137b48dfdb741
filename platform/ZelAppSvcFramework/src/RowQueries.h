// Small queries the framework runs itself on the platform database.
#ifndef ZEL_FW_ROW_QUERIES_H
#define ZEL_FW_ROW_QUERIES_H

#include <string>
#include <vector>

#include "ContentFramework.h"

namespace zel::content {

// Runs a statement whose first column is an integer and collects it from every row.
bool QueryInts(const std::string& strSql, const std::vector<std::u16string>& vcArgs, std::vector<int>& vcOut);
// The integer of the first column of the first row, or -1.
int QueryInt(const std::string& strSql, const std::vector<std::u16string>& vcArgs);
// The ordered row ids of a filter over a table.
bool LoadRowIds(const std::string& strTable, const std::string& strIdColumn, const CContentFilter& filter,
                std::vector<int>& vcIds);

}  // namespace zel::content

#endif
