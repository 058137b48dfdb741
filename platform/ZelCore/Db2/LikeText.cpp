// Db2ConvertStringLike: a value made safe for a LIKE pattern used with ESCAPE '\'.
#include <cstring>

#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

// Bytes of the UTF-8 sequence starting at p (1 for ASCII and for stray bytes).
int SequenceLength(const char* p) {
  int n = 1;
  if ((static_cast<unsigned char>(*p) & 0xC0) == 0xC0) {
    while ((static_cast<unsigned char>(p[n]) & 0xC0) == 0x80) {
      ++n;
    }
  }
  return n;
}

}  // namespace

extern "C" BOOL Db2ConvertStringLike(const char* pszText, char* pszOut, int nSize) {
  if (!ZEL_REQUIRE(pszText != NULL) || !ZEL_REQUIRE(pszOut != NULL) || !ZEL_REQUIRE(nSize > 0)) {
    return FALSE;
  }
  int n = 0;
  for (const char* p = pszText; *p != '\0';) {
    const int nIn = SequenceLength(p);
    const bool bEscape = *p == '\\' || *p == '%' || *p == '_';
    if (n + nIn + (bEscape ? 1 : 0) >= nSize) {  // never cut an escape pair or a character
      pszOut[n] = '\0';
      DbgPrint(DBG_CLASS_FAIL, "Db2ConvertStringLike - text cut to %d bytes\n", n);
      return FALSE;
    }
    if (bEscape) {
      pszOut[n++] = '\\';
    }
    std::memcpy(pszOut + n, p, static_cast<size_t>(nIn));
    n += nIn;
    p += nIn;
  }
  pszOut[n] = '\0';
  return TRUE;
}
