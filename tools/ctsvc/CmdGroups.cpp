// ctsvc group list|add|delete|add-member|remove-member and speeddial set|list|clear.
#include <string>
#include <vector>

#include "Args.h"
#include "ContactInput.h"
#include "ContactView.h"
#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtsvcTool.h"
#include "Json.h"

namespace ctsvc_tool {

namespace {

constexpr int kMaxGroups = 512;
constexpr int kMaxPersons = 64;

std::vector<CtSvcGroupRecord> Groups() {
  std::vector<CtSvcGroupRecord> vcGroups(kMaxGroups);
  const int nGroups = CtSvcDbGroupGetRecords(nullptr, vcGroups.data(), kMaxGroups);
  vcGroups.resize(static_cast<size_t>(nGroups > 0 ? nGroups : 0));
  return vcGroups;
}

Json GroupList() {
  Json list = Json::Array();
  for (const CtSvcGroupRecord& group : Groups()) {
    CtSvcGroupMemberFilter filter;
    CtSvcGroupMemberFilterInit(&filter);
    filter.nGroupId = group.nId;
    Json item = Json::Object();
    item.Set("id", group.nId);
    item.Set("name", group.nId == CTSVC_NOT_ASSIGNED_GROUP_ID ? "(not assigned)" : group.Info.szName);
    item.Set("members", CtSvcDbGroupMemberGetCount(&filter));
    list.Push(item);
  }
  return list;
}

int AddGroup(const Options& options, const std::string& strName) {
  CtSvcGroupInfo info{};
  info.nAccountId = -1;
  info.nSlotIndex = -1;
  info.DevType = CTSVC_USE_TYPE_PHONE;
  PutText(info.szName, strName);
  for (const CtSvcGroupRecord& group : Groups()) {
    if (group.nId != CTSVC_NOT_ASSIGNED_GROUP_ID && strName == group.Info.szName) {
      return Fail(kExitFailure, "a group named '" + strName + "' exists already (group " + std::to_string(group.nId) + ")");
    }
  }
  const int nGroup = CtSvcDbGroupInsertRecord(&info);
  if (nGroup <= 0) {
    return Fail(kExitFailure, "the group could not be stored");
  }
  if (strName != info.szName) {
    Warn("group name cut to '" + std::string(info.szName) + "' (the store keeps no more)");
  }
  Json result = Json::Object();
  result.Set("group", nGroup);
  result.Set("name", info.szName);
  Print(result, options.bJson);
  return kExitOk;
}

// The persons of a contact.
std::vector<CtSvcPersonRecord> PersonsOf(int nPrimaryId) {
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.nPrimaryId = nPrimaryId;
  std::vector<CtSvcPersonRecord> vcPersons(kMaxPersons);
  const int nPersons = CtSvcDbPersonGetRecords(&filter, vcPersons.data(), kMaxPersons);
  vcPersons.resize(static_cast<size_t>(nPersons > 0 ? nPersons : 0));
  return vcPersons;
}

// The membership rows of a person in a group.
std::vector<CtSvcGroupMemberRecord> Memberships(int nGroupId, int nPersonId) {
  CtSvcGroupMemberFilter filter;
  CtSvcGroupMemberFilterInit(&filter);
  filter.nGroupId = nGroupId;
  filter.nPersonId = nPersonId;
  std::vector<CtSvcGroupMemberRecord> vcRows(kMaxGroups);
  const int nRows = CtSvcDbGroupMemberGetRecords(&filter, vcRows.data(), kMaxGroups);
  vcRows.resize(static_cast<size_t>(nRows > 0 ? nRows : 0));
  return vcRows;
}

// Every person of the contact joins (bJoin) or leaves the group; prints how many did.
int ChangeMembership(const Options& options, int nGroupId, int nPrimaryId, bool bJoin) {
  CtSvcGroupRecord group{};
  if (!CtSvcDbGroupGetRecord(nGroupId, &group)) {
    return Fail(kExitFailure, "no group " + std::to_string(nGroupId));
  }
  const std::vector<CtSvcPersonRecord> vcPersons = PersonsOf(nPrimaryId);
  if (vcPersons.empty()) {
    return Fail(kExitFailure, "no contact " + std::to_string(nPrimaryId));
  }
  int nChanged = 0;
  for (const CtSvcPersonRecord& person : vcPersons) {
    const std::vector<CtSvcGroupMemberRecord> vcRows = Memberships(nGroupId, person.nId);
    if (bJoin && vcRows.empty()) {
      const CtSvcGroupMemberInfo info{person.nId, nPrimaryId, person.Info.nAccountId, nGroupId};
      if (CtSvcDbGroupMemberInsertRecord(CTSVC_MAKE_HANDLE(person.DevType, person.nId), nPrimaryId, &info) <= 0) {
        return Fail(kExitFailure, "person " + std::to_string(person.nId) + " could not join group " + std::to_string(nGroupId));
      }
      ++nChanged;
    }
    for (size_t i = 0; !bJoin && i < vcRows.size(); ++i) {
      if (!CtSvcDbGroupMemberDeleteRecord(vcRows[i].nId)) {
        return Fail(kExitFailure, "person " + std::to_string(person.nId) + " could not leave group " + std::to_string(nGroupId));
      }
      ++nChanged;
    }
  }
  if (!bJoin && nChanged == 0) {
    return Fail(kExitFailure, "contact " + std::to_string(nPrimaryId) + " is not in group " + std::to_string(nGroupId));
  }
  Json result = Json::Object();
  result.Set("group", nGroupId);
  result.Set("contact", nPrimaryId);
  result.Set(bJoin ? "joined" : "left", nChanged);
  Print(result, options.bJson);
  return kExitOk;
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
    item.Set("numberId", record.Info.nPhoneNumberId);
    item.Set("number", CtSvcDbPhoneNumberGetRecord(record.Info.nPhoneNumberId, &number) ? number.Info.szPhoneNumber : "");
    item.Set("name", PersonView(record.nPersonId).TextOf("name"));
    list.Push(item);
  }
  return list;
}

int PrintSlot(const Options& options, int nSlot, int nNumberId) {
  Json result = Json::Object();
  result.Set("slot", nSlot);
  result.Set("numberId", nNumberId > 0 ? Json(nNumberId) : Json());
  Print(result, options.bJson);
  return kExitOk;
}

}  // namespace

