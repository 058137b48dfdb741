// Card-file text -> card, and telephony file identifiers -> the card's files.
#include "SimCard.h"

#include <cstring>
#include <set>

namespace zel::sim {

namespace {

struct NameInfo {
  const char* pszName;
  bool bLinear;
  bool bRaw;
  RecordKind kind;       // record files with a structure
  RecordKind linkedKind; // the type-2 form (ANR, EMAIL, SNE)
  uint8_t nPbrTag;       // the file tag in a PBR record, 0 for none
};

const NameInfo kNames[] = {
    {"ADN", true, false, RecordKind::DialNumber, RecordKind::DialNumber, 0xC0},
    {"FDN", true, false, RecordKind::DialNumber, RecordKind::DialNumber, 0},
    {"SDN", true, false, RecordKind::DialNumber, RecordKind::DialNumber, 0},
    {"MSISDN", true, false, RecordKind::DialNumber, RecordKind::DialNumber, 0},
    {"EXT1", true, false, RecordKind::Ext, RecordKind::Ext, 0xC2},
    {"EXT2", true, false, RecordKind::Ext, RecordKind::Ext, 0},
    {"EXT3", true, false, RecordKind::Ext, RecordKind::Ext, 0},
    {"EXT5", true, false, RecordKind::Ext, RecordKind::Ext, 0},
    {"PBR", true, false, RecordKind::Pbr, RecordKind::Pbr, 0},
    {"IAP", true, false, RecordKind::Iap, RecordKind::Iap, 0xC1},
    {"ANR", true, false, RecordKind::Anr, RecordKind::AnrLinked, 0xC4},
    {"EMAIL", true, false, RecordKind::Email, RecordKind::EmailLinked, 0xCA},
    {"SNE", true, false, RecordKind::Sne, RecordKind::SneLinked, 0xC3},
    {"GRP", true, false, RecordKind::Grp, RecordKind::Grp, 0xC6},
    {"GAS", true, false, RecordKind::Gas, RecordKind::Gas, 0xC8},
    {"AAS", true, false, RecordKind::Aas, RecordKind::Aas, 0xC7},
    {"UID", true, false, RecordKind::Uid, RecordKind::Uid, 0xC9},
    {"PBC", true, false, RecordKind::Pbc, RecordKind::Pbc, 0xC5},
    {"CCP1", true, true, RecordKind::DialNumber, RecordKind::DialNumber, 0xCB},
    {"PSC", false, true, RecordKind::DialNumber, RecordKind::DialNumber, 0},
    {"CC", false, true, RecordKind::DialNumber, RecordKind::DialNumber, 0},
    {"PUID", false, true, RecordKind::DialNumber, RecordKind::DialNumber, 0},
};

const NameInfo* FindName(const std::string& name) {
  for (const NameInfo& info : kNames) {
    if (name == info.pszName) {
      return &info;
    }
  }
  return nullptr;
}

// Low bytes of the 0xFFxx / 0xEFxx identifiers of the per-PBR files, by PBR record index.
struct PhonebookId {
  const char* pszName;
  int nOccurrence;
  uint8_t lows[8];
};

const PhonebookId kPerPbr[] = {
    {"ADN", 0, {0x07, 0x1A, 0x30, 0x3A, 0x60, 0x6C, 0x78, 0x84}},
    {"IAP", 0, {0x08, 0x20, 0x31, 0x3B, 0x61, 0x6D, 0x79, 0x85}},
    {"PBC", 0, {0x09, 0x1B, 0x32, 0x3C, 0x62, 0x6E, 0x7A, 0x86}},
    {"GRP", 0, {0x0B, 0x1C, 0x33, 0x3D, 0x63, 0x6F, 0x7B, 0x87}},
    {"SNE", 0, {0x11, 0x1D, 0x35, 0x3F, 0x65, 0x71, 0x7D, 0x89}},
    {"UID", 0, {0x03, 0x1E, 0x39, 0x43, 0x6B, 0x77, 0x83, 0x8F}},
    {"ANR", 0, {0x10, 0x16, 0x34, 0x3E, 0x64, 0x70, 0x7C, 0x88}},
    {"ANR", 1, {0x13, 0x17, 0x37, 0x41, 0x68, 0x74, 0x80, 0x8C}},
    {"ANR", 2, {0x14, 0x18, 0x38, 0x42, 0x69, 0x75, 0x81, 0x8D}},
    {"ANR", 3, {0x15, 0x19, 0x50, 0x51, 0x6A, 0x76, 0x82, 0x8E}},
    {"EMAIL", 0, {0x12, 0x1F, 0x36, 0x40, 0x66, 0x72, 0x7E, 0x8A}},
    {"EMAIL", 1, {0x44, 0x45, 0x46, 0x47, 0x67, 0x73, 0x7F, 0x8B}},
};
constexpr int kLocalPbrMax = 8;
constexpr int kTelecomPbrMax = 2;

struct SharedId {
  const char* pszName;
  uint8_t nLow;
};

const SharedId kShared[] = {{"PBR", 0x01},  {"CCP1", 0x02}, {"PSC", 0x04}, {"CC", 0x05},
                            {"PUID", 0x06}, {"EXT1", 0x0A}, {"GAS", 0x0E}, {"AAS", 0x0C}};

// ---- card text checks ----

class Checker {
 public:
  explicit Checker(std::string* pError) : m_pError(pError) {}

