#include "CtSvcSim/SimFile/CtSvcUsimLinkFiles.h"

CCtSvcIapFile::CCtSvcIapFile(int nPbrIndex)
    : CCtSvcSimLinkFile(CTSVC_SIM_IAP, nPbrIndex, "CCtSvcIapFile", "m_vcpIapRecord", "nEntryTypeA9Index >= 0") {}

int CCtSvcIapFile::GetIndex(int nRecordIndex, int nEntryTypeA9Index) const { return _GetLink(nRecordIndex, nEntryTypeA9Index); }

BOOL CCtSvcIapFile::SetIndex(int nRecordIndex, int nEntryTypeA9Index, UINT8 nValue) {
  return _SetLink(nRecordIndex, nEntryTypeA9Index, nValue);
}

BOOL CCtSvcIapFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  const auto* pData = static_cast<const SimIapInfo*>(pRecordData);
  return _SaveOnRead(nRecordIndex, pData->used == 0, "CCtSvcIapFile::_SaveRecordOnRead - Not Used(%d)\n",
                     [pData](__CtSvcSimLinkRecord<CTSVC_SIM_IAP_COUNT_MAX>& entry) {
                       for (int i = 0; i < CTSVC_SIM_IAP_COUNT_MAX; ++i) {
                         if (pData->recordNum[i] != CTSVC_SIM_LINK_NONE) {
                           entry.aLink[i] = static_cast<UINT8>(pData->recordNum[i] - 1);
                         }
                       }
                     });
}

BOOL CCtSvcIapFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  SimIapInfo erased{};
  std::memset(erased.recordNum, CTSVC_SIM_LINK_NONE, sizeof(erased.recordNum));
  return _PrepareUpdate(nRecordIndex, bDelete, pReqData, erased,
                        [](const __CtSvcSimLinkRecord<CTSVC_SIM_IAP_COUNT_MAX>& entry, SimIapInfo& data) {
                          for (int i = 0; i < CTSVC_SIM_IAP_COUNT_MAX; ++i) {
                            data.recordNum[i] = CtSvcSimLinkToNumber(entry.aLink[i]);
                          }
                        });
}

CCtSvcGrpFile::CCtSvcGrpFile(int nPbrIndex)
    : CCtSvcSimLinkFile(CTSVC_SIM_GRP, nPbrIndex, "CCtSvcGrpFile", "m_vcpGrpRecord",
                        "nArrayIndex < CTSVC_SIM_GROUP_COUNT_MAX") {}

int CCtSvcGrpFile::GetGASIndex(int nRecordIndex, int nArrayIndex) const { return _GetLink(nRecordIndex, nArrayIndex); }

BOOL CCtSvcGrpFile::SetGASIndex(int nRecordIndex, int nArrayIndex, UINT8 nGasIndex) {
  return _SetLink(nRecordIndex, nArrayIndex, nGasIndex);
}

BOOL CCtSvcGrpFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  const auto* pData = static_cast<const SimGrpInfo*>(pRecordData);
  return _SaveOnRead(nRecordIndex, pData->used == 0, "CCtSvcGrpFile::_SaveRecordOnRead - Not Used(%d)\n",
                     [pData](__CtSvcSimLinkRecord<CTSVC_SIM_GROUP_COUNT_MAX>& entry) {
                       const int nCount = std::min<int>(pData->count, CTSVC_SIM_GROUP_COUNT_MAX);
                       for (int i = 0; i < nCount; ++i) {
                         if (pData->groupRecordNum[i] != 0) {
                           entry.aLink[i] = static_cast<UINT8>(pData->groupRecordNum[i] - 1);
                         }
                       }
                     });
}

BOOL CCtSvcGrpFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  SimGrpInfo data{};
  const int nLen = GetRecordLength();
  data.count = static_cast<UINT8>(nLen > 0 && nLen < CTSVC_SIM_GROUP_COUNT_MAX ? nLen : CTSVC_SIM_GROUP_COUNT_MAX);
  return _PrepareUpdate(nRecordIndex, bDelete, pReqData, data,
                        [](const __CtSvcSimLinkRecord<CTSVC_SIM_GROUP_COUNT_MAX>& entry, SimGrpInfo& info) {
                          for (int i = 0; i < info.count; ++i) {
                            // A group byte is the GAS record number; 0 means none.
                            info.groupRecordNum[i] = CtSvcSimLinkToNumber(entry.aLink[i]) == CTSVC_SIM_LINK_NONE
                                                         ? 0
                                                         : CtSvcSimLinkToNumber(entry.aLink[i]);
                          }
                        });
}
