// Calls of the delete-account job into other modules: the change-listener pause and the removal
// of an account's caller images (one function each, so that each module is wired in one place).
#ifndef CTSVC_TASK_HOOKS_H
#define CTSVC_TASK_HOOKS_H

// Pauses (true) or resumes (false) the change notices to the client listeners.
void CtSvcTaskPauseListeners(bool bPause);

// Deletes the caller images kept for the account.
void CtSvcTaskDeleteAccountImages(int nAccountId);

// Holds the client listeners paused for its lifetime.
class CCtSvcTaskListenerPause {
 public:
  CCtSvcTaskListenerPause() { CtSvcTaskPauseListeners(true); }
  ~CCtSvcTaskListenerPause() { CtSvcTaskPauseListeners(false); }
  CCtSvcTaskListenerPause(const CCtSvcTaskListenerPause&) = delete;
  CCtSvcTaskListenerPause& operator=(const CCtSvcTaskListenerPause&) = delete;
};

#endif
