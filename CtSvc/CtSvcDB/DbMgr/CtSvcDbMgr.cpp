// Database manager: singleton, schema creation and removal, registration with the content
// framework, default group and the mass-insert statement cache.
#include "CtSvcDbMgr.h"

#include "CtSvcDB/CfPlugin/CtSvcContentHandlerFactory.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgrDeleteAccount.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgrLetterCounts.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgrNameOrder.h"
#include "CtSvcDB/Tables/CtSvcDbPlanStats.h"
#include "CtSvcDB/SyncObserver/CtSvcSnsSyncObserver.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

std::mutex g_instanceMutex;
std::unique_ptr<CCtSvcDbMgr> g_pInstance;

const char* const kObservedUris[] = {"CtSvc/Person", "CtSvc/PhoneNumber", "CtSvc/Email", "CtSvc/Group"};

// Write-ahead log pages after which a commit copies the log into the store: SQLite's default, and
// more while contacts are inserted in bulk, so that the pages the bulk rewrites at every commit
// (full-text and name indexes) are copied once at its end rather than at every few commits.
constexpr int kWalCheckpointPages = 1000;
constexpr int kMassWalCheckpointPages = 16000;

// Processes starting at once on a new store create its schema once: what is missing is looked for
// and made while this holds the write lock (an open write transaction whose commits wait), and
// committed when it ends. A store that cannot be written starts without the lock.
class CSchemaLock {
 public:
  CSchemaLock() {
    Db2CommitPause();
    Db2LockForWrite();
  }
  ~CSchemaLock() { Release(); }
  CSchemaLock(const CSchemaLock&) = delete;
  CSchemaLock& operator=(const CSchemaLock&) = delete;
  void Release() {
    if (m_bHeld) {
      m_bHeld = false;
      Db2CommitResume();
      Db2Commit();
    }
  }

 private:
  bool m_bHeld = true;
};

}  // namespace

CCtSvcDbMgr* CCtSvcDbMgr::Instance() {
  std::lock_guard<std::mutex> lock(g_instanceMutex);
  if (!g_pInstance) {
    g_pInstance.reset(new CCtSvcDbMgr());  // the constructor is private to the singleton
  }
  return g_pInstance.get();
}

void CCtSvcDbMgr::DestroyInstance() {
  std::unique_ptr<CCtSvcDbMgr> pOld;
  {
    std::lock_guard<std::mutex> lock(g_instanceMutex);
    pOld = std::move(g_pInstance);
  }
}

CCtSvcDbMgr::CCtSvcDbMgr() = default;

CCtSvcDbMgr::~CCtSvcDbMgr() {
  if (m_pContentHandlerFactory) {
    for (const char* szUri : kObservedUris) {
      CContentMgr::Instance()->UnregisterObserver(szUri, this);
    }
    CContentMgr::Instance()->UnregisterHandler(CTSVC_PROVIDER_NAME);
  }
  m_pContentHandlerFactory.reset();
  _DeleteTables();
  _ClearMassStatements();
}

BOOL CCtSvcDbMgr::Initialize() {
  if (!ZEL_REQUIRE(m_pContentHandlerFactory == NULL)) {
    return FALSE;
  }
  CSchemaLock schemaLock;
  if (!_InitializeDBTables()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbMgr::Initialize: - InitializeDBTables failed\n");
    return FALSE;
  }
  m_pSnsSyncObserver = std::make_unique<CCtSvcSnsSyncObserver>();
  m_pContentHandlerFactory = std::make_unique<CCtSvcContentHandlerFactory>();
  if (!m_pContentHandlerFactory) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbMgr::Initialize: - m_pContentHandlerFactory allocation failed\n");
    return FALSE;
  }
  _RegisterWithFramework();
  _InsertDefaultGroup();
  CreateSearchIndexes();
  schemaLock.Release();
  return _ResumeDeleteAccounts();
}

