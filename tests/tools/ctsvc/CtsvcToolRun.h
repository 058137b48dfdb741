// Runs the ctsvc program as a user would: its exit code and everything it printed.
#ifndef CTSVC_TOOL_RUN_H
#define CTSVC_TOOL_RUN_H

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <string>

namespace ctsvc_tool_test {

struct ToolRun {
  int nExit;
  std::string strOut;  // stdout and stderr (stdout only when asked)
};

// Runs the program with the user and group id nUid (a root test process drops its rights so
// that file permissions apply; the test's own id runs as it is); nExit is -1 when the child could
// not be started.
inline ToolRun RunToolAs(uid_t nUid, const std::string& strArgs, bool bStderr = true) {
  ToolRun run{-1, ""};
  // Built before the fork: a child of a process with threads may not allocate.
  const std::string strCommand = std::string(CTSVC_TOOL_PATH) + " " + strArgs + (bStderr ? " 2>&1" : " 2>/dev/null");
  int aPipe[2];
  if (pipe(aPipe) != 0) {
    return run;
  }
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(aPipe[1], STDOUT_FILENO);
    close(aPipe[0]);
    if (nUid != geteuid() && (setgroups(0, nullptr) != 0 || setgid(nUid) != 0 || setuid(nUid) != 0)) {
      _exit(126);
    }
    execl("/bin/sh", "sh", "-c", strCommand.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(aPipe[1]);
  std::array<char, 4096> buf{};
  for (ssize_t n; pid > 0 && (n = read(aPipe[0], buf.data(), buf.size())) > 0;) {
    run.strOut.append(buf.data(), static_cast<size_t>(n));
  }
  close(aPipe[0]);
  int nStatus = 0;
  if (pid > 0 && waitpid(pid, &nStatus, 0) == pid && WIFEXITED(nStatus)) {
    run.nExit = WEXITSTATUS(nStatus);
  }
  return run;
}

inline ToolRun RunTool(const std::string& strArgs, bool bStderr = true) { return RunToolAs(geteuid(), strArgs, bStderr); }

}  // namespace ctsvc_tool_test

#endif
