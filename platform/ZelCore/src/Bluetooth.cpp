// Bluetooth service stand-in: keeps the export completions for whoever waits for them (the
// command-line tool in place of the Bluetooth service, and tests).
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "ZelBluetooth.h"
#include "ZelBluetoothTest.h"
#include "ZelDebug.h"
#include "ZelImmortal.h"

namespace {

struct Completions {
  std::mutex mutex;
  std::condition_variable cond;
  std::deque<BOOL> dqResults;
};

Completions& TheCompletions() {
  static zel::Immortal<Completions> s_completions;
  return s_completions.Get();
}

}  // namespace

extern "C" void BluetoothPbsCtMakeDone(BOOL bResult) {
  DbgPrint(DBG_CLASS_TRACE, "BluetoothPbsCtMakeDone: - %d\n", bResult);
  Completions& c = TheCompletions();
  std::lock_guard<std::mutex> lock(c.mutex);
  c.dqResults.push_back(bResult);
  c.cond.notify_all();
}

namespace zel::test {

std::vector<BOOL> TakePbsCompletions() {
  Completions& c = TheCompletions();
  std::lock_guard<std::mutex> lock(c.mutex);
  std::vector<BOOL> vcResults(c.dqResults.begin(), c.dqResults.end());
  c.dqResults.clear();
  return vcResults;
}

bool WaitPbsCompletion(int nTimeoutMs, BOOL* pbResult) {
  Completions& c = TheCompletions();
  std::unique_lock<std::mutex> lock(c.mutex);
  if (!c.cond.wait_for(lock, std::chrono::milliseconds(nTimeoutMs), [&c] { return !c.dqResults.empty(); })) {
    return false;
  }
  if (pbResult != nullptr) {
    *pbResult = c.dqResults.front();
  }
  c.dqResults.pop_front();
  return true;
}

}  // namespace zel::test
