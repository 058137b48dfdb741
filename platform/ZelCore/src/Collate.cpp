// The name order: one ICU collator of the platform language at the first level, shared by every
// thread (ICU collators may be used concurrently for comparisons and sort keys), with a table for
// texts made only of ASCII, where the first-level order is one weight per character.
#include "ZelCollate.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/uset.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ZelDebug.h"

namespace {

constexpr char16_t kNoNameMarker = 0xFFFF;
constexpr int kAscii = 128;
// Identity of the rules here (first level, code-unit ties, the marker last); raised whenever they
// change so that stores rebuild their indexes.
constexpr char kRulesVersion[] = "user1/1";

std::string LanguageFromEnvironment() {
  const char* psz = std::getenv("CTSVC_LANGUAGE");
  const std::string language = psz != nullptr ? psz : "";
  if (language.empty() || language == "C" || language == "POSIX" || language.rfind("C.", 0) == 0) {
    return "root";
  }
  return language;
}

// True when some tailored or contracted string of the collator is all ASCII: per-character
// weights then no longer give the order of ASCII texts.
bool AsciiHasContext(const UCollator* pColl) {
  UErrorCode err = U_ZERO_ERROR;
  USet* pSet = uset_openEmpty();
  ucol_getContractionsAndExpansions(pColl, pSet, nullptr, FALSE, &err);
  USet* pTailored = ucol_getTailoredSet(pColl, &err);
  bool bFound = U_FAILURE(err);
  for (USet* p : {pSet, pTailored}) {
    if (p == nullptr) {
      continue;
    }
    const int32_t nItems = uset_getItemCount(p);
    for (int32_t i = 0; i < nItems && !bFound; ++i) {
      UChar32 first = 0;
      UChar32 last = 0;
      UChar buf[64];
      UErrorCode e = U_ZERO_ERROR;
      const int32_t nLen = uset_getItem(p, i, &first, &last, buf, 64, &e);
      if (nLen == 0) {
        bFound = first < kAscii && last >= 0x20;  // a tailored printable ASCII character
      } else if (nLen > 0) {
        bool bAllAscii = true;
        for (int32_t k = 0; k < nLen; ++k) {
          bAllAscii = bAllAscii && buf[k] < kAscii;
        }
        bFound = bAllAscii;
      }
    }
  }
  uset_close(pSet);
  if (pTailored != nullptr) {
    uset_close(pTailored);
  }
  return bFound;
}

class NameOrder {
 public:
  NameOrder() {
    const std::string language = LanguageFromEnvironment();
    UErrorCode err = U_ZERO_ERROR;
    m_pColl = ucol_open(language == "root" ? "" : language.c_str(), &err);
    if (U_FAILURE(err) || m_pColl == nullptr) {
      DbgPrint(DBG_CLASS_FAIL, "ZelCollate - no collation for %s(%s), code-unit order\n", language.c_str(),
               u_errorName(err));
      m_pColl = nullptr;
      m_identity = std::string(kRulesVersion) + " code-unit";
      return;
    }
    ucol_setStrength(m_pColl, UCOL_PRIMARY);
    const char* pszActual = ucol_getLocaleByType(m_pColl, ULOC_ACTUAL_LOCALE, &err);
    UVersionInfo version;
    ucol_getVersion(m_pColl, version);
    char szVersion[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(version, szVersion);
    m_identity = std::string(kRulesVersion) + " " + (pszActual != nullptr && *pszActual != '\0' ? pszActual : "root") +
                 " " + szVersion;
    m_bAsciiTable = !AsciiHasContext(m_pColl);
    BuildAsciiTable();
  }

  const UCollator* Collator() const { return m_pColl; }
  const std::string& Identity() const { return m_identity; }
  bool HasAsciiTable() const { return m_bAsciiTable; }
  // First-level weight rank of an ASCII character; 0 when the character is ignored.
  uint8_t Rank(unsigned c) const { return m_ranks[c]; }

 private:
  void BuildAsciiTable() {
    std::vector<UChar> chars;
    for (UChar c = 0; c < kAscii; ++c) {
      if (ucol_strcoll(m_pColl, &c, 1, nullptr, 0) != UCOL_EQUAL) {
        chars.push_back(c);
      }
    }
    std::stable_sort(chars.begin(), chars.end(), [this](UChar a, UChar b) {
      return ucol_strcoll(m_pColl, &a, 1, &b, 1) == UCOL_LESS;
    });
    uint8_t nRank = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
      if (i == 0 || ucol_strcoll(m_pColl, &chars[i - 1], 1, &chars[i], 1) != UCOL_EQUAL) {
        ++nRank;
      }
      m_ranks[chars[i]] = nRank;
    }
  }

