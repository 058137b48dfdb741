// ctsvc sim status and sim list: the data directory's card read through the service's SIM
// manager (the groups are loaded as the phonebook loads them).
#include <cstdio>
#include <filesystem>

#include "CtSvcSimCi.h"
#include "CtSvcStatus.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "SimPhonebook.h"
#include "ZelCommTAPI/ZelSim.h"

namespace ctsvc_tool {

bool CheckSimCard(const Options& options, const char* pszCommand) {
  const int nCardType = CtSvcSimGetCardType();
  if (nCardType == CTSVC_SIM_CARD_TYPE_GSM || nCardType == CTSVC_SIM_CARD_TYPE_USIM) {
    return true;
  }
  const std::string strCard = options.strDataDir + "/sim/card.json";
  std::error_code ec;
  Fail(kExitFailure, std::string(pszCommand) +
                         (std::filesystem::exists(strCard, ec)
                              ? ": the card in '" + strCard + "' cannot be read (not a SIM or USIM card file)"
                              : ": no SIM card inserted (no '" + strCard + "')"));
  return false;
}

bool OpenSimService(const Options& options, const char* pszCommand) {
  if (!OpenService(options)) {
    return false;
  }
  if (CheckSimCard(options, pszCommand)) {
    return true;
  }
  CloseService();
  return false;
}

namespace {

struct GroupFile {
  const char* pszName;
  int nSimFileID;
};

constexpr GroupFile kStatusFiles[] = {
    {"ADN", CTSVC_SIM_ADN},   {"FDN", CTSVC_SIM_FDN},   {"SDN", CTSVC_SIM_SDN},   {"MSISDN", CTSVC_SIM_MSISDN},
    {"GAS", CTSVC_SIM_GAS},   {"AAS", CTSVC_SIM_AAS},   {"EXT1", CTSVC_SIM_EXT1}, {"EXT2", CTSVC_SIM_EXT2},
    {"EXT3", CTSVC_SIM_EXT3}, {"EXT5", CTSVC_SIM_EXT5},
};

// Loads every group the card has; groups it lacks are left out.
void LoadAllGroups() {
  LoadSimGroup(CtSvcSimInitAdn);
  LoadSimGroup(CtSvcSimInitFdn);
  LoadSimGroup(CtSvcSimInitMsisdn);
  LoadSimGroup(CtSvcSimInitSdn);
}

// What each phonebook status type counts, in type order.
const char* const kStatusTypeNames[CTSVC_SIM_STATUS_TYPE_MAX] = {
    "adn_name_length",      "adn_record_length",    "adn_records",          "adn_used",
    "fdn_name_length",      "fdn_record_length",    "fdn_records",          "fdn_used",
    "anr_files",            "anr1_in_use",          "anr1_record_length",   "anr1_records",
    "anr1_used",            "anr2_in_use",          "anr2_record_length",   "anr2_records",
    "anr2_used",            "anr3_in_use",          "anr3_record_length",   "anr3_records",
    "anr3_used",            "anr4_in_use",          "anr4_record_length",   "anr4_records",
    "anr4_used",            "email_in_use",         "email_text_length",    "email_records",
    "email_used",           "sne_text_length",      "sne_records",          "sne_used",
    "sne_in_use",           "constant_20",          "ext1_records",         "ext1_used",
    "gas_record_length",    "gas_records",          "gas_used",             "grp_record_length",
    "aas_record_length",    "aas_records",          "aas_used",             "sdn_or_cphs_numbers",
};

// The status types, when the phonebook is loaded (they all answer 0 before).
Json StatusTypesJson() {
  Json types = Json::Object();
  if (CtSimGetSimLoadingStatus() == 1) {
    for (int nType = 0; nType < CTSVC_SIM_STATUS_TYPE_MAX; ++nType) {
      types.Set(kStatusTypeNames[nType], CtSimGetStatusType(nType));
    }
  }
  return types;
}

Json StatusJson() {
  Json status = Json::Object();
  status.Set("card", CtSvcSimGetCardType() == CTSVC_SIM_CARD_TYPE_USIM ? "usim" : "gsm");
  Json files = Json::Array();
  for (const GroupFile& file : kStatusFiles) {
    const int nTotal = CtSvcSimGetTotalMaxRecordCount(file.nSimFileID);
    if (nTotal < 0) {
      continue;
    }
    const int nUsed = CtSvcSimGetTotalUsedRecordCount(file.nSimFileID);
    Json item = Json::Object();
    item.Set("name", file.pszName);
    item.Set("used", nUsed);
    item.Set("total", nTotal);
    item.Set("free", nTotal - nUsed);
    files.Push(item);
  }
  status.Set("files", files);
  Json lengths = Json::Object();
  lengths.Set("name", CtSvcSimGetRecordStringLength(CTSVC_SIM_ADN));
  lengths.Set("number", CtSvcSimGetRecordPhoneNumberLength(CTSVC_SIM_ADN));
  lengths.Set("email", CtSvcSimGetRecordStringLength(CTSVC_SIM_EMAIL));
  lengths.Set("second_name", CtSvcSimGetRecordStringLength(CTSVC_SIM_SNE));
  status.Set("lengths", lengths);
  status.Set("status_types", StatusTypesJson());
  return status;
}

const Json& Member(const Json& object, const char* pszKey) {
  static const Json kNone = Json::Object();
  for (const auto& member : object.Members()) {
    if (member.first == pszKey) {
      return member.second;
    }
  }
  return kNone;
}

void PrintStatus(const Json& status) {
  std::printf("card: %s\n", Member(status, "card").Text().c_str());
  for (const Json& file : Member(status, "files").Items()) {
    std::printf("  %-7s %s/%s used, %s free\n", Member(file, "name").Text().c_str(), Member(file, "used").Text().c_str(),
                Member(file, "total").Text().c_str(), Member(file, "free").Text().c_str());
  }
  for (const auto& length : Member(status, "lengths").Members()) {
    std::printf("  %s length: %s\n", length.first.c_str(), length.second.Text().c_str());
  }
  const auto& types = Member(status, "status_types").Members();
  if (!types.empty()) {
    std::printf("status types:\n");
  }
  for (size_t i = 0; i < types.size(); ++i) {
    std::printf("  %2zu %-20s %s\n", i, types[i].first.c_str(), types[i].second.Text().c_str());
  }
}

std::string GroupName(int nGroup) {
  char szName[CTSVC_SIM_NAME_SIZE] = {};
  return CtSvcSimGetGasRecord(nGroup, szName, sizeof(szName)) ? std::string(szName) : "#" + std::to_string(nGroup + 1);
}

Json AdnJson(int nIndex, const CtSvcSimAdnRecord& record) {
  Json item = Json::Object();
  item.Set("index", nIndex + 1);
  item.Set("name", record.szName);
  item.Set("number", record.szPhoneNumber);
  Json emails = Json::Array();
  for (const auto& szEmail : record.szEmail) {
    if (szEmail[0] != '\0') {
      emails.Push(szEmail);
    }
  }
  item.Set("emails", emails);
  Json numbers = Json::Array();
  for (const CtSvcSimAdditionalNumber& anr : record.stAdditionalNumber) {
    if (anr.szPhoneNumber[0] != '\0') {
      numbers.Push(anr.szPhoneNumber);
    }
  }
  item.Set("numbers", numbers);
  Json groups = Json::Array();
  for (int g = 0; g < CTSVC_SIM_GROUP_FLAG_MAX; ++g) {
    if (record.bGroup[g] != 0) {
      groups.Push(GroupName(g));
    }
  }
  item.Set("groups", groups);
  return item;
}

// A kind of record sim list shows and how it is read.
struct Kind {
  const char* pszName;
  int nSimFileID;
  BOOL (*pfnXdn)(int, CtSvcSimXdnRecord*);
  BOOL (*pfnXas)(int, char*, int);
};

constexpr Kind kKinds[] = {
    {"adn", CTSVC_SIM_ADN, nullptr, nullptr},
    {"fdn", CTSVC_SIM_FDN, CtSvcSimGetFdnRecord, nullptr},
    {"sdn", CTSVC_SIM_SDN, CtSvcSimGetSdnRecord, nullptr},
    {"msisdn", CTSVC_SIM_MSISDN, CtSvcSimGetMsisdnRecord, nullptr},
    {"gas", CTSVC_SIM_GAS, nullptr, CtSvcSimGetGasRecord},
    {"aas", CTSVC_SIM_AAS, nullptr, CtSvcSimGetAasRecord},
};

const Kind* FindKind(const std::string& strKind) {
  for (const Kind& kind : kKinds) {
    if (strKind == kind.pszName) {
      return &kind;
    }
  }
  return nullptr;
}

// The used records of the kind.
Json ListRecords(const Kind& kind) {
  Json records = Json::Array();
  Json* pRecords = &records;
  {
    const int nTotal = CtSvcSimGetTotalMaxRecordCount(kind.nSimFileID);
    for (int i = 0; i < nTotal; ++i) {
      Json item = Json::Object();
      if (kind.pfnXdn != nullptr) {
        CtSvcSimXdnRecord record{};
        if (!kind.pfnXdn(i, &record)) {
          continue;
        }
        item.Set("index", i + 1);
        item.Set("name", record.szName);
        item.Set("number", record.szPhoneNumber);
      } else if (kind.pfnXas != nullptr) {
        char szName[CTSVC_SIM_NAME_SIZE] = {};
        if (!kind.pfnXas(i, szName, sizeof(szName))) {
          continue;
        }
        item.Set("index", i + 1);
        item.Set("name", szName);
      } else {
        CtSvcSimAdnRecord record{};
        if (CtSvcSimIsUsedRecord(CTSVC_SIM_ADN, i) != 1 || !CtSvcSimGetAdnRecord(i, &record)) {
          continue;
        }
        item = AdnJson(i, record);
      }
      pRecords->Push(item);
    }
  }
  return records;
}

void PrintRecords(const Json& records) {
  for (const Json& record : records.Items()) {
    std::string strLine = "  " + Member(record, "index").Text();
    for (const auto& field : record.Members()) {
      if (field.first == "index") {
        continue;
      }
      const bool bList = field.second.GetKind() == Json::Kind::Array;
      const std::string strValue = bList ? field.second.Dump() : field.second.Text();
      if (!strValue.empty() && strValue != "[]") {
        strLine += " " + field.first + "=" + strValue;
      }
    }
    std::printf("%s\n", strLine.c_str());
  }
}

}  // namespace

int RunSimStatus(const Options& options, const Args&) {
  if (!OpenSimService(options, "sim status")) {
    return kExitFailure;
  }
  // The phonebook is started as the phone starts it, so the status types can be read; when it
  // cannot start, the groups are loaded alone and the types left out.
  bool bNoSim = false;
  if (!StartPhonebook("sim status", &bNoSim)) {
    LoadAllGroups();
  }
  const Json status = StatusJson();
  CloseService();
  if (options.bJson) {
    std::printf("%s\n", status.Dump().c_str());
  } else {
    PrintStatus(status);
  }
  return kExitOk;
}

int RunSimList(const Options& options, const Args& args) {
  const std::string strKind = args.Positional().size() > 1 ? args.Word(1) : "adn";
  const Kind* pKind = FindKind(strKind);
  if (pKind == nullptr) {
    return Fail(kExitUsage, "sim list: unknown kind '" + strKind + "' (adn, fdn, sdn, msisdn, gas, aas)");
  }
  if (!OpenSimService(options, "sim list")) {
    return kExitFailure;
  }
  LoadAllGroups();
  const Json records = ListRecords(*pKind);
  CloseService();
  if (options.bJson) {
    Json out = Json::Object();
    out.Set("records", records);
    std::printf("%s\n", out.Dump().c_str());
  } else {
    PrintRecords(records);
  }
  return kExitOk;
}

}  // namespace ctsvc_tool
