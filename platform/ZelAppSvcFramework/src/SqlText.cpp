// Statement texts of the framework.
#include "SqlText.h"

#include <algorithm>
#include <cctype>
#include <strings.h>

namespace zel::content {

namespace {

template <typename T, typename Format>
std::string Join(const std::vector<T>& vcItems, Format format) {
  std::string strOut;
  for (size_t i = 0; i < vcItems.size(); ++i) {
    if (i > 0) {
      strOut += ", ";
    }
    strOut += format(vcItems[i]);
  }
  return strOut;
}

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Moves nPos back over blanks; returns the new position (one past the last non-blank).
size_t SkipBlanksBack(const std::string& s, size_t nPos) {
  while (nPos > 0 && IsBlank(s[nPos - 1])) {
    --nPos;
  }
  return nPos;
}

// Moves nPos back over digits; returns the new position.
size_t SkipDigitsBack(const std::string& s, size_t nPos) {
  while (nPos > 0 && IsDigit(s[nPos - 1])) {
    --nPos;
  }
  return nPos;
}

std::string Unqualified(const std::string& strName) {
  const size_t nDot = strName.rfind('.');
  return nDot == std::string::npos ? strName : strName.substr(nDot + 1);
}

}  // namespace

std::string JoinNames(const std::vector<std::string>& vcNames) {
  return Join(vcNames, [](const std::string& s) { return s; });
}

std::string JoinIds(const std::vector<int>& vcIds) {
  return Join(vcIds, [](int n) { return std::to_string(n); });
}

std::string MakeSetValues(const std::vector<std::string>& vcNames) {
  return Join(vcNames, [](const std::string& s) { return s + " = ?"; });
}

void SplitTrailingLimit(const std::string& strWhere, std::string& strCondition, std::string& strLimit) {
  strCondition = strWhere;
  strLimit.clear();
  // From the end: digits [blanks ',' blanks digits] blanks "LIMIT" blank.
  size_t nPos = SkipBlanksBack(strWhere, strWhere.size());
  size_t nDigits = SkipDigitsBack(strWhere, nPos);
  if (nDigits == nPos) {
    return;
  }
  nPos = SkipBlanksBack(strWhere, nDigits);
  if (nPos > 0 && strWhere[nPos - 1] == ',') {
    nPos = SkipBlanksBack(strWhere, nPos - 1);
    nDigits = SkipDigitsBack(strWhere, nPos);
    if (nDigits == nPos) {
      return;
    }
    nPos = SkipBlanksBack(strWhere, nDigits);
  }
  static const char kLimit[] = "LIMIT";
  const size_t nWord = sizeof(kLimit) - 1;
  if (nPos == nDigits || nPos < nWord + 1 || !IsBlank(strWhere[nPos - nWord - 1]) ||
      strncasecmp(strWhere.c_str() + nPos - nWord, kLimit, nWord) != 0) {
    return;
  }
  const size_t nEnd = SkipBlanksBack(strWhere, nPos - nWord);
  strLimit = strWhere.substr(nPos - nWord);
  strLimit.erase(SkipBlanksBack(strLimit, strLimit.size()));
  strCondition = strWhere.substr(0, nEnd);
}

std::string MakeCountSelect(const std::string& strTable, const std::string& strWhere) {
  std::string strSql = "SELECT count(*) FROM " + strTable;
  if (!strWhere.empty()) {
    strSql += " WHERE " + strWhere;
  }
  return strSql;
}

std::string QualifyOrderBy(const std::string& strOrderBy, const std::string& strTable) {
  std::string strOut;
  size_t nStart = 0;
  int nDepth = 0;
  for (size_t i = 0; i <= strOrderBy.size(); ++i) {
    const char c = i < strOrderBy.size() ? strOrderBy[i] : ',';
    nDepth += c == '(' ? 1 : (c == ')' ? -1 : 0);
    if (c != ',' || nDepth > 0) {
      continue;
    }
    std::string strTerm = strOrderBy.substr(nStart, i - nStart);
    const size_t nFirst = strTerm.find_first_not_of(" \t");
    if (nFirst != std::string::npos) {
      const size_t nEnd = std::min(strTerm.find_first_of(" \t", nFirst), strTerm.size());
      const std::string strColumn = strTerm.substr(nFirst, nEnd - nFirst);
      if (strColumn.find_first_of(".(") == std::string::npos && !IsDigit(strColumn[0])) {
        strTerm.insert(nFirst, strTable + ".");
      }
    }
    strOut += strTerm;
    if (i < strOrderBy.size()) {
      strOut += ',';
    }
    nStart = i + 1;
  }
  return strOut;
}

std::string MakeIdSelect(const std::string& strTable, const std::string& strIdColumn, const CContentFilter& filter) {
  std::string strCondition;
  std::string strLimit;
  SplitTrailingLimit(filter.GetWhere(), strCondition, strLimit);
  std::string strSql = "SELECT " + strIdColumn + " FROM " + strTable;
  if (!strCondition.empty()) {
    strSql += " WHERE " + strCondition;
  }
  if (!filter.GetOrderBy().empty()) {
    const size_t nDot = strIdColumn.rfind('.');
    const bool bJoined = strTable.find(',') != std::string::npos && nDot != std::string::npos;
    strSql += " ORDER BY " +
              (bJoined ? QualifyOrderBy(filter.GetOrderBy(), strIdColumn.substr(0, nDot)) : filter.GetOrderBy());
  }
  if (!strLimit.empty()) {
    strSql += " " + strLimit;
  }
  return strSql;
}

std::string MakeIdInWhere(const std::string& strIdColumn, const std::vector<int>& vcIds, const std::string& strWhere) {
  std::string strCondition;
  std::string strLimit;
  SplitTrailingLimit(strWhere, strCondition, strLimit);
  std::string strOut = strIdColumn + " IN (" + JoinIds(vcIds) + ")";
  if (!strCondition.empty()) {
    strOut += " AND (" + strCondition + ")";
  }
  return strOut;
}

std::string MakeRowReadWhere(const std::string& strIdColumn, const std::vector<int>& vcIds, const std::string& strWhere,
                             bool bJoined) {
  std::string strCondition;
  std::string strLimit;
  SplitTrailingLimit(strWhere, strCondition, strLimit);
  std::string strOut = strIdColumn + (vcIds.empty() ? " = ?" : " IN (" + JoinIds(vcIds) + ")");
  if (!strCondition.empty()) {
    strOut += (bJoined ? " AND (" : " AND +(") + strCondition + ")";
  }
  return strOut;
}

bool SameColumn(const std::string& strA, const std::string& strB) {
  if (strcasecmp(strA.c_str(), strB.c_str()) == 0) {
    return true;
  }
  // Two qualified names must match whole; otherwise the column parts decide.
  const bool bQualifiedA = strA.find('.') != std::string::npos;
  const bool bQualifiedB = strB.find('.') != std::string::npos;
  return !(bQualifiedA && bQualifiedB) && strcasecmp(Unqualified(strA).c_str(), Unqualified(strB).c_str()) == 0;
}

}  // namespace zel::content
