// Statement building, binding and the commit rules of the content handlers.
#include "CtSvcCFHandler.h"

#include <cstdio>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcBulkCounter.h"
#include "CtSvcDb2Stmt.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

const char kJoinedPrefix[] = "CtSvcPrimary.";

// A stored text value: the framework's text form doubles apostrophes and percent signs.
std::u16string UnescapeText(const std::u16string& strValue) {
  std::u16string strOut;
  strOut.reserve(strValue.size());
  for (size_t i = 0; i < strValue.size(); ++i) {
    const char16_t c = strValue[i];
    if ((c == u'\'' || c == u'%') && i + 1 < strValue.size() && strValue[i + 1] == c) {
      ++i;
    }
    strOut.push_back(c);
  }
  return strOut;
}

std::string Placeholders(size_t nCount) {
  std::string str;
  for (size_t i = 0; i < nCount; ++i) {
    str += i == 0 ? "?" : ", ?";
  }
  return str;
}

bool BindInput(CCtSvcStmtBinder& binder, const CContentInput& input) {
  for (const auto& column : input.GetColumnDataSet()) {
    CContentValue value = column.second;
    if (value.type == ContentValueType::String) {
      value.strValue = UnescapeText(value.strValue);
    }
    if (!binder.BindValue(value)) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcCFHandler::Insert:  Wrong bind data \n");
      return false;
    }
  }
  return true;
}

bool BindArgs(CCtSvcStmtBinder& binder, const std::vector<std::u16string>& vcArgs) {
  for (const std::u16string& strArg : vcArgs) {
    if (!binder.BindText(strArg)) {
      return false;
    }
  }
  return true;
}

}  // namespace

CCtSvcCFHandler::CCtSvcCFHandler(const std::string& strUri, const CtSvcHandlerDesc& desc)
    : m_strUri(strUri), m_desc(desc), m_bBulk(CtSvcIsBulkUri(strUri)) {}

CCtSvcDbTable* CCtSvcCFHandler::_GetTable() const { return CCtSvcDbMgr::Instance()->GetDBTable(m_desc.nTable); }

std::string CCtSvcCFHandler::GetTableName() {
  CCtSvcDbTable* pTable = _GetTable();
  if (pTable == nullptr) {
    return std::string();
  }
  if (!_IsJoined()) {
    return pTable->GetTableName();
  }
  return std::string(pTable->GetTableName()) + "," + _JoinedMembers();
}

// The group memberships one per primary and group, under the group-member table's own name: a
// primary two of whose persons belong to a group is listed and counted once in it, not twice.
std::string CCtSvcCFHandler::_JoinedMembers() const {
  CCtSvcDbTable* pMembers = CCtSvcDbMgr::Instance()->GetDBTable(m_desc.nJoinedTable);
  if (pMembers == nullptr) {
    return std::string();
  }
  const std::string strName = pMembers->GetTableName();
  return std::string("(SELECT DISTINCT ") + pMembers->GetColumnName(CTSVC_DB_GRPMEMBER_COLUMN_PRIMARY_ID) + ", " +
         pMembers->GetColumnName(CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID) + " FROM " + strName + ") " + strName;
}

std::string CCtSvcCFHandler::GetIDColumnName() {
  CCtSvcDbTable* pTable = _GetTable();
  if (pTable == nullptr) {
    return std::string();
  }
  return _QualifiedColumn(pTable->GetIDColumnName());
}

// In the two-table form every column belongs to the primary table.
std::string CCtSvcCFHandler::_QualifiedColumn(const std::string& strColumn) const {
  if (!_IsJoined() || strColumn.find('.') != std::string::npos) {
    return strColumn;
  }
  return kJoinedPrefix + strColumn;
}

// Every term of an ORDER BY list, qualified in the two-table form ("FL_FULLNAME, ID DESC").
std::string CCtSvcCFHandler::_QualifiedOrder(const std::string& strOrder) const {
  if (!_IsJoined()) {
    return strOrder;
  }
  std::string strOut;
  size_t nStart = 0;
  while (nStart <= strOrder.size()) {
    size_t nEnd = strOrder.find(',', nStart);
    if (nEnd == std::string::npos) {
      nEnd = strOrder.size();
    }
    std::string strTerm = strOrder.substr(nStart, nEnd - nStart);
    const size_t nFirst = strTerm.find_first_not_of(' ');
    strTerm = nFirst == std::string::npos ? std::string() : strTerm.substr(nFirst);
    if (!strTerm.empty()) {
      strOut += (strOut.empty() ? "" : ", ") + _QualifiedColumn(strTerm);
    }
    nStart = nEnd + 1;
  }
  return strOut;
}