// Registers the handler factory and observes the URIs whose changes cascade. Failures are logged only.
BOOL CCtSvcDbMgr::_RegisterWithFramework() {
  const bool bHandler = CContentMgr::Instance()->RegisterHandler(CTSVC_PROVIDER_NAME, m_pContentHandlerFactory.get());
  DbgPrint(bHandler ? DBG_CLASS_TRACE : DBG_CLASS_FAIL,
           bHandler ? "CCtSvcDbMgr::Initialize: - CContentMgr::Instance()->RegisterHandler success\n"
                    : "CCtSvcDbMgr::Initialize: - CContentMgr::Instance()->RegisterHandler failed\n");
  bool bAll = bHandler;
  for (const char* szUri : kObservedUris) {
    const bool bObserver = CContentMgr::Instance()->RegisterObserver(szUri, this);
    DbgPrint(bObserver ? DBG_CLASS_TRACE : DBG_CLASS_FAIL,
             bObserver ? "CCtSvcDbMgr::Initialize: - CContentMgr::Instance()->RegisterObserver success\n"
                       : "CCtSvcDbMgr::Initialize: - CContentMgr::Instance()->RegisterObserver failed\n");
    bAll = bAll && bObserver;
  }
  return bAll ? TRUE : FALSE;
}

// Group 1 holds the phone contacts that belong to no other group; it always exists.
BOOL CCtSvcDbMgr::_InsertDefaultGroup() {
  CContent group;
  if (CContentMgr::Instance()->GetContent("CtSvc/Group", CTSVC_NOT_ASSIGNED_GROUP_ID, group)) {
    return TRUE;
  }
  CCtSvcDbTable* pTable = GetDBTable(CTSVC_DB_TABLE_GROUP);
  if (pTable == nullptr) {
    return FALSE;
  }
  CContentInput input;
  input.SetInt(pTable->GetColumnName(CTSVC_DB_GROUP_COLUMN_ID), CTSVC_NOT_ASSIGNED_GROUP_ID);
  input.SetInt(pTable->GetColumnName(CTSVC_DB_GROUP_COLUMN_ACCOUNT_ID), 0);
  input.SetInt(pTable->GetColumnName(CTSVC_DB_GROUP_COLUMN_SLOT_INDEX), 0);
  input.SetInt8(pTable->GetColumnName(CTSVC_DB_GROUP_COLUMN_DEVICE_TYPE), CTSVC_USE_TYPE_PHONE);
  input.SetInt8(pTable->GetColumnName(CTSVC_DB_GROUP_COLUMN_TYPE), 0);
  input.SetNString(pTable->GetColumnName(CTSVC_DB_GROUP_COLUMN_NAME), u"");
  input.SetNString(pTable->GetColumnName(CTSVC_DB_GROUP_COLUMN_SNAME), u"");
  input.SetNString(pTable->GetColumnName(CTSVC_DB_GROUP_COLUMN_RINGTONE), u"");
  const int nId = CContentMgr::Instance()->Insert("CtSvc/Group", input);
  Db2Commit();
  if (pTable->PeekNextRecordId() <= CTSVC_NOT_ASSIGNED_GROUP_ID) {
    pTable->ResetNextRecordId();
  }
  return nId == CTSVC_NOT_ASSIGNED_GROUP_ID ? TRUE : FALSE;
}

// Restarts the removal of every account whose deletion had not finished.
BOOL CCtSvcDbMgr::_ResumeDeleteAccounts() {
  std::vector<CContent> vcContent;
  if (!CContentMgr::Instance()->GetContents("CtSvc/DeleteAccount", nullptr, vcContent)) {
    return TRUE;
  }
  BOOL bResult = TRUE;
  for (const CContent& row : vcContent) {
    int8_t nDeviceType = 0;
    int32_t nAccountId = 0;
    if (!row.GetInt8(CTSVC_DB_DELETEACCOUNT_COLUMN_DEVICE_TYPE, nDeviceType)) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbMgr::Initialize - vcContent[i].GetInt8 failed\n");
      bResult = FALSE;
      continue;
    }
    row.GetInt(CTSVC_DB_DELETEACCOUNT_COLUMN_ACCOUNT_ID, nAccountId);
    CtSvcDbMgrStartDeleteAccount(nDeviceType, nAccountId);
  }
  return bResult;
}

