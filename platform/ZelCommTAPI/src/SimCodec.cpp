// Raw card records <-> the record structures of ZelSim.h, one decoder and encoder per shape.
#include <algorithm>
#include <cstring>

#include "ZelSimCodec.h"

namespace zel::sim {

namespace {

constexpr size_t kFooterLen = 14;   // BCD length, TON/NPI, 10 BCD bytes, capability id, extension id
constexpr size_t kBcdBytes = 10;
constexpr size_t kExtRecordLen = 13;
constexpr size_t kAnrRecordLen = 15;
constexpr char kBcdDigits[] = "0123456789*#,?";

// Byte i of a record, 0xFF beyond its end (a short record reads as if erased there).
uint8_t At(const uint8_t* p, size_t n, size_t i) { return i < n ? p[i] : 0xFF; }

bool AllBytes(const uint8_t* p, size_t n, uint8_t b) {
  return std::all_of(p, p + n, [b](uint8_t x) { return x == b; });
}

bool Refuse(std::string* pError, const char* pszWhy) {
  if (pError != nullptr) {
    *pError = pszWhy;
  }
  return false;
}

// The number part of a dialling-number footer or an ANR record: 12 bytes from p (BCD length byte,
// TON/NPI, 10 BCD bytes).
struct Number {
  uint32_t nLen = 0;
  uint32_t nTon = 0;
  uint32_t nNpi = 0;
  std::string digits;
};

Number DecodeNumber(const uint8_t* pRaw, size_t nRaw, size_t nAt) {
  Number number;
  const uint8_t nLenByte = At(pRaw, nRaw, nAt);
  const uint8_t nTonNpi = At(pRaw, nRaw, nAt + 1);
  if (nTonNpi != 0xFF) {
    number.nTon = (nTonNpi >> 4) & 0x7;
    number.nNpi = nTonNpi & 0xF;
  }
  if (nLenByte != 0xFF && nLenByte > 1) {
    uint8_t bcd[kBcdBytes];
    for (size_t i = 0; i < kBcdBytes; ++i) {
      bcd[i] = At(pRaw, nRaw, nAt + 2 + i);
    }
    number.digits = DecodeBcd(bcd, std::min<size_t>(nLenByte - 1u, kBcdBytes), SIM_NUMBER_DIGITS_MAX);
  }
  number.nLen = static_cast<uint32_t>(number.digits.size());
  return number;
}

bool EncodeNumber(const char* pszDigits, uint32_t nTon, uint32_t nNpi, uint8_t* pOut, std::string* pError) {
  const std::string digits(pszDigits, strnlen(pszDigits, SIM_NUMBER_DIGITS_MAX + 1));
  if (digits.size() > SIM_NUMBER_DIGITS_MAX || nTon > 7 || nNpi > 15 || (nTon == 7 && nNpi == 15)) {
    // TON 7 with NPI 15 would be the byte 0xFF, which means "no TON/NPI"
    return Refuse(pError, "number longer than 20 digits or TON/NPI out of range");
  }
  if (!EncodeBcd(digits, pOut + 2, kBcdBytes)) {
    return Refuse(pError, "number holds a character that is not a BCD digit");
  }
  if (digits.empty() && nTon == 0 && nNpi == 0) {
    pOut[0] = 0xFF;
    pOut[1] = 0xFF;
  } else {
    pOut[0] = static_cast<uint8_t>(1 + (digits.size() + 1) / 2);
    pOut[1] = static_cast<uint8_t>(0x80 | (nTon << 4) | nNpi);
  }
  return true;
}

void CopyDigits(const std::string& digits, char* pszOut, size_t nSize) {
  const size_t n = std::min(digits.size(), nSize - 1);
  std::memcpy(pszOut, digits.data(), n);
  pszOut[n] = '\0';
}

// The number fields of a dialling-number or ANR structure, decoded from the record at nAt.
template <typename T>
void PutNumber(const uint8_t* p, size_t n, size_t nAt, T* pInfo) {
  const Number number = DecodeNumber(p, n, nAt);
  pInfo->numberLen = number.nLen;
  pInfo->ton = number.nTon;
  pInfo->npi = number.nNpi;
  CopyDigits(number.digits, pInfo->szNumber, sizeof(pInfo->szNumber));
}

// The text fields of a text structure: the meaningful bytes of the first nField record bytes.
template <typename T>
void PutText(const uint8_t* p, size_t nField, T* pInfo) {
  const size_t nText = AlphaLength(p, std::min<size_t>(nField, SIM_TEXT_MAX));
  std::memcpy(pInfo->text, p, nText);
  pInfo->textLen = static_cast<UINT8>(std::min<size_t>(nText, 0xFF));
}

// ---- dialling numbers ----

void DecodeDialNumber(const uint8_t* p, size_t n, uint16_t, void* pStruct) {
  auto* pInfo = static_cast<SimDialNumberInfo*>(pStruct);
  pInfo->used = AllBytes(p, n, 0xFF) ? 0 : 1;
  const size_t nField = n > kFooterLen ? n - kFooterLen : 0;
  const size_t nFooter = nField;  // a record shorter than the footer holds only footer bytes
  pInfo->alphaFieldLen = static_cast<UINT32>(nField);
  const size_t nAlpha = AlphaLength(p, std::min<size_t>(nField, SIM_ALPHA_MAX));
  std::memcpy(pInfo->szAlphaID, p, nAlpha);
  pInfo->alphaLen = static_cast<UINT32>(nAlpha);
  PutNumber(p, n, nFooter, pInfo);
  pInfo->capabilityId = At(p, n, nFooter + 12);
  pInfo->extensionId = At(p, n, nFooter + 13);
}

bool EncodeDialNumber(const void* pStruct, uint8_t* p, size_t n, std::string* pError) {
  const auto* pInfo = static_cast<const SimDialNumberInfo*>(pStruct);
  if (n < kFooterLen) {
    return Refuse(pError, "record shorter than the 14-byte footer");
  }
  const size_t nField = n - kFooterLen;
  if (pInfo->alphaLen > SIM_ALPHA_MAX || pInfo->alphaLen > nField) {
    return Refuse(pError, "alpha identifier longer than the record's alpha field");
  }
  std::vector<uint8_t> out(n, 0xFF);
  CopyBytes(out.data(), pInfo->szAlphaID, pInfo->alphaLen);
  if (!EncodeNumber(pInfo->szNumber, pInfo->ton, pInfo->npi, out.data() + nField, pError)) {
    return false;
  }
  out[nField + 12] = pInfo->capabilityId;
  out[nField + 13] = pInfo->extensionId;
  CopyBytes(p, out.data(), n);
  return true;
}

// ---- extension records ----

void DecodeExt(const uint8_t* p, size_t n, uint16_t, void* pStruct) {
  auto* pInfo = static_cast<SimExtInfo*>(pStruct);
  pInfo->used = AllBytes(p, n, 0xFF) ? 0 : 1;
  pInfo->recordType = At(p, n, 0);
  const uint8_t nLen = At(p, n, 1);
  uint8_t bcd[kBcdBytes];
  for (size_t i = 0; i < kBcdBytes; ++i) {
    bcd[i] = At(p, n, 2 + i);
  }
  const std::string digits = nLen == 0xFF ? std::string() : DecodeBcd(bcd, std::min<size_t>(nLen, kBcdBytes),
                                                                      SIM_EXT_DIGITS_MAX);
  CopyDigits(digits, pInfo->extData, sizeof(pInfo->extData));
  pInfo->dataLen = static_cast<UINT8>(digits.size());
  pInfo->nextRecord = At(p, n, 12);
}

bool EncodeExt(const void* pStruct, uint8_t* p, size_t n, std::string* pError) {
  const auto* pInfo = static_cast<const SimExtInfo*>(pStruct);
  if (n < kExtRecordLen) {
    return Refuse(pError, "extension record shorter than 13 bytes");
  }
  const std::string digits(pInfo->extData, strnlen(pInfo->extData, sizeof(pInfo->extData)));
  if (digits.size() > SIM_EXT_DIGITS_MAX || pInfo->recordType > 0xFF) {
    return Refuse(pError, "extension data longer than 20 digits or record type out of range");
  }
  std::vector<uint8_t> out(n, 0xFF);
  if (!EncodeBcd(digits, out.data() + 2, kBcdBytes)) {
    return Refuse(pError, "extension data holds a character that is not a BCD digit");
  }
  out[0] = static_cast<uint8_t>(pInfo->recordType);
  out[1] = static_cast<uint8_t>((digits.size() + 1) / 2);
  out[12] = pInfo->nextRecord;
  CopyBytes(p, out.data(), n);
  return true;
}

// ---- PBR ----

// Length of a BER-TLV at p[i] (tag at i-1); sets *pHeader to the length bytes. false when cut.
bool TlvLength(const uint8_t* p, size_t n, size_t i, size_t* pLen, size_t* pHeader) {
  if (i >= n) {
    return false;
  }
  if (p[i] < 0x80) {
    *pLen = p[i];
    *pHeader = 1;
  } else if (p[i] == 0x81 && i + 1 < n) {
    *pLen = p[i + 1];
    *pHeader = 2;
  } else if (p[i] == 0x82 && i + 2 < n) {
    *pLen = static_cast<size_t>(p[i + 1]) << 8 | p[i + 2];
    *pHeader = 3;
  } else {
    return false;
  }
  return true;
}

void DecodeFileTlvs(const uint8_t* p, size_t nEnd, size_t i, uint8_t nConstructed, SimPbrInfo* pInfo) {
  while (i + 1 < nEnd && p[i] != 0xFF && p[i] != 0x00) {
    const uint8_t nTag = p[i];
    size_t nLen = 0;
    size_t nHeader = 0;
    if (!TlvLength(p, nEnd, i + 1, &nLen, &nHeader)) {
      return;
    }
    const size_t nValue = i + 1 + nHeader;
    if (nLen >= 2 && nValue + 2 <= nEnd && pInfo->entryCount < SIM_PBR_ENTRY_MAX) {
      SimPbrEntryInfo& entry = pInfo->entries[pInfo->entryCount++];
      entry.fileTag = nTag;
      entry.constructedTag = nConstructed;
      entry.fileID = static_cast<UINT32>(p[nValue]) << 8 | p[nValue + 1];
      entry.sfi = nLen >= 3 && nValue + 2 < nEnd ? p[nValue + 2] : 0;
    }
    i = nValue + nLen;
  }
}

void DecodePbr(const uint8_t* p, size_t n, uint16_t, void* pStruct) {
  auto* pInfo = static_cast<SimPbrInfo*>(pStruct);
  pInfo->used = AllBytes(p, n, 0xFF) ? 0 : 1;
  size_t i = 0;
  while (i + 1 < n && p[i] != 0xFF && p[i] != 0x00) {
    const uint8_t nTag = p[i];
    size_t nLen = 0;
    size_t nHeader = 0;
    if (!TlvLength(p, n, i + 1, &nLen, &nHeader)) {
      return;
    }
    const size_t nValue = i + 1 + nHeader;
    const size_t nEnd = std::min(n, nValue + nLen);  // a cut record: decode what is there
    if (nTag == 0xA8 || nTag == 0xA9 || nTag == 0xAA) {
      DecodeFileTlvs(p, nEnd, nValue, nTag, pInfo);
    }
    i = nValue + nLen;
  }
}

bool EncodePbrStruct(const void* pStruct, uint8_t* p, size_t n, std::string* pError) {
  const auto* pInfo = static_cast<const SimPbrInfo*>(pStruct);
  if (pInfo->entryCount > SIM_PBR_ENTRY_MAX) {
    return Refuse(pError, "PBR entry count beyond the structure");
  }
  for (int i = 0; i < pInfo->entryCount; ++i) {
    const SimPbrEntryInfo& e = pInfo->entries[i];
    if (e.fileTag > 0xFF || e.fileTag == 0xFF || e.fileTag == 0 || e.fileID > 0xFFFF ||
        (e.constructedTag != 0xA8 && e.constructedTag != 0xA9 && e.constructedTag != 0xAA)) {
      return Refuse(pError, "PBR entry with a tag or file id out of range");
    }
  }
  const Bytes out = EncodePbr(std::vector<SimPbrEntryInfo>(pInfo->entries, pInfo->entries + pInfo->entryCount), n);
  if (out.size() != n) {
    return Refuse(pError, "PBR entries do not fit the record");
  }
  CopyBytes(p, out.data(), n);
  return true;
}

// ---- IAP ----

void DecodeIap(const uint8_t* p, size_t n, uint16_t, void* pStruct) {
  auto* pInfo = static_cast<SimIapInfo*>(pStruct);
  pInfo->used = AllBytes(p, n, 0xFF) ? 0 : 1;
  for (size_t k = 0; k < SIM_IAP_MAX; ++k) {
    const uint8_t b = At(p, n, k);
    pInfo->recordNum[k] = b == 0 ? 0xFF : b;
  }
}

bool EncodeIap(const void* pStruct, uint8_t* p, size_t n, std::string*) {
  const auto* pInfo = static_cast<const SimIapInfo*>(pStruct);
  for (size_t k = 0; k < n; ++k) {
    p[k] = k < SIM_IAP_MAX ? pInfo->recordNum[k] : 0xFF;
  }
  return true;
}

// ---- ANR ----

template <bool bLinked>
void DecodeAnr(const uint8_t* p, size_t n, uint16_t nFileId, void* pStruct) {
  auto* pInfo = static_cast<SimAnrInfo*>(pStruct);
  pInfo->used = AllBytes(p, n, 0xFF) ? 0 : 1;
  pInfo->fileID = nFileId;
  const uint8_t nAas = At(p, n, 0);
  pInfo->aasRecordNum = nAas == 0xFF ? 0 : nAas;
  PutNumber(p, n, 1, pInfo);
  pInfo->capabilityId = At(p, n, 13);
  pInfo->extensionId = At(p, n, 14);
  if (bLinked) {
    pInfo->adnSfi = At(p, n, 15);
    pInfo->adnRecordNum = At(p, n, 16);
  }
}

template <bool bLinked>
bool EncodeAnr(const void* pStruct, uint8_t* p, size_t n, std::string* pError) {
  const auto* pInfo = static_cast<const SimAnrInfo*>(pStruct);
  if (n < kAnrRecordLen + (bLinked ? 2 : 0)) {
    return Refuse(pError, bLinked ? "ANR record shorter than 17 bytes" : "ANR record shorter than 15 bytes");
  }
  std::vector<uint8_t> out(n, 0xFF);
  out[0] = pInfo->aasRecordNum == 0 ? 0xFF : pInfo->aasRecordNum;
  if (!EncodeNumber(pInfo->szNumber, pInfo->ton, pInfo->npi, out.data() + 1, pError)) {
    return false;
  }
  out[13] = pInfo->capabilityId;
  out[14] = pInfo->extensionId;
  if (bLinked) {
    out[15] = pInfo->adnSfi;
    out[16] = pInfo->adnRecordNum;
  }
  CopyBytes(p, out.data(), n);
  return true;
}

// ---- texts: EMAIL, SNE (with a file id, type 2 linked) and GAS, AAS ----

template <bool bLinked>
void DecodeText(const uint8_t* p, size_t n, uint16_t nFileId, void* pStruct) {
  auto* pInfo = static_cast<SimTextInfo*>(pStruct);
  pInfo->used = AllBytes(p, n, 0xFF) ? 0 : 1;
  pInfo->fileID = nFileId;
  const size_t nField = bLinked ? (n > 2 ? n - 2 : 0) : n;
  PutText(p, nField, pInfo);
  if (bLinked) {
    pInfo->adnSfi = At(p, n, nField);
    pInfo->adnRecordNum = At(p, n, nField + 1);
  }
}

template <bool bLinked>
bool EncodeText(const void* pStruct, uint8_t* p, size_t n, std::string* pError) {
  const auto* pInfo = static_cast<const SimTextInfo*>(pStruct);
  const size_t nTail = bLinked ? 2 : 0;
  if (n < nTail || pInfo->textLen > n - nTail) {
    return Refuse(pError, "text longer than the record's text field");
  }
  std::vector<uint8_t> out(n, 0xFF);
  CopyBytes(out.data(), pInfo->text, pInfo->textLen);
  if (bLinked) {
    out[n - 2] = pInfo->adnSfi;
    out[n - 1] = pInfo->adnRecordNum;
  }
  CopyBytes(p, out.data(), n);
  return true;
}

void DecodeAlpha(const uint8_t* p, size_t n, uint16_t, void* pStruct) {
  auto* pInfo = static_cast<SimAlphaInfo*>(pStruct);
  pInfo->used = AllBytes(p, n, 0xFF) ? 0 : 1;
  PutText(p, n, pInfo);
}

bool EncodeAlpha(const void* pStruct, uint8_t* p, size_t n, std::string* pError) {
  const auto* pInfo = static_cast<const SimAlphaInfo*>(pStruct);
  if (pInfo->textLen > n) {
    return Refuse(pError, "text longer than the record");
  }
  std::memset(p, 0xFF, n);
  std::memcpy(p, pInfo->text, pInfo->textLen);
  return true;
}

// ---- GRP, UID, PBC ----

void DecodeGrp(const uint8_t* p, size_t n, uint16_t, void* pStruct) {
  auto* pInfo = static_cast<SimGrpInfo*>(pStruct);
  const size_t nCount = std::min<size_t>(n, SIM_GRP_MAX);
  pInfo->count = static_cast<UINT8>(nCount);
  pInfo->used = 0;
  for (size_t k = 0; k < nCount; ++k) {
    pInfo->groupRecordNum[k] = p[k] == 0xFF ? 0 : p[k];
    pInfo->used |= pInfo->groupRecordNum[k] != 0 ? 1u : 0u;
  }
}

bool EncodeGrp(const void* pStruct, uint8_t* p, size_t n, std::string* pError) {
  const auto* pInfo = static_cast<const SimGrpInfo*>(pStruct);
  if (pInfo->count > SIM_GRP_MAX) {
    return Refuse(pError, "group count beyond the structure");
  }
  for (size_t k = n; k < pInfo->count; ++k) {
    if (pInfo->groupRecordNum[k] != 0) {
      return Refuse(pError, "more groups than the record holds");
    }
  }
  for (size_t k = 0; k < n; ++k) {
    p[k] = k < pInfo->count ? pInfo->groupRecordNum[k] : 0;
  }
  return true;
}

void DecodeUid(const uint8_t* p, size_t n, uint16_t, void* pStruct) {
  auto* pInfo = static_cast<SimUidInfo*>(pStruct);
  pInfo->uid = static_cast<UINT16>(At(p, n, 0) << 8 | At(p, n, 1));
  pInfo->used = pInfo->uid != 0 && pInfo->uid != 0xFFFF ? 1 : 0;
}

bool EncodeUid(const void* pStruct, uint8_t* p, size_t n, std::string* pError) {
  const auto* pInfo = static_cast<const SimUidInfo*>(pStruct);
  if (n < 2) {
    return Refuse(pError, "UID record shorter than 2 bytes");
  }
  std::memset(p, 0xFF, n);
  p[0] = static_cast<uint8_t>(pInfo->uid >> 8);
  p[1] = static_cast<uint8_t>(pInfo->uid);
  return true;
}

void DecodePbc(const uint8_t* p, size_t n, uint16_t, void* pStruct) {
  auto* pInfo = static_cast<SimPbcInfo*>(pStruct);
  pInfo->used = AllBytes(p, n, 0xFF) ? 0 : 1;
  const uint8_t nControl = At(p, n, 0);
  const uint8_t nHidden = At(p, n, 1);
  pInfo->entryControl = nControl != 0xFF && (nControl & 1) != 0 ? 1 : 0;
  pInfo->hiddenKeyPresent = nHidden != 0 && nHidden != 0xFF ? 1 : 0;
  pInfo->hiddenKey = pInfo->hiddenKeyPresent != 0 ? nHidden : 0;
}

bool EncodePbc(const void* pStruct, uint8_t* p, size_t n, std::string* pError) {
  const auto* pInfo = static_cast<const SimPbcInfo*>(pStruct);
  if (n < 2 || pInfo->hiddenKey > 0xFE) {
    return Refuse(pError, "PBC record shorter than 2 bytes or hidden key out of range");
  }
  std::memset(p, 0xFF, n);
  p[0] = pInfo->entryControl != 0 ? 1 : 0;
  p[1] = pInfo->hiddenKeyPresent != 0 ? static_cast<uint8_t>(pInfo->hiddenKey) : 0;
  return true;
}

struct Codec {
  RecordKind kind;
  size_t nStructSize;
  uint8_t nErase;  // the byte of an erased record
  void (*pfnDecode)(const uint8_t*, size_t, uint16_t, void*);
  bool (*pfnEncode)(const void*, uint8_t*, size_t, std::string*);
};

const Codec kCodecs[] = {
    {RecordKind::DialNumber, sizeof(SimDialNumberInfo), 0xFF, &DecodeDialNumber, &EncodeDialNumber},
    {RecordKind::Ext, sizeof(SimExtInfo), 0xFF, &DecodeExt, &EncodeExt},
    {RecordKind::Pbr, sizeof(SimPbrInfo), 0xFF, &DecodePbr, &EncodePbrStruct},
    {RecordKind::Iap, sizeof(SimIapInfo), 0xFF, &DecodeIap, &EncodeIap},
    {RecordKind::Anr, sizeof(SimAnrInfo), 0xFF, &DecodeAnr<false>, &EncodeAnr<false>},
    {RecordKind::AnrLinked, sizeof(SimAnrInfo), 0xFF, &DecodeAnr<true>, &EncodeAnr<true>},
    {RecordKind::Email, sizeof(SimTextInfo), 0xFF, &DecodeText<false>, &EncodeText<false>},
    {RecordKind::EmailLinked, sizeof(SimTextInfo), 0xFF, &DecodeText<true>, &EncodeText<true>},
    {RecordKind::Sne, sizeof(SimTextInfo), 0xFF, &DecodeText<false>, &EncodeText<false>},
    {RecordKind::SneLinked, sizeof(SimTextInfo), 0xFF, &DecodeText<true>, &EncodeText<true>},
    {RecordKind::Gas, sizeof(SimAlphaInfo), 0xFF, &DecodeAlpha, &EncodeAlpha},
    {RecordKind::Aas, sizeof(SimAlphaInfo), 0xFF, &DecodeAlpha, &EncodeAlpha},
    {RecordKind::Grp, sizeof(SimGrpInfo), 0x00, &DecodeGrp, &EncodeGrp},
    {RecordKind::Uid, sizeof(SimUidInfo), 0xFF, &DecodeUid, &EncodeUid},
    {RecordKind::Pbc, sizeof(SimPbcInfo), 0xFF, &DecodePbc, &EncodePbc},
};

const Codec& CodecOf(RecordKind kind) {
  for (const Codec& codec : kCodecs) {
    if (codec.kind == kind) {
      return codec;
    }
  }
  return kCodecs[0];  // every kind is in the table
}

}  // namespace

size_t RecordStructSize(RecordKind kind) { return CodecOf(kind).nStructSize; }

void DecodeRecord(RecordKind kind, const uint8_t* pRaw, size_t nRaw, uint16_t nFileId, void* pStruct) {
  const Codec& codec = CodecOf(kind);
  std::memset(pStruct, 0, codec.nStructSize);
  if (pRaw == nullptr) {
    nRaw = 0;
  }
  codec.pfnDecode(pRaw, nRaw, nFileId, pStruct);
}

bool EncodeRecord(RecordKind kind, const void* pStruct, uint8_t* pRaw, size_t nRaw, std::string* pError) {
  const Codec& codec = CodecOf(kind);
  if (*static_cast<const UINT32*>(pStruct) == 0) {  // every structure starts with its used field
    std::memset(pRaw, codec.nErase, nRaw);
    return true;
  }
  return codec.pfnEncode(pStruct, pRaw, nRaw, pError);
}

std::string DecodeBcd(const uint8_t* p, size_t nBytes, size_t nMaxDigits) {
  std::string digits;
  for (size_t i = 0; i < nBytes; ++i) {
    for (const uint8_t nNibble : {static_cast<uint8_t>(p[i] & 0xF), static_cast<uint8_t>(p[i] >> 4)}) {
      if (nNibble >= 0xE || digits.size() >= nMaxDigits) {
        return digits;
      }
      digits.push_back(kBcdDigits[nNibble]);
    }
  }
  return digits;
}

bool EncodeBcd(const std::string& digits, uint8_t* p, size_t nBytes) {
  if (digits.size() > nBytes * 2) {
    return false;
  }
  std::vector<uint8_t> out(nBytes, 0xFF);
  for (size_t i = 0; i < digits.size(); ++i) {
    const char* pFound = digits[i] != '\0' ? std::strchr(kBcdDigits, digits[i]) : nullptr;
    if (pFound == nullptr) {
      return false;
    }
    const auto nNibble = static_cast<uint8_t>(pFound - kBcdDigits);
    uint8_t& b = out[i / 2];
    b = i % 2 == 0 ? static_cast<uint8_t>((b & 0xF0) | nNibble) : static_cast<uint8_t>((b & 0x0F) | nNibble << 4);
  }
  CopyBytes(p, out.data(), nBytes);
  return true;
}

size_t AlphaLength(const uint8_t* p, size_t n) {
  if (n == 0) {
    return 0;
  }
  switch (p[0]) {
    case 0x80: {
      size_t k = 1;
      while (k + 1 < n && !(p[k] == 0xFF && p[k + 1] == 0xFF)) {
        k += 2;
      }
      return k;
    }
    case 0x81:
      return n < 2 ? n : std::min<size_t>(n, 3u + p[1]);
    case 0x82:
      return n < 2 ? n : std::min<size_t>(n, 4u + p[1]);
    default:
      return static_cast<size_t>(std::find(p, p + n, 0xFF) - p);
  }
}

Bytes EncodePbr(const std::vector<SimPbrEntryInfo>& entries, size_t nRecordLen) {
  Bytes out;
  for (size_t i = 0; i < entries.size();) {
    Bytes content;
    const uint32_t nConstructed = entries[i].constructedTag;
    for (; i < entries.size() && entries[i].constructedTag == nConstructed; ++i) {
      const SimPbrEntryInfo& e = entries[i];
      content.push_back(static_cast<uint8_t>(e.fileTag));
      content.push_back(e.sfi != 0 ? 3 : 2);
      content.push_back(static_cast<uint8_t>(e.fileID >> 8));
      content.push_back(static_cast<uint8_t>(e.fileID));
      if (e.sfi != 0) {
        content.push_back(e.sfi);
      }
    }
    out.push_back(static_cast<uint8_t>(nConstructed));
    if (content.size() > 0x7F) {
      out.push_back(0x81);
    }
    out.push_back(static_cast<uint8_t>(content.size()));
    out.insert(out.end(), content.begin(), content.end());
  }
  if (out.size() > nRecordLen) {
    return out;  // the caller sees the size differ
  }
  out.resize(nRecordLen, 0xFF);
  return out;
}

Bytes HexToBytes(const std::string& hex, bool* pOk) {
  Bytes out;
  *pOk = hex.size() % 2 == 0;
  for (size_t i = 0; *pOk && i < hex.size(); i += 2) {
    int nValue = 0;
    for (size_t k = i; k < i + 2; ++k) {
      const char c = hex[k];
      const int nNibble = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
      if (nNibble < 0) {
        *pOk = false;
        break;
      }
      nValue = nValue << 4 | nNibble;
    }
    out.push_back(static_cast<uint8_t>(nValue));
  }
  if (!*pOk) {
    out.clear();
  }
  return out;
}

std::string BytesToHex(const Bytes& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const uint8_t b : bytes) {
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 0xF]);
  }
  return out;
}

}  // namespace zel::sim
