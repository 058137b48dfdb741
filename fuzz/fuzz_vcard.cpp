// Bytes -> the vCard decoder -> the encoder (2.1 and 3.0) -> the decoder again. On every input:
//  - decoding never crashes, and every text value handed out is well-formed UTF-8 whose property
//    says so (CHARSET=UTF-8);
//  - a binary value's byte length is what its property carries;
//  - re-encoding what was decoded and decoding it again gives the same cards, the same property
//    kinds in the same order and the same values.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "ZelAppFrmwk/ZelVCard.h"

namespace {

struct Owned {
  VObject* p = nullptr;
  ~Owned() { VCardFreeObject(p); }
};

struct Flat {
  int nKind;
  std::vector<std::string> vcValues;
};

std::vector<std::vector<Flat>> Flatten(const VObject* pObject) {
  std::vector<std::vector<Flat>> vcCards;
  for (const VObject* pCard = pObject; pCard != nullptr; pCard = pCard->pNext) {
    vcCards.emplace_back();
    for (const VProp* pProp = pCard->pFirst; pProp != nullptr; pProp = pProp->pNext) {
      Flat flat{pProp->nKind, {}};
      const bool bBinary = pProp->nLength > 0;
      for (INT32 i = 0; i < pProp->nValueCount; ++i) {
        FUZZ_CHECK(pProp->ppszValue[i] != nullptr, "every value is set");
        flat.vcValues.emplace_back(bBinary ? std::string(pProp->ppszValue[i], static_cast<size_t>(pProp->nLength))
                                           : std::string(pProp->ppszValue[i]));
        if (!bBinary) {
          FUZZ_CHECK(fuzz::IsUtf8(flat.vcValues.back()), "text values are UTF-8");
          FUZZ_CHECK(VCardGetParam(pProp, VCARD_PARAM_CHARSET) == VCARD_CHARSET_UTF8, "text says it is UTF-8");
        }
      }
      FUZZ_CHECK(!bBinary || pProp->nValueCount == 1, "a binary value is the only value");
      vcCards.back().push_back(flat);
    }
  }
  return vcCards;
}

bool Same(const std::vector<std::vector<Flat>>& a, const std::vector<std::vector<Flat>>& b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].size() != b[i].size()) {
      return false;
    }
    for (size_t k = 0; k < a[i].size(); ++k) {
      if (a[i][k].nKind != b[i][k].nKind || a[i][k].vcValues != b[i][k].vcValues) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  Owned first;
  if (!VCardDecodeN(reinterpret_cast<const char*>(pData), nSize, &first.p)) {
    FUZZ_CHECK(first.p == nullptr, "a failed decode hands out nothing");
    return 0;
  }
  const std::vector<std::vector<Flat>> vcFirst = Flatten(first.p);
  for (INT32 nVersion : {VCARD_VERSION_21, VCARD_VERSION_30}) {
    char* pszText = nullptr;
    FUZZ_CHECK(VCardEncodeVersion(first.p, nVersion, &pszText), "what was decoded encodes");
    Owned second;
    FUZZ_CHECK(VCardDecode(pszText, &second.p), "what was encoded decodes");
    VCardFreeText(pszText);
    FUZZ_CHECK(Same(vcFirst, Flatten(second.p)), "encode then decode keeps cards, kinds and values");
  }
  return 0;
}
