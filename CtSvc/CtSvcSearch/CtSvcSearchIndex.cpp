// Creation and removal of the full-text index behind the name search.
#include <cstdio>
#include <cstring>
#include <string>

#include "CtSvcSearchMgr.h"
#include "ZelAc.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

const CtSvcSearchIndexDef kIndexDefs[CTSVC_SEARCH_TYPE_MAX] = {
    {"CtPrimaryGroup", "CtSvcPrimary", "CtPrimaryIndex", "FL_FULLNAME", "ID", "DEVICE_TYPE", "SEARCH_FILTER_FLAG"},
    {"searchct", "CtSvcPerson", "ctfl_fullname", "FL_FULLNAME", "ID", "DEVICE_TYPE", "SEARCH_FILTER_FLAG"},
};

// The shape of the name index this code reads and writes, recorded in the store; a store that
// records another one (or none) has its index rebuilt at start.
constexpr char kSearchModule[] = "CtSvc.search";
constexpr char kSearchShape[] = "ranked 1";
// The second order of the ranked index: names last name first.
constexpr char kLastFirstColumn[] = "LF_FULLNAME";

std::string Lower(const char* sz) {
  std::string s(sz);
  for (char& c : s) {
    c = static_cast<char>(AcTowlower(static_cast<MCHAR>(static_cast<unsigned char>(c))));
  }
  return s;
}

}  // namespace

void (*CCtSvcSearchMgr::s_pfnMigrationHook)() = nullptr;

CCtSvcSearchMgr* CCtSvcSearchMgr::Instance() {
  static CCtSvcSearchMgr s_instance;
  return &s_instance;
}

const CtSvcSearchIndexDef* CCtSvcSearchMgr::GetIndexDef(int nType) {
  return nType >= 0 && nType < CTSVC_SEARCH_TYPE_MAX ? &kIndexDefs[nType] : nullptr;
}

bool CCtSvcSearchMgr::_IsIndexExisting(const CtSvcSearchIndexDef& def) {
  return Db2QueryEx("SELECT * FROM sysirs_indexes where groupname = '%s' and idxname = '%s'",
                    Lower(def.szGroup).c_str(), Lower(def.szIndex).c_str()) > 0;
}

BOOL CCtSvcSearchMgr::CreateIndex(int nType) {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSearchMgr::CreateIndex Index(%d) start\n", nType);
  if (nType != CTSVC_SEARCH_TYPE_PRIMARY) {
    return FALSE;
  }
  const CtSvcSearchIndexDef& def = kIndexDefs[nType];
  if (_IsIndexCurrent(def)) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcSearchMgr::CreateIndex Index(%d) already exist\n", nType);
    return TRUE;
  }
  // An index of an earlier shape is replaced in one unit with the recorded shape: a process
  // stopped half-way leaves the store as it was, and its next start builds the index again.
  Release(nType);
  if (!Db2UnitBegin()) {
    return FALSE;
  }
  if (_IsIndexCurrent(def)) {  // another process built it while this one waited for the lock
    Db2UnitEnd(TRUE);
    return TRUE;
  }
  BOOL bResult = TRUE;
  if (_IsIndexExisting(def)) {
    bResult = Db2FTSDoSyntax((std::string("DROP FULLTEXT INDEX ") + def.szGroup + "." + def.szIndex).c_str(), 0);
  }
  if (bResult && s_pfnMigrationHook != nullptr) {
    s_pfnMigrationHook();
  }
  char szSql[512];
  std::snprintf(szSql, sizeof(szSql),
                "CREATE FULLTEXT INDEX  %s.%s (simplex, exactspace, utf8) ON %s (%s ORDER BY %s, %s RANGE %s)",
                def.szGroup, def.szIndex, def.szTable, def.szTextColumn, def.szTextColumn, kLastFirstColumn,
                def.szDeviceTypeColumn);
  bResult = bResult && Db2FTSDoSyntax(szSql, 0) && Db2SetSchemaVer(kSearchModule, kSearchShape);
  bResult = Db2UnitEnd(bResult) && bResult;
  Db2Commit();
  if (bResult) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcSearchMgr::CreateIndex Index(%d) built as %s\n", nType, kSearchShape);
  }
  return bResult;
}

bool CCtSvcSearchMgr::_IsIndexCurrent(const CtSvcSearchIndexDef& def) {
  char szShape[64] = {};
  return _IsIndexExisting(def) && Db2GetSchemaVer(kSearchModule, szShape, sizeof(szShape)) &&
         std::strcmp(szShape, kSearchShape) == 0;
}

void CCtSvcSearchMgr::SetMigrationHook(void (*pfnHook)()) { s_pfnMigrationHook = pfnHook; }

BOOL CCtSvcSearchMgr::DeleteIndex(int nType) {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSearchMgr::DeleteIndex Index(%d) start\n", nType);
  if (nType != CTSVC_SEARCH_TYPE_PRIMARY) {
    return FALSE;
  }
  const CtSvcSearchIndexDef& def = kIndexDefs[nType];
  if (!_IsIndexExisting(def)) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcSearchMgr::CreateIndex DeleteIndex(%d) is not exist\n", nType);
    return TRUE;
  }
  char szSql[128];
  std::snprintf(szSql, sizeof(szSql), "DROP FULLTEXT INDEX %s", def.szGroup);
  const BOOL bResult = Db2FTSDoSyntax(szSql, 0) ? TRUE : FALSE;
  Db2Commit();
  return bResult;
}

