// The C callbacks of the phonebook API: the init callback hears the end of a start-up, the set
// callback the result of a SIM write. They share one user data.
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "ZelDebug.h"

CCtSvcPhonebookListener* CCtSvcPhonebookListener::Instance() {
  static CCtSvcPhonebookListener s_listener;
  return &s_listener;
}

BOOL CCtSvcPhonebookListener::OnInitPhonebook(BOOL bResult) {
  if (m_pfnInit == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookListener::OnInitPhonebook(FALSE): bResult =>%d!!!!!!\n", bResult);
    return FALSE;
  }
  m_pfnInit(bResult, m_pUserData);
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookListener::OnInitPhonebook(TRUE): bResult =>%d!!!!!!\n", bResult);
  return TRUE;
}

BOOL CCtSvcPhonebookListener::_ReportSet(int nRecordIndex, int nResult) {
  if (m_pfnSet == nullptr) {
    return FALSE;
  }
  m_pfnSet(nRecordIndex, nResult, m_pUserData);
  return TRUE;
}

BOOL CCtSvcPhonebookListener::OnInsertRecord(int nRecordIndex, int nResult) { return _ReportSet(nRecordIndex, nResult); }

BOOL CCtSvcPhonebookListener::OnUpdateRecord(int nRecordIndex, int nResult) { return _ReportSet(nRecordIndex, nResult); }

BOOL CCtSvcPhonebookListener::OnDeleteRecord(int nRecordIndex, int nResult) { return _ReportSet(nRecordIndex, nResult); }

void CCtSvcPhonebookListener::SetCallback(CtSvcPhonebookInitCallback pfnInit, void* pUserData) {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookListener::SetCallback: entered!!!!!!\n");
  m_pfnInit = pfnInit;
  m_pUserData = pUserData;
}

void CCtSvcPhonebookListener::SetSetCallback(CtSvcPhonebookSetCallback pfnSet, void* pUserData) {
  m_pfnSet = pfnSet;
  m_pUserData = pUserData;
}

void CCtSvcPhonebookListener::UnregisterInitCallback() {
  m_pfnInit = nullptr;
  m_pUserData = nullptr;
}

void CCtSvcPhonebookListener::UnregisterSetCallback() {
  m_pfnSet = nullptr;
  m_pUserData = nullptr;
}
