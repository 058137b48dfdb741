// ctsvc sim SUBCOMMAND: the simulated SIM card of the data directory.
#include "CtsvcTool.h"

namespace ctsvc_tool {

int RunSim(const Options& options, const Args& args) {
  const std::string strSub = args.Word(0);
  if (strSub == "make-card") {
    return RunSimMakeCard(options, args);
  }
  if (args.Has("gsm") || args.Has("usim") || args.Has("empty")) {
    return Fail(kExitUsage, "sim " + strSub + ": --gsm, --usim and --empty belong to make-card");
  }
  if (strSub == "dump" && args.Positional().size() == 1) {
    return RunSimDump(options, args);
  }
  // Subcommands with their number of words after the subcommand (least, most).
  static const struct {
    const char* pszName;
    size_t nMin;
    size_t nMax;
    int (*pfnRun)(const Options&, const Args&);
  } kSubs[] = {{"status", 0, 0, RunSimStatus},         {"list", 0, 1, RunSimList},
               {"set", 1, 1, RunSimSet},               {"delete", 1, 1, RunSimDelete},
               {"insert-card", 1, 1, RunSimInsertCard}, {"remove-card", 0, 0, RunSimRemoveCard}};
  const size_t nWords = args.Positional().size() - 1;
  for (const auto& sub : kSubs) {
    if (strSub == sub.pszName && nWords >= sub.nMin && nWords <= sub.nMax) {
      return sub.pfnRun(options, args);
    }
  }
  return Fail(kExitUsage, "sim: unknown subcommand '" + strSub +
                              "' (make-card FILE, dump, status, list [KIND], set INDEX, delete INDEX, insert-card FILE, "
                              "remove-card)");
}

}  // namespace ctsvc_tool