std::vector<std::string> CCtSvcCFHandler::GetAllColumnNames() {
  std::vector<std::string> vcNames;
  CCtSvcDbTable* pTable = _GetTable();
  for (int i = 0; pTable != nullptr && i < pTable->GetColumnCount(); ++i) {
    vcNames.push_back(_QualifiedColumn(pTable->GetColumnName(i)));
  }
  return vcNames;
}

std::vector<int> CCtSvcCFHandler::GetColumnTypes() {
  std::vector<int> vcTypes;
  CCtSvcDbTable* pTable = _GetTable();
  for (int i = 0; pTable != nullptr && i < pTable->GetColumnCount(); ++i) {
    vcTypes.push_back(pTable->GetColumnTypeCode(i));
  }
  return vcTypes;
}

std::string CCtSvcCFHandler::__CreateQuery(int nKind, int nId, const CContentInput* pInput) {
  const std::string strTable = GetTableName();
  const std::string strWhere = GetWhere();
  char szId[32];
  std::snprintf(szId, sizeof(szId), "%d", nId);
  std::string strSql;
  switch (nKind) {
    case CTSVC_QUERY_SELECT: {
      std::vector<std::string> vcNames = GetColumnNames();
      for (std::string& strName : vcNames) {
        strName = _QualifiedColumn(strName);
      }
      strSql = "SELECT " + JoinNames(vcNames) + " " + "FROM " + strTable + " ";
      const std::string strHint = GetHint();
      if (!strHint.empty()) {
        strSql += "ISCAN " + strHint + " ";
      }
      if (!strWhere.empty()) {
        strSql += "WHERE " + strWhere + " ";
      }
      const CContentFilter* pFilter = GetFilter();
      if (pFilter != nullptr && !pFilter->GetOrderBy().empty()) {
        strSql += "ORDER BY " + _QualifiedOrder(pFilter->GetOrderBy());
      }
      break;
    }
    case CTSVC_QUERY_INSERT: {
      const std::vector<std::string> vcNames = pInput != nullptr ? pInput->GetColumnNames() : std::vector<std::string>();
      if (vcNames.empty()) {
        DbgPrint(DBG_CLASS_FAIL, "CCtSvcCFHandler::__CreateQuery: Insert Failed(No Primary Key)\n");
        return std::string();
      }
      if (!pInput->Has(GetIDColumnName())) {
        // Records always carry their id; without one there is no sequence to draw it from.
        DbgPrint(DBG_CLASS_FAIL, "CCtSvcCFHandler::__CreateQuery: Insert Failed(No Primary Key)\n");
        return std::string();
      }
      strSql = "INSERT INTO " + strTable + " ( " + JoinNames(vcNames) + " ) VALUES( " + Placeholders(vcNames.size()) + " )";
      break;
    }
    case CTSVC_QUERY_UPDATE: {
      const std::vector<std::string> vcNames = pInput != nullptr ? pInput->GetColumnNames() : std::vector<std::string>();
      strSql = "UPDATE " + strTable + " SET " + MakeSetValues(vcNames);
      if (nId != -1) {
        strSql += " WHERE " + GetIDColumnName() + " = " + szId;
      } else if (!strWhere.empty()) {
        strSql += " WHERE " + strWhere;
      } else {
        strSql += " ";
      }
      break;
    }
    case CTSVC_QUERY_DELETE:
      strSql = "DELETE FROM " + strTable;
      if (nId != -1) {
        strSql += std::string(" WHERE ") + GetIDColumnName() + " = " + szId;
      } else if (!strWhere.empty()) {
        strSql += " WHERE " + strWhere;
      } else {
        strSql += " ";
      }
      break;
    default:
      return std::string();
  }
  DbgPrint(DBG_CLASS_STMT, "CCtSvcCFHandler::__CreateQuery: %s\n", strSql.c_str());
  return strSql;
}

