// How many trailing digits identify a caller: the operator profile's default, the "CLIDigits"
// setting (read once and cached), and the country rules that depend on the SIM's IMSI.
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <mutex>
#include <optional>

#include "CtSvcUtil.h"
#include "CtSvcUtil/CtSvcUtilInternal.h"
#include "ZelCommTAPI/ZelTapi.h"
#include "ZelDebug.h"
#include "ZelNv.h"
#include "ZelReg.h"

namespace {

constexpr UINT32 kNvOperatorProfile = 0x4BD;
constexpr UINT32 kNvCountryCheck = 0x180;
constexpr INT32 kProfileImsiRules = 57;
constexpr int kDefaultDigits = 8;
const char kCliFile[] = "/Settings/Default/Registry/CtSet.ini";

struct DigitsRule {
  INT32 nKey;  // operator profile or mobile country code
  int nDigits;
};

const DigitsRule kProfileDigits[] = {
    {4, 11}, {5, 7},  {13, 7}, {44, 7},  {45, 7}, {47, 7}, {63, 7}, {65, 7}, {71, 7}, {72, 7},
    {73, 7}, {74, 7}, {75, 7}, {76, 7}, {11, 10}, {70, 10}, {30, 9}, {69, 9}, {83, 9},
};

// Country codes with a fixed digit count under the IMSI-dependent profile (415 is decided by the
// number itself, see DigitsForLebanon).
const DigitsRule kCountryDigits[] = {{410, 9}, {427, 7}, {617, 7}};
constexpr int kCountryLebanon = 415;

std::mutex g_cliMutex;
std::optional<int> g_nCliDigits;

const DigitsRule* FindRule(const DigitsRule* pRules, size_t nCount, INT32 nKey) {
  for (size_t i = 0; i < nCount; ++i) {
    if (pRules[i].nKey == nKey) {
      return &pRules[i];
    }
  }
  return nullptr;
}

// The "CLIDigits" setting, read on first use and cached; the default when the file cannot be
// loaded (then nothing is cached, so a later call tries again).
int CachedCliDigits() {
  std::lock_guard<std::mutex> lock(g_cliMutex);
  if (g_nCliDigits) {
    return *g_nCliDigits;
  }
  const int nDefault = CtSvcGetDefaultCLI();
  const UINT32 nErr = RegLoad(kCliFile, 1);
  if (nErr != REG_OK) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcGetDigitsCount2Compare: - RegLoad failed, errCode=%u\n", nErr);
    return nDefault;
  }
  INT32 nDigits = nDefault;
  if (RegGetInt(kCliFile, "sectionOne", "CLIDigits", &nDigits) != REG_OK) {
    nDigits = nDefault;
  }
  RegUnload(kCliFile);
  g_nCliDigits = nDigits;
  return nDigits;
}

// Lebanese numbers: mobile prefixes 71 and 72 (8th- and 7th-last characters) take 8 digits.
int DigitsForLebanon(const char* pszNumber) {
  const size_t nLen = std::strlen(pszNumber);
  if (nLen < 8) {
    return 7;
  }
  const char* pszPrefix = pszNumber + nLen - 8;
  return pszPrefix[0] == '7' && (pszPrefix[1] == '1' || pszPrefix[1] == '2') ? 8 : 7;
}

}  // namespace

void CtSvcUtilResetCliDigitsCache() {
  std::lock_guard<std::mutex> lock(g_cliMutex);
  g_nCliDigits.reset();
}

extern "C" int CtSvcGetDefaultCLI(void) {
  const DigitsRule* pRule = FindRule(kProfileDigits, std::size(kProfileDigits), NvGetInt(kNvOperatorProfile));
  return pRule != nullptr ? pRule->nDigits : kDefaultDigits;
}

extern "C" int CtSvcGetDigitsCount2Compare(const char* pszNumber) {
  int nDigits = CachedCliDigits();
  if (NvGetInt(kNvOperatorProfile) == kProfileImsiRules && pszNumber != nullptr) {
    TapiImsiInfo imsi{};
    if (!SimGetImsiInfo(&imsi)) {
      return 0;
    }
    const int nMcc = std::atoi(imsi.szMcc);
    if (nMcc == kCountryLebanon) {
      nDigits = DigitsForLebanon(pszNumber);
    } else if (const DigitsRule* pRule = FindRule(kCountryDigits, std::size(kCountryDigits), nMcc)) {
      nDigits = pRule->nDigits;
    }
    DbgPrint(DBG_CLASS_TRACE, "CtSvcGetDigitsCount2Compare() -Return=%d\n", nDigits);
  }
  if (NvGetInt(kNvCountryCheck) == 1) {
    TapiImsiInfo imsi{};
    if (SimGetImsiInfo(&imsi) && std::strcmp(imsi.szMcc, "274") == 0) {
      nDigits = 7;
    }
  }
  return nDigits;
}
