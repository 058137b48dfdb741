// Runs vobject_read.py (Debian's python3-vobject) on a vCard file: its exit status (77: vobject is
// not installed) and its output, one line per card.
#ifndef CTSVC_VOBJECT_READER_H
#define CTSVC_VOBJECT_READER_H

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <utility>

inline std::pair<int, std::string> ReadWithVobject(const std::string& strPath) {
  const std::string strCommand = "/usr/bin/python3 " + std::string(CTSVC_TEST_SOURCE_DIR) +
                                 "/CtSvc/CtSvcVCard/vobject_read.py '" + strPath + "' 2>&1";
  FILE* pPipe = popen(strCommand.c_str(), "r");
  if (pPipe == nullptr) {
    return {-1, ""};
  }
  std::string strOut;
  char szBuffer[4096];
  for (size_t n; (n = std::fread(szBuffer, 1, sizeof(szBuffer), pPipe)) > 0;) {
    strOut.append(szBuffer, n);
  }
  const int nStatus = pclose(pPipe);
  return {WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1, strOut};
}

#endif
