// ctsvc add / update: a contact's names, numbers, e-mails and birthday as the user gives them.
#include <cstring>
#include <string>
#include <vector>

#include "Args.h"
#include "ChangeTrace.h"
#include "ContactDraft.h"
#include "ContactInput.h"
#include "ContactView.h"
#include "CtSvcDb.h"
#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtSvcPhonebook.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "SimPhonebook.h"
#include "ZelDb2.h"

namespace ctsvc_tool {

namespace {

// Adds "street|city|state|country|postal code" (missing parts are empty).
void AddAddress(ContactDraft& draft, const std::string& strText) {
  std::vector<std::string> vcParts;
  size_t nStart = 0;
  for (size_t nBar; (nBar = strText.find('|', nStart)) != std::string::npos; nStart = nBar + 1) {
    vcParts.push_back(strText.substr(nStart, nBar - nStart));
  }
  vcParts.push_back(strText.substr(nStart));
  vcParts.resize(5);
  CtSvcPostalAddressInfo& info = draft.AddAddress({});
  PutText(info.szStreet, vcParts[0]);
  PutText(info.szCity, vcParts[1]);
  PutText(info.szState, vcParts[2]);
  PutText(info.szCountry, vcParts[3]);
  PutText(info.szPCODE, vcParts[4]);
}

constexpr char kStoreFull[] = "the store is full (no room left on its volume): the contact was not added";

// The volume is full, or the last write failed for want of room.
bool IsStoreFull() { return CtSvcIsDbFull() || std::strcmp(Db2GetLastError(), "database or disk is full") == 0; }

// Why the last write failed, in the user's words.
std::string WriteFailure(const std::string& strWhat) {
  if (IsStoreFull()) {
    return kStoreFull;
  }
  if (std::strstr(Db2GetLastError(), "readonly") != nullptr) {
    return "the store is read-only: " + strWhat;
  }
  return strWhat;
}

// The contact a user described, with every text cut at a character boundary to its array.
ContactDraft Draft(const ContactInput& input, const Args& args, int nAccount, const std::vector<int>& vcGroups) {
  ContactDraft draft("", "", nAccount);
  PutText(draft.person.szFirstName, input.strFirst);
  PutText(draft.person.szLastName, input.strLast);
  draft.person.Birthday = input.birthday;
  for (const std::string& strNumber : input.vcNumbers) {
    PutText(draft.AddNumber("").szPhoneNumber, strNumber);
  }
  for (const std::string& strEmail : input.vcEmails) {
    PutText(draft.AddEmail("").szEmailAddress, strEmail);
  }
  for (const std::string& strAddress : args.GetAll("address")) {
    AddAddress(draft, strAddress);
  }
  for (int nGroup : vcGroups) {
    draft.AddGroup(nGroup);
  }
  return draft;
}

// The first group id of the list that names no group, or 0.
int MissingGroup(const std::vector<int>& vcGroups) {
  for (int nGroup : vcGroups) {
    CtSvcGroupRecord group{};
    if (!CtSvcDbGroupGetRecord(nGroup, &group)) {
      return nGroup;
    }
  }
  return 0;
}

}  // namespace

int PersonToUpdate(const Args& args, int nId) {
  if (args.Has("person")) {
    CtSvcPersonRecord person{};
    return CtSvcDbPersonGetRecordById(nId, &person) ? nId : (Fail(kExitFailure, "no person " + std::to_string(nId)), 0);
  }
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.nPrimaryId = nId;
  std::vector<CtSvcPersonRecord> vcPersons(2);
  const int nPersons = CtSvcDbPersonGetRecords(&filter, vcPersons.data(), 2);
  if (nPersons <= 0) {
    Fail(kExitFailure, "no contact " + std::to_string(nId));
    return 0;
  }
  if (nPersons > 1) {
    Fail(kExitFailure, "contact " + std::to_string(nId) +
                           " is linked from several persons: name one with --person (see ctsvc show " +
                           std::to_string(nId) + ")");
    return 0;
  }
  return vcPersons[0].nId;
}

namespace {

// A stored person as the contact info of an update that changes only what is set in it: every
// detail list stays as stored (count -1); the RCS entry and the first social-network row are given
// as stored so that the update keeps them.
class StoredContact {
 public:
  bool Load(int nPersonId) {
    if (nPersonId <= 0 || !CtSvcDbPersonGetRecordById(nPersonId, &m_Person)) {
      return false;
    }
    m_Info = CtSvcContactInfo{};
    m_Info.pPersonInfo = &m_Person.Info;
    for (INT32* pnCount : {&m_Info.nPhoneNumberCount, &m_Info.nEmailAddressCount, &m_Info.nPostalAddressCount,
                           &m_Info.nGroupMemberCount, &m_Info.nEtcDataCount, &m_Info.nIMCount}) {
      *pnCount = -1;
    }
    if (CtSvcDbPersonGetRcsInformation(Handle(), &m_Rcs, 1) == 1) {
      m_Info.pRcsInfo = &m_Rcs.Info;
    }
    if (CtSvcDbPersonGetSnsData(Handle(), &m_Sns, 1) == 1) {
      m_Info.pSnsDataInfo = &m_Sns.Info;
    }
    return true;
  }
  HOBJ Handle() const { return CTSVC_MAKE_HANDLE(m_Person.DevType, m_Person.nId); }
  CtSvcPersonRecord& Person() { return m_Person; }
  CtSvcContactInfo& Info() { return m_Info; }

