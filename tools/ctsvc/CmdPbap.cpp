// ctsvc pbap export: writes the Bluetooth phonebook-access files of the phone (or, with --sim, of
// the SIM) as the Bluetooth service asks for them, and prints their paths.
#include <cstdio>
#include <string>
#include <vector>

#include "CtSvcPbap.h"
#include "CtSvcSimCi.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "SimPhonebook.h"
#include "ZelBluetoothTest.h"
#include "ZelFm.h"
#include "ZelPhs.h"

namespace ctsvc_tool {

namespace {

// How long the full list may take to be written after it was asked for.
constexpr int kCompletionTimeoutMs = 30000;

std::string HostPath(int nDeviceType, CtSvcPbapFile eFile, int nIndex) {
  char szPath[CTSVC_PBAP_PATH_SIZE] = {};
  char szHost[1024] = {};
  CtSvcPbapGetPath(nDeviceType, eFile, nIndex, szPath, sizeof(szPath));
  return FmGetHostPath(szPath, szHost, sizeof(szHost)) ? szHost : szPath;
}

// The full list, as the Bluetooth service gets it: asked for, then written on the service's timer.
bool ExportFullList(int nDeviceType, std::vector<std::string>& vcPaths) {
  zel::test::TakePbsCompletions();  // none of an earlier run counts
  const CtSvcBtPbsCtInfo request{0, CTSVC_PBAP_MAX_ENTRY, -1};
  if (!CtSvcFullCtListExForPBAP(nDeviceType, &request)) {
    return false;
  }
  BOOL bWritten = FALSE;
  if (!zel::test::WaitPbsCompletion(kCompletionTimeoutMs, &bWritten) || !bWritten) {
    return false;
  }
  vcPaths.push_back(HostPath(nDeviceType, CTSVC_PBAP_FILE_FULL_LIST, -1));
  return true;
}

bool ExportListing(int nDeviceType, std::vector<std::string>& vcPaths) {
  const INT32 nEntries = CtSvcFullCtListForPBAPListing(nDeviceType);
  for (int i = 0; i < nEntries; ++i) {
    vcPaths.push_back(HostPath(nDeviceType, CTSVC_PBAP_FILE_LISTING_ENTRY, i));
  }
  return nEntries > 0;
}

}  // namespace

int RunPbap(const Options& options, const Args& args) {
  if (args.Word(0) != "export") {
    return Fail(kExitUsage, "pbap: unknown subcommand '" + args.Word(0) + "' (export)");
  }
  const int nDeviceType = args.Has("sim") ? CTSVC_USE_TYPE_SIM : CTSVC_USE_TYPE_PHONE;
  const bool bListing = args.Has("listing");
  return WithService(options, [&]() {
    const int nCardType = CtSvcSimGetCardType();
    PhsSetStatus(PSV_SIM_MODE_NOSIM,
                 nCardType == CTSVC_SIM_CARD_TYPE_GSM || nCardType == CTSVC_SIM_CARD_TYPE_USIM ? 0 : 1);
    bool bNoSim = false;
    if (!StartPhonebook("pbap export", &bNoSim)) {
      return kExitFailure;
    }
    std::vector<std::string> vcPaths;
    if (!(bListing ? ExportListing(nDeviceType, vcPaths) : ExportFullList(nDeviceType, vcPaths))) {
      return Fail(kExitFailure, "pbap export: the files could not be written");
    }
    if (options.bJson) {
      Json files = Json::Array();
      for (const std::string& strPath : vcPaths) {
        files.Push(Json(strPath));
      }
      Json result = Json::Object();
      result.Set("files", files);
      Print(result, true);
    } else {
      for (const std::string& strPath : vcPaths) {
        std::printf("%s\n", strPath.c_str());
      }
    }
    return kExitOk;
  });
}

}  // namespace ctsvc_tool
