// Own numbers: the MSISDN records of the card when it has that file, else the single slot kept in
// phone memory ("CtOwnNumber.ini"), whose writes are reported to the listener at once.
#include <cstring>
#include <string>

#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcSetting.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "CtSvcSim/SimRecord/CtSvcSimRecord.h"
#include "ZelAc.h"
#include "ZelDebug.h"
#include "ZelPhs.h"

namespace {

constexpr int kGetXdnMsisdn = 3;

// The phone-memory slot: name and number (with its '+'); false when nothing can be read.
bool ReadFromPhone(std::string* pstrName, std::string* pstrNumber) {
  char szName[CTSVC_OWN_NUMBER_NAME_SIZE] = {};
  char szNumber[CTSVC_OWN_NUMBER_NUMBER_SIZE + 1] = {};
  if (!CtSvcOwnNumberGet(szName, sizeof(szName), szNumber, sizeof(szNumber))) {
    return false;
  }
  *pstrName = szName;
  *pstrNumber = szNumber;
  return true;
}

void CopyOut(const std::string& strValue, char* pszBuffer, int nSize) {
  if (pszBuffer != nullptr && nSize > 0) {
    AcStrlcpy(pszBuffer, strValue.c_str(), static_cast<size_t>(nSize));
  }
}

ICtSvcSimUpdater* MsisdnUpdater() { return CCtSvcSimMgr::Instance()->GetRecordUpdater(CTSVC_SIM_UPDATER_MSISDN); }

}  // namespace

bool CCtSvcPhonebookMgr::_UsesSimOwnNumber() const {
  return PhsGetStatus(PSV_SIM_MODE_NOSIM) != 1 && CCtSvcSimMgr::Instance()->IsAvailableFile(CTSVC_SIM_MSISDN);
}

BOOL CCtSvcPhonebookMgr::SetOwnNumber(int nSlotIndex, const char* pszName, const char* pszPhoneNumber) {
  if (!ZEL_REQUIRE_TEXT(pszName != nullptr, "pszName") ||
      !ZEL_REQUIRE_TEXT(pszPhoneNumber != nullptr, "pszPhoneNumber")) {
    return FALSE;
  }
  if (!_UsesSimOwnNumber()) {
    const BOOL bResult = CtSvcOwnNumberSet(pszName, pszPhoneNumber);
    if (m_pListener != nullptr) {
      m_pListener->OnUpdateRecord(0, bResult);
    }
    return bResult;
  }
  ICtSvcSimUpdater* pUpdater = MsisdnUpdater();
  if (pUpdater == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::SetOwnNumber -GetRecordUpdater( void ) is FAILED\n");
    return FALSE;
  }
  CCtSvcSimXdnRecord record;
  record.SetRecordIndex(nSlotIndex);
  record.SetName(pszName);
  record.SetPhoneNumber(pszPhoneNumber);
  return CCtSvcSimMgr::Instance()->IsUsedRecord(CTSVC_SIM_MSISDN, nSlotIndex) == 1
             ? pUpdater->UpdateRecord(nSlotIndex, &record, this)
             : pUpdater->InsertRecord(nSlotIndex, &record, this);
}

BOOL CCtSvcPhonebookMgr::DeleteOwnNumber(int nSlotIndex) {
  if (!_UsesSimOwnNumber()) {
    const BOOL bResult = CtSvcOwnNumberDelete();
    if (m_pListener != nullptr) {
      m_pListener->OnDeleteRecord(0, bResult);
    }
    return bResult;
  }
  ICtSvcSimUpdater* pUpdater = MsisdnUpdater();
  return pUpdater != nullptr && pUpdater->DeleteRecord(nSlotIndex, this) ? TRUE : FALSE;
}

BOOL CCtSvcPhonebookMgr::GetOwnNumber(int nSlotIndex, char* pszName, int nNameSize, char* pszNumber, int nNumberSize) {
  if (!ZEL_REQUIRE_TEXT(pszName != nullptr && nNameSize > 0, "pszName") ||
      !ZEL_REQUIRE_TEXT(pszNumber != nullptr && nNumberSize > 0, "pszPhoneNumber")) {
    return FALSE;
  }
  std::string strName;
  std::string strNumber;
  if (_UsesSimOwnNumber()) {
    CCtSvcSimXdnRecord record;
    if (!CCtSvcSimMgr::Instance()->GetXdnRecord(kGetXdnMsisdn, nSlotIndex, &record)) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::GetOwnNumber -GetXdnRecord (MSISDN, index = %d) is FAILED\n",
               nSlotIndex);
      return FALSE;
    }
    strName = record.GetName();
    strNumber = record.GetPhoneNumber();
  } else if (!ReadFromPhone(&strName, &strNumber)) {
    return FALSE;
  }
  CopyOut(strName, pszName, nNameSize);
  CopyOut(strNumber, pszNumber, nNumberSize);
  return TRUE;
}

BOOL CCtSvcPhonebookMgr::GetDefaultOwnNumber(char* pszName, int nNameSize, char* pszNumber, int nNumberSize) {
  if (!_UsesSimOwnNumber()) {
    return GetOwnNumber(0, pszName, nNameSize, pszNumber, nNumberSize);
  }
  const int nCount = CCtSvcSimMgr::Instance()->GetTotalMaxRecordCount(CTSVC_SIM_MSISDN);
  for (int i = 0; i < nCount; ++i) {
    if (CCtSvcSimMgr::Instance()->IsUsedRecord(CTSVC_SIM_MSISDN, i) == 1) {
      return GetOwnNumber(i, pszName, nNameSize, pszNumber, nNumberSize);
    }
  }
  DbgPrint(DBG_CLASS_FAIL, "CtSvcPhonebookGetDefaultOwnNumber - there are No MSISDN record \n");
  return FALSE;
}

int CCtSvcPhonebookMgr::GetOwnNumberSlotCount() {
  return _UsesSimOwnNumber() ? CCtSvcSimMgr::Instance()->GetTotalMaxRecordCount(CTSVC_SIM_MSISDN) : 1;
}

int CCtSvcPhonebookMgr::GetOwnNumberUsedSlotCount() {
  if (_UsesSimOwnNumber()) {
    return CCtSvcSimMgr::Instance()->GetTotalUsedRecordCount(CTSVC_SIM_MSISDN);
  }
  return CtSvcOwnNumberGetUsedCount();
}
