#include "CtSvcSim/SimFile/CtSvcSimCodec.h"

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
