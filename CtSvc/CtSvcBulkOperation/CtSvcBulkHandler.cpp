#include "CtSvcBulkOperation/CtSvcBulkHandler.h"

#include <memory>
#include <mutex>
#include <new>

#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcModule/CtSvcModuleSingletons.h"
#include "ZelDebug.h"
#include "ZelOs.h"

namespace {
std::mutex g_instanceMutex;
std::unique_ptr<CCtSvcBulkHandler> g_pInstance;
}  // namespace

CCtSvcBulkHandler* CCtSvcBulkHandler::Instance() {
  std::lock_guard<std::mutex> lock(g_instanceMutex);
  if (!g_pInstance) {
    g_pInstance.reset(new (std::nothrow) CCtSvcBulkHandler());  // the constructor is private to the singleton
    if (!g_pInstance) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcBulkHandler::Instance - instance create failed\n");
      return nullptr;
    }
    CtSvcModuleSetSingleton(CTSVC_SINGLETON_BULK_OPERATION, &CCtSvcBulkHandler::DestroyInstance);
  }
  return g_pInstance.get();
}

void CCtSvcBulkHandler::DestroyInstance() {
  std::unique_ptr<CCtSvcBulkHandler> pOld;
  {
    std::lock_guard<std::mutex> lock(g_instanceMutex);
    pOld = std::move(g_pInstance);
  }
}

CCtSvcBulkHandler::~CCtSvcBulkHandler() {
  // Deleted without the module mutex: a tick waiting for it finishes first.
  if (m_hTimer != INVALID_HOBJ) {
    OsDeleteTimer(m_hTimer);
  }
}

BOOL CCtSvcBulkHandler::RegisterBulkOperation(ICtSvcBulkOperation* pBulkOperation, ICtSvcBulkListener* pListener) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(m_pCurrentOperation == NULL)) {
    return FALSE;
  }
  if (!ZEL_REQUIRE(m_BulkState == CTSVC_BULK_INVALID)) {
    return FALSE;
  }
  if (!ZEL_REQUIRE(pBulkOperation)) {
    return FALSE;
  }
  m_pCurrentOperation = pBulkOperation;
  m_pListener = pListener;
  m_nTotalCount = 0;
  m_BulkState = _IdleState();
  return TRUE;
}

BOOL CCtSvcBulkHandler::UnregisterBulkOperation() {
  CCtSvcModuleLock lock;
  _CancelTimer();
  m_pCurrentOperation = nullptr;
  m_pListener = nullptr;
  m_BulkState = CTSVC_BULK_INVALID;
  m_nTotalCount = 0;
  return TRUE;
}

BOOL CCtSvcBulkHandler::Start() { return _Run(TRUE); }

BOOL CCtSvcBulkHandler::Resume() { return _Run(FALSE); }

BOOL CCtSvcBulkHandler::_Run(BOOL bResetTotal) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(m_pCurrentOperation != NULL)) {
    return FALSE;
  }
  const int nRemain = m_pCurrentOperation->GetRemainInputCount();
  if (nRemain <= 0) {
    _ChangeState(TRUE, CTSVC_BULK_FINISHED);
    return TRUE;
  }
  if (bResetTotal) {
    m_nTotalCount = nRemain;
  }
  if (!_ArmTimer()) {
    return FALSE;
  }
  _ChangeState(TRUE, CTSVC_BULK_RUNNING);
  return TRUE;
}

BOOL CCtSvcBulkHandler::Stop() {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(m_pCurrentOperation != NULL)) {
    return FALSE;
  }
  _CancelTimer();
  _ChangeState(TRUE, _IdleState());
  return TRUE;
}

BOOL CCtSvcBulkHandler::Pause() {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(m_BulkState != CTSVC_BULK_PAUSED)) {
    return FALSE;
  }
  if (!ZEL_REQUIRE(m_pCurrentOperation != NULL)) {
    return FALSE;
  }
  _CancelTimer();
  _ChangeState(TRUE, CTSVC_BULK_PAUSED);
  return TRUE;
}

int CCtSvcBulkHandler::GetState() const {
  CCtSvcModuleLock lock;
  return m_BulkState;
}

