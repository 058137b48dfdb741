// ctsvc sim dump [--json]: every phonebook file of the data directory's card, loaded through the
// service's SIM file layer, with its used records decoded.
#include <cstdio>
#include <filesystem>
#include <map>

#include "CtsvcTool.h"
#include "Json.h"
#include "SimCardFiles.h"

namespace ctsvc_tool {

namespace {

const char* FileName(const CCtSvcSimFile& file) {
  static const char* const kNames[CTSVC_SIM_FILE_ID_MAX] = {
      "ADN", "FDN", "SDN",    "MSISDN", "GAS",  "AAS", "PBR",   "CCP1", "EXT1", "EXT2", "EXT3", "HIDDENKEY",
      "GRP", "PBC", "IAP",    "EXT5",   "SNE",  "ANR", "EMAIL", "UID",  "PSC",  "CC",   "PUID"};
  const int nID = file.GetSimFileID();
  return nID >= 0 && nID < CTSVC_SIM_FILE_ID_MAX ? kNames[nID] : "?";
}

std::string Hex4(int nID) {
  char sz[8];
  std::snprintf(sz, sizeof(sz), "%04X", static_cast<unsigned>(nID) & 0xFFFFu);
  return sz;
}

Json DialRecord(const CCtSvcDialNumberFile& file, const SimCardFiles& dump, int i) {
  char szText[CTSVC_SIM_DIAL_NAME_SIZE] = {};
  Json record = Json::Object();
  record.Set("index", i + 1);
  file.GetName(i, szText, sizeof(szText));
  record.Set("name", szText);
  const auto it = dump.mapExt.find(file.GetExtFileID());
  file.GetPresentedNumber(i, it != dump.mapExt.end() ? it->second : nullptr, szText, sizeof(szText));
  record.Set("number", szText);
  return record;
}

// An ADN record of a USIM with what is linked to it.
Json UsimContact(const SimCardFiles& dump, int nPbrIndex, const CtSvcSimPbrFileSet& set, int i, int nGlobalIndex) {
  CCtSvcSimAdnRecord contact;
  if (!CtSvcSimLinkContact(*dump.pPbrFile, nPbrIndex, set, i, nGlobalIndex, &contact)) {
    return DialRecord(*set.pAdnFile, dump, i);
  }
  Json record = Json::Object();
  record.Set("index", i + 1);
  record.Set("name", contact.GetName());
  record.Set("number", contact.GetPhoneNumber());
  Json anr = Json::Array();
  for (int n = 0; n < contact.GetAdditionalPhoneNumberCount(); ++n) {
    UINT8 nAas = CTSVC_SIM_LINK_NONE;
    const char* pszNumber = contact.GetAdditionalPhoneNumber(n, &nAas);
    Json item = Json::Object();
    item.Set("number", pszNumber);
    const char* pszKind = dump.usim.GetAasFile() != nullptr ? dump.usim.GetAasFile()->PeekText(nAas) : nullptr;
    item.Set("type", pszKind != nullptr ? pszKind : "");
    anr.Push(item);
  }
  record.Set("anr", anr);
  Json emails = Json::Array();
  for (int n = 0; n < contact.GetEmailAddressCount(); ++n) {
    emails.Push(contact.GetEmailAddress(n));
  }
  record.Set("emails", emails);
  record.Set("second_name", contact.GetSecondName());
  Json groups = Json::Array();
  for (int n = 0; n < contact.GetGroupIndexCount(); ++n) {
    const int nGroup = contact.GetGroupIndex(n);
    const char* pszGroup = dump.usim.GetGasFile() != nullptr ? dump.usim.GetGasFile()->PeekText(nGroup) : nullptr;
    groups.Push(pszGroup != nullptr ? std::string(pszGroup) : "#" + std::to_string(nGroup + 1));
  }
  record.Set("groups", groups);
  record.Set("uid", static_cast<int>(contact.GetUid()));
  return record;
}

// Record numbers (1-based) of the used links at positions 0..n-1, from a getter answering a 0-based
// index or 0xFF.
template <class TGet>
Json Links(int nCount, TGet get) {
  Json links = Json::Array();
  for (int n = 0; n < nCount; ++n) {
    const int nLink = get(n);
    if (nLink >= 0 && nLink != CTSVC_SIM_LINK_NONE) {
      links.Push(nLink + 1);
    }
  }
  return links;
}

// The fields of an IAP, GRP, UID or PBC record.
void LinkFields(const CCtSvcSimFile& file, int i, Json* pRecord) {
  if (const auto* pIap = dynamic_cast<const CCtSvcIapFile*>(&file)) {
    pRecord->Set("links", Links(CTSVC_SIM_IAP_COUNT_MAX, [&](int n) { return pIap->GetIndex(i, n); }));
  } else if (const auto* pGrp = dynamic_cast<const CCtSvcGrpFile*>(&file)) {
    pRecord->Set("groups", Links(CTSVC_SIM_GROUP_COUNT_MAX, [&](int n) { return pGrp->GetGASIndex(i, n); }));
  } else if (const auto* pUid = dynamic_cast<const CCtSvcUidFile*>(&file)) {
    pRecord->Set("uid", pUid->GetUID(i));
  } else if (const auto* pPbc = dynamic_cast<const CCtSvcPbcFile*>(&file)) {
    pRecord->Set("pbc", pPbc->GetEntryControl(i));
  }
}

// The used records of a file that is not an ADN file of a USIM.
Json PlainRecords(const CCtSvcSimFile& file, const SimCardFiles& dump) {
  Json records = Json::Array();
  if (const auto* pValue = dynamic_cast<const CCtSvcSimValueFile*>(&file)) {
    Json record = Json::Object();
    record.Set("value", static_cast<int>(pValue->GetValue()));
    records.Push(record);
    return records;
  }
  for (int i = 0; i < file.GetMaxRecordCount(); ++i) {
    if (!file.IsUsed(i)) {
      continue;
    }
    Json record = Json::Object();
    if (const auto* pDial = dynamic_cast<const CCtSvcDialNumberFile*>(&file)) {
      record = DialRecord(*pDial, dump, i);
    } else if (const auto* pExt = dynamic_cast<const CCtSvcExtFile*>(&file)) {
      record.Set("index", i + 1);
      record.Set("number", pExt->PeekAdditionalData(i) != nullptr ? pExt->PeekAdditionalData(i) : "");
    } else if (const auto* pText = dynamic_cast<const CCtSvcSimTextFile*>(&file)) {
      record.Set("index", i + 1);
      record.Set("name", pText->PeekText(i));
    } else if (const auto* pAnr = dynamic_cast<const CCtSvcAnrFile*>(&file)) {
      char szNumber[CTSVC_SIM_DIAL_NUMBER_SIZE] = {};
      pAnr->GetPresentedNumber(i, nullptr, szNumber, sizeof(szNumber));
      record.Set("index", i + 1);
      record.Set("number", szNumber);
    } else {
      record.Set("index", i + 1);
      LinkFields(file, i, &record);
    }
    records.Push(record);
  }
  return records;
}

Json FileJson(const SimCardFiles& dump, size_t nFile) {
  const CCtSvcSimFile& file = *dump.vcpFile[nFile];
  Json json = Json::Object();
  json.Set("name", FileName(file));
  json.Set("id", Hex4(file.GetTelephonyFileID()));
  if (!dump.vcLoaded[nFile]) {
    json.Set("loaded", Json::Bool(false));
  }
  Json records = Json::Array();
  if (dump.bUsim && file.GetSimFileID() == CTSVC_SIM_ADN) {
    json.Set("pbr", file.GetPbrIndex());
    const std::vector<CtSvcSimPbrFileSet>& vcSet = dump.usim.GetSets();
    int nGlobalBase = 0;
    for (int p = 0; p < file.GetPbrIndex() && p < static_cast<int>(vcSet.size()); ++p) {
      nGlobalBase += vcSet[p].pAdnFile != nullptr ? vcSet[p].pAdnFile->GetMaxRecordCount() : 0;
    }
    const CtSvcSimPbrFileSet& set = vcSet[file.GetPbrIndex()];
    for (int i = 0; i < file.GetMaxRecordCount(); ++i) {
      if (file.IsUsed(i)) {
        records.Push(UsimContact(dump, file.GetPbrIndex(), set, i, nGlobalBase + i));
      }
    }
  } else {
    records = PlainRecords(file, dump);
  }
  json.Set("records", records);
  return json;
}

void PrintText(const Json& files) {
  for (const Json& file : files.Items()) {
    std::printf("%s %s%s\n", file.TextOf("name").c_str(), file.TextOf("id").c_str(),
                file.TextOf("loaded").empty() ? "" : " (not loaded)");
    for (const auto& member : file.Members()) {
      if (member.first != "records") {
        continue;
      }
      for (const Json& record : member.second.Items()) {
        std::string strLine = " ";
        for (const auto& field : record.Members()) {
          const std::string strValue = field.second.GetKind() == Json::Kind::Array || field.second.GetKind() == Json::Kind::Object
                                           ? field.second.Dump()
                                           : field.second.Text();
          if (!strValue.empty() && strValue != "[]" && !(field.first == "uid" && strValue == "0")) {
            strLine += " " + field.first + "=" + strValue;
          }
        }
        std::printf("%s\n", strLine.c_str());
      }
    }
  }
}

}  // namespace

int RunSimDump(const Options& options, const Args&) {
  const bool bJson = options.bJson;
  if (!OpenService(options)) {
    return kExitFailure;
  }
  const std::string strCard = options.strDataDir + "/sim/card.json";
  ICtSvcDevSimMgr* pMgr = CtSvcGetDevSimMgr();
  const int nCardType = pMgr->GetCardType();
  if (nCardType != CTSVC_SIM_CARD_TYPE_GSM && nCardType != CTSVC_SIM_CARD_TYPE_USIM) {
    CloseService();
    std::error_code ec;
    return Fail(kExitFailure, std::filesystem::exists(strCard, ec)
                                  ? "sim dump: the card in '" + strCard + "' cannot be read (not a SIM or USIM card file)"
                                  : "sim dump: no SIM card inserted (no '" + strCard + "')");
  }
  if (!pMgr->Open(nullptr)) {
    CloseService();
    return Fail(kExitFailure, "sim dump: the SIM connection cannot be opened");
  }
  SimCardFiles dump;
  dump.bUsim = nCardType == CTSVC_SIM_CARD_TYPE_USIM;
  SimFileLoader loader;
  const bool bLoaded = LoadSimCardFiles(&dump, &loader);
  Json files = Json::Array();
  for (size_t i = 0; i < dump.vcpFile.size(); ++i) {
    files.Push(FileJson(dump, i));
  }
  CloseService();
  if (!bLoaded) {
    return Fail(kExitFailure, "sim dump: the card's phonebook reference file (PBR) cannot be read");
  }
  if (bJson) {
    Json out = Json::Object();
    out.Set("files", files);
    std::printf("%s\n", out.Dump().c_str());
  } else {
    PrintText(files);
  }
  return kExitOk;
}

}  // namespace ctsvc_tool
