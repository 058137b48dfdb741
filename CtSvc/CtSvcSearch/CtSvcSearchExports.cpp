// Exported search functions over the search manager.
#include "CtSvcSearch.h"

#include "CtSvcSearchMgr.h"

extern "C" BOOL CtSvcSearchCreateIndex(INT32 nType) { return CCtSvcSearchMgr::Instance()->CreateIndex(nType); }

extern "C" BOOL CtSvcSearchRequestSearch(INT32 nType, const char* pszSearchText, INT32 nDeviceType) {
  return CCtSvcSearchMgr::Instance()->RequestSearch(nType, pszSearchText, nDeviceType);
}

extern "C" INT32 CtSvcSearchGetResultCount(void) { return CCtSvcSearchMgr::Instance()->GetResultCount(); }

extern "C" INT32 CtSvcSearchGetResultItem(INT32 nOffset) { return CCtSvcSearchMgr::Instance()->GetResultItem(nOffset); }

extern "C" void CtSvcSearchDestroyResult(void) { CCtSvcSearchMgr::Instance()->DestroyResult(); }

extern "C" INT32 CtSvcGetLatestSearchType(void) { return CCtSvcSearchMgr::Instance()->GetLatestSearchType(); }

extern "C" INT32 CtSvcExtendedSearchRequestSearch(INT32 nType, const CtSvcExtendedSearchRequest* pRequest) {
  return CCtSvcSearchMgr::Instance()->RequestSearch(nType, pRequest);
}

extern "C" INT32 CtSvcExtendedSearchGetResultCount(INT32 nResultId) {
  return CCtSvcSearchMgr::Instance()->GetResultCount(nResultId);
}

extern "C" INT32 CtSvcExtendedSearchGetResultItem(INT32 nResultId, INT32 nOffset) {
  return CCtSvcSearchMgr::Instance()->GetResultItem(nResultId, nOffset);
}

extern "C" BOOL CtSvcExtendedSearchDestroyResult(INT32 nResultId) {
  return CCtSvcSearchMgr::Instance()->DestroyResult(nResultId);
}

extern "C" void CtSvcExtendedSearchDestroyAllResult(void) { CCtSvcSearchMgr::Instance()->DestroyAllResult(); }
