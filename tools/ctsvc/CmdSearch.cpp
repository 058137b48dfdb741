// ctsvc search: the contacts whose names start words with the text (every word), or whose
// numbers or e-mail addresses contain a text.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "Args.h"
#include "ContactView.h"
#include "ContactInput.h"
#include "CtSvcDbDetail.h"
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

// The contacts (primary ids, each once, in the order of their rows) with a detail row that the
// filter fill() describes selects.
template <typename Filter, typename Record, typename Fill>
std::vector<int> SearchDetails(void (*pfnInit)(Filter*), Fill fill, int (*pfnCount)(const Filter*),
                               int (*pfnRecords)(const Filter*, Record*, int), int nDevice, int& nCount) {
  Filter filter;
  pfnInit(&filter);
  fill(filter);
  filter.DevType = nDevice;
  std::vector<int> vcIds;
  const int nRows = pfnCount(&filter);
  std::vector<Record> vcRows(static_cast<size_t>(std::max(nRows, 1)));
  const int nRead = nRows <= 0 ? nRows : pfnRecords(&filter, vcRows.data(), nRows);
  for (int i = 0; i < nRead; ++i) {
    const int nPrimary = vcRows[static_cast<size_t>(i)].nPrimaryId;
    if (std::find(vcIds.begin(), vcIds.end(), nPrimary) == vcIds.end()) {
      vcIds.push_back(nPrimary);
    }
  }
  nCount = nRead < 0 ? -1 : static_cast<int>(vcIds.size());
  return vcIds;
}

std::vector<int> SearchNumbers(const std::string& strText, int nDevice, int& nCount) {
  return SearchDetails<CtSvcPhoneNumberFilter, CtSvcPhoneNumberRecord>(
      &CtSvcPhoneNumberFilterInit,
      [&](CtSvcPhoneNumberFilter& filter) {
        PutText(filter.szPhoneNumber, strText);
        filter.NumberTruncation = CTSVC_FILTER_TRUNCATION_CONTAINS;
      },
      &CtSvcDbPhoneNumberGetCount, &CtSvcDbPhoneNumberGetRecords, nDevice, nCount);
}

std::vector<int> SearchEmails(const std::string& strText, int nDevice, int& nCount) {
  return SearchDetails<CtSvcEmailFilter, CtSvcEmailAddressRecord>(
      &CtSvcEmailFilterInit,
      [&](CtSvcEmailFilter& filter) {
        PutText(filter.szEmailAddress, strText);
        filter.EmailTruncation = CTSVC_FILTER_TRUNCATION_CONTAINS;
      },
      &CtSvcDbEmailAddressGetCount, &CtSvcDbEmailAddressGetRecords, nDevice, nCount);
}

}  // namespace

int RunSearch(const Options& options, const Args& args) {
  int nDevice = 0, nGroup = 0, nLimit = 20;
  if ((args.Has("device") && (!args.GetInt("device", nDevice) || nDevice < 0 || nDevice > 2)) ||
      (args.Has("group") && (!args.GetInt("group", nGroup) || nGroup <= 0)) ||
      (args.Has("limit") && (!args.GetInt("limit", nLimit) || nLimit < 0))) {
    return Fail(kExitUsage, "--device is 1 or 2, --group a group id, --limit a number (see ctsvc search --help)");
  }
  const std::string strText = args.Word(0);
  const bool bExtended = args.Has("group") || args.Has("favorite") || args.Has("has-number") ||
                         args.Has("has-email") || args.Has("local");
  const bool bDetail = args.Has("number") || args.Has("email");
  if (bDetail && (bExtended || !strText.empty() || (args.Has("number") && args.Has("email")))) {
    return Fail(kExitUsage, "--number and --email search on their own (see ctsvc search --help)");
  }
  if (!OpenService(options)) {
    return kExitFailure;
  }
  int nCount = 0;
  const std::vector<int> vcIds = !bDetail             ? Search(args, strText, bExtended, nDevice, nCount)
                                 : args.Has("number") ? SearchNumbers(args.Get("number"), nDevice, nCount)
                                                      : SearchEmails(args.Get("email"), nDevice, nCount);
  Json result = Json::Object();
  result.Set("text", bDetail ? args.Get(args.Has("number") ? "number" : "email") : strText);
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
