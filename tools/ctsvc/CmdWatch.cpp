// ctsvc watch: prints the changes other processes make to the store, as they make them.
#include <csignal>
#include <cstdio>
#include <string>

#include "Args.h"
#include "ContentChangeWatcher.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "ZelFm.h"

namespace ctsvc_tool {

namespace {

volatile std::sig_atomic_t g_bStop = 0;

void OnSignal(int) { g_bStop = 1; }

const char* ChangeName(int nType) {
  switch (nType) {
    case 0: return "insert";
    case 1: return "update";
    case 2: return "delete";
    default: return "change";
  }
}

}  // namespace

int RunWatch(const Options& options, const Args& args) {
  int nCount = -1, nSeconds = -1;
  if ((args.Has("count") && (!args.GetInt("count", nCount) || nCount <= 0)) ||
      (args.Has("seconds") && (!args.GetInt("seconds", nSeconds) || nSeconds <= 0))) {
    return Fail(kExitUsage, "usage: watch [--count N] [--seconds S]");
  }
  if (!ZelSetDataDir(options.strDataDir.c_str())) {
    return Fail(kExitFailure, "cannot create or use the data directory '" + options.strDataDir + "'");
  }
  CContentChangeWatcher watcher;
  if (!watcher.Open()) {
    return Fail(kExitFailure, "another watcher follows '" + options.strDataDir + "' (or its path is too long)");
  }
  std::signal(SIGINT, &OnSignal);
  std::signal(SIGTERM, &OnSignal);
  std::fprintf(stderr, "watching %s (Ctrl-C ends)\n", options.strDataDir.c_str());
  int nSeen = 0;
  int nWaitedMs = 0;
  while (!g_bStop && (nCount < 0 || nSeen < nCount) && (nSeconds < 0 || nWaitedMs < nSeconds * 1000)) {
    std::string strLine;
    if (!watcher.Receive(strLine, 200)) {
      nWaitedMs += 200;
      continue;
    }
    int nType = -1, nId = 0;
    char szUri[256] = "";
    if (std::sscanf(strLine.c_str(), "%d %d %255s", &nType, &nId, szUri) != 3) {
      continue;
    }
    ++nSeen;
    Json change = Json::Object();
    change.Set("change", ChangeName(nType));
    change.Set("id", nId);
    change.Set("uri", szUri);
    if (options.bJson) {
      Print(change, true);
    } else {
      std::printf("%-6s %-28s %s\n", ChangeName(nType), szUri, nId < 0 ? "(rows of a filter)" : std::to_string(nId).c_str());
    }
    std::fflush(stdout);
  }
  return kExitOk;
}

}  // namespace ctsvc_tool
