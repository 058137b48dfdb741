// Typed values, rows, column inputs and URIs of the content framework.
#include <algorithm>
#include <utility>

#include "ContentFramework.h"

// ---------------------------------------------------------------------------------------------
// CContentValue

CContentValue CContentValue::Int(int32_t n) {
  CContentValue v;
  v.type = ContentValueType::Int;
  v.nInt = n;
  return v;
}

CContentValue CContentValue::Int8(int8_t n) {
  CContentValue v;
  v.type = ContentValueType::Int8;
  v.nInt = n;
  return v;
}

CContentValue CContentValue::String(std::u16string s) {
  CContentValue v;
  v.type = ContentValueType::String;
  v.strValue = std::move(s);
  return v;
}

CContentValue CContentValue::DateTime(const TmDateTime& dt) {
  CContentValue v;
  v.type = ContentValueType::DateTime;
  v.dtValue = dt;
  return v;
}

// ---------------------------------------------------------------------------------------------
// CContent

void CContent::AddFieldData(CContentValue value) { m_vcValues.push_back(std::move(value)); }

void CContent::AddNullField() { m_vcValues.emplace_back(); }

const CContentValue* CContent::GetValue(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetFieldCount()) {
    return nullptr;
  }
  return &m_vcValues[static_cast<size_t>(nIndex)];
}

bool CContent::IsNull(int nIndex) const {
  const CContentValue* pValue = GetValue(nIndex);
  return pValue == nullptr || pValue->type == ContentValueType::Null;
}

bool CContent::GetInt(int nIndex, int32_t& nValue) const {
  const CContentValue* pValue = GetValue(nIndex);
  if (pValue == nullptr || (pValue->type != ContentValueType::Int && pValue->type != ContentValueType::Int8)) {
    return false;
  }
  nValue = pValue->nInt;
  return true;
}

bool CContent::GetInt8(int nIndex, int8_t& nValue) const {
  int32_t n = 0;
  if (!GetInt(nIndex, n) || n < INT8_MIN || n > INT8_MAX) {
    return false;
  }
  nValue = static_cast<int8_t>(n);
  return true;
}

bool CContent::GetString(int nIndex, std::u16string& strValue) const {
  const CContentValue* pValue = GetValue(nIndex);
  if (pValue == nullptr || pValue->type != ContentValueType::String) {
    return false;
  }
  strValue = pValue->strValue;
  return true;
}

bool CContent::GetDateTime(int nIndex, TmDateTime& dtValue) const {
  const CContentValue* pValue = GetValue(nIndex);
  if (pValue == nullptr || pValue->type != ContentValueType::DateTime) {
    return false;
  }
  dtValue = pValue->dtValue;
  return true;
}

// ---------------------------------------------------------------------------------------------
// CContentInput

namespace {

// Replaces the value of a column in place, or appends the column.
void Put(std::vector<std::pair<std::string, CContentValue>>& vcData, const std::string& strColumn,
         CContentValue value) {
  for (auto& entry : vcData) {
    if (entry.first == strColumn) {
      entry.second = std::move(value);
      return;
    }
  }
  vcData.emplace_back(strColumn, std::move(value));
}

}  // namespace

void CContentInput::SetInt(const std::string& strColumn, int32_t nValue) {
  Put(m_vcData, strColumn, CContentValue::Int(nValue));
}

void CContentInput::SetInt8(const std::string& strColumn, int8_t nValue) {
  Put(m_vcData, strColumn, CContentValue::Int8(nValue));
}

void CContentInput::SetNString(const std::string& strColumn, const std::u16string& strValue) {
  Put(m_vcData, strColumn, CContentValue::String(strValue));
}

void CContentInput::SetNString(const std::string& strColumn, const MCHAR* pszValue) {
  Put(m_vcData, strColumn, CContentValue::String(pszValue != nullptr ? std::u16string(pszValue) : std::u16string()));
}

void CContentInput::SetDateTime(const std::string& strColumn, const TmDateTime& dtValue) {
  Put(m_vcData, strColumn, CContentValue::DateTime(dtValue));
}

void CContentInput::SetNull(const std::string& strColumn) { Put(m_vcData, strColumn, CContentValue()); }

bool CContentInput::Remove(const std::string& strColumn) {
  auto it = std::find_if(m_vcData.begin(), m_vcData.end(),
                         [&](const auto& entry) { return entry.first == strColumn; });
  if (it == m_vcData.end()) {
    return false;
  }
  m_vcData.erase(it);
  return true;
}

bool CContentInput::Has(const std::string& strColumn) const { return GetColumnData(strColumn) != nullptr; }

std::vector<std::string> CContentInput::GetColumnNames() const {
  std::vector<std::string> vcNames;
  vcNames.reserve(m_vcData.size());
  for (const auto& entry : m_vcData) {
    vcNames.push_back(entry.first);
  }
  return vcNames;
}

const CContentValue* CContentInput::GetColumnData(const std::string& strColumn) const {
  for (const auto& entry : m_vcData) {
    if (entry.first == strColumn) {
      return &entry.second;
    }
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// CContentURI

CContentURI::CContentURI(const std::string& strUri) : m_strUri(strUri) {
  if (strUri.empty()) {
    return;
  }
  size_t nStart = 0;
  for (;;) {
    const size_t nSlash = strUri.find('/', nStart);
    m_vcParts.push_back(strUri.substr(nStart, nSlash == std::string::npos ? std::string::npos : nSlash - nStart));
    if (nSlash == std::string::npos) {
      break;
    }
    nStart = nSlash + 1;
  }
}

std::string CContentURI::GetSubURI(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetURICount()) {
    return std::string();
  }
  return m_vcParts[static_cast<size_t>(nIndex)];
}

bool CContentURI::IsBulkOperation() const {
  return GetURICount() > 2 && m_vcParts.back() == "BulkOperation";
}
