// Helpers of the platform tests (the core and the stand-ins built on it): a temporary data
// directory, host files, threads run together, waitable records and signals, and event handlers.
#ifndef ZEL_CORE_TEST_SUPPORT_H
#define ZEL_CORE_TEST_SUPPORT_H

#include <chrono>
#include <functional>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ZelCoreTest.h"
#include "ZelFm.h"
#include "ZelWm.h"

namespace zel::coretest {

// A fresh data directory for one test, removed afterwards; the previous one is restored.
class TempDataDir {
 public:
  TempDataDir() : m_previous(ZelGetDataDir()) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zelcore-XXXXXX").string();
    m_path = mkdtemp(tmpl.data());
    ZelSetDataDir(m_path.c_str());
  }
  ~TempDataDir() {
    ZelSetDataDir(m_previous.c_str());
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  TempDataDir(const TempDataDir&) = delete;
  TempDataDir& operator=(const TempDataDir&) = delete;
  const std::string& Path() const { return m_path; }

 private:
  std::string m_previous;
  std::string m_path;
};

inline std::string ReadHost(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void WriteHost(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Runs fn(0) .. fn(n - 1) on n threads at once; returns when all have finished.
inline void RunOnThreads(int n, const std::function<void(int)>& fn) {
  std::vector<std::thread> threads;
  for (int i = 0; i < n; ++i) {
    threads.emplace_back(fn, i);
  }
  for (auto& t : threads) {
    t.join();
  }
}

// Values recorded from any thread, with a deterministic wait for a count.
template <typename T>
class Recorder {
 public:
  void Add(const T& value) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_values.push_back(value);
    m_cv.notify_all();
  }
  // True once at least n values are recorded (false after a generous deadline, so a broken
  // platform fails the test instead of hanging it).
  bool WaitFor(size_t n) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_cv.wait_for(lock, std::chrono::seconds(10), [&] { return m_values.size() >= n; });
  }
  std::vector<T> Values() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_values;
  }

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_cv;
  std::vector<T> m_values;
};

// A one-time signal between threads.
class Gate {
 public:
  void Open() { m_opened.Add(true); }
  bool Wait() { return m_opened.WaitFor(1); }

 private:
  Recorder<bool> m_opened;
};

// An event handler whose every event goes to one function (run on the handler's thread), in a
// group of its own; deleted with its group at the end of the test.
class FunctionHandler {
 public:
  using Fn = std::function<void(WmEHState*, WmEvent*)>;
  FunctionHandler(const char* pszName, Fn fn) : m_fn(std::move(fn)) {
    m_hGroup = WmCreateEHGroup((std::string(pszName) + "Group").c_str());
    const WmEventMapEntry map[] = {{0u, 0xFFFFFFFFu, &FunctionHandler::Trampoline}};
    m_hHandler = WmCreateEventHandler(m_hGroup, pszName, map, 1, this);
  }
  ~FunctionHandler() { WmDeleteEHGroup(m_hGroup); }
  FunctionHandler(const FunctionHandler&) = delete;
  FunctionHandler& operator=(const FunctionHandler&) = delete;

  HOBJ Handle() const { return m_hHandler; }
  bool Send(UINT32 nEventId, INT32 nParam1 = 0) const {
    WmEvent ev{};
    ev.nEventId = nEventId;
    ev.nParam1 = nParam1;
    return WmSendEvent(m_hHandler, &ev) == TRUE;
  }
  bool WaitIdle() const { return WmWaitEventHandlerIdle(m_hHandler, 10000) == 1; }

 private:
  static int Trampoline(WmEHState* pState, WmEvent* pEvent) {
    static_cast<FunctionHandler*>(pState->pUserData)->m_fn(pState, pEvent);
    return 1;
  }

  Fn m_fn;
  HOBJ m_hGroup = INVALID_HOBJ;
  HOBJ m_hHandler = INVALID_HOBJ;
};

}  // namespace zel::coretest

#endif
