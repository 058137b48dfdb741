// ctsvc show / list / favorites / link / unlink / favorite.
#include <string>
#include <vector>

#include "Args.h"
#include "ContactView.h"
#include "CtSvcDbPerson.h"
#include "CtSvcList.h"
#include "CtsvcTool.h"
#include "Json.h"

namespace ctsvc_tool {

namespace {

// A contact id from the positional word at nIndex, or a usage error naming that word.
bool PrimaryArg(const Args& args, size_t nIndex, int& nId) {
  if (!args.PositionalInt(nIndex, nId) || nId <= 0) {
    Fail(kExitUsage, std::string("expected a contact id (a positive number) as the ") + (nIndex == 0 ? "first" : "second") +
                         " argument");
    return false;
  }
  return true;
}

bool ReadOrder(const Args& args, int& nIndexType) {
  const std::string strOrder = args.Get("order", "fl");
  if (strOrder != "fl" && strOrder != "lf") {
    Fail(kExitUsage, "--order is fl (first-last) or lf (last-first)");
    return false;
  }
  nIndexType = strOrder == "lf" ? CTSVC_FILTER_INDEX_LAST_FIRST : CTSVC_FILTER_INDEX_FIRST_LAST;
  return true;
}

// The functions of one list family.
template <typename Filter, typename Record>
struct ListApi {
  INT32 (*pfnCreate)(const Filter*, CtSvcListCallback);
  INT32 (*pfnGetCount)(INT32);
  BOOL (*pfnGetAt)(INT32, INT32, Record*);
  BOOL (*pfnDestroy)(INT32);
};

// Views of the rows nOffset.. (at most nLimit) of the list the filter selects, appended to rows;
// the number of rows of the whole list, -1 when it cannot be read.
template <typename Filter, typename Record>
int ReadPage(const ListApi<Filter, Record>& api, const Filter& filter, int nOffset, int nLimit, Json (*pfnView)(int),
             Json& rows) {
  const INT32 hList = api.pfnCreate(&filter, nullptr);
  if (hList < 0) {
    return -1;
  }
  const int nCount = api.pfnGetCount(hList);
  for (int i = nOffset; i < nCount && i - nOffset < nLimit; ++i) {
    Record record{};
    if (api.pfnGetAt(hList, i, &record)) {
      rows.Push(pfnView(record.nId));
    }
  }
  api.pfnDestroy(hList);
  return nCount;
}

}  // namespace

int RunShow(const Options& options, const Args& args) {
  int nId = 0;
  if (!PrimaryArg(args, 0, nId)) {
    return kExitUsage;
  }
  return WithService(options, [&]() {
    const Json view = args.Has("person") ? PersonView(nId) : PrimaryView(nId);
    if (view.GetKind() == Json::Kind::Null) {
      return Fail(kExitFailure, std::string(args.Has("person") ? "no person " : "no contact ") + std::to_string(nId));
    }
    Print(view, options.bJson);
    return kExitOk;
  });
}

int RunList(const Options& options, const Args& args) {
  int nLimit = 50, nOffset = 0, nIndexType = 0;
  if ((args.Has("limit") && !args.GetInt("limit", nLimit)) || (args.Has("offset") && !args.GetInt("offset", nOffset)) ||
      nLimit < 0 || nOffset < 0) {
    return Fail(kExitUsage, "--limit and --offset need non-negative numbers");
  }
  if (!ReadOrder(args, nIndexType)) {
    return kExitUsage;
  }
  return WithService(options, [&]() {
    Json rows = Json::Array();
    int nCount = -1;
    if (args.Has("persons")) {
      CtSvcPersonFilter filter;
      CtSvcPersonFilterInit(&filter);
      filter.FilterIndexType = nIndexType;
      const ListApi<CtSvcPersonFilter, CtSvcPersonRecord> api{&CtSvcContactListCreate, &CtSvcContactListGetCount,
                                                              &CtSvcContactListGetAt, &CtSvcContactListDestroy};
      nCount = ReadPage(api, filter, nOffset, nLimit, &PersonView, rows);
    } else {
      CtSvcPrimaryFilter filter;
      CtSvcPrimaryFilterInit(&filter);
      filter.FilterIndexType = nIndexType;
      const ListApi<CtSvcPrimaryFilter, CtSvcPrimaryRecord> api{&CtSvcPrimaryListCreate, &CtSvcPrimaryListGetCount,
                                                                &CtSvcPrimaryListGetAt, &CtSvcPrimaryListDestroy};
      nCount = ReadPage(api, filter, nOffset, nLimit, &PrimarySummary, rows);
    }
    if (nCount < 0) {
      return Fail(kExitFailure, "the list could not be read");
    }
    Json result = Json::Object();
    result.Set("total", nCount);
    result.Set(args.Has("persons") ? "persons" : "contacts", rows);
    Print(result, options.bJson);
    return kExitOk;
  });
}

int RunFavorites(const Options& options, const Args&) {
  return WithService(options, [&]() {
    CtSvcPrimaryFilter filter;
    CtSvcPrimaryFilterInit(&filter);
    filter.bFavoriteOrder = 1;
    const INT32 hList = CtSvcPrimaryListCreate(&filter, nullptr);
    if (hList < 0) {
      return Fail(kExitFailure, "the favourites could not be read");
    }
    Json rows = Json::Array();
    for (int i = 0; i < CtSvcPrimaryListGetCount(hList); ++i) {
      CtSvcPrimaryRecord record{};
      if (CtSvcPrimaryListGetAt(hList, i, &record)) {
        Json row = PrimarySummary(record.nId);
        row.Set("order", record.Info.nFavoriteOrder);
        rows.Push(row);
      }
    }
    CtSvcPrimaryListDestroy(hList);
    Json result = Json::Object();
    result.Set("total", static_cast<int>(rows.Items().size()));
    result.Set("favorites", rows);
    Print(result, options.bJson);
    return kExitOk;
  });
}

int RunLink(const Options& options, const Args& args) {
  int nDest = 0, nSrc = 0;
  if (!PrimaryArg(args, 0, nDest) || !PrimaryArg(args, 1, nSrc)) {
    return kExitUsage;
  }
  return WithService(options, [&]() {
    if (!CtSvcDbPrimaryLinkPerson(nDest, nSrc)) {
      return Fail(kExitFailure, "contacts " + std::to_string(nDest) + " and " + std::to_string(nSrc) + " were not linked");
    }
    Print(PrimaryView(nDest), options.bJson);
    return kExitOk;
  });
}

int RunUnlink(const Options& options, const Args& args) {
  int nPrimary = 0, nPerson = 0;
  if (!PrimaryArg(args, 0, nPrimary) || !args.PositionalInt(1, nPerson) || nPerson <= 0) {
    return Fail(kExitUsage, "usage: unlink PRIMARY PERSON [--keep]");
  }
  return WithService(options, [&]() {
    if (!CtSvcDbPrimaryUnlinkPerson(nPrimary, nPerson, args.Has("keep") ? 0 : 1)) {
      return Fail(kExitFailure, "contact " + std::to_string(nPrimary) + " could not be unlinked");
    }
    Print(PrimaryView(nPrimary), options.bJson);
    return kExitOk;
  });
}

int RunFavorite(const Options& options, const Args& args) {
  int nId = 0, nOrder = 0;
  if (!PrimaryArg(args, 0, nId)) {
    return kExitUsage;
  }
  if (args.Has("order") && !args.GetInt("order", nOrder)) {
    return Fail(kExitUsage, "--order needs a number");
  }
  if (args.Has("order") && args.Has("off")) {
    return Fail(kExitUsage, "--off and --order exclude each other");
  }
  return WithService(options, [&]() {
    const int nType = args.Has("off") ? CTSVC_FAVORITE_TYPE_NOT_FAVORITE : CTSVC_FAVORITE_TYPE_FAVORITE;
    BOOL bDone = args.Has("order") ? CtSvcDbPrimarySetFavoriteOrder(nId, nOrder) : CtSvcDbPrimarySetFavoriteType(nId, nType);
    if (!bDone) {
      return Fail(kExitFailure, args.Has("order") ? "contact " + std::to_string(nId) + " is not a favourite"
                                                  : "no contact " + std::to_string(nId));
    }
    Print(PrimarySummary(nId), options.bJson);
    return kExitOk;
  });
}

}  // namespace ctsvc_tool
