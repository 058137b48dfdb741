#include "CtSvcSim/SimFile/CtSvcSimFile.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "ZelDebug.h"

namespace {

constexpr int kUsimFdnID = 0x6A3B;
constexpr int kGsmFdnID = 0x6F3B;

}  // namespace

CCtSvcSimFile::CCtSvcSimFile(int nSimFileID, int nPbrIndex, const char* pszClassName)
    : m_nSimFileID(nSimFileID), m_nPbrIndex(nPbrIndex), m_pszClassName(pszClassName) {}

CCtSvcSimFile::~CCtSvcSimFile() = default;

int CCtSvcSimFile::_GetCardType() {
  ICtSvcDevSimMgr* pMgr = CtSvcGetDevSimMgr();
  return pMgr != nullptr ? pMgr->GetCardType() : CTSVC_SIM_CARD_TYPE_UNKNOWN;
}

BOOL CCtSvcSimFile::LoadFile(ICtSvcSimFileListener* pListener) {
  if (!ZEL_REQUIRE(m_pLoadInfo == NULL) || !ZEL_REQUIRE(m_simFileID != SIM_EFILE_INVALID)) {
    return FALSE;
  }
  m_simLoadStyle = SIM_LOAD_STYLE_FULL;
  m_pListener = pListener;
  m_pLoadInfo.reset(new (std::nothrow) LoadInfo());
  if (m_pLoadInfo == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFile::LoadFile - Memory alloc failed - SimFileID(%d)\n", m_nSimFileID);
    return FALSE;
  }
  if (m_simFileID == kUsimFdnID) {
    m_simFileID = kGsmFdnID;
  }
  if (!CtSvcGetDevSimMgr()->GetFileInfo(m_simFileID, this)) {
    _LoadingFinished(FALSE);
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcSimFile::LoadFileInfo(ICtSvcSimFileListener* pListener) {
  if (!ZEL_REQUIRE(m_pLoadInfo == NULL) || !ZEL_REQUIRE(m_simFileID != SIM_EFILE_INVALID)) {
    return FALSE;
  }
  m_simLoadStyle = SIM_LOAD_STYLE_INFO;
  m_pListener = pListener;
  return CtSvcGetDevSimMgr()->GetFileInfo(m_simFileID, this);
}

void CCtSvcSimFile::OnGetFileInfo(const CtSvcSimFileInfo* pInfo, BOOL bSuccess) {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimFile::OnGetFileInfo(%d) - SimFileID = %d\n", bSuccess, m_nSimFileID);
  if (!bSuccess || pInfo == nullptr) {
    _LoadingFinished(FALSE);
    return;
  }
  m_FileInfo = *pInfo;
  DbgPrint(DBG_CLASS_TRACE,
           "CCtSvcSimFile::OnGetFileInfo - SimFileID =%d, m_FileInfo.recordLen = %d, m_FileInfo.recordCnt = %d\n",
           m_nSimFileID, m_FileInfo.recordLen, m_FileInfo.recordCnt);
  if (m_simLoadStyle == SIM_LOAD_STYLE_INFO) {
    return;
  }
  if (!ZEL_REQUIRE(m_pLoadInfo)) {
    return;
  }
  if (m_FileInfo.recordLen < 1) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFile::OnGetFileInfo - this SIM file is invalid (SimFileID = %d, record length(%d))\n",
             m_nSimFileID, m_FileInfo.recordLen);
    _LoadingFinished(FALSE);
    return;
  }
  if (!m_FileInfo.recordStructured) {
    if (!_ReadFile(0)) {
      _LoadingFinished(FALSE);
    }
    return;
  }
  if (m_FileInfo.recordCnt < 1) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFile::OnGetFileInfo - this SIM file is invalid (SimFileID = %d, record count(%d))\n",
             m_nSimFileID, m_FileInfo.recordCnt);
    _LoadingFinished(FALSE);
    return;
  }
  if (!_PrepareLoad()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFile::OnGetFileInfo - _PrepareLoad failed (SimFileID = %d, record count(%d))\n",
             m_nSimFileID, m_FileInfo.recordCnt);
    _LoadingFinished(FALSE);
    return;
  }
  if (_GetCardType() == CTSVC_SIM_CARD_TYPE_USIM && m_nSimFileID != CTSVC_SIM_PBR) {
    SimSearchRecordReq req{};
    if (_PrepareSearchRecordReqData(&req) && CtSvcGetDevSimMgr()->SearchRecord(&req, this)) {
      return;
    }
  }
  _ReadAll();
}

