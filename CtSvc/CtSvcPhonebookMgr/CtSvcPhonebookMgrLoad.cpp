// The end of each group load: the loaded group's copy into the store when needed, then the next
// group, and after the last one the completion report.
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcDbListener.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcBulkOperation/CtSvcBulkHandler.h"
#include "CtSvcSimCi.h"
#include "ZelDebug.h"
#include "ZelWm.h"

namespace {

// The broadcast that tells applications the phonebook is ready.
constexpr UINT32 kPhonebookReadyEvent = 0x214;
constexpr INT32 kPhonebookReadyParam = 0x86;

}  // namespace

BOOL CCtSvcPhonebookMgr::_CheckFront(int nType, const char* pszWho, const char* pszFile) {
  if (!ZEL_REQUIRE(!m_qWork.empty())) {
    return FALSE;
  }
  if (m_qWork.front() != nType) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::%s - m_qWork.front(%d) is not CTSVCSIM_INIT_%s\n", pszWho,
             m_qWork.front(), pszFile);
    _Fail();
    return FALSE;
  }
  return TRUE;
}

void CCtSvcPhonebookMgr::_Fail() {
  m_InitState = CTSVC_SIM_INIT_FAILED;
  m_qWork = std::queue<int>();
}

void CCtSvcPhonebookMgr::_Finish(int nType, BOOL bResult) {
  m_InitState |= nType;
  m_qWork.pop();
  if (!m_qWork.empty()) {
    __Next();
  } else {
    __NotifyInitComplete(bResult);
  }
}

void CCtSvcPhonebookMgr::_ValidCheckExt(int nSimFileID) {
  if (CtSvcSimGetCardType() == CTSVC_SIM_CARD_TYPE_USIM && CtSvcSimIsUsedFile(nSimFileID) > 0) {
    CtSvcSimValidCheckExtFile(nSimFileID);
  }
}

void CCtSvcPhonebookMgr::OnInitializedSdn(BOOL bResult) {
  CCtSvcModuleLock lock;
  if (_CheckFront(CTSVC_SIM_INIT_SDN, "OnInitializedSdn", "SDN")) {
    _Finish(CTSVC_SIM_INIT_SDN, bResult);
  }
}

void CCtSvcPhonebookMgr::OnInitializedMsisdn(BOOL bResult) {
  CCtSvcModuleLock lock;
  if (_CheckFront(CTSVC_SIM_INIT_MSISDN, "OnInitializedMsisdn", "MSISDN")) {
    _ValidCheckExt(CTSVC_SIM_EXT5);
    _Finish(CTSVC_SIM_INIT_MSISDN, bResult);
  }
}

void CCtSvcPhonebookMgr::OnInitializedFdn(BOOL bResult) {
  CCtSvcModuleLock lock;
  _OnInitializedFdn(bResult);
}

BOOL CCtSvcPhonebookMgr::_OnInitializedFdn(BOOL bResult) {
  if (!_CheckFront(CTSVC_SIM_INIT_FDN, "OnInitializedFdn", "FDN")) {
    return FALSE;
  }
  if (bResult && !__ReloadFdnRecordsToDB()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::OnInitializedFdn- __ReloadFdnRecordsToDB( void ) is failed\n");
    _Fail();
    return FALSE;
  }
  _ValidCheckExt(CTSVC_SIM_EXT2);
  _Finish(CTSVC_SIM_INIT_FDN, bResult);
  return TRUE;
}

void CCtSvcPhonebookMgr::OnInitializedAdn(BOOL bResult) {
  CCtSvcModuleLock lock;
  _OnInitializedAdn(bResult);
}

BOOL CCtSvcPhonebookMgr::_OnInitializedAdn(BOOL bResult) {
  if (!_CheckFront(CTSVC_SIM_INIT_ADN, "OnInitializedAdn", "ADN")) {
    return FALSE;
  }
  // The fingerprints are compared only when the card itself is the same one.
  if (bResult && (IsSimChanged() || !__IsSameSHA1() || m_nSimRefreshCondition == 1)) {
    __ResetSHA1();
    if (!__ReloadGasRecordsToDB()) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::OnInitializedAdn- __ReloadGasRecordsToDB( void ) is failed\n");
      _Fail();
      return FALSE;
    }
    if (!__ReloadAdnRecordsToDB()) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::OnInitializedAdn- __ReloadAdnRecordsToDB( void ) is failed\n");
      _Fail();
      return FALSE;
    }
    if (m_pBulkOperation != nullptr) {
      return TRUE;  // OnChangedState finishes when the copy is done
    }
  }
  _ValidCheckExt(CTSVC_SIM_EXT1);
  _Finish(CTSVC_SIM_INIT_ADN, bResult);
  return TRUE;
}

void CCtSvcPhonebookMgr::OnChangedState(BOOL bResult, int nOldState, int nNewState) {
  CCtSvcModuleLock lock;
  if (nOldState != CTSVC_BULK_RUNNING) {
    return;
  }
  _DeleteBulkOperation();
  if (nNewState == CTSVC_BULK_FINISHED && bResult) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::OnChangedState -Bulk operaton is SUCCEED\n");
    SetSHA1();
  } else {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::OnChangedState -Bulk operaton is FAILED\n");
  }
  if (m_qWork.empty()) {
    return;
  }
  m_InitState |= m_qWork.front();
  m_qWork.pop();
  if (!m_qWork.empty()) {
    __Next();
    return;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::OnChangedState success - All done\n");
  __NotifyInitComplete(bResult);
}

void CCtSvcPhonebookMgr::__NotifyInitComplete(BOOL bResult) {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::__NotifyInitComplete\n");
  __PreInstContact();
  m_InitState = CTSVC_SIM_INIT_COMPLETE;
  if (m_pListener != nullptr) {
    m_pListener->OnInitPhonebook(bResult);
  }
  if (bResult) {
    WmEvent event{};
    event.nEventId = kPhonebookReadyEvent;
    event.nParam1 = kPhonebookReadyParam;
    event.hReceiver = WM_BROADCAST;
    WmSendEvent(WM_BROADCAST, &event);
  }
}
