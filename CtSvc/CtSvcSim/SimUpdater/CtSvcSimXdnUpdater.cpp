#include "CtSvcSim/SimUpdater/CtSvcSimXdnUpdater.h"

#include "CtSvcSim/SimFile/CtSvcSimTextFile.h"
#include "ZelDebug.h"

namespace {

const char* GroupName(int nSimFileID) {
  switch (nSimFileID) {
    case CTSVC_SIM_FDN:
      return "FDN";
    case CTSVC_SIM_SDN:
      return "SDN";
    case CTSVC_SIM_MSISDN:
      return "MSISDN";
    case CTSVC_SIM_GAS:
      return "GAS";
    default:
      return "AAS";
  }
}

}  // namespace

CCtSvcSimFdnUpdater::CCtSvcSimFdnUpdater(ICtSvcSimFileContainer* pContainer)
    : CCtSvcSimXdnUpdater(CTSVC_SIM_FDN, pContainer, "CCtSvcSimFdnUpdater") {}
CCtSvcSimSdnUpdater::CCtSvcSimSdnUpdater(ICtSvcSimFileContainer* pContainer)
    : CCtSvcSimXdnUpdater(CTSVC_SIM_SDN, pContainer, "CCtSvcSimSdnUpdater") {}
CCtSvcSimMsisdnUpdater::CCtSvcSimMsisdnUpdater(ICtSvcSimFileContainer* pContainer)
    : CCtSvcSimXdnUpdater(CTSVC_SIM_MSISDN, pContainer, "CCtSvcSimMsisdnUpdater") {}
CCtSvcSimGasUpdater::CCtSvcSimGasUpdater(ICtSvcSimFileContainer* pContainer)
    : CCtSvcSimXasUpdater(CTSVC_SIM_GAS, pContainer, "CCtSvcSimGasUpdater") {}
CCtSvcSimAasUpdater::CCtSvcSimAasUpdater(ICtSvcSimFileContainer* pContainer)
    : CCtSvcSimXasUpdater(CTSVC_SIM_AAS, pContainer, "CCtSvcSimAasUpdater") {}

// ---- FDN, SDN, MSISDN ----

CCtSvcDialNumberFile* CCtSvcSimXdnUpdater::_GetDialFile(const char* pszCall) const {
  auto* pFile = _GetFile<CCtSvcDialNumberFile>(GetGroupID());
  if (pFile == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s::%s - To get %s file is FAILED!\n", _GetClassName(), pszCall, GroupName(GetGroupID()));
  }
  return pFile;
}

int CCtSvcSimXdnUpdater::_GetUnusedRecordIndex() const {
  const CCtSvcDialNumberFile* pFile = _GetDialFile("InsertRecord");
  return pFile != nullptr ? pFile->GetUnusedRecordIndex() : -1;
}

BOOL CCtSvcSimXdnUpdater::_BuildWrite(int nRecordIndex, const CCtSvcSimRecord& record, bool bInsert) {
  CCtSvcDialNumberFile* pFile = _GetDialFile(bInsert ? "InsertRecord" : "UpdateRecord");
  const auto* pXdn = dynamic_cast<const CCtSvcSimXdnRecord*>(&record);
  if (pFile == nullptr || !ZEL_REQUIRE(pXdn)) {
    return FALSE;
  }
  if (!_SetDialNumberEntry(pFile, nRecordIndex, *pXdn, _GetFile<CCtSvcExtFile>(pFile->GetExtFileID()))) {
    return FALSE;
  }
  _AddWork(nRecordIndex, CTSVC_SIM_WORK_WRITE, pFile);
  return TRUE;
}

BOOL CCtSvcSimXdnUpdater::_BuildDelete(int nRecordIndex) {
  CCtSvcDialNumberFile* pFile = _GetDialFile("DeleteRecord");
  return pFile != nullptr &&
         _EraseDialNumberEntry(pFile, nRecordIndex, _GetFile<CCtSvcExtFile>(pFile->GetExtFileID()));
}

// ---- GAS, AAS ----

int CCtSvcSimXasUpdater::_GetUnusedRecordIndex() const {
  const CCtSvcSimFile* pFile = _GetFile<CCtSvcSimFile>(GetGroupID());
  return pFile != nullptr ? pFile->GetUnusedRecordIndex() : -1;
}

BOOL CCtSvcSimXasUpdater::_BuildWrite(int nRecordIndex, const CCtSvcSimRecord& record, bool bInsert) {
  auto* pFile = _GetFile<CCtSvcSimTextFile>(GetGroupID());
  if (pFile == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s::%s - To get %s file is FAILED!\n", _GetClassName(),
             bInsert ? "InsertRecord" : "UpdateRecord", GroupName(GetGroupID()));
    return FALSE;
  }
  if (record.GetName().empty() || nRecordIndex >= pFile->GetMaxRecordCount()) {
    DbgPrint(DBG_CLASS_FAIL, "%s - record(%d) of %d: an empty name or an index beyond the file\n", _GetClassName(),
             nRecordIndex, pFile->GetMaxRecordCount());
    return FALSE;
  }
  if (!pFile->IsUsed(nRecordIndex) && !pFile->PrepareInsertRecord(nRecordIndex)) {
    return FALSE;
  }
  pFile->SetText(nRecordIndex, record.GetName().c_str());
  _AddWork(nRecordIndex, CTSVC_SIM_WORK_WRITE, pFile);
  return TRUE;
}

BOOL CCtSvcSimXasUpdater::_BuildDelete(int nRecordIndex) {
  CCtSvcSimFile* pFile = _GetFile<CCtSvcSimFile>(GetGroupID());
  if (pFile == nullptr || !pFile->IsUsed(nRecordIndex)) {
    DbgPrint(DBG_CLASS_FAIL, "%s::DeleteRecord - the record(%d) is not used or the file is missing\n",
             _GetClassName(), nRecordIndex);
    return FALSE;
  }
  _EraseRecord(pFile, nRecordIndex);
  return TRUE;
}
