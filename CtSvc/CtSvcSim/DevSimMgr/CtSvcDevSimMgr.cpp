#include "CtSvcSim/DevSimMgr/CtSvcDevSimMgr.h"

#include <atomic>

#include "CtSvcEH/CtSvcEH.h"
#include "ZelDebug.h"
#include "ZelImmortal.h"
#include "ZelMem.h"
#include "ZelPhs.h"
#include "ZelWm.h"

namespace {

constexpr int kLocalPbrFileID = 0xFF01;
std::atomic<ICtSvcDevSimMgr*> g_pMockup{nullptr};

void DevSimEventCallback(int eventStatus, int eventType, void* pData, UINT32 nParam) {
  if (_BmIsPowerOffState() == 1) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDevSimMgr::__SimEventCallback : _BmIsPowerOffState is TRUE");
  } else {
    CCtSvcDevSimMgr::Instance()->HandleEvent(eventStatus, eventType, pData, nParam);
  }
  MemFreeTraceMultiHeap(pData, __FILE__, __LINE__);
}

}  // namespace

ICtSvcDevSimMgr* CtSvcGetDevSimMgr() {
  ICtSvcDevSimMgr* pMockup = g_pMockup.load();
  return pMockup != nullptr ? pMockup : CCtSvcDevSimMgr::Instance();
}

extern "C" void _TestCtSvcSimSetDevSimMockup(ICtSvcDevSimMgr* pDevSimMgr) { g_pMockup.store(pDevSimMgr); }

CCtSvcDevSimMgr* CCtSvcDevSimMgr::Instance() {
  static zel::Immortal<CCtSvcDevSimMgr> s_mgr;
  return &s_mgr.Get();
}

CCtSvcDevSimMgr::~CCtSvcDevSimMgr() { Close(nullptr); }

const UINT8* CCtSvcDevSimMgr::GetSstInfo() {
  const SimServiceTableInfo* pInfo = SimGetSstInfo();
  return pInfo != nullptr ? pInfo->table : nullptr;
}

const UINT8* CCtSvcDevSimMgr::GetUstInfo() {
  const SimServiceTableInfo* pInfo = SimGetUstInfo();
  return pInfo != nullptr ? pInfo->table : nullptr;
}

int CCtSvcDevSimMgr::GetCardType() { return SimGetCardType(); }

int CCtSvcDevSimMgr::GetState() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  return m_nState;
}

void CCtSvcDevSimMgr::__SetState(int nState) {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcDevSimMgr::__SetState:state=%d, to state=%d\n", m_nState, nState);
  m_nState = nState;
}

BOOL CCtSvcDevSimMgr::IsOpened() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  return m_hSim != INVALID_HOBJ;
}

BOOL CCtSvcDevSimMgr::Open(ICtSvcDevSimInitListener* pInitListener) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (m_hSim != INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDevSimMgr::Open: Sim is already opened=%d\n", static_cast<int>(m_hSim));
    return TRUE;
  }
  if (!ZEL_REQUIRE_TEXT(m_nState == SIMMGR_STATE_IDLE, "__GetState() == CCtSvcDevSimMgr::SIMMGR_STATE_IDLE")) {
    return FALSE;
  }
  m_pInitListener = pInitListener;
  // The library delivers events on the handler current while the connection is opened.
  const HOBJ hPrevious = WmGetCurrentEventHandler();
  WmSetCurrentEventHandler(WmGetEventHandlerByName(CTSVC_EH_NAME));
  m_hSim = SimOpen(&DevSimEventCallback);
  WmSetCurrentEventHandler(hPrevious);
  if (m_hSim == INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDevSimMgr::Open: SimOpen=%d\n", static_cast<int>(m_hSim));
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcDevSimMgr::Close(ICtSvcDevSimInitListener* pInitListener) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (m_hSim == INVALID_HOBJ) {
    return TRUE;
  }
  if (!ZEL_REQUIRE_TEXT(m_nState == SIMMGR_STATE_IDLE, "__GetState() == CCtSvcDevSimMgr::SIMMGR_STATE_IDLE")) {
    return FALSE;
  }
  m_pInitListener = pInitListener;
  const BOOL bClosed = SimClose(m_hSim);
  if (bClosed != 1) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDevSimMgr::Close =%d Failed\n", bClosed);
    return FALSE;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcDevSimMgr::Close =%d\n", bClosed);
  __SetState(SIMMGR_STATE_CLOSING);
  m_hSim = INVALID_HOBJ;
  return TRUE;
}

