// Helpers of the listener tests: writing persons from a named task, recording the notices a
// listener receives, and scopes that undo registrations and pauses.
#ifndef CTSVC_LISTENER_TEST_SUPPORT_H
#define CTSVC_LISTENER_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcDbCi/CtSvcDbListenerModule.h"
#include "CtSvcDbListener.h"
#include "CtSvcTestData.h"
#include "ZelOs.h"

namespace ctsvc_listener_test {

// Runs f on a new thread named as the task pszName and waits for it.
template <class F>
void RunOnTask(const char* pszName, F f) {
  std::thread thread([&] {
    OsSetCurrentTaskName(pszName);
    f();
  });
  thread.join();
}

inline int InsertPerson() {
  return ctsvc_test::Row(CTSVC_DB_TABLE_PERSON).Int(CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE, CTSVC_USE_TYPE_PHONE).Insert("CtSvc/Person");
}

// One notice as a listener function received it.
struct Notice {
  int nCode;
  int nId;
  void* pUserData;
  std::thread::id thread;
  std::string strTask;
};

// Collects notices from any thread.
class Recorder {
 public:
  static void OnChange(INT32 nCode, INT32 nId, void* /*pInfo*/, void* pUserData) {
    static_cast<Recorder*>(pUserData)->Add(nCode, nId, pUserData);
  }
  static void OnFullSync(INT32 nState, void* /*pInfo*/, void* pUserData) {
    static_cast<Recorder*>(pUserData)->Add(nState, 0, pUserData);
  }
  void Add(int nCode, int nId, void* pUserData) {
    const char* pszTask = OsGetCurrentTaskName();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vcNotices.push_back({nCode, nId, pUserData, std::this_thread::get_id(), pszTask != nullptr ? pszTask : ""});
  }
  std::vector<Notice> Take() {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<Notice> vcNotices;
    vcNotices.swap(m_vcNotices);
    return vcNotices;
  }
  std::vector<int> TakeCodes() {
    std::vector<int> vcCodes;
    for (const Notice& notice : Take()) {
      vcCodes.push_back(notice.nCode);
    }
    return vcCodes;
  }

 private:
  std::mutex m_mutex;
  std::vector<Notice> m_vcNotices;
};

// A function listener of a URI for the scope's lifetime.
class UriListener {
 public:
  UriListener(int nUriType, Recorder& recorder) : m_nUriType(nUriType), m_pRecorder(&recorder) {
    EXPECT_TRUE(CtSvcDbListenerRegisterCallback(nUriType, &Recorder::OnChange, m_pRecorder, "test", 7));
  }
  ~UriListener() { CtSvcDbListenerUnregisterCallback(m_nUriType, &Recorder::OnChange, m_pRecorder); }
  UriListener(const UriListener&) = delete;
  UriListener& operator=(const UriListener&) = delete;

 private:
  int m_nUriType;
  Recorder* m_pRecorder;
};

// Runs its action when the scope ends (undoes a pause or a registration even when a test fails).
struct OnExit {
  std::function<void()> f;
  ~OnExit() { f(); }
};

// The only registered URI listener (the tests register one at a time).
inline const void* TheUriListener() {
  const auto vcListeners = CCtSvcDbListenerModule::Instance().m_vcDbUriListener.Snapshot();
  return vcListeners.size() == 1 ? vcListeners.front().get() : nullptr;
}

}  // namespace ctsvc_listener_test

#endif
