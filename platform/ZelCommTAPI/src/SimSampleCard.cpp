// Sample GSM and USIM cards, written through the record codec so that they hold what a card
// would.
#include <algorithm>
#include <cstring>
#include <vector>

#include "CardJson.h"
#include "ZelSimCodec.h"
#include "ZelSimSampleCard.h"

namespace zel::sim {

namespace {

// ---- alpha bytes ----

std::vector<uint32_t> CodePoints(const std::string& utf8) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<uint8_t>(utf8[i]);
    const int nMore = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    uint32_t nCode = nMore == 0 ? c : c & (0x3F >> nMore);
    for (int k = 1; k <= nMore && i + k < utf8.size(); ++k) {
      nCode = nCode << 6 | (static_cast<uint8_t>(utf8[i + k]) & 0x3F);
    }
    out.push_back(nCode);
    i += 1 + nMore;
  }
  return out;
}

// Text of the GSM default alphabet: letters, digits, blanks and most signs have their ASCII
// values; '@', '$' and '_' do not.
Bytes Gsm(const std::string& text) {
  Bytes out;
  for (const char c : text) {
    out.push_back(c == '@' ? 0x00 : c == '$' ? 0x02 : c == '_' ? 0x11 : static_cast<uint8_t>(c));
  }
  return out;
}

// UCS2 with the 0x80 lead: big-endian code units.
Bytes Ucs2(const std::string& utf8) {
  Bytes out{0x80};
  for (const uint32_t nCode : CodePoints(utf8)) {
    out.push_back(static_cast<uint8_t>(nCode >> 8));
    out.push_back(static_cast<uint8_t>(nCode));
  }
  return out;
}

// UCS2 with the 0x81 lead: count, base (bits 15..8 of base / 0x80), then one byte per character:
// below 0x80 a GSM character, else base + the low 7 bits.
Bytes Ucs2Base(const std::string& utf8, uint32_t nBase) {
  const std::vector<uint32_t> codes = CodePoints(utf8);
  Bytes out{0x81, static_cast<uint8_t>(codes.size()), static_cast<uint8_t>(nBase >> 7)};
  for (const uint32_t nCode : codes) {
    out.push_back(nCode < 0x80 ? static_cast<uint8_t>(nCode) : static_cast<uint8_t>(0x80 | (nCode - nBase)));
  }
  return out;
}

// "홍길동" in KSC 5601, read as such on a card of country code 450.
const Bytes kHongGildong = {0xC8, 0xAB, 0xB1, 0xE6, 0xB5, 0xBF};

// ---- records ----

struct Contact {
  Bytes alpha;
  std::string number;  // '+' leading or after a supplementary-service separator: international
};

// A number as stored: digits without '+', TON 1 when there was one.
void SplitNumber(const std::string& number, std::string* pDigits, uint32_t* pTon) {
  *pTon = number.find('+') != std::string::npos ? 1 : 0;
  pDigits->clear();
  for (const char c : number) {
    if (c != '+') {
      pDigits->push_back(c);
    }
  }
}

Bytes Encode(RecordKind kind, const void* pStruct, size_t nLen) {
  Bytes raw(nLen);
  EncodeRecord(kind, pStruct, raw.data(), raw.size());
  return raw;
}

Bytes ExtRecord(const std::string& digits) {
  SimExtInfo ext{};
  ext.used = 1;
  ext.recordType = 2;
  ext.nextRecord = 0xFF;
  std::strncpy(ext.extData, digits.c_str(), sizeof(ext.extData) - 1);
  return Encode(RecordKind::Ext, &ext, 13);
}

// The dialling-number record; digits beyond 20 go to a new record of *pExt.
Bytes DialRecord(const Contact& contact, size_t nLen, std::vector<Bytes>* pExt) {
  SimDialNumberInfo info{};
  info.used = 1;
  info.alphaLen = static_cast<UINT32>(std::min<size_t>(contact.alpha.size(), nLen - 14));
  CopyBytes(info.szAlphaID, contact.alpha.data(), info.alphaLen);
  std::string digits;
  SplitNumber(contact.number, &digits, &info.ton);
  info.npi = 1;
  info.capabilityId = 0xFF;
  info.extensionId = 0xFF;
  if (digits.size() > SIM_NUMBER_DIGITS_MAX && pExt != nullptr) {
    pExt->push_back(ExtRecord(digits.substr(SIM_NUMBER_DIGITS_MAX)));
    info.extensionId = static_cast<UINT8>(pExt->size());
    digits.resize(SIM_NUMBER_DIGITS_MAX);
  }
  std::strncpy(info.szNumber, digits.c_str(), sizeof(info.szNumber) - 1);
  return Encode(RecordKind::DialNumber, &info, nLen);
}

