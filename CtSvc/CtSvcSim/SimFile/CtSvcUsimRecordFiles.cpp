#include "CtSvcSim/SimFile/CtSvcUsimRecordFiles.h"

CCtSvcUidFile::CCtSvcUidFile(int nPbrIndex) : CCtSvcSimEntryFile(CTSVC_SIM_UID, nPbrIndex, "CCtSvcUidFile", "m_vcpUidRecord") {
  _SetTelephonyFileID(CtSvcSimUsimFileID(CTSVC_SIM_UID, nPbrIndex));
}

int CCtSvcUidFile::GetUID(int nRecordIndex) const {
  const __CtSvcSimUidRecord* pEntry = _Entry(nRecordIndex);
  return pEntry != nullptr ? pEntry->uid : -1;
}

BOOL CCtSvcUidFile::SetUID(int nRecordIndex, UINT16 nUid) {
  __CtSvcSimUidRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  pEntry->uid = nUid;
  return TRUE;
}

BOOL CCtSvcUidFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  const auto* pData = static_cast<const SimUidInfo*>(pRecordData);
  if (pData->used == 0 || pData->uid == 0) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcUidFile::_SaveRecordOnRead - Not Used(%d)\n", nRecordIndex);
    return FALSE;
  }
  __CtSvcSimUidRecord* pEntry = _NewEntry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  pEntry->uid = pData->uid;
  return TRUE;
}

BOOL CCtSvcUidFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  if (!ZEL_REQUIRE(pReqData)) {
    return FALSE;
  }
  _PrepareUpdateHeader(nRecordIndex, pReqData);
  SimUidInfo data{};
  if (!bDelete) {
    const __CtSvcSimUidRecord* pEntry = _Entry(nRecordIndex);
    if (pEntry == nullptr) {
      return FALSE;
    }
    data.used = 1;
    data.uid = pEntry->uid;
  }
  std::memcpy(pReqData->data, &data, sizeof(data));
  return TRUE;
}

CCtSvcPbcFile::CCtSvcPbcFile(int nPbrIndex) : CCtSvcSimEntryFile(CTSVC_SIM_PBC, nPbrIndex, "CCtSvcPbcFile", "m_vcpPbcRecord") {
  _SetTelephonyFileID(CtSvcSimUsimFileID(CTSVC_SIM_PBC, nPbrIndex));
}

int CCtSvcPbcFile::GetEntryControl(int nRecordIndex) const {
  const __CtSvcSimPbcRecord* pEntry = _Entry(nRecordIndex);
  return pEntry != nullptr ? static_cast<int>(pEntry->entryControl) : -1;
}

BOOL CCtSvcPbcFile::SetEntryControl(int nRecordIndex, UINT32 nFlag) {
  __CtSvcSimPbcRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  pEntry->entryControl = nFlag;
  return TRUE;
}

BOOL CCtSvcPbcFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  const auto* pData = static_cast<const SimPbcInfo*>(pRecordData);
  if (pData->used == 0) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcPbcFile::_SaveRecordOnRead - Not Used(%d)\n", nRecordIndex);
    return FALSE;
  }
  __CtSvcSimPbcRecord* pEntry = _NewEntry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  pEntry->entryControl = pData->entryControl == 1 ? 1 : 0;
  if (pData->hiddenKeyPresent != 0) {
    pEntry->hiddenKeyFlag = pData->hiddenKeyPresent;
    pEntry->hiddenKey = pData->hiddenKey;
  }
  return TRUE;
}

BOOL CCtSvcPbcFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  if (!ZEL_REQUIRE(pReqData)) {
    return FALSE;
  }
  _PrepareUpdateHeader(nRecordIndex, pReqData);
  SimPbcInfo data{};
  if (!bDelete) {
    const __CtSvcSimPbcRecord* pEntry = _Entry(nRecordIndex);
    if (pEntry == nullptr) {
      return FALSE;
    }
    data.used = 1;
    data.entryControl = pEntry->entryControl;
    data.hiddenKeyPresent = pEntry->hiddenKeyFlag;
    data.hiddenKey = pEntry->hiddenKey;
  }
  std::memcpy(pReqData->data, &data, sizeof(data));
  return TRUE;
}
