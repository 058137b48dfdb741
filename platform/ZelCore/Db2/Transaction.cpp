// Db2Commit… : the transaction calls. A write opens the transaction (see Exec); these close it.
#include "Connection.h"
#include "ZelDb2.h"

namespace {

template <typename F>
BOOL Locked(F f) {
  zel::db2::Connection& conn = zel::db2::Connection::Instance();
  zel::db2::Guard guard(conn.Mutex());
  return f(conn) ? TRUE : FALSE;
}

}  // namespace

extern "C" BOOL Db2Commit(void) {
  return Locked([](zel::db2::Connection& c) { return c.Commit(); });
}

// The same commit: with WAL and synchronous=NORMAL a commit is already cheap.
extern "C" BOOL Db2CommitLite(void) {
  return Locked([](zel::db2::Connection& c) { return c.Commit(); });
}

extern "C" BOOL Db2Rollback(void) {
  return Locked([](zel::db2::Connection& c) { return c.Rollback(); });
}

extern "C" BOOL Db2CommitPause(void) {
  return Locked([](zel::db2::Connection& c) {
    c.Pause();
    return true;
  });
}

extern "C" BOOL Db2CommitResume(void) {
  return Locked([](zel::db2::Connection& c) { return c.Resume(); });
}

extern "C" BOOL Db2IsCommitPaused(void) {
  return Locked([](zel::db2::Connection& c) { return c.IsPaused(); });
}

// One connection sees its own uncommitted rows, so reading them needs nothing.
extern "C" BOOL Db2TransSetRU(void) { return TRUE; }
extern "C" BOOL Db2TransUnsetRU(void) { return TRUE; }
