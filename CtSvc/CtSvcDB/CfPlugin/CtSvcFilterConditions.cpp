#include "CtSvcDB/CfPlugin/CtSvcFilterConditions.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcFilter.h"
#include "ZelDb2.h"
#include "ZelGWESCore.h"

namespace {

std::string VFormat(const char* szFormat, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int nLength = std::vsnprintf(nullptr, 0, szFormat, copy);
  va_end(copy);
  if (nLength <= 0) {
    return std::string();
  }
  std::string strOut(static_cast<size_t>(nLength) + 1, '\0');
  std::vsnprintf(&strOut[0], strOut.size(), szFormat, args);
  strOut.resize(static_cast<size_t>(nLength));
  return strOut;
}

const char* NameOrEmpty(const char* psz) { return psz != nullptr ? psz : ""; }

}  // namespace

CCtSvcDbTable* CtSvcGetFilterTable(int nTableType) { return CCtSvcDbMgr::Instance()->GetDBTable(nTableType); }

std::string CtSvcFormat(const char* szFormat, ...) {
  va_list args;
  va_start(args, szFormat);
  std::string strOut = VFormat(szFormat, args);
  va_end(args);
  return strOut;
}

std::u16string CtSvcToPCode(const char* pszText) {
  if (pszText == nullptr || *pszText == '\0') {
    return std::u16string();
  }
  // A UTF-8 text never needs more 16-bit units than it has bytes.
  const size_t nUnits = std::strlen(pszText) + 1;
  std::u16string strOut(nUnits, u'\0');
  const int nWritten = WmConvert2PCode(&strOut[0], static_cast<int>(nUnits), pszText);
  strOut.resize(nWritten > 0 ? static_cast<size_t>(nWritten) : 0);
  return strOut;
}

std::string CtSvcMakeLikePattern(const char* pszValue, int nTruncation, int nEscapeSize) {
  std::vector<char> vcEscaped(static_cast<size_t>(nEscapeSize > 0 ? nEscapeSize : 1), '\0');
  Db2ConvertStringLike(NameOrEmpty(pszValue), vcEscaped.data(), static_cast<int>(vcEscaped.size()));
  const std::string strEscaped(vcEscaped.data());
  switch (nTruncation) {
    case CTSVC_FILTER_TRUNCATION_EXACT:
      return strEscaped;
    case CTSVC_FILTER_TRUNCATION_SUFFIX:
      return "%" + strEscaped;
    case CTSVC_FILTER_TRUNCATION_CONTAINS:
      return "%" + strEscaped + "%";
    case CTSVC_FILTER_TRUNCATION_PREFIX:
    default:
      return strEscaped + "%";
  }
}

CCtSvcFilterConditions::CCtSvcFilterConditions(int nTableType)
    : m_pTable(CtSvcGetFilterTable(nTableType)) {}

const char* CCtSvcFilterConditions::TableName() const {
  return m_pTable != nullptr ? m_pTable->GetTableName() : "";
}

const char* CCtSvcFilterConditions::ColumnName(int nColumn) const {
  return m_pTable != nullptr ? NameOrEmpty(m_pTable->GetColumnName(nColumn)) : "";
}

std::string CCtSvcFilterConditions::Column(int nColumn) const {
  return CtSvcFormat("%s.%s", TableName(), ColumnName(nColumn));
}

std::string CCtSvcFilterConditions::Column(int nTableType, int nColumn) {
  return CCtSvcFilterConditions(nTableType).Column(nColumn);
}

void CCtSvcFilterConditions::AddIntForm(const char* szForm, int nColumn, int nValue) {
  _Append(CtSvcFormat(szForm, TableName(), ColumnName(nColumn), nValue));
}

void CCtSvcFilterConditions::AddColumnForm(const char* szForm, int nColumn) {
  _Append(CtSvcFormat(szForm, TableName(), ColumnName(nColumn)));
}

void CCtSvcFilterConditions::AddArgForm(const char* szForm, int nColumn, const std::u16string& strArg) {
  AddCondition(CtSvcFormat(szForm, TableName(), ColumnName(nColumn)), {strArg});
}

void CCtSvcFilterConditions::AddTextEqual(int nColumn, const char* pszValue) {
  AddArgForm("%s.%s = ?", nColumn, CtSvcToPCode(pszValue));
}

void CCtSvcFilterConditions::AddTextMatch(int nColumn, const char* pszValue, int nTruncation, int nEscapeSize) {
  if (nTruncation == CTSVC_FILTER_TRUNCATION_EXACT) {
    AddTextEqual(nColumn, pszValue);
    return;
  }
  AddLike(nColumn, pszValue, nTruncation, nEscapeSize);
}

