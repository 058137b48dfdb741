// Exported database-wide functions.
#include <cstdio>

#include "CtSvcDb.h"
#include "CtSvcDbMgr.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

extern "C" BOOL CtSvcInitializeDB(void) { return CCtSvcDbMgr::Instance()->_InitializeDBTables(); }

extern "C" BOOL CtSvcUnInitializeDB(void) { return CCtSvcDbMgr::Instance()->DropDBTables(); }

extern "C" const char* CtSvcGetDBCodeVer(void) { return CCtSvcDbMgr::Instance()->GetDBCodeVersion(); }

extern "C" BOOL CtSvcIsDbFull(void) { return Db2IsVolumeFull(2) ? TRUE : FALSE; }

extern "C" BOOL CtSvcDbGetTableInfo(INT32 nIndex, char* pszName, INT32 nNameSize, INT32* pnRows) {
  if (nIndex < 0 || nIndex >= CTSVC_DB_TABLE_MAX || !ZEL_REQUIRE(pszName) || !ZEL_REQUIRE(nNameSize > 0) ||
      !ZEL_REQUIRE(pnRows)) {
    return FALSE;
  }
  CCtSvcDbTable* pTable = CCtSvcDbMgr::Instance()->GetDBTable(nIndex);
  if (pTable == nullptr) {
    return FALSE;
  }
  std::snprintf(pszName, static_cast<size_t>(nNameSize), "%s", pTable->GetTableName());
  *pnRows = pTable->GetTotalRecordCount();
  return TRUE;
}

extern "C" BOOL CtDbSvcCreateSearchSvcIndex(void) { return CCtSvcDbMgr::Instance()->CreateSearchIndexes(); }

extern "C" BOOL CtDbSvcDeleteSearchSvcIndex(void) { return CCtSvcDbMgr::Instance()->DeleteSearchIndexes(); }
