#include "CtSvcSim/SimUpdater/CtSvcSimUpdater.h"

#include <cstring>

#include "CtSvcSim/SimFile/CtSvcExtFile.h"
#include "ZelDebug.h"

namespace {

// What a BCD digit of a card record can be; '+' travels as the number's type instead.
constexpr char kCardCharacters[] = "0123456789*#,?+";

}  // namespace

CtSvcSimNumberDigits CtSvcSimSplitNumber(const std::string& strNumber) {
  CtSvcSimNumberDigits digits;
  size_t nStart = 0;
  if (!strNumber.empty() && strNumber[0] == '+') {
    digits.bInternational = 1;
    nStart = 1;
  }
  digits.strDigits = strNumber.substr(nStart);
  for (const char c : digits.strDigits) {
    if (c == '\0' || std::strchr(kCardCharacters, c) == nullptr) {
      digits.bValid = false;
    }
  }
  return digits;
}

CCtSvcSimUpdater::CCtSvcSimUpdater(int nSimFileID, ICtSvcSimFileContainer* pContainer, const char* pszClassName)
    : m_pContainer(pContainer), m_nSimFileID(nSimFileID), m_pszClassName(pszClassName) {}

BOOL CCtSvcSimUpdater::InsertRecord(int nRecordIndex, const CCtSvcSimRecord* pRecord,
                                    ICtSvcSimUpdateListener* pListener) {
  if (!ZEL_REQUIRE(GetSimFileContainer()) ||
      !ZEL_REQUIRE_TEXT(nRecordIndex >= CTSVC_SIM_SLOT_AUTOINCREASE, "nRecordIndex >= CTSVC_SIM_SLOT_AUTOINCREASE") ||
      !ZEL_REQUIRE(pRecord) || !ZEL_REQUIRE(pListener) || !ZEL_REQUIRE(GetState() == CTSVC_SIM_UPDATER_IDLE)) {
    return FALSE;
  }
  if (nRecordIndex == CTSVC_SIM_SLOT_AUTOINCREASE) {
    nRecordIndex = _GetUnusedRecordIndex();
    if (nRecordIndex < 0) {
      DbgPrint(DBG_CLASS_FAIL, "%s::InsertRecord - there is no free record\n", m_pszClassName);
      return FALSE;
    }
  }
  return _Start(CTSVC_SIM_UPDATER_INSERTING, nRecordIndex, pListener,
                [&](int nIndex) { return _BuildWrite(nIndex, *pRecord, true); });
}

BOOL CCtSvcSimUpdater::UpdateRecord(int nRecordIndex, const CCtSvcSimRecord* pRecord,
                                    ICtSvcSimUpdateListener* pListener) {
  if (!ZEL_REQUIRE(GetSimFileContainer()) || !ZEL_REQUIRE(nRecordIndex >= 0) || !ZEL_REQUIRE(pRecord) ||
      !ZEL_REQUIRE(pListener) || !ZEL_REQUIRE(GetState() == CTSVC_SIM_UPDATER_IDLE)) {
    return FALSE;
  }
  return _Start(CTSVC_SIM_UPDATER_UPDATING, nRecordIndex, pListener,
                [&](int nIndex) { return _BuildWrite(nIndex, *pRecord, false); });
}

BOOL CCtSvcSimUpdater::DeleteRecord(int nRecordIndex, ICtSvcSimUpdateListener* pListener) {
  if (!ZEL_REQUIRE(GetSimFileContainer()) || !ZEL_REQUIRE(nRecordIndex >= 0) || !ZEL_REQUIRE(pListener) ||
      !ZEL_REQUIRE(GetState() == CTSVC_SIM_UPDATER_IDLE)) {
    return FALSE;
  }
  return _Start(CTSVC_SIM_UPDATER_DELETING, nRecordIndex, pListener,
                [&](int nIndex) { return _BuildDelete(nIndex); });
}

template <class TBuild>
BOOL CCtSvcSimUpdater::_Start(int nState, int nRecordIndex, ICtSvcSimUpdateListener* pListener, TBuild build) {
  m_pListener = pListener;
  m_nFileKind = m_nSimFileID;
  m_nRecordIndex = nRecordIndex;
  _SetState(nState);
  m_qWork.clear();
  if (!build(nRecordIndex) || m_qWork.empty()) {
    DbgPrint(DBG_CLASS_FAIL, "%s - building the writes of record(%d) failed\n", m_pszClassName, nRecordIndex);
    m_qWork.clear();
    _SetState(CTSVC_SIM_UPDATER_IDLE);
    return FALSE;
  }
  if (!_DoNextWork()) {
    m_qWork.clear();
    _SetState(CTSVC_SIM_UPDATER_IDLE);
    return FALSE;
  }
  return TRUE;
}

