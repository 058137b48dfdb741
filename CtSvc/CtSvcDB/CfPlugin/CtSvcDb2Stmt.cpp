// Parameter binding and row reading for the content handlers.
#include "CtSvcDb2Stmt.h"

CCtSvcStmtBinder::CCtSvcStmtBinder(int hStmt)
    : m_pFields(Db2StmtGetBindParamFields(hStmt)), m_nCount(Db2StmtGetBindParamCount(hStmt)) {}

Db2Field* CCtSvcStmtBinder::_Next() {
  if (m_pFields == nullptr || m_nNext >= m_nCount) {
    return nullptr;
  }
  return &m_pFields[m_nNext++];
}

bool CCtSvcStmtBinder::BindText(const std::u16string& strValue) {
  Db2Field* pField = _Next();
  if (pField == nullptr) {
    return false;
  }
  m_texts.push_back(strValue);
  pField->nType = DB2_FIELD_TEXT16;
  pField->pBuffer = const_cast<char16_t*>(m_texts.back().c_str());
  pField->nLength = static_cast<INT32>(m_texts.back().size() * sizeof(char16_t));
  return true;
}

bool CCtSvcStmtBinder::BindInt(int32_t nValue) {
  Db2Field* pField = _Next();
  if (pField == nullptr) {
    return false;
  }
  m_ints.push_back(nValue);
  pField->nType = DB2_FIELD_INT32;
  pField->pBuffer = &m_ints.back();
  pField->nLength = sizeof(int32_t);
  return true;
}

bool CCtSvcStmtBinder::BindDateTime(const TmDateTime& dtValue) {
  Db2Field* pField = _Next();
  if (pField == nullptr) {
    return false;
  }
  m_dates.push_back(dtValue);
  pField->nType = DB2_FIELD_DATETIME;
  pField->pBuffer = &m_dates.back();
  pField->nLength = sizeof(TmDateTime);
  return true;
}

bool CCtSvcStmtBinder::BindNull() {
  Db2Field* pField = _Next();
  if (pField == nullptr) {
    return false;
  }
  pField->nType = DB2_FIELD_NULL;
  pField->pBuffer = nullptr;
  pField->nLength = 0;
  return true;
}

bool CCtSvcStmtBinder::BindValue(const CContentValue& value) {
  switch (value.type) {
    case ContentValueType::Int:
    case ContentValueType::Int8:
      return BindInt(value.nInt);
    case ContentValueType::String:
      return BindText(value.strValue);
    case ContentValueType::DateTime:
      return BindDateTime(value.dtValue);
    case ContentValueType::Null:
      return BindNull();
  }
  return false;
}

void CtSvcReadRow(int hStmt, CContent& content) {
  content.Clear();
  const Db2Field* pFields = Db2StmtGetBindResFields(hStmt);
  const int nCount = Db2StmtGetBindResCount(hStmt);
  for (int i = 0; pFields != nullptr && i < nCount; ++i) {
    const Db2Field& field = pFields[i];
    if (field.pBuffer == nullptr) {
      content.AddNullField();
      continue;
    }
    switch (field.nType) {
      case DB2_FIELD_INT32:
        content.AddFieldData(CContentValue::Int(*static_cast<const INT32*>(field.pBuffer)));
        break;
      case DB2_FIELD_INT64:
        content.AddFieldData(CContentValue::Int(static_cast<int32_t>(*static_cast<const INT64*>(field.pBuffer))));
        break;
      case DB2_FIELD_TEXT16:
        content.AddFieldData(CContentValue::String(std::u16string(static_cast<const char16_t*>(field.pBuffer),
                                                                  field.nLength / sizeof(char16_t))));
        break;
      case DB2_FIELD_DATETIME:
        content.AddFieldData(CContentValue::DateTime(*static_cast<const TmDateTime*>(field.pBuffer)));
        break;
      default:
        content.AddNullField();
        break;
    }
  }
}
