// The SIM manager's questions about the loaded files: record counts, used and free slots, PBR
// entries, file information, lengths a record can hold and how many values a contact can take.
#include <algorithm>

#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "ZelDebug.h"
#include "ZelPhs.h"

#define PSV_BT_REMOTE_SIM_CONNECTED 0x0F
#define PSV_SIM_MODE_NOSIM 0x3A

namespace {

constexpr int kStringLengthMax = 120;
constexpr int kNumberLength = 20;
constexpr int kNumberLengthWithExt = 40;
constexpr int kGroupsPerContact = 10;

bool IsValidID(int nSimFileID) {
  return ZEL_REQUIRE_TEXT(nSimFileID > CTSVC_SIM_FILE_ID_INVALID && nSimFileID < CTSVC_SIM_FILE_ID_MAX,
                          "simFileID > CTSVC_SIM_FILE_ID_INVALID && simFileID < CTSVC_SIM_FILE_ID_MAX");
}

int UsedCount(const CCtSvcSimFile& file) {
  int nUsed = 0;
  for (int i = 0; i < file.GetMaxRecordCount(); ++i) {
    nUsed += file.IsUsed(i) ? 1 : 0;
  }
  return nUsed;
}

// How many values of a kind a contact may have at most.
int AllowedEntries(int nSimFileID) {
  switch (nSimFileID) {
    case CTSVC_SIM_SNE:
      return 1;
    case CTSVC_SIM_ANR:
      return 4;
    case CTSVC_SIM_EMAIL:
      return 2;
    default:
      return 0;
  }
}

int EntryTypeOf(int nSimFileID) {
  switch (nSimFileID) {
    case CTSVC_SIM_SNE:
      return CTSVC_SIM_ENTRY_SNE;
    case CTSVC_SIM_ANR:
      return CTSVC_SIM_ENTRY_ANR;
    case CTSVC_SIM_EMAIL:
      return CTSVC_SIM_ENTRY_EMAIL;
    case CTSVC_SIM_GRP:
      return CTSVC_SIM_ENTRY_GRP;
    default:
      return CTSVC_SIM_ENTRY_UNKNOWN;
  }
}

}  // namespace

CCtSvcSimFile* CCtSvcSimMgr::_File(int nSimFileID, int nPbrIndex, int nSubIndex) const {
  if (!ZEL_REQUIRE_TEXT(m_pContainer != nullptr, "GetFileContainer()")) {
    return nullptr;
  }
  return m_pContainer->GetSimFile(nSimFileID, nPbrIndex, nSubIndex);
}

BOOL CCtSvcSimMgr::GetAdnRecord(int nRecordIndex, CCtSvcSimAdnRecord* pRecord) const {
  return ZEL_REQUIRE_TEXT(m_pContainer != nullptr, "GetFileContainer()") && m_pContainer->GetAdnRecord(nRecordIndex, pRecord);
}

BOOL CCtSvcSimMgr::GetXdnRecord(int nType, int nRecordIndex, CCtSvcSimXdnRecord* pRecord) const {
  static const int kFileID[] = {CTSVC_SIM_FILE_ID_INVALID, CTSVC_SIM_FDN, CTSVC_SIM_SDN, CTSVC_SIM_MSISDN};
  if (nType < 1 || nType > 3) {
    ZEL_NEVER_GET_HERE("CCtSvcSimMgr::GetXdnRecord - unknown type");
    return FALSE;
  }
  return ZEL_REQUIRE_TEXT(m_pContainer != nullptr, "GetFileContainer()") &&
         m_pContainer->GetXdnRecord(kFileID[nType], nRecordIndex, pRecord);
}