BOOL CCtSvcDevSimMgr::IsCPHSSupported() {
  if (!SimSupportCphs()) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDevSimMgr::IsCPHSSupported: CPHS not supported\n");
    return FALSE;
  }
  const SimCphsInfo* pInfo = SimGetCphsInfo();
  if (pInfo == nullptr || pInfo->infoNumbers == 0 || pInfo->infoNumbersActive == 0) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDevSimMgr::IsCPHSSupported: Information number is not supported\n");
    return FALSE;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcDevSimMgr::IsCPHSSupported: Information number supported\n");
  return TRUE;
}

BOOL CCtSvcDevSimMgr::IsErrorReadPBR() {
  const BOOL bError = m_bErrorReadPBR.load();
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcDevSimMgr::IsErrorReadPBR return %d", bError);
  return bError;
}

template <class TSend>
BOOL CCtSvcDevSimMgr::_Send(const char* pszOperation, const char* pszCall, int nState, int nFileID,
                            ICtSvcDevSimListener* pListener, TSend send) {
  HOBJ hSim;
  {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (!ZEL_REQUIRE(m_hSim != INVALID_HOBJ) || !ZEL_REQUIRE(pListener)) {
      return FALSE;
    }
    if (m_nState != SIMMGR_STATE_IDLE) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcDevSimMgr::%s:Something is in progress(state=%d)\n", pszOperation, m_nState);
      return FALSE;
    }
    // Waiting before the send: the answer may arrive on the handler thread before the call returns.
    m_pListener = pListener;
    m_nPendingFileID = nFileID;
    __SetState(nState);
    hSim = m_hSim;
  }
  if (send(hSim)) {
    return TRUE;
  }
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  DbgPrint(DBG_CLASS_FAIL, "CCtSvcDevSimMgr::%s: %s Failed pReqData->fileID = 0x%04x\n", pszOperation, pszCall,
           static_cast<unsigned>(nFileID));
  if (m_nState == nState && m_pListener == pListener) {
    m_nState = SIMMGR_STATE_IDLE;
    m_pListener = nullptr;
    m_nPendingFileID = SIM_EFILE_INVALID;
  }
  return FALSE;
}

BOOL CCtSvcDevSimMgr::GetFileInfo(int nFileID, ICtSvcDevSimListener* pListener) {
  return _Send("GetFileInfo", "SimGetFileInfo", SIMMGR_STATE_WAIT_FILEINFO, nFileID, pListener,
               [nFileID](HOBJ hSim) { return SimGetFileInfo(hSim, static_cast<UINT32>(nFileID)); });
}

BOOL CCtSvcDevSimMgr::SearchRecord(const SimSearchRecordReq* pReqData, ICtSvcDevSimListener* pListener) {
  if (!ZEL_REQUIRE(pReqData)) {
    return FALSE;
  }
  return _Send("SearchRecord", "SimSearchRecord", SIMMGR_STATE_WAIT_SEARCH, static_cast<int>(pReqData->fileID),
               pListener, [pReqData](HOBJ hSim) { return SimSearchRecord(hSim, pReqData); });
}

BOOL CCtSvcDevSimMgr::ReadFile(const SimReadFileReq* pReqData, ICtSvcDevSimListener* pListener) {
  if (!ZEL_REQUIRE(pReqData)) {
    return FALSE;
  }
  return _Send("ReadFile", "SimReadFile", SIMMGR_STATE_WAIT_READ, static_cast<int>(pReqData->fileID), pListener,
               [pReqData](HOBJ hSim) { return SimReadFile(hSim, pReqData); });
}

