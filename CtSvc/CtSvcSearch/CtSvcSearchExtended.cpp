// Extended searches: narrowed by a row-id sub-query, kept in 20 slots whose index is the result id.
#include <cstring>
#include <string>

#include "CtSvcSearchMgr.h"
#include "CtSvcSearchQuery.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

int Execute(int hFts, const std::string& strRidQuery, int nConditions) {
  const char* pszKind = nConditions > 0 ? "Db2FTSExecuteWithRID" : "Db2FTSExecute";
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSearchMgr::RequestSearch %s start\n", pszKind);
  const int nResult = nConditions > 0 ? Db2FTSExecuteWithRID(hFts, 1, 1, strRidQuery.c_str()) : Db2FTSExecute(hFts, 1);
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSearchMgr::RequestSearch %s end\n", pszKind);
  return nResult;
}

}  // namespace

CtSvcExtendedSearchSlot* CCtSvcSearchMgr::_FindSlot(int nResultId) {
  for (CtSvcExtendedSearchSlot& slot : m_ExtendedResults) {
    if (slot.nResultId == nResultId) {
      return &slot;
    }
  }
  return nullptr;
}

int CCtSvcSearchMgr::RequestSearch(int nType, const CtSvcExtendedSearchRequest* pRequest) {
  if (!ZEL_REQUIRE(pRequest != NULL)) {
    return -1;
  }
  // The text buffer need not be terminated: only its own bytes are read.
  const std::string strText(pRequest->szSearchText, strnlen(pRequest->szSearchText, CTSVC_SEARCH_TEXT_SIZE));
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSearchMgr::RequestSearch CtSvcSearchType(%d), pszSearchSting(%s)\n", nType,
           strText.c_str());
  if (GetIndexDef(nType) == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSearchMgr::RequestSearch - invalid search type(%d)\n", nType);
    return -1;
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  CtSvcExtendedSearchSlot* pSlot = _FindSlot(-1);
  if (pSlot == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSearchMgr::RequestSearch - no free result of %d\n", CTSVC_EXTENDED_SEARCH_MAX_RESULT);
    return -1;
  }
  CtSvcSearchResult result;
  if (!_OpenSearch(nType, strText, result)) {
    return -1;
  }
  int nConditions = 0;
  const std::string strRidQuery = CtSvcSearchMakeRidQuery(nType, *pRequest, &nConditions);
  if (Execute(result.hFts, strRidQuery, nConditions) < 0) {
    _ReleaseResult(result);
    return -1;
  }
  pSlot->nResultId = static_cast<int>(pSlot - m_ExtendedResults);
  pSlot->result = result;
  return pSlot->nResultId;
}

int CCtSvcSearchMgr::GetResultCount(int nResultId) {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSearchMgr::GetResultCount start\n");
  std::lock_guard<std::mutex> lock(m_mutex);
  const CtSvcExtendedSearchSlot* pSlot = nResultId >= 0 ? _FindSlot(nResultId) : nullptr;
  return _GetCount(pSlot != nullptr ? pSlot->result : CtSvcSearchResult());
}

int CCtSvcSearchMgr::GetResultItem(int nResultId, int nOffset) {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSearchMgr::GetResultItem nOffset=%d\n", nOffset);
  std::lock_guard<std::mutex> lock(m_mutex);
  const CtSvcExtendedSearchSlot* pSlot = nResultId >= 0 ? _FindSlot(nResultId) : nullptr;
  if (pSlot == nullptr) {
    return 0;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSearchMgr::GetResultItem - Db2FTSFetchResultRecord  \n");
  return _GetItem(pSlot->result, nOffset);
}

BOOL CCtSvcSearchMgr::DestroyResult(int nResultId) {
  std::lock_guard<std::mutex> lock(m_mutex);
  CtSvcExtendedSearchSlot* pSlot = nResultId >= 0 ? _FindSlot(nResultId) : nullptr;
  if (pSlot == nullptr) {
    return FALSE;
  }
  _ReleaseResult(pSlot->result);
  pSlot->nResultId = -1;
  return TRUE;
}

void CCtSvcSearchMgr::DestroyAllResult() {
  std::lock_guard<std::mutex> lock(m_mutex);
  for (CtSvcExtendedSearchSlot& slot : m_ExtendedResults) {
    _ReleaseResult(slot.result);
    slot.nResultId = -1;
  }
}
