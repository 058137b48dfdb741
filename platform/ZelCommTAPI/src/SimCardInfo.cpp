// What the inserted card tells without a request: type, service tables, CPHS, ICCID, FDN state.
#include <cstring>

#include "SimState.h"

using namespace zel::sim;

namespace {

// Runs fn(card) under the lock when a card is inserted; false otherwise.
template <typename Fn>
bool WithCard(Fn fn) {
  SimState& state = TheSim();
  std::lock_guard<std::mutex> lock(state.mutex);
  Card* pCard = CurrentCard(state);
  return pCard != nullptr && fn(*pCard);
}

// Service n (1-based) of a SIM table: two bits, allocated and activated, both set.
UINT8 SstOffers(const Bytes& table, int n) {
  const size_t nByte = static_cast<size_t>(n - 1) / 4;
  const int nShift = ((n - 1) % 4) * 2;
  return nByte < table.size() && ((table[nByte] >> nShift) & 3) == 3 ? 1 : 0;
}

// Service n (1-based) of a USIM table: one bit, available.
UINT8 UstOffers(const Bytes& table, int n) {
  const size_t nByte = static_cast<size_t>(n - 1) / 8;
  return nByte < table.size() && ((table[nByte] >> ((n - 1) % 8)) & 1) != 0 ? 1 : 0;
}

// Service numbers of the phonebook's files in each table (0: not in the table). In a USIM
// table, EXT1 comes with the local phonebook (service 1), as ADN does.
struct ServiceNumbers {
  int nAdn, nFdn, nSdn, nMsisdn, nExt1, nExt2, nExt3, nExt5;
};
constexpr ServiceNumbers kSstServices{2, 3, 18, 9, 10, 11, 19, 0};
constexpr ServiceNumbers kUstServices{1, 2, 4, 21, 1, 3, 5, 44};

const SimServiceTableInfo* TableInfo(bool Card::*pHas, Bytes Card::*pTable, const ServiceNumbers& numbers,
                                     UINT8 (*pfnOffers)(const Bytes&, int)) {
  thread_local SimServiceTableInfo t_info;
  const bool bFound = WithCard([&](const Card& card) {
    if (!(card.*pHas)) {
      return false;
    }
    const Bytes& table = card.*pTable;
    t_info = SimServiceTableInfo{};
    t_info.length = static_cast<UINT32>(table.size());
    CopyBytes(t_info.table, table.data(), table.size());
    auto offers = [&](int n) -> UINT8 { return n > 0 ? pfnOffers(table, n) : 0; };
    t_info.adn = offers(numbers.nAdn);
    t_info.fdn = offers(numbers.nFdn);
    t_info.sdn = offers(numbers.nSdn);
    t_info.msisdn = offers(numbers.nMsisdn);
    t_info.ext1 = offers(numbers.nExt1);
    t_info.ext2 = offers(numbers.nExt2);
    t_info.ext3 = offers(numbers.nExt3);
    t_info.ext5 = offers(numbers.nExt5);
    return true;
  });
  return bFound ? &t_info : nullptr;
}

}  // namespace

extern "C" int SimGetCardType(void) {
  int nType = SIM_CARD_TYPE_UNKNOWN;
  WithCard([&](const Card& card) {
    nType = card.nType;
    return true;
  });
  return nType;
}

extern "C" const SimServiceTableInfo* SimGetSstInfo(void) {
  return TableInfo(&Card::bHasSst, &Card::sst, kSstServices, &SstOffers);
}

extern "C" const SimServiceTableInfo* SimGetUstInfo(void) {
  return TableInfo(&Card::bHasUst, &Card::ust, kUstServices, &UstOffers);
}

extern "C" BOOL SimSupportCphs(void) {
  return WithCard([](const Card& card) { return card.bHasCphs && card.cphs.size() >= 2; }) ? TRUE : FALSE;
}

// CPHS information: phase, then two bits (allocated, activated) per service: byte 1 CSP, SST,
// mailbox numbers, operator name short form; byte 2 information numbers.
extern "C" const SimCphsInfo* SimGetCphsInfo(void) {
  thread_local SimCphsInfo t_info;
  const bool bFound = WithCard([](const Card& card) {
    if (!card.bHasCphs || card.cphs.size() < 2) {
      return false;
    }
    const uint8_t nServices = card.cphs[1];
    const uint8_t nMore = card.cphs.size() > 2 ? card.cphs[2] : 0;
    t_info = SimCphsInfo{};
    t_info.phase = card.cphs[0];
    t_info.csp = (nServices & 3) == 3 ? 1 : 0;
    t_info.mailboxNumbers = ((nServices >> 4) & 3) == 3 ? 1 : 0;
    t_info.operatorShortName = ((nServices >> 6) & 3) == 3 ? 1 : 0;
    t_info.infoNumbers = nMore & 1;
    t_info.infoNumbersActive = (nMore >> 1) & 1;
    return true;
  });
  return bFound ? &t_info : nullptr;
}

extern "C" BOOL SimGetIccidInfo(SimIccidInfo* pInfo) {
  if (pInfo == nullptr) {
    return FALSE;
  }
  *pInfo = SimIccidInfo{};
  return WithCard([pInfo](const Card& card) {
           if (card.iccid.empty()) {
             return false;
           }
           std::memset(pInfo->iccid, 0xFF, sizeof(pInfo->iccid));
           zel::sim::EncodeBcd(card.iccid, pInfo->iccid, sizeof(pInfo->iccid));
           std::strncpy(pInfo->szIccid, card.iccid.c_str(), sizeof(pInfo->szIccid) - 1);
           return true;
         })
             ? TRUE
             : FALSE;
}

extern "C" BOOL SimGetFdnEnable(void) {
  return WithCard([](const Card& card) { return card.bFdnEnabled; }) ? TRUE : FALSE;
}

extern "C" const char* SimGetCardError(void) {
  thread_local std::string t_error;
  SimState& state = TheSim();
  std::lock_guard<std::mutex> lock(state.mutex);
  CurrentCard(state);
  t_error = state.cardError;
  return t_error.empty() ? nullptr : t_error.c_str();
}
