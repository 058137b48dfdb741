// The command table of ctsvc.
#include "CtsvcTool.h"

namespace ctsvc_tool {

const std::vector<Command>& Commands() {
  static const std::vector<Command> kCommands = {
      {"init", "", "open or create the store; show its schema version and tables", &RunInit},
      {"demo", "", "the main job: load the service and show what it does", &RunDemo},
  };
  return kCommands;
}

}  // namespace ctsvc_tool
