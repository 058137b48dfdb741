// What the SIM operations share: one record a time. A tick sends the front item's card write and
// answers "waiting" until the card's answer comes back (on the event handler thread); the answer
// finishes the item in the store and removes it, so progress moves by one record per answer. A
// card write that fails ends the run: the item is left as it was on both sides, and the next tick
// answers FALSE, which stops the handler with the items after it still to do.
#ifndef CTSVC_BULK_OP_SIM_BASE_H
#define CTSVC_BULK_OP_SIM_BASE_H

#include "CtSvcBulkOperation/CtSvcBulkOpBase.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcSim/SimUpdater/ICtSvcSimUpdater.h"
#include "ZelDebug.h"

// Which card write an operation makes.
enum CtSvcBulkSimWrite { CTSVC_BULK_SIM_INSERT, CTSVC_BULK_SIM_UPDATE, CTSVC_BULK_SIM_DELETE };

// The listener given to the card's updater for a bulk operation: it forwards the answer to the
// operation while that is alive. The updater keeps its listener until it answers, and a run that is
// stopped and destroyed before the answer must not be called back.
ICtSvcSimUpdateListener* CtSvcBulkSimRelayFor(ICtSvcSimUpdateListener* pOperation);
void CtSvcBulkSimRelayForget(ICtSvcSimUpdateListener* pOperation);
// The ADN updater, or null (logged for pszWho).
ICtSvcSimUpdater* CtSvcBulkAdnUpdater(const char* pszWho);
// Recomputes the stored fingerprints of the card files after bulk card writes.
void CtSvcBulkSimChanged();

template <class Item>
class CCtSvcBulkOpSimBase : public CCtSvcBulkOpBase<Item>, public ICtSvcSimUpdateListener {
 public:
  ~CCtSvcBulkOpSimBase() override { CtSvcBulkSimRelayForget(this); }

  BOOL OnBulkOperation() override {
    if (m_bWaiting) {
      DbgPrint(DBG_CLASS_BULK, "%s::OnBulkOperation - waiting for %s to sim\n", m_pszWho, _Verb());
      return TRUE;
    }
    if (m_bFailed) {
      m_bFailed = false;
      return FALSE;
    }
    if (this->GetRemainInputCount() == 0) {
      DbgPrint(DBG_CLASS_BULK, "%s::OnBulkOperation - GetRemainInputCount is 0\n", m_pszWho);
      return TRUE;
    }
    ICtSvcSimUpdater* pUpdater = CtSvcBulkAdnUpdater(m_pszWho);
    if (pUpdater != nullptr && pUpdater->GetState() != CTSVC_SIM_UPDATER_IDLE) {
      // Another write (the phonebook's own) holds the card: try again next tick.
      DbgPrint(DBG_CLASS_BULK, "%s::OnBulkOperation - the card is busy\n", m_pszWho);
      return TRUE;
    }
    if (pUpdater == nullptr || !_SendItem(this->_Front(), pUpdater)) {
      DbgPrint(DBG_CLASS_FAIL, "%s::OnBulkOperation - the card write was not sent\n", m_pszWho);
      this->_PopFront();
      return FALSE;
    }
    m_bWaiting = true;
    return TRUE;
  }

  void OnInsertRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) override {
    _OnAnswer(CTSVC_BULK_SIM_INSERT, nSimFileID, nRecordIndex, bSuccess);
  }
  void OnUpdateRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) override {
    _OnAnswer(CTSVC_BULK_SIM_UPDATE, nSimFileID, nRecordIndex, bSuccess);
  }
  void OnDeleteRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) override {
    _OnAnswer(CTSVC_BULK_SIM_DELETE, nSimFileID, nRecordIndex, bSuccess);
  }
  bool IsWaiting() const { return m_bWaiting; }

 protected:
  CCtSvcBulkOpSimBase(const char* pszWho, CtSvcBulkSimWrite write, int nUnitCount, const char* pszFixedUnitReport)
      : CCtSvcBulkOpBase<Item>(nUnitCount, pszFixedUnitReport), m_pszWho(pszWho), m_write(write) {}

  // Starts the card write of the item with _Listener(); false when nothing was sent (the store
  // unchanged).
  virtual BOOL _SendItem(Item& item, ICtSvcSimUpdater* pUpdater) = 0;
  // The store's side of a card write that succeeded; false when the store could not follow.
  virtual BOOL _OnWritten(Item& item, int nRecordIndex) = 0;
  // A card write that failed: undoes what _SendItem stored ahead of it.
  virtual void _OnWriteFailed(Item& /*item*/) {}
  ICtSvcSimUpdateListener* _Listener() { return CtSvcBulkSimRelayFor(this); }
  const char* _Who() const { return m_pszWho; }

 private:
  // The unit is one card write: OnBulkOperation above never runs the item loop.
  BOOL _ProcessItem(Item& /*item*/) override {
    ZEL_NEVER_GET_HERE("CCtSvcBulkOpSimBase::_ProcessItem");
    return FALSE;
  }
  const char* _Verb() const {
    return m_write == CTSVC_BULK_SIM_INSERT ? "inserting" : m_write == CTSVC_BULK_SIM_UPDATE ? "updating" : "deleting";
  }
  void _OnAnswer(CtSvcBulkSimWrite write, int nSimFileID, int nRecordIndex, BOOL bSuccess) {
    CCtSvcModuleLock lock;
    static const char* const kKinds[] = {"insert", "update", "delete"};
    if (write != m_write || !m_bWaiting) {
      DbgPrint(DBG_CLASS_FAIL, "%s - Not support %s\n", m_pszWho, kKinds[write]);
      ZEL_NEVER_GET_HERE("a SIM answer the bulk operation did not ask for");
      return;
    }
    m_bWaiting = false;
    Item& item = this->_Front();
    if (!ZEL_REQUIRE_TEXT(nSimFileID == CTSVC_SIM_ADN, "recordType == CTSVC_SIM_RECORD_TYPE_ADN") || !bSuccess) {
      DbgPrint(DBG_CLASS_FAIL, "%s::On%sRecord - the card write failed(nRecordIndex = %d)\n", m_pszWho,
               kKinds[write], nRecordIndex);
      _OnWriteFailed(item);
      m_bFailed = true;
    } else if (!_OnWritten(item, nRecordIndex)) {
      m_bFailed = true;
    }
    this->_PopFront();
  }

  const char* m_pszWho;
  CtSvcBulkSimWrite m_write;
  bool m_bWaiting = false;
  bool m_bFailed = false;
};

#endif