  bool Fail(const std::string& what) {
    if (m_pError != nullptr) {
      *m_pError = m_context + what;
    }
    return false;
  }
  void SetContext(const std::string& context) { m_context = context; }

  bool Text(const JsonValue& obj, const char* pszKey, bool bRequired, std::string* pOut) {
    const JsonValue* pValue = obj.Find(pszKey);
    if (pValue == nullptr) {
      return !bRequired || Fail(std::string("\"") + pszKey + "\" is missing");
    }
    if (pValue->type != JsonValue::Type::String) {
      return Fail(std::string("\"") + pszKey + "\" must be a string");
    }
    *pOut = pValue->text;
    return true;
  }

  bool Digits(const JsonValue& obj, const char* pszKey, size_t nMin, size_t nMax, std::string* pOut) {
    if (!Text(obj, pszKey, false, pOut)) {
      return false;
    }
    if (obj.Find(pszKey) == nullptr) {
      return true;
    }
    if (pOut->size() < nMin || pOut->size() > nMax || pOut->find_first_not_of("0123456789") != std::string::npos) {
      return Fail(std::string("\"") + pszKey + "\" must be " + std::to_string(nMin) + " to " + std::to_string(nMax) +
                  " digits");
    }
    return true;
  }

  bool Hex(const JsonValue& obj, const char* pszKey, bool bRequired, size_t nMaxBytes, bool* pPresent, Bytes* pOut) {
    std::string text;
    if (!Text(obj, pszKey, bRequired, &text)) {
      return false;
    }
    *pPresent = obj.Find(pszKey) != nullptr;
    bool bOk = false;
    *pOut = HexToBytes(text, &bOk);
    if (!bOk) {
      return Fail(std::string("\"") + pszKey + "\" is not hex (pairs of 0-9, A-F)");
    }
    if (pOut->size() > nMaxBytes) {
      return Fail(std::string("\"") + pszKey + "\" is longer than " + std::to_string(nMaxBytes) + " bytes");
    }
    return true;
  }

  bool AccessOf(const JsonValue& obj, const char* pszKey, Access* pOut) {
    std::string text = "pin1";
    if (!Text(obj, pszKey, false, &text)) {
      return false;
    }
    static const struct {
      const char* psz;
      Access access;
    } kAccess[] = {{"always", Access::Always}, {"pin1", Access::Pin1}, {"pin2", Access::Pin2}, {"never", Access::Never}};
    for (const auto& a : kAccess) {
      if (text == a.psz) {
        *pOut = a.access;
        return true;
      }
    }
    return Fail(std::string("\"") + pszKey + "\" must be always, pin1, pin2 or never");
  }

