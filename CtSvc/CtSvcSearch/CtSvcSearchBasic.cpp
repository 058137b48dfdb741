// The basic search: one result, replaced by every new search.
#include <cstring>

#include "CtSvcSearchMgr.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

BOOL CCtSvcSearchMgr::RequestSearch(int nType, const char* pszSearchText, int nDeviceType) {
  if (!ZEL_REQUIRE(pszSearchText != NULL)) {
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  _ReleaseResult(m_BasicResult);
  if (GetIndexDef(nType) == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSearchMgr::RequestSearch - invalid search type(%d)\n", nType);
    return FALSE;
  }
  // One byte past the used length tells whether the text goes on.
  const std::string_view text(pszSearchText, strnlen(pszSearchText, CTSVC_SEARCH_TEXT_MAX + 1));
  CtSvcSearchResult result;
  if (!_OpenSearch(nType, text, result)) {
    return FALSE;
  }
  if ((nDeviceType > 0 && !_SetDeviceRange(nType, nDeviceType, result)) || Db2FTSExecute(result.hFts, 1) < 0) {
    _ReleaseResult(result);
    return FALSE;
  }
  m_BasicResult = result;
  m_nLatestSearchType = nType;
  return TRUE;
}

int CCtSvcSearchMgr::GetResultCount() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return _GetCount(m_BasicResult);
}

int CCtSvcSearchMgr::GetResultItem(int nOffset) {
  std::lock_guard<std::mutex> lock(m_mutex);
  return _GetItem(m_BasicResult, nOffset);
}

void CCtSvcSearchMgr::DestroyResult() {
  std::lock_guard<std::mutex> lock(m_mutex);
  _ReleaseResult(m_BasicResult);
}

int CCtSvcSearchMgr::GetLatestSearchType() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_nLatestSearchType;
}
