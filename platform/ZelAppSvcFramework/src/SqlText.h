// Statement texts built by the framework from table names, ID columns and filters.
#ifndef ZEL_FW_SQL_TEXT_H
#define ZEL_FW_SQL_TEXT_H

#include <string>
#include <vector>

#include "ContentFramework.h"

namespace zel::content {

std::string JoinNames(const std::vector<std::string>& vcNames);  // "a, b, c"
std::string JoinIds(const std::vector<int>& vcIds);              // "1, 2, 3"
std::string MakeSetValues(const std::vector<std::string>& vcNames);  // "a = ?, b = ?"

// A where clause may end in " LIMIT n" or " LIMIT a, b" (so that it can bound a count or a
// delete). Splits it into the condition and the limit ("LIMIT n"); the limit is empty when the
// clause has none.
void SplitTrailingLimit(const std::string& strWhere, std::string& strCondition, std::string& strLimit);

// "SELECT count(*) FROM t[ WHERE w]", nothing else appended.
std::string MakeCountSelect(const std::string& strTable, const std::string& strWhere);
// Prefixes every order term whose column is unqualified: "NAME DESC, ID" -> "T.NAME DESC, T.ID".
std::string QualifyOrderBy(const std::string& strOrderBy, const std::string& strTable);
// "SELECT <id> FROM t[ WHERE c][ ORDER BY o][ LIMIT ...]": the ordered row ids of a filter; the
// index hint is left out and a limit of the where clause is placed after the order. Over joined
// tables ("A,B" with the ID column "A.ID") unqualified order terms belong to the ID's table.
std::string MakeIdSelect(const std::string& strTable, const std::string& strIdColumn, const CContentFilter& filter);
// "<id> IN (ids)[ AND (c)]" where c is the where clause without its limit.
std::string MakeIdInWhere(const std::string& strIdColumn, const std::vector<int>& vcIds, const std::string& strWhere);
// The where clause that reads rows of a list by id: "<id> IN (ids)" for a block, or "<id> = ?" for
// one row whose id is bound before the filter's arguments; then the filter's condition c (without
// its limit). Over one table c is kept as " AND +(c)": SQLite then finds the rows by id instead of
// scanning an index that a column of c leads (an equality on a column of few values looks more
// selective to it than a list of ids). Over joined tables c also joins them and stays " AND (c)".
std::string MakeRowReadWhere(const std::string& strIdColumn, const std::vector<int>& vcIds, const std::string& strWhere,
                             bool bJoined);

// Column names compare without regard to case, and "T.C" matches "C".
bool SameColumn(const std::string& strA, const std::string& strB);

}  // namespace zel::content

#endif
