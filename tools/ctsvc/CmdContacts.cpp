// ctsvc add / show / list / delete / link / unlink / favorite.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Args.h"
#include "ContactView.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcDb.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcDbPerson.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "ZelDb2.h"

namespace ctsvc_tool {

namespace {

// Adds "street|city|state|country|postal code" (missing parts are empty).
void AddAddress(CCtSvcContactInfoBuilder& draft, const std::string& strText) {
  std::vector<std::string> vcParts;
  size_t nStart = 0;
  for (size_t nBar; (nBar = strText.find('|', nStart)) != std::string::npos; nStart = nBar + 1) {
    vcParts.push_back(strText.substr(nStart, nBar - nStart));
  }
  vcParts.push_back(strText.substr(nStart));
  vcParts.resize(5);
  draft.Address(vcParts[0], vcParts[1], vcParts[2], vcParts[3], vcParts[4]);
}

constexpr char kStoreFull[] = "the store is full (no room left on its volume): the contact was not added";

// The volume is full, or the last write failed for want of room.
bool IsStoreFull() { return CtSvcIsDbFull() || std::strcmp(Db2GetLastError(), "database or disk is full") == 0; }

// A primary id from the positional word at nIndex, or a usage error naming that word.
bool PrimaryArg(const Args& args, size_t nIndex, int& nId) {
  if (!args.PositionalInt(nIndex, nId) || nId <= 0) {
    Fail(kExitUsage, std::string("expected a contact id (a positive number) as the ") + (nIndex == 0 ? "first" : "second") +
                         " argument");
    return false;
  }
  return true;
}

// Runs a command body with the service up; bad arguments never reach the store.
template <typename F>
int WithService(const Options& options, const Args& args, const std::vector<std::string>& vcAllowed, F body) {
  if (!args.IsValid()) {
    return Fail(kExitUsage, args.Error());
  }
  const std::string strUnknown = args.Unknown(vcAllowed);
  if (!strUnknown.empty()) {
    return Fail(kExitUsage, "unknown option '" + strUnknown + "'");
  }
  if (!OpenService(options)) {
    return kExitFailure;
  }
  const int nResult = body();
  CloseService();
  return nResult;
}

}  // namespace

int RunAdd(const Options& options, const std::vector<std::string>& vcArgs) {
  const Args args(vcArgs, {"sim"});
  int nAccount = -1;
  if (args.Has("account") && !args.GetInt("account", nAccount)) {
    return Fail(kExitUsage, "--account needs a number");
  }
  std::vector<int> vcGroups;
  for (const std::string& strGroup : args.GetAll("group")) {
    int nGroup = 0;
    if (!ParseInt(strGroup, nGroup) || nGroup <= 0) {
      return Fail(kExitUsage, "--group needs a group id (see 'ctsvc group list')");
    }
    vcGroups.push_back(nGroup);
  }
  if (args.Get("first").empty() && args.Get("last").empty() && args.GetAll("number").empty()) {
    return Fail(kExitUsage, "add needs --first, --last or --number");
  }
  return WithService(options, args, {"first", "last", "number", "email", "address", "group", "account", "sim"}, [&]() {
    CCtSvcContactInfoBuilder draft(args.Get("first"), nAccount, args.Get("last"));
    for (const std::string& strNumber : args.GetAll("number")) {
      draft.Number(strNumber);
    }
    for (const std::string& strEmail : args.GetAll("email")) {
      draft.Email(strEmail);
    }
    for (const std::string& strAddress : args.GetAll("address")) {
      AddAddress(draft, strAddress);
    }
    for (int nGroup : vcGroups) {
      draft.Group(nGroup);
    }
    const CtSvcContactInfo info = draft.Info();
    const CtSvcDeviceType nDevice = args.Has("sim") ? CTSVC_USE_TYPE_SIM : CTSVC_USE_TYPE_PHONE;
    if (CtSvcIsDbFull()) {
      return Fail(kExitFailure, kStoreFull);
    }
    CCtSvcModuleLock lock;
    CCtSvcContact contact(info, nDevice);
    const int nPersonId = contact.Insert(1);
    if (nPersonId <= 0) {
      return Fail(kExitFailure, IsStoreFull() ? kStoreFull : "the contact could not be stored");
    }
    Json result = Json::Object();
    result.Set("person", nPersonId);
    result.Set("handle", static_cast<int>(CTSVC_MAKE_HANDLE(nDevice, nPersonId)));
    result.Set("primary", contact.GetPerson().GetPrimaryId());
    Print(result, options.bJson);
    return kExitOk;
  });
}

int RunShow(const Options& options, const std::vector<std::string>& vcArgs) {
  const Args args(vcArgs, {"person"});
  int nId = 0;
  if (!PrimaryArg(args, 0, nId)) {
    return kExitUsage;
  }
  return WithService(options, args, {"person"}, [&]() {
    const Json view = args.Has("person") ? PersonView(nId) : PrimaryView(nId);
    if (view.GetKind() == Json::Kind::Null) {
      return Fail(kExitFailure, std::string(args.Has("person") ? "no person " : "no contact ") + std::to_string(nId));
    }
    Print(view, options.bJson);
    return kExitOk;
  });
}

int RunList(const Options& options, const std::vector<std::string>& vcArgs) {
  const Args args(vcArgs, {"persons"});
  int nLimit = 50, nOffset = 0;
  if ((args.Has("limit") && !args.GetInt("limit", nLimit)) || (args.Has("offset") && !args.GetInt("offset", nOffset)) ||
      nLimit < 0 || nOffset < 0) {
    return Fail(kExitUsage, "--limit and --offset need non-negative numbers");
  }
  const std::string strOrder = args.Get("order", "fl");
  if (strOrder != "fl" && strOrder != "lf") {
    return Fail(kExitUsage, "--order is fl (first-last) or lf (last-first)");
  }
  const int nIndexType = strOrder == "lf" ? CTSVC_FILTER_INDEX_LAST_FIRST : CTSVC_FILTER_INDEX_FIRST_LAST;
  return WithService(options, args, {"persons", "order", "limit", "offset"}, [&]() {
    std::unique_ptr<IContentList> pList;
    if (args.Has("persons")) {
      CtSvcPersonFilter filter;
      CtSvcPersonFilterInit(&filter);
      filter.FilterIndexType = nIndexType;
      pList.reset(CCtSvcDbMgr::Instance()->CreateList(&filter));
    } else {
      CtSvcPrimaryFilter filter;
      CtSvcPrimaryFilterInit(&filter);
      filter.FilterIndexType = nIndexType;
      pList.reset(CCtSvcDbMgr::Instance()->CreateList(&filter));
    }
    if (!pList || pList->GetCount() < 0) {
      return Fail(kExitFailure, "the list could not be read");
    }
    Json rows = Json::Array();
    const int nCount = pList->GetCount();
    for (int i = nOffset; i < nCount && i < nOffset + nLimit; ++i) {
      CContent row;
      int32_t nId = 0;
      if (pList->GetAt(i, row) && row.GetInt(0, nId)) {
        rows.Push(args.Has("persons") ? PersonView(nId) : PrimarySummary(nId));
      }
    }
    Json result = Json::Object();
    result.Set("total", nCount);
    result.Set(args.Has("persons") ? "persons" : "contacts", rows);
    Print(result, options.bJson);
    return kExitOk;
  });
}

int RunDelete(const Options& options, const std::vector<std::string>& vcArgs) {
  const Args args(vcArgs, {"person"});
  int nId = 0;
  if (!PrimaryArg(args, 0, nId)) {
    return kExitUsage;
  }
  return WithService(options, args, {"person"}, [&]() {
    const BOOL bDone = args.Has("person") ? CtSvcDbPersonDeleteRecord(CTSVC_MAKE_HANDLE(CTSVC_USE_TYPE_PHONE, nId))
                                          : CtSvcDbPrimaryDeleteRecord(nId);
    if (!bDone) {
      return Fail(kExitFailure, "nothing deleted: no such " + std::string(args.Has("person") ? "person" : "contact"));
    }
    return kExitOk;
  });
}

int RunLink(const Options& options, const std::vector<std::string>& vcArgs) {
  const Args args(vcArgs, {});
  int nDest = 0, nSrc = 0;
  if (!PrimaryArg(args, 0, nDest) || !PrimaryArg(args, 1, nSrc)) {
    return kExitUsage;
  }
  return WithService(options, args, {}, [&]() {
    if (!CtSvcDbPrimaryLinkPerson(nDest, nSrc)) {
      return Fail(kExitFailure, "contacts " + std::to_string(nDest) + " and " + std::to_string(nSrc) + " were not linked");
    }
    Print(PrimaryView(nDest), options.bJson);
    return kExitOk;
  });
}

int RunUnlink(const Options& options, const std::vector<std::string>& vcArgs) {
  const Args args(vcArgs, {"keep"});
  int nPrimary = 0, nPerson = 0;
  if (!PrimaryArg(args, 0, nPrimary) || !args.PositionalInt(1, nPerson) || nPerson <= 0) {
    return Fail(kExitUsage, "usage: unlink PRIMARY PERSON [--keep]");
  }
  return WithService(options, args, {"keep"}, [&]() {
    if (!CtSvcDbPrimaryUnlinkPerson(nPrimary, nPerson, args.Has("keep") ? 0 : 1)) {
      return Fail(kExitFailure, "contact " + std::to_string(nPrimary) + " could not be unlinked");
    }
    Print(PrimaryView(nPrimary), options.bJson);
    return kExitOk;
  });
}

int RunFavorite(const Options& options, const std::vector<std::string>& vcArgs) {
  const Args args(vcArgs, {"off"});
  int nId = 0, nOrder = 0;
  if (!PrimaryArg(args, 0, nId)) {
    return kExitUsage;
  }
  if (args.Has("order") && !args.GetInt("order", nOrder)) {
    return Fail(kExitUsage, "--order needs a number");
  }
  return WithService(options, args, {"off", "order"}, [&]() {
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