Bytes AnrRecord(const std::string& number, uint8_t nAas, bool bLinked, uint8_t nAdnSfi, uint8_t nAdnRecord) {
  SimAnrInfo info{};
  info.used = 1;
  info.aasRecordNum = nAas;
  std::string digits;
  SplitNumber(number, &digits, &info.ton);
  info.npi = 1;
  std::strncpy(info.szNumber, digits.c_str(), sizeof(info.szNumber) - 1);
  info.capabilityId = 0xFF;
  info.extensionId = 0xFF;
  info.adnSfi = nAdnSfi;
  info.adnRecordNum = nAdnRecord;
  return Encode(bLinked ? RecordKind::AnrLinked : RecordKind::Anr, &info, bLinked ? 17 : 15);
}

Bytes TextRecord(const Bytes& text, size_t nLen, bool bLinked, uint8_t nAdnSfi, uint8_t nAdnRecord) {
  SimTextInfo info{};
  info.used = 1;
  info.textLen = static_cast<UINT8>(text.size());
  CopyBytes(info.text, text.data(), text.size());
  info.adnSfi = nAdnSfi;
  info.adnRecordNum = nAdnRecord;
  return Encode(bLinked ? RecordKind::EmailLinked : RecordKind::Sne, &info, nLen);
}

Bytes AlphaRecord(const Bytes& text, size_t nLen) {
  SimAlphaInfo info{};
  info.used = 1;
  info.textLen = static_cast<UINT8>(text.size());
  CopyBytes(info.text, text.data(), text.size());
  return Encode(RecordKind::Gas, &info, nLen);
}

// ---- the card text ----

class CardBuilder {
 public:
  CardBuilder(const char* pszType, const char* pszIccid) {
    m_doc = JsonValue::Object();
    m_doc.Set("type", JsonValue::String(pszType));
    m_doc.Set("iccid", JsonValue::String(pszIccid));
    m_doc.Set("imsi", JsonValue::String("450051234567890"));
    m_doc.Set("fdn_enabled", JsonValue::Bool(false));
    m_doc.Set("pin2", JsonValue::String("1234"));
  }

  void Set(const char* pszKey, const std::string& value) { m_doc.Set(pszKey, JsonValue::String(value)); }

  // Records beyond those given are empty (erased with the file's empty byte).
  void Linear(const char* pszName, const char* pszId, const char* pszPath, size_t nLen, size_t nCount,
              std::vector<Bytes> records, const char* pszUpdate = "pin1", uint8_t nEmpty = 0xFF) {
    JsonValue file = Header(pszName, pszId, pszPath, "linear");
    file.Set("record_length", JsonValue::Number(static_cast<long long>(nLen)));
    JsonValue items = JsonValue::Array();
    records.resize(nCount);
    for (Bytes& record : records) {
      if (record.empty()) {
        record.assign(nLen, nEmpty);
      }
      items.items.push_back(JsonValue::String(BytesToHex(record)));
    }
    file.Set("records", std::move(items));
    Access(&file, pszUpdate);
  }

  void Transparent(const char* pszName, const char* pszId, const char* pszPath, const Bytes& data) {
    JsonValue file = Header(pszName, pszId, pszPath, "transparent");
    file.Set("data", JsonValue::String(BytesToHex(data)));
    Access(&file, "pin1");
  }

  std::string Text() {
    m_doc.Set("files", std::move(m_files));
    return WriteJson(m_doc);
  }

 private:
  static JsonValue Header(const char* pszName, const char* pszId, const char* pszPath, const char* pszStructure) {
    JsonValue file = JsonValue::Object();
    file.Set("name", JsonValue::String(pszName));
    file.Set("id", JsonValue::String(pszId));
    file.Set("path", JsonValue::String(pszPath));
    file.Set("structure", JsonValue::String(pszStructure));
    return file;
  }

