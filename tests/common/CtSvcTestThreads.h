// Thread helpers shared by the service's suites: a log that callbacks on any thread add to and a
// test waits on (never sleeps), running code on a named task, and a scope guard.
#ifndef CTSVC_TEST_THREADS_H
#define CTSVC_TEST_THREADS_H

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ZelOs.h"

namespace ctsvc_test {

constexpr auto kTaskTimeout = std::chrono::seconds(20);

// Entries added by several threads, taken or waited for by the test.
template <class T>
class SyncLog {
 public:
  // Notifies under the lock: a waiter may destroy the log as soon as it sees the entry.
  void Add(T entry) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vcEntries.push_back(std::move(entry));
    m_cv.notify_all();
  }
  // The entries so far, leaving the log empty.
  std::vector<T> Take() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_vcEntries, {});
  }
  // The entries once there are at least nCount (fewer after the timeout); they stay in the log.
  std::vector<T> WaitFor(size_t nCount) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.wait_for(lock, kTaskTimeout, [&] { return m_vcEntries.size() >= nCount; });
    return m_vcEntries;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::vector<T> m_vcEntries;
};

using CallbackLog = SyncLog<std::string>;

// Name of the calling thread's task, or "?".
inline std::string TaskName() {
  const char* psz = OsGetCurrentTaskName();
  return psz != nullptr ? psz : "?";
}

// Runs f on a new thread named as the task pszName and waits for it.
template <class F>
void RunOnTask(const char* pszName, F f) {
  std::thread thread([&] {
    OsSetCurrentTaskName(pszName);
    f();
  });
  thread.join();
}

// Runs its action when the scope ends (undoes a setting even when a test fails).
struct OnExit {
  std::function<void()> f;
  ~OnExit() { f(); }
};

}  // namespace ctsvc_test

#endif
