// DDL generation, existence check, drop, truncate, count and id counter of a contact table.
#include "CtSvcDbTable.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

constexpr size_t kMaxStatement = 5120;

struct TypeCode {
  const char* szName;
  int nCode;
};

constexpr TypeCode kTypeCodes[] = {{"BOOL", 1},   {"TINYINT", 2}, {"SMALLINT", 3}, {"INT", 4},
                                   {"INTEGER", 5}, {"BIGINT", 6},  {"FLOAT", 8},    {"DOUBLE", 9},
                                   {"DATETIME", 10}, {"VARCHAR", 11}, {"NVARCHAR", 11}};

bool IsType(const char* szType, const char* szName) { return strcasecmp(szType, szName) == 0; }

// The column's part of the CREATE TABLE text after its name.
std::string ColumnDefinition(const CtSvcColumnDesc& col) {
  char szBuf[128];
  if (col.nSizeA == CTSVC_COLUMN_PRIMARY_KEY) {
    std::snprintf(szBuf, sizeof(szBuf), " %s PRIMARY KEY, ", col.szType);
  } else if (IsType(col.szType, "NVARCHAR") && col.szCollation != nullptr) {
    std::snprintf(szBuf, sizeof(szBuf), " %s(%d,%d) COLLATE %s, ", col.szType, col.nSizeA, col.nSizeB,
                  col.szCollation);
  } else if (IsType(col.szType, "NVARCHAR")) {
    std::snprintf(szBuf, sizeof(szBuf), " %s(%d,%d), ", col.szType, col.nSizeA, col.nSizeB);
  } else if (IsType(col.szType, "VARCHAR") || IsType(col.szType, "NCHAR")) {
    std::snprintf(szBuf, sizeof(szBuf), " %s(%d), ", col.szType, col.nSizeA);
  } else if (IsType(col.szType, "DATETIME")) {
    std::snprintf(szBuf, sizeof(szBuf), " %s default NULL, ", col.szType);
  } else {
    std::snprintf(szBuf, sizeof(szBuf), " %s default %d, ", col.szType, col.nSizeA);
  }
  return szBuf;
}

// The first column of the first row of an immediate query as a number; false when the query failed.
bool QueryMax(const std::string& strQuery, int& nMax, bool& bHasRow) {
  nMax = 0;
  bHasRow = false;
  if (Db2QueryEx("%s", strQuery.c_str()) < 0) {
    return false;
  }
  if (Db2GetNextRow() > 0) {
    bHasRow = true;
    nMax = std::atoi(Db2GetColumn(0));  // NULL of an empty table reads as 0
  }
  return true;
}

}  // namespace

int CtSvcGetColumnTypeCode(const char* szTypeName) {
  if (szTypeName == nullptr) {
    return 0;
  }
  for (const TypeCode& t : kTypeCodes) {
    if (IsType(szTypeName, t.szName)) {
      return t.nCode;
    }
  }
  return 0;
}

CCtSvcDbTable::CCtSvcDbTable(const CtSvcTableDesc& desc) : m_pDesc(&desc) {}

std::string CCtSvcDbTable::BuildCreateStatement() const {
  std::string strSql = std::string("CREATE TABLE ") + m_pDesc->szName + " ( ";
  for (int i = 0; i < m_pDesc->nColumnCount; ++i) {
    const CtSvcColumnDesc& col = m_pDesc->pColumns[i];
    strSql += std::string(" ") + col.szName + " ";
    strSql += ColumnDefinition(col);
  }
  if (strSql.size() >= 2 && strSql.compare(strSql.size() - 2, 2, ", ") == 0) {
    strSql.erase(strSql.size() - 2);
  }
  strSql += ") volume vol2";
  return strSql.size() < kMaxStatement ? strSql : std::string();
}

BOOL CCtSvcDbTable::VerifyTable() {
  if (Db2CheckTable(m_pDesc->szName) != 0) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbTable::VerifyTable - '%s' table already exist...!!!\n", m_pDesc->szName);
    return TRUE;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbTable::VerifyTable - '%s' table does not exist...!!!\n", m_pDesc->szName);
  return FALSE;
}

bool CCtSvcDbTable::_CreateIndex(const CtSvcIndexDesc& idx) {
  const char* szForm = idx.nKind == CTSVC_INDEX_UNIQUE ? "CREATE UNIQUE INDEX %s on %s (%s)" : "CREATE INDEX %s on %s (%s)";
  char szIndexSql[kMaxStatement];
  std::snprintf(szIndexSql, sizeof(szIndexSql), szForm, idx.szName, m_pDesc->szName, idx.szColumns);
  if (Db2QueryEx("%s", szIndexSql) < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbTable::CreateTable - create index table failed(%s)\n", szIndexSql);
    return false;
  }
  return true;
}

