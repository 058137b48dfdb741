// The SIM C API's loads, record reads and writes: argument checks, the C structures converted to
// and from SIM record objects, and the callback adapters; each under the module lock.
#include "CtSvcSimCi.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "CtSvcSimCi/CtSvcSimCiListeners.h"
#include "CtSvcUtil.h"
#include "ZelDebug.h"

namespace {

constexpr int kGroupNameChars = 20;

using PfnInit = BOOL (CCtSvcSimMgr::*)(ICtSvcSimMgrListener*);

BOOL InitGroup(PfnInit pfnInit, CtSvcSimInitCallback pfnCallback, void* pUserData) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(pfnCallback)) {
    return FALSE;
  }
  auto pListener = std::unique_ptr<CCtSvcSimLoadListener>(new (std::nothrow) CCtSvcSimLoadListener(pfnCallback, pUserData));
  if (pListener == nullptr || !(CCtSvcSimMgr::Instance()->*pfnInit)(pListener.get())) {
    return FALSE;
  }
  pListener.release();  // it deletes itself after the report
  return TRUE;
}

// What one set function writes: its updater slot and the names in its log lines.
struct SetKind {
  int nSlot;
  const char* pszFunction;
  const char* pszCheckLog = nullptr;  // name in the missing-record line, when not pszFunction
};

// Hands the record (null for a delete) to the group's updater with a fresh listener.
BOOL SetRecord(const SetKind& kind, int setType, int nRecordIndex, const CCtSvcSimRecord* pRecord,
               CtSvcSimSetCallback pfnCallback, void* pUserData) {
  auto pListener =
      std::unique_ptr<CCtSvcSimUpdateListener>(new (std::nothrow) CCtSvcSimUpdateListener(pfnCallback, pUserData));
  if (pListener == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s - To create CCtSvcSimUpdateListener is FAILED\n", kind.pszFunction);
    return FALSE;
  }
  ICtSvcSimUpdater* pUpdater = CCtSvcSimMgr::Instance()->GetRecordUpdater(kind.nSlot);
  if (pUpdater == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s -GetRecordUpdater( void ) is FAILED\n", kind.pszFunction);
    return FALSE;
  }
  BOOL bResult = FALSE;
  switch (setType) {
    case CTSVC_SIM_SET_INSERT:
      bResult = pUpdater->InsertRecord(nRecordIndex, pRecord, pListener.get());
      break;
    case CTSVC_SIM_SET_UPDATE:
      bResult = pUpdater->UpdateRecord(nRecordIndex, pRecord, pListener.get());
      break;
    case CTSVC_SIM_SET_DELETE:
      bResult = pUpdater->DeleteRecord(nRecordIndex, pListener.get());
      break;
    default: {
      const std::string strText = std::string(kind.pszFunction) + " - Unknown CtSvcSimSetType!!setType(" +
                                  std::to_string(setType) + ")";
      ZEL_NEVER_GET_HERE(strText.c_str());
      return FALSE;
    }
  }
  if (bResult) {
    pListener.release();  // the updater's single report deletes it
  }
  return bResult;
}

// The checks every set function makes; FALSE when the call goes no further.
bool CheckSet(const SetKind& kind, int setType, int nRecordIndex, const void* pRecord, const char* pszWhat,
              CtSvcSimSetCallback pfnCallback) {
  if (!ZEL_REQUIRE(nRecordIndex >= 0) || !ZEL_REQUIRE(pfnCallback)) {
    return false;
  }
  if ((setType == CTSVC_SIM_SET_INSERT || setType == CTSVC_SIM_SET_UPDATE) && pRecord == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s - setType = %d but %s = NULL\n",
             kind.pszCheckLog != nullptr ? kind.pszCheckLog : kind.pszFunction, setType, pszWhat);
    return false;
  }
  return true;
}

BOOL SetXdn(const SetKind& kind, int setType, int nRecordIndex, const CtSvcSimXdnRecord* pRecord,
            CtSvcSimSetCallback pfnCallback, void* pUserData) {
  CCtSvcModuleLock lock;
  if (!CheckSet(kind, setType, nRecordIndex, pRecord, "pRecord", pfnCallback)) {
    return FALSE;
  }
  CCtSvcSimXdnRecord record;
  if (pRecord != nullptr && setType != CTSVC_SIM_SET_DELETE) {
    record.FromStruct(*pRecord);
    record.SetRecordIndex(nRecordIndex);
  }
  return SetRecord(kind, setType, nRecordIndex, &record, pfnCallback, pUserData);
}

