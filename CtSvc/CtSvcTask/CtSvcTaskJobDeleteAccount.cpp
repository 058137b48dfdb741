// The delete-account job: record the accounts, delete their rows table by table, delete or rebuild
// the primaries that lost persons, remove their images, then forget the accounts.
#include "CtSvcTaskJobDeleteAccount.h"

#include <cstdio>
#include <utility>

#include "ContentFramework.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/DbMgr/CtSvcDbWriteUnit.h"
#include "CtSvcDB/Records/CtSvcDeleteAccount.h"
#include "CtSvcModule.h"
#include "CtSvcTaskHooks.h"
#include "Db2Statement.h"
#include "ZelDb2.h"
#include "ZelDebug.h"
#include "ZelWm.h"

namespace {

const char kDeleteAccountUri[] = "CtSvc/DeleteAccount";
const char kBatchLimit[] = " LIMIT 50";

// The tables holding account rows, in deletion order, with their device-type column (-1: none)
// and account column.
struct AccountTable {
  CtSvcDbTableType nTable;
  int nDeviceTypeColumn;
  int nAccountColumn;
  const char* szUri;
};

const AccountTable kAccountTables[] = {
    {CTSVC_DB_TABLE_PERSON, CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE, CTSVC_DB_PERSON_COLUMN_ACCOUNT_ID, "CtSvc/Person"},
    {CTSVC_DB_TABLE_CONTACTDATA, CTSVC_DB_CONTACTDATA_COLUMN_DEVICE_TYPE, CTSVC_DB_CONTACTDATA_COLUMN_ACCOUNT_ID,
     "CtSvc/PhoneNumber"},
    {CTSVC_DB_TABLE_POSTALADDRESS, -1, CTSVC_DB_POSTALADDR_COLUMN_ACCOUNT_ID, "CtSvc/PostalAddress"},
    {CTSVC_DB_TABLE_ETCDATA, CTSVC_DB_ETCDATA_COLUMN_DEVICE_TYPE, CTSVC_DB_ETCDATA_COLUMN_ACCOUNT_ID, "CtSvc/EtcData"},
    {CTSVC_DB_TABLE_RCS, -1, CTSVC_DB_RCS_COLUMN_ACCOUNT_ID, "CtSvc/Rcs"},
    {CTSVC_DB_TABLE_GROUPMEMBER, CTSVC_DB_GRPMEMBER_COLUMN_DEVICE_TYPE, CTSVC_DB_GRPMEMBER_COLUMN_ACCOUNT_ID,
     "CtSvc/GroupMember"},
    {CTSVC_DB_TABLE_IM, -1, CTSVC_DB_IM_COLUMN_ACCOUNT_ID, "CtSvc/IM"},
    {CTSVC_DB_TABLE_SNSDATA, -1, CTSVC_DB_SNSDATA_COLUMN_ACCOUNT_ID, "CtSvc/SnsData"},
    {CTSVC_DB_TABLE_SPEEDDIAL, CTSVC_DB_SPEEDDIAL_COLUMN_DEVICE_TYPE, CTSVC_DB_SPEEDDIAL_COLUMN_ACCOUNT_ID,
     "CtSvc/SpeedDial"},
};

// Holds intermediate commits paused for its lifetime.
class CCommitPause {
 public:
  CCommitPause() { Db2CommitPause(); }
  ~CCommitPause() { Db2CommitResume(); }
  CCommitPause(const CCommitPause&) = delete;
  CCommitPause& operator=(const CCommitPause&) = delete;
};

std::string Equals(const char* pszColumn, int nValue) {
  char szBuf[96];
  std::snprintf(szBuf, sizeof(szBuf), "%s = %d", pszColumn, nValue);
  return szBuf;
}

CContentFilter WhereFilter(const std::string& strWhere) {
  CContentFilter filter;
  filter.SetWhere(strWhere);
  return filter;
}

const char* ColumnName(CtSvcDbTableType nTable, int nColumn) {
  CCtSvcDbTable* pTable = CCtSvcDbMgr::Instance()->GetDBTable(nTable);
  return pTable != nullptr ? pTable->GetColumnName(nColumn) : "";
}

std::vector<int> LinkedPrimaryIds() {
  std::vector<int> vcIds;
  CDb2Statement stmt("SELECT ID FROM ctsvcprimary WHERE LINK_COUNT >=2");
  if (stmt.IsValid() && stmt.Execute() > 0) {
    int32_t nId = 0;
    while (stmt.Fetch()) {
      if (stmt.GetInt(0, nId)) {
        vcIds.push_back(nId);
      }
    }
  }
  return vcIds;
}

}  // namespace

