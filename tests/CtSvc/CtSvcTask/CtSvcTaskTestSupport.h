// Helpers of the background-task tests: a job that works until the test lets it go, and a record
// of callbacks that a test can wait for.
#ifndef CTSVC_TASK_TEST_SUPPORT_H
#define CTSVC_TASK_TEST_SUPPORT_H

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CtSvcTask/CtSvcTaskJob.h"
#include "CtSvcTask/CtSvcTaskMgr.h"
#include "ZelOs.h"

namespace ctsvc_test {

constexpr auto kTaskTimeout = std::chrono::seconds(20);

// Lines added by several threads, waited for by the test.
class CallbackLog {
 public:
  void Add(const std::string& strLine) {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_vcLines.push_back(strLine);
    }
    m_cv.notify_all();
  }
  // The lines once there are at least nCount (fewer after the timeout).
  std::vector<std::string> WaitFor(size_t nCount) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.wait_for(lock, kTaskTimeout, [&] { return m_vcLines.size() >= nCount; });
    return m_vcLines;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::vector<std::string> m_vcLines;
};

// Works until Release (or an abort); reports its start, and its callback, to the log.
class CBlockingJob : public CCtSvcTaskJob {
 public:
  CBlockingJob(CallbackLog* pLog, std::string strName) : m_pLog(pLog), m_strName(std::move(strName)) {}
  void DoWork() override {
    m_pLog->Add(m_strName + " works");
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.wait(lock, [&] { return m_bReleased || IsAborted(); });
  }
  void SendNotifyCallback() override { m_pLog->Add(m_strName + " done on " + TaskName()); }
  void Abort() override {
    CCtSvcTaskJob::Abort();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cv.notify_all();
  }
  void Release() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bReleased = true;
    m_cv.notify_all();
  }
  static std::string TaskName() {
    const char* psz = OsGetCurrentTaskName();
    return psz != nullptr ? psz : "?";
  }

 private:
  CallbackLog* m_pLog;
  std::string m_strName;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  bool m_bReleased = false;
};

// Adds a blocking job; the pointer stays valid until the job's callback has run.
inline CBlockingJob* AddBlockingJob(CallbackLog& log, const std::string& strName) {
  auto pJob = std::make_unique<CBlockingJob>(&log, strName);
  CBlockingJob* p = pJob.get();
  CCtSvcTaskMgr::Instance()->AddJob(std::move(pJob));
  return p;
}

}  // namespace ctsvc_test

#endif
