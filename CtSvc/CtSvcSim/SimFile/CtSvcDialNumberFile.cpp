#include "CtSvcSim/SimFile/CtSvcDialNumberFile.h"

#include <cstring>

#include "CtSvcSim/SimFile/CtSvcSimFileIds.h"

namespace {

constexpr int kAlphaUnits = 41;

}  // namespace

void __CtSvcSimDialNumberRecord::Image(UINT8* pImage) const {
  std::memcpy(pImage, name, sizeof(name));
  std::memcpy(pImage + 121, number, sizeof(number));
  pImage[163] = extRecordIndex;
  std::memcpy(pImage + 164, &international, 4);  // little-endian host
}

CCtSvcDialNumberFile::CCtSvcDialNumberFile(int nSimFileID, int nPbrIndex, const char* pszClassName,
                                           const char* pszVectorName, CtSvcSimAlphaRule alphaRule, bool bPlusFromNumber)
    : CCtSvcSimEntryFile(nSimFileID, nPbrIndex, pszClassName, pszVectorName),
      m_alphaRule(alphaRule),
      m_bPlusFromNumber(bPlusFromNumber) {
  _SetTelephonyFileID(CtSvcSimChooseTelephonyFileID(nSimFileID, nPbrIndex));
}

CCtSvcAdnFile::CCtSvcAdnFile(int nPbrIndex)
    : CCtSvcDialNumberFile(CTSVC_SIM_ADN, nPbrIndex, "CCtSvcAdnFile", "m_vcpAdnRecord", CtSvcSimAlphaRule::Full, true) {}
CCtSvcFdnFile::CCtSvcFdnFile()
    : CCtSvcDialNumberFile(CTSVC_SIM_FDN, 0, "CCtSvcFdnFile", "m_vcpFdnRecord", CtSvcSimAlphaRule::Full, true) {}
CCtSvcSdnFile::CCtSvcSdnFile()
    : CCtSvcDialNumberFile(CTSVC_SIM_SDN, 0, "CCtSvcSdnFile", "m_vcpSdnRecord", CtSvcSimAlphaRule::NoKsc, false) {}
CCtSvcMsisdnFile::CCtSvcMsisdnFile()
    : CCtSvcDialNumberFile(CTSVC_SIM_MSISDN, 0, "CCtSvcMsisdnFile", "m_vcpMsisdnRecord", CtSvcSimAlphaRule::Full, true) {}

BOOL CCtSvcDialNumberFile::GetName(int nRecordIndex, char* pszName, int nSize) const {
  const __CtSvcSimDialNumberRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr || !ZEL_REQUIRE(pszName) || nSize < 1) {
    return FALSE;
  }
  CtSvcSimCopyText(pszName, static_cast<size_t>(nSize), pEntry->name);
  return TRUE;
}

BOOL CCtSvcDialNumberFile::GetPhoneNumber(int nRecordIndex, char* pszPhoneNumber, int nSize) const {
  const __CtSvcSimDialNumberRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr || !ZEL_REQUIRE(pszPhoneNumber) || nSize < 1) {
    return FALSE;
  }
  CtSvcSimCopyText(pszPhoneNumber, static_cast<size_t>(nSize), pEntry->number);
  return TRUE;
}

BOOL CCtSvcDialNumberFile::SetName(int nRecordIndex, const char* pszName) {
  __CtSvcSimDialNumberRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr || !ZEL_REQUIRE(pszName)) {
    return FALSE;
  }
  CtSvcSimCopyText(pEntry->name, sizeof(pEntry->name), pszName);
  return TRUE;
}

BOOL CCtSvcDialNumberFile::SetPhoneNumber(int nRecordIndex, const char* pszPhoneNumber) {
  __CtSvcSimDialNumberRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr || !ZEL_REQUIRE(pszPhoneNumber)) {
    return FALSE;
  }
  CtSvcSimCopyText(pEntry->number, sizeof(pEntry->number), pszPhoneNumber);
  return TRUE;
}

int CCtSvcDialNumberFile::GetExtIndex(int nRecordIndex) const {
  const __CtSvcSimDialNumberRecord* pEntry = _Entry(nRecordIndex);
  return pEntry != nullptr ? pEntry->extRecordIndex : -1;
}

BOOL CCtSvcDialNumberFile::SetExtIndex(int nRecordIndex, UINT8 nExtIndex) {
  __CtSvcSimDialNumberRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  pEntry->extRecordIndex = nExtIndex;
  return TRUE;
}

int CCtSvcDialNumberFile::GetInternational(int nRecordIndex) const {
  const __CtSvcSimDialNumberRecord* pEntry = _Entry(nRecordIndex);
  return pEntry != nullptr ? static_cast<int>(pEntry->international) : -1;
}

