// Phone-number validity and the '+' of international numbers, for plain numbers and for
// supplementary-service strings ("*21*+4930123#").
#include <cstring>

#include "CtSvcUtil.h"
#include "CtSvcUtil/CtSvcUtilInternal.h"
#include "ZelDebug.h"

namespace {

// Longest supplementary-service string of the SIM (its buffer holds one byte more).
constexpr size_t kSimServiceStringMax = 40;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsDigitOrPlus(char c) { return c == '+' || IsDigit(c); }
bool IsServiceStringStart(char c) { return c == '*' || c == '#'; }

CtSvcNumberScan ScanPlainNumber(const char* pszNumber, size_t nLen) {
  const bool bPlusInside = nLen > 1 && std::memchr(pszNumber + 1, '+', nLen - 1) != nullptr;
  return CtSvcNumberScan{!bPlusInside, false, 0};
}

// The first digit or '+' at or after nFrom, or -1.
int FindDigitOrPlus(const char* pszNumber, size_t nFrom, size_t nLen) {
  for (size_t i = nFrom; i < nLen; ++i) {
    if (IsDigitOrPlus(pszNumber[i])) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

CtSvcNumberScan ScanServiceString(const char* pszNumber, size_t nLen) {
  bool bDigitSeen = false;
  int nStart = -1;
  for (size_t i = 1; i < nLen; ++i) {
    const char c = pszNumber[i];
    if (nStart >= 0) {
      if (c == '+') {
        return CtSvcNumberScan{false, true, nStart};
      }
      continue;
    }
    if (c == '+') {
      return CtSvcNumberScan{false, true, -1};
    }
    if (IsDigit(c)) {
      bDigitSeen = true;
    } else if (bDigitSeen && IsServiceStringStart(c)) {
      nStart = FindDigitOrPlus(pszNumber, i + 1, nLen);
      if (nStart < 0) {
        return CtSvcNumberScan{true, true, -1};
      }
      i = static_cast<size_t>(nStart);  // the start itself may be '+'
    }
  }
  return CtSvcNumberScan{true, true, nStart};
}

}  // namespace

CtSvcNumberScan CtSvcScanPhoneNumber(const char* pszNumber, size_t nLen) {
  if (nLen > 0 && IsServiceStringStart(pszNumber[0])) {
    return ScanServiceString(pszNumber, nLen);
  }
  return ScanPlainNumber(pszNumber, nLen);
}

extern "C" BOOL CtConvert2ValidPhoneNumber(char* pszNumber, int nBufferSize, int* pbInternational) {
  if (pszNumber == nullptr || pbInternational == nullptr || nBufferSize < 1) {
    DbgPrint(DBG_CLASS_FAIL, "CtConvert2ValidPhoneNumber: - invalid arguments\n");
    return FALSE;
  }
  const size_t nSize = static_cast<size_t>(nBufferSize);
  const size_t nLen = strnlen(pszNumber, nSize);
  if (nLen == nSize) {
    DbgPrint(DBG_CLASS_FAIL, "CtConvert2ValidPhoneNumber: - number is not terminated within %d bytes\n", nBufferSize);
    return FALSE;
  }
  const CtSvcNumberScan scan = CtSvcScanPhoneNumber(pszNumber, nLen);
  if (!scan.bValid) {
    return FALSE;
  }
  if (scan.nNumberStart < 0) {
    return TRUE;  // a service string without a number: the flag stays as it was
  }
  const size_t nStart = static_cast<size_t>(scan.nNumberStart);
  if (pszNumber[nStart] == '+') {
    std::memmove(pszNumber + nStart, pszNumber + nStart + 1, nLen - nStart);  // with the terminator
    pszNumber[nSize - 1] = '\0';
    *pbInternational = 1;
  } else {
    *pbInternational = 0;
  }
  return TRUE;
}

extern "C" BOOL CtSvcCheckValidPhoneNumber(const char* pszNumber) {
  if (pszNumber == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcCheckValidPhoneNumber: - pszNumber is NULL\n");
    return FALSE;
  }
  return CtSvcScanPhoneNumber(pszNumber, std::strlen(pszNumber)).bValid ? TRUE : FALSE;
}

extern "C" BOOL CtSimConv2InternationalSString(char* pszString) {
  if (pszString == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSimConv2InternationalSString: - pszString is NULL\n");
    return FALSE;
  }
  const size_t nLen = strnlen(pszString, kSimServiceStringMax + 1);
  if (nLen > kSimServiceStringMax) {
    DbgPrint(DBG_CLASS_FAIL, "CtSimConv2InternationalSString: - string longer than %zu bytes\n", kSimServiceStringMax);
    return FALSE;
  }
  const CtSvcNumberScan scan = CtSvcScanPhoneNumber(pszString, nLen);
  if (!scan.bServiceString || !scan.bValid || scan.nNumberStart < 0 || pszString[scan.nNumberStart] == '+') {
    return FALSE;  // nothing to change (an existing '+' at the start is already international)
  }
  // Insert '+' at the number start; a 40-byte string loses its last byte.
  const size_t nStart = static_cast<size_t>(scan.nNumberStart);
  const size_t nNewLen = nLen + 1 > kSimServiceStringMax ? kSimServiceStringMax : nLen + 1;
  std::memmove(pszString + nStart + 1, pszString + nStart, nNewLen - nStart - 1);
  pszString[nStart] = '+';
  pszString[nNewLen] = '\0';
  return TRUE;
}
