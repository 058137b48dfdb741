#include "CtSvcSim/SimFile/CtSvcUsimPhonebook.h"

namespace {

constexpr int kNumberSize = 42;

// The record index a PBR entry of the contact points at in its file: record i for a type-1 file,
// the IAP byte for a type-2 file; 0xFF when nothing is linked.
int LinkedIndex(const CtSvcSimPbrEntry& entry, const CtSvcSimPbrFileSet& files, int nRecordIndex, int* pnA9Counter) {
  if (entry.constructedTag != CTSVC_SIM_PBR_TYPE2) {
    return nRecordIndex;
  }
  const int nLink = files.pIapFile != nullptr ? files.pIapFile->GetIndex(nRecordIndex, (*pnA9Counter)++) : -1;
  if (nLink < 0 || nLink == CTSVC_SIM_LINK_NONE) {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcSimLinkContact - the record(%d) is not in IAP file\n", nRecordIndex);
    return CTSVC_SIM_LINK_NONE;
  }
  return nLink;
}

bool IsInFile(const CCtSvcSimFile* pFile, int nIndex) {
  if (pFile == nullptr) {
    return false;
  }
  if (nIndex >= pFile->GetMaxRecordCount()) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcSimLinkContact - index(%d) is larger than GetMaxRecordCount\n", nIndex);
    return false;
  }
  return pFile->IsUsed(nIndex) != FALSE;
}

void AttachAnr(const CCtSvcAnrFile* pFile, const CCtSvcExtFile* pExt1File, int nIndex, CCtSvcSimAdnRecord* pRecord) {
  if (!IsInFile(pFile, nIndex)) {
    return;
  }
  char szNumber[kNumberSize] = {};
  pFile->GetPresentedNumber(nIndex, pExt1File, szNumber, sizeof(szNumber));
  if (szNumber[0] != '\0') {
    pRecord->AddAdditionalPhoneNumber(static_cast<UINT8>(pFile->GetAasIndex(nIndex)), szNumber);
  }
}

void AttachText(const CCtSvcSimTextFile* pFile, int nIndex, bool bEmail, CCtSvcSimAdnRecord* pRecord) {
  if (!IsInFile(pFile, nIndex)) {
    return;
  }
  const char* pszText = pFile->PeekText(nIndex);
  if (bEmail) {
    if (pszText[0] != '\0') {
      pRecord->AddEmailAddress(pszText);
    }
  } else {
    pRecord->SetSecondName(pszText);
  }
}

void AttachGroups(const CCtSvcGrpFile* pFile, int nIndex, CCtSvcSimAdnRecord* pRecord) {
  if (!IsInFile(pFile, nIndex)) {
    return;
  }
  const int nLen = pFile->GetRecordLength();
  for (int i = 0; i < nLen && i < CTSVC_SIM_GROUP_COUNT_MAX; ++i) {
    const int nGroup = pFile->GetGASIndex(nIndex, i);
    if (nGroup >= 0 && nGroup != CTSVC_SIM_LINK_NONE) {
      pRecord->AddGroupIndex(static_cast<UINT8>(nGroup));
    }
  }
}

// The n-th file of a kind, counting as the PBR record lists them.
template <class TFile>
TFile* NthFile(const std::vector<TFile*>& vcpFile, int* pnCounter) {
  const size_t n = static_cast<size_t>((*pnCounter)++);
  return n < vcpFile.size() ? vcpFile[n] : nullptr;
}

}  // namespace

BOOL CtSvcSimGlobalToPbrIndex(const std::vector<CtSvcSimPbrFileSet>& vcSet, int nGlobalIndex, int* pnPbrIndex,
                              int* pnRecordIndex) {
  if (!ZEL_REQUIRE(pnPbrIndex && pnRecordIndex) || nGlobalIndex < 0) {
    return FALSE;
  }
  int nRemaining = nGlobalIndex + 1;
  for (size_t p = 0; p < vcSet.size(); ++p) {
    if (vcSet[p].pAdnFile == nullptr) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcSimGlobalToPbrIndex - m_vcADNContainer[%d].pAdnFile is NULL \n", static_cast<int>(p));
      return FALSE;
    }
    const int nCount = vcSet[p].pAdnFile->GetMaxRecordCount();
    if (nRemaining <= nCount) {
      *pnPbrIndex = static_cast<int>(p);
      *pnRecordIndex = nRemaining - 1;
      return TRUE;
    }
    nRemaining -= nCount;
  }
  return FALSE;
}

