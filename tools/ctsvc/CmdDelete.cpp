// ctsvc delete: a contact's persons (or one person) deleted through the phonebook, as an
// application deletes them: the contact goes with its last person, speed-dial keys of its numbers
// are freed, and a SIM person is erased from the card too.
#include <string>
#include <vector>

#include "Args.h"
#include "ChangeTrace.h"
#include "CtSvcDbPerson.h"
#include "CtSvcPhonebook.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "SimPhonebook.h"

namespace ctsvc_tool {

namespace {

// The persons the command deletes: the one named with --person, or every person of the contact.
std::vector<CtSvcPersonRecord> PersonsToDelete(int nId, bool bPerson) {
  if (bPerson) {
    CtSvcPersonRecord person{};
    return CtSvcDbPersonGetRecordById(nId, &person) ? std::vector<CtSvcPersonRecord>{person}
                                                    : std::vector<CtSvcPersonRecord>{};
  }
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.nPrimaryId = nId;
  const int nCount = CtSvcDbPersonGetCount(&filter);
  std::vector<CtSvcPersonRecord> vPersons(static_cast<size_t>(nCount > 0 ? nCount : 0));
  const int nRead = nCount > 0 ? CtSvcDbPersonGetRecords(&filter, vPersons.data(), nCount) : 0;
  vPersons.resize(static_cast<size_t>(nRead > 0 ? nRead : 0));
  return vPersons;
}

// Deletes one person; a SIM person waits for the card's answer. False after printing why.
bool DeletePerson(const Options& options, const CtSvcPersonRecord& person, bool& bPhonebookStarted) {
  const HOBJ hPerson = CTSVC_MAKE_HANDLE(person.DevType, person.nId);
  if (person.DevType != CTSVC_USE_TYPE_SIM) {
    return CtSvcPhonebookDeleteContactFromPhone(hPerson) ||
           (Fail(kExitFailure, "person " + std::to_string(person.nId) + " could not be deleted"), false);
  }
  if (!bPhonebookStarted && !StartSimPhonebook(options, "delete")) {
    return false;
  }
  bPhonebookStarted = true;
  SimAnswer answer;
  if (!CtSvcPhonebookDeleteContactFromSim(hPerson, &SimAnswer::OnPhonebookSet, &answer)) {
    // The person left the store; its record was not on the card.
    Warn("SIM person " + std::to_string(person.nId) + " had no record on the card");
    return true;
  }
  Json result = Json::Object();
  return AddCardAnswer(answer, result, "delete");
}

}  // namespace

int RunDelete(const Options& options, const Args& args) {
  int nId = 0;
  if (!args.PositionalInt(0, nId) || nId <= 0) {
    return Fail(kExitUsage, "expected a contact id (a positive number) as the first argument");
  }
  const bool bPerson = args.Has("person");
  return WithService(options, [&]() {
    ChangeTrace trace(args.Has("trace"));
    const std::vector<CtSvcPersonRecord> vPersons = PersonsToDelete(nId, bPerson);
    if (vPersons.empty()) {
      return Fail(kExitFailure, "nothing deleted: no such " + std::string(bPerson ? "person" : "contact"));
    }
    bool bPhonebookStarted = false;
    for (const CtSvcPersonRecord& person : vPersons) {
      if (!DeletePerson(options, person, bPhonebookStarted)) {
        return kExitFailure;
      }
    }
    Json result = Json::Object();
    result.Set(bPerson ? "person" : "contact", nId);
    result.Set("deleted", Json::Bool(true));
    Print(result, options.bJson);
    return kExitOk;
  });
}

}  // namespace ctsvc_tool
