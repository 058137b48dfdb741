// The SIM manager's life: group loads started and finished, the record updaters of the loaded
// groups, opening and closing the card, and the synchronisation repair after a GSM terminal.
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"

#include "CtSvcSim/SimMgr/CtSvcSimMgrLimits.h"

#include <new>

#include "ZelDebug.h"

namespace {

// Updater slots of each load group (ADN also owns GAS and AAS), -1 ending the list.
constexpr int kGroupSlots[4][4] = {
    {CTSVC_SIM_UPDATER_ADN, CTSVC_SIM_UPDATER_GAS, CTSVC_SIM_UPDATER_AAS, -1},
    {CTSVC_SIM_UPDATER_FDN, -1, -1, -1},
    {CTSVC_SIM_UPDATER_MSISDN, -1, -1, -1},
    {CTSVC_SIM_UPDATER_SDN, -1, -1, -1},
};

}  // namespace

CCtSvcSimMgr* CCtSvcSimMgr::Instance() {
  static CCtSvcSimMgr* s_pMgr = new CCtSvcSimMgr();  // lives for the process
  return s_pMgr;
}

CCtSvcSimMgr::~CCtSvcSimMgr() { Clear(); }

int CCtSvcSimMgr::GetCardType() const { return CtSvcGetDevSimMgr()->GetCardType(); }

ICtSvcSimUpdater* CCtSvcSimMgr::GetRecordUpdater(int nSlot) const {
  return nSlot >= 0 && nSlot < CTSVC_SIM_UPDATER_MAX ? m_pUpdater[nSlot].get() : nullptr;
}

// The contact records ask the loaded card what it can hold; without the ADN group they hear "no SIM".
static void InstallLimits(const CCtSvcSimMgr* pMgr) {
  static const CCtSvcSimMgrLimits s_limits(*CCtSvcSimMgr::Instance());
  CtSvcSetSimLimits(pMgr != nullptr ? &s_limits : nullptr);
}

void CCtSvcSimMgr::Clear() {
  InstallLimits(nullptr);
  m_pContainer.reset();
  m_nPrepared = 0;
  m_nLoading = -1;
  for (auto& pUpdater : m_pUpdater) {
    pUpdater.reset();
  }
  m_pFileUpdater.reset();
}

void CCtSvcSimMgr::ForgetListener(ICtSvcSimMgrListener* pListener) {
  for (ICtSvcSimMgrListener*& pSlot : m_pListener) {
    if (pSlot == pListener) {
      pSlot = nullptr;
    }
  }
}

ICtSvcSimMgrListener* CCtSvcSimMgr::_TakeListener(int nLoadType) {
  ICtSvcSimMgrListener* pListener = m_pListener[nLoadType];
  m_pListener[nLoadType] = nullptr;
  if (m_nLoading == nLoadType) {
    m_nLoading = -1;
  }
  return pListener;
}