CCtSvcTaskJobDeleteAccount::CCtSvcTaskJobDeleteAccount(int nDeviceType, std::vector<int> vcAccountIds,
                                                       CtSvcDeleteAccountCallback pfnCallback, void* pUserData)
    : m_nDeviceType(nDeviceType),
      m_vcAccountIds(std::move(vcAccountIds)),
      m_pfnCallback(pfnCallback),
      m_pUserData(pUserData),
      m_hEventHandler(WmGetCurrentEventHandler()) {}

void CCtSvcTaskJobDeleteAccount::DoWork() {
  if (!ZEL_REQUIRE_TEXT(!m_vcAccountIds.empty(), "m_nAccountIdCount > 0") || _IsAborted(1)) {
    return;
  }
  // Committed on its own: a removal cut short (abort, kill, full disk) is found and resumed at
  // the next start of the service in any process.
  _RecordAccounts();
  if (_IsAborted(2)) {
    return;
  }
  // The removal itself is one write unit, written while no other writer of this process runs: the
  // store holds the accounts' contacts whole or not at all, never persons without their primary
  // rebuilt. Readers are not held up; writers of other processes wait for the unit's end.
  CAppSvcMutexLock module(CtSvcGetModuleMutex());
  CCtSvcDbWriteUnit unit;
  if (!unit.IsOpen()) {
    return;
  }
  {
    CCtSvcTaskListenerPause listeners;
    if (!_DeleteTables() || _IsAborted(4) || !_DeleteSinglePrimaries() || _IsAborted(6) ||
        !_RearrangeLinkedPrimaries() || _IsAborted(8)) {
      return;
    }
  }
  if (_IsAborted(9)) {
    return;
  }
  _DeleteImages();
  if (_IsAborted(10)) {
    return;
  }
  m_nResult = _ForgetAccounts() && unit.KeepAndCommit() ? 1 : 0;
}

bool CCtSvcTaskJobDeleteAccount::_IsAborted(int nCheck) const {
  if (!IsAborted()) {
    return false;
  }
  if (nCheck == 2) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskJobDeleteAccount::DoWork - Abort Job#2\n");
  } else {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskJobDeleteAccount::DoWork - Abort Job #%d\n", nCheck);
  }
  return true;
}

void CCtSvcTaskJobDeleteAccount::_RecordAccounts() {
  for (int nAccountId : m_vcAccountIds) {
    char szWhere[96];
    std::snprintf(szWhere, sizeof(szWhere), "DEVICE_TYPE = %d and ACCOUNT_ID = %d", m_nDeviceType, nAccountId);
    const CContentFilter filter = WhereFilter(szWhere);
    if (CContentMgr::Instance()->GetCount(kDeleteAccountUri, &filter) > 0) {
      continue;
    }
    CCtSvcDeleteAccount deleteAccount;
    deleteAccount.SetDeviceType(static_cast<CtSvcDeviceType>(m_nDeviceType));
    deleteAccount.SetAccountId(nAccountId);
    if (deleteAccount.Insert(1) > 0) {
      DbgPrint(DBG_CLASS_TRACE,
               "CCtSvcTaskJobDeleteAccount::DoWork - pDeleteAccount->Insert(accountid(%d), deviceType(%d) success\n",
               nAccountId, m_nDeviceType);
    }
  }
}

std::string CCtSvcTaskJobDeleteAccount::_AccountCondition(const char* pszColumn) const {
  std::string strText = "(";
  for (size_t i = 0; i < m_vcAccountIds.size(); ++i) {
    strText += (i > 0 ? " or " : "") + Equals(pszColumn, m_vcAccountIds[i]);
  }
  return strText + ")";
}

bool CCtSvcTaskJobDeleteAccount::_DeleteInBatches(const char* pszUri, const std::string& strWhere, int nAbortCheck) {
  const CContentFilter filter = WhereFilter(strWhere + kBatchLimit);
  int nLeft = CContentMgr::Instance()->GetCount(pszUri, &filter);
  while (nLeft > 0) {
    if (_IsAborted(nAbortCheck)) {
      return false;
    }
    bool bDeleted = false;
    {
      CCommitPause pause;
      bDeleted = CContentMgr::Instance()->Delete(pszUri, &filter);
    }
    Db2CommitLite();
    const int nBefore = nLeft;
    nLeft = CContentMgr::Instance()->GetCount(pszUri, &filter);
    // A batch that removed nothing would be repeated for ever.
    if (!bDeleted || nLeft < 0 || nLeft >= nBefore) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcTaskJobDeleteAccount::DoWork - CContentMgr::Instance()->Delete failed\n");
      return false;
    }
  }
  return nLeft == 0;
}

