// Translation between the card's raw records and the record structures of ZelSim.h: dialling
// numbers (alpha field and the 14-byte footer: BCD length, TON/NPI, 10 BCD bytes, capability id,
// extension id), extension records, PBR TLV records, IAP, ANR, EMAIL, SNE, GAS, AAS, GRP, UID and
// PBC. Decoders take any bytes: a short record or a length byte beyond its field decode what they
// hold, never more; unknown PBR tags are skipped (constructed) or passed on (file tags).
#ifndef ZEL_SIM_CODEC_H
#define ZEL_SIM_CODEC_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ZelSim.h"

namespace zel::sim {

// memcpy that copies nothing for n == 0 (the data() of an empty vector may be null, which memcpy
// must not be given even for no bytes).
inline void CopyBytes(void* pDst, const void* pSrc, size_t n) {
  if (n > 0) {
    std::memcpy(pDst, pSrc, n);
  }
}

using Bytes = std::vector<uint8_t>;

// Record shapes. Linked: the type-2 form of ANR, EMAIL and SNE, which ends in the ADN SFI and
// record number.
enum class RecordKind {
  DialNumber, Ext, Pbr, Iap, Anr, AnrLinked, Email, EmailLinked, Sne, SneLinked, Gas, Aas, Grp, Uid, Pbc,
};

// Size of the record structure of the kind.
size_t RecordStructSize(RecordKind kind);

// Decodes the raw record into the structure (pStruct: RecordStructSize(kind) bytes, fully
// written). nFileId goes into the structures that carry it.
void DecodeRecord(RecordKind kind, const uint8_t* pRaw, size_t nRaw, uint16_t nFileId, void* pStruct);
// Encodes the structure into nRaw bytes. A structure with used 0 erases the record (0xFF; GRP
// 0x00). False (pRaw untouched) when the structure cannot be written: digits outside the BCD set,
// more digits or text bytes than the record holds, counts beyond the structure.
bool EncodeRecord(RecordKind kind, const void* pStruct, uint8_t* pRaw, size_t nRaw, std::string* pError = nullptr);

// BCD digits: 0-9, 0xA '*', 0xB '#', 0xC ',' (pause), 0xD '?' (wild); 0xE and 0xF end the number.
// Decodes at most nBytes bytes (low nibble first) into at most nMaxDigits digits.
std::string DecodeBcd(const uint8_t* p, size_t nBytes, size_t nMaxDigits);
// Packs digits (filler 0xF); false for a character outside the set or more than nBytes*2 digits.
bool EncodeBcd(const std::string& digits, uint8_t* p, size_t nBytes);

// Meaningful length of an alpha field: UCS2 0x80 up to the 0xFFFF filler, 0x81/0x82 by their
// length byte, anything else up to the first 0xFF.
size_t AlphaLength(const uint8_t* p, size_t n);

// Whole-record helpers for building cards.
Bytes EncodePbr(const std::vector<SimPbrEntryInfo>& entries, size_t nRecordLen);
Bytes HexToBytes(const std::string& hex, bool* pOk);
std::string BytesToHex(const Bytes& bytes);

}  // namespace zel::sim

#endif
