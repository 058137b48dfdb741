// The service in a child process forked by a test: started on a data directory, stopped, and the
// child's exit code as its parent reads it. A test forks before it starts any thread.
#ifndef CTSVC_TEST_FORKED_SERVICE_H
#define CTSVC_TEST_FORKED_SERVICE_H

#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcModule.h"
#include "ZelDb2.h"
#include "ZelFm.h"

namespace ctsvc_test {

// Opens the store of the directory (made when missing) and loads the service on it.
inline bool StartServiceIn(const std::string& strDir) {
  if (!ZelSetDataDir(strDir.c_str()) || Db2Open(nullptr) != DB2_OK) {
    return false;
  }
  CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0);
  return CtSvcGetModuleMutex() != ZEL_INVALID_HANDLE_VALUE;
}

inline void StopService() {
  CtSvcDispatch(CTSVC_DISPATCH_UNLOAD, 0, 0);
  CCtSvcDbMgr::DestroyInstance();
  Db2Close();
}

// Waits for the child; its exit code, or -1 when it did not exit by itself.
inline int ExitCodeOf(pid_t pid) {
  int nStatus = 0;
  waitpid(pid, &nStatus, 0);
  return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}

// Runs child() in a forked process (which must end by _exit) and answers its exit code.
template <typename F>
int RunChild(F child) {
  const pid_t pid = fork();
  if (pid == 0) {
    child();
  }
  return ExitCodeOf(pid);
}

}  // namespace ctsvc_test

#endif
