// The .vcf importer.
#include "CtSvcVCard/CtSvcVCardImport.h"

#include <cstdio>

#include "CtSvcDB/DbMgr/CtSvcDbWriteUnit.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelDb2.h"
#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelTm.h"

namespace {

bool HasContent(const CtSvcContactInfo& info) {
  const CtSvcPersonInfo& person = *info.pPersonInfo;
  return person.szFirstName[0] != '\0' || person.szLastName[0] != '\0' || info.nPhoneNumberCount > 0 ||
         info.nEmailAddressCount > 0;
}

std::string CardLabel(int nLine) { return "card at line " + std::to_string(nLine); }

}  // namespace

int CtSvcVCardInsertImported(const CtSvcContactInfo& info, bool& bMerged) {
  const int nNextPrimary = CCtSvcPrimary().PredictNextRecordId();
  CCtSvcContact contact(info, CTSVC_USE_TYPE_PHONE);
  const int nPersonId = contact.Insert(0);
  bMerged = nPersonId > 0 && contact.GetPerson().GetPrimaryId() < nNextPrimary;
  return nPersonId;
}

// The decoded photo of each card is written to the one temporary file; an imported contact
// keeps its own copy under a free name. (The images module takes this over: it decodes, scales
// and files the picture; until then the bytes are kept as they came.)
static bool KeepImportedPhoto(CtSvcPersonInfo& person) {
  char szPath[CTSVC_PERSON_CALLER_IMAGE_SIZE];
  const unsigned nStamp = static_cast<unsigned>(TmGetTime());
  int nSerial = 0;
  do {
    std::snprintf(szPath, sizeof(szPath), "/User/Ct/Tmb/vcf_%u_%d.jpeg", nStamp, ++nSerial);
  } while (FmIsFileExist(szPath));
  if (!FmRenameFile(person.szCallerImage, szPath)) {
    person.szCallerImage[0] = '\0';
    return false;
  }
  std::snprintf(person.szCallerImage, sizeof(person.szCallerImage), "%s", szPath);
  return true;
}

// Stores the batch in one write unit. When a contact fails the unit is undone (a unit keeps all
// or nothing), and the batch is stored again contact by contact so that only that one is lost.
void CCtSvcVCardImporter::_Flush(std::vector<Pending>& vcBatch, CtSvcVCardImportResult& result) {
  if (vcBatch.empty()) {
    return;
  }
  CCtSvcModuleLock lock;
  int nImported = 0, nMerged = 0;
  bool bAll = false;
  {
    CCtSvcDbWriteUnit unit;
    bAll = unit.IsOpen();
    for (size_t i = 0; bAll && i < vcBatch.size(); ++i) {
      bool bMerged = false;
      bAll = CtSvcVCardInsertImported(vcBatch[i].info, bMerged) > 0;
      ++(bMerged ? nMerged : nImported);
    }
    bAll = bAll && unit.KeepAndCommit();
  }
  if (!bAll) {
    nImported = nMerged = 0;
    for (Pending& pending : vcBatch) {
      CCtSvcDbWriteUnit unit;
      bool bMerged = false;
      if (unit.IsOpen() && CtSvcVCardInsertImported(pending.info, bMerged) > 0 && unit.KeepAndCommit()) {
        ++(bMerged ? nMerged : nImported);
      } else {
        ++result.nSkipped;
        result.vcErrors.push_back(CardLabel(pending.nLine) + ": the store refused the contact");
        if (pending.info.pPersonInfo->szCallerImage[0] != '\0') {
          FmDeleteFile(pending.info.pPersonInfo->szCallerImage);  // no contact keeps the photo
        }
      }
    }
  }
  result.nImported += nImported;
  result.nMerged += nMerged;
  for (Pending& pending : vcBatch) {
    CtSvcFreeContactInfo(&pending.info);
  }
  vcBatch.clear();
}

bool CCtSvcVCardImporter::Import(const std::string& strHostPath, CtSvcVCardImportResult& result,
                                 const ProgressFn& pfnProgress, std::string& strError) {
  VCardStream* pStream = VCardStreamOpen(strHostPath.c_str());
  if (pStream == nullptr) {
    strError = "cannot open " + strHostPath;
    return false;
  }
  std::vector<Pending> vcBatch;
  VCardStreamCard card{};
  INT32 nNext = 0;
  while ((nNext = VCardStreamNext(pStream, &card)) == 1) {
    std::string strNote = card.szNote;
    Pending pending{CtSvcContactInfo{}, card.nLine};
    const bool bRead = card.pObject != nullptr &&
                       CtSvcVCardReadObject(*card.pObject, &pending.info, CTSVC_VCARD_PHOTO_PATH, &strNote);
    VCardFreeObject(card.pObject);
    if (!bRead || !HasContent(pending.info)) {
      ++result.nSkipped;
      result.vcErrors.push_back(CardLabel(card.nLine) + ": skipped, " +
                                (strNote.empty() ? std::string("no name, number or e-mail") : strNote));
      CtSvcFreeContactInfo(&pending.info);
      continue;
    }
    if (pending.info.pPersonInfo->szCallerImage[0] != '\0' &&
        !KeepImportedPhoto(*pending.info.pPersonInfo)) {
      strNote += (strNote.empty() ? "" : "; ") + std::string("the photo could not be kept");
    }
    if (!strNote.empty()) {
      result.vcErrors.push_back(CardLabel(card.nLine) + ": " + strNote);
    }
    vcBatch.push_back(pending);
    if (static_cast<int>(vcBatch.size()) >= kBatchSize) {
      _Flush(vcBatch, result);
    }
    if (pfnProgress) {
      pfnProgress(VCardStreamGetPosition(pStream), VCardStreamGetSize(pStream));
    }
  }
  _Flush(vcBatch, result);
  if (pfnProgress) {
    pfnProgress(VCardStreamGetSize(pStream), VCardStreamGetSize(pStream));
  }
  VCardStreamClose(pStream);
  if (nNext < 0) {
    strError = "read error in " + strHostPath;
    return false;
  }
  return true;
}
