// What every search shares: opening a search of a type with its fetch and sort columns, narrowing
// it to one device type, reading its rows and releasing its engine handles.
#include <cstdio>
#include <cstring>
#include <string>

#include "CtSvcSearchMgr.h"
#include "CtSvcSearchQuery.h"
#include "ZelDb2.h"
#include "ZelDebug.h"
#include "ZelNv.h"

namespace {

// Platform setting of the name order: non-zero shows names last name first.
constexpr UINT32 kNvNameOrder = 1417;
// Room for the fetched columns of one result row; the row id comes first.
constexpr int kRecordWords = 4;

int MakeColumn(const char* pszTable, const char* pszColumn) {
  char szColumn[128];
  std::snprintf(szColumn, sizeof(szColumn), "%s:%s", pszTable, pszColumn);
  return Db2FTSMakeDBTableColumn(szColumn);
}

}  // namespace

bool CCtSvcSearchMgr::_OpenSearch(int nType, std::string_view text, CtSvcSearchResult& result) {
  const CtSvcSearchIndexDef* pDef = GetIndexDef(nType);
  if (pDef == nullptr) {
    return false;
  }
  const std::string strQuery = CtSvcSearchMakeQuery(pDef->szGroup, pDef->szIndex, text);
  result = CtSvcSearchResult();
  result.nSearchType = nType;
  result.hFts = Db2FTSCreate(strQuery.c_str(), 1, 1);
  if (result.hFts < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSearchMgr::RequestSearch - Db2FTSCreate failed(%s)\n", strQuery.c_str());
    result.hFts = -1;
    return false;
  }
  const char* pszSortColumn = NvGetInt(kNvNameOrder) != 0 ? "LF_FULLNAME" : "FL_FULLNAME";
  result.hSortColumn = MakeColumn(pDef->szTable, pszSortColumn);
  if (Db2FTSAddFetchColumnList(result.hFts, 0, pDef->szTable, pDef->szIdColumn) < 0 || result.hSortColumn < 0 ||
      Db2FTSSetSortOption(result.hFts, result.hSortColumn, 1, 1) < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSearchMgr::RequestSearch - fetch or sort column of %s failed\n", pDef->szTable);
    _ReleaseResult(result);
    return false;
  }
  return true;
}

bool CCtSvcSearchMgr::_SetDeviceRange(int nType, int nDeviceType, CtSvcSearchResult& result) {
  const CtSvcSearchIndexDef* pDef = GetIndexDef(nType);
  result.hRangeColumn = MakeColumn(pDef->szTable, pDef->szDeviceTypeColumn);
  const std::string strValue = std::to_string(nDeviceType);
  if (result.hRangeColumn < 0 ||
      Db2FTSSetRangeQuery(result.hFts, result.hRangeColumn, strValue.c_str(), strValue.c_str()) < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSearchMgr::RequestSearch - range of %s(%d) failed\n", pDef->szDeviceTypeColumn,
             nDeviceType);
    return false;
  }
  return true;
}

void CCtSvcSearchMgr::_ReleaseResult(CtSvcSearchResult& result) {
  if (result.hSortColumn >= 0) {
    Db2FTSFreeDBTableColumn(result.hSortColumn);
  }
  if (result.hRangeColumn >= 0) {
    Db2FTSFreeDBTableColumn(result.hRangeColumn);
  }
  if (result.hFts >= 0) {
    Db2FTSQuitResultRecord(result.hFts);
    Db2FTSDestroy(result.hFts);
  }
  result = CtSvcSearchResult();
}

int CCtSvcSearchMgr::_GetCount(const CtSvcSearchResult& result) {
  const int nCount = result.hFts >= 0 ? Db2FTSGetResultCnt(result.hFts, 0) : -1;
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSearchMgr::GetResultCount=%d\n", nCount);
  return nCount;
}

int CCtSvcSearchMgr::_GetItem(const CtSvcSearchResult& result, int nOffset) {
  if (result.hFts < 0) {
    return 0;
  }
  INT32 aRecord[kRecordWords] = {};
  if (Db2FTSFetchResultRecord(result.hFts, nOffset, aRecord, static_cast<int>(sizeof(aRecord))) <= 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSearchMgr::GetResultItem - Db2FTSFetchResultRecord failed(nOffset = %d)\n",
             nOffset);
    return 0;
  }
  INT32 nId = 0;
  std::memcpy(&nId, aRecord, sizeof(nId));
  return nId;
}

void CCtSvcSearchMgr::Prepare(int nType) { Release(nType); }

void CCtSvcSearchMgr::Release(int nType) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_BasicResult.hFts >= 0 && m_BasicResult.nSearchType == nType) {
    _ReleaseResult(m_BasicResult);
  }
  for (CtSvcExtendedSearchSlot& slot : m_ExtendedResults) {
    if (slot.nResultId >= 0 && slot.result.nSearchType == nType) {
      _ReleaseResult(slot.result);
      slot.nResultId = -1;
    }
  }
}
