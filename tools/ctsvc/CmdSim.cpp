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
  return Fail(kExitUsage, "sim: unknown subcommand '" + strSub + "' (make-card FILE, dump)");
}

}  // namespace ctsvc_tool
