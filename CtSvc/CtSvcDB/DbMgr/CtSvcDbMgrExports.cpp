// Exported database-wide functions.
#include "CtSvcDb.h"
#include "CtSvcDbMgr.h"
#include "ZelDb2.h"

extern "C" BOOL CtSvcInitializeDB(void) { return CCtSvcDbMgr::Instance()->_InitializeDBTables(); }

extern "C" BOOL CtSvcUnInitializeDB(void) { return CCtSvcDbMgr::Instance()->DropDBTables(); }

extern "C" const char* CtSvcGetDBCodeVer(void) { return CCtSvcDbMgr::Instance()->GetDBCodeVersion(); }

extern "C" BOOL CtSvcIsDbFull(void) { return Db2IsVolumeFull(2) ? TRUE : FALSE; }

extern "C" BOOL CtDbSvcCreateSearchSvcIndex(void) { return CCtSvcDbMgr::Instance()->CreateSearchIndexes(); }

extern "C" BOOL CtDbSvcDeleteSearchSvcIndex(void) { return CCtSvcDbMgr::Instance()->DeleteSearchIndexes(); }
