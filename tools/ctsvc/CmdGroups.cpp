// ctsvc group add|list|delete and speeddial set|list|clear.
#include <cstring>
#include <string>
#include <vector>

#include "Args.h"
#include "ContactView.h"
#include "CtSvcDbDetail.h"
#include "CtsvcTool.h"
#include "Json.h"

namespace ctsvc_tool {

namespace {

constexpr int kMaxGroups = 512;

// Runs a sub-command body with the service up.
template <typename F>
int WithService(const Options& options, F body) {
  if (!OpenService(options)) {
    return kExitFailure;
  }
  const int nResult = body();
  CloseService();
  return nResult;
}

Json GroupList() {
  std::vector<CtSvcGroupRecord> vcGroups(kMaxGroups);
  const int nGroups = CtSvcDbGroupGetRecords(nullptr, vcGroups.data(), kMaxGroups);
  Json list = Json::Array();
  for (int i = 0; i < nGroups; ++i) {
    CtSvcGroupMemberFilter filter;
    CtSvcGroupMemberFilterInit(&filter);
    filter.nGroupId = vcGroups[static_cast<size_t>(i)].nId;
    Json item = Json::Object();
    item.Set("id", vcGroups[static_cast<size_t>(i)].nId);
    item.Set("name", vcGroups[static_cast<size_t>(i)].nId == CTSVC_NOT_ASSIGNED_GROUP_ID
                         ? "(not assigned)"
                         : vcGroups[static_cast<size_t>(i)].Info.szName);
    item.Set("members", CtSvcDbGroupMemberGetCount(&filter));
    list.Push(item);
  }
  return list;
}

Json SpeedDialList() {
  Json list = Json::Array();
  for (int nSlot = CTSVC_SPEEDDIAL_SLOT_FIRST; nSlot <= CTSVC_SPEEDDIAL_SLOT_LAST; ++nSlot) {
    CtSvcSpeedDialRecord record{};
    CtSvcPhoneNumberRecord number{};
    if (!CtSvcDbSdGetRecord(nSlot, &record)) {
      continue;
    }
    Json item = Json::Object();
    item.Set("slot", nSlot);
    item.Set("number_id", record.Info.nPhoneNumberId);
    item.Set("number", CtSvcDbPhoneNumberGetRecord(record.Info.nPhoneNumberId, &number) ? number.Info.szPhoneNumber : "");
    item.Set("name", PersonView(record.nPersonId).TextOf("name"));
    list.Push(item);
  }
  return list;
}

}  // namespace

int RunGroup(const Options& options, const std::vector<std::string>& vcArgs) {
  const Args args(vcArgs, {});
  const std::vector<std::string>& vcWords = args.Positional();
  const std::string strAction = vcWords.empty() ? "" : vcWords[0];
  int nId = 0;
  if (strAction == "list" && vcWords.size() == 1) {
    return WithService(options, [&] {
      Print(GroupList(), options.bJson);
      return kExitOk;
    });
  }
  if (strAction == "add" && vcWords.size() == 2 && !vcWords[1].empty()) {
    return WithService(options, [&] {
      CtSvcGroupInfo info{};
      info.nAccountId = -1;
      info.nSlotIndex = -1;
      info.DevType = CTSVC_USE_TYPE_PHONE;
      std::strncpy(info.szName, vcWords[1].c_str(), sizeof(info.szName) - 1);
      const int nGroup = CtSvcDbGroupInsertRecord(&info);
      if (nGroup <= 0) {
        return Fail(kExitFailure, "the group could not be stored");
      }
      Json result = Json::Object();
      result.Set("group", nGroup);
      Print(result, options.bJson);
      return kExitOk;
    });
  }
  if (strAction == "delete" && vcWords.size() == 2 && args.PositionalInt(1, nId) && nId > 0) {
    if (nId == CTSVC_NOT_ASSIGNED_GROUP_ID) {
      return Fail(kExitUsage, "group 1 holds the contacts of no group and cannot be deleted");
    }
    return WithService(options, [&] {
      return CtSvcDbGroupDeleteRecord(nId) ? kExitOk : Fail(kExitFailure, "no group " + std::to_string(nId));
    });
  }
  return Fail(kExitUsage, "usage: group list | group add NAME | group delete ID");
}

int RunSpeedDial(const Options& options, const std::vector<std::string>& vcArgs) {
  const Args args(vcArgs, {});
  const std::vector<std::string>& vcWords = args.Positional();
  const std::string strAction = vcWords.empty() ? "" : vcWords[0];
  int nSlot = 0, nNumberId = 0;
  const bool bSlot = args.PositionalInt(1, nSlot) && nSlot >= CTSVC_SPEEDDIAL_SLOT_FIRST && nSlot <= CTSVC_SPEEDDIAL_SLOT_LAST;
  if (strAction == "list" && vcWords.size() == 1) {
    return WithService(options, [&] {
      Print(SpeedDialList(), options.bJson);
      return kExitOk;
    });
  }
  if (strAction == "set" && vcWords.size() == 3 && bSlot && args.PositionalInt(2, nNumberId) && nNumberId > 0) {
    return WithService(options, [&] {
      return CtSvcDbSdSetRecord(nSlot, nNumberId, -1) ? kExitOk
                                                      : Fail(kExitFailure, "no phone number " + std::to_string(nNumberId));
    });
  }
  if (strAction == "clear" && vcWords.size() == 2 && bSlot) {
    return WithService(options, [&] { return CtSvcDbSdSetRecord(nSlot, -1, -1) ? kExitOk : kExitFailure; });
  }
  return Fail(kExitUsage, "usage: speeddial list | speeddial set SLOT NUMBER_ID | speeddial clear SLOT   (slots 1..29)");
}

}  // namespace ctsvc_tool