BOOL CCtSvcSimMgr::GetXasRecord(int nType, int nRecordIndex, CCtSvcSimXasRecord* pRecord) const {
  if (nType != CTSVC_SIM_GAS && nType != CTSVC_SIM_AAS) {
    ZEL_NEVER_GET_HERE("CCtSvcSimMgr::GetXasRecord - unknown type");
    return FALSE;
  }
  return ZEL_REQUIRE_TEXT(m_pContainer != nullptr, "GetFileContainer()") &&
         m_pContainer->GetXasRecord(nType, nRecordIndex, pRecord);
}

int CCtSvcSimMgr::GetMaxRecordCount(int nSimFileID, int nPbrIndex, int nSubIndex) const {
  if (!IsValidID(nSimFileID)) {
    return -1;
  }
  const CCtSvcSimFile* pFile = _File(nSimFileID, nPbrIndex, nSubIndex);
  return pFile != nullptr ? pFile->GetMaxRecordCount() : -1;
}

int CCtSvcSimMgr::GetUsedRecordCount(int nSimFileID, int nPbrIndex, int nSubIndex) const {
  if (!IsValidID(nSimFileID)) {
    return 0;
  }
  const CCtSvcSimFile* pFile = _File(nSimFileID, nPbrIndex, nSubIndex);
  return pFile != nullptr ? UsedCount(*pFile) : -1;
}

// Sums a count over the PBR records for the ADN group of a USIM; otherwise the single file's.
template <class TCount>
static int TotalOf(const CCtSvcSimFileContainer* pContainer, int nSimFileID, TCount count) {
  if (nSimFileID != CTSVC_SIM_ADN || pContainer == nullptr || pContainer->IsSingleAdnFile()) {
    return count(0);
  }
  int nTotal = 0;
  for (size_t p = 0; p < pContainer->GetAdnContainer().size(); ++p) {
    nTotal += std::max(0, count(static_cast<int>(p)));
  }
  return nTotal;
}

int CCtSvcSimMgr::GetTotalMaxRecordCount(int nSimFileID) const {
  return TotalOf(m_pContainer.get(), nSimFileID, [&](int p) { return GetMaxRecordCount(nSimFileID, p); });
}

int CCtSvcSimMgr::GetTotalUsedRecordCount(int nSimFileID) const {
  return TotalOf(m_pContainer.get(), nSimFileID, [&](int p) { return GetUsedRecordCount(nSimFileID, p); });
}

int CCtSvcSimMgr::__GetPbrIndexByRecordIndex(int nRecordIndex) const {
  int nPbrIndex = -1;
  int nFileRecordIndex = -1;
  return m_pContainer != nullptr && m_pContainer->MapAdnIndex(nRecordIndex, &nPbrIndex, &nFileRecordIndex) ? nPbrIndex
                                                                                                          : -1;
}

int CCtSvcSimMgr::IsUsedRecord(int nSimFileID, int nRecordIndex) const {
  if (!IsValidID(nSimFileID) || !ZEL_REQUIRE_TEXT(m_pContainer != nullptr, "GetFileContainer()")) {
    return -1;
  }
  if (nSimFileID == CTSVC_SIM_ADN) {
    int nPbrIndex = -1;
    int nFileRecordIndex = -1;
    if (!m_pContainer->MapAdnIndex(nRecordIndex, &nPbrIndex, &nFileRecordIndex)) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimMgr::IsUsedRecord -nPbrIndex(%d) or nFileRecordIndex(%d) is invalid \n",
               nPbrIndex, nFileRecordIndex);
      return -1;
    }
    return _File(CTSVC_SIM_ADN, nPbrIndex)->IsUsed(nFileRecordIndex);
  }
  if (nSimFileID > CTSVC_SIM_PBR) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimMgr::IsUsedRecord -simFileID(%d) is not supported\n", nSimFileID);
    return -1;
  }
  const CCtSvcSimFile* pFile = _File(nSimFileID);
  return pFile != nullptr ? pFile->IsUsed(nRecordIndex) : -1;
}

