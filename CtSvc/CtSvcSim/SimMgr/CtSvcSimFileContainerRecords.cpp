// The SIM file container's lookups: file objects by id and PBR position, the global ADN index,
// SIM record objects built from the loaded entries, and dropping extension entries no dialling-
// number entry references.
#include "CtSvcSim/SimMgr/CtSvcSimFileContainer.h"
#include "ZelDebug.h"

CCtSvcSimFile* CCtSvcSimFileContainer::GetSimFile(int nSimFileID, int nPbrIndex, int nSubIndex) const {
  if (!ZEL_REQUIRE_TEXT(nSimFileID > CTSVC_SIM_FILE_ID_INVALID && nSimFileID < CTSVC_SIM_FILE_ID_MAX,
                        "simFileID > CTSVC_SIM_FILE_ID_INVALID && simFileID < CTSVC_SIM_FILE_ID_MAX")) {
    return nullptr;
  }
  const CtSvcSimPbrFileSet* pSet =
      nPbrIndex >= 0 && nPbrIndex < static_cast<int>(m_vcADNContainer.size()) ? &m_vcADNContainer[nPbrIndex] : nullptr;
  const auto nth = [nSubIndex](const auto& vcpFile) -> CCtSvcSimFile* {
    return nSubIndex >= 0 && nSubIndex < static_cast<int>(vcpFile.size()) ? vcpFile[nSubIndex] : nullptr;
  };
  switch (nSimFileID) {
    case CTSVC_SIM_ADN:
      return pSet != nullptr ? pSet->pAdnFile : nullptr;
    case CTSVC_SIM_IAP:
      return pSet != nullptr ? pSet->pIapFile : nullptr;
    case CTSVC_SIM_PBC:
      return pSet != nullptr ? pSet->pPbcFile : nullptr;
    case CTSVC_SIM_GRP:
      return pSet != nullptr ? pSet->pGrpFile : nullptr;
    case CTSVC_SIM_SNE:
      return pSet != nullptr ? pSet->pSneFile : nullptr;
    case CTSVC_SIM_UID:
      return pSet != nullptr ? pSet->pUidFile : nullptr;
    case CTSVC_SIM_ANR:
      return pSet != nullptr ? nth(pSet->vcpAnrFile) : nullptr;
    case CTSVC_SIM_EMAIL:
      return pSet != nullptr ? nth(pSet->vcpEmailFile) : nullptr;
    case CTSVC_SIM_PBR:
      return m_pPbrFile.get();
    case CTSVC_SIM_EXT1:
      return m_pExt1File;
    case CTSVC_SIM_GAS:
      return m_pGasFile;
    case CTSVC_SIM_AAS:
      return m_pAasFile;
    case CTSVC_SIM_FDN:
      return m_pFdnFile;
    case CTSVC_SIM_EXT2:
      return m_pExt2File;
    case CTSVC_SIM_SDN:
      return m_pSdnFile;
    case CTSVC_SIM_EXT3:
      return m_pExt3File;
    case CTSVC_SIM_MSISDN:
      return m_pMsisdnFile;
    case CTSVC_SIM_EXT5:
      return m_pExt5File;
    case CTSVC_SIM_PSC:
      return m_pPscFile;
    case CTSVC_SIM_CC:
      return m_pCcFile;
    case CTSVC_SIM_PUID:
      return m_pPuidFile;
    default:
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFileContainer::GetSimFile- this SimFileID(%d) is not supported\n", nSimFileID);
      return nullptr;
  }
}

BOOL CCtSvcSimFileContainer::MapAdnIndex(int nRecordIndex, int* pnPbrIndex, int* pnFileRecordIndex) const {
  if (m_vcADNContainer.empty() || nRecordIndex < 0) {
    return FALSE;
  }
  if (IsSingleAdnFile()) {
    const CCtSvcSimFile* pAdn = m_vcADNContainer[0].pAdnFile;
    if (pAdn == nullptr || nRecordIndex >= pAdn->GetMaxRecordCount()) {
      return FALSE;
    }
    *pnPbrIndex = 0;
    *pnFileRecordIndex = nRecordIndex;
    return TRUE;
  }
  return CtSvcSimGlobalToPbrIndex(m_vcADNContainer, nRecordIndex, pnPbrIndex, pnFileRecordIndex);
}

CCtSvcExtFile* CCtSvcSimFileContainer::_ExtFileOf(int nDialFileID) const {
  switch (nDialFileID) {
    case CTSVC_SIM_ADN:
      return m_pExt1File;
    case CTSVC_SIM_FDN:
      return m_pExt2File;
    case CTSVC_SIM_SDN:
      return m_pExt3File;
    case CTSVC_SIM_MSISDN:
      return GetCardType() == CTSVC_SIM_CARD_TYPE_USIM ? m_pExt5File : m_pExt1File;
    default:
      return nullptr;
  }
}