 private:
  std::string* m_pError;
  std::string m_context;
};

bool ParseRecords(Checker& check, const JsonValue& obj, CardFile* pFile) {
  long long nLen = 0;
  const JsonValue* pLen = obj.Find("record_length");
  if (pLen == nullptr || !pLen->AsInt(1, 255, &nLen)) {
    return check.Fail("\"record_length\" must be a whole number from 1 to 255");
  }
  pFile->nRecordLen = static_cast<size_t>(nLen);
  const JsonValue* pRecords = obj.Find("records");
  if (pRecords == nullptr || pRecords->type != JsonValue::Type::Array) {
    return check.Fail("\"records\" must be an array of hex records");
  }
  if (pRecords->items.size() > SIM_RECORD_COUNT_MAX - 1) {
    return check.Fail("more than 254 records");
  }
  for (size_t i = 0; i < pRecords->items.size(); ++i) {
    const JsonValue& item = pRecords->items[i];
    const std::string where = "records[" + std::to_string(i) + "] ";
    bool bOk = item.type == JsonValue::Type::String;
    Bytes record = bOk ? HexToBytes(item.text, &bOk) : Bytes();
    if (!bOk) {
      return check.Fail(where + "is not a hex string");
    }
    if (record.size() != pFile->nRecordLen) {
      return check.Fail(where + "is " + std::to_string(record.size()) + " bytes, record_length is " +
                        std::to_string(pFile->nRecordLen));
    }
    pFile->records.push_back(std::move(record));
  }
  return true;
}

// The optional "status" of a file: "valid" (the default), "invalidated", or "invalidated_rw" (an
// invalidated file that may still be read and updated).
bool ParseFileStatus(Checker& check, const JsonValue& obj, CardFile* pFile) {
  std::string status = "valid";
  if (!check.Text(obj, "status", false, &status)) {
    return false;
  }
  if (status != "valid" && status != "invalidated" && status != "invalidated_rw") {
    return check.Fail("\"status\" must be valid, invalidated or invalidated_rw");
  }
  pFile->bInvalidated = status != "valid";
  pFile->bRwWhenInvalidated = status == "invalidated_rw";
  return true;
}

bool ParseFile(Checker& check, const JsonValue& obj, size_t nIndex, CardFile* pFile) {
  check.SetContext("files[" + std::to_string(nIndex) + "]: ");
  if (obj.type != JsonValue::Type::Object) {
    return check.Fail("must be an object");
  }
  std::string id;
  std::string structure;
  if (!check.Text(obj, "name", true, &pFile->name) || !check.Text(obj, "id", true, &id)) {
    return false;
  }
  const NameInfo* pName = FindName(pFile->name);
  if (pName == nullptr) {
    return check.Fail("unknown file name \"" + pFile->name + "\"");
  }
  bool bOk = false;
  const Bytes idBytes = HexToBytes(id, &bOk);
  if (!bOk || idBytes.size() != 2) {
    return check.Fail("\"id\" must be 4 hex digits");
  }
  pFile->nId = static_cast<uint16_t>(idBytes[0] << 8 | idBytes[1]);
  check.SetContext("files[" + std::to_string(nIndex) + "] (" + pFile->name + " " + id + "): ");
  if (!check.Text(obj, "path", false, &pFile->path) || !check.Text(obj, "structure", true, &structure) ||
      !check.AccessOf(obj, "read", &pFile->read) || !check.AccessOf(obj, "update", &pFile->update)) {
    return false;
  }
  if (!ParseFileStatus(check, obj, pFile)) {
    return false;
  }
  if (structure != "linear" && structure != "transparent") {
    return check.Fail("\"structure\" must be linear or transparent");
  }
  pFile->bLinear = structure == "linear";
  if (pFile->bLinear != pName->bLinear) {
    return check.Fail(std::string("must be ") + (pName->bLinear ? "linear" : "transparent"));
  }
  pFile->shape = FileShape{pName->bRaw, pName->kind};
  pFile->nJsonIndex = nIndex;
  if (pFile->bLinear) {
    return ParseRecords(check, obj, pFile);
  }
  bool bPresent = false;
  return check.Hex(obj, "data", true, SIM_UPDATE_DATA_MAX, &bPresent, &pFile->data);
}

bool ParseCardFields(Checker& check, const JsonValue& doc, Card* pCard) {
  std::string type;
  if (!check.Text(doc, "type", true, &type)) {
    return false;
  }
  static const struct {
    const char* psz;
    int nType;
  } kTypes[] = {{"sim", SIM_CARD_TYPE_GSM}, {"usim", SIM_CARD_TYPE_USIM}, {"unknown", SIM_CARD_TYPE_UNKNOWN}};
  bool bKnown = false;
  for (const auto& t : kTypes) {
    if (type == t.psz) {
      pCard->nType = t.nType;
      bKnown = true;
    }
  }
  if (!bKnown) {
    return check.Fail("\"type\" must be usim, sim or unknown");
  }
  const JsonValue* pFdn = doc.Find("fdn_enabled");
  if (pFdn != nullptr && pFdn->type != JsonValue::Type::Bool) {
    return check.Fail("\"fdn_enabled\" must be true or false");
  }
  pCard->bFdnEnabled = pFdn != nullptr && pFdn->bValue;
  return check.Digits(doc, "iccid", 1, 20, &pCard->iccid) && check.Digits(doc, "imsi", 6, 15, &pCard->imsi) &&
         check.Digits(doc, "pin2", 4, 8, &pCard->pin2) &&
         check.Hex(doc, "sst", false, 32, &pCard->bHasSst, &pCard->sst) &&
         check.Hex(doc, "ust", false, 32, &pCard->bHasUst, &pCard->ust) &&
         check.Hex(doc, "cphs", false, 32, &pCard->bHasCphs, &pCard->cphs);
}

// ANR, EMAIL and SNE files listed under 0xA9 in some PBR record hold type-2 records.
void MarkLinkedFiles(Card* pCard) {
  for (const SimPbrInfo& pbr : CardPbr(*pCard)) {
    for (int i = 0; i < pbr.entryCount; ++i) {
      if (pbr.entries[i].constructedTag != 0xA9) {
        continue;
      }
      for (CardFile& file : pCard->files) {
        const NameInfo* pName = FindName(file.name);
        if (file.nId == pbr.entries[i].fileID && pName->nPbrTag == pbr.entries[i].fileTag) {
          file.shape.kind = pName->linkedKind;
        }
      }
    }
  }
}

CardFile* FindById(Card& card, uint32_t nId, const char* pszName) {
  CardFile* pAny = nullptr;
  for (CardFile& file : card.files) {
    if (file.nId == nId) {
      if (pszName == nullptr || file.name == pszName) {
        return &file;
      }
      pAny = pAny != nullptr ? pAny : &file;
    }
  }
  return pAny;
}

// A shared phonebook file: the one the PBR lists with its tag, else the first of its name outside
// the GSM directory's 0x6Fxx ids.
CardFile* FindShared(Card& card, const char* pszName) {
  const uint8_t nTag = FindName(pszName)->nPbrTag;
  if (nTag != 0) {
    for (const SimPbrInfo& pbr : CardPbr(card)) {
      for (int i = 0; i < pbr.entryCount; ++i) {
        if (pbr.entries[i].fileTag == nTag) {
          return FindById(card, pbr.entries[i].fileID, pszName);
        }
      }
    }
  }
  CardFile* pAny = nullptr;
  for (CardFile& file : card.files) {
    if (file.name == pszName) {
      if ((file.nId >> 8) != 0x6F) {
        return &file;
      }
      pAny = pAny != nullptr ? pAny : &file;
    }
  }
  return pAny;
}

CardFile* FindPerPbr(Card& card, const char* pszName, int nPbr, int nOccurrence) {
  const std::vector<SimPbrInfo> pbr = CardPbr(card);
  if (nPbr >= static_cast<int>(pbr.size())) {
    return nullptr;
  }
  const uint8_t nTag = FindName(pszName)->nPbrTag;
  int nSeen = 0;
  for (int i = 0; i < pbr[nPbr].entryCount; ++i) {
    if (pbr[nPbr].entries[i].fileTag == nTag && nSeen++ == nOccurrence) {
      return FindById(card, pbr[nPbr].entries[i].fileID, pszName);
    }
  }
  return nullptr;
}

CardFile* FindPhonebookFile(Card& card, bool bLocal, uint8_t nLow) {
  for (const SharedId& shared : kShared) {
    if (shared.nLow == nLow) {
      return FindShared(card, shared.pszName);
    }
  }
  for (const PhonebookId& id : kPerPbr) {
    for (int p = 0; p < (bLocal ? kLocalPbrMax : kTelecomPbrMax); ++p) {
      if (id.lows[p] == nLow && (bLocal || !(id.nOccurrence == 1 && std::strcmp(id.pszName, "EMAIL") == 0))) {
        return FindPerPbr(card, id.pszName, p, id.nOccurrence);
      }
    }
  }
  return nullptr;
}

}  // namespace

bool ParseCard(const std::string& text, Card* pCard, std::string* pError) {
  Card card;
  std::string jsonError;
  if (!ParseJson(text, &card.doc, &jsonError)) {
    if (pError != nullptr) {
      *pError = "not JSON: " + jsonError;
    }
    return false;
  }
  Checker check(pError);
  if (card.doc.type != JsonValue::Type::Object) {
    return check.Fail("the card must be a JSON object");
  }
  if (!ParseCardFields(check, card.doc, &card)) {
    return false;
  }
  const JsonValue* pFiles = card.doc.Find("files");
  if (pFiles == nullptr || pFiles->type != JsonValue::Type::Array) {
    return check.Fail("\"files\" must be an array");
  }
  std::set<std::pair<std::string, uint16_t>> seen;
  for (size_t i = 0; i < pFiles->items.size(); ++i) {
    CardFile file;
    if (!ParseFile(check, pFiles->items[i], i, &file)) {
      return false;
    }
    if (!seen.insert({file.path, file.nId}).second) {
      return check.Fail("a second file with this id in path \"" + file.path + "\"");
    }
    card.files.push_back(std::move(file));
  }
  MarkLinkedFiles(&card);
  *pCard = std::move(card);
  return true;
}

std::string CardText(const Card& card) { return WriteJson(card.doc); }

CardFile* FindFile(Card& card, uint32_t nFileId) {
  const uint32_t nHigh = nFileId >> 8;
  const auto nLow = static_cast<uint8_t>(nFileId & 0xFF);
  if (nFileId > 0xFFFF) {
    return nullptr;
  }
  if (nHigh == 0x6A) {
    return FindById(card, 0x6F00u | nLow, nullptr);
  }
  if (nHigh == 0xFF || nHigh == 0xEF) {
    return FindPhonebookFile(card, nHigh == 0xFF, nLow);
  }
  return FindById(card, nFileId, nullptr);
}

void SetRecord(Card& card, CardFile& file, int nRecord, const Bytes& raw) {
  JsonValue& fileJson = card.doc.Find("files")->items[file.nJsonIndex];
  if (nRecord < 0) {
    file.data = raw;
    fileJson.Set("data", JsonValue::String(BytesToHex(raw)));
    return;
  }
  file.records[static_cast<size_t>(nRecord)] = raw;
  fileJson.Find("records")->items[static_cast<size_t>(nRecord)] = JsonValue::String(BytesToHex(raw));
}

std::vector<SimPbrInfo> CardPbr(const Card& card) {
  std::vector<SimPbrInfo> out;
  for (const CardFile& file : card.files) {
    if (file.name != "PBR") {
      continue;
    }
    for (const Bytes& record : file.records) {
      SimPbrInfo info;
      DecodeRecord(RecordKind::Pbr, record.data(), record.size(), file.nId, &info);
      out.push_back(info);
    }
    break;
  }
  return out;
}

}  // namespace zel::sim

extern "C" UINT32 SimPhonebookFileId(int bLocal, const char* pszName, int nPbrIndex, int nOccurrence) {
  using namespace zel::sim;
  if (pszName == nullptr) {
    return SIM_EFILE_INVALID;
  }
  const UINT32 nHigh = bLocal ? 0xFF00u : 0xEF00u;
  for (const SharedId& shared : kShared) {
    if (std::strcmp(shared.pszName, pszName) == 0) {
      return nPbrIndex == 0 && nOccurrence == 0 ? nHigh | shared.nLow : SIM_EFILE_INVALID;
    }
  }
  const int nMax = bLocal ? kLocalPbrMax : kTelecomPbrMax;
  for (const PhonebookId& id : kPerPbr) {
    if (std::strcmp(id.pszName, pszName) == 0 && id.nOccurrence == nOccurrence && nPbrIndex >= 0 &&
        nPbrIndex < nMax && (bLocal || !(nOccurrence == 1 && std::strcmp(pszName, "EMAIL") == 0))) {
      return nHigh | id.lows[nPbrIndex];
    }
  }
  return SIM_EFILE_INVALID;
}
