// ctsvc [--data DIR] [--json] COMMAND [ARGS...]; the options --data, --json, --help and --version
// may stand before or after the command.
#include <cstdio>
#include <string>
#include <vector>

#include "CtSvcDb.h"
#include "CtsvcTool.h"

namespace ctsvc_tool {

int Fail(int nExitCode, const std::string& strMessage) {
  std::fprintf(stderr, "ctsvc: %s\n", strMessage.c_str());
  return nExitCode;
}

void Warn(const std::string& strMessage) { std::fprintf(stderr, "ctsvc: warning: %s\n", strMessage.c_str()); }

namespace {

constexpr char kGlobalUsage[] = "ctsvc [--data DIR] [--json]";

void PrintHelp(FILE* pOut) {
  std::fprintf(pOut,
               "usage: %s COMMAND [ARGS...]\n\n"
               "Drives the contact service on the store in DIR (default ./ctsvc-data).\n\n"
               "options (before or after the command):\n"
               "  --data DIR   data directory holding ctsvc.db and the settings files (also --data=DIR)\n"
               "  --json       machine-readable output\n"
               "  --help       this text; 'ctsvc COMMAND --help' describes a command\n"
               "  --version    the program's and the store format's version\n\n"
               "commands:\n",
               kGlobalUsage);
  for (const Command& cmd : Commands()) {
    std::fprintf(pOut, "  %-15s %s\n", cmd.szName, cmd.szHelp);
  }
}

void PrintCommandHelp(const Command& cmd) {
  std::printf("usage: %s %s%s%s\n\n%s\n", kGlobalUsage, cmd.szName, *cmd.szArgs != '\0' ? " " : "", cmd.szArgs,
              cmd.szHelp);
  if (*cmd.szDetails != '\0') {
    std::printf("\n%s", cmd.szDetails);
  }
}

const Command* FindCommand(const std::string& strName) {
  for (const Command& cmd : Commands()) {
    if (strName == cmd.szName) {
      return &cmd;
    }
  }
  return nullptr;
}

// The whole command line: the global options wherever they stand, the command and its words.
struct CommandLine {
  Options options;
  bool bHelp = false;
  bool bVersion = false;
  const Command* pCommand = nullptr;
  std::vector<std::string> vcWords;  // after the command, without the global options
  std::string strError;
};

// Takes a global option at vcArgs[i] (and its value); false when it is none.
bool TakeGlobal(const std::vector<std::string>& vcArgs, size_t& i, CommandLine& line) {
  const std::string& strArg = vcArgs[i];
  if (strArg == "--json") {
    line.options.bJson = true;
  } else if (strArg == "--help" || strArg == "-h") {
    line.bHelp = true;
  } else if (strArg == "--version") {
    line.bVersion = true;
  } else if (strArg == "--data" || strArg.compare(0, 7, "--data=") == 0) {
    const bool bInline = strArg.size() > 6;
    if (!bInline && i + 1 >= vcArgs.size()) {
      line.strError = "--data needs a directory";
      return true;
    }
    line.options.strDataDir = bInline ? strArg.substr(7) : vcArgs[++i];
    if (line.options.strDataDir.empty()) {
      line.strError = "--data needs a directory";
    }
  } else {
    return false;
  }
  return true;
}

CommandLine Parse(const std::vector<std::string>& vcArgs) {
  CommandLine line;
  bool bOptionsEnded = false;
  for (size_t i = 0; i < vcArgs.size() && line.strError.empty(); ++i) {
    const std::string& strArg = vcArgs[i];
    if (!bOptionsEnded && TakeGlobal(vcArgs, i, line)) {
      continue;
    }
    if (line.pCommand != nullptr) {
      bOptionsEnded = bOptionsEnded || strArg == "--";
      line.vcWords.push_back(strArg);
    } else if (strArg.size() > 1 && strArg[0] == '-') {
      line.strError = "unknown option '" + strArg + "' (see ctsvc --help)";
    } else if ((line.pCommand = FindCommand(strArg)) == nullptr) {
      line.strError = "unknown command '" + strArg + "' (see ctsvc --help)";
    }
  }
  return line;
}

int RunCommand(const CommandLine& line) {
  const Command& cmd = *line.pCommand;
  const Args args(line.vcWords, SplitWords(cmd.szFlags), SplitWords(cmd.szValues));
  const std::string strSee = " (see ctsvc " + std::string(cmd.szName) + " --help)";
  if (!args.IsValid()) {
    return Fail(kExitUsage, args.Error() + strSee);
  }
  const size_t nWords = args.Positional().size();
  if (nWords < cmd.nMinWords) {
    return Fail(kExitUsage, std::string(cmd.szName) + " needs more arguments" + strSee);
  }
  if (nWords > cmd.nMaxWords) {
    return Fail(kExitUsage, "unexpected argument '" + args.Positional()[cmd.nMaxWords] + "'" + strSee);
  }
  Options options = line.options;
  options.bCreateStore = cmd.eStore == StoreUse::kCreates;
  return cmd.pfnRun(options, args);
}

}  // namespace
}  // namespace ctsvc_tool

int main(int argc, char** argv) {
  using namespace ctsvc_tool;
  const CommandLine line = Parse(std::vector<std::string>(argv + 1, argv + argc));
  if (!line.strError.empty()) {
    return Fail(kExitUsage, line.strError);
  }
  if (line.bVersion) {
    if (line.options.bJson) {
      std::printf("{\"program\":\"ctsvc\",\"library\":\"ZelCtSvc\",\"schemaVersion\":\"%s\"}\n", CtSvcGetDBCodeVer());
    } else {
      std::printf("ctsvc of ZelCtSvc, store schema %s\n", CtSvcGetDBCodeVer());
    }
    return kExitOk;
  }
  if (line.bHelp) {
    line.pCommand != nullptr ? PrintCommandHelp(*line.pCommand) : PrintHelp(stdout);
    return kExitOk;
  }
  if (line.pCommand == nullptr) {
    PrintHelp(stderr);
    return kExitUsage;
  }
  return RunCommand(line);
}
