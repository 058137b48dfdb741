#include "CtSvcBulkOperationCi/CtSvcBulkListener.h"

#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"

void CCtSvcBulkListener::OnChangedState(BOOL bResult, int nOldState, int nNewState) {
  const bool bFinished = bResult && nNewState == CTSVC_BULK_FINISHED;
  if (bFinished) {
    CCtSvcPhonebookMgr* pMgr = CCtSvcPhonebookMgr::Instance();
    if (m_nType == CTSVC_BULK_OP_INSERT_DB || m_nType == CTSVC_BULK_OP_COPY_ADN_TO_DB) {
      pMgr->NotifyContactChangedQRN(CTSVC_CHANGE_TYPE_BULK_INSERT, -1, nullptr);
    } else if (m_nType == CTSVC_BULK_OP_DELETE_DB) {
      pMgr->NotifyContactChangedQRN(CTSVC_CHANGE_TYPE_BULK_DELETE, -1, nullptr);
    }
  }
  if (m_pfnCallback != nullptr) {
    m_pfnCallback(bResult, nOldState, nNewState, m_pUserData);
  }
  if (bFinished && m_bAutoDestroy) {
    CtSvcBulkOpDestroy();  // deletes this listener: nothing may follow
  }
}

void CCtSvcBulkListener::OnProgress(int nDone, int nTotal) {
  if (m_pfnProgress != nullptr) {
    m_pfnProgress(nDone, nTotal, m_pUserData);
  }
}