void CCtSvcSimFile::OnSearch(const SimSearchEventData* pData, BOOL bSuccess) {
  if (!ZEL_REQUIRE(m_pLoadInfo)) {
    return;
  }
  const int nCount = m_FileInfo.recordCnt;
  if (!bSuccess) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimFile::OnSearch() - failed, read sequence SimFileID = %d\n", m_nSimFileID);
    _ReadAll();
    return;
  }
  if (pData == nullptr) {
    _LoadingFinished(FALSE);
    return;
  }
  const int nLen = static_cast<int>(pData->dataLen);
  if (nLen == 0) {
    _ReadAll();
    return;
  }
  if (nLen > nCount || nLen < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFile::OnSearch - pData->dataLen(%d) is bigger than m_FileInfo.recordCnt(%d)\n",
             nLen, nCount);
    _LoadingFinished(FALSE);
    return;
  }
  if (nLen == nCount) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimFile::OnRead -SUCCESS!!(SimFileID = %d)\n", m_nSimFileID);
    _LoadingFinished(TRUE);
    return;
  }
  std::vector<bool> vcUsed(static_cast<size_t>(nCount), true);
  for (int i = 0; i < nLen; ++i) {
    const int nNumber = pData->pData[i];
    if (nNumber == 0 || nNumber > nCount) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFile::OnSearch - pData->pData[i](%d) is invalid\n", nNumber);
      _LoadingFinished(FALSE);
      return;
    }
    vcUsed[nNumber - 1] = false;
  }
  std::vector<int> vcReadList;
  for (int i = 0; i < nCount; ++i) {
    if (vcUsed[i]) {
      vcReadList.push_back(i);
    }
  }
  _StartReading(std::move(vcReadList));
}

void CCtSvcSimFile::_ReadAll() {
  std::vector<int> vcReadList(static_cast<size_t>(m_FileInfo.recordCnt > 0 ? m_FileInfo.recordCnt : 0));
  for (size_t i = 0; i < vcReadList.size(); ++i) {
    vcReadList[i] = static_cast<int>(i);
  }
  _StartReading(std::move(vcReadList));
}

void CCtSvcSimFile::_StartReading(std::vector<int> vcReadList) {
  m_pLoadInfo->vcReadList = std::move(vcReadList);
  m_pLoadInfo->nPosition = 0;
  if (m_pLoadInfo->vcReadList.empty()) {
    _LoadingFinished(TRUE);
    return;
  }
  if (!_ReadFile(m_pLoadInfo->vcReadList[0])) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFile::ReadFile failed\n");
    _LoadingFinished(FALSE);
  }
}

BOOL CCtSvcSimFile::_ReadFile(int nRecordIndex) {
  if (m_FileInfo.recordCnt > 0 && nRecordIndex >= m_FileInfo.recordCnt) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFile::_ReadFile:record Cnt(%d)index(%d)\n", m_FileInfo.recordCnt, nRecordIndex);
    return FALSE;
  }
  SimReadFileReq req{};
  return _PrepareReadFileReqData(&req, nRecordIndex) && CtSvcGetDevSimMgr()->ReadFile(&req, this);
}

void CCtSvcSimFile::OnRead(const void* pRecordData, BOOL bSuccess) {
  if (!ZEL_REQUIRE(m_pLoadInfo)) {
    return;
  }
  if (!bSuccess || pRecordData == nullptr) {
    _LoadingFinished(FALSE);
    return;
  }
  LoadInfo& load = *m_pLoadInfo;
  const int nTotal = static_cast<int>(load.vcReadList.size());
  if (load.nPosition < nTotal) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimFile::OnRead - Read success << Index(%d) / TotalCount(%d) >>\n",
             load.nPosition + 1, nTotal);
    const int nRecordIndex = load.vcReadList[load.nPosition];
    if (!_SaveRecordOnRead(nRecordIndex, pRecordData)) {
      DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimFile::ReadFile - _SaveRecordOnRead failed or not used(%d)\n", nRecordIndex);
    }
    ++load.nPosition;
  }
  if (load.nPosition >= nTotal) {
    _LoadingFinished(TRUE);
    return;
  }
  if (!_ReadFile(load.vcReadList[load.nPosition])) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFile::ReadFile failed\n");
    _LoadingFinished(FALSE);
  }
}

void CCtSvcSimFile::_LoadingFinished(BOOL bResult) {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimFile::_LoadingFinished - Entered (loadingResult = %d)\n", bResult);
  m_pLoadInfo.reset();
  if (m_pListener != nullptr) {
    m_pListener->OnLoaded(m_nSimFileID, bResult);
  }
}