// A store made by an earlier version lacks the indexes added since: they are built at start.
bool CCtSvcDbTable::_AddMissingIndexes() {
  std::vector<std::string> vcExisting;
  const int nRows = Db2QueryEx("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = '%s' COLLATE NOCASE",
                               m_pDesc->szName);
  for (int i = 0; i < nRows && Db2GetNextRow() > 0; ++i) {
    vcExisting.emplace_back(Db2GetColumn(0));
  }
  for (int i = 0; nRows >= 0 && i < m_pDesc->nIndexCount; ++i) {
    const CtSvcIndexDesc& idx = m_pDesc->pIndexes[i];
    const bool bExists = std::any_of(vcExisting.begin(), vcExisting.end(),
                                     [&](const std::string& name) { return strcasecmp(name.c_str(), idx.szName) == 0; });
    if (!bExists) {
      DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbTable::CreateTable - %s gets its index %s\n", m_pDesc->szName, idx.szName);
      if (!_CreateIndex(idx)) {
        return false;
      }
    }
  }
  return nRows >= 0;
}

BOOL CCtSvcDbTable::CreateTable() {
  if (VerifyTable()) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbTable::CreateTable: - %s Table is already exist\n", m_pDesc->szName);
    if (!_AddMissingIndexes()) {
      return FALSE;
    }
  } else {
    const std::string strSql = BuildCreateStatement();
    if (strSql.empty() || Db2QueryEx("%s", strSql.c_str()) < 0) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbTable::CreateTable - create table failed(%s)\n", strSql.c_str());
      return FALSE;
    }
    for (int i = 0; i < m_pDesc->nIndexCount; ++i) {
      if (!_CreateIndex(m_pDesc->pIndexes[i])) {
        DestroyTable();
        return FALSE;
      }
    }
  }
  ResetNextRecordId();
  return TRUE;
}

void CCtSvcDbTable::ResetNextRecordId() {
  const long long nVersion = Db2DataVersion();
  const int nNext = GetMaxRecordId() + 1;
  m_nNextId.store(nNext > 0 ? nNext : 1);
  m_nSeenVersion.store(nVersion);
}

// Ids are handed out with the write lock held, so no other process can store a row until this
// one commits. When another process has committed since the counter was last set, the counter
// moves above every id stored now; otherwise it is still right and nothing is read.
void CCtSvcDbTable::_SyncWithOtherWriters() {
  if (!Db2LockForWrite()) {
    return;  // the write that follows fails for the same reason
  }
  const long long nVersion = Db2DataVersion();
  if (nVersion < 0 || nVersion == m_nSeenVersion.load()) {
    return;
  }
  const int nNext = GetMaxRecordId() + 1;
  int nCurrent = m_nNextId.load();
  while (nCurrent < nNext && !m_nNextId.compare_exchange_weak(nCurrent, nNext)) {
  }
  m_nSeenVersion.store(nVersion);
}

BOOL CCtSvcDbTable::DestroyTable() {
  if (Db2QueryEx("drop table %s", m_pDesc->szName) < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbTable::DestroyTable - Destroy failed(%s)\n", m_pDesc->szName);
  }
  for (int i = 0; i < m_pDesc->nIndexCount; ++i) {
    if (Db2QueryEx("DROP INDEX %s", m_pDesc->pIndexes[i].szName) < 0) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbTable::DestroyTable - drop index table failed(%s)\n",
               m_pDesc->pIndexes[i].szName);
    }
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbTable::DestroyTable - Db Destroyed (%s)\n", m_pDesc->szName);
  return TRUE;
}

BOOL CCtSvcDbTable::TruncateTable() {
  if (Db2QueryEx("TRUNCATE %s", m_pDesc->szName) < 0) {
    DbgPrint(DBG_CLASS_FAIL, "_MMSvcDBTruncateTable: Truncating failed!!!(%s) \n", m_pDesc->szName);
    return FALSE;
  }
  DbgPrint(DBG_CLASS_TRACE, "_MMSvcDBTruncateTable: Db Truncated..(%s)\n", m_pDesc->szName);
  return TRUE;
}

int CCtSvcDbTable::GetTotalRecordCount() {
  if (Db2QueryEx("SELECT COUNT(*) from %s", m_pDesc->szName) < 0 || Db2GetNextRow() <= 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbTable::GetTotalRecordCount : Get Content Count Failed\n");
    return -1;
  }
  return std::atoi(Db2GetColumn(0));
}