void CCtSvcSimUpdater::_AddWork(int nRecordIndex, int nCmd, CCtSvcSimFile* pFile) {
  // Memory is complete before the first write goes out, so a record already queued for writing
  // carries every later change of the series too.
  for (const Work& work : m_qWork) {
    if (nCmd == CTSVC_SIM_WORK_WRITE && work.nCmd == nCmd && work.pSimFile == pFile && work.nRecordIndex == nRecordIndex) {
      return;
    }
  }
  m_qWork.push_back(Work{nRecordIndex, nCmd, pFile});
}

BOOL CCtSvcSimUpdater::_DoNextWork() {
  if (!ZEL_REQUIRE(!m_qWork.empty())) {
    return FALSE;
  }
  const Work& work = m_qWork.front();
  switch (work.nCmd) {
    case CTSVC_SIM_WORK_WRITE:
      return work.pSimFile->UpdateRecord(work.nRecordIndex, this);
    case CTSVC_SIM_WORK_ERASE:
      return work.pSimFile->DeleteRecord(work.nRecordIndex, this);
    default:
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimAdnUpdater::_DoNextWork - Cmd is invalid : %d(SimFileID = %d)\n", work.nCmd,
               work.pSimFile->GetSimFileID());
      return FALSE;
  }
}

void CCtSvcSimUpdater::OnUpdated(int nSimFileID, BOOL bSuccess) {
  if (!ZEL_REQUIRE(!m_qWork.empty()) ||
      !ZEL_REQUIRE_TEXT(nSimFileID == m_qWork.front().pSimFile->GetSimFileID(),
                        "simFileID == m_qWork.front().pSimFile->GetSimFileID()")) {
    return;
  }
  m_qWork.pop_front();
  if (!bSuccess) {
    // The card refused a write: what follows builds on it (an extension before its record), so
    // the series stops here.
    DbgPrint(DBG_CLASS_FAIL, "%s::OnUpdated - writing SimFileID(%d) failed, %d writes dropped\n", m_pszClassName,
             nSimFileID, static_cast<int>(m_qWork.size()));
    _Finish(FALSE);
    return;
  }
  if (m_qWork.empty()) {
    _Finish(TRUE);
    return;
  }
  if (!_DoNextWork()) {
    DbgPrint(DBG_CLASS_FAIL, "%s::OnUpdated - the next write could not be sent\n", m_pszClassName);
    _Finish(FALSE);
  }
}

void CCtSvcSimUpdater::_Finish(BOOL bSuccess) {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimUpdater::OnUpdated- SIM updating is complete(%d)\n", bSuccess);
  m_qWork.clear();
  const int nState = m_State;
  const int nFileKind = m_nFileKind;
  const int nRecordIndex = m_nRecordIndex;
  ICtSvcSimUpdateListener* pListener = m_pListener;
  m_pListener = nullptr;
  _SetState(CTSVC_SIM_UPDATER_IDLE);
  // Idle before the call: the listener may start the next change from it.
  switch (nState) {
    case CTSVC_SIM_UPDATER_INSERTING:
      pListener->OnInsertRecord(nFileKind, nRecordIndex, bSuccess);
      break;
    case CTSVC_SIM_UPDATER_UPDATING:
      pListener->OnUpdateRecord(nFileKind, nRecordIndex, bSuccess);
      break;
    case CTSVC_SIM_UPDATER_DELETING:
      pListener->OnDeleteRecord(nFileKind, nRecordIndex, bSuccess);
      break;
    default:
      ZEL_NEVER_GET_HERE("a finished series without a state");
      break;
  }
}

