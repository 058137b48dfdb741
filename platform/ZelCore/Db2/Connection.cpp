// Opening, configuring and closing the connection, the lazy write transaction and the pause
// counter.
#include "Connection.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <chrono>
#include <new>
#include <string>
#include <thread>

#include "Catalogue.h"
#include "FtsRanked.h"
#include "FtsTokenizer.h"
#include "OpenFile.h"
#include "SqlFunctions.h"
#include "Statement.h"
#include "StoreOrder.h"
#include "VerifiedStamp.h"
#include "VolumeFull.h"
#include "ZelDb2.h"
#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelImmortal.h"

namespace zel::db2 {

namespace {

constexpr int kBusyTimeoutMs = 5000;

thread_local std::string t_lastError;

std::string DefaultPath() {
  const char* pszDir = ZelGetDataDir();
  mkdir(pszDir, 0755);  // the data directory may not exist yet; a failure shows when opening
  return std::string(pszDir) + "/ctsvc.db";
}

// The first column of the first row of a one-statement SQLite text, with the result code.
int QueryText(sqlite3* pDb, const char* pszSql, std::string* pText) {
  sqlite3_stmt* pStmt = nullptr;
  int rc = sqlite3_prepare_v2(pDb, pszSql, -1, &pStmt, nullptr);
  if (rc == SQLITE_OK) {
    rc = sqlite3_step(pStmt);
    if (rc == SQLITE_ROW) {
      const unsigned char* psz = sqlite3_column_text(pStmt, 0);
      *pText = psz != nullptr ? reinterpret_cast<const char*>(psz) : "";
      rc = SQLITE_OK;
    } else if (rc == SQLITE_DONE) {
      pText->clear();
      rc = SQLITE_OK;
    }
  }
  sqlite3_finalize(pStmt);
  return rc;
}

// Switching a new file to WAL needs the file to itself for a moment; SQLite answers "locked" at
// once (without its busy handler) while another process opening the same new store holds it.
int SwitchToWal(sqlite3* pDb, std::string* pText) {
  int rc = SQLITE_BUSY;
  for (int nWaitedMs = 0; nWaitedMs <= kBusyTimeoutMs; nWaitedMs += 2) {
    rc = QueryText(pDb, "PRAGMA journal_mode=WAL", pText);
    if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return rc;
}

bool IsCorruption(int rc) {
  const int nPrimary = rc & 0xFF;
  return nPrimary == SQLITE_NOTADB || nPrimary == SQLITE_CORRUPT;
}

// Reads the file before anything could write to it: a file that is not a database or is
// damaged must be left exactly as it is. The page-by-page check is skipped for a file unchanged
// since this library closed it cleanly.
int CheckReadable(sqlite3* pDb, const std::string& path) {
  std::string text;
  int rc = QueryText(pDb, "PRAGMA schema_version", &text);
  if (rc == SQLITE_OK && IsUnchangedSinceCleanClose(path)) {
    DbgPrint(DBG_CLASS_TRACE, "Db2Open - %s unchanged since its clean close\n", path.c_str());
  } else if (rc == SQLITE_OK) {
    rc = QueryText(pDb, "PRAGMA quick_check(1)", &text);
    if (rc == SQLITE_OK && text != "ok") {
      DbgPrint(DBG_CLASS_FAIL, "Db2Open - damaged database(%s) : %s\n", path.c_str(), text.c_str());
      SetLastError(text);
      return DB2_ERR_CORRUPT;
    }
  }
  if (rc != SQLITE_OK) {
    ReportFailure("Db2Open", IsCorruption(rc) ? "not a database or damaged" : "cannot read", path, pDb);
    return IsCorruption(rc) ? DB2_ERR_CORRUPT : DB2_ERR_OPEN;
  }
  return DB2_OK;
}

}  // namespace

void SetLastError(const std::string& message) { t_lastError = message; }

void ReportFailure(const char* pszWho, const char* pszWhat, std::string_view sql, sqlite3* pDb) {
  if (pDb != nullptr && (sqlite3_errcode(pDb) & 0xFF) == SQLITE_FULL) {
    NoteDiskFull();  // later writes are refused until the file system has room again
  }
  if (pDb != nullptr && IsCorruption(sqlite3_errcode(pDb))) {
    Connection::Instance().NoteDamage();  // the next open checks the whole file again
  }
  Connection::Instance().NoteFailure();
  SetLastError(pDb != nullptr ? sqlite3_errmsg(pDb) : pszWhat);
  DbgPrint(DBG_CLASS_FAIL, "%s - %s(%.*s) : %s\n", pszWho, pszWhat, static_cast<int>(sql.size()), sql.data(),
           t_lastError.c_str());
}

Connection& Connection::Instance() {
  // Never destroyed: other threads may still use the database while the process exits.
  static Immortal<Connection> s_instance;
  return s_instance.Get();
}

int Connection::Configure(sqlite3* pDb, bool bNewFile) {
  std::string text;
  // The encoding must be chosen before the first table exists.
  if (bNewFile && QueryText(pDb, "PRAGMA encoding='UTF-16be'", &text) != SQLITE_OK) {
    ReportFailure("Db2Open", "encoding", "PRAGMA encoding", pDb);
    return DB2_ERR_OPEN;
  }
  // A store this process may only read is read as it is: no journal switch, no catalogue.
  const bool bReadOnly = IsReadOnly(pDb);
  if (!bReadOnly && SwitchToWal(pDb, &text) != SQLITE_OK) {
    ReportFailure("Db2Open", "journal mode", "PRAGMA journal_mode=WAL", pDb);
    return DB2_ERR_OPEN;
  }
  if (!bReadOnly && text != "wal") {
    DbgPrint(DBG_CLASS_TRACE, "Db2Open - journal mode is %s\n", text.c_str());
  }
  sqlite3_busy_timeout(pDb, kBusyTimeoutMs);
  // A page cache of 32 MiB holds the tables of 100 000 contacts, so random reads of a list do not
  // go to the file system page by page. (No memory map: an I/O error would then be a signal.)
  // Temporary files in memory: the savepoint of a write unit inside a long bulk transaction
  // keeps the pages it changes in a statement journal, which would otherwise be a file.
  if (QueryText(pDb, "PRAGMA synchronous=NORMAL", &text) != SQLITE_OK ||
      QueryText(pDb, "PRAGMA cache_size=-32768", &text) != SQLITE_OK ||
      QueryText(pDb, "PRAGMA temp_store=MEMORY", &text) != SQLITE_OK || !RegisterFtsTokenizers(pDb)) {
    ReportFailure("Db2Open", "configuration", "functions", pDb);
    return DB2_ERR_OPEN;
  }
  if (!bReadOnly && (sqlite3_exec(pDb, kCreateFtsCatalogue, nullptr, nullptr, nullptr) != SQLITE_OK ||
                     sqlite3_exec(pDb, kCreateSchemaVersions, nullptr, nullptr, nullptr) != SQLITE_OK ||
                     sqlite3_exec(pDb, kCreateRankedCatalogue, nullptr, nullptr, nullptr) != SQLITE_OK)) {
    ReportFailure("Db2Open", "catalogue", "sysirs_indexes", pDb);
    return DB2_ERR_OPEN;
  }
  RefreshOrderedIndexes(pDb);
  return DB2_OK;
}

int Connection::Open(const char* pszPath) {
  Guard guard(m_mutex);
  CloseLocked();
  m_bShutdown = false;
  const std::string path = pszPath != nullptr ? std::string(pszPath) : DefaultPath();
  struct stat st {};
  const bool bNewFile = stat(path.c_str(), &st) != 0 || st.st_size == 0;
  sqlite3* pDb = nullptr;
  if (path.empty() || OpenFile(path, &pDb) != SQLITE_OK) {
    ReportFailure("Db2Open", "cannot open", path, pDb);
    sqlite3_close_v2(pDb);
    return DB2_ERR_OPEN;
  }
  // Another process may be writing or checkpointing: wait for it rather than fail.
  sqlite3_busy_timeout(pDb, kBusyTimeoutMs);
  // The name collation first: checking a store reads its name-ordered indexes.
  int nResult = RegisterSqlFunctions(pDb) ? CheckReadable(pDb, path) : DB2_ERR_OPEN;
  if (nResult == DB2_OK && !bNewFile) {
    nResult = CheckOwnFile(pDb, path);
  }
  if (nResult == DB2_OK) {
    nResult = Configure(pDb, bNewFile);
  }
  if (nResult != DB2_OK) {
    sqlite3_close_v2(pDb);
    return nResult;
  }
  m_pDb = pDb;
  m_strPath = path;
  m_bDamaged = false;
  const size_t nSlash = path.rfind('/');
  m_strDir = nSlash == std::string::npos ? "." : (nSlash == 0 ? "/" : path.substr(0, nSlash));
  ++m_nGeneration;
  m_nPause = 0;
  m_nUnitDepth = 0;
  if (!m_bAtExitRegistered) {
    m_bAtExitRegistered = true;
    std::atexit([] { Connection::Instance().Shutdown(); });
  }
  DbgPrint(DBG_CLASS_TRACE, "Db2Open - opened %s\n", path.c_str());
  return DB2_OK;
}

void Connection::CloseLocked() {
  if (m_pDb == nullptr) {
    return;
  }
  ReleaseAllStatements();
  if (InTransaction()) {
    if (m_nPause > 0) {
      DbgPrint(DBG_CLASS_FAIL, "Db2Close - commits are paused, the open work is rolled back\n");
      ExecSqlite("ROLLBACK", "Db2Close");
    } else if (!ExecSqlite("COMMIT", "Db2Close")) {
      ExecSqlite("ROLLBACK", "Db2Close");
    }
  }
  m_pool.Clear();
  m_translations.Clear();
  sqlite3_close_v2(m_pDb);  // statements still lent out are finalized when their leases end
  m_pDb = nullptr;
  if (m_bDamaged) {
    ForgetCleanClose(m_strPath);
  } else {
    StampCleanClose(m_strPath);
  }
  m_nPause = 0;
  m_nUnitDepth = 0;
}

void Connection::Close() {
  Guard guard(m_mutex);
  CloseLocked();
}

void Connection::Shutdown() {
  std::unique_lock<std::recursive_mutex> lock(m_mutex, std::try_to_lock);
  if (lock.owns_lock()) {  // a thread still inside a call keeps its connection
    m_bShutdown = true;
    CloseLocked();
  }
}

sqlite3* Connection::Db() {
  if (m_pDb == nullptr && !m_bShutdown) {
    Open(nullptr);
  }
  return m_pDb;
}

StmtLease Connection::PrepareSqlite(const char* pszSql, const char** ppTail, const char* pszWho) {
  *ppTail = pszSql + std::strlen(pszSql);
  if (Db() == nullptr) {
    return StmtLease();
  }
  if (sqlite3_stmt* pPooled = m_pool.Take(pszSql)) {
    return StmtLease(pPooled, m_nGeneration, true);
  }
  sqlite3_stmt* pStmt = nullptr;
  if (sqlite3_prepare_v3(m_pDb, pszSql, -1, SQLITE_PREPARE_PERSISTENT, &pStmt, ppTail) != SQLITE_OK) {
    ReportFailure(pszWho, "prepare failed", pszSql, m_pDb);
    sqlite3_finalize(pStmt);
    *ppTail = nullptr;
    return StmtLease();
  }
  const char* pszRest = *ppTail;
  while (*pszRest == ' ' || *pszRest == '\t' || *pszRest == '\n' || *pszRest == '\r' || *pszRest == ';') {
    ++pszRest;
  }
  return StmtLease(pStmt, m_nGeneration, *pszRest == '\0');
}

StmtLease Connection::PrepareDialect(std::string_view dialect, const char* pszWho) {
  if (Db() == nullptr) {
    ReportFailure(pszWho, "no database", dialect, nullptr);
    return StmtLease();
  }
  const std::string& sql = m_translations.Get(dialect);
  const char* pszTail = nullptr;
  StmtLease lease = PrepareSqlite(sql.c_str(), &pszTail, pszWho);
  if (lease && pszTail != nullptr) {
    const std::string_view rest(pszTail);
    if (rest.find_first_not_of(" \t\r\n;") != std::string_view::npos) {
      ReportFailure(pszWho, "more than one statement", dialect, nullptr);
      return StmtLease();
    }
  } else if (!lease && pszTail != nullptr) {
    ReportFailure(pszWho, "no statement", dialect, nullptr);
  }
  return lease;
}

void Connection::Release(sqlite3_stmt* pStmt, uint64_t nGeneration, bool bPoolable) {
  Guard guard(m_mutex);
  if (bPoolable && m_pDb != nullptr && nGeneration == m_nGeneration) {
    m_pool.Give(pStmt);
  } else {
    sqlite3_finalize(pStmt);
  }
}

bool Connection::ExecSqlite(const char* pszSql, const char* pszWho) {
  if (Db() == nullptr) {
    return false;
  }
  if (sqlite3_exec(m_pDb, pszSql, nullptr, nullptr, nullptr) != SQLITE_OK) {
    ReportFailure(pszWho, "failed", pszSql, m_pDb);
    return false;
  }
  return true;
}

bool Connection::BeginWrite(const char* pszWho, std::string_view sql) {
  if (IsVolumeFullForWrites(m_strDir.c_str())) {
    SetLastError(kDiskFullMessage);
    DbgPrint(DBG_CLASS_FAIL, "%s - volume full, write refused(%.*s) : %s\n", pszWho, static_cast<int>(sql.size()),
             sql.data(), kDiskFullMessage);
    NoteFailure();
    return false;
  }
  if (InTransaction() || ExecSqlite("BEGIN IMMEDIATE", pszWho)) {
    return true;
  }
  ReportFailure(pszWho, "cannot open the write transaction", sql, m_pDb);
  return false;
}

bool Connection::Commit() {
  if (m_nPause > 0 || !InTransaction()) {
    return true;
  }
  if (ExecSqlite("COMMIT", "Db2Commit")) {
    return true;
  }
  if (InTransaction()) {  // the engine may have rolled back already
    ExecSqlite("ROLLBACK", "Db2Commit");
  }
  return false;
}

bool Connection::Rollback() { return !InTransaction() || ExecSqlite("ROLLBACK", "Db2Rollback"); }

bool Connection::Resume() {
  if (m_nPause == 0) {
    DbgPrint(DBG_CLASS_FAIL, "Db2CommitResume - commits are not paused\n");
    return false;
  }
  --m_nPause;
  return true;
}

}  // namespace zel::db2

using zel::db2::Connection;
using zel::db2::Guard;

extern "C" int Db2Open(const char* pszPath) { return Connection::Instance().Open(pszPath); }

extern "C" void Db2Close(void) { Connection::Instance().Close(); }

extern "C" BOOL Db2IsOpen(void) {
  Connection& conn = Connection::Instance();
  Guard guard(conn.Mutex());
  return conn.IsOpen() ? TRUE : FALSE;
}

extern "C" const char* Db2GetLastError(void) { return zel::db2::t_lastError.c_str(); }
