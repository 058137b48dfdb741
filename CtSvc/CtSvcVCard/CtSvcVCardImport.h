// Importing a .vcf file: read card by card, converted, and stored in batches through the bulk
// handler. Memory stays bounded by one card and one batch whatever the file's size.
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

// One converted card waiting to be stored, with the line of its BEGIN.
struct CtSvcVCardImportCard {
  CtSvcContactInfo info;
  int nLine;
};

class CCtSvcVCardImporter {
 public:
  // Contacts per batch: one bulk insert whose unit takes the whole batch.
  static constexpr int kBatchSize = 200;
  using ProgressFn = std::function<void(uint64_t nDone, uint64_t nTotal)>;

  // Imports a file given by its host path; false (strError says why) when it cannot be read or
  // the bulk handler cannot take the import. Listeners are paused while it runs. Waits for the
  // handler's timer: never call it with the module lock held or from the timer.
  bool Import(const std::string& strHostPath, CtSvcVCardImportResult& result, const ProgressFn& pfnProgress,
              std::string& strError);
};

// Stores a batch of imported cards as local phone contacts through the bulk handler (one insert
// operation, unit count = the batch) and waits until it is done; the cards are freed. A card the
// store refuses is counted skipped (its photo removed) and the rest go on. pfnProgress hears the
// handler's progress (cards done of the batch). False (strError says why) when the handler cannot
// run it, e.g. while another bulk operation is registered; the cards not stored are then skipped.
bool CtSvcVCardInsertImported(std::vector<CtSvcVCardImportCard>& vcBatch, CtSvcVCardImportResult& result,
                              const std::function<void(int nDone, int nTotal)>& pfnProgress, std::string& strError);

// Files a card's decoded photo (at its caller-image path) as the contact's caller image through
// the image store, with its thumbnail; a photo that is not an image is left out and a note added.
void CtSvcVCardKeepImportedPhoto(CtSvcContactInfo& info, std::string& strNote);

#endif