BOOL CCtSvcDialNumberFile::SetInternational(int nRecordIndex, UINT32 bInternational) {
  __CtSvcSimDialNumberRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  pEntry->international = bInternational;
  return TRUE;
}

int CCtSvcDialNumberFile::GetExtFileID() const {
  switch (GetSimFileID()) {
    case CTSVC_SIM_FDN:
      return CTSVC_SIM_EXT2;
    case CTSVC_SIM_SDN:
      return CTSVC_SIM_EXT3;
    case CTSVC_SIM_MSISDN:
      return _GetCardType() == CTSVC_SIM_CARD_TYPE_USIM ? CTSVC_SIM_EXT5 : CTSVC_SIM_EXT1;
    default:
      return CTSVC_SIM_EXT1;
  }
}

BOOL CCtSvcDialNumberFile::GetPresentedNumber(int nRecordIndex, const CCtSvcExtFile* pExtFile, char* pszNumber,
                                              int nSize) const {
  const __CtSvcSimDialNumberRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr || !ZEL_REQUIRE(pszNumber) || nSize < 1) {
    return FALSE;
  }
  CtSvcSimPresentNumber(pEntry->number, pEntry->international, CtSvcSimExtensionDigits(pExtFile, pEntry->extRecordIndex),
                        pszNumber, nSize);
  return TRUE;
}

BOOL CCtSvcDialNumberFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  const auto* pData = static_cast<const SimDialNumberInfo*>(pRecordData);
  if (pData->used == 0) {
    DbgPrint(DBG_CLASS_TRACE, "%s::_SaveRecordOnRead - Not Used(%d)\n", GetClassName(), nRecordIndex);
    return FALSE;
  }
  if (pData->alphaLen == 0 && pData->numberLen == 0) {
    DbgPrint(DBG_CLASS_TRACE, "%s::_SaveRecordOnRead - there is no name, no phone number - Not Used(%d)\n",
             GetClassName(), nRecordIndex);
    return FALSE;
  }
  __CtSvcSimDialNumberRecord* pEntry = _NewEntry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  const int nAlphaLen = pData->alphaLen < sizeof(pData->szAlphaID) ? static_cast<int>(pData->alphaLen)
                                                                    : static_cast<int>(sizeof(pData->szAlphaID));
  CtSvcSimDecodeAlpha(pData->szAlphaID, nAlphaLen, static_cast<int>(pData->alphaFieldLen), m_alphaRule, kAlphaUnits,
                      pEntry->name, sizeof(pEntry->name));
  if (pData->numberLen != 0) {
    pEntry->international = CtSvcSimDecodeNumber(pData->szNumber, static_cast<int>(sizeof(pData->szNumber)), pData->ton,
                                                 pEntry->number, sizeof(pEntry->number));
  }
  if (pData->extensionId != 0 && pData->extensionId != CTSVC_SIM_LINK_NONE) {
    pEntry->extRecordIndex = static_cast<UINT8>(pData->extensionId - 1);
  }
  return TRUE;
}

BOOL CCtSvcDialNumberFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  if (!ZEL_REQUIRE(pReqData)) {
    return FALSE;
  }
  _PrepareUpdateHeader(nRecordIndex, pReqData);
  SimDialNumberInfo data{};
  if (!bDelete) {
    const __CtSvcSimDialNumberRecord* pEntry = _Entry(nRecordIndex);
    if (pEntry == nullptr) {
      return FALSE;
    }
    data.used = 1;
    const int nAlphaField = GetRecordLength() - CTSVC_SIM_DIAL_FOOTER;
    if (nAlphaField > 0) {
      data.alphaFieldLen = static_cast<UINT32>(nAlphaField);
      const int nCapacity = nAlphaField < static_cast<int>(sizeof(data.szAlphaID)) ? nAlphaField
                                                                                    : static_cast<int>(sizeof(data.szAlphaID));
      data.alphaLen = static_cast<UINT32>(CtSvcSimEncodeAlpha(pEntry->name, data.szAlphaID, nCapacity));
    }
    CtSvcSimFillNumber(pEntry->number, pEntry->international, m_bPlusFromNumber, &data.ton, &data.numberLen,
                       data.szNumber);
    data.npi = 1;
    data.capabilityId = 0xFF;
    data.extensionId = pEntry->extRecordIndex == CTSVC_SIM_LINK_NONE ? CTSVC_SIM_LINK_NONE
                                                               : static_cast<UINT8>(pEntry->extRecordIndex + 1);
  }
  std::memcpy(pReqData->data, &data, sizeof(data));
  return TRUE;
}
