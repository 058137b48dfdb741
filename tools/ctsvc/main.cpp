// ctsvc [--data DIR] [--json] COMMAND [ARGS...]
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CtsvcTool.h"

namespace ctsvc_tool {

int Fail(int nExitCode, const std::string& strMessage) {
  std::fprintf(stderr, "ctsvc: %s\n", strMessage.c_str());
  return nExitCode;
}

namespace {

void PrintHelp() {
  std::printf(
      "usage: ctsvc [--data DIR] [--json] COMMAND [ARGS...]\n\n"
      "Drives the contact service on the store in DIR (default ./ctsvc-data).\n\n"
      "options:\n"
      "  --data DIR   data directory holding ctsvc.db and the settings files\n"
      "  --json       machine-readable output\n"
      "  --help       this text\n\n"
      "commands:\n");
  for (const Command& cmd : Commands()) {
    std::printf("  %-9s %-28s %s\n", cmd.szName, cmd.szArgs, cmd.szHelp);
  }
}

}  // namespace
}  // namespace ctsvc_tool

int main(int argc, char** argv) {
  using namespace ctsvc_tool;
  Options options;
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    const std::string strArg = argv[i];
    if (strArg == "--help" || strArg == "-h") {
      PrintHelp();
      return kExitOk;
    }
    if (strArg == "--json") {
      options.bJson = true;
    } else if (strArg == "--data" && i + 1 < argc) {
      options.strDataDir = argv[++i];
    } else {
      return Fail(kExitUsage, "unknown option '" + strArg + "' (see ctsvc --help)");
    }
  }
  if (i >= argc) {
    PrintHelp();
    return kExitUsage;
  }
  const std::string strCommand = argv[i];
  const std::vector<std::string> vcArgs(argv + i + 1, argv + argc);
  for (const Command& cmd : Commands()) {
    if (strCommand == cmd.szName) {
      return cmd.pfnRun(options, vcArgs);
    }
  }
  return Fail(kExitUsage, "unknown command '" + strCommand + "' (see ctsvc --help)");
}