BOOL CCtSvcBulkHandler::GetProgress(int* pnDone, int* pnTotal) const {
  CCtSvcModuleLock lock;
  if (m_pCurrentOperation == nullptr) {
    return FALSE;
  }
  if (pnDone != nullptr) {
    *pnDone = m_nTotalCount - m_pCurrentOperation->GetRemainInputCount();
  }
  if (pnTotal != nullptr) {
    *pnTotal = m_nTotalCount;
  }
  return TRUE;
}

BOOL CCtSvcBulkHandler::SetUnitCountAtOnce(int nCount) {
  ICtSvcBulkOperation* pOperation = m_pCurrentOperation;
  if (pOperation == nullptr) {
    return FALSE;
  }
  pOperation->SetOperationUnitCountAtOnce(nCount);
  return TRUE;
}

int CCtSvcBulkHandler::GetUnitCountAtOnce() const {
  ICtSvcBulkOperation* pOperation = m_pCurrentOperation;
  return pOperation != nullptr ? pOperation->GetOperationUnitCountAtOnce() : -1;
}

int CCtSvcBulkHandler::_IdleState() const {
  return m_pCurrentOperation != nullptr && m_pCurrentOperation->GetRemainInputCount() > 0 ? CTSVC_BULK_READY
                                                                                         : CTSVC_BULK_FINISHED;
}

// The timer is made once and kept: a stopped timer whose tick is already waiting for the module
// mutex finds the handler no longer running and does nothing.
BOOL CCtSvcBulkHandler::_ArmTimer() {
  if (m_hTimer == INVALID_HOBJ) {
    m_hTimer = OsCreateTimer("CtSvcBulkOperationTime", &CCtSvcBulkHandler::TimerMgrCallback, this);
    if (m_hTimer == INVALID_HOBJ) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcBulkHandler::Start - OsCreateTimer failed\n");
      return FALSE;
    }
  }
  if (!OsStartTimer(m_hTimer, CTSVC_BULK_TIMER_PERIOD)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcBulkHandler::Start - OsStartTimer failed\n");
    return FALSE;
  }
  return TRUE;
}

void CCtSvcBulkHandler::_CancelTimer() {
  if (m_hTimer != INVALID_HOBJ) {
    OsStopTimer(m_hTimer);
  }
}

// A change to another state, or any change to FINISHED, is stored and reported.
void CCtSvcBulkHandler::_ChangeState(BOOL bResult, int nNewState) {
  if (nNewState == m_BulkState && nNewState != CTSVC_BULK_FINISHED) {
    return;
  }
  const int nOldState = m_BulkState;
  m_BulkState = nNewState;
  if (m_pListener != nullptr) {
    m_pListener->OnChangedState(bResult, nOldState, nNewState);
  }
}

void CCtSvcBulkHandler::TimerMgrCallback(HOBJ /*hTimer*/, void* pParam) {
  static_cast<CCtSvcBulkHandler*>(pParam)->_Tick();
}

void CCtSvcBulkHandler::_Tick() {
  CCtSvcModuleLock lock;
  if (m_BulkState != CTSVC_BULK_RUNNING || m_pCurrentOperation == nullptr) {
    return;
  }
  const BOOL bResult = m_pCurrentOperation->OnBulkOperation();
  const int nRemain = m_pCurrentOperation->GetRemainInputCount();
  if (!bResult) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcBulkHandler::TimerMgrCallback (%d/%d) failed\n", nRemain, m_nTotalCount);
    _CancelTimer();
    _ChangeState(FALSE, _IdleState());
    return;
  }
  DbgPrint(DBG_CLASS_BULK, "CCtSvcBulkHandler::TimerMgrCallback (%d/%d) success\n", nRemain, m_nTotalCount);
  if (m_pListener != nullptr) {
    m_pListener->OnProgress(m_nTotalCount - nRemain, m_nTotalCount);
  }
  // The progress listener may have stopped, paused or unregistered the operation.
  if (m_BulkState != CTSVC_BULK_RUNNING || m_pCurrentOperation == nullptr) {
    return;
  }
  if (nRemain <= 0) {
    _ChangeState(TRUE, CTSVC_BULK_FINISHED);
  } else if (!_ArmTimer()) {
    _ChangeState(FALSE, _IdleState());
  }
}