BOOL SetXas(const SetKind& kind, int setType, int nRecordIndex, const char* pszName, CtSvcSimSetCallback pfnCallback,
            void* pUserData) {
  CCtSvcModuleLock lock;
  if (pszName != nullptr && pszName[0] == '\0') {
    pszName = nullptr;  // an empty text is no text
  }
  if (!CheckSet(kind, setType, nRecordIndex, pszName, "pszName", pfnCallback)) {
    return FALSE;
  }
  CCtSvcSimXasRecord record;
  record.SetRecordIndex(nRecordIndex);
  if (pszName != nullptr) {
    record.SetName(pszName);
  }
  return SetRecord(kind, setType, nRecordIndex, &record, pfnCallback, pUserData);
}

BOOL GetXdn(int nType, const char* pszFunction, const char* pszGroup, int nRecordIndex, CtSvcSimXdnRecord* pRecord) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE_TEXT(nRecordIndex >= 0 && pRecord, "nRecordIndex >= 0 && pRecord")) {
    return FALSE;
  }
  std::memset(pRecord, 0, sizeof(*pRecord));
  CCtSvcSimXdnRecord record;
  if (CCtSvcSimMgr::Instance()->GetFileContainer() == nullptr ||
      !CCtSvcSimMgr::Instance()->GetXdnRecord(nType, nRecordIndex, &record)) {
    DbgPrint(DBG_CLASS_FAIL, "%s -GetXdnRecord (%s, index = %d) is FAILED\n", pszFunction, pszGroup, nRecordIndex);
    return FALSE;
  }
  record.ToStruct(pRecord);
  return TRUE;
}

BOOL GetXas(int nType, const char* pszFunction, const char* pszGroup, int nRecordIndex, char* pszName, int nMaxSize) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(nRecordIndex >= 0) || !ZEL_REQUIRE(pszName && nMaxSize > 0)) {
    return FALSE;
  }
  pszName[0] = '\0';
  CCtSvcSimXasRecord record;
  if (CCtSvcSimMgr::Instance()->GetFileContainer() == nullptr ||
      !CCtSvcSimMgr::Instance()->GetXasRecord(nType, nRecordIndex, &record)) {
    DbgPrint(DBG_CLASS_FAIL, "%s -GetPhoneBookXasRecord (%s, index = %d) is FAILED\n", pszFunction, pszGroup,
             nRecordIndex);
    return FALSE;
  }
  std::string strText = record.GetName();
  if (nType == CTSVC_SIM_GAS) {
    const int nBytes = CtGetLCodeMaxByteSize(strText.c_str(), kGroupNameChars, 0);
    if (nBytes >= 0 && nBytes < static_cast<int>(strText.size())) {
      DbgPrint(DBG_CLASS_TRACE, "CtSvcSimGetGasRecord Name size over than byte size %s\n", strText.c_str());
      strText.resize(static_cast<size_t>(nBytes));
    }
  }
  std::strncpy(pszName, strText.c_str(), static_cast<size_t>(nMaxSize) - 1);
  pszName[nMaxSize - 1] = '\0';
  return TRUE;
}

}  // namespace

BOOL CtSvcSimInitAdn(CtSvcSimInitCallback pfnCallback, void* pUserData) {
  return InitGroup(&CCtSvcSimMgr::InitAdn, pfnCallback, pUserData);
}
BOOL CtSvcSimInitFdn(CtSvcSimInitCallback pfnCallback, void* pUserData) {
  return InitGroup(&CCtSvcSimMgr::InitFdn, pfnCallback, pUserData);
}
BOOL CtSvcSimInitMsisdn(CtSvcSimInitCallback pfnCallback, void* pUserData) {
  return InitGroup(&CCtSvcSimMgr::InitMsisdn, pfnCallback, pUserData);
}
BOOL CtSvcSimInitSdn(CtSvcSimInitCallback pfnCallback, void* pUserData) {
  return InitGroup(&CCtSvcSimMgr::InitSdn, pfnCallback, pUserData);
}

BOOL CtSvcSimPrepareReloadRecord(int nMask) {
  CCtSvcModuleLock lock;
  CCtSvcSimMgr::Instance()->PrepareReloadRecord(nMask);
  return TRUE;
}

BOOL CtSvcSimGetAdnRecord(int nRecordIndex, CtSvcSimAdnRecord* pRecord) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE_TEXT(nRecordIndex >= 0 && pRecord, "nRecordIndex >= 0 && pRecord")) {
    return FALSE;
  }
  std::memset(pRecord, 0, sizeof(*pRecord));
  CCtSvcSimAdnRecord record;
  if (CCtSvcSimMgr::Instance()->GetFileContainer() == nullptr ||
      !CCtSvcSimMgr::Instance()->GetAdnRecord(nRecordIndex, &record)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcSimGetAdnRecord -GetAdnRecord (ADN, index = %d) is FAILED\n", nRecordIndex);
    return FALSE;
  }
  record.ToStruct(pRecord);
  return TRUE;
}