BOOL CCtSvcSimFile::_PrepareSearchRecordReqData(SimSearchRecordReq* pReqData) {
  if (!ZEL_REQUIRE(pReqData)) {
    return FALSE;
  }
  *pReqData = SimSearchRecordReq{};
  pReqData->fileID = static_cast<UINT32>(m_simFileID);
  pReqData->searchMode = 1;
  pReqData->recordCount = static_cast<UINT32>(m_FileInfo.recordCnt);
  pReqData->firstRecord = 1;
  pReqData->matchKind = 4;
  pReqData->recordLen = static_cast<UINT32>(m_FileInfo.recordLen);
  if (m_nSimFileID != CTSVC_SIM_GRP) {
    std::memset(pReqData->pattern, 0xFF, sizeof(pReqData->pattern));
  }
  return TRUE;
}

BOOL CCtSvcSimFile::_PrepareReadFileReqData(SimReadFileReq* pReqData, int nRecordIndex) {
  if (!ZEL_REQUIRE(pReqData)) {
    return FALSE;
  }
  *pReqData = SimReadFileReq{};
  pReqData->fileID = static_cast<UINT32>(m_simFileID);
  if (m_FileInfo.recordStructured) {
    pReqData->accessMode = SIM_ACCESS_MODE_RECORD;
    pReqData->recordNum = static_cast<UINT32>(nRecordIndex + 1);
  } else {
    pReqData->accessMode = SIM_ACCESS_MODE_TRANSPARENT;
  }
  pReqData->count = 1;
  pReqData->recordLen = static_cast<UINT32>(m_FileInfo.recordLen);
  return TRUE;
}

void CCtSvcSimFile::_PrepareUpdateHeader(int nRecordIndex, SimUpdateFileReq* pReqData) const {
  pReqData->fileID = static_cast<UINT32>(m_simFileID);
  pReqData->accessMode = SIM_ACCESS_MODE_RECORD;
  pReqData->recordNum = static_cast<UINT32>(nRecordIndex + 1);
  pReqData->count = 1;
  pReqData->recordLen = static_cast<UINT32>(m_FileInfo.recordLen);
}

BOOL CCtSvcSimFile::UpdateRecord(int nRecordIndex, ICtSvcSimFileListener* pListener) {
  return _SendUpdate(nRecordIndex, FALSE, pListener);
}

BOOL CCtSvcSimFile::DeleteRecord(int nRecordIndex, ICtSvcSimFileListener* pListener) {
  return _SendUpdate(nRecordIndex, TRUE, pListener);
}

BOOL CCtSvcSimFile::_SendUpdate(int nRecordIndex, BOOL bDelete, ICtSvcSimFileListener* pListener) {
  if (!ZEL_REQUIRE(m_simFileID != SIM_EFILE_INVALID)) {
    return FALSE;
  }
  m_pListener = pListener;
  std::unique_ptr<SimUpdateFileReq> pReq(new (std::nothrow) SimUpdateFileReq());
  if (pReq == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s::_PrepareUpdateFileReqData - pszBuffer new is FAILED\n", m_pszClassName);
    return FALSE;
  }
  if (!_PrepareUpdateFileReqData(nRecordIndex, bDelete, pReq.get())) {
    return FALSE;
  }
  return CtSvcGetDevSimMgr()->UpdateFile(pReq.get(), this);
}

void CCtSvcSimFile::OnUpdated(BOOL bSuccess) {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimFile::OnUpdated(%d) - SimFileID = %d\n", bSuccess, m_nSimFileID);
  if (m_pListener != nullptr) {
    m_pListener->OnUpdated(m_nSimFileID, bSuccess);
  }
}

int CCtSvcSimFile::GetUnusedRecordIndex() const {
  const int nCount = m_FileInfo.recordCnt < GetMaxRecordCount() ? m_FileInfo.recordCnt : GetMaxRecordCount();
  for (int i = 0; i < nCount; ++i) {
    if (!IsUsed(i)) {
      return i;
    }
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimFile::GetUnusedRecordIndex -SIM file is full\n");
  return -1;
}

BOOL CCtSvcSimFile::_GetRangeSHA1(int, int, UINT8*) { return TRUE; }

BOOL CCtSvcSimFile::GetSHA1Value(std::string* pstrValue) {
  if (!ZEL_REQUIRE(pstrValue)) {
    return FALSE;
  }
  pstrValue->clear();
  const int nTotal = GetMaxRecordCount();
  for (int nStart = 0; nStart < nTotal; nStart += CTSVC_SIM_SHA1_CHUNK) {
    const int nCount = nTotal - nStart < CTSVC_SIM_SHA1_CHUNK ? nTotal - nStart : CTSVC_SIM_SHA1_CHUNK;
    UINT8 aHash[CTSVC_SIM_SHA1_SIZE] = {};
    if (!_GetRangeSHA1(nStart, nCount, aHash)) {
      return FALSE;
    }
    for (UINT8 byte : aHash) {
      char szHex[4];
      std::snprintf(szHex, sizeof(szHex), "%x", byte);
      pstrValue->append(szHex);
    }
  }
  return TRUE;
}
