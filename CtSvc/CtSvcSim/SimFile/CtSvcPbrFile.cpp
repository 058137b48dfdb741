#include "CtSvcSim/SimFile/CtSvcPbrFile.h"

namespace {

struct TagType {
  UINT32 nTag;
  int nEntryType;
  int nSimFileID;
};

constexpr TagType kTagTypes[] = {
    {0xC0, CTSVC_SIM_ENTRY_ADN, CTSVC_SIM_ADN},   {0xC1, CTSVC_SIM_ENTRY_IAP, CTSVC_SIM_IAP},
    {0xC5, CTSVC_SIM_ENTRY_PBC, CTSVC_SIM_PBC},   {0xC6, CTSVC_SIM_ENTRY_GRP, CTSVC_SIM_GRP},
    {0xC9, CTSVC_SIM_ENTRY_UID, CTSVC_SIM_UID},   {0xC4, CTSVC_SIM_ENTRY_ANR, CTSVC_SIM_ANR},
    {0xC3, CTSVC_SIM_ENTRY_SNE, CTSVC_SIM_SNE},   {0xCA, CTSVC_SIM_ENTRY_EMAIL, CTSVC_SIM_EMAIL},
    {0xC2, CTSVC_SIM_ENTRY_EXT1, CTSVC_SIM_EXT1}, {0xC7, CTSVC_SIM_ENTRY_AAS, CTSVC_SIM_AAS},
    {0xC8, CTSVC_SIM_ENTRY_GAS, CTSVC_SIM_GAS},   {0xCB, CTSVC_SIM_ENTRY_CCP1, CTSVC_SIM_CCP1},
};

}  // namespace

int CtSvcSimEntryTypeOfTag(UINT32 nTag) {
  for (const TagType& tag : kTagTypes) {
    if (tag.nTag == nTag) {
      return tag.nEntryType;
    }
  }
  DbgPrint(DBG_CLASS_FAIL, "CtSimEventCallback: eCtEntryType=%d\n", CTSVC_SIM_ENTRY_UNKNOWN);
  ZEL_NEVER_GET_HERE("eCtEntryType");
  return CTSVC_SIM_ENTRY_UNKNOWN;
}

int CtSvcSimFileIDOfEntryType(int nEntryType) {
  for (const TagType& tag : kTagTypes) {
    if (tag.nEntryType == nEntryType) {
      return tag.nSimFileID;
    }
  }
  return CTSVC_SIM_FILE_ID_INVALID;
}

CCtSvcPbrFile::CCtSvcPbrFile() : CCtSvcSimEntryFile(CTSVC_SIM_PBR, 0, "CCtSvcPbrFile", "m_vcpPbrRecord") {
  _SetTelephonyFileID(CtSvcSimUsimFileID(CTSVC_SIM_PBR, 0));
}

const std::vector<CtSvcSimPbrEntry>* CCtSvcPbrFile::_Entries(int nRecordIndex) const {
  const __CtSvcSimPbrRecord* pRecord = _Peek(nRecordIndex);
  return pRecord != nullptr ? &pRecord->vcEntry : nullptr;
}

int CCtSvcPbrFile::GetTotalEntryCount(int nRecordIndex) const {
  const std::vector<CtSvcSimPbrEntry>* pEntries = _Entries(nRecordIndex);
  return pEntries != nullptr ? static_cast<int>(pEntries->size()) : -1;
}

int CCtSvcPbrFile::GetEntryCount(int nRecordIndex, int entryType) const {
  if (!ZEL_REQUIRE(entryType >= CTSVC_SIM_ENTRY_UNKNOWN && entryType < CTSVC_SIM_ENTRY_MAX)) {
    return -1;
  }
  const std::vector<CtSvcSimPbrEntry>* pEntries = _Entries(nRecordIndex);
  if (pEntries == nullptr) {
    return -1;
  }
  int nCount = 0;
  for (const CtSvcSimPbrEntry& entry : *pEntries) {
    nCount += entry.entryType == entryType ? 1 : 0;
  }
  return nCount;
}

BOOL CCtSvcPbrFile::IsSupportedEntry(int nRecordIndex, int entryType) const {
  return GetEntryCount(nRecordIndex, entryType) > 0;
}

const CtSvcSimPbrEntry* CCtSvcPbrFile::GetEntryInfo(int nRecordIndex, int entryIndex) const {
  const std::vector<CtSvcSimPbrEntry>* pEntries = _Entries(nRecordIndex);
  if (!ZEL_REQUIRE(entryIndex >= 0 && entryIndex < GetTotalEntryCount(nRecordIndex)) || pEntries == nullptr) {
    return nullptr;
  }
  return &(*pEntries)[entryIndex];
}

BOOL CCtSvcPbrFile::IsEntryLinkByIndex(int nRecordIndex, int entryType, int n) const {
  if (!ZEL_REQUIRE(entryType > CTSVC_SIM_ENTRY_UNKNOWN && entryType < CTSVC_SIM_ENTRY_MAX)) {
    return FALSE;
  }
  const std::vector<CtSvcSimPbrEntry>* pEntries = _Entries(nRecordIndex);
  if (pEntries == nullptr) {
    return FALSE;
  }
  int nSeen = 0;
  for (const CtSvcSimPbrEntry& entry : *pEntries) {
    if (entry.entryType == entryType && nSeen++ == n) {
      return entry.constructedTag == CTSVC_SIM_PBR_TYPE2;
    }
  }
  return FALSE;
}

const CtSvcSimPbrEntry* CCtSvcPbrFile::FindEntry(int nRecordIndex, int entryType) const {
  const std::vector<CtSvcSimPbrEntry>* pEntries = _Entries(nRecordIndex);
  if (pEntries != nullptr) {
    for (const CtSvcSimPbrEntry& entry : *pEntries) {
      if (entry.entryType == entryType) {
        return &entry;
      }
    }
  }
  return nullptr;
}

BOOL CCtSvcPbrFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  if (!ZEL_REQUIRE(nRecordIndex < GetFileInfo().recordCnt)) {
    return FALSE;
  }
  const auto* pData = static_cast<const SimPbrInfo*>(pRecordData);
  if (pData->used == 0) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcAdnFile::_SaveRecordOnRead - Not Used(%d)\n", nRecordIndex);
    return FALSE;
  }
  __CtSvcSimPbrRecord* pRecord = _NewEntry(nRecordIndex);
  if (pRecord == nullptr) {
    return FALSE;
  }
  const int nCount = pData->entryCount < SIM_PBR_ENTRY_MAX ? pData->entryCount : SIM_PBR_ENTRY_MAX;
  for (int i = 0; i < nCount; ++i) {
    const SimPbrEntryInfo& info = pData->entries[i];
    pRecord->vcEntry.push_back(CtSvcSimPbrEntry{info.fileID, info.sfi, CtSvcSimEntryTypeOfTag(info.fileTag),
                                                static_cast<int>(info.constructedTag), 1});
  }
  return TRUE;
}

BOOL CCtSvcPbrFile::_PrepareUpdateFileReqData(int, BOOL, SimUpdateFileReq*) {
  DbgPrint(DBG_CLASS_FAIL, "CCtSvcPbrFile::_PrepareUpdateFileReqData - the PBR is not written\n");
  return FALSE;
}
