// vCard import: 10 000 generated contacts written as a .vcf file (the way `ctsvc export` writes
// them), imported through the streaming importer, against the same contacts, already converted,
// inserted directly in batches of the same size and write units (the importer minus reading).
// Target: the import at least half as fast as the direct insert (ratio <= 2).
#include <cstdio>
#include <fstream>
#include <vector>

#include "BenchEnv.h"
#include "BenchRegistry.h"
#include "BenchSuites.h"
#include "CtSvcDB/DbMgr/CtSvcDbWriteUnit.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcFilter.h"
#include "CtSvcDbPerson.h"
#include "CtSvcVCard.h"
#include "CtSvcVCard/CtSvcVCardImport.h"
#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelAppFrmwk/ZelVCard.h"

namespace ctsvc_bench {

namespace {

constexpr int kCards = 10000;
const char kDirectName[] = "vcard_insert_direct/10000";

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

// The cards of the file as contacts, converted before the timing starts.
std::vector<CtSvcContactInfo> ReadCards() {
  std::vector<CtSvcContactInfo> vcContacts;
  VCardStream* pStream = VCardStreamOpen(CardFile().c_str());
  VCardStreamCard card{};
  while (pStream != nullptr && VCardStreamNext(pStream, &card) == 1) {
    CtSvcContactInfo contact{};
    if (card.pObject != nullptr && CtSvcVCardReadObject(*card.pObject, &contact, nullptr)) {
      vcContacts.push_back(contact);
    }
    VCardFreeObject(card.pObject);
  }
  VCardStreamClose(pStream);
  return vcContacts;
}

void Direct(benchmark::State& state) {
  std::vector<CtSvcContactInfo> vcContacts = ReadCards();
  RunOnEmptyStore(state, [&vcContacts]() {
    for (size_t nStart = 0; nStart < vcContacts.size(); nStart += CCtSvcVCardImporter::kBatchSize) {
      CCtSvcModuleLock lock;
      CCtSvcDbWriteUnit unit;
      for (size_t i = nStart; i < vcContacts.size() && i < nStart + CCtSvcVCardImporter::kBatchSize; ++i) {
        bool bMerged = false;
        CtSvcVCardInsertImported(vcContacts[i], bMerged);
      }
      if (!unit.KeepAndCommit()) {
        return std::string("a batch could not be stored");
      }
    }
    return std::string();
  });
  for (CtSvcContactInfo& contact : vcContacts) {
    CtSvcFreeContactInfo(&contact);
  }
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