int RunGroup(const Options& options, const Args& args) {
  const std::string strAction = args.Word(0);
  const size_t nWords = args.Positional().size();
  int nId = 0, nContact = 0;
  if (strAction == "list" && nWords == 1) {
    return WithService(options, [&] {
      Print(GroupList(), options.bJson);
      return kExitOk;
    });
  }
  if (strAction == "add" && nWords == 2 && !args.Word(1).empty()) {
    return WithService(options, [&] { return AddGroup(options, args.Word(1)); });
  }
  if (strAction == "delete" && nWords == 2 && args.PositionalInt(1, nId) && nId > 0) {
    if (nId == CTSVC_NOT_ASSIGNED_GROUP_ID) {
      return Fail(kExitUsage, "group 1 holds the contacts of no group and cannot be deleted");
    }
    return WithService(options, [&] {
      if (!CtSvcDbGroupDeleteRecord(nId)) {
        return Fail(kExitFailure, "no group " + std::to_string(nId));
      }
      Json result = Json::Object();
      result.Set("group", nId);
      result.Set("deleted", Json::Bool(true));
      Print(result, options.bJson);
      return kExitOk;
    });
  }
  if ((strAction == "add-member" || strAction == "remove-member") && nWords == 3 && args.PositionalInt(1, nId) &&
      nId > 0 && args.PositionalInt(2, nContact) && nContact > 0) {
    return WithService(options, [&] { return ChangeMembership(options, nId, nContact, strAction == "add-member"); });
  }
  return Fail(kExitUsage,
              "usage: group list | group add NAME | group delete ID | group add-member GROUP CONTACT | "
              "group remove-member GROUP CONTACT");
}

int RunSpeedDial(const Options& options, const Args& args) {
  const std::string strAction = args.Word(0);
  const size_t nWords = args.Positional().size();
  int nSlot = 0, nNumberId = 0;
  const bool bSlot = args.PositionalInt(1, nSlot) && nSlot >= CTSVC_SPEEDDIAL_SLOT_FIRST && nSlot <= CTSVC_SPEEDDIAL_SLOT_LAST;
  if (strAction == "list" && nWords == 1) {
    return WithService(options, [&] {
      Print(SpeedDialList(), options.bJson);
      return kExitOk;
    });
  }
  if (strAction == "set" && nWords == 3 && bSlot && args.PositionalInt(2, nNumberId) && nNumberId > 0) {
    return WithService(options, [&] {
      return CtSvcDbSdSetRecord(nSlot, nNumberId, -1) ? PrintSlot(options, nSlot, nNumberId)
                                                      : Fail(kExitFailure, "no phone number " + std::to_string(nNumberId));
    });
  }
  if (strAction == "clear" && nWords == 2 && bSlot) {
    return WithService(options, [&] {
      return CtSvcDbSdSetRecord(nSlot, -1, -1) ? PrintSlot(options, nSlot, -1)
                                               : Fail(kExitFailure, "speed-dial key " + std::to_string(nSlot) + " was not cleared");
    });
  }
  return Fail(kExitUsage, "usage: speeddial list | speeddial set SLOT NUMBER_ID | speeddial clear SLOT   (slots 1..29)");
}

}  // namespace ctsvc_tool
