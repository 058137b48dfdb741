// ctsvc import / export / backup / restore: contacts to and from .vcf files.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Args.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "CtSvcVCard.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "ZelAppFrmwk/ZelVCard.h"

namespace ctsvc_tool {

namespace {

struct FileCloser {
  void operator()(FILE* pFile) const {
    if (pFile != nullptr && pFile != stdout) {
      std::fclose(pFile);
    }
  }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

void ShowImportProgress(UINT64 nDone, UINT64 nTotal, void* /*pUserData*/) {
  if (nTotal > 0) {
    DrawProgress(static_cast<int>(nDone * 100 / nTotal), 100);
  }
}

void KeepNote(const char* pszNote, void* pUserData) { static_cast<std::vector<std::string>*>(pUserData)->push_back(pszNote); }

int ImportFile(const Options& options, const std::string& strPath) {
  return WithService(options, [&]() {
    CtSvcVCardImportCounts counts{};
    std::vector<std::string> vcNotes;
    char szError[256] = {};
    if (!CtSvcVCardImportFile(strPath.c_str(), &counts, &ShowImportProgress, &KeepNote, &vcNotes, szError,
                              sizeof(szError))) {
      return Fail(kExitFailure, szError);
    }
    Json report = Json::Object();
    report.Set("imported", counts.nImported);
    report.Set("merged", counts.nMerged);
    report.Set("skipped", counts.nSkipped);
    Json errors = Json::Array();
    for (const std::string& strNote : vcNotes) {
      errors.Push(strNote);
      if (!options.bJson) {
        Warn(strNote);
      }
    }
    if (options.bJson) {
      report.Set("errors", errors);
    }
    Print(report, options.bJson);
    return kExitOk;
  });
}

// Every contact id in name order.
std::vector<int> AllContacts() {
  CtSvcPrimaryFilter filter;
  CtSvcPrimaryFilterInit(&filter);
  const int nCount = CtSvcDbPrimaryGetCount(&filter);
  std::vector<INT32> vcIds(static_cast<size_t>(nCount > 0 ? nCount : 0));
  const int nRead = nCount > 0 ? CtSvcDbPrimaryGetIds(&filter, vcIds.data(), nCount) : 0;
  vcIds.resize(static_cast<size_t>(nRead > 0 ? nRead : 0));
  return std::vector<int>(vcIds.begin(), vcIds.end());
}

// The words of export: contact ids and "-o FILE".
bool ReadExportWords(const Args& args, std::vector<int>& vcIds, std::string& strOutput) {
  strOutput = args.Get("output");
  const std::vector<std::string>& vcWords = args.Positional();
  for (size_t i = 0; i < vcWords.size(); ++i) {
    int nId = 0;
    if (vcWords[i] == "-o" && i + 1 < vcWords.size()) {
      strOutput = vcWords[++i];
    } else if (ParseInt(vcWords[i], nId) && nId > 0) {
      vcIds.push_back(nId);
    } else {
      return false;
    }
  }
  return true;
}

FilePtr OpenOutput(const std::string& strPath) {
  return FilePtr(strPath.empty() || strPath == "-" ? stdout : std::fopen(strPath.c_str(), "wb"));
}

}  // namespace

int RunImport(const Options& options, const Args& args) { return ImportFile(options, args.Word(0)); }

int RunRestore(const Options& options, const Args& args) { return ImportFile(options, args.Word(0)); }

int RunExport(const Options& options, const Args& args) {
  std::vector<int> vcIds;
  std::string strOutput;
  if (!ReadExportWords(args, vcIds, strOutput)) {
    return Fail(kExitUsage, "usage: export [IDS] [--v30] [-o FILE]   (IDS: contact ids from 'ctsvc list')");
  }
  const INT32 nVersion = args.Has("v30") ? VCARD_VERSION_30 : VCARD_VERSION_21;
  return WithService(options, [&]() {
    FilePtr pOut = OpenOutput(strOutput);
    if (!pOut) {
      return Fail(kExitFailure, "cannot write " + strOutput);
    }
    if (vcIds.empty()) {
      vcIds = AllContacts();
    }
    int nWritten = 0;
    for (int nId : vcIds) {
      CtSvcContactInfo contact{};
      char* pszText = nullptr;
      if (!CtDbSvcGetLinkContactInfoByID(nId, &contact)) {
        Warn("no contact " + std::to_string(nId));
        continue;
      }
      if (CtSvcConvertRecord2VCardVersion(&contact, nVersion, &pszText)) {
        std::fputs(pszText, pOut.get());
        ++nWritten;
      }
      VCardFreeText(pszText);
      CtSvcFreeContactInfo(&contact);
    }
    if (std::fflush(pOut.get()) != 0 || std::ferror(pOut.get())) {
      return Fail(kExitFailure, "cannot write " + (strOutput.empty() ? std::string("the output") : strOutput));
    }
    if (pOut.get() != stdout) {
      Json report = Json::Object();
      report.Set("exported", nWritten);
      report.Set("file", strOutput);
      Print(report, options.bJson);
    }
    return nWritten == static_cast<int>(vcIds.size()) ? kExitOk : kExitFailure;
  });
}

int RunBackup(const Options& options, const Args& args) {
  const std::string strPath = args.Word(0);
  return WithService(options, [&]() {
    CtSvcPersonFilter filter;
    CtSvcPersonFilterInit(&filter);
    const int nCount = CtSvcDbPersonGetCount(&filter);
    std::vector<HOBJ> vcHandles(static_cast<size_t>(nCount > 0 ? nCount : 0));
    const int nRead = nCount > 0 ? CtSvcDbPersonHandles(&filter, vcHandles.data(), nCount) : 0;
    char* pszText = nullptr;
    if (nRead > 0 && !CtSvcConvertRecords2VCards(vcHandles.data(), nRead, &pszText)) {
      return Fail(kExitFailure, "the contacts could not be converted");
    }
    FilePtr pOut = OpenOutput(strPath);
    const bool bWritten = pOut && (pszText == nullptr || std::fputs(pszText, pOut.get()) >= 0) && std::fflush(pOut.get()) == 0;
    VCardFreeText(pszText);
    if (!bWritten) {
      return Fail(kExitFailure, "cannot write " + strPath);
    }
    Json report = Json::Object();
    report.Set("persons", nRead > 0 ? nRead : 0);
    report.Set("file", strPath);
    Print(report, options.bJson);
    return kExitOk;
  });
}

}  // namespace ctsvc_tool
