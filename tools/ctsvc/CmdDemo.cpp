// ctsvc demo: the main job. Loads the service the way an application platform does, fills an
// empty store with a generated address book, then shows what the service does, step by step, with
// the time each step took.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "Args.h"
#include "ContactView.h"
#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtSvcList.h"
#include "CtSvcModule.h"
#include "CtSvcSearch.h"
#include "CtsvcTool.h"
#include "DemoService.h"
#include "Generator.h"
#include "Json.h"
#include "ZelGWESCore.h"

namespace ctsvc_tool {

namespace {

constexpr int kDemoContacts = 2000;
constexpr int kScreenRows = 10;
constexpr int kFavourites = 3;
constexpr char kSearchText[] = "ki";

// The steps with their timings, printed as they happen (or as one JSON object at the end).
class DemoReport {
 public:
  explicit DemoReport(bool bJson) : m_bJson(bJson), m_steps(Json::Array()) {}

  template <typename F>
  Json Step(const std::string& strTitle, F work) {
    const auto start = std::chrono::steady_clock::now();
    Json result = work();
    const double dMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    m_dTotalMs += dMs;
    if (m_bJson) {
      Json step = Json::Object();
      step.Set("step", strTitle);
      step.Set("ms", Json::Decimal(dMs, 1));
      step.Set("result", result);
      m_steps.Push(step);
    } else {
      std::printf("\n[%8.1f ms] %s\n", dMs, strTitle.c_str());
      PrintIndented(result);
      std::fflush(stdout);
    }
    return result;
  }

  void Finish(const std::string& strDataDir) {
    if (m_bJson) {
      Json report = Json::Object();
      report.Set("dataDir", strDataDir);
      report.Set("steps", m_steps);
      report.Set("totalMs", Json::Decimal(m_dTotalMs, 1));
      Print(report, true);
    } else {
      std::printf("\ntotal %.1f ms\n", m_dTotalMs);
    }
  }

 private:
  static void PrintIndented(const Json& result) {
    if (result.GetKind() == Json::Kind::Null) {
      return;
    }
    Print(result, false);
  }