void CCtSvcFilterConditions::AddLike(int nColumn, const char* pszValue, int nTruncation, int nEscapeSize) {
  const std::string strPattern = CtSvcMakeLikePattern(pszValue, nTruncation, nEscapeSize);
  AddArgForm("%s.%s like ?", nColumn, CtSvcToPCode(strPattern.c_str()));
}

void CCtSvcFilterConditions::AddTextIn(int nColumn, const std::vector<std::u16string>& vcValues) {
  if (vcValues.empty()) {
    return;
  }
  if (vcValues.size() == 1) {
    AddArgForm("%s.%s = ?", nColumn, vcValues.front());
    return;
  }
  std::string strMarks;
  for (size_t i = 0; i < vcValues.size(); ++i) {
    strMarks += i == 0 ? "?" : ", ?";
  }
  AddCondition(CtSvcFormat("%s.%s IN (%s)", TableName(), ColumnName(nColumn), strMarks.c_str()), vcValues);
}

void CCtSvcFilterConditions::AddSubSelect(int nColumn, int nSubTable, int nSubColumn, int nSubWhereColumn,
                                          int nValue) {
  const CCtSvcFilterConditions sub(nSubTable);
  if (nSubWhereColumn < 0) {
    _Append(CtSvcFormat("%s.%s IN ( select %s.%s from %s )", TableName(), ColumnName(nColumn), sub.TableName(),
                        sub.ColumnName(nSubColumn), sub.TableName()));
    return;
  }
  _Append(CtSvcFormat("%s.%s IN ( select %s.%s from %s where %s.%s = %d )", TableName(), ColumnName(nColumn),
                      sub.TableName(), sub.ColumnName(nSubColumn), sub.TableName(), sub.TableName(),
                      sub.ColumnName(nSubWhereColumn), nValue));
}

void CCtSvcFilterConditions::AddCondition(const std::string& strCondition, const std::vector<std::u16string>& vcArgs) {
  _Append(strCondition);
  m_vcArgs.insert(m_vcArgs.end(), vcArgs.begin(), vcArgs.end());
}

void CCtSvcFilterConditions::_Append(const std::string& strCondition) {
  if (!m_strWhere.empty()) {
    m_strWhere += " and ";
  }
  m_strWhere += strCondition;
}

int CCtSvcFilterConditions::_FindIndexLedBy(int nColumn) const {
  const std::string strColumn = ColumnName(nColumn);
  for (int i = 0; m_pTable != nullptr && !strColumn.empty() && i < m_pTable->GetIndexCount(); ++i) {
    const std::string strList = NameOrEmpty(m_pTable->GetIndexColumns(i));
    const size_t nEnd = strList.find_first_of(", ");
    if (strList.substr(0, nEnd) == strColumn) {
      return i;
    }
  }
  return -1;
}

void CCtSvcFilterConditions::SetHintForColumn(int nColumn) {
  const int nIndex = _FindIndexLedBy(nColumn);
  if (nIndex >= 0) {
    m_strHint = NameOrEmpty(m_pTable->GetIndexName(nIndex));
  }
}

void CCtSvcFilterConditions::SetIndexOrderForColumn(int nColumn, bool bQualify) {
  const int nIndex = _FindIndexLedBy(nColumn);
  if (nIndex < 0) {
    return;
  }
  m_strHint = NameOrEmpty(m_pTable->GetIndexName(nIndex));
  const std::string strList = NameOrEmpty(m_pTable->GetIndexColumns(nIndex));
  if (!bQualify) {
    m_strOrderBy = strList;
    return;
  }
  // "A, B, C" -> "Table.A, Table.B, Table.C"
  m_strOrderBy.clear();
  size_t nPos = 0;
  while (nPos < strList.size()) {
    size_t nComma = strList.find(',', nPos);
    if (nComma == std::string::npos) {
      nComma = strList.size();
    }
    std::string strTerm = strList.substr(nPos, nComma - nPos);
    strTerm.erase(0, strTerm.find_first_not_of(' '));
    strTerm.erase(strTerm.find_last_not_of(' ') + 1);
    if (!strTerm.empty()) {
      m_strOrderBy += (m_strOrderBy.empty() ? "" : ", ") + std::string(TableName()) + "." + strTerm;
    }
    nPos = nComma + 1;
  }
}

void CCtSvcFilterConditions::ApplyTo(CContentFilter& filter) const {
  filter.SetWhere(m_strWhere);
  filter.SetWhereArg(m_vcArgs);
  if (!m_strOrderBy.empty()) {
    filter.SetOrderBy(m_strOrderBy);
  }
  if (!m_strHint.empty()) {
    filter.SetHint(m_strHint);
  }
}
