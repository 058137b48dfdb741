// What the benchmarks share: temporary data directories, the service brought up on one, raw
// SQLite connections to a store, and the stores of generated contacts built once per run.
#ifndef CTSVC_BENCH_ENV_H
#define CTSVC_BENCH_ENV_H

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>

namespace ctsvc_bench {

// A new empty directory under $TMPDIR, removed with its content at destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return m_strPath; }
  std::string Store() const { return m_strPath + "/ctsvc.db"; }
  // Replaces the directory's content with a copy of another data directory.
  void CopyFrom(const std::string& strSource) const;

 private:
  std::string m_strPath;
};

// The service loaded with CtSvcDispatch(0) on a data directory, unloaded (and the store closed)
// at destruction.
class ServiceSession {
 public:
  explicit ServiceSession(const std::string& strDataDir);
  ~ServiceSession();
  ServiceSession(const ServiceSession&) = delete;
  ServiceSession& operator=(const ServiceSession&) = delete;
};

// Runs body() once an iteration on a fresh copy of the empty store with the service loaded; the
// copy, the load and the unload are not timed. body answers "" or why the iteration failed.
template <class F>
void RunOnEmptyStore(benchmark::State& state, F body);

// Opens the store with Db2 and loads the service on it (the data directory must be set).
void LoadService();
// Unloads the service and closes the store.
void UnloadService();

// A plain SQLite connection to a store, set up as the Db2 layer sets up its own (WAL, page cache,
// the word tokenizer and the collation), so that full-text triggers and ordered statements run.
class RawDb {
 public:
  explicit RawDb(const std::string& strPath);
  ~RawDb();
  RawDb(const RawDb&) = delete;
  RawDb& operator=(const RawDb&) = delete;
  sqlite3* Get() const { return m_pDb; }
  void Exec(const std::string& strSql) const;

 private:
  sqlite3* m_pDb = nullptr;
};

// A prepared statement of a raw connection.
class RawStmt {
 public:
  RawStmt(const RawDb& db, const std::string& strSql);
  ~RawStmt();
  RawStmt(const RawStmt&) = delete;
  RawStmt& operator=(const RawStmt&) = delete;
  sqlite3_stmt* Get() const { return m_pStmt; }
  // Steps to the end; the number of rows.
  int Drain();
  // Steps once and reads the first column of the row as an integer (-1 without a row).
  int Int();

 private:
  sqlite3_stmt* m_pStmt = nullptr;
};

// Aborts the run with a message: a benchmark on a broken store would measure nothing.
[[noreturn]] void Die(const std::string& strWhat);

// A data directory holding an empty store made by the service (tables, indexes, full-text index
// and its triggers, the default group), closed and ready to be copied.
const std::string& EmptyStoreDir();

// A data directory holding nContacts generated contacts, written in bulk; built on first use.
const std::string& ContactStoreDir(int nContacts);

// The seed every generated address book uses.
constexpr unsigned kSeed = 20240601;

template <class F>
void RunOnEmptyStore(benchmark::State& state, F body) {
  TempDir dir;
  for (auto _ : state) {
    state.PauseTiming();
    dir.CopyFrom(EmptyStoreDir());
    std::string strError;
    {
      ServiceSession session(dir.Path());
      state.ResumeTiming();
      strError = body();
      state.PauseTiming();
    }
    if (!strError.empty()) {
      state.SkipWithError(strError.c_str());
    }
    state.ResumeTiming();
  }
}

}  // namespace ctsvc_bench

#endif