 private:
  CtSvcPersonRecord m_Person{};
  CtSvcRcsRecord m_Rcs{};
  CtSvcSnsDataRecord m_Sns{};
  CtSvcContactInfo m_Info{};
};

// Writes the changes the user gave to the person through the phonebook (a SIM person also to
// the card); the lists not given stay as stored. The exit code (after printing why it failed).
int ApplyUpdate(const Options& options, const ContactInput& input, const Args& args, int nPersonId) {
  StoredContact stored;
  if (!stored.Load(nPersonId)) {
    return Fail(kExitFailure, "no person " + std::to_string(nPersonId));
  }
  CtSvcPersonRecord& person = stored.Person();
  ContactDraft draft = Draft(input, args, person.Info.nAccountId, {});
  if (input.bFirst) {
    std::memcpy(person.Info.szFirstName, draft.person.szFirstName, sizeof(person.Info.szFirstName));
  }
  if (input.bLast) {
    std::memcpy(person.Info.szLastName, draft.person.szLastName, sizeof(person.Info.szLastName));
  }
  if (input.bBirthday) {
    person.Info.Birthday = input.birthday;
  }
  CtSvcContactInfo& info = stored.Info();
  if (input.bNumbers) {
    info.pPhoneNumberInfo = draft.vcNumbers.data();
    info.nPhoneNumberCount = static_cast<INT32>(draft.vcNumbers.size());
  }
  if (input.bEmails) {
    info.pEmailAddressInfo = draft.vcEmails.data();
    info.nEmailAddressCount = static_cast<INT32>(draft.vcEmails.size());
  }
  const std::string strWhat = "contact " + std::to_string(person.Info.nPrimaryId) + " was not changed";
  if (person.DevType != CTSVC_USE_TYPE_SIM) {
    if (args.Has("sim")) {
      return Fail(kExitUsage, "update --sim: person " + std::to_string(nPersonId) + " is not a SIM contact");
    }
    return CtSvcPhonebookUpdateContactToPhone(stored.Handle(), &info) ? kExitOk
                                                                        : Fail(kExitFailure, WriteFailure(strWhat));
  }
  if (!StartSimPhonebook(options, "update")) {
    return kExitFailure;
  }
  SimAnswer answer;
  if (!CtSvcPhonebookUpdateContactToSim(stored.Handle(), &info, &SimAnswer::OnPhonebookSet, &answer)) {
    return Fail(kExitFailure, WriteFailure(strWhat));
  }
  Json result = Json::Object();
  return AddCardAnswer(answer, result, "update") ? kExitOk : kExitFailure;
}

}  // namespace

int RunAdd(const Options& options, const Args& args) {
  ContactInput input;
  std::string strError;
  if (!input.Read(args, strError)) {
    return Fail(kExitUsage, strError);
  }
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
  if (input.strFirst.empty() && input.strLast.empty() && input.vcNumbers.empty() && input.vcEmails.empty()) {
    return Fail(kExitUsage, "add needs --first, --last, --number or --email");
  }
  const bool bSim = args.Has("sim");
  return WithService(options, [&]() {
    if (const int nMissing = MissingGroup(vcGroups)) {
      return Fail(kExitFailure, "no group " + std::to_string(nMissing) + " (see ctsvc group list)");
    }
    ChangeTrace trace(args.Has("trace"));
    if (bSim && !StartSimPhonebook(options, "add --sim")) {
      return kExitFailure;
    }
    ContactDraft draft = Draft(input, args, nAccount, vcGroups);
    CtSvcContactInfo info = draft.Info();
    if (CtSvcIsDbFull()) {
      return Fail(kExitFailure, kStoreFull);
    }
    SimAnswer answer;
    const HOBJ hPerson = bSim ? CtSvcPhonebookInsertContactToSim(&info, &SimAnswer::OnPhonebookSet, &answer)
                              : CtSvcPhonebookInsertContactToPhone(&info);
    if (hPerson == INVALID_HOBJ) {
      if (bSim && CtSvcSimGetUnusedRecordIndex(CTSVC_SIM_ADN) < 0) {
        return Fail(kExitFailure, "add --sim: the card has no free contact record");
      }
      return Fail(kExitFailure, WriteFailure("the contact could not be stored"));
    }
    const int nPersonId = CTSVC_HANDLE_TO_ID(hPerson);
    CtSvcPersonRecord person{};
    CtSvcDbPersonGetRecordById(nPersonId, &person);
    Json result = Json::Object();
    result.Set("person", nPersonId);
    result.Set("handle", static_cast<int>(CTSVC_MAKE_HANDLE(bSim ? CTSVC_USE_TYPE_SIM : CTSVC_USE_TYPE_PHONE, nPersonId)));
    result.Set("primary", person.Info.nPrimaryId);
    if (bSim && !AddCardAnswer(answer, result, "add --sim")) {
      return kExitFailure;
    }
    if (!bSim) {  // a SIM contact's names are joined into one, as the card keeps them
      WarnOfCuts(input, nPersonId);
    }
    Print(result, options.bJson);
    return kExitOk;
  });
}

int RunUpdate(const Options& options, const Args& args) {
  int nId = 0;
  if (!args.PositionalInt(0, nId) || nId <= 0) {
    return Fail(kExitUsage, "update needs a contact id (a positive number)");
  }
  ContactInput input;
  std::string strError;
  if (!input.Read(args, strError)) {
    return Fail(kExitUsage, strError);
  }
  if (input.IsEmpty()) {
    return Fail(kExitUsage, "update needs --first, --last, --number, --email or --birthday");
  }
  return WithService(options, [&]() {
    ChangeTrace trace(args.Has("trace"));
    const int nPersonId = PersonToUpdate(args, nId);
    if (nPersonId <= 0) {
      return kExitFailure;
    }
    if (const int nExit = ApplyUpdate(options, input, args, nPersonId)) {
      return nExit;
    }
    WarnOfCuts(input, nPersonId);
    CtSvcPersonRecord updated{};
    CtSvcDbPersonGetRecordById(nPersonId, &updated);
    Print(PrimaryView(updated.Info.nPrimaryId), options.bJson);
    return kExitOk;
  });
}

}  // namespace ctsvc_tool
