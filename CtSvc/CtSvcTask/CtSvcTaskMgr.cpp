// Task manager: the singleton, the job queue and the caller's side of the task (creation, resume,
// abort and deletion).
#include "CtSvcTaskMgr.h"

#include <chrono>
#include <new>

#include "ContentFramework.h"
#include "CtSvcEH/CtSvcEH.h"
#include "CtSvcModule/CtSvcModuleSingletons.h"
#include "ZelDebug.h"
#include "ZelOs.h"

namespace {

std::mutex g_instanceMutex;
std::unique_ptr<CCtSvcTaskMgr> g_pInstance;

constexpr UINT32 kTaskPriority = 10008;
constexpr UINT32 kTaskStackSize = 0x10000;
constexpr UINT32 kTaskFlags = 1;
constexpr UINT32 kAbortPollMs = 10;

void OnJobRequest(void* pData, INT32 /*nParam1*/, INT32 /*nParam2*/) {
  CCtSvcTaskMgr::SendNotifyCallback(static_cast<CCtSvcTaskJob*>(pData));
}

}  // namespace

CCtSvcTaskMgr* CCtSvcTaskMgr::Instance() {
  std::lock_guard<std::mutex> lock(g_instanceMutex);
  if (!g_pInstance) {
    g_pInstance.reset(new (std::nothrow) CCtSvcTaskMgr());  // the constructor is private to the singleton
    if (!g_pInstance) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcTaskMgr::Instance : instance create failed \n");
      return nullptr;
    }
    ZEL_REQUIRE_TEXT(g_pInstance->m_hMutex != INVALID_HOBJ, "m_pInstance->m_hMutex!= INVALID_HOBJ");
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::Instance :  instance successfully created. \n");
    CtSvcEHSetNotifyHandler(CTSVC_EH_JOB_REQUEST, &OnJobRequest);
    CtSvcModuleSetSingleton(CTSVC_SINGLETON_TASK, &CCtSvcTaskMgr::DestroyInstance);
  }
  return g_pInstance.get();
}

void CCtSvcTaskMgr::DestroyInstance() {
  std::unique_ptr<CCtSvcTaskMgr> pOld;
  {
    std::lock_guard<std::mutex> lock(g_instanceMutex);
    pOld = std::move(g_pInstance);
  }
}

BOOL CCtSvcTaskMgr::IsWorking() {
  std::lock_guard<std::mutex> lock(g_instanceMutex);
  if (g_pInstance && g_pInstance->m_nState.load() == CTSVC_TASK_STATE_WORKING) {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcTaskIsWorking: CTSVC_TASK_STATE_WORKING \n");
    return TRUE;
  }
  return FALSE;
}

CCtSvcTaskMgr::CCtSvcTaskMgr() : m_hMutex(OsCreateMutex("CtSvcFastScrollTaskMutex")) {}

CCtSvcTaskMgr::~CCtSvcTaskMgr() {
  Abort();
  _DeleteTask();
  if (m_hMutex != INVALID_HOBJ) {
    OsDeleteMutex(m_hMutex);
  }
}

BOOL CCtSvcTaskMgr::AddJob(std::unique_ptr<CCtSvcTaskJob> pJob) {
  if (!ZEL_REQUIRE(pJob != NULL)) {
    return FALSE;
  }
  CAppSvcMutexLock lock(m_hMutex);
  if (m_hTask.load() == INVALID_HOBJ && _CreateTask()) {
    _StartTask();
  }
  m_vcJobs.push_back(std::move(pJob));
  m_nJobCount = static_cast<int>(m_vcJobs.size());
  const int nState = m_nState.load();
  if (nState == CTSVC_TASK_STATE_REQUEST_NOABORT || nState == CTSVC_TASK_STATE_WORKING) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::RequestSearch(1)\n");
  } else if (nState == CTSVC_TASK_STATE_IDLE) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::RequestSearch(2)\n");
    _ResumeTask();
  } else {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::RequestSearch(3)\n");
    _SetTaskState(CTSVC_TASK_STATE_REQUEST);
  }
  return TRUE;
}

