// ctsvc sim SUBCOMMAND: the simulated SIM card of the data directory.
#include "CtsvcTool.h"

namespace ctsvc_tool {

int RunSim(const Options& options, const std::vector<std::string>& vcArgs) {
  if (vcArgs.empty()) {
    return Fail(kExitUsage, "sim: give make-card or dump");
  }
  const std::vector<std::string> vcRest(vcArgs.begin() + 1, vcArgs.end());
  if (vcArgs[0] == "make-card") {
    return RunSimMakeCard(options, vcRest);
  }
  if (vcArgs[0] == "dump") {
    return RunSimDump(options, vcRest);
  }
  return Fail(kExitUsage, "sim: unknown subcommand '" + vcArgs[0] + "' (make-card, dump)");
}

}  // namespace ctsvc_tool
