// The manager's life and the start of a load: which groups the card offers, queued in load order
// (MSISDN, SDN, FDN, ADN) and loaded one after another.
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookSimSeam.h"

#include "CtSvcBulkOperation/CtSvcBulkHandler.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcDbListener.h"
#include "CtSvcDbPerson.h"
#include "CtSvcSim/DevSimMgr/ICtSvcDevSimMgr.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "ZelCommTAPI/ZelSim.h"
#include "ZelDebug.h"
#include "ZelPhs.h"

namespace {

// Load order and the service-table entry of each init type.
struct CtSvcInitTypeEntry {
  int nType;
  UINT8 SimServiceTableInfo::*pService;
  const char* pszName;
};

const CtSvcInitTypeEntry kLoadOrder[] = {
    {CTSVC_SIM_INIT_MSISDN, &SimServiceTableInfo::msisdn, "MSISDN"},
    {CTSVC_SIM_INIT_SDN, &SimServiceTableInfo::sdn, "SDN"},
    {CTSVC_SIM_INIT_FDN, &SimServiceTableInfo::fdn, "FDN"},
    {CTSVC_SIM_INIT_ADN, &SimServiceTableInfo::adn, "ADN"},
};

}  // namespace

CCtSvcPhonebookMgr* CCtSvcPhonebookMgr::Instance() {
  // Made on first use, destroyed when the library unloads.
  static CCtSvcPhonebookMgr s_instance;
  return &s_instance;
}

CCtSvcPhonebookMgr::~CCtSvcPhonebookMgr() = default;

void CCtSvcPhonebookMgr::ResetForTest() {
  CCtSvcModuleLock lock;
  if (m_pBulkOperation != nullptr) {
    _DeleteBulkOperation();
  }
  CCtSvcSimMgr::Instance()->ForgetListener(this);
  m_pListener = nullptr;
  m_InitState = CTSVC_SIM_INIT_INVALID;
  m_qWork = std::queue<int>();
  m_bNotifyEnabled = 1;
  m_nTryEnterCount = 0;
  m_nSimRefreshCondition = 0;
  m_bSimChangedKnown = false;
  m_bSimChanged = FALSE;
  m_bPreInstLoaded = false;
  m_bNoSim = false;
}

BOOL CCtSvcPhonebookMgr::InitPhonebook(ICtSvcPhonebookListener* pListener, int* pbNoSim) {
  CCtSvcModuleLock lock;
  ZEL_REQUIRE_TEXT(m_InitState == CTSVC_SIM_INIT_INVALID, "m_InitState == CTSVC_SIM_INIT_INVALID");
  if (m_InitState != CTSVC_SIM_INIT_INVALID) {
    return FALSE;
  }
  m_pListener = pListener;
  // From now on the SIM C API's FDN check can reload the ADN group through the manager.
  CtSvcPhonebookInstallSimSeam();
  m_bNoSim = PhsGetStatus(PSV_SIM_MODE_NOSIM) == 1;
  if (pbNoSim != nullptr) {
    *pbNoSim = m_bNoSim ? 1 : 0;
  }
  if (m_bNoSim) {
    __ResetICCID();
    __ResetSHA1();
    if (!CtSvcDbPersonDeleteRecordsWithDeviceType(CTSVC_USE_TYPE_SIM)) {
      DbgPrint(DBG_CLASS_FAIL,
               "CCtSvcPhonebookMgr::InitPhonebook: CtSvcDbPersonDeleteRecordsWithDevType(CTSVC_USE_TYPE_SIM) is Failed\n");
      m_InitState = CTSVC_SIM_INIT_FAILED;
      return FALSE;
    }
    __PreInstContact();
    m_InitState = CTSVC_SIM_INIT_COMPLETE;
    m_nTryEnterCount = 0;
    return TRUE;
  }
  if (!_QueueAvailable(CTSVC_SIM_INIT_COMPLETE)) {
    return FALSE;
  }
  return __Next();
}

