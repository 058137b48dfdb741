// ctsvc search TEXT: the contacts whose names start words with the text (every word).
#include <cstring>
#include <string>
#include <vector>

#include "Args.h"
#include "ContactView.h"
#include "CtSvcSearch.h"
#include "CtsvcTool.h"
#include "Json.h"

namespace ctsvc_tool {

namespace {

// Runs the search and returns the primary ids found; -1 in nCount on failure.
std::vector<int> Search(const Args& args, const std::string& strText, bool bExtended, int nDevice, int& nCount) {
  std::vector<int> vcIds;
  if (!bExtended) {
    if (!CtSvcSearchRequestSearch(0, strText.c_str(), nDevice)) {
      nCount = -1;
      return vcIds;
    }
    nCount = CtSvcSearchGetResultCount();
    for (int i = 0; i < nCount; ++i) {
      vcIds.push_back(CtSvcSearchGetResultItem(i));
    }
    CtSvcSearchDestroyResult();
    return vcIds;
  }
  CtSvcExtendedSearchRequest request{};
  std::strncpy(request.szSearchText, strText.c_str(), sizeof(request.szSearchText) - 1);
  request.DevType = nDevice;
  request.nAccountId = -1;
  args.GetInt("group", request.nGroupId);
  if (args.Has("favorite")) {
    request.FavoriteType = 2;
  }
  if (args.Has("has-number")) {
    request.nFilterFlag |= CTSVC_SEARCH_FILTER_HAS_PHONENUMBER;
  }
  if (args.Has("has-email")) {
    request.nFilterFlag |= CTSVC_SEARCH_FILTER_HAS_EMAIL;
  }
  request.bLocalPhoneDataOnly = args.Has("local") ? 1 : 0;
  const int nResult = CtSvcExtendedSearchRequestSearch(0, &request);
  if (nResult < 0) {
    nCount = -1;
    return vcIds;
  }
  nCount = CtSvcExtendedSearchGetResultCount(nResult);
  for (int i = 0; i < nCount; ++i) {
    vcIds.push_back(CtSvcExtendedSearchGetResultItem(nResult, i));
  }
  CtSvcExtendedSearchDestroyResult(nResult);
  return vcIds;
}

}  // namespace

int RunSearch(const Options& options, const std::vector<std::string>& vcArgs) {
  const Args args(vcArgs, {"favorite", "has-number", "has-email", "local"});
  const std::vector<std::string> vcAllowed = {"favorite", "has-number", "has-email", "local", "group", "device", "limit"};
  int nDevice = 0, nGroup = 0, nLimit = 20;
  if (!args.IsValid() || !args.Unknown(vcAllowed).empty() || args.Positional().size() > 1 ||
      (args.Has("device") && (!args.GetInt("device", nDevice) || nDevice < 0 || nDevice > 2)) ||
      (args.Has("group") && (!args.GetInt("group", nGroup) || nGroup <= 0)) ||
      (args.Has("limit") && (!args.GetInt("limit", nLimit) || nLimit < 0))) {
    return Fail(kExitUsage,
                "usage: search [TEXT] [--device 1|2] [--group ID] [--favorite] [--has-number] [--has-email] "
                "[--local] [--limit N]");
  }
  const std::string strText = args.Positional().empty() ? "" : args.Positional()[0];
  const bool bExtended = args.Has("group") || args.Has("favorite") || args.Has("has-number") ||
                         args.Has("has-email") || args.Has("local");
  if (!OpenService(options)) {
    return kExitFailure;
  }
  int nCount = 0;
  const std::vector<int> vcIds = Search(args, strText, bExtended, nDevice, nCount);
  Json result = Json::Object();
  result.Set("text", strText);
  result.Set("found", nCount);
  Json contacts = Json::Array();
  for (size_t i = 0; i < vcIds.size() && static_cast<int>(i) < nLimit; ++i) {
    contacts.Push(PrimarySummary(vcIds[i]));
  }
  result.Set("contacts", contacts);
  CloseService();
  if (nCount < 0) {
    return Fail(kExitFailure, "the search could not run");
  }
  Print(result, options.bJson);
  return kExitOk;
}

}  // namespace ctsvc_tool
