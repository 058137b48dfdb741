// ctsvc sim make-card --gsm|--usim [--empty] FILE: writes a sample card file.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "Args.h"
#include "CtsvcTool.h"
#include "ZelSimSampleCard.h"

namespace ctsvc_tool {

// args: "make-card FILE" with the --gsm, --usim and --empty flags.
int RunSimMakeCard(const Options&, const Args& args) {
  if (args.Has("gsm") == args.Has("usim") || args.Positional().size() != 2) {
    return Fail(kExitUsage, "sim make-card: give --gsm or --usim and one FILE");
  }
  const std::string strPath = args.Word(1);
  const bool bUsim = args.Has("usim");
  const std::string strCard =
      zel::sim::BuildSampleCard(bUsim ? zel::sim::SampleCardType::Usim : zel::sim::SampleCardType::Gsm,
                                args.Has("empty"));
  std::error_code ec;
  const std::filesystem::path path(strPath);
  if (path.has_parent_path()) {
    std::filesystem::create_directories(path.parent_path(), ec);
  }
  std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
  out << strCard;
  out.close();
  if (!out) {
    return Fail(kExitFailure, "sim make-card: cannot write " + strPath);
  }
  std::printf("%s: %s%s card written\n", strPath.c_str(), args.Has("empty") ? "empty " : "",
              bUsim ? "USIM" : "GSM SIM");
  return kExitOk;
}

}  // namespace ctsvc_tool
