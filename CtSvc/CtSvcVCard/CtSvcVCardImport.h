// Importing a .vcf file: read card by card, converted, and stored in batches, each batch one
// write unit. Memory stays bounded by one card and one batch whatever the file's size.
#ifndef CTSVC_VCARD_IMPORT_H
#define CTSVC_VCARD_IMPORT_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CtSvcRecord.h"

struct CtSvcVCardImportResult {
  int nImported = 0;  // stored as a contact of their own
  int nMerged = 0;    // stored and joined to a contact that was there
  int nSkipped = 0;   // not stored (nothing to store, or the store refused)
  std::vector<std::string> vcErrors;  // one line per skipped card or left-out property
};

class CCtSvcVCardImporter {
 public:
  // Contacts per write unit.
  static constexpr int kBatchSize = 200;
  using ProgressFn = std::function<void(uint64_t nDone, uint64_t nTotal)>;

  // Imports a file given by its host path; false (strError says why) when it cannot be read.
  bool Import(const std::string& strHostPath, CtSvcVCardImportResult& result, const ProgressFn& pfnProgress,
              std::string& strError);

 private:
  struct Pending {
    CtSvcContactInfo info;
    int nLine;
  };
  void _Flush(std::vector<Pending>& vcBatch, CtSvcVCardImportResult& result);
};

// Stores one imported contact; its person id, or -1. bMerged tells whether it joined a contact
// that was stored before. Called inside the batch's write unit with the module lock held.
int CtSvcVCardInsertImported(const CtSvcContactInfo& info, bool& bMerged);

#endif
