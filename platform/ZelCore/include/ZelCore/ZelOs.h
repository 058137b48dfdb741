/* Operating-system layer: tasks with message queues, recursive named mutexes, one-shot timers. */
#ifndef ZEL_OS_H
#define ZEL_OS_H

#include "ZelTypes.h"

/* Every task message is this many bytes. */
#define OS_MSG_SIZE 56

typedef void (*OsTaskEntry)(void* pParam);
typedef void (*OsTimerCallback)(HOBJ hTimer, void* pParam);

ZEL_EXTERN_C_BEGIN

/* Tasks: a task is a thread with its own message queue. It is created stopped and runs
 * pfnEntry(pParam) once started. */
HOBJ OsCreateTask(const char* pszName, UINT32 nPriority, UINT32 nStackSize, OsTaskEntry pfnEntry, UINT32 nFlags,
                  void* pParam);
BOOL OsStartTask(HOBJ hTask);
/* Waits for the task's entry to return (unless called from the task itself) and frees the task.
 * Queued messages are dropped and a receive blocked on the task's queue returns -1. */
BOOL OsDeleteTask(HOBJ hTask);
HOBJ OsGetCurrentTask(void);          /* INVALID_HOBJ on a thread that is not a platform task */
/* null when the thread has no name. Event-handler threads carry their handler's name, the
 * platform timer thread "ZelTimer". */
const char* OsGetCurrentTaskName(void);
/* Names the calling thread as a task (an application's main thread, "Korin" for the UI task). */
void OsSetCurrentTaskName(const char* pszName);
void OsSleep(UINT32 nMilliseconds);

/* Messages of OS_MSG_SIZE bytes on a task's queue. */
BOOL OsSendMessage(HOBJ hTask, const void* pMsg);
/* Waits up to nTimeoutMs (negative: forever) for the first message and removes it. 1 received, 0 timeout, -1 error. */
int OsReceiveMessage(HOBJ hTask, void* pMsg, INT32 nTimeoutMs);
/* Copies the message at position nIndex without removing it: 1 copied, 0 no such message, -1 error. */
int OsPeekMessage(HOBJ hTask, UINT32 nIndex, void* pMsg);
/* Removes the first nCount messages; FALSE when the queue holds fewer. */
BOOL OsDeleteMessages(HOBJ hTask, UINT32 nCount);
int OsGetMessageCount(HOBJ hTask);

/* Mutexes: recursive, named (names need not be unique). */
HOBJ OsCreateMutex(const char* pszName);
BOOL OsLockMutex(HOBJ hMutex);
BOOL OsTryLockMutex(HOBJ hMutex);
BOOL OsUnlockMutex(HOBJ hMutex);
/* Deleting is safe whoever holds the mutex: the handle is invalid at once, threads waiting to lock
 * it get FALSE, and the holder's later unlock gets FALSE (nothing stays locked). */
BOOL OsDeleteMutex(HOBJ hMutex);

/* One-shot timers. When the timer is created on an event handler's thread the callback runs on
 * that handler's thread; otherwise it runs on the platform's timer thread. */
HOBJ OsCreateTimer(const char* pszName, OsTimerCallback pfnCallback, void* pParam);
BOOL OsStartTimer(HOBJ hTimer, UINT32 nMilliseconds); /* (re)arms */
BOOL OsStopTimer(HOBJ hTimer);
BOOL OsIsTimerRunning(HOBJ hTimer);
/* Stops the timer and waits for a callback of it that is running on another thread (not when
 * called from the callback itself). A callback that waits for a lock the deleting thread holds
 * would wait forever: delete such timers without holding that lock, or stop them first. */
BOOL OsDeleteTimer(HOBJ hTimer);

ZEL_EXTERN_C_END

#endif
