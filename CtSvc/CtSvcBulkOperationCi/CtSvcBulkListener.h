// The C callbacks of the bulk API behind ICtSvcBulkListener: after a successful end the type's
// follow-up (the QRN contact callbacks hear a bulk insert or delete, the QRN group callbacks a
// membership change, the card's fingerprints are recomputed after card writes), then the state
// callback.
#ifndef CTSVC_BULK_LISTENER_H
#define CTSVC_BULK_LISTENER_H

#include "CtSvcBulkOp.h"
#include "CtSvcBulkOperation/ICtSvcBulkListener.h"

class CCtSvcBulkListener : public ICtSvcBulkListener {
 public:
  // bAutoDestroy: destroy the operation once it finished (a change order made without callback).
  CCtSvcBulkListener(int nType, CtSvcBulkOpStateCallback pfnCallback, void* pUserData, bool bAutoDestroy)
      : m_nType(nType), m_pfnCallback(pfnCallback), m_pUserData(pUserData), m_bAutoDestroy(bAutoDestroy) {}
  void OnChangedState(BOOL bResult, int nOldState, int nNewState) override;
  void OnProgress(int nDone, int nTotal) override;
  void SetProgressCallback(CtSvcBulkOpProgressCallback pfnCallback) { m_pfnProgress = pfnCallback; }
  // The group the QRN group callbacks name after a membership run.
  void SetGroupId(int nGroupId) { m_nGroupId = nGroupId; }

 private:
  void _FollowUp(BOOL bResult, int nNewState);

  int m_nType;
  CtSvcBulkOpStateCallback m_pfnCallback;
  void* m_pUserData;
  bool m_bAutoDestroy;
  CtSvcBulkOpProgressCallback m_pfnProgress = nullptr;
  int m_nGroupId = -1;
  bool m_bCardWriteFailed = false;
};

#endif
