// The whole-service steps of ctsvc demo, through the public C API as an application uses it.
#include "DemoService.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ContactView.h"
#include "CtSvcBulkOp.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "CtSvcPbap.h"
#include "CtSvcPhonebook.h"
#include "CtSvcSearch.h"
#include "CtSvcSimCi.h"
#include "CtSvcVCard.h"
#include "SimPhonebook.h"
#include "ZelAppFrmwk/ZelVCard.h"
#include "ZelBluetoothTest.h"
#include "ZelCommTAPI/ZelAtCommand.h"
#include "ZelCommTAPI/ZelSimSampleCard.h"
#include "ZelPhs.h"

namespace ctsvc_tool {

namespace {

constexpr char kImportFile[] = "demo-import.vcf";
constexpr char kNewcomerLast[] = "Demoimport";
constexpr int kCompletionTimeoutMs = 30000;

// Change callbacks by change type (insert, update, delete, bulk delete, bulk insert, full sync).
struct ChangeCounts {
  std::atomic<int> anContact[6] = {};
  std::atomic<int> anGroup[6] = {};
};

ChangeCounts& Changes() {
  static ChangeCounts s_changes;
  return s_changes;
}

void OnContactChange(CtSvcChangeType type, int, void*, void*) {
  if (type >= 0 && type < 6) {
    ++Changes().anContact[type];
  }
}

void OnGroupChange(CtSvcChangeType type, int, void*, void*) {
  if (type >= 0 && type < 6) {
    ++Changes().anGroup[type];
  }
}

// The persons the import stored, for the link step.
std::vector<HOBJ>& Imported() {
  static std::vector<HOBJ> s_vcImported;
  return s_vcImported;
}

// The contacts the file's first cards were written from: the twins of the first imported persons.
std::vector<int>& Originals() {
  static std::vector<int> s_vcOriginals;
  return s_vcOriginals;
}

// Whether this run's phonebook start copied the card into the store (a new or changed card); an
// unchanged card's contacts were copied to the phone by the run that stored them.
bool& CardCopiedAtStart() {
  static bool s_bCopied = false;
  return s_bCopied;
}

int PersonCount(int nDeviceType) {
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = nDeviceType;
  return CtSvcDbPersonGetCount(&filter);
}

// The file's cards: two phone contacts already stored (duplicates to link) and one new one.
std::string ImportText() {
  std::string strText;
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = CTSVC_USE_TYPE_PHONE;
  filter.FilterDetail = 2;  // with a number
  filter.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
  CtSvcPersonRecord persons[2];
  const int nPersons = CtSvcDbPersonGetRecords(&filter, persons, 2);
  std::vector<CtSvcContactInfo> vcContacts;
  Originals().clear();
  for (int i = 0; i < nPersons; ++i) {
    Originals().push_back(persons[i].Info.nPrimaryId);
    CtSvcContactInfo contact{};
    if (CtDbSvcGetContactInfoByID(persons[i].nId, &contact)) {
      vcContacts.push_back(contact);
    }
  }
  CtSvcPersonInfo newcomer{};
  std::snprintf(newcomer.szFirstName, sizeof(newcomer.szFirstName), "Nora");
  std::snprintf(newcomer.szLastName, sizeof(newcomer.szLastName), "%s", kNewcomerLast);
  CtSvcPhoneNumberInfo number{};
  number.PhoneType = 1;
  number.UseType = 1;
  std::snprintf(number.szPhoneNumber, sizeof(number.szPhoneNumber), "+4930555123");
  CtSvcContactInfo newContact{};
  newContact.pPersonInfo = &newcomer;
  newContact.pPhoneNumberInfo = &number;
  newContact.nPhoneNumberCount = 1;
  vcContacts.push_back(newContact);
  for (size_t i = 0; i < vcContacts.size(); ++i) {
    char* pszCard = nullptr;
    if (CtSvcConvertRecord2VCard(&vcContacts[i], &pszCard)) {
      strText += pszCard;
      VCardFreeText(pszCard);
    }
    if (i + 1 < vcContacts.size()) {
      CtSvcFreeContactInfo(&vcContacts[i]);
    }
  }
  return strText;
}

}  // namespace

void DemoInsertSampleUsim(const Options& options) {
  const std::filesystem::path card = std::filesystem::path(options.strDataDir) / "sim" / "card.json";
  std::error_code ec;
  if (std::filesystem::exists(card, ec)) {
    return;
  }
  std::filesystem::create_directories(card.parent_path(), ec);
  std::ofstream(card) << zel::sim::BuildSampleCard(zel::sim::SampleCardType::Usim, false);
}

void DemoWatchChanges() {
  CtSvcPhonebookRegisterContactCallback(&OnContactChange, nullptr);
  CtSvcPhonebookRegisterGroupCallback(&OnGroupChange, nullptr);
}

Json DemoStartPhonebook() {
  const int nCardType = CtSvcSimGetCardType();
  PhsSetStatus(PSV_SIM_MODE_NOSIM, nCardType == CTSVC_SIM_CARD_TYPE_GSM || nCardType == CTSVC_SIM_CARD_TYPE_USIM ? 0 : 1);
  bool bNoSim = false;
  Json result = Json::Object();
  result.Set("started", Json::Bool(StartPhonebook("demo", &bNoSim)));
  CardCopiedAtStart() = !bNoSim && CtSvcPhonebookIsSHA1Changed();
  result.Set("card", bNoSim ? "none" : nCardType == CTSVC_SIM_CARD_TYPE_USIM ? "usim" : "sim");
  result.Set("simContacts", PersonCount(CTSVC_USE_TYPE_SIM));
  result.Set("phoneContacts", PersonCount(CTSVC_USE_TYPE_PHONE));
  return result;
}

namespace {

// The end of a bulk run, reported on the timer's thread.
struct BulkEnd {
  std::mutex mutex;
  std::condition_variable cond;
  bool bEnded = false;
  bool bResult = false;
  int nProgressReports = 0;
};

BulkEnd& TheBulkEnd() {
  static BulkEnd s_end;
  return s_end;
}

void OnBulkState(BOOL bResult, int, int nNewState, void*) {
  if (nNewState == CTSVC_BULK_STATE_FINISHED || nNewState == CTSVC_BULK_STATE_READY) {
    BulkEnd& end = TheBulkEnd();
    std::lock_guard<std::mutex> lock(end.mutex);
    end.bEnded = true;
    end.bResult = bResult != FALSE;
    end.cond.notify_all();
  }
}

void OnBulkProgress(int nDone, int nTotal, void*) {
  BulkEnd& end = TheBulkEnd();
  std::lock_guard<std::mutex> lock(end.mutex);
  ++end.nProgressReports;
  if (isatty(STDOUT_FILENO)) {
    std::printf("\r    copying %d/%d", nDone, nTotal);
    std::fflush(stdout);
  }
}

std::vector<int> SimPersons() {
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = CTSVC_USE_TYPE_SIM;
  std::vector<CtSvcPersonRecord> vcSim(256);
  const int nSim = CtSvcDbPersonGetRecords(&filter, vcSim.data(), static_cast<int>(vcSim.size()));
  std::vector<int> vcIds;
  for (int i = 0; i < nSim; ++i) {
    vcIds.push_back(vcSim[static_cast<size_t>(i)].nId);
  }
  return vcIds;
}

}  // namespace

Json DemoCopySimToPhone() {
  const std::vector<int> vcIds = CardCopiedAtStart() ? SimPersons() : std::vector<int>();
  Json result = Json::Object();
  BulkEnd& end = TheBulkEnd();
  {
    std::lock_guard<std::mutex> lock(end.mutex);
    end.bEnded = false;
    end.nProgressReports = 0;
  }
  bool bStarted = false;
  if (!vcIds.empty() && CtSvcBulkOpCreate(CTSVC_BULK_OP_COPY_ADN_TO_DB, &OnBulkState, nullptr)) {
    CtSvcBulkOpRegisterProgressCallback(&OnBulkProgress);
    for (int nId : vcIds) {
      CtSvcBulkOpAddPersonId(nId);
    }
    bStarted = CtSvcBulkOpStart() != FALSE;
  }
  bool bDone = false;
  if (bStarted) {
    std::unique_lock<std::mutex> lock(end.mutex);
    bDone = end.cond.wait_for(lock, std::chrono::milliseconds(kCompletionTimeoutMs), [&] { return end.bEnded; }) &&
            end.bResult;
  }
  int nDone = 0;
  int nTotal = 0;
  CtSvcBulkOpGetProgress(&nDone, &nTotal);
  if (bStarted) {
    CtSvcBulkOpDestroy();
  }
  if (isatty(STDOUT_FILENO) && bStarted) {
    std::printf("\n");
  }
  result.Set("toCopy", static_cast<int>(vcIds.size()));
  result.Set("copied", bDone ? nDone : 0);
  {
    std::lock_guard<std::mutex> lock(end.mutex);
    result.Set("progressReports", end.nProgressReports);
  }
  result.Set("phoneContacts", PersonCount(CTSVC_USE_TYPE_PHONE));
  return result;
}

// Whether the file was imported by an earlier run (the new contact is stored).
bool AlreadyImported() {
  const bool bFound = CtSvcSearchRequestSearch(0, kNewcomerLast, 0) && CtSvcSearchGetResultCount() > 0;
  CtSvcSearchDestroyResult();
  return bFound;
}

Json DemoImportVCardFile(const Options& options) {
  Imported().clear();
  if (AlreadyImported()) {
    Json result = Json::Object();
    result.Set("imported", 0);
    result.Set("note", "imported by an earlier run");
    return result;
  }
  const std::string strPath = options.strDataDir + "/" + kImportFile;
  std::ofstream(strPath, std::ios::binary) << ImportText();
  std::ifstream in(strPath, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  Json result = Json::Object();
  result.Set("file", strPath);
  CtSvcContactInfo* pContacts = nullptr;
  INT32 nCount = 0;
  if (!CtSvcConvertVcards2Records(text.str().c_str(), &pContacts, &nCount)) {
    result.Set("imported", 0);
    return result;
  }
  for (INT32 i = 0; i < nCount; ++i) {
    const HOBJ hPerson = CtSvcPhonebookInsertContactToPhone(&pContacts[i]);
    if (hPerson != INVALID_HOBJ) {
      Imported().push_back(hPerson);
    }
  }
  CtSvcFreeContactInfoList(pContacts, nCount);
  result.Set("cards", nCount);
  result.Set("imported", static_cast<int>(Imported().size()));
  return result;
}

// Each imported person that repeats a stored contact is linked into that contact, as a user links
// duplicates; local contacts are never joined on their own.
Json DemoLinkDuplicates() {
  Json rows = Json::Array();
  for (size_t i = 0; i < Imported().size(); ++i) {
    CtSvcPersonRecord person{};
    if (!CtSvcDbPersonGetRecord(Imported()[i], &person)) {
      continue;
    }
    int nPrimary = person.Info.nPrimaryId;
    if (i < Originals().size() && Originals()[i] != nPrimary && CtSvcDbPrimaryLinkPerson(Originals()[i], nPrimary)) {
      nPrimary = Originals()[i];
    }
    rows.Push(PrimarySummary(nPrimary));
  }
  return rows;
}

Json DemoSearchImported() {
  Json result = Json::Object();
  if (!CtSvcSearchRequestSearch(0, kNewcomerLast, 0)) {
    return result;
  }
  const int nFound = CtSvcSearchGetResultCount();
  result.Set("text", kNewcomerLast);
  result.Set("found", nFound);
  if (nFound > 0) {
    result.Set("first", PrimarySummary(CtSvcSearchGetResultItem(0)));
  }
  CtSvcSearchDestroyResult();
  return result;
}

Json DemoPbapExport() {
  Json result = Json::Object();
  zel::test::TakePbsCompletions();
  const CtSvcBtPbsCtInfo request{0, CTSVC_PBAP_MAX_ENTRY, -1};
  BOOL bWritten = FALSE;
  const bool bDone = CtSvcFullCtListExForPBAP(CTSVC_USE_TYPE_PHONE, &request) &&
                     zel::test::WaitPbsCompletion(kCompletionTimeoutMs, &bWritten) && bWritten;
  char szPath[CTSVC_PBAP_PATH_SIZE] = {};
  CtSvcPbapGetPath(CTSVC_USE_TYPE_PHONE, CTSVC_PBAP_FILE_FULL_LIST, -1, szPath, sizeof(szPath));
  result.Set("written", Json::Bool(bDone));
  result.Set("file", szPath);
  result.Set("listingFiles", CtSvcFullCtListForPBAPListing(CTSVC_USE_TYPE_SIM));
  return result;
}

Json DemoAtRead() {
  zel::at::CTapiAtPhonebook phonebook;
  zel::at::AtSession session;
  session.bEcho = false;
  const std::string strLine = "AT+CPBR=1,10\r";
  const std::string strAnswer = zel::at::AtFeed(session, phonebook, strLine.data(), strLine.size());
  Json lines = Json::Array();
  std::istringstream in(strAnswer);
  for (std::string strText; std::getline(in, strText);) {
    if (!strText.empty() && strText.back() == '\r') {
      strText.pop_back();
    }
    if (!strText.empty()) {
      lines.Push(Json(strText));
    }
  }
  return lines;
}

Json DemoChangeCallbacks() {
  static const char* const kTypes[] = {"insert", "update", "delete", "bulkDelete", "bulkInsert", "fullSync"};
  Json contacts = Json::Object();
  Json groups = Json::Object();
  for (int i = 0; i < 6; ++i) {
    contacts.Set(kTypes[i], Changes().anContact[i].load());
    groups.Set(kTypes[i], Changes().anGroup[i].load());
  }
  CtSvcPhonebookUnRegisterContactCallback(&OnContactChange, nullptr);
  CtSvcPhonebookUnRegisterGroupCallback(&OnGroupChange, nullptr);
  Json result = Json::Object();
  result.Set("contacts", contacts);
  result.Set("groups", groups);
  return result;
}

}  // namespace ctsvc_tool
