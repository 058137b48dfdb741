// Text helpers: file-name safe names, the UTF-8 check and the SIM storage budget of a text.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "CtSvcUtil.h"
#include "ZelDebug.h"
#include "ZelGWESCore/ZelGWESCore.h"

namespace {

// Buffers of the UTF-8 check (bytes).
constexpr size_t kCheckPCodeBytes = 1546;
constexpr size_t kCheckLCodeBytes = 2317;

const char kUnsupportedFileNameChars[] = ". ?\\/\"|:<>*\n\r";

bool IsHighSurrogate(MCHAR c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(MCHAR c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The text in P-code; false when it is not well-formed UTF-8 (its round trip differs).
bool ToPCode(const char* pszText, size_t nLen, std::vector<MCHAR>& vcPCode) {
  vcPCode.assign(nLen + 1, 0);  // one unit per byte at most
  if (WmConvert2PCode(vcPCode.data(), static_cast<int>(vcPCode.size()), pszText) < 0) {
    return false;
  }
  std::string strBack(3 * nLen + 1, '\0');  // three bytes per unit at most
  const int nBytes = WmConvert2LCode(strBack.data(), static_cast<int>(strBack.size()), vcPCode.data());
  return nBytes >= 0 && static_cast<size_t>(nBytes) == nLen && std::memcmp(strBack.data(), pszText, nLen) == 0;
}

// Units of the longest prefix of the first nUnits units whose SIM coding fits nBudget bytes;
// whole characters only (a surrogate pair is kept or dropped as one).
int LongestFittingPrefix(const MCHAR* pPCode, int nUnits, int nBudget) {
  // Every character takes at least one byte, and a character at most two units.
  int n = static_cast<int>(std::min<long long>(nUnits, 2LL * nBudget));
  if (n > 0 && IsHighSurrogate(pPCode[n - 1])) {
    --n;
  }
  while (n > 0 && WmGetSimCodeSizeN(pPCode, n) > nBudget) {
    n -= n >= 2 && IsLowSurrogate(pPCode[n - 1]) && IsHighSurrogate(pPCode[n - 2]) ? 2 : 1;
  }
  return n;
}

}  // namespace

extern "C" BOOL CtRemoveUnSupportedChar(char* pszText) {
  if (pszText == nullptr || pszText[0] == '\0') {
    DbgPrint(DBG_CLASS_FAIL, "CtRemoveUnSupportedChar: - empty text\n");
    return FALSE;
  }
  for (char* p = pszText; *p != '\0'; ++p) {
    if (std::strchr(kUnsupportedFileNameChars, *p) != nullptr) {
      *p = ' ';
    }
  }
  const size_t nLeading = std::strspn(pszText, " ");
  if (nLeading > 0) {
    std::memmove(pszText, pszText + nLeading, std::strlen(pszText + nLeading) + 1);
  }
  return TRUE;
}

extern "C" BOOL CtAppIsUTF8(const char* pszText) {
  if (pszText == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtAppIsUTF8: - pszText is NULL\n");
    return FALSE;
  }
  if (pszText[0] == '\0') {
    return TRUE;
  }
  std::array<MCHAR, kCheckPCodeBytes / sizeof(MCHAR)> aPCode{};
  std::array<char, kCheckLCodeBytes> aLCode{};
  WmConvert2PCode(aPCode.data(), static_cast<int>(aPCode.size()), pszText);
  WmConvert2LCode(aLCode.data(), static_cast<int>(aLCode.size()), aPCode.data());
  if (std::strcmp(aLCode.data(), pszText) != 0) {
    DbgPrint(DBG_CLASS_TRACE, "CtAppIsUTF8 : This is not UTF8. \n");
    return FALSE;
  }
  return TRUE;
}

extern "C" int CtGetLCodeMaxByteSize(const char* pszText, int nByteSize, int /*nReserved*/) {
  if (nByteSize < 1) {
    DbgPrint(DBG_CLASS_FAIL, "CtGetLCodeMaxByteSize byteSize is fail %d!! \n", nByteSize);
    return 0;
  }
  if (pszText == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtGetLCodeMaxByteSize: - pszText is NULL\n");
    return 0;
  }
  const size_t nLen = std::strlen(pszText);
  std::vector<MCHAR> vcPCode;
  if (!ToPCode(pszText, nLen, vcPCode)) {
    DbgPrint(DBG_CLASS_FAIL, "CtGetLCodeMaxByteSize: - text is not UTF-8\n");
    return 0;
  }
  if (WmGetSimCodeSize(vcPCode.data()) <= nByteSize) {
    return static_cast<int>(nLen);
  }
  const int nUnits = static_cast<int>(std::char_traits<MCHAR>::length(vcPCode.data()));
  const int nKeep = LongestFittingPrefix(vcPCode.data(), nUnits, nByteSize);
  vcPCode[static_cast<size_t>(nKeep)] = 0;
  std::string strCut(nLen + 1, '\0');  // a prefix of well-formed text is never longer
  const int nCutBytes = WmConvert2LCode(strCut.data(), static_cast<int>(strCut.size()), vcPCode.data());
  DbgPrint(DBG_CLASS_TRACE, "CtGetLCodeMaxByteSize nLen is  %d!! \n", nCutBytes);
  return nCutBytes < 0 ? 0 : nCutBytes;
}
