// lower(), DATE_FORMAT() and the user1 collation (the name order of ZelCollate.h).
#include "SqlFunctions.h"

#include <unicode/ustring.h>

#include <cstdio>
#include <cstring>

#include "DateText.h"
#include "ZelCollate.h"

namespace zel::db2 {

namespace {

// lower(x): full Unicode lower-casing (root locale). NULL stays NULL.
void LowerFunction(sqlite3_context* pCtx, int /*nArgs*/, sqlite3_value** ppArgs) {
  if (sqlite3_value_type(ppArgs[0]) == SQLITE_NULL) {
    sqlite3_result_null(pCtx);
    return;
  }
  const UChar* pSrc = static_cast<const UChar*>(sqlite3_value_text16(ppArgs[0]));
  const int32_t nSrc = sqlite3_value_bytes16(ppArgs[0]) / 2;
  thread_local std::u16string t_buffer;
  for (int nAttempt = 0; nAttempt < 2; ++nAttempt) {
    UErrorCode err = U_ZERO_ERROR;
    t_buffer.resize(t_buffer.size() < static_cast<size_t>(nSrc) + 1 ? static_cast<size_t>(nSrc) + 1 : t_buffer.size());
    const int32_t n = u_strToLower(t_buffer.data(), static_cast<int32_t>(t_buffer.size()), pSrc, nSrc, "", &err);
    if (U_SUCCESS(err)) {
      sqlite3_result_text16(pCtx, t_buffer.data(), n * 2, SQLITE_TRANSIENT);
      return;
    }
    if (err != U_BUFFER_OVERFLOW_ERROR) {
      break;
    }
    t_buffer.resize(static_cast<size_t>(n) + 1);
  }
  sqlite3_result_error(pCtx, "lower: text cannot be converted", -1);
}

std::string_view TextOf(sqlite3_value* pValue) {
  const char* psz = reinterpret_cast<const char*>(sqlite3_value_text(pValue));
  return psz != nullptr ? std::string_view(psz, static_cast<size_t>(sqlite3_value_bytes(pValue))) : std::string_view();
}

void DateFormatFunction(sqlite3_context* pCtx, int /*nArgs*/, sqlite3_value** ppArgs) {
  if (sqlite3_value_type(ppArgs[0]) == SQLITE_NULL || sqlite3_value_type(ppArgs[1]) == SQLITE_NULL) {
    sqlite3_result_null(pCtx);
    return;
  }
  std::string out;
  if (!FormatDate(TextOf(ppArgs[0]), TextOf(ppArgs[1]), &out)) {
    sqlite3_result_null(pCtx);
    return;
  }
  sqlite3_result_text(pCtx, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

// The name order on the store's big-endian UTF-16 text.
int CompareNames(void* /*pArg*/, int nA, const void* pA, int nB, const void* pB) {
  return ZelCollateCompareBE(pA, nA, pB, nB);
}

}  // namespace

bool FormatDate(std::string_view value, std::string_view format, std::string* pOut) {
  TmDateTime dt{};
  if (!ParseDateTimeText(value, &dt)) {
    return false;
  }
  pOut->clear();
  size_t i = 0;
  while (i < format.size()) {
    size_t j = i;
    while (j < format.size() && format[j] == '%') {
      ++j;
    }
    const char c = j < format.size() ? format[j] : '\0';
    if (j > i && (c == 'Y' || c == 'M' || c == 'D')) {
      char sz[16];
      std::snprintf(sz, sizeof(sz), c == 'Y' ? "%04d" : "%02d", c == 'Y' ? dt.year : (c == 'M' ? dt.month : dt.day));
      *pOut += sz;
      i = j + 1;
    } else {
      const size_t nCopy = j > i ? j - i : 1;
      pOut->append(format.substr(i, nCopy));
      i += nCopy;
    }
  }
  return true;
}

bool RegisterSqlFunctions(sqlite3* pDb) {
  const int nFlags = SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
  return sqlite3_create_function_v2(pDb, "lower", 1, SQLITE_UTF16 | nFlags, nullptr, LowerFunction, nullptr, nullptr,
                                    nullptr) == SQLITE_OK &&
         sqlite3_create_function_v2(pDb, "DATE_FORMAT", 2, SQLITE_UTF8 | nFlags, nullptr, DateFormatFunction, nullptr,
                                    nullptr, nullptr) == SQLITE_OK &&
         sqlite3_create_collation_v2(pDb, "user1", SQLITE_UTF16BE, nullptr, CompareNames, nullptr) == SQLITE_OK;
}

}  // namespace zel::db2
