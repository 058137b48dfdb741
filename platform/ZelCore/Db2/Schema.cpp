// Db2CheckTable and the schema versions of modules.
#include <cstring>
#include <string>

#include "Connection.h"
#include "Exec.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

using zel::db2::Connection;
using zel::db2::Guard;
using zel::db2::StmtLease;

// Runs a one-statement SQLite text with text parameters; onRow sees each row.
template <typename OnRow>
bool Run(const char* pszWho, const char* pszSql, std::initializer_list<const char*> params, OnRow onRow) {
  Connection& conn = Connection::Instance();
  StmtLease lease = conn.PrepareDialect(pszSql, pszWho);
  if (!lease) {
    return false;
  }
  int n = 1;
  for (const char* psz : params) {
    sqlite3_bind_text(lease.Get(), n++, psz, -1, SQLITE_STATIC);
  }
  return zel::db2::RunToEnd(lease.Get(), pszWho, onRow) == SQLITE_DONE;
}

}  // namespace

extern "C" int Db2CheckTable(const char* pszTableName) {
  if (!ZEL_REQUIRE(pszTableName != NULL)) {
    return 0;
  }
  Guard guard(Connection::Instance().Mutex());
  int nFound = 0;
  Run("Db2CheckTable", "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE",
      {pszTableName}, [&](sqlite3_stmt*) { nFound = 1; });
  return nFound;
}

extern "C" BOOL Db2SetSchemaVer(const char* pszModule, const char* pszVersion) {
  if (!ZEL_REQUIRE(pszModule != NULL) || !ZEL_REQUIRE(pszVersion != NULL)) {
    return FALSE;
  }
  Guard guard(Connection::Instance().Mutex());
  return Run("Db2SetSchemaVer", "INSERT OR REPLACE INTO sysschema_versions (module, version) VALUES (?, ?)",
             {pszModule, pszVersion}, [](sqlite3_stmt*) {})
             ? TRUE
             : FALSE;
}

extern "C" BOOL Db2GetSchemaVer(const char* pszModule, char* pszVersion, UINT32 nSize) {
  if (!ZEL_REQUIRE(pszModule != NULL) || !ZEL_REQUIRE(pszVersion != NULL) || !ZEL_REQUIRE(nSize > 0)) {
    return FALSE;
  }
  Guard guard(Connection::Instance().Mutex());
  std::string version;
  bool bFound = false;
  Run("Db2GetSchemaVer", "SELECT version FROM sysschema_versions WHERE module = ?", {pszModule},
      [&](sqlite3_stmt* p) {
        const unsigned char* psz = sqlite3_column_text(p, 0);
        version = psz != nullptr ? reinterpret_cast<const char*>(psz) : "";
        bFound = true;
      });
  if (!bFound || version.size() >= nSize) {
    if (bFound) {
      DbgPrint(DBG_CLASS_FAIL, "Db2GetSchemaVer - buffer too small(%u) for %s\n", nSize, version.c_str());
    }
    pszVersion[0] = '\0';
    return FALSE;
  }
  std::memcpy(pszVersion, version.c_str(), version.size() + 1);
  return TRUE;
}
