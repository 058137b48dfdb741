#include "CtSvcBulkOperationCi/CtSvcBulkListener.h"

#include "CtSvcBulkOperation/CtSvcBulkOpSimBase.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"

namespace {

bool WritesCard(int nType) {
  switch (nType) {
    case CTSVC_BULK_OP_INSERT_ADN:
    case CTSVC_BULK_OP_DELETE_ADN:
    case CTSVC_BULK_OP_COPY_DB_TO_ADN:
    case CTSVC_BULK_OP_MOVE_ADN_TO_DB:
    case CTSVC_BULK_OP_MOVE_DB_TO_ADN:
    case CTSVC_BULK_OP_ADD_MEMBER_ADN:
    case CTSVC_BULK_OP_REMOVE_MEMBER_ADN:
      return true;
    default:
      return false;
  }
}

}  // namespace

// The follow-up of a run that finished. A card-writing run recomputes the card's fingerprints
// whenever it ends (finished or stopped) - unless one of its card writes failed: a failed write can
// leave part of its record on the card, so the fingerprints are left stale and the next start of
// the phonebook reads the card again and the store follows it.
void CCtSvcBulkListener::_FollowUp(BOOL bResult, int nNewState) {
  const bool bFinished = bResult && nNewState == CTSVC_BULK_FINISHED;
  const bool bEnded = nNewState == CTSVC_BULK_FINISHED || nNewState == CTSVC_BULK_READY;
  CCtSvcPhonebookMgr* pMgr = CCtSvcPhonebookMgr::Instance();
  if (WritesCard(m_nType)) {
    m_bCardWriteFailed = m_bCardWriteFailed || !bResult;
    if (bEnded && !m_bCardWriteFailed) {
      CtSvcBulkSimChanged();
    }
    return;
  }
  if (!bFinished) {
    return;
  }
  if (m_nType == CTSVC_BULK_OP_INSERT_DB || m_nType == CTSVC_BULK_OP_COPY_ADN_TO_DB) {
    pMgr->NotifyContactChangedQRN(CTSVC_CHANGE_TYPE_BULK_INSERT, -1, nullptr);
  } else if (m_nType == CTSVC_BULK_OP_DELETE_DB) {
    pMgr->NotifyContactChangedQRN(CTSVC_CHANGE_TYPE_BULK_DELETE, -1, nullptr);
  } else if (m_nType == CTSVC_BULK_OP_ADD_MEMBER_DB || m_nType == CTSVC_BULK_OP_REMOVE_MEMBER_DB) {
    pMgr->NotifyGroupChangedQRN(CTSVC_CHANGE_TYPE_UPDATE, m_nGroupId, nullptr);
  }
}

void CCtSvcBulkListener::OnChangedState(BOOL bResult, int nOldState, int nNewState) {
  const bool bFinished = bResult && nNewState == CTSVC_BULK_FINISHED;
  _FollowUp(bResult, nNewState);
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
