// Base of the jobs of the background task. DoWork runs on the task; SendNotifyCallback runs
// afterwards on the "CTSVC" event handler, and the job is deleted right after it.
#ifndef CTSVC_TASK_JOB_H
#define CTSVC_TASK_JOB_H

#include <atomic>

class CCtSvcTaskJob {
 public:
  CCtSvcTaskJob() = default;
  virtual ~CCtSvcTaskJob() = default;
  CCtSvcTaskJob(const CCtSvcTaskJob&) = delete;
  CCtSvcTaskJob& operator=(const CCtSvcTaskJob&) = delete;

  virtual void DoWork() = 0;
  virtual void SendNotifyCallback() = 0;

  // Asks the job to stop at its next check (a job that waits for something wakes up here).
  virtual void Abort() { m_bAbort = 1; }
  bool IsAborted() const { return m_bAbort != 0; }

 private:
  std::atomic<int> m_bAbort{0};
};

#endif
