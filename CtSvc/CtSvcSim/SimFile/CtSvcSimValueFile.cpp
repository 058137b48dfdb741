#include "CtSvcSim/SimFile/CtSvcSimValueFile.h"

#include "CtSvcSim/SimFile/CtSvcUsimFile.h"

CCtSvcSimValueFile::CCtSvcSimValueFile(int nSimFileID, const char* pszClassName, int nSize)
    : CCtSvcSimFile(nSimFileID, 0, pszClassName), m_nSize(nSize) {
  _SetTelephonyFileID(CtSvcSimUsimFileID(nSimFileID, 0));
}

CCtSvcPscFile::CCtSvcPscFile() : CCtSvcSimValueFile(CTSVC_SIM_PSC, "CCtSvcPscFile", 4) {}
CCtSvcCcFile::CCtSvcCcFile() : CCtSvcSimValueFile(CTSVC_SIM_CC, "CCtSvcCcFile", 2) {}
CCtSvcPuidFile::CCtSvcPuidFile() : CCtSvcSimValueFile(CTSVC_SIM_PUID, "CCtSvcPuidFile", 2) {}

CCtSvcCcp1File::CCtSvcCcp1File() : CCtSvcSimPlainFile(CTSVC_SIM_CCP1, 0, "CCtSvcCcp1File") {
  _SetTelephonyFileID(CtSvcSimUsimFileID(CTSVC_SIM_CCP1, 0));
}
CCtSvcHiddenKeyFile::CCtSvcHiddenKeyFile() : CCtSvcSimPlainFile(CTSVC_SIM_HIDDENKEY, 0, "CCtSvcHiddenKeyFile") {}

void CCtSvcSimValueFile::OnRead(const void* pRecordData, BOOL bSuccess) {
  if (bSuccess && pRecordData != nullptr && IsLoading() && !GetFileInfo().recordStructured) {
    const int nBytes = GetRecordLength() < m_nSize ? GetRecordLength() : m_nSize;
    const auto* pBytes = static_cast<const UINT8*>(pRecordData);
    UINT32 nValue = 0;
    for (int i = 0; i < nBytes; ++i) {
      nValue = (nValue << 8) | pBytes[i];
    }
    m_nValue = nValue;
  }
  CCtSvcSimFile::OnRead(pRecordData, bSuccess);
}

BOOL CCtSvcSimValueFile::_PrepareUpdateFileReqData(int, BOOL bDelete, SimUpdateFileReq* pReqData) {
  if (!ZEL_REQUIRE(pReqData)) {
    return FALSE;
  }
  pReqData->fileID = static_cast<UINT32>(GetTelephonyFileID());
  pReqData->accessMode = SIM_ACCESS_MODE_TRANSPARENT;
  pReqData->recordNum = 0;
  pReqData->count = 1;
  pReqData->recordLen = static_cast<UINT32>(m_nSize);
  const UINT32 nValue = bDelete ? 0 : m_nValue;
  for (int i = 0; i < m_nSize; ++i) {
    pReqData->data[i] = static_cast<UINT8>(nValue >> (8 * (m_nSize - 1 - i)));
  }
  return TRUE;
}
