// The ctsvc program: a command-line driver of the contact service for platform developers.
#ifndef CTSVC_TOOL_H
#define CTSVC_TOOL_H

#include <string>
#include <vector>

namespace ctsvc_tool {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // the store cannot be opened, an operation failed
constexpr int kExitUsage = 2;    // bad arguments

struct Options {
  std::string strDataDir = "./ctsvc-data";
  bool bJson = false;
};

struct Command {
  const char* szName;
  const char* szArgs;
  const char* szHelp;
  int (*pfnRun)(const Options& options, const std::vector<std::string>& vcArgs);
};

// Every command, in the order --help lists them.
const std::vector<Command>& Commands();

// Prints "ctsvc: <message>" on stderr and returns the exit code.
int Fail(int nExitCode, const std::string& strMessage);

// Opens the data directory and its store and brings the service up (CtSvcDispatch(0)).
// On failure prints why and returns false; the caller exits with kExitFailure.
bool OpenService(const Options& options);
// Takes the service down (CtSvcDispatch(1)).
void CloseService();

int RunInit(const Options& options, const std::vector<std::string>& vcArgs);
int RunDemo(const Options& options, const std::vector<std::string>& vcArgs);
int RunGen(const Options& options, const std::vector<std::string>& vcArgs);
int RunAdd(const Options& options, const std::vector<std::string>& vcArgs);
int RunShow(const Options& options, const std::vector<std::string>& vcArgs);
int RunList(const Options& options, const std::vector<std::string>& vcArgs);
int RunDelete(const Options& options, const std::vector<std::string>& vcArgs);
int RunLink(const Options& options, const std::vector<std::string>& vcArgs);
int RunUnlink(const Options& options, const std::vector<std::string>& vcArgs);
int RunFavorite(const Options& options, const std::vector<std::string>& vcArgs);
int RunGroup(const Options& options, const std::vector<std::string>& vcArgs);
int RunSpeedDial(const Options& options, const std::vector<std::string>& vcArgs);
int RunSearch(const Options& options, const std::vector<std::string>& vcArgs);
int RunLetters(const Options& options, const std::vector<std::string>& vcArgs);
int RunLettersAsync(const Options& options, bool bPersons, int nIndexType);
int RunDeleteAccount(const Options& options, const std::vector<std::string>& vcArgs);
int RunWatch(const Options& options, const std::vector<std::string>& vcArgs);
int RunSim(const Options& options, const std::vector<std::string>& vcArgs);
int RunSimMakeCard(const Options& options, const std::vector<std::string>& vcArgs);
int RunSimDump(const Options& options, const std::vector<std::string>& vcArgs);

}  // namespace ctsvc_tool

#endif
