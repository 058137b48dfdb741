#include "CtSvcSim/SimMgr/CtSvcSimMgrLimits.h"

#include <algorithm>

#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"

int CCtSvcSimMgrLimits::_Ask(int (CCtSvcSimMgr::*pfnQuery)(int) const, int nSimFileID) const {
  CCtSvcModuleLock lock;  // the groups change on the event handler's thread
  return (m_mgr.*pfnQuery)(nSimFileID);
}

int CCtSvcSimMgrLimits::_Free(int nSimFileID, int nSlotIndex) const {
  CCtSvcModuleLock lock;
  return std::max(0, m_mgr.GetAvailCountRecordField(nSimFileID, nSlotIndex));
}

int CCtSvcSimMgrLimits::GetAdnNumberLength() const {
  return _Ask(&CCtSvcSimMgr::GetRecordPhoneNumberLength, CTSVC_SIM_ADN);
}
int CCtSvcSimMgrLimits::GetAdnNameLength() const {
  return std::max(0, _Ask(&CCtSvcSimMgr::GetRecordStringLength, CTSVC_SIM_ADN));
}
bool CCtSvcSimMgrLimits::HasEmailFile() const { return _Ask(&CCtSvcSimMgr::GetRecordLength, CTSVC_SIM_EMAIL) > 0; }
int CCtSvcSimMgrLimits::GetEmailLength() const {
  return std::max(0, _Ask(&CCtSvcSimMgr::GetRecordStringLength, CTSVC_SIM_EMAIL));
}
bool CCtSvcSimMgrLimits::HasSneFile() const { return _Ask(&CCtSvcSimMgr::GetRecordLength, CTSVC_SIM_SNE) > 0; }
int CCtSvcSimMgrLimits::GetSneLength() const {
  return std::max(0, _Ask(&CCtSvcSimMgr::GetRecordStringLength, CTSVC_SIM_SNE));
}
int CCtSvcSimMgrLimits::GetFreeAnrCount(int nSlotIndex) const { return _Free(CTSVC_SIM_ANR, nSlotIndex); }
int CCtSvcSimMgrLimits::GetFreeEmailCount(int nSlotIndex) const { return _Free(CTSVC_SIM_EMAIL, nSlotIndex); }
int CCtSvcSimMgrLimits::GetFreeSneCount(int nSlotIndex) const { return _Free(CTSVC_SIM_SNE, nSlotIndex); }
