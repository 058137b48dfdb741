// A file or folder was renamed or moved: the stored paths that name it (other data such as
// caller images and ringtone paths, and group ringtones) follow it.
#include <cstdio>
#include <string>
#include <vector>

#include "CtSvcDB/CfPlugin/CtSvcDetailFilters.h"
#include "CtSvcDB/Records/CtSvcEtcData.h"
#include "CtSvcDB/Records/CtSvcGroup.h"
#include "CtSvcDb.h"
#include "CtSvcDbMgr.h"
#include "CtSvcList.h"
#include "ZelAc.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

constexpr size_t kMaxQueryBytes = 5120;
// The longest path a detail keeps (caller image, ringtone).
constexpr size_t kMaxPathChars = 771;

// The text as the inside of an SQL string literal.
std::string QuoteInside(const char* pszText) {
  std::string strOut;
  for (const char* p = pszText; *p != '\0'; ++p) {
    strOut.push_back(*p);
    if (*p == '\'') {
      strOut.push_back('\'');
    }
  }
  return strOut;
}

// Rewrites the column of every row whose value is the old path (letter case aside).
bool RenamePathIn(CtSvcDbTableType nTable, int nColumn, const std::string& strOld, const std::string& strNew) {
  CCtSvcDbTable* pTable = CCtSvcDbMgr::Instance()->GetDBTable(nTable);
  if (pTable == nullptr) {
    return false;
  }
  const char* pszColumn = pTable->GetColumnName(nColumn);
  char szSql[kMaxQueryBytes];
  const int nLength = std::snprintf(szSql, sizeof(szSql),
                                    "UPDATE %s SET LOWERCASE(%s) = LOWERCASE('%s') WHERE LOWERCASE(%s) = LOWERCASE('%s')",
                                    pTable->GetTableName(), pszColumn, strNew.c_str(), pszColumn, strOld.c_str());
  return nLength > 0 && static_cast<size_t>(nLength) < sizeof(szSql) && Db2QueryEx("%s", szSql) >= 0;
}

bool CheckPaths(const char* pszOldPath, const char* pszNewPath) {
  return ZEL_REQUIRE(pszOldPath != NULL) && ZEL_REQUIRE(pszNewPath != NULL) && ZEL_REQUIRE(AcStrlen(pszOldPath) > 0);
}

// The path moved with its folder, or "" when it does not lie in (or is not) the old folder: the
// folder must be followed by a separator or end the path, so "/a/Ct" never moves "/a/Ctx/b".
std::string MovedPath(const std::string& strPath, const std::string& strOld, const std::string& strNew) {
  if (strPath.compare(0, strOld.size(), strOld) != 0) {
    return std::string();
  }
  const bool bWhole = strPath.size() == strOld.size() || strOld.back() == '/' || strPath[strOld.size()] == '/';
  if (!bWhole) {
    return std::string();
  }
  const std::string strMoved = strNew + strPath.substr(strOld.size());
  return strMoved.substr(0, kMaxPathChars);
}

bool MoveEtcData(const std::string& strOld, const std::string& strNew) {
  CtSvcEtcDataFilter filter;
  CtSvcEtcDataFilterInit(&filter);
  AcStrlcpy(filter.szEtcData, strOld.c_str(), sizeof(filter.szEtcData));
  filter.EtcDataTruncation = CTSVC_FILTER_TRUNCATION_PREFIX;
  std::vector<CContent> vcRows;
  CCtSvcDbMgr::Instance()->GetRows(&filter, vcRows);
  bool bResult = true;
  for (const CContent& row : vcRows) {
    CCtSvcEtcData data;
    if (!data.SetData(row)) {
      bResult = false;
      continue;
    }
    const std::string strMoved = MovedPath(data.GetEtcData(), strOld, strNew);
    if (strMoved.empty()) {
      continue;
    }
    data.SetEtcData(strMoved.c_str());
    if (!data.Update(data.GetRecordId(), 1)) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcDbChangedFolder - EtcData.Update failed(RecordID = %d\n", data.GetRecordId());
      bResult = false;
    }
  }
  return bResult;
}

bool MoveGroupRingtones(const std::string& strOld, const std::string& strNew) {
  const INT32 hGroup = CtSvcGroupListCreate(nullptr, nullptr);
  if (hGroup < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbChangedFolder - CtSvcGroupListCreate failed\n");
    return false;
  }
  bool bResult = true;
  const INT32 nCount = CtSvcGroupListGetCount(hGroup);
  for (INT32 i = 0; i < nCount; ++i) {
    CtSvcGroupRecord record;
    if (!CtSvcGroupListGetAt(hGroup, i, &record)) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcDbChangedFolder - pGroupList->GetAt failed\n");
      bResult = false;
      continue;
    }
    const std::string strMoved = MovedPath(record.Info.szRingtone, strOld, strNew);
    if (strMoved.empty()) {
      continue;
    }
    CCtSvcGroup group(record);
    group.SetRingtone(strMoved.c_str());
    if (!group.Update(record.nId, 1)) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcDbChangedFolder - Group.Update failed(RecordID = %d\n", record.nId);
      bResult = false;
    }
  }
  CtSvcGroupListDestroy(hGroup);
  return bResult;
}

}  // namespace

extern "C" BOOL CtSvcDbChangedFile(const char* pszOldPath, const char* pszNewPath) {
  if (!CheckPaths(pszOldPath, pszNewPath)) {
    return FALSE;
  }
  const std::string strOld = QuoteInside(pszOldPath);
  const std::string strNew = QuoteInside(pszNewPath);
  if (!RenamePathIn(CTSVC_DB_TABLE_ETCDATA, CTSVC_DB_ETCDATA_COLUMN_ETC_DATA, strOld, strNew) ||
      !RenamePathIn(CTSVC_DB_TABLE_GROUP, CTSVC_DB_GROUP_COLUMN_RINGTONE, strOld, strNew)) {
    Db2Rollback();
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbChangedFile - Query failed\n");
    return FALSE;
  }
  return Db2Commit();
}

extern "C" BOOL CtSvcDbChangedFolder(const char* pszOldPath, const char* pszNewPath) {
  if (!CheckPaths(pszOldPath, pszNewPath)) {
    return FALSE;
  }
  const bool bEtcData = MoveEtcData(pszOldPath, pszNewPath);
  const bool bGroups = MoveGroupRingtones(pszOldPath, pszNewPath);
  return bEtcData && bGroups ? TRUE : FALSE;
}
