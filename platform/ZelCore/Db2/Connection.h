// The one SQLite connection behind every Db2 call, guarded by a recursive mutex. Every public
// Db2 function takes the mutex for its whole run, so the recursive form lets them call each other.
#ifndef ZEL_DB2_CONNECTION_H
#define ZEL_DB2_CONNECTION_H

#include <sqlite3.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "StmtCache.h"
#include "ZelImmortal.h"

namespace zel::db2 {

using Guard = std::lock_guard<std::recursive_mutex>;

class Connection {
 public:
  static Connection& Instance();

  std::recursive_mutex& Mutex() { return m_mutex; }

  // Closes any open connection, then opens the file (the default "ctsvc.db" of the data
  // directory when pszPath is null). DB2_OK, DB2_ERR_OPEN or DB2_ERR_CORRUPT.
  int Open(const char* pszPath);
  // Commits the open work (rolls it back while commits are paused) and closes.
  void Close();
  // Close at process exit; afterwards no connection is opened implicitly.
  void Shutdown();

  // The following require the caller to hold Mutex().
  bool IsOpen() const { return m_pDb != nullptr; }
  // The connection, opening the default one when none is open; null when that fails.
  sqlite3* Db();
  // Changes on every open, so that objects made on an earlier connection can tell.
  uint64_t Generation() const { return m_nGeneration; }

  // The SQLite form of a dialect text (cached). Valid until the next translation.
  const std::string& Translate(std::string_view dialect) { return m_translations.Get(dialect); }
  // A prepared statement of a dialect text holding exactly one statement; empty and reported
  // (with pszWho naming the caller) on failure.
  StmtLease PrepareDialect(std::string_view dialect, const char* pszWho);
  // A prepared statement of the first SQLite statement of pszSql; *ppTail receives the rest.
  // An empty lease with *ppTail at the end means there was no statement.
  StmtLease PrepareSqlite(const char* pszSql, const char** ppTail, const char* pszWho);
  // Returns a leased statement: kept for reuse when it came from this connection.
  void Release(sqlite3_stmt* pStmt, uint64_t nGeneration, bool bPoolable);

  // Opens the write transaction unless one is open. FALSE (reported as pszWho's failure to run
  // sql) when it cannot be opened or the volume is full.
  bool BeginWrite(const char* pszWho, std::string_view sql);
  // Deferred (TRUE) while paused. A commit that fails (a full disk) rolls the open work back, so
  // that the store and what this connection reads stay the same.
  bool Commit();
  bool Rollback();
  void Pause() { ++m_nPause; }
  bool Resume();  // FALSE when no pause was active
  bool IsPaused() const { return m_nPause > 0; }

  // Write units (see Db2UnitBegin). Begin takes the write lock now and marks a savepoint; End
  // releases it (keeping the work) or rolls back to it. A failure the unit's thread meets inside
  // a unit makes the outermost unit undo its work.
  bool UnitBegin();
  bool UnitEnd(bool bKeep);
  // Called by every reported failure: marks the open unit of the calling thread failed.
  void NoteFailure();
  // PRAGMA data_version: changes when another connection committed; -1 on failure.
  long long DataVersion();
  bool InTransaction() const { return m_pDb != nullptr && sqlite3_get_autocommit(m_pDb) == 0; }

  // Remembers that the engine met a damaged page, so the file is checked whole at its next open.
  void NoteDamage() { m_bDamaged = true; }

  // Runs SQLite text directly (no translation); reports failures.
  bool ExecSqlite(const char* pszSql, const char* pszWho);

 private:
  Connection() = default;
  friend class zel::Immortal<Connection>;
  void CloseLocked();
  bool _UnitOwnsWholeTransaction(int nDepth) const { return nDepth == 0 && m_bUnitOwnsTransaction; }
  int Configure(sqlite3* pDb, bool bNewFile);

  std::recursive_mutex m_mutex;
  sqlite3* m_pDb = nullptr;
  std::string m_strPath;
  std::string m_strDir;  // directory of the open file: the volume a write needs room on
  uint64_t m_nGeneration = 0;
  int m_nPause = 0;
  bool m_bShutdown = false;
  std::atomic<bool> m_bDamaged{false};  // the engine reported a damaged page while open
  bool m_bAtExitRegistered = false;
  int m_nUnitDepth = 0;
  bool m_bUnitFailed = false;
  bool m_bUnitOwnsTransaction = false;  // the outermost unit opened the transaction
  std::atomic<std::thread::id> m_unitThread{};
  TranslationCache m_translations{128};
  StmtPool m_pool{64};
};

// Records the engine's message of pDb (or pszDetail when pDb is null) as the calling thread's
// last error and logs "<pszWho> - <what>(<sql>) : <message>".
void ReportFailure(const char* pszWho, const char* pszWhat, std::string_view sql, sqlite3* pDb);
void SetLastError(const std::string& message);

}  // namespace zel::db2

#endif
