// Write units: savepoints inside the write transaction, taken with the write lock held, so that
// an operation of several writes lands whole or leaves the store as it was. Also the cheap test
// of whether another connection has committed (PRAGMA data_version).
#include <cstdio>
#include <cstdlib>

#include "Connection.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace zel::db2 {

namespace {

std::string SavepointText(const char* pszVerb, int nDepth) {
  char szText[64];
  std::snprintf(szText, sizeof(szText), "%s ctsvc_unit%d", pszVerb, nDepth);
  return szText;
}

}  // namespace

bool Connection::UnitBegin() {
  if (Db() == nullptr) {
    return false;
  }
  const bool bWasOpen = InTransaction();
  // IMMEDIATE: the lock is taken here, through the busy handler, instead of at the first write
  // of a read transaction, where waiting cannot help.
  if (!bWasOpen && !ExecSqlite("BEGIN IMMEDIATE", "Db2UnitBegin")) {
    return false;
  }
  if (m_nUnitDepth == 0) {
    m_bUnitFailed = false;
    m_bUnitOwnsTransaction = !bWasOpen;
    m_unitThread = std::this_thread::get_id();
  }
  // An outermost unit alone in its transaction needs no savepoint: undoing it is a rollback.
  if (!_UnitOwnsWholeTransaction(m_nUnitDepth) &&
      !ExecSqlite(SavepointText("SAVEPOINT", m_nUnitDepth).c_str(), "Db2UnitBegin")) {
    if (m_nUnitDepth == 0 && !bWasOpen) {
      ExecSqlite("ROLLBACK", "Db2UnitBegin");
    }
    return false;
  }
  ++m_nUnitDepth;
  ++m_nPause;
  return true;
}

bool Connection::UnitEnd(bool bKeep) {
  if (m_nUnitDepth == 0) {
    DbgPrint(DBG_CLASS_FAIL, "Db2UnitEnd - no unit is open\n");
    return false;
  }
  --m_nUnitDepth;
  if (m_nPause > 0) {
    --m_nPause;
  }
  // A transaction the engine already rolled back (a full disk) took the savepoint with it.
  bool bKept = bKeep && !m_bUnitFailed && InTransaction();
  if (_UnitOwnsWholeTransaction(m_nUnitDepth)) {
    if (!bKept && InTransaction()) {
      ExecSqlite("ROLLBACK", "Db2UnitEnd");
    }
  } else if (InTransaction()) {
    if (bKept) {
      bKept = ExecSqlite(SavepointText("RELEASE", m_nUnitDepth).c_str(), "Db2UnitEnd");
    } else {
      ExecSqlite(SavepointText("ROLLBACK TO", m_nUnitDepth).c_str(), "Db2UnitEnd");
      ExecSqlite(SavepointText("RELEASE", m_nUnitDepth).c_str(), "Db2UnitEnd");
    }
  }
  if (m_nUnitDepth == 0) {
    m_bUnitFailed = false;
    m_unitThread = std::thread::id();
  }
  return bKept;
}

void Connection::NoteFailure() {
  if (m_nUnitDepth > 0 && m_unitThread.load() == std::this_thread::get_id()) {
    m_bUnitFailed = true;
  }
}

long long Connection::DataVersion() {
  if (Db() == nullptr) {
    return -1;
  }
  // Asked before every id handed out: the statement comes prepared from the pool.
  const char* pszTail = nullptr;
  StmtLease lease = PrepareSqlite("PRAGMA data_version", &pszTail, "Db2DataVersion");
  long long nVersion = -1;
  if (lease && sqlite3_step(lease.Get()) == SQLITE_ROW) {
    nVersion = sqlite3_column_int64(lease.Get(), 0);
  } else if (lease) {
    ReportFailure("Db2DataVersion", "failed", "PRAGMA data_version", m_pDb);
  }
  if (lease) {
    sqlite3_reset(lease.Get());
  }
  return nVersion;
}

}  // namespace zel::db2

using zel::db2::Connection;
using zel::db2::Guard;

extern "C" BOOL Db2UnitBegin(void) {
  Connection& conn = Connection::Instance();
  Guard guard(conn.Mutex());
  return conn.UnitBegin() ? TRUE : FALSE;
}

extern "C" BOOL Db2UnitEnd(BOOL bKeep) {
  Connection& conn = Connection::Instance();
  Guard guard(conn.Mutex());
  return conn.UnitEnd(bKeep != FALSE) ? TRUE : FALSE;
}

extern "C" void Db2UnitFail(void) {
  Connection& conn = Connection::Instance();
  Guard guard(conn.Mutex());
  conn.NoteFailure();
}

extern "C" BOOL Db2LockForWrite(void) {
  Connection& conn = Connection::Instance();
  Guard guard(conn.Mutex());
  if (conn.Db() == nullptr) {
    return FALSE;
  }
  return conn.InTransaction() || conn.ExecSqlite("BEGIN IMMEDIATE", "Db2LockForWrite") ? TRUE : FALSE;
}

extern "C" long long Db2DataVersion(void) {
  Connection& conn = Connection::Instance();
  Guard guard(conn.Mutex());
  return conn.DataVersion();
}
