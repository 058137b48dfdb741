// vCard import: 10 000 generated contacts written as a .vcf file (the way `ctsvc export` writes
// them), imported through the streaming importer, against the same contacts, already converted,
// stored by the bulk insert in the importer's batches of 200, one operation and one unit each
// (the importer minus reading).
// Target: the import at least half as fast as the bulk insert (ratio <= 2).
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <fstream>
#include <vector>

#include "BenchEnv.h"
#include "BenchRegistry.h"
#include "BenchSuites.h"
#include "CtSvcBulkOp.h"
#include "CtSvcFilter.h"
#include "CtSvcDbPerson.h"
#include "CtSvcVCard.h"
#include "CtSvcVCard/CtSvcVCardImport.h"
#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelAppFrmwk/ZelVCard.h"

namespace ctsvc_bench {

namespace {

constexpr int kCards = 10000;
const char kDirectName[] = "vcard_bulk_insert/10000";

// The .vcf file of the generated address book, written once per run.
const std::string& CardFile() {
  static TempDir dir;
  static const std::string strPath = [] {
    const std::string strFile = dir.Path() + "/contacts.vcf";
    TempDir store;
    store.CopyFrom(ContactStoreDir(kCards));
    ServiceSession session(store.Path());
    std::ofstream out(strFile, std::ios::binary);
    CtSvcPrimaryFilter filter;
    CtSvcPrimaryFilterInit(&filter);
    std::vector<INT32> vcIds(static_cast<size_t>(CtSvcDbPrimaryGetCount(&filter)));
    vcIds.resize(static_cast<size_t>(CtSvcDbPrimaryGetIds(&filter, vcIds.data(), static_cast<int>(vcIds.size()))));
    for (INT32 nId : vcIds) {
      CtSvcContactInfo contact{};
      char* pszText = nullptr;
      if (CtDbSvcGetLinkContactInfoByID(nId, &contact) && CtSvcConvertRecord2VCard(&contact, &pszText)) {
        out << pszText;
      }
      VCardFreeText(pszText);
      CtSvcFreeContactInfo(&contact);
    }
    return strFile;
  }();
  return strPath;
}

// The next nMax cards of the stream as contacts (converted outside the timing).
std::vector<CtSvcContactInfo> ReadCards(VCardStream* pStream, size_t nMax) {
  std::vector<CtSvcContactInfo> vcContacts;
  VCardStreamCard card{};
  while (vcContacts.size() < nMax && VCardStreamNext(pStream, &card) == 1) {
    CtSvcContactInfo contact{};
    if (card.pObject != nullptr && CtSvcVCardReadObject(*card.pObject, &contact, nullptr)) {
      vcContacts.push_back(contact);
    }
    VCardFreeObject(card.pObject);
  }
  return vcContacts;
}

// Waits on the bulk insert's state callback, which the handler's timer thread calls.
struct BulkWait {
  std::mutex mutex;
  std::condition_variable changed;
  bool bDone = false;
  bool bFailed = false;
};

void OnBulkState(BOOL bResult, int /*nOldState*/, int nNewState, void* pUserData) {
  BulkWait& wait = *static_cast<BulkWait*>(pUserData);
  std::lock_guard<std::mutex> lock(wait.mutex);
  wait.bFailed = wait.bFailed || !bResult;
  wait.bDone = wait.bDone || !bResult || nNewState == CTSVC_BULK_STATE_FINISHED;
  wait.changed.notify_all();
}

// One bulk insert of the contacts as one unit, waited for.
std::string BulkInsertBatch(const std::vector<CtSvcContactInfo>& vcContacts) {
  BulkWait wait;
  if (!CtSvcBulkOpCreate(CTSVC_BULK_OP_INSERT_DB, &OnBulkState, &wait)) {
    return "no bulk operation";
  }
  for (const CtSvcContactInfo& contact : vcContacts) {
    CtSvcBulkOpAddContactRecord(CTSVC_USE_TYPE_PHONE, &contact);
  }
  CtSvcBulkOpSetUnitCountAtOnce(CCtSvcVCardImporter::kBatchSize);
  if (CtSvcBulkOpStart()) {
    std::unique_lock<std::mutex> lock(wait.mutex);
    wait.changed.wait(lock, [&wait] { return wait.bDone; });
  } else {
    wait.bFailed = true;
  }
  CtSvcBulkOpDestroy();
  return wait.bFailed ? "the bulk insert failed" : "";
}

// The same contacts through the bulk insert in the importer's batches (one operation, one unit
// each); each batch is read and converted with the timing paused, so only storing is timed and
// memory holds one batch.
std::string BulkInsert(benchmark::State& state) {
  VCardStream* pStream = VCardStreamOpen(CardFile().c_str());
  std::string strError = pStream != nullptr ? "" : "cannot open the card file";
  for (bool bMore = pStream != nullptr; bMore && strError.empty();) {
    state.PauseTiming();
    std::vector<CtSvcContactInfo> vcBatch = ReadCards(pStream, CCtSvcVCardImporter::kBatchSize);
    state.ResumeTiming();
    bMore = !vcBatch.empty();
    strError = bMore ? BulkInsertBatch(vcBatch) : "";
    for (CtSvcContactInfo& contact : vcBatch) {
      CtSvcFreeContactInfo(&contact);
    }
  }
  VCardStreamClose(pStream);
  return strError;
}

void Direct(benchmark::State& state) {
  CardFile();
  RunOnEmptyStore(state, [&state]() { return BulkInsert(state); });
}

void Import(benchmark::State& state) {
  const std::string& strFile = CardFile();
  RunOnEmptyStore(state, [&strFile]() {
    CCtSvcVCardImporter importer;
    CtSvcVCardImportResult result;
    std::string strError;
    const bool bRead = importer.Import(strFile, result, nullptr, strError);
    return std::string(!bRead || result.nSkipped != 0 ? "the file could not be imported whole" : "");
  });
}

}  // namespace

void RegisterVCardBenchmarks() {
  Register(kDirectName, kCards, "", {}, Direct)->Iterations(2);
  Register("vcard_import/10000", kCards, kDirectName, MaxRatio(2.0, "ratio <= 2 (at least half as fast)"), Import)
      ->Iterations(2);
}

}  // namespace ctsvc_bench