  bool m_bJson;
  Json m_steps;
  double m_dTotalMs = 0;
};

std::string LetterText(MCHAR cLetter) {
  if (cLetter == 0xFFFF) {
    return "(no name)";
  }
  const MCHAR sz[2] = {cLetter, 0};
  char szOut[8] = {};
  WmConvert2LCode(szOut, sizeof(szOut), sz);
  return szOut;
}

Json FillStore() {
  Json result = Json::Object();
  const int nStored = CtSvcDbPersonGetTotalCount();
  if (nStored > 0) {
    result.Set("reused", Json::Bool(true));
    result.Set("persons", nStored);
    return result;
  }
  const GenerateResult generated = GenerateContacts(kDemoContacts, 1, nullptr);
  result.Set("reused", Json::Bool(false));
  result.Set("generated", kDemoContacts);
  result.Set("persons", generated.nPersons);
  return result;
}

CtSvcPrimaryFilter FirstLastFilter() {
  CtSvcPrimaryFilter filter;
  CtSvcPrimaryFilterInit(&filter);
  filter.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
  return filter;
}

Json FirstScreen() {
  const CtSvcPrimaryFilter filter = FirstLastFilter();
  const INT32 hList = CtSvcPrimaryListCreate(&filter, nullptr);
  Json result = Json::Object();
  if (hList < 0) {
    return result;
  }
  result.Set("contacts", CtSvcPrimaryListGetCount(hList));
  Json rows = Json::Array();
  for (int i = 0; i < kScreenRows; ++i) {
    CtSvcPrimaryRecord record{};
    if (CtSvcPrimaryListGetAt(hList, i, &record)) {
      rows.Push(PrimarySummary(record.nId));
    }
  }
  result.Set("firstScreen", rows);
  CtSvcPrimaryListDestroy(hList);
  return result;
}

Json IndexLetters() {
  const CtSvcPrimaryFilter filter = FirstLastFilter();
  std::vector<MCHAR> vcLetters(512);
  std::vector<INT32> vcCounts(512);
  const int nLetters = CtSvcDbPrimaryGetGroupLetters(&filter, vcLetters.data(), vcCounts.data(), 512);
  std::string strLine;
  for (int i = 0; i < nLetters; ++i) {
    strLine += (i == 0 ? "" : "  ") + LetterText(vcLetters[static_cast<size_t>(i)]) + " " +
               std::to_string(vcCounts[static_cast<size_t>(i)]);
  }
  Json result = Json::Object();
  result.Set("letters", nLetters);
  result.Set("counts", strLine);
  return result;
}

Json SearchStep() {
  Json result = Json::Object();
  if (!CtSvcSearchRequestSearch(0, kSearchText, 0)) {
    return result;
  }
  const int nFound = CtSvcSearchGetResultCount();
  result.Set("found", nFound);
  Json rows = Json::Array();
  for (int i = 0; i < nFound && i < 5; ++i) {
    rows.Push(PrimarySummary(CtSvcSearchGetResultItem(i)));
  }
  result.Set("firstResults", rows);
  CtSvcSearchDestroyResult();
  return result;
}

// A contact made of persons from two accounts that share an e-mail address.
Json LinkedContact() {
  CtSvcPrimaryFilter filter;
  CtSvcPrimaryFilterInit(&filter);
  filter.nLinkCountMore = 1;
  INT32 nId = 0;
  if (CtSvcDbPrimaryGetIds(&filter, &nId, 1) != 1) {
    return Json("no linked contact");
  }
  return PrimaryView(nId);
}

// The first contacts of the list become favourites (once), and the favourites are listed in order.
Json Favourites() {
  CtSvcPrimaryFilter favourites;
  CtSvcPrimaryFilterInit(&favourites);
  favourites.bFavoriteOrder = 1;
  if (CtSvcDbPrimaryGetCount(&favourites) == 0) {
    std::vector<INT32> vcIds(kFavourites);
    CtSvcPrimaryFilter all;
    CtSvcPrimaryFilterInit(&all);
    all.FilterDetail = 2;  // contacts with a number
    const int nIds = CtSvcDbPrimaryGetIds(&all, vcIds.data(), kFavourites);
    for (int i = 0; i < nIds; ++i) {
      CtSvcDbPrimarySetFavoriteType(vcIds[static_cast<size_t>(i)], CTSVC_FAVORITE_TYPE_FAVORITE);
      CtSvcDbPrimarySetFavoriteOrder(vcIds[static_cast<size_t>(i)], i + 1);
    }
  }
  const INT32 hList = CtSvcPrimaryListCreate(&favourites, nullptr);
  Json rows = Json::Array();
  for (int i = 0; hList >= 0 && i < CtSvcPrimaryListGetCount(hList); ++i) {
    CtSvcPrimaryRecord record{};
    if (CtSvcPrimaryListGetAt(hList, i, &record)) {
      rows.Push(PrimarySummary(record.nId));
    }
  }
  CtSvcPrimaryListDestroy(hList);
  return rows;
}

// Speed-dial keys 2.. for the favourites' default numbers (key 1 is the voice mail).
Json SpeedDial(const Json& favourites) {
  int nSlot = 2;
  for (const Json& favourite : favourites.Items()) {
    CtSvcPrimaryRecord primary{};
    int nId = 0;
    if (ParseInt(favourite.TextOf("id"), nId) && CtSvcDbPrimaryGetRecord(nId, &primary) &&
        primary.Info.nDefaultPhoneNumberId > 0 && CtSvcDbSdGetSlotIndex(primary.Info.nDefaultPhoneNumberId) < 0) {
      CtSvcDbSdSetRecord(nSlot, primary.Info.nDefaultPhoneNumberId, -1);
    }
    ++nSlot;
  }
  Json rows = Json::Array();
  for (int nKey = CTSVC_SPEEDDIAL_SLOT_FIRST; nKey <= CTSVC_SPEEDDIAL_SLOT_LAST; ++nKey) {
    CtSvcSpeedDialRecord record{};
    CtSvcPhoneNumberRecord number{};
    if (CtSvcDbSdGetRecord(nKey, &record) && CtSvcDbPhoneNumberGetRecord(record.Info.nPhoneNumberId, &number)) {
      Json row = Json::Object();
      row.Set("key", nKey);
      row.Set("number", number.Info.szPhoneNumber);
      row.Set("name", PersonView(record.nPersonId).TextOf("name"));
      rows.Push(row);
    }
  }
  return rows;
}

}  // namespace

int RunDemo(const Options& options, const Args&) {
  DemoReport report(options.bJson);
  if (!options.bJson) {
    std::printf("ZelCtSvc demo on %s\n", options.strDataDir.c_str());
  }
  bool bLoaded = false;
  DemoInsertSampleUsim(options);
  report.Step("load the service: CtSvcDispatch(0)", [&] {
    bLoaded = OpenService(options);
    return Json();
  });
  if (!bLoaded) {
    return kExitFailure;
  }
  report.Step("fill the store (" + std::to_string(kDemoContacts) + " generated contacts when it is empty)", &FillStore);
  report.Step("first screen of the contact list, first-last order", &FirstScreen);
  report.Step("index letters of the list with their counts", &IndexLetters);
  report.Step(std::string("search \"") + kSearchText + "\" (a prefix of any word of the name)", &SearchStep);
  report.Step("a contact linked from two accounts that share an e-mail", &LinkedContact);
  const Json favourites = report.Step("favourites, in their order", &Favourites);
  report.Step("speed dial", [&] { return SpeedDial(favourites); });
  DemoWatchChanges();
  report.Step("start the phonebook on the SIM card (the sample USIM on a fresh store)", &DemoStartPhonebook);
  report.Step("copy the SIM contacts to the phone (bulk copy on its timer, with progress)", &DemoCopySimToPhone);
  report.Step("import a vCard file (two contacts already stored, one new)", [&] { return DemoImportVCardFile(options); });
  report.Step("link the imported duplicates into their contacts", &DemoLinkDuplicates);
  report.Step("search the imported contact", &DemoSearchImported);
  report.Step("Bluetooth phonebook export: pb.vcf written on its timer, the SIM listing", &DemoPbapExport);
  report.Step("AT+CPBR=1,10 as an AT phonebook client sends it", &DemoAtRead);
  report.Step("change callbacks the steps above caused", &DemoChangeCallbacks);
  report.Step("unload the service: CtSvcDispatch(1)", [] {
    CloseService();
    return Json();
  });
  report.Finish(options.strDataDir);
  return kExitOk;
}

}  // namespace ctsvc_tool
