// Storing imported cards through the bulk handler: an insert operation that also tells which
// cards joined a stored contact and which the store refused, and a listener the importing thread
// waits on while the handler's timer runs the units.
#include <condition_variable>
#include <deque>
#include <mutex>

#include "CtSvcBulkOperation/CtSvcBulkHandler.h"
#include "CtSvcBulkOperation/CtSvcBulkOpInsertDb.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcImg.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcVCard/CtSvcVCardImport.h"
#include "ZelDebug.h"

namespace {

std::string CardLabel(int nLine) { return "card at line " + std::to_string(nLine); }

// The bulk insert of imported cards. Items are processed from the front in the order they were
// added, so the cards' lines and photos are kept in a queue beside them.
class CCtSvcVCardImportOp : public CCtSvcBulkOpInsertDb {
 public:
  struct Card {
    int nLine;
    std::string strPhoto;
  };

  BOOL AddCard(const CtSvcVCardImportCard& card) {
    if (!AddContactRecord(CTSVC_USE_TYPE_PHONE, card.info)) {
      return FALSE;
    }
    m_Cards.push_back(Card{card.nLine, card.info.pPersonInfo->szCallerImage});
    return TRUE;
  }
  int Imported() const { return m_nImported; }
  int Merged() const { return m_nMerged; }
  const std::vector<Card>& Refused() const { return m_vcRefused; }
  // The cards not processed yet.
  const std::deque<Card>& Remaining() const { return m_Cards; }

 protected:
  // A new primary taken by the insert means a contact of its own; none, that it joined one.
  BOOL _ProcessItem(CtSvcBulkContactItem& item) override {
    Card card = m_Cards.front();
    m_Cards.pop_front();
    const int nNextPrimary = CCtSvcPrimary().PredictNextRecordId();
    const BOOL bDone = CCtSvcBulkOpInsertDb::_ProcessItem(item);
    if (bDone) {
      ++(CCtSvcPrimary().PredictNextRecordId() == nNextPrimary ? m_nMerged : m_nImported);
    } else {
      m_vcRefused.push_back(card);
    }
    return bDone;
  }

 private:
  std::deque<Card> m_Cards;
  std::vector<Card> m_vcRefused;
  int m_nImported = 0;
  int m_nMerged = 0;
};

// Hears the handler on its timer thread; the importing thread waits until the run stops.
class CCtSvcVCardImportWaiter : public ICtSvcBulkListener {
 public:
  explicit CCtSvcVCardImportWaiter(const std::function<void(int, int)>& pfnProgress) : m_pfnProgress(pfnProgress) {}

  void OnChangedState(BOOL bResult, int /*nOldState*/, int nNewState) override {
    if (bResult && nNewState == CTSVC_BULK_FINISHED) {
      CCtSvcPhonebookMgr::Instance()->NotifyContactChangedQRN(CTSVC_CHANGE_TYPE_BULK_INSERT, -1, nullptr);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_nState = nNewState;
    m_changed.notify_all();
  }
  void OnProgress(int nDone, int nTotal) override {
    if (m_pfnProgress) {
      m_pfnProgress(nDone, nTotal);
    }
  }
  // Waits while the operation runs or is paused by someone else; the state it stopped in.
  int WaitUntilStopped() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_nState != CTSVC_BULK_RUNNING && m_nState != CTSVC_BULK_PAUSED; });
    return m_nState;
  }

 private:
  std::function<void(int, int)> m_pfnProgress;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  int m_nState = CTSVC_BULK_INVALID;
};

// Registers the operation unless another one holds the handler.
bool Register(CCtSvcBulkHandler& handler, CCtSvcVCardImportOp& op, CCtSvcVCardImportWaiter& waiter, int nUnit) {
  CCtSvcModuleLock lock;
  if (handler.GetCurrentOperation() != nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcVCardInsertImported - another bulk operation is registered\n");
    return false;
  }
  return handler.RegisterBulkOperation(&op, &waiter) && handler.SetUnitCountAtOnce(nUnit);
}

// Runs the operation to its end: a unit stopped by a refused card is started again with the
// cards after it.
bool Run(CCtSvcBulkHandler& handler, CCtSvcVCardImportWaiter& waiter) {
  for (;;) {
    if (!handler.Start()) {
      return false;
    }
    if (waiter.WaitUntilStopped() == CTSVC_BULK_FINISHED) {
      return true;
    }
  }
}

void Skip(const CCtSvcVCardImportOp::Card& card, const std::string& strWhy, CtSvcVCardImportResult& result) {
  ++result.nSkipped;
  result.vcErrors.push_back(CardLabel(card.nLine) + ": " + strWhy);
  if (!card.strPhoto.empty()) {
    CtSvcImgDelete(card.strPhoto.c_str());  // no contact keeps the photo
  }
}

}  // namespace

bool CtSvcVCardInsertImported(std::vector<CtSvcVCardImportCard>& vcBatch, CtSvcVCardImportResult& result,
                              const std::function<void(int nDone, int nTotal)>& pfnProgress, std::string& strError) {
  CCtSvcVCardImportOp op;
  for (CtSvcVCardImportCard& card : vcBatch) {
    op.AddCard(card);
    CtSvcFreeContactInfo(&card.info);
  }
  vcBatch.clear();
  CCtSvcVCardImportWaiter waiter(pfnProgress);
  CCtSvcBulkHandler* pHandler = CCtSvcBulkHandler::Instance();
  bool bDone = false;
  if (pHandler != nullptr && Register(*pHandler, op, waiter, CCtSvcVCardImporter::kBatchSize)) {
    bDone = Run(*pHandler, waiter);
    pHandler->UnregisterBulkOperation();
  }
  for (const CCtSvcVCardImportOp::Card& card : op.Refused()) {
    Skip(card, "the store refused the contact", result);
  }
  if (!bDone) {
    strError = "the bulk handler cannot run the import (another bulk operation is registered?)";
    for (const CCtSvcVCardImportOp::Card& card : op.Remaining()) {
      Skip(card, "not stored, the bulk handler is busy", result);
    }
  }
  result.nImported += op.Imported();
  result.nMerged += op.Merged();
  return bDone;
}