int CCtSvcSimMgr::GetUnusedRecordIndex(int nSimFileID) const {
  if (!IsValidID(nSimFileID) || !ZEL_REQUIRE_TEXT(m_pContainer != nullptr, "GetFileContainer()")) {
    return -1;
  }
  if (nSimFileID == CTSVC_SIM_ADN) {
    if (m_pContainer->IsSingleAdnFile()) {
      const CCtSvcSimFile* pAdn = _File(CTSVC_SIM_ADN, 0);
      return pAdn != nullptr ? pAdn->GetUnusedRecordIndex() : -1;
    }
    int nOffset = 0;
    for (const CtSvcSimPbrFileSet& set : m_pContainer->GetAdnContainer()) {
      if (set.pAdnFile == nullptr) {
        break;  // global indexes end at the first record without an ADN file
      }
      const int nFree = set.pAdnFile->GetUnusedRecordIndex();
      if (nFree >= 0) {
        return nOffset + nFree;
      }
      nOffset += set.pAdnFile->GetMaxRecordCount();
    }
    return -1;
  }
  if (nSimFileID > CTSVC_SIM_AAS) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimMgr::GetUnusedRecordIndex -simFileID(%d) is not supported\n", nSimFileID);
    return -1;
  }
  const CCtSvcSimFile* pFile = _File(nSimFileID);
  return pFile != nullptr ? pFile->GetUnusedRecordIndex() : -1;
}

int CCtSvcSimMgr::GetPbrEntryCount(int nPbrIndex, int entryType) const {
  if (!ZEL_REQUIRE_TEXT(entryType > CTSVC_SIM_ENTRY_UNKNOWN && entryType < CTSVC_SIM_ENTRY_MAX,
                        "entryType > CTSVC_SIM_ENTRY_UNKNOWN && entryType < CTSVC_SIM_ENTRY_MAX")) {
    return -1;
  }
  const auto* pPbr = static_cast<const CCtSvcPbrFile*>(_File(CTSVC_SIM_PBR));
  return pPbr != nullptr ? pPbr->GetEntryCount(nPbrIndex, entryType) : -1;
}

BOOL CCtSvcSimMgr::IsPbrEntryLinkByIndex(int nPbrIndex, int entryType, int n) const {
  if (!ZEL_REQUIRE_TEXT(entryType > CTSVC_SIM_ENTRY_UNKNOWN && entryType < CTSVC_SIM_ENTRY_MAX,
                        "entryType > CTSVC_SIM_ENTRY_UNKNOWN && entryType < CTSVC_SIM_ENTRY_MAX")) {
    return FALSE;
  }
  const auto* pPbr = static_cast<const CCtSvcPbrFile*>(_File(CTSVC_SIM_PBR));
  return pPbr != nullptr ? pPbr->IsEntryLinkByIndex(nPbrIndex, entryType, n) : FALSE;
}

BOOL CCtSvcSimMgr::GetFileInfo(int nSimFileID, int nPbrIndex, int nSubIndex, CtSvcSimFileInfo* pFileInfo) const {
  if (!ZEL_REQUIRE(pFileInfo) || !IsValidID(nSimFileID)) {
    return FALSE;
  }
  const CCtSvcSimFile* pFile = m_pContainer != nullptr ? m_pContainer->GetSimFile(nSimFileID, nPbrIndex, nSubIndex) : nullptr;
  if (pFile == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimMgr::GetFileInfo -GetSimFile(void) is FAILED\n");
    return FALSE;
  }
  *pFileInfo = pFile->GetFileInfo();
  return TRUE;
}

int CCtSvcSimMgr::IsUsedFile(int nSimFileID, int nPbrIndex, int nSubIndex) const {
  CtSvcSimFileInfo info{};
  return GetFileInfo(nSimFileID, nPbrIndex, nSubIndex, &info) ? info.valid : 0;
}