bool CCtSvcCFHandler::GetContents(int nFirstRow, int nRowCount, std::vector<CContent>& vcContents) {
  CCtSvcDbTable* pTable = _GetTable();
  if (pTable == nullptr || pTable->GetColumnCount() == 0) {
    return false;
  }
  char szLimit[48];
  std::snprintf(szLimit, sizeof(szLimit), " LIMIT %d, %d", nFirstRow, nRowCount);
  const std::string strSql = __CreateQuery(CTSVC_QUERY_SELECT, -1, nullptr) + szLimit;
  const size_t nBefore = vcContents.size();
  Db2TransSetRU();
  {
    CCtSvcDb2Stmt stmt(strSql);
    CCtSvcStmtBinder binder(stmt.Get());
    if (stmt.IsValid() && BindArgs(binder, GetWhereArg())) {
      const int nRows = Db2StmtExecute(stmt.Get());
      ZEL_REQUIRE(nRows >= 0);
      for (int i = 0; i < nRows; ++i) {
        if (Db2StmtGetNextRow(stmt.Get()) <= 0) {
          DbgPrint(DBG_CLASS_FAIL, "CCtSvcCFHandler::GetContentsGet: Content Not Found\n");
          break;
        }
        vcContents.emplace_back();
        CtSvcReadRow(stmt.Get(), vcContents.back());
      }
    }
  }
  Db2TransUnsetRU();
  // A read commits what is pending; while commits are paused nothing is committed, so the count
  // of uncommitted bulk writes goes on.
  if (!Db2IsCommitPaused() && Db2Commit()) {
    CtSvcResetBulkCounter();
  }
  return vcContents.size() > nBefore;
}

// Binds the where-arguments (after the input's values) and executes: changed rows, or -1.
int CCtSvcCFHandler::_ExecuteWrite(int hStmt, const CContentInput* pInput, bool bBindWhereArgs) {
  CCtSvcStmtBinder binder(hStmt);
  if (pInput != nullptr && !BindInput(binder, *pInput)) {
    return -1;
  }
  if (bBindWhereArgs && !BindArgs(binder, GetWhereArg())) {
    return -1;
  }
  return Db2StmtExecute(hStmt);
}

int CCtSvcCFHandler::_InsertStatement(CContentInput& input, bool bCommit, const char* szFailLog) {
  const std::string strSql = __CreateQuery(CTSVC_QUERY_INSERT, -1, &input);
  if (strSql.empty()) {
    return -1;
  }
  const int hKept = bCommit ? -1 : CCtSvcDbMgr::Instance()->GetMassInsertStatement(strSql);
  CCtSvcDb2Stmt stmt = hKept >= 0 ? CCtSvcDb2Stmt::Borrow(hKept) : CCtSvcDb2Stmt(strSql);
  if (!stmt.IsValid()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcCFHandler::Insert:  insert Content failed\n");
    return -1;
  }
  if (_ExecuteWrite(stmt.Get(), &input, false) < 0) {
    stmt.Reset();
    Db2Rollback();
    DbgPrint(DBG_CLASS_FAIL, "%s", szFailLog);
    return -1;
  }
  stmt.Reset();
  if (bCommit && !Db2Commit()) {  // the disk could not take it: rolled back
    DbgPrint(DBG_CLASS_FAIL, "%s", szFailLog);
    return -1;
  }
  return GetContentID(input);
}

int CCtSvcCFHandler::Insert(CContentInput& input) {
  if (m_bBulk) {
    return InsertNoCommit(input);
  }
  return _InsertStatement(input, true, "CCtSvcCFHandler::Insert:  SEARCH FAIL \n");
}

int CCtSvcCFHandler::InsertNoCommit(CContentInput& input) {
  DbgPrint(DBG_CLASS_STMT, "--------------- [CCtSvcCFHandler::InsertNoCommit begin] ** %s **---------", m_strUri.c_str());
  const int nId = _InsertStatement(input, false, "CCtSvcCFHandler::InsertNoCommit:  SEARCH FAIL \n");
  DbgPrint(DBG_CLASS_STMT, "--------------- [CCtSvcCFHandler::InsertNoCommit end] ** %s **---------", m_strUri.c_str());
  return nId;
}

bool CCtSvcCFHandler::Insert(std::vector<CContentInput>& vcInputs) {
  if (vcInputs.empty()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcCFHandler::Insert:  No Input Data\n");
    return false;
  }
  bool bResult = true;
  for (CContentInput& input : vcInputs) {
    if (m_bBulk) {
      if (InsertNoCommit(input) < 0) {
        DbgPrint(DBG_CLASS_FAIL, "CCtSvcCFHandler::Insert - InsertNoCommit failed\n");
        bResult = false;
      }
    } else if (_InsertStatement(input, false, "CCtSvcCFHandler::Insert:  SEARCH FAIL \n") < 0) {
      bResult = false;
      break;
    }
  }
  Db2Commit();
  return bResult;
}

