// Phonebook start-up on a 250-contact GSM card: a boot whose card changed (the card is read and
// its contacts copied into the store by the bulk insert) against the same 250 contacts inserted by
// the bulk insert directly (target: at most twice its time), and a boot with the card unchanged,
// which reads the card and must commit nothing to the store. Bulk ticks are fired by hand, so the
// figures hold the work and not the 50 ms timer period.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "BenchCards.h"
#include "BenchEnv.h"
#include "BenchRegistry.h"
#include "BenchSuites.h"
#include "CtSvcBulkOperation/CtSvcBulkHandler.h"
#include "CtSvcBulkOperation/CtSvcBulkOpInsertDb.h"
#include "CtSvcDbListener.h"
#include "CtSvcDbPerson.h"
#include "CtSvcPhonebook.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcSim/DevSimMgr/ICtSvcDevSimMgr.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "CtSvcSimCi.h"
#include "ZelCoreTest.h"
#include "ZelReg.h"
#include "ZelSimTest.h"
#include "ZelWm.h"

namespace ctsvc_bench {

namespace {

using Clock = std::chrono::steady_clock;

void WaitForHandler() { WmWaitEventHandlerIdle(WmGetEventHandlerByName("CTSVC"), 60000); }

// Runs the handler's bulk work to its end.
void RunBulkTicks() {
  WaitForHandler();
  while (zel::test::FireDueTimers() > 0) {
    WaitForHandler();
  }
}

struct BootResult {
  std::mutex mutex;
  std::condition_variable cond;
  int nResult = -1;
  static void OnInit(BOOL bResult, void* p) {
    auto* pThis = static_cast<BootResult*>(p);
    std::lock_guard<std::mutex> lock(pThis->mutex);
    pThis->nResult = bResult;
    pThis->cond.notify_all();
  }
};

// The service on an empty store with the 250-contact card, bulk timers fired by hand.
struct PhonebookBenchEnv {
  PhonebookBenchEnv() : session((dir.CopyFrom(EmptyStoreDir()), dir.Path())) {
    zel::test::ResetSim();
    zel::test::InsertSimCardText(FullGsmCard());
    zel::test::SetTimersManual(true);
  }
  ~PhonebookBenchEnv() {
    CCtSvcPhonebookMgr::Instance()->ResetForTest();
    zel::test::SetTimersManual(false);
    WaitForHandler();
    CCtSvcSimMgr::Instance()->Clear();
    // The card connection delivers to this session's handler: closed before the session ends.
    CtSvcGetDevSimMgr()->Close(nullptr);
    WaitForHandler();
    zel::test::ResetSim();
  }
  // A phone start: nothing known from an earlier start in this process, the card read afresh.
  // bForget also drops the stored fingerprints, so the card counts as changed.
  static bool Boot(bool bForget) {
    CCtSvcPhonebookMgr::Instance()->ResetForTest();
    CCtSvcSimMgr::Instance()->Clear();
    if (bForget && RegLoad("CtSet.ini", 1) == REG_OK) {
      RegRemoveSection("CtSet.ini", "Section3");
      RegFlush("CtSet.ini");
      RegUnload("CtSet.ini");
    }
    BootResult result;
    int bNoSim = 0;
    if (!CtSvcPhonebookInitialize(&BootResult::OnInit, &result, &bNoSim)) {
      return false;
    }
    RunBulkTicks();
    std::unique_lock<std::mutex> lock(result.mutex);
    return result.cond.wait_for(lock, std::chrono::seconds(60), [&] { return result.nResult >= 0; }) &&
           result.nResult == 1;
  }
  TempDir dir;
  ServiceSession session;
};

int SimPersonCount() {
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = CTSVC_USE_TYPE_SIM;
  return CtSvcDbPersonGetCount(&filter);
}

void BootChanged(benchmark::State& state) {
  PhonebookBenchEnv env;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    const bool bBooted = PhonebookBenchEnv::Boot(true);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    const int nCopied = SimPersonCount();
    if (!bBooted || nCopied != kAdnRecords) {
      state.SkipWithError(("the boot did not copy the card (" + std::to_string(bBooted) + ", " +
                           std::to_string(nCopied) + " contacts)")
                              .c_str());
      break;
    }
  }
}

void BootUnchanged(benchmark::State& state) {
  PhonebookBenchEnv env;
  if (!PhonebookBenchEnv::Boot(true)) {
    state.SkipWithError("the first boot failed");
    return;
  }
  RawDb watcher(env.dir.Store());
  auto dataVersion = [&watcher]() { return RawStmt(watcher, "PRAGMA data_version").Int(); };
  const int nBefore = dataVersion();
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    const bool bBooted = PhonebookBenchEnv::Boot(false);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    if (!bBooted) {
      state.SkipWithError("the boot failed");
      break;
    }
  }
  const int nCommits = dataVersion() - nBefore;
  state.counters["store_commits"] = static_cast<double>(nCommits);
  if (nCommits != 0) {
    state.SkipWithError("a boot with the card unchanged committed to the store");
  }
}

// The same contacts inserted by the bulk insert alone (the card's groups loaded once, before).
void DirectInsert(benchmark::State& state) {
  PhonebookBenchEnv env;
  if (!PhonebookBenchEnv::Boot(true)) {
    state.SkipWithError("the card did not load");
    return;
  }
  CCtSvcBulkHandler* pHandler = CCtSvcBulkHandler::Instance();
  for (auto _ : state) {
    CtSvcDbPersonDeleteRecordsWithDeviceType(CTSVC_USE_TYPE_SIM);
    const Clock::time_point start = Clock::now();
    CCtSvcBulkOpInsertDb op;
    for (int i = 0; i < kAdnRecords; ++i) {
      op.AddAdnRecord(i);
    }
    pHandler->RegisterBulkOperation(&op, nullptr);
    CtSvcDbListenerPause();
    pHandler->Start();
    RunBulkTicks();
    pHandler->UnregisterBulkOperation();
    CtSvcDbListenerResume();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    if (SimPersonCount() != kAdnRecords) {
      state.SkipWithError("the bulk insert did not store the contacts");
      break;
    }
  }
}

}  // namespace

void RegisterPhonebookBenchmarks() {
  Register("phonebook_bulk_insert/gsm250", 1, "", {}, DirectInsert)->UseManualTime();
  Register("phonebook_boot_changed/gsm250", 1, "phonebook_bulk_insert/gsm250", MaxRatio(2.0, "<= 2x the bulk insert"),
           BootChanged)
      ->UseManualTime();
  Register("phonebook_boot_unchanged/gsm250", 1, "phonebook_bulk_insert/gsm250", {}, BootUnchanged)->UseManualTime();
}

}  // namespace ctsvc_bench
