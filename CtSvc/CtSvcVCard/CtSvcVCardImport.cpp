// The .vcf importer: reads the file card by card and hands batches to the bulk insert.
#include "CtSvcVCard/CtSvcVCardImport.h"

#include "CtSvcDbListener.h"
#include "CtSvcImg.h"
#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelDebug.h"
#include "ZelFm.h"

namespace {

bool HasContent(const CtSvcContactInfo& info) {
  const CtSvcPersonInfo& person = *info.pPersonInfo;
  return person.szFirstName[0] != '\0' || person.szLastName[0] != '\0' || info.nPhoneNumberCount > 0 ||
         info.nEmailAddressCount > 0;
}

std::string CardLabel(int nLine) { return "card at line " + std::to_string(nLine); }

void AddNote(std::string& strNote, const char* pszText) { strNote += (strNote.empty() ? "" : "; ") + std::string(pszText); }

// Listeners hear nothing of the single inserts while the import runs, as with a bulk insert.
class CListenerPause {
 public:
  CListenerPause() { CtSvcDbListenerPause(); }
  ~CListenerPause() { CtSvcDbListenerResume(); }
  CListenerPause(const CListenerPause&) = delete;
  CListenerPause& operator=(const CListenerPause&) = delete;
};

}  // namespace

// The decoded photo was written to the one temporary file the next card overwrites: the image
// store decodes it, keeps a JPEG of its own under the contact's account and its thumbnail.
void CtSvcVCardKeepImportedPhoto(CtSvcContactInfo& info, std::string& strNote) {
  CtSvcPersonInfo& person = *info.pPersonInfo;
  if (person.szCallerImage[0] == '\0') {
    return;
  }
  const std::string strTemp = person.szCallerImage;
  if (!CtSvcRegisterImgtoLibrary(&info)) {
    person.szCallerImage[0] = '\0';
    AddNote(strNote, "PHOTO left out: not an image that can be read");
  }
  FmDeleteFile(strTemp.c_str());
}

bool CCtSvcVCardImporter::Import(const std::string& strHostPath, CtSvcVCardImportResult& result,
                                 const ProgressFn& pfnProgress, std::string& strError) {
  VCardStream* pStream = VCardStreamOpen(strHostPath.c_str());
  if (pStream == nullptr) {
    strError = "cannot open " + strHostPath;
    return false;
  }
  const uint64_t nSize = VCardStreamGetSize(pStream);
  uint64_t nBatchStart = 0;
  CListenerPause pause;
  // The batch's share of the file, advanced by the handler's progress within the batch.
  auto Flush = [&](std::vector<CtSvcVCardImportCard>& vcBatch) {
    const uint64_t nBatchEnd = VCardStreamGetPosition(pStream);
    auto Progress = [&](int nDone, int nTotal) {
      if (pfnProgress && nTotal > 0) {
        pfnProgress(nBatchStart + (nBatchEnd - nBatchStart) * static_cast<uint64_t>(nDone) / nTotal, nSize);
      }
    };
    const bool bStored = vcBatch.empty() || CtSvcVCardInsertImported(vcBatch, result, Progress, strError);
    nBatchStart = nBatchEnd;
    return bStored;
  };
  std::vector<CtSvcVCardImportCard> vcBatch;
  VCardStreamCard card{};
  INT32 nNext = 0;
  bool bStored = true;
  while (bStored && (nNext = VCardStreamNext(pStream, &card)) == 1) {
    std::string strNote = card.szNote;
    CtSvcVCardImportCard pending{CtSvcContactInfo{}, card.nLine};
    const bool bRead = card.pObject != nullptr &&
                       CtSvcVCardReadObject(*card.pObject, &pending.info, CTSVC_VCARD_PHOTO_PATH, &strNote);
    VCardFreeObject(card.pObject);
    if (!bRead || !HasContent(pending.info)) {
      ++result.nSkipped;
      result.vcErrors.push_back(CardLabel(card.nLine) + ": skipped, " +
                                (strNote.empty() ? std::string("no name, number or e-mail") : strNote));
      if (bRead && pending.info.pPersonInfo->szCallerImage[0] != '\0') {
        FmDeleteFile(pending.info.pPersonInfo->szCallerImage);
      }
      CtSvcFreeContactInfo(&pending.info);
      continue;
    }
    CtSvcVCardKeepImportedPhoto(pending.info, strNote);
    if (!strNote.empty()) {
      result.vcErrors.push_back(CardLabel(card.nLine) + ": " + strNote);
    }
    vcBatch.push_back(pending);
    if (static_cast<int>(vcBatch.size()) >= kBatchSize) {
      bStored = Flush(vcBatch);
    }
  }
  bStored = bStored && Flush(vcBatch);
  for (CtSvcVCardImportCard& left : vcBatch) {
    CtSvcFreeContactInfo(&left.info);
  }
  if (bStored && pfnProgress) {
    pfnProgress(nSize, nSize);
  }
  VCardStreamClose(pStream);
  if (nNext < 0) {
    strError = "read error in " + strHostPath;
    return false;
  }
  return bStored;
}
