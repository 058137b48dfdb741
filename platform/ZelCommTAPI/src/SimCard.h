// The simulated card: its card-file text checked into files of raw records, the mapping of
// telephony file identifiers to those files, and record writes kept in the card-file text.
#ifndef ZEL_TAPI_SIM_CARD_H
#define ZEL_TAPI_SIM_CARD_H

#include <cstdint>
#include <string>
#include <vector>

#include "CardJson.h"
#include "ZelSimCodec.h"

namespace zel::sim {

enum class Access { Always, Pin1, Pin2, Never };

// How a file's records travel: a record structure, or raw bytes (transparent files, CCP1).
struct FileShape {
  bool bRaw = true;
  RecordKind kind = RecordKind::DialNumber;
};

struct CardFile {
  std::string name;
  uint16_t nId = 0;
  std::string path;
  bool bLinear = true;
  size_t nRecordLen = 0;
  std::vector<Bytes> records;  // linear files
  Bytes data;                  // transparent files
  Access read = Access::Pin1;
  Access update = Access::Pin1;
  bool bInvalidated = false;        // "status": "invalidated" or "invalidated_rw"
  bool bRwWhenInvalidated = false;  // "invalidated_rw": still readable and updatable
  FileShape shape;             // set from the name and, for ANR/EMAIL/SNE, the PBR's tag
  size_t nJsonIndex = 0;       // position in the card text's "files"
};

struct Card {
  int nType = SIM_CARD_TYPE_UNKNOWN;
  std::string iccid;
  std::string imsi;
  bool bFdnEnabled = false;
  std::string pin2;
  bool bHasSst = false, bHasUst = false, bHasCphs = false;
  Bytes sst, ust, cphs;
  std::vector<CardFile> files;
  JsonValue doc;  // the card text, kept so that a write keeps every key it had
};

// Checks the card text; false with the reason (naming the file and record) in *pError.
bool ParseCard(const std::string& text, Card* pCard, std::string* pError);
std::string CardText(const Card& card);

// The file a telephony identifier addresses, or null.
CardFile* FindFile(Card& card, uint32_t nFileId);

// Replaces record nRecord (0-based) or, for a transparent file (nRecord -1), the data; keeps the
// card text in step.
void SetRecord(Card& card, CardFile& file, int nRecord, const Bytes& raw);

// The PBR records of the card, decoded (empty without a PBR file).
std::vector<SimPbrInfo> CardPbr(const Card& card);

}  // namespace zel::sim

#endif