int CCtSvcSimMgr::GetRecordLength(int nSimFileID) const {
  CtSvcSimFileInfo info{};
  return GetFileInfo(nSimFileID, 0, 0, &info) ? info.recordLen : -1;
}

BOOL CCtSvcSimMgr::IsAvailableFile(int nSimFileID) const {
  if (PhsGetStatus(PSV_BT_REMOTE_SIM_CONNECTED) == 1 || PhsGetStatus(PSV_SIM_MODE_NOSIM) == 1) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimMgr::IsAvailableFile -PSV_BT_REMOTE_SIM_CONNECTED or PSV_SIM_MODE_NOSIM!\n");
    return FALSE;
  }
  CtSvcSimFileInfo info{};
  switch (nSimFileID) {
    case CTSVC_SIM_GAS:
    case CTSVC_SIM_GRP:
      if (GetCardType() == CTSVC_SIM_CARD_TYPE_GSM) {
        return FALSE;
      }
      return GetFileInfo(nSimFileID, 0, 0, &info) && info.availability ? TRUE : FALSE;
    case CTSVC_SIM_FDN:
      if (SimGetFdnEnable()) {
        return TRUE;
      }
      return GetFileInfo(nSimFileID, 0, 0, &info) && info.availability ? TRUE : FALSE;
    case CTSVC_SIM_ADN:
    case CTSVC_SIM_SDN:
    case CTSVC_SIM_MSISDN:
    case CTSVC_SIM_SNE:
    case CTSVC_SIM_ANR:
    case CTSVC_SIM_EMAIL:
      return GetFileInfo(nSimFileID, 0, 0, &info) && info.availability ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

int CCtSvcSimMgr::GetRecordStringLength(int nSimFileID) const {
  const int nLength = GetRecordLength(nSimFileID);
  switch (nSimFileID) {
    case CTSVC_SIM_ADN:
    case CTSVC_SIM_FDN:
    case CTSVC_SIM_SDN:
    case CTSVC_SIM_MSISDN:
      return nLength < 0 ? -1 : std::min(nLength - CTSVC_SIM_DIAL_FOOTER, kStringLengthMax);
    case CTSVC_SIM_GAS:
    case CTSVC_SIM_AAS:
      return nLength;
    case CTSVC_SIM_SNE:
    case CTSVC_SIM_EMAIL:
      // A file reached through IAP keeps the ADN link in its last two bytes.
      if (nLength >= 0 && IsPbrEntryLinkByIndex(0, EntryTypeOf(nSimFileID), 0)) {
        return nLength - 2;
      }
      return nLength;
    default:
      return -1;
  }
}

int CCtSvcSimMgr::_ExtFileIDOf(int nSimFileID) const {
  switch (nSimFileID) {
    case CTSVC_SIM_ADN:
      return CTSVC_SIM_EXT1;
    case CTSVC_SIM_FDN:
      return CTSVC_SIM_EXT2;
    case CTSVC_SIM_SDN:
      return CTSVC_SIM_EXT3;
    case CTSVC_SIM_MSISDN:
      return GetCardType() == CTSVC_SIM_CARD_TYPE_USIM ? CTSVC_SIM_EXT5 : CTSVC_SIM_EXT1;
    default:
      return CTSVC_SIM_FILE_ID_INVALID;
  }
}

int CCtSvcSimMgr::GetRecordPhoneNumberLength(int nSimFileID) const {
  const int nExtID = _ExtFileIDOf(nSimFileID);
  const CCtSvcSimFile* pExt =
      nExtID != CTSVC_SIM_FILE_ID_INVALID && m_pContainer != nullptr ? m_pContainer->GetSimFile(nExtID) : nullptr;
  return pExt != nullptr && pExt->GetUnusedRecordIndex() >= 0 ? kNumberLengthWithExt : kNumberLength;
}

int CCtSvcSimMgr::_FieldEntryCount(int nSimFileID, int nSlot, int* pnPbrIndex) const {
  const int nEntryType = EntryTypeOf(nSimFileID);
  *pnPbrIndex = __GetPbrIndexByRecordIndex(nSlot == -1 ? GetUnusedRecordIndex(CTSVC_SIM_ADN) : nSlot);
  if (nEntryType == CTSVC_SIM_ENTRY_UNKNOWN || *pnPbrIndex < 0 || m_pContainer->IsSingleAdnFile()) {
    return -1;
  }
  return GetPbrEntryCount(*pnPbrIndex, nEntryType);
}

int CCtSvcSimMgr::GetAvailCountRecordField(int nSimFileID, int nSlot) const {
  if (nSimFileID == CTSVC_SIM_GRP) {
    return GetCardType() == CTSVC_SIM_CARD_TYPE_USIM ? kGroupsPerContact : 0;
  }
  if (m_pContainer == nullptr) {
    return 0;
  }
  int nPbrIndex = -1;
  const int nEntryCnt = _FieldEntryCount(nSimFileID, nSlot, &nPbrIndex);
  const int nEntryType = EntryTypeOf(nSimFileID);
  if (nEntryCnt < 0 || nEntryCnt > AllowedEntries(nSimFileID)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimMgr::GetAvailCountRecordField - simFileID is %d nEntryCnt is %d\n", nSimFileID,
             nEntryCnt);
    return 0;
  }
  int nAvail = 0;
  for (int n = 0; n < nEntryCnt; ++n) {
    if (!IsPbrEntryLinkByIndex(nPbrIndex, nEntryType, n)) {
      ++nAvail;  // one record per contact: always there
      continue;
    }
    const CCtSvcSimFile* pFile = m_pContainer->GetSimFile(nSimFileID, nPbrIndex, n);
    nAvail += pFile != nullptr && pFile->GetUnusedRecordIndex() >= 0 ? 1 : 0;
  }
  return nAvail;
}

