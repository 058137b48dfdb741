// The background task "CtSvcTask" and its job queue. Callers add jobs and return at once; the task
// works through the queue one job at a time, then hands each finished job to the "CTSVC" event
// handler, where its callback runs and the job is deleted. Between jobs the task blocks on its
// message queue until a resume message arrives.
//
// Ownership of a job: the queue owns it (unique_ptr) until the task takes it; the task owns it
// while it works; then the job is posted to "CTSVC" as the data of a CTSVC_EH_JOB_REQUEST
// notification and released, and SendNotifyCallback re-owns it there and deletes it after its
// callback. When the post fails (no "CTSVC" handler) the task runs that step itself.
#ifndef CTSVC_TASK_MGR_H
#define CTSVC_TASK_MGR_H

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "CtSvcTaskJob.h"
#include "CtSvcTypes.h"

typedef enum CtSvcTaskState {
  CTSVC_TASK_STATE_REQUEST = 1,          // a job is waiting; the task will start it
  CTSVC_TASK_STATE_REQUEST_NOABORT = 2,  // the same, without the abort check after the job
  CTSVC_TASK_STATE_WORKING = 3,          // a job's work is running
  CTSVC_TASK_STATE_FINISH = 4,           // a job finished (also the state before the first job)
  CTSVC_TASK_STATE_IDLE = 6,             // the queue is empty; the task waits for a message
  CTSVC_TASK_STATE_RESUME_REQ = 7,       // a resume has been asked for
  CTSVC_TASK_STATE_RESUME_SENT = 8       // the resume message has been sent
} CtSvcTaskState;

// The task's messages: OS_MSG_SIZE bytes, the magic and a command, the rest zero.
#define CTSVC_TASK_MSG_MAGIC 0xFABB55EBu
#define CTSVC_TASK_CMD_WAKE 0u    // only wakes the task (it then looks at its abort flag)
#define CTSVC_TASK_CMD_RESUME 7u  // work through the queue

class CCtSvcTaskMgr {
 public:
  // The manager, created on first use; it registers with the module for destruction at unload.
  static CCtSvcTaskMgr* Instance();
  // Destroys the manager (aborting and ending its task) when it exists.
  static void DestroyInstance();
  // 1 while the manager exists and a job's work runs.
  static BOOL IsWorking();

  ~CCtSvcTaskMgr();
  CCtSvcTaskMgr(const CCtSvcTaskMgr&) = delete;
  CCtSvcTaskMgr& operator=(const CCtSvcTaskMgr&) = delete;

  // Appends a job, creating the task on first use and waking it when it idles. 1, or 0 for no job.
  BOOL AddJob(std::unique_ptr<CCtSvcTaskJob> pJob);
  // Stops the task after the current job: sets the abort flags of the task and of every job, then
  // waits while a job is still working.
  void Abort();
  int GetTaskState() const { return m_nState.load(); }
  // Waits until the queue is empty and the task idles; false after nTimeoutMs.
  bool WaitForIdle(int nTimeoutMs);

  // The "CTSVC" side of a finished job: its callback, then its deletion (null is logged).
  static void SendNotifyCallback(CCtSvcTaskJob* pTaskJob);

 private:
  CCtSvcTaskMgr();
  static void _TaskEntry(void* pParam);

  BOOL _CreateTask();
  BOOL _StartTask();
  BOOL _DeleteTask();
  void _SetTaskState(int nState);
  bool _SendMessage(UINT32 nCommand);
  void _ResumeTask();

  // The task side.
  void _BGLTask();
  bool _IsPowerOff();
  void _PeekMessage();
  void _RunJob(bool bAbortCheck);
  void _Work();
  void _Finish();
  void _IdleTask();
  static void _Deliver(std::unique_ptr<CCtSvcTaskJob> pJob);

  std::atomic<HOBJ> m_hTask{INVALID_HOBJ};
  std::atomic<bool> m_bAbort{false};
  HOBJ m_hMutex = INVALID_HOBJ;  // "CtSvcFastScrollTaskMutex": the queue and the state changes
  std::atomic<int> m_nState{CTSVC_TASK_STATE_FINISH};
  std::atomic<bool> m_bResumeSent{false};
  std::deque<std::unique_ptr<CCtSvcTaskJob>> m_vcJobs;
  std::atomic<int> m_nJobCount{0};  // size of m_vcJobs, readable without the mutex
  CCtSvcTaskJob* m_pWorkingJob = nullptr;  // the job in DoWork (owned by the task meanwhile)

  // Lets WaitForIdle sleep until the state changes.
  std::mutex m_stateMutex;
  std::condition_variable m_stateChanged;
};

#endif
