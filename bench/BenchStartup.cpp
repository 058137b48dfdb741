// Start-up on a store of 100 000 contacts: CtSvcDispatch(0) on the store just opened (table
// checks, next-id queries, index checks, registration), against a fresh plain connection reading
// the schema and the largest id of every contact table; and opening the store itself, against a
// plain open that reads the schema: after a clean close (Db2Open trusts the file's clean-close
// stamp) and after an unclean one (it checks the whole file for damage before anything may write).
#include <cstdio>
#include <string>
#include <vector>

#include "BenchEnv.h"
#include "BenchRegistry.h"
#include "BenchSuites.h"
#include "CtSvcModule.h"
#include "ZelDb2.h"
#include "ZelFm.h"

namespace ctsvc_bench {

namespace {

constexpr int kContacts = 100000;

void Dispatch(benchmark::State& state) {
  ServiceSession session(ContactStoreDir(kContacts));
  for (auto _ : state) {
    state.PauseTiming();
    UnloadService();
    if (Db2Open(nullptr) != DB2_OK) {
      state.SkipWithError("the store cannot be opened");
      break;
    }
    state.ResumeTiming();
    CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0);
  }
}

void Raw(benchmark::State& state) {
  const std::string strStore = ContactStoreDir(kContacts) + "/ctsvc.db";
  std::vector<std::string> vcTables;
  {
    RawDb db(strStore);
    RawStmt stmt(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name LIKE 'CtSvc%'");
    while (sqlite3_step(stmt.Get()) == SQLITE_ROW) {
      vcTables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.Get(), 0)));
    }
  }
  for (auto _ : state) {
    state.PauseTiming();
    sqlite3* pDb = nullptr;
    sqlite3_open_v2(strStore.c_str(), &pDb, SQLITE_OPEN_READWRITE, nullptr);
    state.ResumeTiming();
    for (const std::string& strTable : vcTables) {
      sqlite3_exec(pDb, ("SELECT MAX(ID) FROM " + strTable).c_str(), nullptr, nullptr, nullptr);
    }
    state.PauseTiming();
    sqlite3_close_v2(pDb);
    state.ResumeTiming();
  }
}

void OpenStoreAfter(benchmark::State& state, bool bCleanClose) {
  ServiceSession session(ContactStoreDir(kContacts));
  UnloadService();
  const std::string strStamp = ContactStoreDir(kContacts) + "/ctsvc.db-verified";
  for (auto _ : state) {
    state.PauseTiming();
    if (!bCleanClose) {
      std::remove(strStamp.c_str());
    }
    state.ResumeTiming();
    if (Db2Open(nullptr) != DB2_OK) {
      state.SkipWithError("the store cannot be opened");
      break;
    }
    state.PauseTiming();
    Db2Close();
    state.ResumeTiming();
  }
  LoadService();
}

void OpenStore(benchmark::State& state) { OpenStoreAfter(state, true); }
void OpenStoreChecked(benchmark::State& state) { OpenStoreAfter(state, false); }

void RawOpen(benchmark::State& state) {
  const std::string strStore = ContactStoreDir(kContacts) + "/ctsvc.db";
  for (auto _ : state) {
    sqlite3* pDb = nullptr;
    sqlite3_open_v2(strStore.c_str(), &pDb, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(pDb, "PRAGMA schema_version", nullptr, nullptr, nullptr);
    state.PauseTiming();
    sqlite3_close_v2(pDb);
    state.ResumeTiming();
  }
}

}  // namespace

void RegisterStartupBenchmarks() {
  Register("open_store_raw/100000", 1, "", {}, RawOpen);
  Register("open_store/100000", 1, "open_store_raw/100000", {}, OpenStore);
  Register("open_store_checked/100000", 1, "open_store_raw/100000", {}, OpenStoreChecked);
  Register("startup_raw_max_ids/100000", 1, "", {}, Raw);
  Register("startup_dispatch/100000", 1, "startup_raw_max_ids/100000", MaxSeconds(0.1, "< 100 ms"), Dispatch);
}

}  // namespace ctsvc_bench