BOOL CCtSvcDbMgr::_InitializeDBTables() {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbMgr::_InitializeDBTables: - _InitializeDBTables entered\n");
  bool bPersonExisted = true;
  for (int nType = 0; nType < CTSVC_DB_TABLE_MAX; ++nType) {
    if (!m_pCtSvcDbTable[nType]) {
      m_pCtSvcDbTable[nType] = CtSvcCreateDbTable(nType);
    }
    if (nType == CTSVC_DB_TABLE_PERSON) {
      bPersonExisted = m_pCtSvcDbTable[nType]->VerifyTable() != FALSE;
    }
    if (!m_pCtSvcDbTable[nType]->CreateTable()) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbMgr::_InitializeDBTables: - m_pCtSvcDbTable[%d]->CreateTable failed\n", nType);
      _DeleteTables();
      return FALSE;
    }
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbMgr::_InitializeDBTables: - m_pCtSvcDbTable[%d]->CreateTable success\n", nType);
  }
  if (!bPersonExisted) {
    Db2SetSchemaVer("CtSvc", CTSVC_DB_SCHEMA_VERSION);
  }
  // An older store: name columns declared, and letters computed, in another order.
  for (auto& pTable : m_pCtSvcDbTable) {
    CtSvcDeclareNameOrder(*pTable);
  }
  CtSvcRefreshNameLetters(*m_pCtSvcDbTable[CTSVC_DB_TABLE_PERSON], *m_pCtSvcDbTable[CTSVC_DB_TABLE_PRIMARY]);
  CtSvcWritePlanStats();
  Db2Commit();
  CtSvcEnsureLetterCounts();  // until it succeeds, the letters are grouped from the primaries
  return TRUE;
}

BOOL CCtSvcDbMgr::DropDBTables() {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbMgr::DropDBTables: - DropDBTables entered\n");
  if (!CtSvcDropLetterCounts()) {
    return FALSE;
  }
  for (int nType = 0; nType < CTSVC_DB_TABLE_MAX; ++nType) {
    if (!m_pCtSvcDbTable[nType]) {
      m_pCtSvcDbTable[nType] = CtSvcCreateDbTable(nType);
    }
    if (!m_pCtSvcDbTable[nType]->DestroyTable()) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbMgr::DropDBTables: - m_pCtSvcDbTable[%d]->DestroyTable failed\n", nType);
      _DeleteTables();
      return FALSE;
    }
  }
  Db2Commit();
  return TRUE;
}

void CCtSvcDbMgr::_DeleteTables() {
  for (auto& pTable : m_pCtSvcDbTable) {
    pTable.reset();
  }
}

const char* CCtSvcDbMgr::GetDBCodeVersion() {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbMgr::GetDBCodeVersion: CtDbSchema version %s\n", CTSVC_DB_SCHEMA_VERSION);
  return CTSVC_DB_SCHEMA_VERSION;
}

CCtSvcDbTable* CCtSvcDbMgr::GetDBTable(int nTableType) {
  if (!ZEL_REQUIRE_TEXT(nTableType > CTSVC_DB_TABLE_INVALID && nTableType < CTSVC_DB_TABLE_MAX,
                        "TableType > CTSVC_DB_TABLE_INVALID && TableType < CTSVC_DB_TABLE_MAX")) {
    return nullptr;
  }
  if (!m_pCtSvcDbTable[nTableType]) {
    // A table object is made on demand so that callers before Initialize still get descriptors.
    m_pCtSvcDbTable[nTableType] = CtSvcCreateDbTable(nTableType);
    m_pCtSvcDbTable[nTableType]->ResetNextRecordId();
  }
  return m_pCtSvcDbTable[nTableType].get();
}

void CCtSvcDbMgr::SetInsertMassFlag(int bMassFlag) {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbMgr::SetInsertMassFlag: bMassFlag is %d \n", bMassFlag);
  std::lock_guard<std::recursive_mutex> lock(m_massMutex);
  m_bInsertMassFlag = bMassFlag;
  Db2QueryEx("PRAGMA wal_autocheckpoint=%d", bMassFlag != 0 ? kMassWalCheckpointPages : kWalCheckpointPages);
  if (bMassFlag == 0) {
    _ClearMassStatements();
  }
}

int CCtSvcDbMgr::GetMassInsertStatement(const std::string& strSql) {
  std::lock_guard<std::recursive_mutex> lock(m_massMutex);
  if (m_bInsertMassFlag == 0) {
    return -1;
  }
  for (const auto& kept : m_vcMassInsertStmts) {
    if (kept.first == strSql) {
      return kept.second;
    }
  }
  const int hStmt = Db2StmtCreate(strSql.c_str());
  if (hStmt >= 0) {
    m_vcMassInsertStmts.emplace_back(strSql, hStmt);
  }
  return hStmt;
}

void CCtSvcDbMgr::_ClearMassStatements() {
  std::lock_guard<std::recursive_mutex> lock(m_massMutex);
  for (const auto& kept : m_vcMassInsertStmts) {
    Db2StmtClearRow(kept.second);
    Db2StmtDestroy(kept.second);
  }
  m_vcMassInsertStmts.clear();
}