const char* CCtSvcDbTable::GetIDColumnName() { return m_pDesc->pColumns[0].szName; }

const char* CCtSvcDbTable::GetSequenceName() { return nullptr; }

bool CCtSvcDbTable::_IsColumnIndexValid(int nColumnIndex) {
  return ZEL_REQUIRE(nColumnIndex >= 0 && nColumnIndex < GetColumnCount());
}

bool CCtSvcDbTable::_IsIndexValid(int nIndex) { return ZEL_REQUIRE(nIndex >= 0 && nIndex < GetIndexCount()); }

const char* CCtSvcDbTable::GetColumnName(int nColumnIndex) {
  return _IsColumnIndexValid(nColumnIndex) ? m_pDesc->pColumns[nColumnIndex].szName : nullptr;
}

const char* CCtSvcDbTable::GetColumnTypeName(int nColumnIndex) {
  return _IsColumnIndexValid(nColumnIndex) ? m_pDesc->pColumns[nColumnIndex].szType : nullptr;
}

int CCtSvcDbTable::GetColumnSizeA(int nColumnIndex) {
  return _IsColumnIndexValid(nColumnIndex) ? m_pDesc->pColumns[nColumnIndex].nSizeA : -1;
}

int CCtSvcDbTable::GetColumnSizeB(int nColumnIndex) {
  return _IsColumnIndexValid(nColumnIndex) ? m_pDesc->pColumns[nColumnIndex].nSizeB : -1;
}

int CCtSvcDbTable::GetColumnCount() { return m_pDesc->nColumnCount; }

int CCtSvcDbTable::GetColumnTypeCode(int nColumnIndex) {
  return CtSvcGetColumnTypeCode(GetColumnTypeName(nColumnIndex));
}

const char* CCtSvcDbTable::GetIndexName(int nIndex) {
  return _IsIndexValid(nIndex) ? m_pDesc->pIndexes[nIndex].szName : nullptr;
}

const char* CCtSvcDbTable::GetIndexColumns(int nIndex) {
  return _IsIndexValid(nIndex) ? m_pDesc->pIndexes[nIndex].szColumns : nullptr;
}

int CCtSvcDbTable::GetIndexKind(int nIndex) { return _IsIndexValid(nIndex) ? m_pDesc->pIndexes[nIndex].nKind : -1; }

int CCtSvcDbTable::GetIndexCount() { return m_pDesc->nIndexCount; }

int CCtSvcDbTable::PeekNextRecordId() {
  _SyncWithOtherWriters();
  return m_nNextId.load();
}

int CCtSvcDbTable::TakeNextRecordId() {
  _SyncWithOtherWriters();
  return m_nNextId.fetch_add(1);
}

int CCtSvcDbTable::GetMaxRecordId() {
  return m_pDesc->pReference != nullptr ? _GetReferencedMaxRecordId() : _GetPlainMaxRecordId();
}

int CCtSvcDbTable::_GetPlainMaxRecordId() {
  int nMax = 0;
  bool bHasRow = false;
  if (!QueryMax(std::string("SELECT MAX(") + GetIDColumnName() + ") FROM " + m_pDesc->szName, nMax, bHasRow) ||
      !bHasRow) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbTable::CreateTable Failed\n");
    return 0;
  }
  return nMax;
}

// The largest id stored in the table or still referenced by a detail row.
int CCtSvcDbTable::_GetReferencedMaxRecordId() {
  static const char* const kDetailTables[] = {"ctsvccontactdatatable", "ctsvcpostaladdress", "ctsvcetcdata",
                                              "ctsvcim", "ctsvcgroupmember", "ctsvcsnsdata"};
  const CtSvcReferenceDesc& ref = *m_pDesc->pReference;
  std::vector<std::string> vcQueries{ref.szOwnQuery};
  for (const char* szTable : kDetailTables) {
    vcQueries.push_back(std::string("SELECT MAX(") + ref.szReferenceColumn + ") FROM " + szTable);
  }
  int nResult = 0;
  for (const std::string& strQuery : vcQueries) {
    int nMax = 0;
    bool bHasRow = false;
    if (!QueryMax(strQuery, nMax, bHasRow)) {
      DbgPrint(DBG_CLASS_FAIL, "%s::GetMaxRecordId - szQuery(%s) is Failed\n", ref.szLogName, strQuery.c_str());
      continue;
    }
    if (!bHasRow) {
      DbgPrint(DBG_CLASS_FAIL, "%s::GetMaxRecordId Failed\n", ref.szLogName);
      return 0;
    }
    nResult = std::max(nResult, nMax);
  }
  return nResult;
}
