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
  const __CtSvcSimExtRecord* pEntry = _Entry(nRecordIndex);
  return pEntry != nullptr ? static_cast<int>(pEntry->recordType) : 0xFF;
}

BOOL CCtSvcExtFile::GetExtensionData(int nRecordIndex, char* pszData, int nSize) const {
  const __CtSvcSimExtRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr || !ZEL_REQUIRE(pszData) || nSize < 1) {
    return FALSE;
  }
  CtSvcSimCopyText(pszData, static_cast<size_t>(nSize), pEntry->szData, sizeof(pEntry->szData));
  return TRUE;
}

int CCtSvcExtFile::GetNextRecord(int nRecordIndex) const {
  const __CtSvcSimExtRecord* pEntry = _Entry(nRecordIndex);
  return pEntry != nullptr ? pEntry->nextRecord : -1;
}

BOOL CCtSvcExtFile::SetRecordType(int nRecordIndex, UINT32 nType) {
  __CtSvcSimExtRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  pEntry->recordType = nType;
  return TRUE;
}

BOOL CCtSvcExtFile::SetExtensionData(int nRecordIndex, const char* pszData) {
  __CtSvcSimExtRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr || !ZEL_REQUIRE(pszData)) {
    return FALSE;
  }
  CtSvcSimCopyText(pEntry->szData, sizeof(pEntry->szData), pszData, sizeof(pEntry->szData) - 1);
  return TRUE;
}

BOOL CCtSvcExtFile::SetNextRecord(int nRecordIndex, UINT8 nNext) {
  __CtSvcSimExtRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  pEntry->nextRecord = nNext;
  return TRUE;
}

const char* CCtSvcExtFile::PeekAdditionalData(int nRecordIndex) const {
  const __CtSvcSimExtRecord* pEntry = _Peek(nRecordIndex);
  return pEntry != nullptr && pEntry->recordType == CTSVC_SIM_EXT_TYPE_ADDITIONAL_DATA ? pEntry->szData : nullptr;
}

BOOL CCtSvcExtFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  const auto* pData = static_cast<const SimExtInfo*>(pRecordData);
  if (pData->used == 0 || pData->extData[0] == '\0') {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcExtFile::_SaveRecordOnRead - there is no extension number - Not Used(%d)\n",
             nRecordIndex);
    return FALSE;
  }
  __CtSvcSimExtRecord* pEntry = _NewEntry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  pEntry->recordType = pData->recordType;
  CtSvcSimCopyText(pEntry->szData, sizeof(pEntry->szData), pData->extData, sizeof(pData->extData));
  pEntry->nextRecord = pData->nextRecord;
  return TRUE;
}

BOOL CCtSvcExtFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  if (!ZEL_REQUIRE(pReqData)) {
    return FALSE;
  }
  _PrepareUpdateHeader(nRecordIndex, pReqData);
  SimExtInfo data{};
  if (bDelete) {
    data.recordType = 0xFF;
    std::memset(data.extData, 0xFF, sizeof(data.extData));
    data.nextRecord = CTSVC_SIM_LINK_NONE;
  } else {
    const __CtSvcSimExtRecord* pEntry = _Entry(nRecordIndex);
    if (pEntry == nullptr) {
      return FALSE;
    }
    data.used = 1;
    data.recordType = pEntry->recordType;
    data.dataLen = static_cast<UINT8>(strnlen(pEntry->szData, sizeof(pEntry->szData) - 1));
    std::memcpy(data.extData, pEntry->szData, data.dataLen);
    data.nextRecord = pEntry->nextRecord;
  }
  std::memcpy(pReqData->data, &data, sizeof(data));
  return TRUE;
}

const char* CtSvcSimExtensionDigits(const CCtSvcExtFile* pExtFile, UINT8 nExtRecordIndex) {
  if (pExtFile == nullptr || nExtRecordIndex == CTSVC_SIM_LINK_NONE) {
    return nullptr;
  }
  return pExtFile->PeekAdditionalData(nExtRecordIndex);
}
