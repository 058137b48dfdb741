// The IMSI: the inserted card's, or one set through the test API (until the next card).
#include <cctype>
#include <cstddef>
#include <cstring>
#include <mutex>

#include "SimState.h"
#include "ZelDebug.h"
#include "ZelTapi.h"
#include "ZelTapiTest.h"

static_assert(offsetof(TapiImsiInfo, szMcc) == 4, "the country code lies at offset 4");

namespace {

struct ImsiState {
  std::mutex mutex;
  TapiImsiInfo info{};  // nValid 0: none
};

ImsiState& TheImsi() {
  static ImsiState s_state;  // trivially safe at exit: a mutex and plain data
  return s_state;
}

// True when the text is made of nMin..nMax decimal digits.
bool IsDigits(const char* psz, size_t nMin, size_t nMax) {
  if (psz == nullptr) {
    return false;
  }
  const size_t nLen = strnlen(psz, nMax + 1);
  if (nLen < nMin || nLen > nMax) {
    return false;
  }
  for (size_t i = 0; i < nLen; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(psz[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

namespace zel::sim {

// The country code is 3 digits, the network code taken as 2, the rest (up to 10) the subscriber.
void SetCardImsi(const std::string& imsi) {
  TapiImsiInfo info{};
  if (imsi.size() >= 5) {
    info.nValid = 1;
    imsi.copy(info.szMcc, 3, 0);
    imsi.copy(info.szMnc, 2, 3);
    imsi.copy(info.szMsin, sizeof(info.szMsin) - 1, 5);
  }
  ImsiState& state = TheImsi();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.info = info;
}

}  // namespace zel::sim

extern "C" BOOL SimGetImsiInfo(TapiImsiInfo* pInfo) {
  if (pInfo == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "SimGetImsiInfo: - pInfo is NULL\n");
    return FALSE;
  }
  {
    zel::sim::SimState& sim = zel::sim::TheSim();
    std::lock_guard<std::mutex> lock(sim.mutex);
    zel::sim::CurrentCard(sim);  // a card read now brings its IMSI
  }
  ImsiState& state = TheImsi();
  std::lock_guard<std::mutex> lock(state.mutex);
  *pInfo = state.info;
  return state.info.nValid != 0 ? TRUE : FALSE;
}

namespace zel::test {

bool SetTapiImsi(const char* pszMcc, const char* pszMnc, const char* pszMsin) {
  if (!IsDigits(pszMcc, 3, 3) || !IsDigits(pszMnc, 2, 3) || !IsDigits(pszMsin, 0, 10)) {
    return false;
  }
  TapiImsiInfo info{};
  info.nValid = 1;
  std::strcpy(info.szMcc, pszMcc);
  std::strcpy(info.szMnc, pszMnc);
  std::strcpy(info.szMsin, pszMsin);
  ImsiState& state = TheImsi();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.info = info;
  return true;
}

void ClearTapiImsi() {
  ImsiState& state = TheImsi();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.info = TapiImsiInfo{};
}

}  // namespace zel::test
