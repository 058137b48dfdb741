// String helpers over 8-bit (UTF-8) and 16-bit (UTF-16) strings; null reads as the empty string.
#include <unicode/uchar.h>

#include <cstring>

#include "ZelAc.h"
#include "ZelMem.h"

namespace {

const char* OrEmpty(const char* s) { return s != nullptr ? s : ""; }
const MCHAR* OrEmpty(const MCHAR* s) {
  static const MCHAR s_empty[1] = {0};
  return s != nullptr ? s : s_empty;
}

int AsciiLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u; }
bool IsHighSurrogate(MCHAR c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(MCHAR c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsSurrogate(MCHAR c) { return c >= 0xD800 && c <= 0xDFFF; }

// Case mapping of one BMP character through ICU; characters whose mapping leaves the BMP (or
// surrogate halves) stay as they are.
MCHAR MapBmp(MCHAR c, UChar32 (*pfnMap)(UChar32)) {
  if (IsSurrogate(c)) {
    return c;
  }
  const UChar32 mapped = pfnMap(static_cast<UChar32>(c));
  return mapped >= 0 && mapped <= 0xFFFF ? static_cast<MCHAR>(mapped) : c;
}

}  // namespace

extern "C" size_t AcStrlen(const char* s) { return std::strlen(OrEmpty(s)); }

extern "C" int AcStrcmp(const char* a, const char* b) { return std::strcmp(OrEmpty(a), OrEmpty(b)); }

extern "C" int AcStrnicmp(const char* a, const char* b, size_t n) {
  const unsigned char* pa = reinterpret_cast<const unsigned char*>(OrEmpty(a));
  const unsigned char* pb = reinterpret_cast<const unsigned char*>(OrEmpty(b));
  for (size_t i = 0; i < n; ++i) {
    const int d = AsciiLower(pa[i]) - AsciiLower(pb[i]);
    if (d != 0 || pa[i] == 0) {
      return d;
    }
  }
  return 0;
}

extern "C" int AcStricmp(const char* a, const char* b) { return AcStrnicmp(a, b, static_cast<size_t>(-1)); }

extern "C" size_t AcStrlcpy(char* pDst, const char* pSrc, size_t nSize) {
  if (pDst == nullptr || nSize == 0) {
    return 0;
  }
  const char* src = OrEmpty(pSrc);
  const size_t nLen = std::strlen(src);
  size_t nCopy = nLen < nSize - 1 ? nLen : nSize - 1;
  // Cut before a sequence that would not fit whole.
  while (nCopy > 0 && nCopy < nLen && IsUtf8Continuation(src[nCopy])) {
    --nCopy;
  }
  std::memmove(pDst, src, nCopy);
  pDst[nCopy] = '\0';
  return nCopy;
}

extern "C" size_t AcWcslen(const MCHAR* s) {
  const MCHAR* p = OrEmpty(s);
  size_t n = 0;
  while (p[n] != 0) {
    ++n;
  }
  return n;
}

extern "C" int AcWcscmp(const MCHAR* a, const MCHAR* b) {
  const MCHAR* pa = OrEmpty(a);
  const MCHAR* pb = OrEmpty(b);
  for (; *pa != 0 && *pa == *pb; ++pa, ++pb) {
  }
  return static_cast<int>(*pa) - static_cast<int>(*pb);
}

extern "C" size_t AcWcslcpy(MCHAR* pDst, const MCHAR* pSrc, size_t nCount) {
  if (pDst == nullptr || nCount == 0) {
    return 0;
  }
  const MCHAR* src = OrEmpty(pSrc);
  const size_t nLen = AcWcslen(src);
  size_t nCopy = nLen < nCount - 1 ? nLen : nCount - 1;
  if (nCopy > 0 && nCopy < nLen && IsHighSurrogate(src[nCopy - 1]) && IsLowSurrogate(src[nCopy])) {
    --nCopy;  // keep the pair together
  }
  std::memmove(pDst, src, nCopy * sizeof(MCHAR));
  pDst[nCopy] = 0;
  return nCopy;
}

extern "C" MCHAR AcTowlower(MCHAR c) { return MapBmp(c, u_tolower); }

extern "C" MCHAR AcTowupper(MCHAR c) { return MapBmp(c, u_toupper); }

extern "C" void* AcMemAlloc(size_t nSize) { return MemCallocTraceEx(nSize, "AcMemAlloc", 0); }

extern "C" void AcMemFree(void* p) { MemFreeTraceMultiHeap(p, "AcMemFree", 0); }