namespace {

// Name and presented number of a used slot of a dialling-number file.
BOOL FillXdn(const CCtSvcDialNumberFile* pFile, const CCtSvcExtFile* pExt, int nRecordIndex, const char* pszWho,
             CCtSvcSimXdnRecord* pRecord) {
  if (pFile == nullptr || !pFile->IsUsed(nRecordIndex)) {
    DbgPrint(DBG_CLASS_FAIL, "%s - nRecordIndex(%d) is not used\n", pszWho, nRecordIndex);
    return FALSE;
  }
  char szName[CTSVC_SIM_DIAL_NAME_SIZE] = {};
  char szNumber[CTSVC_SIM_DIAL_NUMBER_SIZE * 2] = {};
  pFile->GetName(nRecordIndex, szName, sizeof(szName));
  pFile->GetPresentedNumber(nRecordIndex, pExt, szNumber, sizeof(szNumber));
  pRecord->SetName(szName);
  pRecord->SetPhoneNumber(szNumber);
  pRecord->SetRecordIndex(nRecordIndex);
  return TRUE;
}

}  // namespace

BOOL CCtSvcSimFileContainer::GetAdnRecord(int nRecordIndex, CCtSvcSimAdnRecord* pRecord) const {
  if (!ZEL_REQUIRE(pRecord)) {
    return FALSE;
  }
  pRecord->Clear();
  int nPbrIndex = 0;
  int nFileRecordIndex = 0;
  if (!MapAdnIndex(nRecordIndex, &nPbrIndex, &nFileRecordIndex)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFileContainer::GetAdnRecord - nRecordIndex(%d) is invalid\n", nRecordIndex);
    return FALSE;
  }
  const CtSvcSimPbrFileSet& set = m_vcADNContainer[nPbrIndex];
  if (IsSingleAdnFile()) {
    if (!FillXdn(set.pAdnFile, m_pExt1File, nFileRecordIndex, "CCtSvcSimFileContainer::GetAdnRecord", pRecord)) {
      return FALSE;
    }
    pRecord->SetRecordIndex(nRecordIndex);
    return TRUE;
  }
  return CtSvcSimLinkContact(*m_pPbrFile, nPbrIndex, set, nFileRecordIndex, nRecordIndex, pRecord);
}

BOOL CCtSvcSimFileContainer::GetXdnRecord(int nSimFileID, int nRecordIndex, CCtSvcSimXdnRecord* pRecord) const {
  if (!ZEL_REQUIRE(pRecord)) {
    return FALSE;
  }
  pRecord->Clear();
  const char* const pszWho = nSimFileID == CTSVC_SIM_FDN   ? "CCtSvcSimFileContainer::GetFdnRecord"
                             : nSimFileID == CTSVC_SIM_SDN ? "CCtSvcSimFileContainer::GetSdnRecord"
                                                           : "CCtSvcSimFileContainer::GetMsisdnRecord";
  const CCtSvcSimFile* pFile = GetSimFile(nSimFileID);
  return FillXdn(static_cast<const CCtSvcDialNumberFile*>(pFile), _ExtFileOf(nSimFileID), nRecordIndex, pszWho, pRecord);
}

BOOL CCtSvcSimFileContainer::GetXasRecord(int nSimFileID, int nRecordIndex, CCtSvcSimXasRecord* pRecord) const {
  if (!ZEL_REQUIRE(pRecord)) {
    return FALSE;
  }
  pRecord->Clear();
  const auto* pFile = static_cast<const CCtSvcSimTextFile*>(GetSimFile(nSimFileID));
  const char* pszText = pFile != nullptr ? pFile->PeekText(nRecordIndex) : nullptr;
  if (pszText == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFileContainer::Get%sRecord - nRecordIndex(%d) is not used\n",
             nSimFileID == CTSVC_SIM_GAS ? "Gas" : "Aas", nRecordIndex);
    return FALSE;
  }
  pRecord->SetName(pszText);
  pRecord->SetRecordIndex(nRecordIndex);
  return TRUE;
}

BOOL CCtSvcSimFileContainer::ValidCheckExtFile(int nSimFileID) {
  const CCtSvcDialNumberFile* pDial = nullptr;
  const char* pszMember = nullptr;
  switch (nSimFileID) {
    case CTSVC_SIM_EXT1:
      pDial = m_vcADNContainer.empty() ? nullptr : m_vcADNContainer[0].pAdnFile;
      pszMember = "pAdnFile";
      break;
    case CTSVC_SIM_EXT2:
      pDial = m_pFdnFile;
      pszMember = "m_pFdnFile";
      break;
    case CTSVC_SIM_EXT5:
      pDial = m_pMsisdnFile;
      pszMember = "m_pMsisdnFile";
      break;
    default:
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFileContainer::ValidCheckExtFile - Not Extention File!!!\n");
      return FALSE;
  }
  if (pDial == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFileContainer::ValidCheckExtFile - %s File was not loaded\n", pszMember);
    return FALSE;
  }
  auto* pExt = static_cast<CCtSvcExtFile*>(GetSimFile(nSimFileID));
  if (pExt == nullptr) {
    return FALSE;
  }
  std::vector<int> vcUsed;
  for (int i = 0; i < pDial->GetMaxRecordCount(); ++i) {
    if (pDial->IsUsed(i)) {
      vcUsed.push_back(pDial->GetExtIndex(i));
    }
  }
  pExt->RemoveUnusedRecord(vcUsed);
  return TRUE;
}
