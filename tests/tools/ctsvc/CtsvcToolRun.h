// Runs the ctsvc program as a user would: its exit code and everything it printed.
#ifndef CTSVC_TOOL_RUN_H
#define CTSVC_TOOL_RUN_H

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace ctsvc_tool_test {

struct ToolRun {
  int nExit;
  std::string strOut;  // stdout and stderr
};

inline ToolRun RunTool(const std::string& strArgs) {
  ToolRun run{-1, ""};
  FILE* pPipe = popen((std::string(CTSVC_TOOL_PATH) + " " + strArgs + " 2>&1").c_str(), "r");
  if (pPipe == nullptr) {
    return run;
  }
  std::array<char, 4096> buf{};
  for (size_t n; (n = fread(buf.data(), 1, buf.size(), pPipe)) > 0;) {
    run.strOut.append(buf.data(), n);
  }
  const int nStatus = pclose(pPipe);
  run.nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
  return run;
}

}  // namespace ctsvc_tool_test

#endif
