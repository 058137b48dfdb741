#include "CtSvcSim/SimFile/CtSvcAnrFile.h"

#include "CtSvcSim/SimFile/CtSvcSimCodec.h"

void __CtSvcSimAnrRecord::Image(UINT8* pImage) const {
  std::memcpy(pImage, number, sizeof(number));
  pImage[42] = aasIndex;
  pImage[43] = extRecordIndex;
  pImage[44] = adnSfi;
  pImage[45] = adnRecordIndex;
  std::memcpy(pImage + 46, &international, 4);
}

CCtSvcAnrFile::CCtSvcAnrFile(int nPbrIndex, int nNth)
    : CCtSvcSimEntryFile(CTSVC_SIM_ANR, nPbrIndex, "CCtSvcAnrFile", "m_vcpAnrRecord"), m_nNth(nNth) {
  _SetTelephonyFileID(CtSvcSimUsimFileID(CTSVC_SIM_ANR, nPbrIndex, nNth));
}

BOOL CCtSvcAnrFile::GetAdditionalNumber(int nRecordIndex, char* pszNumber, int nSize) const {
  const __CtSvcSimAnrRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr || !ZEL_REQUIRE(pszNumber) || nSize < 1) {
    return FALSE;
  }
  CtSvcSimCopyText(pszNumber, static_cast<size_t>(nSize), pEntry->number);
  return TRUE;
}

BOOL CCtSvcAnrFile::SetAdditionalNumber(int nRecordIndex, const char* pszNumber) {
  __CtSvcSimAnrRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr || !ZEL_REQUIRE(pszNumber)) {
    return FALSE;
  }
  CtSvcSimCopyText(pEntry->number, sizeof(pEntry->number), pszNumber);
  return TRUE;
}

int CCtSvcAnrFile::GetAasIndex(int nRecordIndex) const {
  const __CtSvcSimAnrRecord* pEntry = _Entry(nRecordIndex);
  return pEntry != nullptr ? pEntry->aasIndex : -1;
}

BOOL CCtSvcAnrFile::SetAasIndex(int nRecordIndex, UINT8 nAasIndex) {
  __CtSvcSimAnrRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  pEntry->aasIndex = nAasIndex;
  return TRUE;
}

int CCtSvcAnrFile::GetInternational(int nRecordIndex) const {
  const __CtSvcSimAnrRecord* pEntry = _Entry(nRecordIndex);
  return pEntry != nullptr ? static_cast<int>(pEntry->international) : -1;
}

BOOL CCtSvcAnrFile::SetInternational(int nRecordIndex, UINT32 bInternational) {
  __CtSvcSimAnrRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  pEntry->international = bInternational;
  return TRUE;
}

int CCtSvcAnrFile::GetAdnRecordIndex(int nRecordIndex) const {
  const __CtSvcSimAnrRecord* pEntry = _Entry(nRecordIndex);
  return pEntry != nullptr ? pEntry->adnRecordIndex : -1;
}

BOOL CCtSvcAnrFile::SetAdnLink(int nRecordIndex, UINT8 nAdnSfi, UINT8 nAdnRecordIndex) {
  __CtSvcSimAnrRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  pEntry->adnSfi = nAdnSfi;
  pEntry->adnRecordIndex = nAdnRecordIndex;
  return TRUE;
}

BOOL CCtSvcAnrFile::GetPresentedNumber(int nRecordIndex, const CCtSvcExtFile* pExtFile, char* pszNumber, int nSize) const {
  const __CtSvcSimAnrRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr || !ZEL_REQUIRE(pszNumber) || nSize < 1) {
    return FALSE;
  }
  CtSvcSimPresentNumber(pEntry->number, pEntry->international, CtSvcSimExtensionDigits(pExtFile, pEntry->extRecordIndex),
                        pszNumber, nSize);
  return TRUE;
}

BOOL CCtSvcAnrFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  const auto* pData = static_cast<const SimAnrInfo*>(pRecordData);
  if (pData->used == 0 || pData->numberLen == 0) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcAnrFile::_SaveRecordOnRead - there is no phone number - Not Used(%d)\n", nRecordIndex);
    return FALSE;
  }
  __CtSvcSimAnrRecord* pEntry = _NewEntry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  pEntry->aasIndex = CtSvcSimNumberToLink(pData->aasRecordNum);
  pEntry->adnSfi = pData->adnSfi;
  pEntry->adnRecordIndex = static_cast<UINT8>(pData->adnRecordNum - 1);
  pEntry->international = CtSvcSimDecodeNumber(pData->szNumber, static_cast<int>(sizeof(pData->szNumber)), pData->ton,
                                               pEntry->number, sizeof(pEntry->number));
  pEntry->extRecordIndex = CtSvcSimNumberToLink(pData->extensionId);
  return TRUE;
}

BOOL CCtSvcAnrFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  if (!ZEL_REQUIRE(pReqData)) {
    return FALSE;
  }
  _PrepareUpdateHeader(nRecordIndex, pReqData);
  SimAnrInfo data{};
  data.fileID = static_cast<UINT16>(GetTelephonyFileID());
  if (!bDelete) {
    const __CtSvcSimAnrRecord* pEntry = _Entry(nRecordIndex);
    if (pEntry == nullptr) {
      return FALSE;
    }
    data.used = 1;
    data.aasRecordNum = pEntry->aasIndex == CTSVC_SIM_LINK_NONE ? 0 : static_cast<UINT8>(pEntry->aasIndex + 1);
    CtSvcSimFillNumber(pEntry->number, pEntry->international, true, &data.ton, &data.numberLen, data.szNumber);
    data.npi = 1;
    data.capabilityId = 0xFF;
    data.extensionId = 0xFF;  // an additional number is written without an extension record
    data.adnSfi = pEntry->adnSfi;
    data.adnRecordNum = static_cast<UINT8>(pEntry->adnRecordIndex + 1);
  }
  std::memcpy(pReqData->data, &data, sizeof(data));
  return TRUE;
}
