// Raw SIM records -> record structures -> raw records, for every record shape (dialling numbers,
// extension, PBR, IAP, ANR, EMAIL, SNE, GAS, AAS, GRP, UID, PBC); and card-file texts -> cards ->
// texts. The first byte picks the shape (15: a card file), the rest is the record or the text. Record and structures live in heap blocks of their exact size, so ASan
// stops a read or write beyond either. On every input:
//  - the decoded structure's texts are terminated within their arrays and its counts and lengths
//    lie within the structure and the record;
//  - encoding what was decoded into a record of the same length either is refused or gives a
//    record that encodes to itself after another round (encode(decode(x)) is a fixed point);
//  - a refused encoding leaves the record untouched;
//  - numbers, texts and extension data survive the round;
//  - a card text that is taken is written back as a text that reads into the same text again, and
//    each of its record files holds records of its record length.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "FuzzCheck.h"
#include "SimCard.h"
#include "ZelSimCodec.h"

namespace {

using zel::sim::RecordKind;

constexpr RecordKind kKinds[] = {
    RecordKind::DialNumber, RecordKind::Ext,         RecordKind::Pbr,   RecordKind::Iap,  RecordKind::Anr,
    RecordKind::AnrLinked,  RecordKind::Email,       RecordKind::EmailLinked, RecordKind::Sne, RecordKind::SneLinked,
    RecordKind::Gas,        RecordKind::Aas,         RecordKind::Grp,   RecordKind::Uid,  RecordKind::Pbc,
};

// A structure in a block of exactly its size.
struct Block {
  explicit Block(RecordKind kind) : nSize(zel::sim::RecordStructSize(kind)), p(new uint8_t[nSize]) {}
  size_t nSize;
  std::unique_ptr<uint8_t[]> p;
  template <typename T>
  const T& As() const {
    FUZZ_CHECK(nSize == sizeof(T), "structure size of the shape");
    return *reinterpret_cast<const T*>(p.get());
  }
};

bool Terminated(const char* psz, size_t nSize) { return std::memchr(psz, '\0', nSize) != nullptr; }

void CheckBounds(RecordKind kind, const Block& s, size_t nRaw) {
  switch (kind) {
    case RecordKind::DialNumber: {
      const auto& d = s.As<SimDialNumberInfo>();
      FUZZ_CHECK(Terminated(d.szNumber, sizeof(d.szNumber)), "number terminated");
      FUZZ_CHECK(d.numberLen == std::strlen(d.szNumber), "number length is the digit count");
      FUZZ_CHECK(d.alphaLen <= SIM_ALPHA_MAX && d.alphaLen <= d.alphaFieldLen, "alpha within its field");
      FUZZ_CHECK(d.alphaFieldLen + 14 == nRaw || (nRaw <= 14 && d.alphaFieldLen == 0), "alpha field of the record");
      FUZZ_CHECK(d.ton <= 7 && d.npi <= 15, "TON/NPI from one byte");
      break;
    }
    case RecordKind::Ext: {
      const auto& e = s.As<SimExtInfo>();
      FUZZ_CHECK(Terminated(e.extData, sizeof(e.extData)), "extension data terminated");
      FUZZ_CHECK(e.dataLen == std::strlen(e.extData) && e.dataLen <= SIM_EXT_DIGITS_MAX, "extension digit count");
      break;
    }
    case RecordKind::Pbr: {
      const auto& p = s.As<SimPbrInfo>();
      FUZZ_CHECK(p.entryCount <= SIM_PBR_ENTRY_MAX && p.entryCount * 4u <= nRaw, "PBR entries within the record");
      for (int i = 0; i < p.entryCount; ++i) {
        const UINT32 c = p.entries[i].constructedTag;
        FUZZ_CHECK(c == 0xA8 || c == 0xA9 || c == 0xAA, "PBR entries only from the three constructed tags");
        FUZZ_CHECK(p.entries[i].fileID <= 0xFFFF && p.entries[i].fileTag <= 0xFF, "PBR entry fields");
      }
      break;
    }
    case RecordKind::Anr:
    case RecordKind::AnrLinked: {
      const auto& a = s.As<SimAnrInfo>();
      FUZZ_CHECK(Terminated(a.szNumber, sizeof(a.szNumber)) && a.numberLen == std::strlen(a.szNumber),
                 "ANR number terminated and counted");
      break;
    }
    case RecordKind::Email:
    case RecordKind::EmailLinked:
    case RecordKind::Sne:
    case RecordKind::SneLinked:
      FUZZ_CHECK(s.As<SimTextInfo>().textLen <= nRaw, "text within the record");
      break;
    case RecordKind::Gas:
    case RecordKind::Aas:
      FUZZ_CHECK(s.As<SimAlphaInfo>().textLen <= nRaw, "text within the record");
      break;
    case RecordKind::Grp:
      FUZZ_CHECK(s.As<SimGrpInfo>().count <= nRaw && s.As<SimGrpInfo>().count <= SIM_GRP_MAX, "group count");
      break;
    default:
      break;
  }
}

// What a round through a record keeps: digits, TON, alpha and text bytes.
void CheckKept(RecordKind kind, const Block& before, const Block& after) {
  switch (kind) {
    case RecordKind::DialNumber: {
      const auto& a = before.As<SimDialNumberInfo>();
      const auto& b = after.As<SimDialNumberInfo>();
      FUZZ_CHECK(std::strcmp(a.szNumber, b.szNumber) == 0 && a.ton == b.ton && a.npi == b.npi, "number kept");
      FUZZ_CHECK(a.alphaLen == b.alphaLen && std::memcmp(a.szAlphaID, b.szAlphaID, a.alphaLen) == 0, "alpha kept");
      FUZZ_CHECK(a.extensionId == b.extensionId, "extension id kept");
      break;
    }
    case RecordKind::Ext: {
      const auto& a = before.As<SimExtInfo>();
      const auto& b = after.As<SimExtInfo>();
      FUZZ_CHECK(std::strcmp(a.extData, b.extData) == 0 && a.nextRecord == b.nextRecord, "extension kept");
      break;
    }
    case RecordKind::Email:
    case RecordKind::EmailLinked:
    case RecordKind::Sne:
    case RecordKind::SneLinked: {
      const auto& a = before.As<SimTextInfo>();
      const auto& b = after.As<SimTextInfo>();
      FUZZ_CHECK(a.textLen == b.textLen && std::memcmp(a.text, b.text, a.textLen) == 0, "text kept");
      break;
    }
    default:
      break;
  }
}

void CheckCardText(const uint8_t* pData, size_t nSize) {
  const std::string text(reinterpret_cast<const char*>(pData), nSize);
  zel::sim::Card card;
  std::string why;
  if (!zel::sim::ParseCard(text, &card, &why)) {
    FUZZ_CHECK(!why.empty(), "a refused card says why");
    return;
  }
  for (const zel::sim::CardFile& file : card.files) {
    for (const zel::sim::Bytes& record : file.records) {
      FUZZ_CHECK(record.size() == file.nRecordLen, "records of the record length");
    }
  }
  const std::string written = zel::sim::CardText(card);
  zel::sim::Card again;
  FUZZ_CHECK(zel::sim::ParseCard(written, &again, &why), "a written card is taken");
  FUZZ_CHECK(zel::sim::CardText(again) == written, "a written card reads back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  if (nSize < 1) {
    return 0;
  }
  if (pData[0] % (std::size(kKinds) + 1) == std::size(kKinds)) {
    CheckCardText(pData + 1, nSize - 1);
    return 0;
  }
  const RecordKind kind = kKinds[pData[0] % (std::size(kKinds) + 1)];
  const size_t nRaw = nSize - 1;
  std::unique_ptr<uint8_t[]> raw(new uint8_t[nRaw + 1]);  // +1: never a zero-sized block
  std::memcpy(raw.get(), pData + 1, nRaw);

  Block decoded(kind);
  zel::sim::DecodeRecord(kind, raw.get(), nRaw, 0x4F3A, decoded.p.get());
  CheckBounds(kind, decoded, nRaw);

  std::unique_ptr<uint8_t[]> first(new uint8_t[nRaw + 1]);
  std::memset(first.get(), 0xA5, nRaw + 1);
  if (!zel::sim::EncodeRecord(kind, decoded.p.get(), first.get(), nRaw)) {
    for (size_t i = 0; i < nRaw; ++i) {
      FUZZ_CHECK(first[i] == 0xA5, "a refused encoding leaves the record untouched");
    }
    return 0;
  }
  Block again(kind);
  zel::sim::DecodeRecord(kind, first.get(), nRaw, 0x4F3A, again.p.get());
  CheckBounds(kind, again, nRaw);
  if (*reinterpret_cast<const UINT32*>(decoded.p.get()) != 0) {
    CheckKept(kind, decoded, again);
  }
  std::unique_ptr<uint8_t[]> second(new uint8_t[nRaw + 1]);
  FUZZ_CHECK(zel::sim::EncodeRecord(kind, again.p.get(), second.get(), nRaw), "an encoded record encodes again");
  FUZZ_CHECK(std::memcmp(first.get(), second.get(), nRaw) == 0, "encode(decode(x)) is a fixed point");
  return 0;
}
