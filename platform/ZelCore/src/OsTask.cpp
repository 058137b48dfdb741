// Tasks: a thread with a queue of fixed-size messages. The entry runs once the task is started;
// deleting the task waits for the entry to return (from the task itself, the thread is let go).
#include <pthread.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "HandleTable.h"
#include "ZelDebug.h"
#include "ZelImmortal.h"
#include "ZelOs.h"

namespace {

using Message = std::array<unsigned char, OS_MSG_SIZE>;

struct Task {
  std::string name;
  OsTaskEntry pfnEntry = nullptr;
  void* pParam = nullptr;
  std::thread thread;  // touched only by OsStartTask and OsDeleteTask
  std::mutex mutex;
  std::condition_variable cv;
  std::deque<Message> queue;
  bool bStarted = false;
  bool bDeleted = false;  // wakes receivers, which then fail
};

zel::internal::HandleTable<Task>& Tasks() {
  static zel::Immortal<zel::internal::HandleTable<Task>> s_tasks;
  return s_tasks.Get();
}

thread_local HOBJ t_hCurrentTask = INVALID_HOBJ;
thread_local std::string t_strTaskName;

std::shared_ptr<Task> FindTask(HOBJ hTask, const char* pszCaller) {
  std::shared_ptr<Task> pTask = Tasks().Get(hTask);
  if (pTask == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - invalid task handle(%d)\n", pszCaller, hTask);
  }
  return pTask;
}

void RunTask(std::shared_ptr<Task> pTask, HOBJ hTask) {
  t_hCurrentTask = hTask;
  OsSetCurrentTaskName(pTask->name.c_str());
  pTask->pfnEntry(pTask->pParam);
}

}  // namespace

extern "C" HOBJ OsCreateTask(const char* pszName, UINT32 nPriority, UINT32 nStackSize, OsTaskEntry pfnEntry,
                             UINT32 nFlags, void* pParam) {
  (void)nPriority;  // host threads run at the default priority with the default stack
  (void)nStackSize;
  (void)nFlags;
  if (pfnEntry == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "OsCreateTask: - task %s has no entry\n", pszName != nullptr ? pszName : "");
    return INVALID_HOBJ;
  }
  auto pTask = std::make_shared<Task>();
  pTask->name = pszName != nullptr ? pszName : "";
  pTask->pfnEntry = pfnEntry;
  pTask->pParam = pParam;
  return Tasks().Add(std::move(pTask));
}

extern "C" BOOL OsStartTask(HOBJ hTask) {
  std::shared_ptr<Task> pTask = FindTask(hTask, "OsStartTask");
  if (pTask == nullptr) {
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(pTask->mutex);
  if (pTask->bStarted || pTask->bDeleted) {
    DbgPrint(DBG_CLASS_FAIL, "OsStartTask: - task %s is already started or deleted\n", pTask->name.c_str());
    return FALSE;
  }
  pTask->bStarted = true;
  pTask->thread = std::thread(RunTask, pTask, hTask);
  return TRUE;
}

extern "C" BOOL OsDeleteTask(HOBJ hTask) {
  std::shared_ptr<Task> pTask = Tasks().Remove(hTask);
  if (pTask == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "OsDeleteTask: - invalid task handle(%d)\n", hTask);
    return FALSE;
  }
  std::thread thread;
  {
    std::lock_guard<std::mutex> lock(pTask->mutex);
    pTask->bDeleted = true;
    pTask->queue.clear();
    thread = std::move(pTask->thread);
  }
  pTask->cv.notify_all();
  if (thread.joinable()) {
    if (thread.get_id() == std::this_thread::get_id()) {
      thread.detach();  // the task deletes itself: it ends when its entry returns
    } else {
      thread.join();
    }
  }
  return TRUE;
}

extern "C" HOBJ OsGetCurrentTask(void) { return t_hCurrentTask; }

extern "C" const char* OsGetCurrentTaskName(void) {
  return t_strTaskName.empty() ? nullptr : t_strTaskName.c_str();
}

extern "C" void OsSetCurrentTaskName(const char* pszName) {
  t_strTaskName = pszName != nullptr ? pszName : "";
  if (!t_strTaskName.empty()) {
    // The system thread name (at most 15 characters) shows in debuggers and ps.
    pthread_setname_np(pthread_self(), t_strTaskName.substr(0, 15).c_str());
  }
}

extern "C" void OsSleep(UINT32 nMilliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(nMilliseconds)); }

extern "C" BOOL OsSendMessage(HOBJ hTask, const void* pMsg) {
  std::shared_ptr<Task> pTask = FindTask(hTask, "OsSendMessage");
  if (pTask == nullptr || pMsg == nullptr) {
    return FALSE;
  }
  Message msg;
  std::memcpy(msg.data(), pMsg, msg.size());
  {
    std::lock_guard<std::mutex> lock(pTask->mutex);
    pTask->queue.push_back(msg);
  }
  pTask->cv.notify_all();
  return TRUE;
}

extern "C" int OsReceiveMessage(HOBJ hTask, void* pMsg, INT32 nTimeoutMs) {
  std::shared_ptr<Task> pTask = FindTask(hTask, "OsReceiveMessage");
  if (pTask == nullptr || pMsg == nullptr) {
    return -1;
  }
  std::unique_lock<std::mutex> lock(pTask->mutex);
  auto ready = [&] { return !pTask->queue.empty() || pTask->bDeleted; };
  if (nTimeoutMs < 0) {
    pTask->cv.wait(lock, ready);
  } else if (!pTask->cv.wait_for(lock, std::chrono::milliseconds(nTimeoutMs), ready)) {
    return 0;
  }
  if (pTask->bDeleted) {
    return -1;
  }
  std::memcpy(pMsg, pTask->queue.front().data(), OS_MSG_SIZE);
  pTask->queue.pop_front();
  return 1;
}

extern "C" int OsPeekMessage(HOBJ hTask, UINT32 nIndex, void* pMsg) {
  std::shared_ptr<Task> pTask = FindTask(hTask, "OsPeekMessage");
  if (pTask == nullptr || pMsg == nullptr) {
    return -1;
  }
  std::lock_guard<std::mutex> lock(pTask->mutex);
  if (nIndex >= pTask->queue.size()) {
    return 0;
  }
  std::memcpy(pMsg, pTask->queue[nIndex].data(), OS_MSG_SIZE);
  return 1;
}

extern "C" BOOL OsDeleteMessages(HOBJ hTask, UINT32 nCount) {
  std::shared_ptr<Task> pTask = FindTask(hTask, "OsDeleteMessages");
  if (pTask == nullptr) {
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(pTask->mutex);
  if (nCount > pTask->queue.size()) {
    DbgPrint(DBG_CLASS_FAIL, "OsDeleteMessages: - %u messages asked, %zu queued\n", nCount, pTask->queue.size());
    return FALSE;
  }
  pTask->queue.erase(pTask->queue.begin(), pTask->queue.begin() + nCount);
  return TRUE;
}

extern "C" int OsGetMessageCount(HOBJ hTask) {
  std::shared_ptr<Task> pTask = FindTask(hTask, "OsGetMessageCount");
  if (pTask == nullptr) {
    return -1;
  }
  std::lock_guard<std::mutex> lock(pTask->mutex);
  return static_cast<int>(pTask->queue.size());
}
