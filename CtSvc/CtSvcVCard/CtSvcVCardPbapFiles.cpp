// The folders and files of the Bluetooth exports.
#include <cstdio>
#include <cstring>

#include "CtSvcVCard/CtSvcVCardPbap.h"
#include "ZelDebug.h"
#include "ZelFm.h"

namespace {

// The telecom folder of a device type: the SIM's own under "SIM1", the phone's (and "all") at the top.
const char* TelecomFolder(int nDeviceType) {
  switch (nDeviceType) {
    case CTSVC_USE_TYPE_NONE:
    case CTSVC_USE_TYPE_PHONE:
      return "/User/Bluetooth/_PBS/telecom";
    case CTSVC_USE_TYPE_SIM:
      return "/User/Bluetooth/_PBS/SIM1/telecom";
    default:
      return nullptr;
  }
}

std::string FolderOf(const std::string& strPath) { return strPath.substr(0, strPath.rfind('/')); }

}  // namespace

std::string CtSvcPbapPath(int nDeviceType, CtSvcPbapFile eFile, int nIndex) {
  const char* pszFolder = TelecomFolder(nDeviceType);
  if (pszFolder == nullptr) {
    return "";
  }
  const std::string strFolder = pszFolder;
  switch (eFile) {
    case CTSVC_PBAP_FILE_FULL_LIST:
      return nIndex < 0 ? strFolder + "/pb.vcf" : strFolder + "/pb" + std::to_string(nIndex) + ".vcf";
    case CTSVC_PBAP_FILE_LISTING_DIR:
      return strFolder + "/pb";
    default:
      return strFolder + "/pb/" + std::to_string(nIndex) + ".vcf";
  }
}

HOBJ CtSvcPbapCreateFile(const std::string& strPath) {
  if (strPath.empty() || !FmCreateDir(FolderOf(strPath).c_str())) {
    return INVALID_HOBJ;
  }
  return FmCreateFile(strPath.c_str());
}

bool CtSvcPbapWrite(HOBJ hFile, const std::string& strText) {
  return FmWriteFile(hFile, strText.data(), static_cast<UINT32>(strText.size())) == static_cast<INT32>(strText.size());
}

BOOL CtSvcPbapGetPath(INT32 nDeviceType, INT32 eFile, INT32 nIndex, char* pszPath, INT32 nSize) {
  if (pszPath == nullptr || nSize <= 0 || eFile < CTSVC_PBAP_FILE_FULL_LIST || eFile > CTSVC_PBAP_FILE_LISTING_ENTRY) {
    return FALSE;
  }
  const std::string strPath = CtSvcPbapPath(nDeviceType, static_cast<CtSvcPbapFile>(eFile), nIndex);
  if (strPath.empty() || strPath.size() >= static_cast<size_t>(nSize)) {
    return FALSE;
  }
  std::memcpy(pszPath, strPath.c_str(), strPath.size() + 1);
  return TRUE;
}
