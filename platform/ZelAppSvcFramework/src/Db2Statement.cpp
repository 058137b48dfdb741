// RAII guard over a prepared statement of the platform database.
#include "Db2Statement.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "ZelDebug.h"

CDb2Statement::CDb2Statement(const std::string& strSql) : m_hStmt(Db2StmtCreate(strSql.c_str())), m_strSql(strSql) {
  if (m_hStmt < 0) {
    m_hStmt = -1;
    DbgPrint(DBG_CLASS_FAIL, "CDb2Statement::CDb2Statement - Db2StmtCreate failed(%s): %s\n", strSql.c_str(),
             Db2GetLastError());
  }
}

CDb2Statement::~CDb2Statement() {
  if (m_hStmt >= 0) {
    Db2StmtClearRow(m_hStmt);
    Db2StmtDestroy(m_hStmt);
  }
}

bool CDb2Statement::BindText16(const std::vector<std::u16string>& vcArgs, int nFirstParam) {
  return IsValid() && Db2BindText16(m_hStmt, vcArgs, nFirstParam);
}

int CDb2Statement::Execute() {
  if (!IsValid()) {
    return -1;
  }
  const int nResult = Db2StmtExecute(m_hStmt);
  if (nResult < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CDb2Statement::Execute - failed(%s): %s\n", m_strSql.c_str(), Db2GetLastError());
  }
  return nResult;
}

bool CDb2Statement::Fetch() { return IsValid() && Db2StmtGetNextRow(m_hStmt) > 0; }

bool CDb2Statement::GetInt(int nColumn, int32_t& nValue) const {
  if (!IsValid() || nColumn < 0 || nColumn >= Db2StmtGetBindResCount(m_hStmt)) {
    return false;
  }
  const Db2Field* pFields = Db2StmtGetBindResFields(m_hStmt);
  return pFields != nullptr && Db2FieldGetInt(pFields[nColumn], nValue);
}

bool Db2BindText16(int hStmt, const std::vector<std::u16string>& vcArgs, int nFirstParam) {
  if (vcArgs.empty()) {
    return true;
  }
  const int nCount = Db2StmtGetBindParamCount(hStmt);
  Db2Field* pFields = Db2StmtGetBindParamFields(hStmt);
  if (nFirstParam < 0 || pFields == nullptr || nFirstParam + static_cast<int>(vcArgs.size()) > nCount) {
    DbgPrint(DBG_CLASS_FAIL, "Db2BindText16 - %d arguments from %d do not fit %d parameters\n",
             static_cast<int>(vcArgs.size()), nFirstParam, nCount);
    return false;
  }
  for (size_t i = 0; i < vcArgs.size(); ++i) {
    Db2Field& field = pFields[static_cast<size_t>(nFirstParam) + i];
    field.nType = DB2_FIELD_TEXT16;
    // The database only reads parameter buffers; data() of a string is terminated and never null.
    field.pBuffer = const_cast<char16_t*>(vcArgs[i].data());
    field.nLength = static_cast<INT32>(vcArgs[i].size() * sizeof(char16_t));
  }
  return true;
}

bool Db2FieldGetInt(const Db2Field& field, int32_t& nValue) {
  if (field.pBuffer == nullptr) {
    return false;
  }
  switch (field.nType) {
    case DB2_FIELD_INT32:
      nValue = *static_cast<const INT32*>(field.pBuffer);
      return true;
    case DB2_FIELD_INT64: {
      const INT64 n = *static_cast<const INT64*>(field.pBuffer);
      if (n < INT32_MIN || n > INT32_MAX) {
        return false;
      }
      nValue = static_cast<int32_t>(n);
      return true;
    }
    case DB2_FIELD_DOUBLE: {
      const double d = *static_cast<const double*>(field.pBuffer);
      if (!std::isfinite(d) || d < INT32_MIN || d > INT32_MAX) {
        return false;
      }
      nValue = static_cast<int32_t>(d);
      return true;
    }
    case DB2_FIELD_TEXT: {
      const char* psz = static_cast<const char*>(field.pBuffer);
      char* pEnd = nullptr;
      errno = 0;
      const long n = std::strtol(psz, &pEnd, 10);
      if (pEnd == psz || *pEnd != '\0' || errno != 0 || n < INT32_MIN || n > INT32_MAX) {
        return false;
      }
      nValue = static_cast<int32_t>(n);
      return true;
    }
    default:
      return false;
  }
}
