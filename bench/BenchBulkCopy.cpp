// Bulk copy against bulk insert: 1 000 stored contacts (kept as SIM contacts in the store, as the
// phonebook keeps the card's) copied to the phone store by the bulk copy - each person read back
// with its details and stored again as a new phone contact, ten a tick - against the bulk insert of
// the same 1 000 contacts given as values, five a tick (target: the copy within twice the insert).
// Bulk ticks are fired by hand, so the figures hold the work and not the 50 ms timer period.
#include <chrono>
#include <string>
#include <vector>

#include "BenchEnv.h"
#include "BenchRegistry.h"
#include "BenchSuites.h"
#include "CtSvcBulkOp.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "ZelCoreTest.h"
#include "ZelDb2.h"

namespace ctsvc_bench {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kContacts = 1000;

CCtSvcContactInfoBuilder Contact(int i) {
  CCtSvcContactInfoBuilder builder("Given" + std::to_string(i), -1, "Family" + std::to_string(i % 97));
  builder.Number("010" + std::to_string(40000000 + i)).Number("02" + std::to_string(5000000 + i), 2);
  builder.Email("c" + std::to_string(i) + "@example.com");
  builder.Address("Street " + std::to_string(i), "Seoul");
  return builder;
}

std::vector<int> StoredSourceIds() {
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = CTSVC_USE_TYPE_SIM;
  std::vector<CtSvcPersonRecord> vc(kContacts);
  const int n = CtSvcDbPersonGetRecords(&filter, vc.data(), kContacts);
  std::vector<int> vcIds;
  for (int i = 0; i < n; ++i) {
    vcIds.push_back(vc[static_cast<size_t>(i)].nId);
  }
  return vcIds;
}

int PhoneCount() {
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = CTSVC_USE_TYPE_PHONE;
  return CtSvcDbPersonGetCount(&filter);
}

// The data directory holding the source contacts, built once.
const std::string& SourceStoreDir() {
  static TempDir dir;
  static const bool bBuilt = [] {
    dir.CopyFrom(EmptyStoreDir());
    ServiceSession session(dir.Path());
    CCtSvcModuleLock lock;
    for (int i = 0; i < kContacts; ++i) {
      CCtSvcContactInfoBuilder builder = Contact(i);
      builder.person.nSlotIndex = i;
      CCtSvcContact(builder.Info(), CTSVC_USE_TYPE_SIM).Insert(0);
    }
    return Db2Commit() != FALSE;
  }();
  (void)bBuilt;
  return dir.Path();
}

// One timed run per iteration on a fresh copy of the store with the source contacts; fill() adds
// the items of the operation of nType.
template <class F>
void RunBulk(benchmark::State& state, int nType, F fill) {
  TempDir dir;
  for (auto _ : state) {
    dir.CopyFrom(SourceStoreDir());
    ServiceSession session(dir.Path());
    zel::test::SetTimersManual(true);
    const std::vector<int> vcIds = StoredSourceIds();
    const Clock::time_point start = Clock::now();
    CtSvcBulkOpCreate(nType, nullptr, nullptr);
    fill(vcIds);
    CtSvcBulkOpStart();
    while (zel::test::FireDueTimers() > 0) {
    }
    CtSvcBulkOpDestroy();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    zel::test::SetTimersManual(false);
    if (PhoneCount() != kContacts) {
      state.SkipWithError("the contacts were not all stored");
      break;
    }
  }
}

void BulkInsert(benchmark::State& state) {
  RunBulk(state, CTSVC_BULK_OP_INSERT_DB, [](const std::vector<int>&) {
    for (int i = 0; i < kContacts; ++i) {
      CCtSvcContactInfoBuilder builder = Contact(i);
      CtSvcContactInfo info = builder.Info();
      CtSvcBulkOpAddContactRecord(CTSVC_USE_TYPE_PHONE, &info);
    }
  });
}

void BulkCopy(benchmark::State& state) {
  RunBulk(state, CTSVC_BULK_OP_COPY_ADN_TO_DB, [](const std::vector<int>& vcIds) {
    for (const int nId : vcIds) {
      CtSvcBulkOpAddPersonId(nId);
    }
  });
}

}  // namespace

void RegisterBulkCopyBenchmarks() {
  Register("bulk_insert/1000", kContacts, "", {}, BulkInsert)->UseManualTime()->Iterations(3);
  Register("bulk_copy/1000", kContacts, "bulk_insert/1000", MaxRatio(2.0, "<= 2x the bulk insert"), BulkCopy)
      ->UseManualTime()
      ->Iterations(3);
}

}  // namespace ctsvc_bench
