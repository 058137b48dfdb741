// Running a letters statement and handing its letters to the caller.
#include "CtSvcDB/CfPlugin/CtSvcDb2Stmt.h"
#include "CtSvcTaskJobFastScroll.h"
#include "ZelDb2.h"
#include "ZelDebug.h"
#include "ZelMem.h"

namespace {

// The name of a contact without one (sorts after every real name).
const std::u16string kNoName(1, static_cast<char16_t>(0xFFFF));

}  // namespace

void CCtSvcTaskJobLetters::LetterDeleter::operator()(MCHAR* p) const { MemFree(p); }

CCtSvcTaskJobLetters::CCtSvcTaskJobLetters(const char* pszClassName, CtSvcFastScrollCallback pfnCallback,
                                           void* pUserData)
    : m_pszClassName(pszClassName), m_pfnCallback(pfnCallback), m_pUserData(pUserData) {}

bool CCtSvcTaskJobLetters::_CheckFilter(int nDevType, int nIndexType) const {
  if (!ZEL_REQUIRE_TEXT(nDevType == CTSVC_USE_TYPE_NONE || nDevType == CTSVC_USE_TYPE_PHONE ||
                            nDevType == CTSVC_USE_TYPE_SIM,
                        "m_Filter.DevType == CTSVC_USE_TYPE_NONE || m_Filter.DevType == CTSVC_USE_TYPE_PHONE || "
                        "m_Filter.DevType == CTSVC_USE_TYPE_SIM")) {
    return false;
  }
  DbgPrint(DBG_CLASS_TRACE, "%s::DoWork : request device Type '%d'\n", m_pszClassName, nDevType);
  if (nIndexType != CTSVC_FILTER_INDEX_FIRST_LAST && nIndexType != CTSVC_FILTER_INDEX_LAST_FIRST) {
    DbgPrint(DBG_CLASS_FAIL, "%s::DoWork - FilterIndexType(%d) is invalid", m_pszClassName, nIndexType);
    ZEL_NEVER_GET_HERE("NEVER_GET_HERE");
    return false;
  }
  return true;
}

void CCtSvcTaskJobLetters::DoWork() {
  std::string strSql;
  bool bBindNoName = false;
  if (!_MakeStatement(strSql, bBindNoName)) {
    return;
  }
  CCtSvcDb2Stmt stmt(strSql);
  if (!stmt.IsValid()) {
    DbgPrint(DBG_CLASS_FAIL, "%s::DoWork - Db2StmtCreate failed\n", m_pszClassName);
    return;
  }
  CCtSvcStmtBinder binder(stmt.Get());
  if (bBindNoName) {
    binder.BindText(kNoName);
  }
  const int nRow = Db2StmtExecute(stmt.Get());
  if (!ZEL_REQUIRE_TEXT(nRow >= 0, "nRow >=0")) {
    return;
  }
  if (nRow == 0) {
    DbgPrint(DBG_CLASS_TRACE, "%s::DoWork - nRow = 0 \n", m_pszClassName);
  } else {
    _ReadLetters(stmt.Get(), nRow);
  }
  stmt.Reset();
  Db2CommitLite();
}

void CCtSvcTaskJobLetters::_ReadLetters(int hStmt, int nRow) {
  m_pLetters.reset(static_cast<MCHAR*>(MemAlloc(sizeof(MCHAR) * static_cast<size_t>(nRow))));
  if (!m_pLetters) {
    DbgPrint(DBG_CLASS_FAIL, "%s::DoWork - MemAlloc failed( Row Count - %d) \n", m_pszClassName, nRow);
    return;
  }
  CContent row;
  std::u16string strLetter;
  for (int i = 0; i < nRow; ++i) {
    if (Db2StmtGetNextRow(hStmt) < 1) {
      DbgPrint(DBG_CLASS_FAIL, "%s::DoWork - Db2StmtGetNextRow < 1\n", m_pszClassName);
      break;
    }
    CtSvcReadRow(hStmt, row);
    m_pLetters[m_nLetterCount++] = row.GetString(0, strLetter) && !strLetter.empty() ? strLetter[0] : 0;
  }
}

void CCtSvcTaskJobLetters::SendNotifyCallback() {
  if (m_pfnCallback == nullptr) {
    return;
  }
  m_pfnCallback(m_nLetterCount, m_nLetterCount > 0 ? m_pLetters.get() : nullptr, m_pUserData);
}