  void Access(JsonValue* pFile, const char* pszUpdate) {
    pFile->Set("read", JsonValue::String("pin1"));
    pFile->Set("update", JsonValue::String(pszUpdate));
    m_files.items.push_back(std::move(*pFile));
  }

  JsonValue m_doc;
  JsonValue m_files = JsonValue::Array();
};

// A service table of the given services: SIM tables two bits each (allocated, activated), USIM
// tables one bit each.
std::string ServiceTable(const std::vector<int>& services, bool bUsim) {
  Bytes table(bUsim ? 8 : 10, 0);
  for (const int n : services) {
    if (bUsim) {
      table[static_cast<size_t>(n - 1) / 8] |= static_cast<uint8_t>(1 << ((n - 1) % 8));
    } else {
      table[static_cast<size_t>(n - 1) / 4] |= static_cast<uint8_t>(3 << (((n - 1) % 4) * 2));
    }
  }
  return BytesToHex(table);
}

const std::vector<Contact>& SampleContacts() {
  static const std::vector<Contact> kContacts = {
      {Gsm("Anna Schmidt"), "+491701234567"},
      {Ucs2Base("Иван Петров", 0x400), "+79161234567"},
      {Ucs2("김민수"), "01012345678"},
      {kHongGildong, "0212345678"},
      {Gsm("Long Number"), "012345678901234567890123456789"},
      {Gsm("Forward"), "**21*+4930123456#"},
      {Bytes(), "0301234,567"},
  };
  return kContacts;
}

std::string GsmCard(bool bEmpty) {
  CardBuilder card("sim", "89820012345678901234");
  card.Set("sst", ServiceTable({2, 3, 9, 10, 11, 18, 19}, false));
  std::vector<Bytes> adn, fdn, sdn, msisdn, ext1, ext2;
  if (!bEmpty) {
    for (const Contact& contact : SampleContacts()) {
      adn.push_back(DialRecord(contact, 30, &ext1));
    }
    fdn.push_back(DialRecord({Gsm("Office"), "0301234567"}, 30, &ext2));
    fdn.push_back(DialRecord({Gsm("Home"), "+493012345"}, 30, &ext2));
    sdn.push_back(DialRecord({Gsm("Emergency"), "112"}, 30, nullptr));
    msisdn.push_back(DialRecord({Gsm("My number"), "+821012345678"}, 30, nullptr));
  }
  card.Linear("ADN", "6F3A", "7F10", 30, 250, adn);
  card.Linear("FDN", "6F3B", "7F10", 30, 20, fdn, "pin2");
  card.Linear("SDN", "6F49", "7F10", 30, 10, sdn, "never");
  card.Linear("MSISDN", "6F40", "7F10", 30, 2, msisdn);
  card.Linear("EXT1", "6F4A", "7F10", 13, 10, ext1);
  card.Linear("EXT2", "6F4B", "7F10", 13, 10, ext2, "pin2");
  card.Linear("EXT3", "6F4C", "7F10", 13, 5, {}, "never");
  return card.Text();
}

// ---- USIM phonebook ----

// Records of each PBR record's files: ADN and its type-1 files, and the linked (type-2) files.
struct UsimSize {
  size_t nAdn;
  size_t nLinked;
};
constexpr UsimSize kUsimSize{100, 50};
constexpr size_t kUsimAdnLen = 32;
constexpr size_t kEmailLen = 42;  // 40 text bytes, ADN SFI and record number
constexpr size_t kSneLen = 20;
constexpr size_t kGrpLen = 5;
const char* const kPhonebook = "7FFF5F3A";

// File ids of PBR record p's files.
struct PbrFiles {
  const char* adn;
  uint8_t nAdnSfi;
  const char *iap, *pbc, *grp, *uid, *sne, *anrA, *anrB, *email;
};
const PbrFiles kPbrFiles[2] = {
    {"4F3A", 0x02, "4F25", "4F09", "4F26", "4F21", "4F19", "4F11", "4F13", "4F50"},
    {"4F3B", 0x03, "4F2A", "4F0A", "4F27", "4F28", "4F1A", "4F12", "4F14", "4F51"},
};