int CtSvcSimGetGlobalMax(const std::vector<CtSvcSimPbrFileSet>& vcSet) {
  int nMax = 0;
  for (const CtSvcSimPbrFileSet& set : vcSet) {
    nMax += set.pAdnFile != nullptr ? set.pAdnFile->GetMaxRecordCount() : 0;
  }
  return nMax;
}

BOOL CtSvcSimLinkContact(const CCtSvcPbrFile& pbrFile, int nPbrIndex, const CtSvcSimPbrFileSet& files, int nRecordIndex,
                         int nGlobalIndex, CCtSvcSimAdnRecord* pRecord) {
  if (!ZEL_REQUIRE(pRecord) || !ZEL_REQUIRE(files.pAdnFile)) {
    return FALSE;
  }
  if (pbrFile.IsSupportedEntry(nPbrIndex, CTSVC_SIM_ENTRY_IAP) &&
      (files.pIapFile == nullptr || files.pIapFile->IsLoading() || files.pIapFile->GetMaxRecordCount() == 0)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcSimLinkContact - IAP File was not loaded\n");
    return FALSE;
  }
  if (!files.pAdnFile->IsUsed(nRecordIndex)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcSimLinkContact - pAdnFile(%d) Record is not used\n", nRecordIndex);
    return FALSE;
  }
  pRecord->Clear();
  pRecord->SetRecordIndex(nGlobalIndex);
  char szText[CTSVC_SIM_DIAL_NAME_SIZE] = {};
  files.pAdnFile->GetName(nRecordIndex, szText, sizeof(szText));
  pRecord->SetName(szText);
  files.pAdnFile->GetPresentedNumber(nRecordIndex, files.pExt1File, szText, sizeof(szText));
  pRecord->SetPhoneNumber(szText);

  int nAnrCounter = 0;
  int nEmailCounter = 0;
  int nA9Counter = 0;
  const int nEntries = pbrFile.GetTotalEntryCount(nPbrIndex);
  for (int e = 0; e < nEntries; ++e) {
    const CtSvcSimPbrEntry& entry = *pbrFile.GetEntryInfo(nPbrIndex, e);
    switch (entry.entryType) {
      case CTSVC_SIM_ENTRY_ANR: {
        const CCtSvcAnrFile* pFile = NthFile(files.vcpAnrFile, &nAnrCounter);
        const int nIndex = LinkedIndex(entry, files, nRecordIndex, &nA9Counter);
        if (nIndex != CTSVC_SIM_LINK_NONE) {
          AttachAnr(pFile, files.pExt1File, nIndex, pRecord);
        }
        break;
      }
      case CTSVC_SIM_ENTRY_EMAIL: {
        const CCtSvcEmailFile* pFile = NthFile(files.vcpEmailFile, &nEmailCounter);
        const int nIndex = LinkedIndex(entry, files, nRecordIndex, &nA9Counter);
        if (nIndex != CTSVC_SIM_LINK_NONE) {
          AttachText(pFile, nIndex, true, pRecord);
        }
        break;
      }
      case CTSVC_SIM_ENTRY_SNE: {
        const int nIndex = LinkedIndex(entry, files, nRecordIndex, &nA9Counter);
        if (nIndex != CTSVC_SIM_LINK_NONE) {
          AttachText(files.pSneFile, nIndex, false, pRecord);
        }
        break;
      }
      case CTSVC_SIM_ENTRY_GRP:
      case CTSVC_SIM_ENTRY_PBC:
      case CTSVC_SIM_ENTRY_UID:
        if (entry.constructedTag == CTSVC_SIM_PBR_TYPE2) {
          ++nA9Counter;
          ZEL_NEVER_GET_HERE("a type-2 link to a file that is not ANR, EMAIL or SNE");
        } else if (entry.entryType == CTSVC_SIM_ENTRY_GRP) {
          AttachGroups(files.pGrpFile, nRecordIndex, pRecord);
        } else if (entry.entryType == CTSVC_SIM_ENTRY_PBC && IsInFile(files.pPbcFile, nRecordIndex)) {
          pRecord->SetPbc(static_cast<UINT32>(files.pPbcFile->GetEntryControl(nRecordIndex)));
        } else if (entry.entryType == CTSVC_SIM_ENTRY_UID && IsInFile(files.pUidFile, nRecordIndex)) {
          pRecord->SetUid(static_cast<UINT16>(files.pUidFile->GetUID(nRecordIndex)));
        }
        break;
      default:
        if (entry.constructedTag == CTSVC_SIM_PBR_TYPE2) {
          ++nA9Counter;
        }
        DbgPrint(DBG_CLASS_TRACE, "CtSvcSimLinkContact - the sim file type(%d) does not support this API\n", entry.entryType);
        break;
    }
  }
  return TRUE;
}

