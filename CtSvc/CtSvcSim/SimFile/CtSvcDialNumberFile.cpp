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
  return _GetText(nRecordIndex, &__CtSvcSimDialNumberRecord::name, pszName, nSize);
}

BOOL CCtSvcDialNumberFile::GetPhoneNumber(int nRecordIndex, char* pszPhoneNumber, int nSize) const {
  return _GetText(nRecordIndex, &__CtSvcSimDialNumberRecord::number, pszPhoneNumber, nSize);
}

BOOL CCtSvcDialNumberFile::SetName(int nRecordIndex, const char* pszName) {
  return _SetText(nRecordIndex, &__CtSvcSimDialNumberRecord::name, pszName);
}

BOOL CCtSvcDialNumberFile::SetPhoneNumber(int nRecordIndex, const char* pszPhoneNumber) {
  return _SetText(nRecordIndex, &__CtSvcSimDialNumberRecord::number, pszPhoneNumber);
}

int CCtSvcDialNumberFile::GetExtIndex(int nRecordIndex) const {
  return _GetField(nRecordIndex, &__CtSvcSimDialNumberRecord::extRecordIndex);
}

BOOL CCtSvcDialNumberFile::SetExtIndex(int nRecordIndex, UINT8 nExtIndex) {
  return _SetField(nRecordIndex, &__CtSvcSimDialNumberRecord::extRecordIndex, nExtIndex);
}

int CCtSvcDialNumberFile::GetInternational(int nRecordIndex) const {
  return _GetField(nRecordIndex, &__CtSvcSimDialNumberRecord::international);
}

BOOL CCtSvcDialNumberFile::SetInternational(int nRecordIndex, UINT32 bInternational) {
  return _SetField(nRecordIndex, &__CtSvcSimDialNumberRecord::international, bInternational);
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
  return _SaveOnRead(nRecordIndex, false, nullptr, [this, pData](__CtSvcSimDialNumberRecord& entry) {
    const int nAlphaLen = pData->alphaLen < sizeof(pData->szAlphaID) ? static_cast<int>(pData->alphaLen)
                                                                      : static_cast<int>(sizeof(pData->szAlphaID));
    CtSvcSimDecodeAlpha(pData->szAlphaID, nAlphaLen, static_cast<int>(pData->alphaFieldLen), m_alphaRule, kAlphaUnits,
                        entry.name, sizeof(entry.name));
    if (pData->numberLen != 0) {
      entry.international = CtSvcSimDecodeNumber(pData->szNumber, static_cast<int>(sizeof(pData->szNumber)), pData->ton,
                                                 entry.number, sizeof(entry.number));
    }
    entry.extRecordIndex = CtSvcSimNumberToLink(pData->extensionId);
  });
}

BOOL CCtSvcDialNumberFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  const int nAlphaField = GetRecordLength() - CTSVC_SIM_DIAL_FOOTER;
  return _PrepareUpdate(nRecordIndex, bDelete, pReqData, SimDialNumberInfo{},
                        [this, nAlphaField](const __CtSvcSimDialNumberRecord& entry, SimDialNumberInfo& data) {
                          if (nAlphaField > 0) {
                            data.alphaFieldLen = static_cast<UINT32>(nAlphaField);
                            const int nCapacity = std::min(nAlphaField, static_cast<int>(sizeof(data.szAlphaID)));
                            data.alphaLen = static_cast<UINT32>(CtSvcSimEncodeAlpha(entry.name, data.szAlphaID, nCapacity));
                          }
                          CtSvcSimFillNumber(entry.number, entry.international, m_bPlusFromNumber, &data.ton,
                                             &data.numberLen, data.szNumber);
                          data.npi = 1;
                          data.capabilityId = 0xFF;
                          data.extensionId = CtSvcSimLinkToNumber(entry.extRecordIndex);
                        });
}
