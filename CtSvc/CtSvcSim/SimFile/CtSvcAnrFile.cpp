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
  return _GetText(nRecordIndex, &__CtSvcSimAnrRecord::number, pszNumber, nSize);
}

BOOL CCtSvcAnrFile::SetAdditionalNumber(int nRecordIndex, const char* pszNumber) {
  return _SetText(nRecordIndex, &__CtSvcSimAnrRecord::number, pszNumber);
}

int CCtSvcAnrFile::GetAasIndex(int nRecordIndex) const { return _GetField(nRecordIndex, &__CtSvcSimAnrRecord::aasIndex); }

BOOL CCtSvcAnrFile::SetAasIndex(int nRecordIndex, UINT8 nAasIndex) {
  return _SetField(nRecordIndex, &__CtSvcSimAnrRecord::aasIndex, nAasIndex);
}

int CCtSvcAnrFile::GetInternational(int nRecordIndex) const {
  return _GetField(nRecordIndex, &__CtSvcSimAnrRecord::international);
}

BOOL CCtSvcAnrFile::SetInternational(int nRecordIndex, UINT32 bInternational) {
  return _SetField(nRecordIndex, &__CtSvcSimAnrRecord::international, bInternational);
}

int CCtSvcAnrFile::GetAdnRecordIndex(int nRecordIndex) const {
  return _GetField(nRecordIndex, &__CtSvcSimAnrRecord::adnRecordIndex);
}

BOOL CCtSvcAnrFile::SetAdnLink(int nRecordIndex, UINT8 nAdnSfi, UINT8 nAdnRecordIndex) {
  return _SetField(nRecordIndex, &__CtSvcSimAnrRecord::adnSfi, nAdnSfi) &&
         _SetField(nRecordIndex, &__CtSvcSimAnrRecord::adnRecordIndex, nAdnRecordIndex);
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
  return _SaveOnRead(nRecordIndex, pData->used == 0 || pData->numberLen == 0,
                     "CCtSvcAnrFile::_SaveRecordOnRead - there is no phone number - Not Used(%d)\n",
                     [pData](__CtSvcSimAnrRecord& entry) {
                       entry.aasIndex = CtSvcSimNumberToLink(pData->aasRecordNum);
                       entry.adnSfi = pData->adnSfi;
                       entry.adnRecordIndex = static_cast<UINT8>(pData->adnRecordNum - 1);
                       entry.international = CtSvcSimDecodeNumber(pData->szNumber, static_cast<int>(sizeof(pData->szNumber)),
                                                                  pData->ton, entry.number, sizeof(entry.number));
                       entry.extRecordIndex = CtSvcSimNumberToLink(pData->extensionId);
                     });
}

BOOL CCtSvcAnrFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  SimAnrInfo data{};
  data.fileID = static_cast<UINT16>(GetTelephonyFileID());
  return _PrepareUpdate(nRecordIndex, bDelete, pReqData, data, [](const __CtSvcSimAnrRecord& entry, SimAnrInfo& info) {
    info.aasRecordNum = entry.aasIndex == CTSVC_SIM_LINK_NONE ? 0 : static_cast<UINT8>(entry.aasIndex + 1);
    CtSvcSimFillNumber(entry.number, entry.international, true, &info.ton, &info.numberLen, info.szNumber);
    info.npi = 1;
    info.capabilityId = 0xFF;
    info.extensionId = 0xFF;  // an additional number is written without an extension record
    info.adnSfi = entry.adnSfi;
    info.adnRecordNum = static_cast<UINT8>(entry.adnRecordIndex + 1);
  });
}
