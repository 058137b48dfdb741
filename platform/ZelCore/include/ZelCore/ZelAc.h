/* String helpers over 8-bit (L-code) and 16-bit (P-code) strings. All accept null as the empty string. */
#ifndef ZEL_AC_H
#define ZEL_AC_H

#include "ZelTypes.h"

ZEL_EXTERN_C_BEGIN

size_t AcStrlen(const char* s);
int AcStrcmp(const char* a, const char* b);
int AcStricmp(const char* a, const char* b);      /* ASCII case-insensitive */
int AcStrnicmp(const char* a, const char* b, size_t n);
/* Copies at most nSize-1 bytes and always terminates (nSize > 0); never splits a UTF-8 sequence.
 * Returns the number of bytes copied. */
size_t AcStrlcpy(char* pDst, const char* pSrc, size_t nSize);

size_t AcWcslen(const MCHAR* s);
int AcWcscmp(const MCHAR* a, const MCHAR* b);
/* Copies at most nCount-1 units and always terminates (nCount > 0); never splits a surrogate pair. */
size_t AcWcslcpy(MCHAR* pDst, const MCHAR* pSrc, size_t nCount);
MCHAR AcTowlower(MCHAR c);
MCHAR AcTowupper(MCHAR c);

void* AcMemAlloc(size_t nSize); /* zero-filled, freed with AcMemFree */
void AcMemFree(void* p);

ZEL_EXTERN_C_END

#endif
