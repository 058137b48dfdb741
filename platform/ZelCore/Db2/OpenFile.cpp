#include "OpenFile.h"

#include <unistd.h>

#include <cstdio>

#include "Connection.h"
#include "PageMemory.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace zel::db2 {

namespace {

constexpr int kWritable = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
constexpr int kReadable = SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX;

std::string DirectoryOf(const std::string& path) {
  const size_t nSlash = path.rfind('/');
  return nSlash == std::string::npos ? "." : (nSlash == 0 ? "/" : path.substr(0, nSlash));
}

// "file:" URI of a path: the characters a URI gives a meaning to are escaped.
std::string FileUri(const std::string& path) {
  std::string uri = "file:";
  for (unsigned char c : path) {
    if (c == '%' || c == '?' || c == '#') {
      char szEscape[4];
      std::snprintf(szEscape, sizeof(szEscape), "%%%02X", c);
      uri += szEscape;
    } else {
      uri += static_cast<char>(c);
    }
  }
  return uri;
}

}  // namespace

int OpenFile(const std::string& path, sqlite3** ppDb) {
  UseSharedPageMemory();
  const std::string dir = DirectoryOf(path);
  const bool bDirWritable = access(dir.c_str(), W_OK) == 0;
  if (access(path.c_str(), F_OK) != 0 || (access(path.c_str(), W_OK) == 0 && bDirWritable)) {
    return sqlite3_open_v2(path.c_str(), ppDb, kWritable, nullptr);
  }
  // Reading a database in WAL mode needs its shared-memory index: the one beside the file, or a
  // new one where the directory allows it. Without either nobody writes the file now (a writer
  // keeps the index), so it is read as it stands.
  if (bDirWritable || access((path + "-shm").c_str(), R_OK) == 0) {
    return sqlite3_open_v2(path.c_str(), ppDb, kReadable, nullptr);
  }
  DbgPrint(DBG_CLASS_TRACE, "Db2Open - %s is read as an immutable file\n", path.c_str());
  return sqlite3_open_v2((FileUri(path) + "?immutable=1").c_str(), ppDb, kReadable | SQLITE_OPEN_URI, nullptr);
}

bool IsReadOnly(sqlite3* pDb) { return sqlite3_db_readonly(pDb, "main") == 1; }

int CheckOwnFile(sqlite3* pDb, const std::string& path) {
  sqlite3_stmt* pStmt = nullptr;
  int rc = sqlite3_prepare_v2(pDb,
                              "SELECT COUNT(*), COUNT(CASE WHEN name = 'sysschema_versions' THEN 1 END) "
                              "FROM sqlite_master WHERE type = 'table'",
                              -1, &pStmt, nullptr);
  int nTables = 0, nCatalogue = 0;
  if (rc == SQLITE_OK && (rc = sqlite3_step(pStmt)) == SQLITE_ROW) {
    nTables = sqlite3_column_int(pStmt, 0);
    nCatalogue = sqlite3_column_int(pStmt, 1);
    rc = SQLITE_OK;
  }
  sqlite3_finalize(pStmt);
  if (rc != SQLITE_OK) {
    ReportFailure("Db2Open", "cannot read the table list", path, pDb);
    return DB2_ERR_OPEN;
  }
  if (nTables > 0 && nCatalogue == 0) {
    SetLastError("the file holds the tables of another program");
    DbgPrint(DBG_CLASS_FAIL, "Db2Open - not a database of this platform(%s) : %d tables of another program\n",
             path.c_str(), nTables);
    return DB2_ERR_CORRUPT;
  }
  return DB2_OK;
}

}  // namespace zel::db2
