#include "CtSvcSimCi/CtSvcSimCiListeners.h"

#include <memory>

void CCtSvcSimLoadListener::_Report(int nInitType, BOOL bResult) {
  std::unique_ptr<CCtSvcSimLoadListener> pSelf(this);  // one report, then gone
  m_pfnCallback(nInitType, bResult ? 1 : 0, m_pUserData);
}

void CCtSvcSimUpdateListener::_Report(int nSetType, int nRecordIndex, BOOL bSuccess) {
  std::unique_ptr<CCtSvcSimUpdateListener> pSelf(this);
  m_pfnCallback(nSetType, nRecordIndex, bSuccess ? 1 : 0, m_pUserData);
}