BOOL CCtSvcDevSimMgr::UpdateFile(const SimUpdateFileReq* pReqData, ICtSvcDevSimListener* pListener) {
  if (!ZEL_REQUIRE(pReqData)) {
    return FALSE;
  }
  return _Send("UpdateFile", "SimUpdateFile", SIMMGR_STATE_WAIT_UPDATE, static_cast<int>(pReqData->fileID), pListener,
               [pReqData](HOBJ hSim) { return SimUpdateFile(hSim, pReqData); });
}

ICtSvcDevSimListener* CCtSvcDevSimMgr::_TakeListener(int eventType, int nExpectedState, const char* pszWrongState) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (m_nState == SIMMGR_STATE_IDLE) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDevSimMgr::__SimEventCallback(eventType=%d) - No Request state!\n", eventType);
    return nullptr;
  }
  if (m_nState != nExpectedState) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDevSimMgr::__SimEventCallback - %s(state is diff=%d)!\n", pszWrongState, m_nState);
    return nullptr;
  }
  ICtSvcDevSimListener* pListener = m_pListener;
  m_pListener = nullptr;
  m_nPendingFileID = SIM_EFILE_INVALID;
  __SetState(SIMMGR_STATE_IDLE);
  return pListener;
}

void CCtSvcDevSimMgr::HandleEvent(int eventStatus, int eventType, void* pData, UINT32 nParam) {
  const bool bFileEvent = eventType == SIM_EVENT_GET_FILE_INFO || eventType == SIM_EVENT_READ_FILE ||
                          eventType == SIM_EVENT_UPDATE_FILE || eventType == SIM_EVENT_SEARCH_RECORD;
  // A file event is checked against the state when its listener is taken, under one lock.
  if (!bFileEvent && GetState() == SIMMGR_STATE_IDLE) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDevSimMgr::__SimEventCallback(eventType=%d) - No Request state!\n", eventType);
    return;
  }
  switch (eventType) {
    case SIM_EVENT_SIM_OPEN:
    case SIM_EVENT_SIM_CLOSE:
      _OnInitEvent(eventType, eventStatus);
      break;
    case SIM_EVENT_VERIFY_PIN1_IND:
      DbgPrint(DBG_CLASS_TRACE, "CCtSvcDevSimMgr::__SimEventCallback - SIM_EVENT_VERIFY_PIN1_IND\n");
      break;
    case SIM_EVENT_GET_FILE_INFO:
      _OnFileInfo(static_cast<const SimFileInfoEventData*>(pData));
      break;
    case SIM_EVENT_READ_FILE:
      _OnRead(eventStatus, pData, nParam);
      break;
    case SIM_EVENT_UPDATE_FILE:
      if (ICtSvcDevSimListener* pListener = _TakeListener(eventType, SIMMGR_STATE_WAIT_UPDATE, "UPDATE")) {
        if (eventStatus != 0) {
          DbgPrint(DBG_CLASS_FAIL, "CCtSvcDevSimMgr::__SimEventCallback SIM_EVENT_UPDATE_FILE eventStatus=%x\n",
                   static_cast<unsigned>(eventStatus));
        }
        pListener->OnUpdated(eventStatus == 0);
      }
      break;
    case SIM_EVENT_SEARCH_RECORD:
      if (ICtSvcDevSimListener* pListener = _TakeListener(eventType, SIMMGR_STATE_WAIT_SEARCH, "SEARCH")) {
        if (eventStatus == 0 && ZEL_REQUIRE_TEXT(pData != nullptr, "pInfo")) {
          pListener->OnSearch(static_cast<const SimSearchEventData*>(pData), TRUE);
        } else {
          pListener->OnSearch(nullptr, FALSE);
        }
      }
      break;
    case 6:
    case 9:
      break;
    default:
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcDevSimMgr::__SimEventCallback : eventType=%d\n", eventType);
      ZEL_NEVER_GET_HERE("eventType");
      break;
  }
}