bool CCtSvcTaskJobDeleteAccount::_DeleteTables() {
  for (const AccountTable& table : kAccountTables) {
    std::string strWhere = _AccountCondition(ColumnName(table.nTable, table.nAccountColumn));
    if (table.nDeviceTypeColumn >= 0) {
      strWhere += " and " + Equals(ColumnName(table.nTable, table.nDeviceTypeColumn), m_nDeviceType);
    }
    if (!_DeleteInBatches(table.szUri, strWhere, 3)) {
      return false;
    }
  }
  return true;
}

// A primary of one person of the accounts has lost that person.
bool CCtSvcTaskJobDeleteAccount::_DeleteSinglePrimaries() {
  const std::string strWhere =
      _AccountCondition(ColumnName(CTSVC_DB_TABLE_PRIMARY, CTSVC_DB_PRIMARY_COLUMN_FIRST_ACCOUNT_ID)) + " and " +
      Equals(ColumnName(CTSVC_DB_TABLE_PRIMARY, CTSVC_DB_PRIMARY_COLUMN_DEVICE_TYPE), m_nDeviceType) + " and " +
      Equals(ColumnName(CTSVC_DB_TABLE_PRIMARY, CTSVC_DB_PRIMARY_COLUMN_LINK_COUNT), 1);
  return _DeleteInBatches("CtSvc/Primary", strWhere, 5);
}

// A primary of several persons is rebuilt from the persons it still has, or deleted when every
// one of them belonged to the accounts.
bool CCtSvcTaskJobDeleteAccount::_RearrangeLinkedPrimaries() {
  const std::vector<int> vcPrimaryIds = LinkedPrimaryIds();
  if (vcPrimaryIds.empty()) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskJobDeleteAccount::DoWork - No Primary Having Link Count >= 2\n");
    return true;
  }
  const char* pszPrimaryColumn = ColumnName(CTSVC_DB_TABLE_PERSON, CTSVC_DB_PERSON_COLUMN_PRIMARY_ID);
  for (int nPrimaryId : vcPrimaryIds) {
    if (_IsAborted(7)) {
      return false;
    }
    const CContentFilter persons = WhereFilter(Equals(pszPrimaryColumn, nPrimaryId));
    bool bDone = false;
    {
      CCommitPause pause;
      bDone = CContentMgr::Instance()->GetCount("CtSvc/Person", &persons) > 0
                  ? CCtSvcDbMgr::Instance()->RearrangePrimary(nPrimaryId, 0) != FALSE
                  : CCtSvcDbMgr::Instance()->DeletePrimary(nPrimaryId) != FALSE;
    }
    Db2CommitLite();
    if (!bDone) {
      return false;
    }
  }
  return true;
}

void CCtSvcTaskJobDeleteAccount::_DeleteImages() {
  for (int nAccountId : m_vcAccountIds) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskJobDeleteAccount::DoWork -CtSvcImgDeleteAccount(%d) START\n", nAccountId);
    CtSvcTaskDeleteAccountImages(nAccountId);
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskJobDeleteAccount::DoWork -CtSvcImgDeleteAccount(%d) FINISH\n", nAccountId);
  }
}

bool CCtSvcTaskJobDeleteAccount::_ForgetAccounts() {
  for (int nAccountId : m_vcAccountIds) {
    char szWhere[96];
    std::snprintf(szWhere, sizeof(szWhere), "DEVICE_TYPE = %d and ACCOUNT_ID = %d", m_nDeviceType, nAccountId);
    const CContentFilter filter = WhereFilter(szWhere);
    if (!CContentMgr::Instance()->Delete(kDeleteAccountUri, &filter) &&
        CContentMgr::Instance()->GetCount(kDeleteAccountUri, &filter) != 0) {
      return false;  // still recorded: the removal is not done
    }
  }
  return true;
}

void CCtSvcTaskJobDeleteAccount::SendNotifyCallback() {
  if (!WmIsEventHandlerValid(m_hEventHandler)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcTaskJobDeleteAccount::SendNotifyCallback : WmIsEventHandlerValid(%d) failed \n",
             m_hEventHandler);
    return;
  }
  WmSetCurrentEventHandler(m_hEventHandler);
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskJobDeleteAccount::SendNotifyCallback : eventhandler name(%s)  \n",
           WmGetEventHandlerName(m_hEventHandler));
  if (m_pfnCallback == nullptr) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskJobDeleteAccount::SendNotifyCallback : m_pfnCallback = NULL \n");
    return;
  }
  m_pfnCallback(m_nResult, m_pUserData);
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskJobDeleteAccount::SendNotifyCallback : callback called successfully\n");
}
