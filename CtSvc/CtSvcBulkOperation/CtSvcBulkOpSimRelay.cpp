// The one relay of card answers to the bulk operation that asked for them.
#include "CtSvcBulkOperation/CtSvcBulkOpSimBase.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"

namespace {

class CCtSvcBulkSimRelay : public ICtSvcSimUpdateListener {
 public:
  void Set(ICtSvcSimUpdateListener* pTarget) { m_pTarget = pTarget; }
  void Forget(ICtSvcSimUpdateListener* pTarget) {
    if (m_pTarget == pTarget) {
      m_pTarget = nullptr;
    }
  }
  void OnInsertRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) override {
    _Forward(&ICtSvcSimUpdateListener::OnInsertRecord, nSimFileID, nRecordIndex, bSuccess);
  }
  void OnUpdateRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) override {
    _Forward(&ICtSvcSimUpdateListener::OnUpdateRecord, nSimFileID, nRecordIndex, bSuccess);
  }
  void OnDeleteRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) override {
    _Forward(&ICtSvcSimUpdateListener::OnDeleteRecord, nSimFileID, nRecordIndex, bSuccess);
  }

 private:
  void _Forward(void (ICtSvcSimUpdateListener::*pfn)(int, int, BOOL), int nSimFileID, int nRecordIndex,
                BOOL bSuccess) {
    CCtSvcModuleLock lock;
    if (m_pTarget == nullptr) {
      // The store never follows this write: the card's fingerprints stay stale, so the next start
      // of the phonebook reads the card again.
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcBulkSimRelay - answer of record %d after its operation ended\n", nRecordIndex);
      return;
    }
    (m_pTarget->*pfn)(nSimFileID, nRecordIndex, bSuccess);
  }
  ICtSvcSimUpdateListener* m_pTarget = nullptr;
};

CCtSvcBulkSimRelay& Relay() {
  static CCtSvcBulkSimRelay relay;
  return relay;
}

}  // namespace

ICtSvcSimUpdateListener* CtSvcBulkSimRelayFor(ICtSvcSimUpdateListener* pOperation) {
  CCtSvcModuleLock lock;
  Relay().Set(pOperation);
  return &Relay();
}

void CtSvcBulkSimRelayForget(ICtSvcSimUpdateListener* pOperation) {
  CCtSvcModuleLock lock;
  Relay().Forget(pOperation);
}

ICtSvcSimUpdater* CtSvcBulkAdnUpdater(const char* pszWho) {
  ICtSvcSimUpdater* pUpdater = CCtSvcSimMgr::Instance()->GetRecordUpdater(CTSVC_SIM_UPDATER_ADN);
  if (pUpdater == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s -GetRecordUpdater( void ) is FAILED\n", pszWho);
  }
  return pUpdater;
}

void CtSvcBulkSimChanged() { CCtSvcPhonebookMgr::Instance()->SetSHA1(); }
