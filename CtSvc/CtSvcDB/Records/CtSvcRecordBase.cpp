// Insert, update, id reservation and commits of the record base.
#include "CtSvcRecordBase.h"

#include "ContentFramework.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcBulkCounter.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

int CCtSvcRecord::Insert(int bCommit) {
  DbgPrint(DBG_CLASS_TRACE, "**************  CCtSvcRecord::Insert begin(%s) ***************", _GetURI());
  _PrepareInsertRecord();
  CContentInput input;
  if (GetData(input) == 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcRecord::Insert - GetData failed \n");
    return -1;
  }
  SetRecordId(CContentMgr::Instance()->Insert(_BulkUri(bCommit), input));
  _CountWrite(bCommit);
  DbgPrint(DBG_CLASS_TRACE, "**************  CCtSvcRecord::Insert end(%s) ***************", _GetURI());
  return GetRecordId();
}

int CCtSvcRecord::Update(int nId, int bCommit) {
  _PrepareUpdateRecord();
  CContentInput input;
  if (GetData(input) == 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcRecord::Update - GetData failed \n");
    return 0;
  }
  if (!CContentMgr::Instance()->Update(_BulkUri(bCommit), nId, input)) {
    return 0;
  }
  _CountWrite(bCommit);
  return 1;
}

std::string CCtSvcRecord::_BulkUri(int bCommit) const {
  std::string strUri = _GetURI();
  if (bCommit == 0) {
    strUri += "/BulkOperation";
  }
  return strUri;
}

// Writes without commit are committed once per CTSVC_BULK_COMMIT_INTERVAL; a committed write
// has committed everything before it.
void CCtSvcRecord::_CountWrite(int bCommit) {
  if (bCommit != 0) {
    CtSvcResetBulkCounter();
  } else if (CtSvcIncrementBulkCounter() >= CTSVC_BULK_COMMIT_INTERVAL) {
    DbCommit();
  }
}

int CCtSvcRecord::DbCommit() {
  if (Db2IsCommitPaused()) {
    return 1;  // nothing is committed now: the writes stay counted until commits resume
  }
  const BOOL bCommitted = Db2Commit();
  CtSvcResetBulkCounter();
  return bCommitted ? 1 : 0;  // a commit the disk refuses was rolled back
}

CCtSvcDbTable* CCtSvcRecord::_GetTable() const {
  CCtSvcDbTable* pListTable = nullptr;
  if (m_TableType > CTSVC_DB_TABLE_INVALID && m_TableType < CTSVC_DB_TABLE_MAX) {
    pListTable = CCtSvcDbMgr::Instance()->GetDBTable(m_TableType);
  }
  ZEL_REQUIRE(pListTable);
  return pListTable;
}

int CCtSvcRecord::ReserveRecordId() {
  CCtSvcDbTable* pListTable = _GetTable();
  if (pListTable == nullptr) {
    return -1;
  }
  SetRecordId(pListTable->TakeNextRecordId());
  return GetRecordId();
}

int CCtSvcRecord::PredictNextRecordId() const {
  if (GetRecordId() != -1) {
    return GetRecordId();
  }
  CCtSvcDbTable* pListTable = _GetTable();
  return pListTable != nullptr ? pListTable->PeekNextRecordId() : -1;
}

void CCtSvcRecord::_PrepareInsertRecord() {
  if (GetRecordId() == -1) {
    ReserveRecordId();
  }
}

void CCtSvcRecord::_CopyFrom(const CCtSvcRecord& other) {
  m_TableType = other.m_TableType;
  m_nIdColumnIndex = other.m_nIdColumnIndex;
  m_nRecordId = other.m_nRecordId;
}

std::string CCtSvcRecord::_GetIDColumnName() const {
  CCtSvcDbTable* pListTable = _GetTable();
  if (pListTable == nullptr) {
    return std::string();
  }
  const char* szName = pListTable->GetColumnName(m_nIdColumnIndex);
  return szName != nullptr ? szName : std::string();
}