void CCtSvcDevSimMgr::_OnInitEvent(int eventType, int eventStatus) {
  ICtSvcDevSimInitListener* pInitListener;
  {
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    __SetState(SIMMGR_STATE_IDLE);
    pInitListener = m_pInitListener;
    m_pInitListener = nullptr;
  }
  if (pInitListener == nullptr) {
    return;
  }
  if (eventType == SIM_EVENT_SIM_OPEN) {
    pInitListener->OnOpen(eventStatus == 0);
  } else {
    pInitListener->OnClose(eventStatus == 0);
  }
}

void CCtSvcDevSimMgr::_OnFileInfo(const SimFileInfoEventData* pData) {
  ICtSvcDevSimListener* pListener = _TakeListener(SIM_EVENT_GET_FILE_INFO, SIMMGR_STATE_WAIT_FILEINFO, "FILEINFO");
  if (pListener == nullptr) {
    return;
  }
  if (!ZEL_REQUIRE_TEXT(pData != nullptr, "pInfo")) {
    pListener->OnGetFileInfo(nullptr, FALSE);
    return;
  }
  const bool bBadPbr = pData->fileID == kLocalPbrFileID &&
                       (pData->structure == SIM_FILE_STRUCTURE_UNKNOWN || pData->recordCount == 0 || pData->recordLen == 0);
  if (bBadPbr) {
    m_bErrorReadPBR = 1;
    pListener->OnGetFileInfo(nullptr, FALSE);
    return;
  }
  CtSvcSimFileInfo info{};
  info.recordLen = static_cast<int>(pData->recordLen);
  info.recordCnt = static_cast<int>(pData->recordCount);
  info.acRead = static_cast<int>(pData->acRead);
  info.acUpdate = static_cast<int>(pData->acUpdate);
  info.availability = static_cast<int>(pData->available != 0 ? pData->available : pData->available2);
  info.recordStructured = pData->structure == SIM_FILE_STRUCTURE_LINEAR_FIXED ? 1 : 0;
  info.bInvalidbutRWallowed =
      (pData->fileStatus & (SIM_FILE_STATUS_NOT_INVALIDATED | SIM_FILE_STATUS_RW_WHEN_INVALIDATED)) != 0 ? 1 : 0;
  info.valid = 1;
  if (info.recordLen == 0 || info.recordCnt == 0 || info.acRead == SIM_ACCESS_NEVER) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDevSimMgr::__SimEventCallback - FILEINFO : pInfo->recordCount(%d), recordLen(%d), acRead(%d )\n",
             info.recordCnt, info.recordLen, info.acRead);
    info.valid = 0;
    info.recordCnt = 0;
  }
  pListener->OnGetFileInfo(&info, TRUE);
}

void CCtSvcDevSimMgr::_OnRead(int eventStatus, void* pData, UINT32 nParam) {
  ICtSvcDevSimListener* pListener = _TakeListener(SIM_EVENT_READ_FILE, SIMMGR_STATE_WAIT_READ, "READ");
  if (pListener == nullptr) {
    return;
  }
  if (eventStatus != 0) {
    const int nFileID = pData != nullptr ? static_cast<int>(static_cast<const SimReadEventHeader*>(pData)->fileID) : -1;
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDevSimMgr::__SimEventCallback:ReadFailed(id=%d)\n", nFileID);
    pListener->OnRead(nullptr, FALSE);
    return;
  }
  if (!ZEL_REQUIRE_TEXT(pData != nullptr, "pFileData")) {
    pListener->OnRead(nullptr, FALSE);
    return;
  }
  const int nDataLen = static_cast<int>(nParam & 0xFFFFu);
  if (nDataLen == 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDevSimMgr::__SimEventCallback: id=%d,dataLen=%d\n",
             static_cast<int>(static_cast<const SimReadEventHeader*>(pData)->fileID), nDataLen);
    pListener->OnRead(nullptr, FALSE);
    return;
  }
  pListener->OnRead(static_cast<const UINT8*>(pData) + SIM_READ_EVENT_DATA_OFFSET, TRUE);
}
