// The task's side: the loop that works through the queue, the idle wait on the message queue and
// the hand-over of finished jobs to the "CTSVC" event handler.
#include "ContentFramework.h"
#include "CtSvcEH/CtSvcEH.h"
#include "CtSvcTaskMgr.h"
#include "ZelDebug.h"
#include "ZelOs.h"
#include "ZelPhs.h"

namespace {

constexpr UINT32 kLoopSleepMs = 10;

struct TaskMessage {
  UINT32 nMagic;
  UINT32 nCommand;
  UINT32 aReserved[OS_MSG_SIZE / sizeof(UINT32) - 2];
};
static_assert(sizeof(TaskMessage) == OS_MSG_SIZE, "a task message is 56 bytes");

}  // namespace

void CCtSvcTaskMgr::_TaskEntry(void* pParam) { static_cast<CCtSvcTaskMgr*>(pParam)->_BGLTask(); }

void CCtSvcTaskMgr::_BGLTask() {
  for (;;) {
    OsSleep(kLoopSleepMs);
    if (_IsPowerOff()) {
      return;
    }
    _PeekMessage();
    switch (m_nState.load()) {
      case CTSVC_TASK_STATE_REQUEST:
        _RunJob(true);
        break;
      case CTSVC_TASK_STATE_REQUEST_NOABORT:
        _RunJob(false);
        break;
      case CTSVC_TASK_STATE_FINISH:
        _Finish();
        break;
      case CTSVC_TASK_STATE_RESUME_REQ: {
        CAppSvcMutexLock lock(m_hMutex);
        if (!m_bResumeSent) {
          m_bResumeSent = _SendMessage(CTSVC_TASK_CMD_RESUME);
          _SetTaskState(CTSVC_TASK_STATE_RESUME_SENT);
        }
        break;
      }
      case CTSVC_TASK_STATE_RESUME_SENT:
        if (!m_bResumeSent) {  // the resume message came back: look at the queue again
          CAppSvcMutexLock lock(m_hMutex);
          _SetTaskState(CTSVC_TASK_STATE_FINISH);
        }
        break;
      default:
        break;
    }
  }
}

bool CCtSvcTaskMgr::_IsPowerOff() {
  if (m_bAbort || _BmIsPowerOffState()) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::IsPowerOff:Aborted!\n");
    return true;
  }
  return false;
}

// Takes every resume message waiting on the queue, with the messages before it.
void CCtSvcTaskMgr::_PeekMessage() {
  const HOBJ hTask = OsGetCurrentTask();
  TaskMessage msg{};
  UINT32 nIndex = 0;
  while (OsPeekMessage(hTask, nIndex, &msg) == 1) {
    if (msg.nMagic != CTSVC_TASK_MSG_MAGIC) {
      ++nIndex;
      continue;
    }
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::PeekMessage : Get message [type - %d]\n", static_cast<int>(msg.nCommand));
    if (!OsDeleteMessages(hTask, nIndex + 1)) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcTaskMgr::PeekMessage : Receive Message Error.. delete failed..(%d)\n",
               static_cast<int>(nIndex + 1));
      return;
    }
    {
      CAppSvcMutexLock lock(m_hMutex);
      m_bResumeSent = false;
    }
    nIndex = 0;
  }
}

void CCtSvcTaskMgr::_RunJob(bool bAbortCheck) {
  {
    CAppSvcMutexLock lock(m_hMutex);
    _SetTaskState(CTSVC_TASK_STATE_WORKING);
  }
  _Work();
  CAppSvcMutexLock lock(m_hMutex);
  if (!(bAbortCheck && m_bAbort) && m_nState.load() == CTSVC_TASK_STATE_WORKING) {
    _SetTaskState(CTSVC_TASK_STATE_FINISH);
  }
}

void CCtSvcTaskMgr::_Work() {
  std::unique_ptr<CCtSvcTaskJob> pJob;
  {
    CAppSvcMutexLock lock(m_hMutex);
    if (m_vcJobs.empty()) {
      DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::__Work - No Job to work any more\n");
      return;
    }
    pJob = std::move(m_vcJobs.front());
    m_vcJobs.pop_front();
    m_nJobCount = static_cast<int>(m_vcJobs.size());
    m_pWorkingJob = pJob.get();
  }
  pJob->DoWork();
  {
    CAppSvcMutexLock lock(m_hMutex);
    m_pWorkingJob = nullptr;
  }
  _Deliver(std::move(pJob));
}

void CCtSvcTaskMgr::_Deliver(std::unique_ptr<CCtSvcTaskJob> pJob) {
  if (CtSvcEHPostNotify(CTSVC_EH_JOB_REQUEST, pJob.get(), 0, 0)) {
    (void)pJob.release();  // owned by the event now; SendNotifyCallback deletes it
    return;
  }
  DbgPrint(DBG_CLASS_FAIL, "CCtSvcTaskMgr::__Work - no \"%s\" handler: the job is notified on the task\n",
           CTSVC_EH_NAME);
  SendNotifyCallback(pJob.release());
}

void CCtSvcTaskMgr::_Finish() {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::BGLTask : CTSVC_TASK_STATE_FINISH\n");
  bool bEmpty = false;
  {
    CAppSvcMutexLock lock(m_hMutex);
    bEmpty = m_vcJobs.empty();
    if (!bEmpty) {
      _SetTaskState(CTSVC_TASK_STATE_REQUEST);
    }
  }
  if (bEmpty) {
    _IdleTask();
  }
}

void CCtSvcTaskMgr::_IdleTask() {
  {
    CAppSvcMutexLock lock(m_hMutex);
    const int nState = m_nState.load();
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::__IdleTask : current state (%d) \n", nState);
    if (nState != CTSVC_TASK_STATE_FINISH) {  // a job arrived meanwhile
      DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::__IdleTask : state is changed \n");
      return;
    }
    _SetTaskState(CTSVC_TASK_STATE_IDLE);
  }
  const HOBJ hTask = OsGetCurrentTask();
  TaskMessage msg{};
  while (!m_bAbort && OsReceiveMessage(hTask, &msg, -1) == 1) {
    if (msg.nMagic != CTSVC_TASK_MSG_MAGIC) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcTaskMgr::__IdleTask : Invalid command message arrived[0x%x 0x%x]\n", msg.nMagic,
               msg.nCommand);
      continue;
    }
    CAppSvcMutexLock lock(m_hMutex);  // the sender marks the resume as sent under it
    m_bResumeSent = false;
    if (msg.nCommand == CTSVC_TASK_CMD_RESUME) {
      _SetTaskState(CTSVC_TASK_STATE_REQUEST);
      DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::__IdleTask : CTSVC_TASK_STATE_RESUME_REQ \n");
      return;
    }
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::__IdleTask :  Nothing to do\n");
  }
}
