// Parsing and formatting of the stored DATETIME text.
#include "DateText.h"

#include <cstdio>

namespace zel::db2 {

const char kUnsetDateText[] = "1899-12-31 00:00:00";

namespace {

// Reads 1..nMaxDigits digits at text[pos]; advances pos.
bool ReadNumber(std::string_view text, size_t& pos, size_t nMaxDigits, int* pValue) {
  size_t nDigits = 0;
  int value = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && nDigits < nMaxDigits) {
    value = value * 10 + (text[pos] - '0');
    ++pos;
    ++nDigits;
  }
  *pValue = value;
  return nDigits > 0;
}

bool Expect(std::string_view text, size_t& pos, char c) {
  if (pos < text.size() && text[pos] == c) {
    ++pos;
    return true;
  }
  return false;
}

bool ParseDate(std::string_view text, size_t& pos, TmDateTime* pOut) {
  return ReadNumber(text, pos, 4, &pOut->year) && Expect(text, pos, '-') &&
         ReadNumber(text, pos, 2, &pOut->month) && Expect(text, pos, '-') &&
         ReadNumber(text, pos, 2, &pOut->day);
}

bool ParseTime(std::string_view text, size_t& pos, TmDateTime* pOut) {
  return Expect(text, pos, ' ') && ReadNumber(text, pos, 2, &pOut->hour) && Expect(text, pos, ':') &&
         ReadNumber(text, pos, 2, &pOut->minute) && Expect(text, pos, ':') &&
         ReadNumber(text, pos, 2, &pOut->second);
}

}  // namespace

bool ParseFullDateTimeText(std::string_view text, TmDateTime* pOut) {
  TmDateTime dt{};
  size_t pos = 0;
  if (!ParseDate(text, pos, &dt) || !ParseTime(text, pos, &dt) || pos != text.size()) {
    return false;
  }
  *pOut = dt;
  return true;
}

bool ParseDateTimeText(std::string_view text, TmDateTime* pOut) {
  TmDateTime dt{};
  size_t pos = 0;
  if (!ParseDate(text, pos, &dt)) {
    return false;
  }
  if (pos != text.size() && (!ParseTime(text, pos, &dt) || pos != text.size())) {
    return false;
  }
  *pOut = dt;
  return true;
}

std::string FormatDateTimeText(const TmDateTime& dt) {
  char sz[96];
  std::snprintf(sz, sizeof(sz), "%04d-%02d-%02d %02d:%02d:%02d", dt.year, dt.month, dt.day, dt.hour, dt.minute,
                dt.second);
  return sz;
}

}  // namespace zel::db2
