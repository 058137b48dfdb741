#include "CtSvcTaskJobSearch.h"

#include "CtSvcSearch/CtSvcSearchMgr.h"

CCtSvcTaskJobSearchRequest::CCtSvcTaskJobSearchRequest(int nSearchType, int nDeviceType, const char* pszSearchText,
                                                       CtSvcSearchRequestCallback pfnCallback, void* pUserData)
    : m_nSearchType(nSearchType),
      m_nDeviceType(nDeviceType),
      m_strSearchText(pszSearchText),
      m_pfnCallback(pfnCallback),
      m_pUserData(pUserData) {}

void CCtSvcTaskJobSearchRequest::SendNotifyCallback() {
  m_pfnCallback(m_nSearchType, m_nDeviceType, m_strSearchText.c_str(), 0, m_pUserData);
}

void CCtSvcTaskJobSearchResultDestroy::DoWork() { CCtSvcSearchMgr::Instance()->DestroyResult(); }

void CCtSvcTaskJobSearchResultDestroy::SendNotifyCallback() {
  if (m_pfnCallback != nullptr) {
    m_pfnCallback(m_pUserData);
  }
}