uint32_t Id(const char* pszHex) { return static_cast<uint32_t>(std::strtoul(pszHex, nullptr, 16)); }

Bytes PbrRecord(const PbrFiles& f) {
  std::vector<SimPbrEntryInfo> entries = {
      {0xC0, 0xA8, 0, Id(f.adn), f.nAdnSfi, {}}, {0xC1, 0xA8, 0, Id(f.iap), 0, {}},
      {0xC5, 0xA8, 0, Id(f.pbc), 0, {}},         {0xC4, 0xA8, 0, Id(f.anrA), 0, {}},
      {0xC6, 0xA8, 0, Id(f.grp), 0, {}},         {0xC9, 0xA8, 0, Id(f.uid), 0, {}},
      {0xC3, 0xA8, 0, Id(f.sne), 0, {}},         {0xC4, 0xA9, 0, Id(f.anrB), 0, {}},
      {0xCA, 0xA9, 0, Id(f.email), 0, {}},       {0xC2, 0xAA, 0, 0x4F4A, 0, {}},
      {0xC8, 0xAA, 0, 0x4F4C, 0, {}},            {0xC7, 0xAA, 0, 0x4F4D, 0, {}},
  };
  return EncodePbr(entries, 64);
}

// What one ADN record links to: ANR (type 1), ANR through IAP, e-mail through IAP, second name,
// groups (GAS record numbers).
struct Links {
  std::string anrA;
  std::string anrB;
  std::string email;
  std::string sne;
  Bytes groups;
};

struct PbrContent {
  std::vector<Contact> contacts;
  std::vector<Links> links;
};

PbrContent UsimContent(int nPbr) {
  if (nPbr == 0) {
    return {{SampleContacts()[0], SampleContacts()[1], SampleContacts()[2], SampleContacts()[3],
             SampleContacts()[4]},
            {{"+4930123456", "0301112222", "anna@example.com", "Annie", {1}},
             {"", "", "ivan@example.ru", "", {2}},
             {"", "", "", "Minsu", {1, 2}},
             {},
             {"", "", "", "", {3}}}};
  }
  return {{{Gsm("Zoe Miller"), "+12125550123"}, {Ucs2("Ольга"), "84951234567"}},
          {{"+12125550124", "", "zoe@example.com", "Zed", {}}, {}}};
}

void AddPbrFiles(CardBuilder& card, int nPbr, bool bEmpty, UsimSize size, uint16_t* pUid, std::vector<Bytes>* pExt1) {
  const PbrFiles& f = kPbrFiles[nPbr];
  std::vector<Bytes> adn, iap, pbc, grp, uid, sne, anrA, anrB, email;
  const PbrContent content = bEmpty ? PbrContent{} : UsimContent(nPbr);
  for (size_t r = 0; r < content.contacts.size(); ++r) {
    const Links& links = content.links[r];
    const auto nRecord = static_cast<uint8_t>(r + 1);
    adn.push_back(DialRecord(content.contacts[r], kUsimAdnLen, pExt1));
    Bytes iapRecord{0xFF, 0xFF};
    if (!links.anrB.empty()) {
      anrB.push_back(AnrRecord(links.anrB, 2, true, f.nAdnSfi, nRecord));
      iapRecord[0] = static_cast<uint8_t>(anrB.size());
    }
    if (!links.email.empty()) {
      email.push_back(TextRecord(Gsm(links.email), kEmailLen, true, f.nAdnSfi, nRecord));
      iapRecord[1] = static_cast<uint8_t>(email.size());
    }
    iap.push_back(iapRecord);
    pbc.push_back({0x00, 0x00});
    Bytes groups = links.groups;
    groups.resize(kGrpLen, 0);
    grp.push_back(groups);
    ++*pUid;
    uid.push_back({static_cast<uint8_t>(*pUid >> 8), static_cast<uint8_t>(*pUid)});
    sne.push_back(links.sne.empty() ? Bytes() : TextRecord(Gsm(links.sne), kSneLen, false, 0, 0));
    anrA.push_back(links.anrA.empty() ? Bytes() : AnrRecord(links.anrA, 1, false, 0, 0));
  }
  card.Linear("ADN", f.adn, kPhonebook, kUsimAdnLen, size.nAdn, adn);
  card.Linear("IAP", f.iap, kPhonebook, 2, size.nAdn, iap);
  card.Linear("PBC", f.pbc, kPhonebook, 2, size.nAdn, pbc);
  card.Linear("ANR", f.anrA, kPhonebook, 15, size.nAdn, anrA);
  card.Linear("GRP", f.grp, kPhonebook, kGrpLen, size.nAdn, grp, "pin1", 0x00);
  card.Linear("UID", f.uid, kPhonebook, 2, size.nAdn, uid);
  card.Linear("SNE", f.sne, kPhonebook, kSneLen, size.nAdn, sne);
  card.Linear("ANR", f.anrB, kPhonebook, 17, size.nLinked, anrB);
  card.Linear("EMAIL", f.email, kPhonebook, kEmailLen, size.nLinked, email);
}

