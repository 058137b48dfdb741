#include "CtSvcSim/SimFile/CtSvcUsimRecordFiles.h"

CCtSvcUidFile::CCtSvcUidFile(int nPbrIndex) : CCtSvcSimEntryFile(CTSVC_SIM_UID, nPbrIndex, "CCtSvcUidFile", "m_vcpUidRecord") {
  _SetTelephonyFileID(CtSvcSimUsimFileID(CTSVC_SIM_UID, nPbrIndex));
}

int CCtSvcUidFile::GetUID(int nRecordIndex) const { return _GetField(nRecordIndex, &__CtSvcSimUidRecord::uid); }

BOOL CCtSvcUidFile::SetUID(int nRecordIndex, UINT16 nUid) { return _SetField(nRecordIndex, &__CtSvcSimUidRecord::uid, nUid); }

BOOL CCtSvcUidFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  const auto* pData = static_cast<const SimUidInfo*>(pRecordData);
  return _SaveOnRead(nRecordIndex, pData->used == 0 || pData->uid == 0, "CCtSvcUidFile::_SaveRecordOnRead - Not Used(%d)\n",
                     [pData](__CtSvcSimUidRecord& entry) { entry.uid = pData->uid; });
}

BOOL CCtSvcUidFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  return _PrepareUpdate(nRecordIndex, bDelete, pReqData, SimUidInfo{},
                        [](const __CtSvcSimUidRecord& entry, SimUidInfo& data) { data.uid = entry.uid; });
}

CCtSvcPbcFile::CCtSvcPbcFile(int nPbrIndex) : CCtSvcSimEntryFile(CTSVC_SIM_PBC, nPbrIndex, "CCtSvcPbcFile", "m_vcpPbcRecord") {
  _SetTelephonyFileID(CtSvcSimUsimFileID(CTSVC_SIM_PBC, nPbrIndex));
}

int CCtSvcPbcFile::GetEntryControl(int nRecordIndex) const {
  return _GetField(nRecordIndex, &__CtSvcSimPbcRecord::entryControl);
}

BOOL CCtSvcPbcFile::SetEntryControl(int nRecordIndex, UINT32 nFlag) {
  return _SetField(nRecordIndex, &__CtSvcSimPbcRecord::entryControl, nFlag);
}

BOOL CCtSvcPbcFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  const auto* pData = static_cast<const SimPbcInfo*>(pRecordData);
  return _SaveOnRead(nRecordIndex, pData->used == 0, "CCtSvcPbcFile::_SaveRecordOnRead - Not Used(%d)\n",
                     [pData](__CtSvcSimPbcRecord& entry) {
                       entry.entryControl = pData->entryControl == 1 ? 1 : 0;
                       if (pData->hiddenKeyPresent != 0) {
                         entry.hiddenKeyFlag = pData->hiddenKeyPresent;
                         entry.hiddenKey = pData->hiddenKey;
                       }
                     });
}

BOOL CCtSvcPbcFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  return _PrepareUpdate(nRecordIndex, bDelete, pReqData, SimPbcInfo{},
                        [](const __CtSvcSimPbcRecord& entry, SimPbcInfo& data) {
                          data.entryControl = entry.entryControl;
                          data.hiddenKeyPresent = entry.hiddenKeyFlag;
                          data.hiddenKey = entry.hiddenKey;
                        });
}