void CCtSvcTaskMgr::Abort() {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::Abort : called\n");
  {
    CAppSvcMutexLock lock(m_hMutex);
    m_bAbort = true;
    for (const std::unique_ptr<CCtSvcTaskJob>& pJob : m_vcJobs) {
      pJob->Abort();
    }
    if (m_pWorkingJob != nullptr) {
      m_pWorkingJob->Abort();
    }
  }
  // The working job looks at its flag between its steps; it is not interrupted.
  for (;;) {
    bool bWorking = false;
    {
      CAppSvcMutexLock lock(m_hMutex);
      bWorking = m_nState.load() == CTSVC_TASK_STATE_WORKING && m_pWorkingJob != nullptr;
    }
    if (!bWorking) {
      break;
    }
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::AbortTask : Still Working\n");
    OsSleep(kAbortPollMs);
  }
}

bool CCtSvcTaskMgr::WaitForIdle(int nTimeoutMs) {
  std::unique_lock<std::mutex> lock(m_stateMutex);
  return m_stateChanged.wait_for(lock, std::chrono::milliseconds(nTimeoutMs), [this] {
    return m_nState.load() == CTSVC_TASK_STATE_IDLE && m_nJobCount.load() == 0;
  });
}

BOOL CCtSvcTaskMgr::_CreateTask() {
  if (m_hTask.load() != INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::CreateTask : already created(%d)\n", m_hTask.load());
    return FALSE;
  }
  m_hTask = OsCreateTask("CtSvcTask", kTaskPriority, kTaskStackSize, &CCtSvcTaskMgr::_TaskEntry, kTaskFlags, this);
  return ZEL_REQUIRE(m_hTask != INVALID_HOBJ) ? TRUE : FALSE;
}

BOOL CCtSvcTaskMgr::_StartTask() {
  const HOBJ hTask = m_hTask.load();
  if (hTask == INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcTaskMgr::AwakeTask:Task is not created!\n");
    return FALSE;
  }
  if (!ZEL_REQUIRE_TEXT(OsStartTask(hTask) == TRUE, "OsStartTask(m_hTask) == TRUE")) {
    return FALSE;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::StartTask : started(%d)\n", hTask);
  return TRUE;
}

BOOL CCtSvcTaskMgr::_DeleteTask() {
  const HOBJ hTask = m_hTask.exchange(INVALID_HOBJ);
  if (hTask == INVALID_HOBJ) {
    return TRUE;
  }
  // Deleting the task wakes it from its message queue and waits for it to end.
  if (!OsDeleteTask(hTask)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcTaskMgr::DeleteTask : faile to Delete Task(%d)\n", hTask);
    return FALSE;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::DeleteTask :CtSvcTask is deleted.\n");
  return TRUE;
}

void CCtSvcTaskMgr::_SetTaskState(int nState) {
  const int nOld = m_nState.load();
  {
    std::lock_guard<std::mutex> lock(m_stateMutex);
    m_nState = nState;
  }
  m_stateChanged.notify_all();
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcTaskMgr::SetTaskState:state is changed!(%d->%d)\n", nOld, nState);
}

bool CCtSvcTaskMgr::_SendMessage(UINT32 nCommand) {
  UINT32 aMsg[OS_MSG_SIZE / sizeof(UINT32)] = {};
  static_assert(sizeof(aMsg) == OS_MSG_SIZE, "a task message is 56 bytes");
  aMsg[0] = CTSVC_TASK_MSG_MAGIC;
  aMsg[1] = nCommand;
  const HOBJ hTask = m_hTask.load();
  return hTask != INVALID_HOBJ && OsSendMessage(hTask, aMsg);
}

void CCtSvcTaskMgr::_ResumeTask() {
  CAppSvcMutexLock lock(m_hMutex);
  const int nState = m_nState.load();
  if (nState == CTSVC_TASK_STATE_IDLE && !m_bResumeSent) {
    DbgPrint(DBG_CLASS_TRACE, "ResumeTask::send resume event\n");
    m_bResumeSent = _SendMessage(CTSVC_TASK_CMD_RESUME);
  } else if (nState == CTSVC_TASK_STATE_RESUME_REQ || nState == CTSVC_TASK_STATE_RESUME_SENT) {
    DbgPrint(DBG_CLASS_TRACE, "ResumeTask::already reusme state\n");
  } else {
    _SetTaskState(CTSVC_TASK_STATE_RESUME_REQ);
  }
}

void CCtSvcTaskMgr::SendNotifyCallback(CCtSvcTaskJob* pTaskJob) {
  const std::unique_ptr<CCtSvcTaskJob> pJob(pTaskJob);  // ownership came with the event
  if (!pJob) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcTaskMgr::SendNotifyCallback : pTaskJob = NULL \n");
    return;
  }
  pJob->SendNotifyCallback();
}