BOOL CCtSvcPhonebookMgr::ReloadSimRecord(int nMask, ICtSvcPhonebookListener* pListener) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE_TEXT(m_InitState != CTSVC_SIM_INIT_INVALID, "m_InitState != CTSVC_SIM_INIT_INVALID")) {
    return FALSE;
  }
  m_pListener = pListener;
  if (m_bNoSim || PhsGetStatus(PSV_SIM_MODE_NOSIM) == 1) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::ReloadSimRecord -No SIM mode\n");
    return FALSE;
  }
  // The groups are read from the card again, not from what an earlier load kept.
  CCtSvcSimMgr::Instance()->PrepareReloadRecord(nMask);
  if (!_QueueAvailable(nMask)) {
    return FALSE;
  }
  return __Next();
}

BOOL CCtSvcPhonebookMgr::_QueueAvailable(int nMask) {
  const int nCardType = CtSvcGetDevSimMgr()->GetCardType();
  if (nCardType != CTSVC_SIM_CARD_TYPE_GSM && nCardType != CTSVC_SIM_CARD_TYPE_USIM) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::InitPhonebook - Sim card type is invalid(%d)", nCardType);
    return FALSE;
  }
  const SimServiceTableInfo* pTable = nCardType == CTSVC_SIM_CARD_TYPE_GSM ? SimGetSstInfo() : SimGetUstInfo();
  for (const CtSvcInitTypeEntry& entry : kLoadOrder) {
    // A USIM always has its ADN phonebook; the rest is offered by the service table.
    const bool bAvailable = (entry.nType == CTSVC_SIM_INIT_ADN && nCardType == CTSVC_SIM_CARD_TYPE_USIM) ||
                            (pTable != nullptr && pTable->*entry.pService != 0);
    if (!bAvailable) {
      DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::InitPhonebook - this sim card does not support %s\n",
               entry.pszName);
    } else if ((nMask & entry.nType) != 0) {
      m_qWork.push(entry.nType);
    }
  }
  return TRUE;
}

BOOL CCtSvcPhonebookMgr::__Next() {
  if (m_qWork.empty()) {
    return FALSE;
  }
  CCtSvcSimMgr* pSimMgr = CCtSvcSimMgr::Instance();
  const int nType = m_qWork.front();
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::__Next() - loading init type %d\n", nType);
  switch (nType) {
    case CTSVC_SIM_INIT_ADN:
      pSimMgr->InitAdn(this);
      break;
    case CTSVC_SIM_INIT_FDN:
      pSimMgr->InitFdn(this);
      break;
    case CTSVC_SIM_INIT_MSISDN:
      pSimMgr->InitMsisdn(this);
      break;
    case CTSVC_SIM_INIT_SDN:
      pSimMgr->InitSdn(this);
      break;
    default:
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::__Next() - CtSvcPhonebookInitType(%d) is not supported\n", nType);
      break;
  }
  return TRUE;
}

BOOL CCtSvcPhonebookMgr::IsInitializedPhonebook() const {
  CCtSvcModuleLock lock;
  if (m_InitState == CTSVC_SIM_INIT_COMPLETE) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::IsInitializedPhonebook: CTSVC_SIM_INIT_COMPLETE!!!!!!\n");
    return TRUE;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::IsInitializedPhonebook: NOT CTSVC_SIM_INIT_COMPLETE!!!!!\n");
  return FALSE;
}

void CCtSvcPhonebookMgr::SetPhonebookInitState(int nState) {
  CCtSvcModuleLock lock;
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::SetPhonebookInitState: SimInitType(%d)\n", nState);
  m_InitState = nState;
}

int CCtSvcPhonebookMgr::GetPhonebookInitState() const {
  CCtSvcModuleLock lock;
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::GetPhonebookInitState: m_InitState(%d)\n", m_InitState);
  return m_InitState;
}

void CCtSvcPhonebookMgr::_DeleteBulkOperation() {
  CCtSvcBulkHandler* pHandler = CCtSvcBulkHandler::Instance();
  if (pHandler != nullptr && pHandler->GetCurrentOperation() == m_pBulkOperation.get()) {
    pHandler->UnregisterBulkOperation();
    CtSvcDbListenerResume();
  }
  m_pBulkOperation.reset();
}