// bGroups: the group names (GAS) and number kinds (AAS) even on an empty card.
std::string UsimCard(bool bEmpty, UsimSize size, bool bGroups) {
  CardBuilder card("usim", "89820098765432109876");
  card.Set("ust", ServiceTable({1, 2, 3, 4, 5, 21, 44}, true));
  const std::vector<Bytes> pbr = {PbrRecord(kPbrFiles[0]), PbrRecord(kPbrFiles[1])};
  card.Linear("PBR", "4F30", kPhonebook, 64, pbr.size(), pbr);
  uint16_t nUid = 0;
  std::vector<Bytes> ext1;
  for (int p = 0; p < 2; ++p) {
    AddPbrFiles(card, p, bEmpty, size, &nUid, &ext1);
  }
  card.Linear("EXT1", "4F4A", kPhonebook, 13, 20, ext1);
  std::vector<Bytes> gas, aas;
  if (!bEmpty || bGroups) {
    gas = {AlphaRecord(Gsm("Family"), 20), AlphaRecord(Gsm("Friends"), 20), AlphaRecord(Ucs2("Работа"), 20)};
    aas = {AlphaRecord(Gsm("Mobile"), 20), AlphaRecord(Gsm("Office"), 20)};
  }
  card.Linear("GAS", "4F4C", kPhonebook, 20, 10, gas);
  card.Linear("AAS", "4F4D", kPhonebook, 20, 5, aas);
  card.Transparent("PSC", "4F22", kPhonebook, {0x00, 0x00, 0x00, static_cast<uint8_t>(bEmpty ? 0 : 1)});
  card.Transparent("CC", "4F23", kPhonebook, {0x00, static_cast<uint8_t>(bEmpty ? 0 : 1)});
  card.Transparent("PUID", "4F24", kPhonebook, {static_cast<uint8_t>(nUid >> 8), static_cast<uint8_t>(nUid)});
  std::vector<Bytes> fdn, msisdn, ext5;
  if (!bEmpty) {
    fdn.push_back(DialRecord({Gsm("Office"), "0301234567"}, 30, nullptr));
    msisdn.push_back(DialRecord({Gsm("My number"), "+8210123456789012345678901"}, 30, &ext5));
  }
  card.Linear("FDN", "6F3B", "7FFF", 30, 20, fdn, "pin2");
  card.Linear("SDN", "6F49", "7FFF", 30, 5, {}, "never");
  card.Linear("MSISDN", "6F40", "7FFF", 30, 2, msisdn);
  card.Linear("EXT2", "6F4B", "7FFF", 13, 5, {}, "pin2");
  card.Linear("EXT3", "6F4C", "7FFF", 13, 5, {}, "never");
  card.Linear("EXT5", "6F4E", "7FFF", 13, 5, ext5);
  return card.Text();
}

}  // namespace

std::string BuildSampleCard(SampleCardType type, bool bEmpty) {
  return type == SampleCardType::Gsm ? GsmCard(bEmpty) : UsimCard(bEmpty, kUsimSize, false);
}

std::string BuildLargeUsimCard(size_t nRecordsPerPbr) {
  const size_t n = std::min<size_t>(std::max<size_t>(nRecordsPerPbr, 1), 254);
  return UsimCard(true, UsimSize{n, n}, true);
}

}  // namespace zel::sim
