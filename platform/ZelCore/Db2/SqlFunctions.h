// SQL functions and collations the dialect relies on, registered on every connection:
// lower() (Unicode-aware, replacing the built-in), DATE_FORMAT(value, format) and the
// collation user1 (the platform language's name order, ZelCollate.h).
#ifndef ZEL_DB2_SQL_FUNCTIONS_H
#define ZEL_DB2_SQL_FUNCTIONS_H

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace zel::db2 {

bool RegisterSqlFunctions(sqlite3* pDb);

// DATE_FORMAT on texts: in the format any run of '%' followed by Y, M or D gives the four-digit
// year, two-digit month or two-digit day of the stored date; other characters are copied.
// FALSE when the value is not a date.
bool FormatDate(std::string_view value, std::string_view format, std::string* pOut);

}  // namespace zel::db2

#endif
