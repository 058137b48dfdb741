// Creation and removal of the full-text index behind the name search.
#include <cstdio>
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

std::string Lower(const char* sz) {
  std::string s(sz);
  for (char& c : s) {
    c = static_cast<char>(AcTowlower(static_cast<MCHAR>(static_cast<unsigned char>(c))));
  }
  return s;
}

}  // namespace

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
  if (_IsIndexExisting(def)) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcSearchMgr::CreateIndex Index(%d) already exist\n", nType);
    return TRUE;
  }
  char szSql[512];
  std::snprintf(szSql, sizeof(szSql), "CREATE FULLTEXT INDEX  %s.%s (simplex, exactspace, utf8) ON %s (%s)",
                def.szGroup, def.szIndex, def.szTable, def.szTextColumn);
  const BOOL bResult = Db2FTSDoSyntax(szSql, 0) ? TRUE : FALSE;
  Db2Commit();
  return bResult;
}

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

