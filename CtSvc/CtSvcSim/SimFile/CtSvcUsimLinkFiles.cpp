#include "CtSvcSim/SimFile/CtSvcUsimLinkFiles.h"

CCtSvcIapFile::CCtSvcIapFile(int nPbrIndex)
    : CCtSvcSimLinkFile(CTSVC_SIM_IAP, nPbrIndex, "CCtSvcIapFile", "m_vcpIapRecord", "nEntryTypeA9Index >= 0") {}

int CCtSvcIapFile::GetIndex(int nRecordIndex, int nEntryTypeA9Index) const { return _GetLink(nRecordIndex, nEntryTypeA9Index); }

BOOL CCtSvcIapFile::SetIndex(int nRecordIndex, int nEntryTypeA9Index, UINT8 nValue) {
  return _SetLink(nRecordIndex, nEntryTypeA9Index, nValue);
}

BOOL CCtSvcIapFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  const auto* pData = static_cast<const SimIapInfo*>(pRecordData);
  if (pData->used == 0) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcIapFile::_SaveRecordOnRead - Not Used(%d)\n", nRecordIndex);
    return FALSE;
  }
  __CtSvcSimLinkRecord<CTSVC_SIM_IAP_COUNT_MAX>* pEntry = _NewEntry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  for (int i = 0; i < CTSVC_SIM_IAP_COUNT_MAX; ++i) {
    if (pData->recordNum[i] != CTSVC_SIM_LINK_NONE) {
      pEntry->aLink[i] = static_cast<UINT8>(pData->recordNum[i] - 1);
    }
  }
  return TRUE;
}

BOOL CCtSvcIapFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  if (!ZEL_REQUIRE(pReqData)) {
    return FALSE;
  }
  _PrepareUpdateHeader(nRecordIndex, pReqData);
  SimIapInfo data{};
  std::memset(data.recordNum, CTSVC_SIM_LINK_NONE, sizeof(data.recordNum));
  if (!bDelete) {
    const __CtSvcSimLinkRecord<CTSVC_SIM_IAP_COUNT_MAX>* pEntry = _Entry(nRecordIndex);
    if (pEntry == nullptr) {
      return FALSE;
    }
    data.used = 1;
    for (int i = 0; i < CTSVC_SIM_IAP_COUNT_MAX; ++i) {
      data.recordNum[i] = CtSvcSimLinkToNumber(pEntry->aLink[i]);
    }
  }
  std::memcpy(pReqData->data, &data, sizeof(data));
  return TRUE;
}

CCtSvcGrpFile::CCtSvcGrpFile(int nPbrIndex)
    : CCtSvcSimLinkFile(CTSVC_SIM_GRP, nPbrIndex, "CCtSvcGrpFile", "m_vcpGrpRecord",
                        "nArrayIndex < CTSVC_SIM_GROUP_COUNT_MAX") {}

int CCtSvcGrpFile::GetGASIndex(int nRecordIndex, int nArrayIndex) const { return _GetLink(nRecordIndex, nArrayIndex); }

BOOL CCtSvcGrpFile::SetGASIndex(int nRecordIndex, int nArrayIndex, UINT8 nGasIndex) {
  return _SetLink(nRecordIndex, nArrayIndex, nGasIndex);
}

BOOL CCtSvcGrpFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  const auto* pData = static_cast<const SimGrpInfo*>(pRecordData);
  if (pData->used == 0) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcGrpFile::_SaveRecordOnRead - Not Used(%d)\n", nRecordIndex);
    return FALSE;
  }
  __CtSvcSimLinkRecord<CTSVC_SIM_GROUP_COUNT_MAX>* pEntry = _NewEntry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  const int nCount = pData->count < CTSVC_SIM_GROUP_COUNT_MAX ? pData->count : CTSVC_SIM_GROUP_COUNT_MAX;
  for (int i = 0; i < nCount; ++i) {
    if (pData->groupRecordNum[i] != 0) {
      pEntry->aLink[i] = static_cast<UINT8>(pData->groupRecordNum[i] - 1);
    }
  }
  return TRUE;
}

BOOL CCtSvcGrpFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  if (!ZEL_REQUIRE(pReqData)) {
    return FALSE;
  }
  _PrepareUpdateHeader(nRecordIndex, pReqData);
  SimGrpInfo data{};
  const int nLen = GetRecordLength();
  data.count = static_cast<UINT8>(nLen > 0 && nLen < CTSVC_SIM_GROUP_COUNT_MAX ? nLen : CTSVC_SIM_GROUP_COUNT_MAX);
  if (!bDelete) {
    const __CtSvcSimLinkRecord<CTSVC_SIM_GROUP_COUNT_MAX>* pEntry = _Entry(nRecordIndex);
    if (pEntry == nullptr) {
      return FALSE;
    }
    data.used = 1;
    for (int i = 0; i < data.count; ++i) {
      // A group byte is the GAS record number; 0 means none.
      data.groupRecordNum[i] = pEntry->aLink[i] == CTSVC_SIM_LINK_NONE ? 0 : static_cast<UINT8>(pEntry->aLink[i] + 1);
    }
  }
  std::memcpy(pReqData->data, &data, sizeof(data));
  return TRUE;
}
