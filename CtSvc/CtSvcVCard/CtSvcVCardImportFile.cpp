// The importer as a C function for applications.
#include <string>

#include "CtSvcVCard.h"
#include "CtSvcVCard/CtSvcVCardImport.h"
#include "ZelAc.h"
#include "ZelDebug.h"

BOOL CtSvcVCardImportFile(const char* pszHostPath, CtSvcVCardImportCounts* pCounts,
                          CtSvcVCardImportProgressCallback pfnProgress, CtSvcVCardImportNoteCallback pfnNote,
                          void* pUserData, char* pszError, INT32 nErrorSize) {
  if (!ZEL_REQUIRE(pszHostPath != NULL) || !ZEL_REQUIRE(pCounts != NULL)) {
    return FALSE;
  }
  CCtSvcVCardImporter importer;
  CtSvcVCardImportResult result;
  std::string strError;
  CCtSvcVCardImporter::ProgressFn progress;
  if (pfnProgress != nullptr) {
    progress = [pfnProgress, pUserData](uint64_t nDone, uint64_t nTotal) { pfnProgress(nDone, nTotal, pUserData); };
  }
  const bool bDone = importer.Import(pszHostPath, result, progress, strError);
  *pCounts = CtSvcVCardImportCounts{result.nImported, result.nMerged, result.nSkipped};
  for (const std::string& strNote : result.vcErrors) {
    if (pfnNote != nullptr) {
      pfnNote(strNote.c_str(), pUserData);
    }
  }
  if (!bDone) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcVCardImportFile: %s\n", strError.c_str());
    if (pszError != nullptr && nErrorSize > 0) {
      AcStrlcpy(pszError, strError.c_str(), static_cast<size_t>(nErrorSize));
    }
  }
  return bDone ? TRUE : FALSE;
}
