// Sample cards for tools and tests: a GSM SIM (ADN 250 x 30 bytes, FDN, SDN, MSISDN, EXT1-3) and a
// USIM with two PBR records (ADN, IAP, two ANR with one type-2 link, type-2 EMAIL, SNE, GRP, GAS,
// AAS, UID, PBC, PSC, CC, PUID, EXT1, EXT5), partly filled with Latin, Cyrillic, Hangul and
// long-number contacts unless empty.
#ifndef ZEL_SIM_SAMPLE_CARD_H
#define ZEL_SIM_SAMPLE_CARD_H

#include <cstddef>
#include <string>

namespace zel::sim {

enum class SampleCardType { Gsm, Usim };

// The card as card-file text.
std::string BuildSampleCard(SampleCardType type, bool bEmpty);
// An empty USIM like the sample but with nRecordsPerPbr (1..254) records in each of its two PBR
// records' files, e-mail and second-number files included: room for many full contacts. It has
// the sample's groups (Family, Friends, Работа) and number kinds but no contacts.
std::string BuildLargeUsimCard(size_t nRecordsPerPbr);

}  // namespace zel::sim

#endif
