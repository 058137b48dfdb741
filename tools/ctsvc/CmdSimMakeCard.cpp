// ctsvc sim make-card --gsm|--usim [--empty] FILE: writes a sample card file.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "Args.h"
#include "CtsvcTool.h"
#include "ZelSimSampleCard.h"

namespace ctsvc_tool {

int RunSimMakeCard(const Options&, const std::vector<std::string>& vcArgs) {
  const std::vector<std::string> vcFlags = {"gsm", "usim", "empty"};
  const Args args(vcArgs, vcFlags);
  const std::string strUnknown = args.Unknown(vcFlags);
  if (!args.IsValid() || !strUnknown.empty()) {
    return Fail(kExitUsage, "sim make-card: " + (args.IsValid() ? "unknown option " + strUnknown : args.Error()));
  }
  if (args.Has("gsm") == args.Has("usim") || args.Positional().size() != 1) {
    return Fail(kExitUsage, "sim make-card: give --gsm or --usim and one FILE");
  }
  const std::string strPath = args.Positional()[0];
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
