// The SIM C API's questions: each is the SIM manager's answer under the module lock.
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "CtSvcSimCi.h"

namespace {

// Calls the manager's member under the module lock.
template <class TResult, class... TParams, class... TArgs>
TResult Ask(TResult (CCtSvcSimMgr::*pfnQuery)(TParams...) const, TArgs... args) {
  CCtSvcModuleLock lock;
  return (CCtSvcSimMgr::Instance()->*pfnQuery)(args...);
}

}  // namespace

int CtSvcSimGetCardType(void) { return Ask(&CCtSvcSimMgr::GetCardType); }
BOOL CtSvcSimGetFileInfo(int nSimFileID, int nPbrIndex, int nSubIndex, CtSvcSimFileInfo* pFileInfo) {
  return Ask(&CCtSvcSimMgr::GetFileInfo, nSimFileID, nPbrIndex, nSubIndex, pFileInfo);
}
BOOL CtSvcSimIsAvailableFile(int nSimFileID) { return Ask(&CCtSvcSimMgr::IsAvailableFile, nSimFileID); }
int CtSvcSimIsUsedFile(int nSimFileID) { return Ask(&CCtSvcSimMgr::IsUsedFile, nSimFileID, 0, 0); }
int CtSvcSimGetRecordLength(int nSimFileID) { return Ask(&CCtSvcSimMgr::GetRecordLength, nSimFileID); }
int CtSvcSimGetRecordStringLength(int nSimFileID) { return Ask(&CCtSvcSimMgr::GetRecordStringLength, nSimFileID); }
int CtSvcSimGetRecordPhoneNumberLength(int nSimFileID) {
  return Ask(&CCtSvcSimMgr::GetRecordPhoneNumberLength, nSimFileID);
}
int CtSvcSimGetMaxRecordCount(int nSimFileID, int nPbrIndex, int nSubIndex) {
  return Ask(&CCtSvcSimMgr::GetMaxRecordCount, nSimFileID, nPbrIndex, nSubIndex);
}
int CtSvcSimGetUsedRecordCount(int nSimFileID, int nPbrIndex, int nSubIndex) {
  return Ask(&CCtSvcSimMgr::GetUsedRecordCount, nSimFileID, nPbrIndex, nSubIndex);
}
int CtSvcSimGetTotalMaxRecordCount(int nSimFileID) { return Ask(&CCtSvcSimMgr::GetTotalMaxRecordCount, nSimFileID); }
int CtSvcSimGetTotalUsedRecordCount(int nSimFileID) { return Ask(&CCtSvcSimMgr::GetTotalUsedRecordCount, nSimFileID); }
int CtSvcSimIsUsedRecord(int nSimFileID, int nRecordIndex) {
  return Ask(&CCtSvcSimMgr::IsUsedRecord, nSimFileID, nRecordIndex);
}
int CtSvcSimGetUnusedRecordIndex(int nSimFileID) { return Ask(&CCtSvcSimMgr::GetUnusedRecordIndex, nSimFileID); }
int CtSvcSimGetPbrEntryCount(int nPbrIndex, int entryType) {
  return Ask(&CCtSvcSimMgr::GetPbrEntryCount, nPbrIndex, entryType);
}
int CtSvcSimGetAvailCountRecordField(int nSimFileID, int nSlot) {
  return Ask(&CCtSvcSimMgr::GetAvailCountRecordField, nSimFileID, nSlot);
}
int CtSvcGetMaxCountRecordField(int nSimFileID, int nSlot) {
  return Ask(&CCtSvcSimMgr::GetMaxCountRecordField, nSimFileID, nSlot);
}
BOOL CtSvcSimIsCPHSSupported(void) {
  CCtSvcModuleLock lock;
  return CtSvcGetDevSimMgr()->IsCPHSSupported();
}
BOOL CtSvcSimReloadSimFileInfo(int nSimFileID) {
  CCtSvcModuleLock lock;
  return CCtSvcSimMgr::Instance()->RelaodSimFileInfo(nSimFileID);
}
BOOL CtSvcSimValidCheckExtFile(int nSimFileID) {
  CCtSvcModuleLock lock;
  return CCtSvcSimMgr::Instance()->ValidCheckExtFile(nSimFileID);
}
void _TestCtSvcSimClear(void) {
  CCtSvcModuleLock lock;
  CCtSvcSimMgr::Instance()->Clear();
}
