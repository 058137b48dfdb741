// The ctsvc program: a command-line driver of the contact service for platform developers.
#ifndef CTSVC_TOOL_H
#define CTSVC_TOOL_H

#include <string>
#include <vector>

#include "Args.h"

namespace ctsvc_tool {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // the store cannot be opened, an operation failed
constexpr int kExitUsage = 2;    // bad arguments

// What a command does with a data directory that holds no store yet.
enum class StoreUse {
  kCreates,   // makes the store (init, demo, gen, add)
  kExisting,  // needs one: reports that there is none
  kNone       // does not open the store
};

struct Options {
  std::string strDataDir = "./ctsvc-data";
  bool bJson = false;
  bool bCreateStore = false;  // the command may create a missing store
};

struct Command {
  const char* szName;
  const char* szArgs;     // what follows the name in the usage line
  const char* szHelp;     // one line for the command list
  const char* szDetails;  // the arguments and options, one per line, for "ctsvc NAME --help"
  const char* szFlags;    // options without a value, blank-separated
  const char* szValues;   // options with a value, blank-separated
  size_t nMinWords;       // positional words
  size_t nMaxWords;
  StoreUse eStore;
  int (*pfnRun)(const Options& options, const Args& args);
};

// Every command, in the order --help lists them.
const std::vector<Command>& Commands();

// Prints "ctsvc: <message>" on stderr and returns the exit code.
int Fail(int nExitCode, const std::string& strMessage);
// Prints "ctsvc: warning: <message>" on stderr.
void Warn(const std::string& strMessage);
// Draws a progress bar on stderr when stderr is a terminal (nothing otherwise).
void DrawProgress(int nDone, int nTotal);

// Opens the data directory and its store and brings the service up (CtSvcDispatch(0)). A
// directory without a store is only given one when options.bCreateStore is set. On failure prints
// why and returns false; the caller exits with kExitFailure.
bool OpenService(const Options& options);
// Takes the service down (CtSvcDispatch(1)).
void CloseService();

// Runs body() with the service up; kExitFailure when it cannot be brought up.
template <typename F>
int WithService(const Options& options, F body) {
  if (!OpenService(options)) {
    return kExitFailure;
  }
  const int nResult = body();
  CloseService();
  return nResult;
}

// The person of contact nId (or, with --person, person nId itself) that a command changes; 0 after
// printing why there is none (no such contact, or one linked from several persons).
int PersonToUpdate(const Args& args, int nId);

int RunInit(const Options& options, const Args& args);
int RunDemo(const Options& options, const Args& args);
int RunGen(const Options& options, const Args& args);
int RunAdd(const Options& options, const Args& args);
int RunUpdate(const Options& options, const Args& args);
int RunShow(const Options& options, const Args& args);
int RunList(const Options& options, const Args& args);
int RunFavorites(const Options& options, const Args& args);
int RunDelete(const Options& options, const Args& args);
int RunLink(const Options& options, const Args& args);
int RunUnlink(const Options& options, const Args& args);
int RunFavorite(const Options& options, const Args& args);
int RunGroup(const Options& options, const Args& args);
int RunSpeedDial(const Options& options, const Args& args);
int RunSearch(const Options& options, const Args& args);
int RunLetters(const Options& options, const Args& args);
int RunLettersAsync(const Options& options, bool bPersons, int nIndexType);
int RunDeleteAccount(const Options& options, const Args& args);
int RunWatch(const Options& options, const Args& args);
int RunBoot(const Options& options, const Args& args);
int RunSim(const Options& options, const Args& args);
int RunAt(const Options& options, const Args& args);
int RunAtServe(const Options& options, const Args& args);
int RunPbap(const Options& options, const Args& args);
int RunImage(const Options& options, const Args& args);
int RunImport(const Options& options, const Args& args);
int RunExport(const Options& options, const Args& args);
int RunBackup(const Options& options, const Args& args);
int RunRestore(const Options& options, const Args& args);
int RunSimMakeCard(const Options& options, const Args& args);
int RunSimDump(const Options& options, const Args& args);
int RunSimStatus(const Options& options, const Args& args);
int RunSimList(const Options& options, const Args& args);
int RunSimSet(const Options& options, const Args& args);
int RunSimDelete(const Options& options, const Args& args);
int RunSimInsertCard(const Options& options, const Args& args);
int RunSimRemoveCard(const Options& options, const Args& args);
int RunSettings(const Options& options, const Args& args);
int RunMyProfile(const Options& options, const Args& args);
int RunOwnNumber(const Options& options, const Args& args);
int RunBirthdays(const Options& options, const Args& args);
int RunBulk(const Options& options, const Args& args);

}  // namespace ctsvc_tool

#endif
