#include "CtSvcSim/SimFile/CtSvcSimCodec.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CtSvcUtil.h"
#include "ZelCommTAPI/ZelTapi.h"
#include "ZelDebug.h"
#include "ZelGWESCore.h"

namespace {

constexpr int kKoreaCountryCode = 450;
constexpr int kPCodeUnits = 257;
constexpr int kNumberSize = 42;

// The length of a KSC text: up to the first 0x01 when it fills the field, else as stated.
int KscLength(const UINT8* pAlpha, int nLen, int nFieldLen) {
  if (nLen != nFieldLen) {
    return nLen;
  }
  const void* pEnd = std::memchr(pAlpha, 0x01, static_cast<size_t>(nLen));
  return pEnd != nullptr ? static_cast<int>(static_cast<const UINT8*>(pEnd) - pAlpha) : nLen;
}

constexpr size_t kRecordDigits = 20;

void CopyCut(const char* pszSource, size_t nLen, char* pszOut, int nOutSize) {
  CtSvcSimCopyText(pszOut, static_cast<size_t>(nOutSize), pszSource, nLen);
}

// The GSM default alphabet agrees with ASCII on space, the digits, the letters and most
// punctuation ('$', '@', '_' and the brackets differ). A name made of those characters only is
// copied as it is: what the platform converters would give, without the 16-bit detour.
bool IsAsciiInGsm(UINT8 c) {
  return (c >= 0x20 && c <= 0x3F && c != 0x24) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The decoded name of a GSM alpha that is plain ASCII (up to its 0xFF padding, at most nUnits - 1
// characters); false for any other alpha.
bool CopyAsciiGsm(const UINT8* pAlpha, int nLen, int nUnits, char* pszOut, int nOutSize) {
  int n = 0;
  while (n < nLen && pAlpha[n] != 0xFF) {
    if (!IsAsciiInGsm(pAlpha[n])) {
      return false;
    }
    ++n;
  }
  const int nMax = std::min(nUnits - 1, nOutSize - 1);
  n = std::min(n, nMax);
  std::memcpy(pszOut, pAlpha, static_cast<size_t>(n));
  pszOut[n] = '\0';
  return true;
}

}  // namespace

int CtSvcSimGetImsiCountryCode() {
  TapiImsiInfo info{};
  if (!SimGetImsiInfo(&info) || info.szMcc[0] == '\0') {
    return -1;
  }
  return std::atoi(info.szMcc);
}

int CtSvcSimDecodeAlpha(const UINT8* pAlpha, int nLen, int nFieldLen, CtSvcSimAlphaRule rule, int nUnits,
                        char* pszOut, int nOutSize) {
  if (pszOut == nullptr || nOutSize < 1) {
    return 0;
  }
  pszOut[0] = '\0';
  if (pAlpha == nullptr || nLen <= 0 || nUnits < 1) {
    return 0;
  }
  if (pAlpha[0] < 0x80 && CopyAsciiGsm(pAlpha, nLen, std::min(nUnits, kPCodeUnits), pszOut, nOutSize)) {
    return static_cast<int>(std::strlen(pszOut));
  }
  MCHAR aText[kPCodeUnits];
  nUnits = nUnits < kPCodeUnits ? nUnits : kPCodeUnits;
  aText[0] = 0;
  int nUnitsWritten;
  if (pAlpha[0] < 0x80) {
    nUnitsWritten = WmConvertGSM2PCode(aText, nUnits, pAlpha, nLen);
  } else if (pAlpha[0] <= 0x82 || rule == CtSvcSimAlphaRule::NoKsc) {
    nUnitsWritten = WmConvertSIMCode2PCode(aText, nUnits, pAlpha, nLen);
  } else if (CtSvcSimGetImsiCountryCode() == kKoreaCountryCode) {
    nUnitsWritten = WmConvertKSC56012Pcode(aText, nUnits, pAlpha, KscLength(pAlpha, nLen, nFieldLen));
  } else {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcSimDecodeAlpha: - exception path, first byte 0x%02X\n", pAlpha[0]);
    nUnitsWritten = WmConvertSIMCode2PCode(aText, nUnits, pAlpha, nLen);
  }
  if (nUnitsWritten <= 0) {
    return 0;
  }
  const int nBytes = WmConvert2LCode(pszOut, nOutSize, aText);
  return nBytes > 0 ? nBytes : 0;
}

int CtSvcSimEncodeAlpha(const char* pszName, UINT8* pOut, int nCapacity) {
  if (pOut == nullptr || nCapacity <= 0 || pszName == nullptr) {
    return 0;
  }
  MCHAR aText[kPCodeUnits] = {};
  if (WmConvert2PCode(aText, kPCodeUnits, pszName) < 0) {
    return 0;
  }
  const int nGsmSize = WmGetGSMCodeSize(aText);
  if (nGsmSize == 0) {
    return 0;
  }
  const int nLen = nGsmSize > 0 ? WmConvertPCode2GSM(pOut, nCapacity, aText) : WmConvertPCode2SIMCode(pOut, nCapacity, aText);
  if (nLen < 0) {
    return 0;
  }
  return nLen > nCapacity ? nCapacity : nLen;
}

UINT32 CtSvcSimDecodeNumber(const char* pszDigits, int nLen, UINT32 nTon, char* pszOut, int nOutSize) {
  char szNumber[kNumberSize] = {};
  CopyCut(pszDigits, strnlen(pszDigits, static_cast<size_t>(nLen > 0 ? nLen : 0)), szNumber, kNumberSize);
  UINT32 bInternational = 0;
  if (nTon == 1) {
    bInternational = CtSimConv2InternationalSString(szNumber) ? 0 : 1;
  }
  CopyCut(szNumber, std::strlen(szNumber), pszOut, nOutSize);
  return bInternational;
}

UINT32 CtSvcSimEncodeNumber(const char* pszNumber, UINT32 bInternational, char* pszOut, int nOutSize) {
  char szNumber[kNumberSize] = {};
  CopyCut(pszNumber, strnlen(pszNumber, kNumberSize - 1), szNumber, kNumberSize);
  int bPlus = 0;
  if (!CtConvert2ValidPhoneNumber(szNumber, kNumberSize, &bPlus)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcSimEncodeNumber: - '+' in a place the card cannot keep, number written as it is\n");
  }
  CopyCut(szNumber, std::strlen(szNumber), pszOut, nOutSize);
  return (bPlus || bInternational) ? 1 : 0;
}

void CtSvcSimPresentNumber(const char* pszNumber, UINT32 bInternational, const char* pszExtension, char* pszOut,
                           int nOutSize) {
  std::string strNumber = bInternational ? "+" : "";
  strNumber += pszNumber;
  if (pszExtension != nullptr) {
    strNumber.append(pszExtension, strnlen(pszExtension, 40));
  }
  CopyCut(strNumber.data(), strNumber.size(), pszOut, nOutSize);
}

void CtSvcSimFillNumber(const char* pszNumber, UINT32 bInternational, bool bPlusFromNumber, UINT32* pnTon,
                        UINT32* pnNumberLen, char* pszField) {
  char szDigits[kNumberSize] = {};
  if (bPlusFromNumber) {
    *pnTon = CtSvcSimEncodeNumber(pszNumber, bInternational, szDigits, kNumberSize);
  } else {
    CtSvcSimCopyText(szDigits, kNumberSize, pszNumber);
    *pnTon = bInternational ? 1 : 0;
  }
  const size_t nDigits = strnlen(szDigits, kRecordDigits);
  *pnNumberLen = static_cast<UINT32>(nDigits);
  std::memcpy(pszField, szDigits, nDigits);
}

void CtSvcSimCopyText(char* pszDest, size_t nDestSize, const char* pszSource, size_t nSourceMax) {
  if (pszDest == nullptr || nDestSize == 0) {
    return;
  }
  const size_t nMax = nSourceMax < nDestSize - 1 ? nSourceMax : nDestSize - 1;
  const size_t nLen = pszSource != nullptr ? strnlen(pszSource, nMax) : 0;
  std::memcpy(pszDest, pszSource, nLen);
  pszDest[nLen] = '\0';
}
