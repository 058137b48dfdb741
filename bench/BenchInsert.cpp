// Whole-contact insert: a generated address book written through the service, each contact
// committed (Insert(1)) or in bulk (Insert(0) with kept mass-insert statements), against the same
// rows written with plain SQLite to a copy of the same empty store.
#include <optional>

#include "BenchEnv.h"
#include "BenchRegistry.h"
#include "BenchSuites.h"
#include "Generator.h"
#include "RawRows.h"

namespace ctsvc_bench {

namespace {

constexpr int kContacts = 2000;
const char kRawName[] = "insert_raw_sqlite/2000";

void ThroughService(benchmark::State& state, ctsvc_tool::InsertMode eMode) {
  RunOnEmptyStore(state, [eMode]() {
    const ctsvc_tool::GenerateResult result = ctsvc_tool::GenerateContacts(kContacts, kSeed, nullptr, eMode);
    return std::string(result.nFailures != 0 ? "a contact could not be stored" : "");
  });
}

void Raw(benchmark::State& state) {
  // The rows the bulk insert of the same address book leaves in the store (read for this run of
  // the benchmark only, so that they do not weigh on the peak memory of the later ones).
  const std::vector<TableRows> vcRows =
      ReadAddedRows(ContactStoreDir(kContacts) + "/ctsvc.db", EmptyStoreDir() + "/ctsvc.db");
  TempDir dir;
  std::optional<RawDb> db;
  for (auto _ : state) {
    state.PauseTiming();
    dir.CopyFrom(EmptyStoreDir());
    db.emplace(dir.Store());
    state.ResumeTiming();
    WriteRows(*db, vcRows);
    state.PauseTiming();
    db.reset();
    state.ResumeTiming();
  }
}

}  // namespace

void RegisterInsertBenchmarks() {
  Register(kRawName, kContacts, "", {}, Raw)->Iterations(3);
  Register("insert_bulk/2000", kContacts, kRawName, MaxRatio(2.0, "ratio <= 2"),
           [](benchmark::State& state) { ThroughService(state, ctsvc_tool::InsertMode::kBulk); })
      ->Iterations(3);
  Register("insert_committed/2000", kContacts, kRawName, {},
           [](benchmark::State& state) { ThroughService(state, ctsvc_tool::InsertMode::kCommitEach); })
      ->Iterations(1);
}

}  // namespace ctsvc_bench