BOOL CCtSvcSimMgr::OpenSim() {
  if (!CtSvcGetDevSimMgr()->Open(this)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimMgr::OpenSim(void) is Failed!!\n");
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcSimMgr::CloseSim() {
  if (!CtSvcGetDevSimMgr()->Close(this)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimMgr::CloseSim(void) is Failed!!\n");
    return FALSE;
  }
  return TRUE;
}

void CCtSvcSimMgr::OnOpen(BOOL bSuccess) {
  DbgPrint(DBG_CLASS_TRACE, bSuccess ? "CCtSvcSimMgr::OnOpen(void) is SUCCESS\n" : "CCtSvcSimMgr::OnOpen(void) is FAILED\n");
}

void CCtSvcSimMgr::OnClose(BOOL bSuccess) {
  DbgPrint(DBG_CLASS_TRACE, bSuccess ? "CCtSvcSimMgr::OnClose(void) is SUCCESS\n" : "CCtSvcSimMgr::OnClose(void) is FAILED\n");
}

BOOL CCtSvcSimMgr::__PrepareInit() {
  if (m_pContainer == nullptr) {
    m_pContainer.reset(new (std::nothrow) CCtSvcSimFileContainer(this));
    if (m_pContainer == nullptr) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimMgr::__PrepareInit - Memory allcation failed(new CCtSvcSimFileContainer)\n");
      Clear();
      return FALSE;
    }
  }
  if (!CtSvcGetDevSimMgr()->IsOpened() && !OpenSim()) {
    Clear();
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcSimMgr::_Init(ICtSvcSimMgrListener* pListener, int nLoadType, const char* pszWho) {
  if (m_nLoading >= 0) {
    // The card answers one request at a time and the container has one queue.
    DbgPrint(DBG_CLASS_FAIL, "%s - the load of group %d is in progress\n", pszWho, m_nLoading);
    return FALSE;
  }
  if (_IsGroupBusy(nLoadType)) {
    DbgPrint(DBG_CLASS_FAIL, "%s - a write of the group is in progress\n", pszWho);
    return FALSE;
  }
  if (!m_nPrepared && !__PrepareInit()) {
    DbgPrint(DBG_CLASS_FAIL, "%s - __PrepareInit(void) is failed\n", pszWho);
    return FALSE;
  }
  m_nPrepared = 1;
  m_pListener[nLoadType] = pListener;
  m_nLoading = nLoadType;
  for (const int nSlot : kGroupSlots[nLoadType]) {
    if (nSlot >= 0) {
      m_pUpdater[nSlot].reset();
    }
  }
  BOOL bStarted = FALSE;
  switch (nLoadType) {
    case CTSVC_SIM_LOAD_ADN:
      InstallLimits(nullptr);
      m_pContainer->FreeAdn();
      bStarted = m_pContainer->InitAdn();
      break;
    case CTSVC_SIM_LOAD_FDN:
      m_pContainer->FreeFdn();
      bStarted = m_pContainer->InitFdn();
      break;
    case CTSVC_SIM_LOAD_MSISDN:
      m_pContainer->FreeMsisdn();
      bStarted = m_pContainer->InitMsisdn();
      break;
    default:
      m_pContainer->FreeSdn();
      bStarted = m_pContainer->InitSdn();
      break;
  }
  if (!bStarted) {
    DbgPrint(DBG_CLASS_FAIL, "%s - container initialize failed\n", pszWho);
    Clear();
    m_pListener[nLoadType] = nullptr;
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcSimMgr::InitAdn(ICtSvcSimMgrListener* pListener) {
  return _Init(pListener, CTSVC_SIM_LOAD_ADN, "CCtSvcSimMgr::InitAdn");
}
BOOL CCtSvcSimMgr::InitFdn(ICtSvcSimMgrListener* pListener) {
  return _Init(pListener, CTSVC_SIM_LOAD_FDN, "CCtSvcSimMgr::InitFdn");
}
BOOL CCtSvcSimMgr::InitMsisdn(ICtSvcSimMgrListener* pListener) {
  return _Init(pListener, CTSVC_SIM_LOAD_MSISDN, "CCtSvcSimMgr::InitMsisdn");
}
BOOL CCtSvcSimMgr::InitSdn(ICtSvcSimMgrListener* pListener) {
  return _Init(pListener, CTSVC_SIM_LOAD_SDN, "CCtSvcSimMgr::InitSdn");
}


bool CCtSvcSimMgr::_IsGroupBusy(int nLoadType) const {
  if (m_nLoading == nLoadType) {
    return true;
  }
  for (const int nSlot : kGroupSlots[nLoadType]) {
    if (nSlot >= 0 && m_pUpdater[nSlot] != nullptr && m_pUpdater[nSlot]->GetState() != CTSVC_SIM_UPDATER_IDLE) {
      return true;
    }
  }
  return false;
}

void CCtSvcSimMgr::PrepareReloadRecord(int nMask) {
  if (m_pContainer == nullptr) {
    return;
  }
  // A group whose files still wait for the card's answer is kept: the answer would reach freed files.
  for (int nLoadType = CTSVC_SIM_LOAD_ADN; nLoadType <= CTSVC_SIM_LOAD_SDN; ++nLoadType) {
    if ((nMask & (1 << nLoadType)) != 0 && _IsGroupBusy(nLoadType)) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimMgr::PrepareReloadRecord - group %d is busy, kept\n", nLoadType);
      nMask &= ~(1 << nLoadType);
    }
  }
  if (nMask & CTSVC_SIM_RELOAD_ADN) {
    InstallLimits(nullptr);
    m_pUpdater[CTSVC_SIM_UPDATER_ADN].reset();
    m_pUpdater[CTSVC_SIM_UPDATER_GAS].reset();
    m_pUpdater[CTSVC_SIM_UPDATER_AAS].reset();
    m_pContainer->FreeAdn();
  }
  if (nMask & CTSVC_SIM_RELOAD_FDN) {
    m_pUpdater[CTSVC_SIM_UPDATER_FDN].reset();
    m_pContainer->FreeFdn();
  }
  if (nMask & CTSVC_SIM_RELOAD_MSISDN) {
    m_pUpdater[CTSVC_SIM_UPDATER_MSISDN].reset();
    m_pContainer->FreeMsisdn();
  }
  if (nMask & CTSVC_SIM_RELOAD_SDN) {
    m_pUpdater[CTSVC_SIM_UPDATER_SDN].reset();
    m_pContainer->FreeSdn();
  }
}

// ---- completion ----

BOOL CCtSvcSimMgr::_CreateUpdaters(std::initializer_list<int> slots, const char* pszWho) {
  static const int kFileID[CTSVC_SIM_UPDATER_MAX] = {CTSVC_SIM_ADN,    CTSVC_SIM_FDN, CTSVC_SIM_SDN,
                                                     CTSVC_SIM_MSISDN, CTSVC_SIM_AAS, CTSVC_SIM_GAS};
  static const char* const kClass[CTSVC_SIM_UPDATER_MAX] = {"CCtSvcSimAdnUpdater",    "CCtSvcSimFdnUpdater",
                                                            "CCtSvcSimSdnUpdater",    "CCtSvcSimMsisdnUpdater",
                                                            "CCtSvcSimAasUpdater",    "CCtSvcSimGasUpdater"};
  for (const int nSlot : slots) {
    m_pUpdater[nSlot] = CtSvcSimCreateUpdater(kFileID[nSlot], m_pContainer.get());
    if (m_pUpdater[nSlot] == nullptr) {
      DbgPrint(DBG_CLASS_FAIL, "%s - Memory allcation failed(new %s)\n", pszWho, kClass[nSlot]);
      return FALSE;
    }
  }
  return TRUE;
}

void CCtSvcSimMgr::_FinishAdn() {
  m_pFileUpdater.reset();
  ICtSvcSimMgrListener* pListener = _TakeListener(CTSVC_SIM_LOAD_ADN);
  const BOOL bResult = _CreateUpdaters({CTSVC_SIM_UPDATER_ADN, CTSVC_SIM_UPDATER_GAS, CTSVC_SIM_UPDATER_AAS},
                                       "CCtSvcSimMgr::OnReadAdn");
  if (!bResult) {
    Clear();
  } else {
    InstallLimits(this);
  }
  if (pListener != nullptr) {
    pListener->OnInitializedAdn(bResult);
  }
}

void CCtSvcSimMgr::OnReadAdn(BOOL bResult) {
  if (!bResult) {
    ICtSvcSimMgrListener* pListener = _TakeListener(CTSVC_SIM_LOAD_ADN);
    if (pListener != nullptr) {
      pListener->OnInitializedAdn(FALSE);
    }
    return;
  }
  if (!__SyncChangedRecordByGsmTerminal()) {
    _FinishAdn();
  }
}

void CCtSvcSimMgr::_FinishXdn(int nSlot, BOOL bResult, void (ICtSvcSimMgrListener::*pfnReport)(BOOL)) {
  static const int kLoadType[CTSVC_SIM_UPDATER_MAX] = {CTSVC_SIM_LOAD_ADN, CTSVC_SIM_LOAD_FDN, CTSVC_SIM_LOAD_SDN,
                                                       CTSVC_SIM_LOAD_MSISDN, -1, -1};
  ICtSvcSimMgrListener* pListener = _TakeListener(kLoadType[nSlot]);
  if (bResult) {
    bResult = _CreateUpdaters({nSlot}, "CCtSvcSimMgr::OnReadXdn");
  }
  if (pListener != nullptr) {
    (pListener->*pfnReport)(bResult);
  }
}

void CCtSvcSimMgr::OnReadFdn(BOOL bResult) {
  _FinishXdn(CTSVC_SIM_UPDATER_FDN, bResult, &ICtSvcSimMgrListener::OnInitializedFdn);
}
void CCtSvcSimMgr::OnReadMsisdn(BOOL bResult) {
  _FinishXdn(CTSVC_SIM_UPDATER_MSISDN, bResult, &ICtSvcSimMgrListener::OnInitializedMsisdn);
}
void CCtSvcSimMgr::OnReadSdn(BOOL bResult) {
  _FinishXdn(CTSVC_SIM_UPDATER_SDN, bResult, &ICtSvcSimMgrListener::OnInitializedSdn);
}

// ---- synchronisation repair ----

namespace {

constexpr UINT32 kCounterWrap = 0xFFFF;

UINT32 StepCounter(UINT32 nValue) { return nValue >= kCounterWrap ? 1 : nValue + 1; }

}  // namespace

void CCtSvcSimMgr::__RegeneratePscAndAllUids() {
  auto* pPsc = static_cast<CCtSvcSimValueFile*>(_File(CTSVC_SIM_PSC));
  auto* pPuid = static_cast<CCtSvcSimValueFile*>(_File(CTSVC_SIM_PUID));
  if (pPsc != nullptr) {
    UINT32 nPsc = pPsc->GetValue() + 1;
    if (nPsc == 0xFFFFFFFFu) {
      nPsc = 0;
    }
    pPsc->SetValue(nPsc);
    m_pFileUpdater->AddWork(0, pPsc);
  }
  if (pPuid != nullptr) {
    pPuid->SetValue(0);
    m_pFileUpdater->AddWork(0, pPuid);
  }
}

// A USIM used in a GSM terminal marks the contacts it changed in PBC: clear the marks and step the
// change counter once for each, so that synchronising clients see the changes. TRUE when writes
// were started (the ADN group finishes when they end).
BOOL CCtSvcSimMgr::__SyncChangedRecordByGsmTerminal() {
  m_pFileUpdater = std::make_unique<CCtSvcSimMgrFileUpdater>([this] { _FinishAdn(); });
  auto* pCc = static_cast<CCtSvcSimValueFile*>(_File(CTSVC_SIM_CC));
  if (pCc == nullptr) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimMgr::__SyncChangedRecordByGsmTerminal - To get CC file is FAILED!\n");
    m_pFileUpdater.reset();
    return FALSE;
  }
  const int nPbrCount = static_cast<int>(m_pContainer->GetAdnContainer().size());
  int nChanged = 0;
  for (int p = 0; p < nPbrCount; ++p) {
    auto* pPbc = static_cast<CCtSvcPbcFile*>(_File(CTSVC_SIM_PBC, p));
    if (pPbc == nullptr) {
      DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimMgr::__SyncChangedRecordByGsmTerminal - To get PBC file is FAILED\n");
      m_pFileUpdater.reset();
      return FALSE;
    }
    for (int i = 0; i < pPbc->GetMaxRecordCount(); ++i) {
      if (!pPbc->IsUsed(i) || pPbc->GetEntryControl(i) != 1) {
        continue;
      }
      pPbc->SetEntryControl(i, 0);
      m_pFileUpdater->AddWork(i, pPbc);
      if (pCc->GetValue() == kCounterWrap) {
        __RegeneratePscAndAllUids();
      }
      pCc->SetValue(StepCounter(pCc->GetValue()));
      ++nChanged;
    }
  }
  if (nChanged == 0) {
    m_pFileUpdater.reset();
    return FALSE;
  }
  m_pFileUpdater->AddWork(0, pCc);
  m_pFileUpdater->Start();
  return TRUE;
}