BOOL CtSvcSimGetFdnRecord(int nRecordIndex, CtSvcSimXdnRecord* pRecord) {
  return GetXdn(1, "CtSvcSimGetFdnRecord", "FDN", nRecordIndex, pRecord);
}
BOOL CtSvcSimGetSdnRecord(int nRecordIndex, CtSvcSimXdnRecord* pRecord) {
  return GetXdn(2, "CtSvcSimGetSdnRecord", "SDN", nRecordIndex, pRecord);
}
BOOL CtSvcSimGetMsisdnRecord(int nRecordIndex, CtSvcSimXdnRecord* pRecord) {
  return GetXdn(3, "CtSvcSimGetMsisdnRecord", "MSISDN", nRecordIndex, pRecord);
}
BOOL CtSvcSimGetAasRecord(int nRecordIndex, char* pszName, int nMaxSize) {
  return GetXas(CTSVC_SIM_AAS, "CtSvcSimGetAasRecord", "AAS", nRecordIndex, pszName, nMaxSize);
}
BOOL CtSvcSimGetGasRecord(int nRecordIndex, char* pszName, int nMaxSize) {
  return GetXas(CTSVC_SIM_GAS, "CtSvcSimGetGasRecord", "GAS", nRecordIndex, pszName, nMaxSize);
}

BOOL CtSvcSimSetAdnRecord(CtSvcSimSetType setType, int nRecordIndex, const CtSvcSimAdnRecord* pRecord,
                          CtSvcSimSetCallback pfnCallback, void* pUserData) {
  CCtSvcModuleLock lock;
  const SetKind kind{CTSVC_SIM_UPDATER_ADN, "CtSvcSimSetAdnRecord", "CtSvcSimGetAdnRecord"};
  if (!CheckSet(kind, setType, nRecordIndex, pRecord, "pRecord", pfnCallback)) {
    return FALSE;
  }
  CCtSvcSimAdnRecord record;
  if (pRecord != nullptr && setType != CTSVC_SIM_SET_DELETE) {
    record.FromStruct(*pRecord);
    record.SetRecordIndex(nRecordIndex);
  }
  return SetRecord(kind, setType, nRecordIndex, &record, pfnCallback, pUserData);
}

BOOL CtSvcSimSetFdnRecord(CtSvcSimSetType setType, int nRecordIndex, const CtSvcSimXdnRecord* pRecord,
                          CtSvcSimSetCallback pfnCallback, void* pUserData) {
  return SetXdn({CTSVC_SIM_UPDATER_FDN, "CtSvcSimSetFdnRecord"}, setType, nRecordIndex, pRecord, pfnCallback, pUserData);
}
BOOL CtSvcSimSetSdnRecord(CtSvcSimSetType setType, int nRecordIndex, const CtSvcSimXdnRecord* pRecord,
                          CtSvcSimSetCallback pfnCallback, void* pUserData) {
  return SetXdn({CTSVC_SIM_UPDATER_SDN, "CtSvcSimSetSdnRecord"}, setType, nRecordIndex, pRecord, pfnCallback, pUserData);
}
BOOL CtSvcSimSetMsisdnRecord(CtSvcSimSetType setType, int nRecordIndex, const CtSvcSimXdnRecord* pRecord,
                             CtSvcSimSetCallback pfnCallback, void* pUserData) {
  return SetXdn({CTSVC_SIM_UPDATER_MSISDN, "CtSvcSimSetMsisdnRecord"}, setType, nRecordIndex, pRecord, pfnCallback,
                pUserData);
}
BOOL CtSvcSimSetAasRecord(CtSvcSimSetType setType, int nRecordIndex, const char* pszName,
                          CtSvcSimSetCallback pfnCallback, void* pUserData) {
  return SetXas({CTSVC_SIM_UPDATER_AAS, "CtSvcSimSetAasRecord"}, setType, nRecordIndex, pszName, pfnCallback, pUserData);
}
BOOL CtSvcSimSetGasRecord(CtSvcSimSetType setType, int nRecordIndex, const char* pszName,
                          CtSvcSimSetCallback pfnCallback, void* pUserData) {
  return SetXas({CTSVC_SIM_UPDATER_GAS, "CtSvcSimSetGasRecord"}, setType, nRecordIndex, pszName, pfnCallback, pUserData);
}