template <class TFile, class... Args>
TFile* CCtSvcUsimPhonebookFiles::_Add(Args... args) {
  m_vcpFile.push_back(std::make_unique<TFile>(args...));
  return static_cast<TFile*>(m_vcpFile.back().get());
}

void CCtSvcUsimPhonebookFiles::Build(const CCtSvcPbrFile& pbrFile) {
  m_vcpFile.clear();
  m_vcSet.clear();
  m_pExt1File = nullptr;
  m_pGasFile = nullptr;
  m_pAasFile = nullptr;
  const int nPbrMax = CtSvcGetDevSimMgr()->IsLocalPhonebook() ? CTSVC_SIM_PBR_LOCAL_MAX : CTSVC_SIM_PBR_TELECOM_MAX;
  for (int p = 0; p < pbrFile.GetMaxRecordCount() && p < nPbrMax; ++p) {
    CtSvcSimPbrFileSet set;
    const int nEntries = pbrFile.GetTotalEntryCount(p);
    for (int e = 0; e < nEntries; ++e) {
      switch (pbrFile.GetEntryInfo(p, e)->entryType) {
        case CTSVC_SIM_ENTRY_ADN:
          set.pAdnFile = set.pAdnFile != nullptr ? set.pAdnFile : _Add<CCtSvcAdnFile>(p);
          break;
        case CTSVC_SIM_ENTRY_IAP:
          set.pIapFile = set.pIapFile != nullptr ? set.pIapFile : _Add<CCtSvcIapFile>(p);
          break;
        case CTSVC_SIM_ENTRY_SNE:
          set.pSneFile = set.pSneFile != nullptr ? set.pSneFile : _Add<CCtSvcSneFile>(p);
          break;
        case CTSVC_SIM_ENTRY_GRP:
          set.pGrpFile = set.pGrpFile != nullptr ? set.pGrpFile : _Add<CCtSvcGrpFile>(p);
          break;
        case CTSVC_SIM_ENTRY_PBC:
          set.pPbcFile = set.pPbcFile != nullptr ? set.pPbcFile : _Add<CCtSvcPbcFile>(p);
          break;
        case CTSVC_SIM_ENTRY_UID:
          set.pUidFile = set.pUidFile != nullptr ? set.pUidFile : _Add<CCtSvcUidFile>(p);
          break;
        case CTSVC_SIM_ENTRY_ANR:
          if (set.vcpAnrFile.size() < 4) {
            set.vcpAnrFile.push_back(_Add<CCtSvcAnrFile>(p, static_cast<int>(set.vcpAnrFile.size())));
          }
          break;
        case CTSVC_SIM_ENTRY_EMAIL:
          if (set.vcpEmailFile.size() < 2) {
            set.vcpEmailFile.push_back(_Add<CCtSvcEmailFile>(p, static_cast<int>(set.vcpEmailFile.size())));
          }
          break;
        case CTSVC_SIM_ENTRY_EXT1:
          m_pExt1File = m_pExt1File != nullptr ? m_pExt1File : _Add<CCtSvcExt1File>(0);
          break;
        case CTSVC_SIM_ENTRY_GAS:
          m_pGasFile = m_pGasFile != nullptr ? m_pGasFile : _Add<CCtSvcGasFile>();
          break;
        case CTSVC_SIM_ENTRY_AAS:
          m_pAasFile = m_pAasFile != nullptr ? m_pAasFile : _Add<CCtSvcAasFile>();
          break;
        default:
          break;
      }
    }
    m_vcSet.push_back(set);
  }
  for (CtSvcSimPbrFileSet& set : m_vcSet) {
    set.pExt1File = m_pExt1File;
  }
  _Add<CCtSvcPscFile>();
  _Add<CCtSvcCcFile>();
  _Add<CCtSvcPuidFile>();
}

std::vector<CCtSvcSimFile*> CCtSvcUsimPhonebookFiles::GetFiles() const {
  std::vector<CCtSvcSimFile*> vcpFile;
  for (const auto& pFile : m_vcpFile) {
    vcpFile.push_back(pFile.get());
  }
  return vcpFile;
}
