#include "CtSvcSim/SimUpdater/CtSvcSimAdnUpdater.h"

#include "ZelDebug.h"

CCtSvcSimAdnUpdater::CCtSvcSimAdnUpdater(ICtSvcSimFileContainer* pContainer)
    : CCtSvcSimUpdater(CTSVC_SIM_ADN, pContainer, "CCtSvcSimAdnUpdater") {}

BOOL CCtSvcSimAdnUpdater::_BuildWrite(int nRecordIndex, const CCtSvcSimRecord& record, bool) {
  const auto* pXdn = dynamic_cast<const CCtSvcSimXdnRecord*>(&record);
  if (!ZEL_REQUIRE(pXdn)) {
    return FALSE;
  }
  return GetSimFileContainer()->IsSingleAdnFile() ? _UpdateRecordGSM(nRecordIndex, *pXdn)
                                                  : _UpdateRecordUsim(nRecordIndex, *pXdn);
}

BOOL CCtSvcSimAdnUpdater::_BuildDelete(int nRecordIndex) {
  return GetSimFileContainer()->IsSingleAdnFile() ? _DeleteRecordGsm(nRecordIndex) : _DeleteRecordUsim(nRecordIndex);
}

int CCtSvcSimAdnUpdater::_GetUnusedRecordIndex() const {
  if (GetSimFileContainer()->IsSingleAdnFile()) {
    const CCtSvcAdnFile* pAdnFile = _GetFile<CCtSvcAdnFile>(CTSVC_SIM_ADN);
    return pAdnFile != nullptr ? pAdnFile->GetUnusedRecordIndex() : -1;
  }
  const CCtSvcPbrFile* pPbrFile = _GetFile<CCtSvcPbrFile>(CTSVC_SIM_PBR);
  int nOffset = 0;
  for (int p = 0; pPbrFile != nullptr && p < pPbrFile->GetMaxRecordCount(); ++p) {
    const CCtSvcAdnFile* pAdnFile = _GetFile<CCtSvcAdnFile>(CTSVC_SIM_ADN, p);
    if (pAdnFile == nullptr) {
      break;  // global indexes do not reach beyond a PBR record without ADN file
    }
    const int nFree = pAdnFile->GetUnusedRecordIndex();
    if (nFree >= 0) {
      return nOffset + nFree;
    }
    nOffset += pAdnFile->GetMaxRecordCount();
  }
  return -1;
}

BOOL CCtSvcSimAdnUpdater::_UpdateRecordGSM(int nRecordIndex, const CCtSvcSimXdnRecord& record) {
  auto* pAdnFile = _GetFile<CCtSvcAdnFile>(CTSVC_SIM_ADN);
  if (pAdnFile == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimAdnUpdater::_UpdateRecordGSM - pAdnFile is NULL\n");
    return FALSE;
  }
  if (!_SetDialNumberEntry(pAdnFile, nRecordIndex, record, _GetFile<CCtSvcExtFile>(CTSVC_SIM_EXT1))) {
    return FALSE;
  }
  _AddWork(nRecordIndex, CTSVC_SIM_WORK_WRITE, pAdnFile);
  return TRUE;
}

BOOL CCtSvcSimAdnUpdater::_DeleteRecordGsm(int nRecordIndex) {
  auto* pAdnFile = _GetFile<CCtSvcAdnFile>(CTSVC_SIM_ADN);
  if (pAdnFile == nullptr || !pAdnFile->IsUsed(nRecordIndex)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimAdnUpdater::_DeleteRecordGsm -pAdnFile->IsUsed(%d) is FALSE \n", nRecordIndex);
    return FALSE;
  }
  return _EraseDialNumberEntry(pAdnFile, nRecordIndex, _GetFile<CCtSvcExtFile>(CTSVC_SIM_EXT1));
}

CtSvcSimPbrFileSet CCtSvcSimAdnUpdater::_GetPbrFileSet(const CCtSvcPbrFile& pbrFile, int nPbrIndex) const {
  CtSvcSimPbrFileSet set;
  set.pAdnFile = _GetFile<CCtSvcAdnFile>(CTSVC_SIM_ADN, nPbrIndex);
  set.pExt1File = _GetFile<CCtSvcExtFile>(CTSVC_SIM_EXT1);
  set.pIapFile = _GetFile<CCtSvcIapFile>(CTSVC_SIM_IAP, nPbrIndex);
  set.pSneFile = _GetFile<CCtSvcSneFile>(CTSVC_SIM_SNE, nPbrIndex);
  set.pGrpFile = _GetFile<CCtSvcGrpFile>(CTSVC_SIM_GRP, nPbrIndex);
  set.pPbcFile = _GetFile<CCtSvcPbcFile>(CTSVC_SIM_PBC, nPbrIndex);
  set.pUidFile = _GetFile<CCtSvcUidFile>(CTSVC_SIM_UID, nPbrIndex);
  for (int n = 0; n < pbrFile.GetEntryCount(nPbrIndex, CTSVC_SIM_ENTRY_ANR); ++n) {
    set.vcpAnrFile.push_back(_GetFile<CCtSvcAnrFile>(CTSVC_SIM_ANR, nPbrIndex, n));
  }
  for (int n = 0; n < pbrFile.GetEntryCount(nPbrIndex, CTSVC_SIM_ENTRY_EMAIL); ++n) {
    set.vcpEmailFile.push_back(_GetFile<CCtSvcEmailFile>(CTSVC_SIM_EMAIL, nPbrIndex, n));
  }
  return set;
}

BOOL CCtSvcSimAdnUpdater::_FindUsimSlot(int nRecordIndex, UsimSlot* pSlot) const {
  pSlot->pPbrFile = _GetFile<CCtSvcPbrFile>(CTSVC_SIM_PBR);
  if (pSlot->pPbrFile == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimAdnUpdater - the PBR file is not loaded\n");
    return FALSE;
  }
  std::vector<CtSvcSimPbrFileSet> vcSet;
  for (int p = 0; p < pSlot->pPbrFile->GetMaxRecordCount(); ++p) {
    vcSet.push_back(_GetPbrFileSet(*pSlot->pPbrFile, p));
  }
  if (!CtSvcSimGlobalToPbrIndex(vcSet, nRecordIndex, &pSlot->nPbrIndex, &pSlot->nFileRecordIndex)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimAdnUpdater::_UpdateRecordUsim - nPbrIndex(%d) or nFileRecordIndex(%d) is invalid\n",
             pSlot->nPbrIndex, pSlot->nFileRecordIndex);
    return FALSE;
  }
  pSlot->files = vcSet[static_cast<size_t>(pSlot->nPbrIndex)];
  return TRUE;
}
