#include "CtSvcSim/SimFile/CtSvcExtFile.h"

#include <cstring>

#include "CtSvcSim/SimFile/CtSvcSimCodec.h"
#include "CtSvcSim/SimFile/CtSvcSimFileIds.h"


void __CtSvcSimExtRecord::Image(UINT8* pImage) const {
  std::memcpy(pImage, &recordType, 4);  // little-endian host
  std::memcpy(pImage + 4, szData, sizeof(szData));
  pImage[26] = nextRecord;
  pImage[27] = 0;
}

CCtSvcExtFile::CCtSvcExtFile(int nSimFileID, int nPbrIndex, const char* pszClassName)
    : CCtSvcSimEntryFile(nSimFileID, nPbrIndex, pszClassName, "m_vcpExtRecord") {
  _SetTelephonyFileID(CtSvcSimChooseTelephonyFileID(nSimFileID, nPbrIndex));
}

CCtSvcExt1File::CCtSvcExt1File(int nPbrIndex) : CCtSvcExtFile(CTSVC_SIM_EXT1, nPbrIndex, "CCtSvcExt1File") {}
CCtSvcExt2File::CCtSvcExt2File() : CCtSvcExtFile(CTSVC_SIM_EXT2, 0, "CCtSvcExt2File") {}
CCtSvcExt3File::CCtSvcExt3File() : CCtSvcExtFile(CTSVC_SIM_EXT3, 0, "CCtSvcExt3File") {}
CCtSvcExt5File::CCtSvcExt5File() : CCtSvcExtFile(CTSVC_SIM_EXT5, 0, "CCtSvcExt5File") {}

int CCtSvcExtFile::GetRecordType(int nRecordIndex) const {
  return _GetField(nRecordIndex, &__CtSvcSimExtRecord::recordType, 0xFF);
}

BOOL CCtSvcExtFile::GetExtensionData(int nRecordIndex, char* pszData, int nSize) const {
  return _GetText(nRecordIndex, &__CtSvcSimExtRecord::szData, pszData, nSize);
}

int CCtSvcExtFile::GetNextRecord(int nRecordIndex) const { return _GetField(nRecordIndex, &__CtSvcSimExtRecord::nextRecord); }

BOOL CCtSvcExtFile::SetRecordType(int nRecordIndex, UINT32 nType) {
  return _SetField(nRecordIndex, &__CtSvcSimExtRecord::recordType, nType);
}

BOOL CCtSvcExtFile::SetExtensionData(int nRecordIndex, const char* pszData) {
  return _SetText(nRecordIndex, &__CtSvcSimExtRecord::szData, pszData);
}

BOOL CCtSvcExtFile::SetNextRecord(int nRecordIndex, UINT8 nNext) {
  return _SetField(nRecordIndex, &__CtSvcSimExtRecord::nextRecord, nNext);
}

const char* CCtSvcExtFile::PeekAdditionalData(int nRecordIndex) const {
  const __CtSvcSimExtRecord* pEntry = _Peek(nRecordIndex);
  return pEntry != nullptr && pEntry->recordType == CTSVC_SIM_EXT_TYPE_ADDITIONAL_DATA ? pEntry->szData : nullptr;
}

BOOL CCtSvcExtFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  const auto* pData = static_cast<const SimExtInfo*>(pRecordData);
  return _SaveOnRead(nRecordIndex, pData->used == 0 || pData->extData[0] == '\0',
                     "CCtSvcExtFile::_SaveRecordOnRead - there is no extension number - Not Used(%d)\n",
                     [pData](__CtSvcSimExtRecord& entry) {
                       entry.recordType = pData->recordType;
                       CtSvcSimCopyText(entry.szData, sizeof(entry.szData), pData->extData, sizeof(pData->extData));
                       entry.nextRecord = pData->nextRecord;
                     });
}

BOOL CCtSvcExtFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  SimExtInfo erased{};
  erased.recordType = 0xFF;
  std::memset(erased.extData, 0xFF, sizeof(erased.extData));
  erased.nextRecord = CTSVC_SIM_LINK_NONE;
  return _PrepareUpdate(nRecordIndex, bDelete, pReqData, erased, [](const __CtSvcSimExtRecord& entry, SimExtInfo& data) {
    data.recordType = entry.recordType;
    data.dataLen = static_cast<UINT8>(strnlen(entry.szData, sizeof(entry.szData) - 1));
    std::memset(data.extData, 0, sizeof(data.extData));
    std::memcpy(data.extData, entry.szData, data.dataLen);
    data.nextRecord = entry.nextRecord;
  });
}

const char* CtSvcSimExtensionDigits(const CCtSvcExtFile* pExtFile, UINT8 nExtRecordIndex) {
  if (pExtFile == nullptr || nExtRecordIndex == CTSVC_SIM_LINK_NONE) {
    return nullptr;
  }
  return pExtFile->PeekAdditionalData(nExtRecordIndex);
}