  UCollator* m_pColl = nullptr;
  std::string m_identity;
  bool m_bAsciiTable = false;
  std::array<uint8_t, kAscii> m_ranks{};
};

const NameOrder& Order() {
  static const NameOrder* s_pOrder = new NameOrder();  // never destroyed: used until the process ends
  return *s_pOrder;
}

// Reads UTF-16 units from native memory or from big-endian bytes.
struct NativeUnits {
  const char16_t* p;
  char16_t operator[](int i) const { return p[i]; }
};
struct BigEndianUnits {
  const unsigned char* p;
  char16_t operator[](int i) const { return static_cast<char16_t>((p[2 * i] << 8) | p[2 * i + 1]); }
};

// First-level order of two texts from position i on, through the ASCII weight table; 2 when a
// text is not ASCII there. The units before i are the same ASCII units in both texts, so they
// weigh the same.
template <typename Units>
int CompareAscii(const NameOrder& order, Units a, int nA, Units b, int nB, int i) {
  int j = i;
  for (;;) {
    uint8_t ra = 0;
    uint8_t rb = 0;
    for (; i < nA; ++i) {
      if (a[i] >= kAscii) {
        return 2;
      }
      if ((ra = order.Rank(a[i])) != 0) {
        break;
      }
    }
    for (; j < nB; ++j) {
      if (b[j] >= kAscii) {
        return 2;
      }
      if ((rb = order.Rank(b[j])) != 0) {
        break;
      }
    }
    if (i == nA || j == nB) {
      return (i == nA ? 0 : 1) - (j == nB ? 0 : 1);
    }
    if (ra != rb) {
      return ra < rb ? -1 : 1;
    }
    ++i;
    ++j;
  }
}

template <typename Units>
const UChar* Native(Units units, int n, std::u16string& buffer) {
  buffer.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    buffer[static_cast<size_t>(i)] = units[i];
  }
  return reinterpret_cast<const UChar*>(buffer.data());
}

const UChar* Native(NativeUnits units, int /*n*/, std::u16string& /*buffer*/) {
  return reinterpret_cast<const UChar*>(units.p);
}

template <typename Units>
int Compare(Units a, int nA, Units b, int nB) {
  // The common prefix: equal texts (an ordered walk over repeated names) need no collation, and
  // its first differing unit is the tie-break.
  const int n = std::min(nA, nB);
  int i = 0;
  bool bAsciiPrefix = true;
  for (; i < n && a[i] == b[i]; ++i) {
    bAsciiPrefix = bAsciiPrefix && a[i] < kAscii;
  }
  if (i == n && nA == nB) {
    return 0;
  }
  const int nTie = i < n ? (a[i] < b[i] ? -1 : 1) : (nA < nB ? -1 : 1);
  const bool bMarkerA = nA > 0 && a[0] == kNoNameMarker;
  const bool bMarkerB = nB > 0 && b[0] == kNoNameMarker;
  if (bMarkerA != bMarkerB) {
    return bMarkerA ? 1 : -1;
  }
  const NameOrder& order = Order();
  int nFirst = 2;
  if (bAsciiPrefix && order.HasAsciiTable()) {
    nFirst = CompareAscii(order, a, nA, b, nB, i);
  }
  if (nFirst == 2 && order.Collator() != nullptr) {
    thread_local std::u16string t_a;
    thread_local std::u16string t_b;
    const UChar* pA = Native(a, nA, t_a);
    const UChar* pB = Native(b, nB, t_b);
    nFirst = ucol_strcoll(order.Collator(), pA, nA, pB, nB);
  } else if (nFirst == 2) {
    nFirst = 0;
  }
  return nFirst != 0 ? nFirst : nTie;
}

}  // namespace

extern "C" int ZelCollateCompare(const MCHAR* a, int nA, const MCHAR* b, int nB) {
  return Compare(NativeUnits{reinterpret_cast<const char16_t*>(a)}, a != nullptr ? std::max(nA, 0) : 0,
                 NativeUnits{reinterpret_cast<const char16_t*>(b)}, b != nullptr ? std::max(nB, 0) : 0);
}

extern "C" int ZelCollateCompareBE(const void* pA, int nBytesA, const void* pB, int nBytesB) {
  return Compare(BigEndianUnits{static_cast<const unsigned char*>(pA)}, pA != nullptr ? std::max(nBytesA, 0) / 2 : 0,
                 BigEndianUnits{static_cast<const unsigned char*>(pB)}, pB != nullptr ? std::max(nBytesB, 0) / 2 : 0);
}

extern "C" int ZelCollatePrimaryKey(const MCHAR* s, int n, unsigned char* pKey, int nCapacity) {
  if ((s == nullptr && n > 0) || n < 0 || nCapacity < 0 || (pKey == nullptr && nCapacity > 0)) {
    return -1;
  }
  const UCollator* pColl = Order().Collator();
  if (pColl == nullptr) {  // code units, big-endian, then the end
    const int nNeeded = 2 * n + 1;
    for (int i = 0; i < n && 2 * i + 1 < nCapacity; ++i) {
      pKey[2 * i] = static_cast<unsigned char>(s[i] >> 8);
      pKey[2 * i + 1] = static_cast<unsigned char>(s[i] & 0xFF);
    }
    if (nNeeded <= nCapacity) {
      pKey[nNeeded - 1] = 0;
    }
    return nNeeded;
  }
  return ucol_getSortKey(pColl, reinterpret_cast<const UChar*>(s), n, pKey, nCapacity);
}

extern "C" const char* ZelCollateIdentity(void) { return Order().Identity().c_str(); }