int CCtSvcSimMgr::GetMaxCountRecordField(int nSimFileID, int nSlot) const {
  if (m_pContainer == nullptr) {
    return 0;
  }
  int nPbrIndex = -1;
  const int nEntryCnt = _FieldEntryCount(nSimFileID, nSlot, &nPbrIndex);
  for (int n = 0; n < nEntryCnt; ++n) {
    const CCtSvcSimFile* pFile = m_pContainer->GetSimFile(nSimFileID, nPbrIndex, n);
    if (pFile != nullptr && pFile->GetUnusedRecordIndex() >= 0) {
      return nEntryCnt;
    }
  }
  return 0;
}

BOOL CCtSvcSimMgr::GetSHA1Value(int nSimFileID, int nPbrIndex, int nSubIndex, std::string* pstrValue) const {
  CCtSvcSimFile* pFile = m_pContainer != nullptr && IsValidID(nSimFileID)
                             ? m_pContainer->GetSimFile(nSimFileID, nPbrIndex, nSubIndex)
                             : nullptr;
  if (pFile == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimMgr::GetSHA1Value - pFile is NULL\n");
    return FALSE;
  }
  return pFile->GetSHA1Value(pstrValue);
}

BOOL CCtSvcSimMgr::RelaodSimFileInfo(int nSimFileID) {
  CCtSvcSimFile* pFile =
      m_pContainer != nullptr && IsValidID(nSimFileID) ? m_pContainer->GetSimFile(nSimFileID) : nullptr;
  if (pFile == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFileContainer::RelaodSimFileInfo pSimFile is NULL !!! simFileID is %d \n",
             nSimFileID);
    return FALSE;
  }
  return pFile->LoadFileInfo(nullptr);
}

BOOL CCtSvcSimMgr::ValidCheckExtFile(int nSimFileID) {
  return ZEL_REQUIRE_TEXT(m_pContainer != nullptr, "GetFileContainer()") && m_pContainer->ValidCheckExtFile(nSimFileID);
}