bool CCtSvcCFHandler::Insert(std::vector<std::pair<std::string, CContentInput>>& vcUriInputs) {
  bool bResult = true;
  for (auto& uriInput : vcUriInputs) {
    if (CContentMgr::Instance()->Insert(uriInput.first, uriInput.second) < 0) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcCFHandler::Insert - CContentMgr::Instance()->Insert failed\n");
      bResult = false;
    }
  }
  Db2Commit();
  return bResult;
}

// Runs an update or delete; a filtered write that changed no row answers false.
bool CCtSvcCFHandler::_WriteStatement(int nKind, CContentInput* pInput, int nId, bool bCommit) {
  const bool bUpdate = nKind == CTSVC_QUERY_UPDATE;
  if (_IsJoined()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcCFHandler::%s: %s is read-only\n", bUpdate ? "Update" : "Delete", m_strUri.c_str());
    return false;
  }
  const std::string strSql = __CreateQuery(nKind, nId, pInput);
  CCtSvcDb2Stmt stmt(strSql);
  if (!stmt.IsValid()) {
    DbgPrint(DBG_CLASS_FAIL, bUpdate ? "CCtSvcCFHandler::Update:  update Content failed\n"
                                     : "CCtSvcCFHandler::Delete:  delete Content failed\n");
    return false;
  }
  const int nChanged = _ExecuteWrite(stmt.Get(), pInput, nId == -1);
  stmt.Reset();
  if (nChanged < 0 || (bCommit && !Db2Commit())) {  // a failed commit (full disk) was rolled back
    DbgPrint(DBG_CLASS_FAIL, bUpdate ? "CCtSvcCFHandler::Update:  SEARCH FAIL \n" : "CCtSvcCFHandler::Delete:  SEARCH FAIL \n");
    return false;
  }
  return bUpdate || nChanged > 0;
}

bool CCtSvcCFHandler::Update(CContentInput& input, int nId) {
  return m_bBulk ? UpdateNoCommit(input, nId) : _WriteStatement(CTSVC_QUERY_UPDATE, &input, nId, true);
}

bool CCtSvcCFHandler::UpdateNoCommit(CContentInput& input, int nId) {
  return _WriteStatement(CTSVC_QUERY_UPDATE, &input, nId, false);
}

bool CCtSvcCFHandler::Delete(int nId) {
  return m_bBulk ? DeleteNoCommit(nId) : _WriteStatement(CTSVC_QUERY_DELETE, nullptr, nId, true);
}

bool CCtSvcCFHandler::DeleteNoCommit(int nId) { return _WriteStatement(CTSVC_QUERY_DELETE, nullptr, nId, false); }

bool CCtSvcCFHandler::Delete(const std::vector<int>& vcIDs) {
  if (vcIDs.empty()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcCFHandler::Delete:  No Input Data\n");
    return false;
  }
  if (m_bBulk) {
    // Row by row through the framework, so that every observer sees each row go.
    bool bResult = true;
    for (int nId : vcIDs) {
      Db2CommitPause();
      if (!CContentMgr::Instance()->Delete(m_strUri, nId)) {
        DbgPrint(DBG_CLASS_FAIL, "CCtSvcCFHandler::Delete - CContentMgr::Instance()->Insert failed\n");
        bResult = false;
      }
      Db2CommitResume();
      Db2CommitLite();
    }
    return bResult;
  }
  if (!ZEL_REQUIRE(vcIDs.size() < 50)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcCFHandler::Delete: Records count should be under 50\n");
    return false;
  }
  if (_IsJoined()) {
    return false;
  }
  const std::string strSql = "DELETE FROM " + GetTableName() + " WHERE " + GetIDColumnName() + " IN ( " + JoinIds(vcIDs) + " )";
  CCtSvcDb2Stmt stmt(strSql);
  if (!stmt.IsValid() || Db2StmtExecute(stmt.Get()) < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcCFHandler::Delete:  SEARCH FAIL \n");
    return false;
  }
  stmt.Reset();
  Db2Commit();
  return true;
}