void CCtSvcSimUpdater::_SetState(int nState) {
  m_State = nState;
  if (nState == CTSVC_SIM_UPDATER_IDLE) {
    m_nFileKind = -1;
    m_nRecordIndex = -1;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimUpdater::SetState - m_State(%d)\n", nState);
}

void CCtSvcSimUpdater::_EraseRecord(CCtSvcSimFile* pFile, int nRecordIndex) {
  pFile->FreeRecord(nRecordIndex);
  _AddWork(nRecordIndex, CTSVC_SIM_WORK_ERASE, pFile);
}

void CCtSvcSimUpdater::_EraseExtChain(CCtSvcExtFile* pExtFile, int nExtIndex) {
  if (pExtFile == nullptr) {
    return;
  }
  // Each released slot ends a loop through it: the walk stops at an unused slot.
  while (nExtIndex >= 0 && nExtIndex != CTSVC_SIM_LINK_NONE && pExtFile->IsUsed(nExtIndex)) {
    const int nNext = pExtFile->GetNextRecord(nExtIndex);
    _EraseRecord(pExtFile, nExtIndex);
    nExtIndex = nNext;
  }
}

BOOL CCtSvcSimUpdater::_SaveExtNumberData(CCtSvcExtFile* pExtFile, const std::string& strDigits, UINT8* pnExtIndex) {
  const int nExtIndex = pExtFile->GetUnusedRecordIndex();
  if (nExtIndex < 0 || nExtIndex >= CTSVC_SIM_LINK_NONE) {
    DbgPrint(DBG_CLASS_TRACE, "%s - no free extension record, the digits beyond %d are dropped\n", m_pszClassName,
             CTSVC_SIM_RECORD_DIGITS_MAX);
    return TRUE;
  }
  if (!pExtFile->PrepareInsertRecord(nExtIndex)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimUpdater::_SaveEXTNumberData - PrepareInsertRecord() is FAILED(%d)\n", nExtIndex);
    return FALSE;
  }
  pExtFile->SetRecordType(nExtIndex, CTSVC_SIM_EXT_TYPE_ADDITIONAL_DATA);
  pExtFile->SetExtensionData(nExtIndex, strDigits.substr(0, CTSVC_SIM_RECORD_DIGITS_MAX).c_str());
  pExtFile->SetNextRecord(nExtIndex, CTSVC_SIM_LINK_NONE);
  _AddWork(nExtIndex, CTSVC_SIM_WORK_WRITE, pExtFile);
  *pnExtIndex = static_cast<UINT8>(nExtIndex);
  return TRUE;
}

BOOL CCtSvcSimUpdater::_CheckDialNumber(const CCtSvcDialNumberFile* pFile, int nRecordIndex,
                                        const CCtSvcSimXdnRecord& record) const {
  if (nRecordIndex >= pFile->GetMaxRecordCount()) {
    DbgPrint(DBG_CLASS_FAIL, "%s - nRecordIndex(%d) is beyond the %d records of the file\n", m_pszClassName,
             nRecordIndex, pFile->GetMaxRecordCount());
    return FALSE;
  }
  if (!CtSvcSimSplitNumber(record.GetPhoneNumber()).bValid) {
    DbgPrint(DBG_CLASS_FAIL, "%s - the number holds a character a SIM card cannot store\n", m_pszClassName);
    return FALSE;
  }
  if (!pFile->IsUsed(nRecordIndex) && record.GetName().empty() && record.GetPhoneNumber().empty()) {
    DbgPrint(DBG_CLASS_FAIL, "%s - a record needs a name or a number\n", m_pszClassName);
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcSimUpdater::_SetDialNumberEntry(CCtSvcDialNumberFile* pFile, int nRecordIndex,
                                           const CCtSvcSimXdnRecord& record, CCtSvcExtFile* pExtFile) {
  if (!_CheckDialNumber(pFile, nRecordIndex, record)) {
    return FALSE;
  }
  const CtSvcSimNumberDigits number = CtSvcSimSplitNumber(record.GetPhoneNumber());
  if (pFile->IsUsed(nRecordIndex)) {
    _EraseExtChain(pExtFile, pFile->GetExtIndex(nRecordIndex));
  } else if (!pFile->PrepareInsertRecord(nRecordIndex)) {
    return FALSE;
  }
  if (!record.GetName().empty()) {
    pFile->SetName(nRecordIndex, record.GetName().c_str());
  }
  UINT8 nExtIndex = CTSVC_SIM_LINK_NONE;
  if (number.strDigits.size() > CTSVC_SIM_RECORD_DIGITS_MAX && pExtFile != nullptr &&
      !_SaveExtNumberData(pExtFile, number.strDigits.substr(CTSVC_SIM_RECORD_DIGITS_MAX), &nExtIndex)) {
    return FALSE;
  }
  pFile->SetPhoneNumber(nRecordIndex, number.strDigits.substr(0, CTSVC_SIM_RECORD_DIGITS_MAX).c_str());
  pFile->SetInternational(nRecordIndex, number.bInternational);
  pFile->SetExtIndex(nRecordIndex, nExtIndex);
  return TRUE;
}

BOOL CCtSvcSimUpdater::_EraseDialNumberEntry(CCtSvcDialNumberFile* pFile, int nRecordIndex, CCtSvcExtFile* pExtFile) {
  if (!pFile->IsUsed(nRecordIndex)) {
    DbgPrint(DBG_CLASS_FAIL, "%s - the record(%d) is not used\n", m_pszClassName, nRecordIndex);
    return FALSE;
  }
  const int nExtIndex = pFile->GetExtIndex(nRecordIndex);
  _EraseRecord(pFile, nRecordIndex);
  _EraseExtChain(pExtFile, nExtIndex);
  return TRUE;
}
