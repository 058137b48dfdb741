/* The name order of the platform language: ICU collation at the first level (case and accents
 * ignored), ties broken by the UTF-16 code units, so that the order is total. The "no name" marker
 * U+FFFF sorts after every name. The language is the ICU locale id in CTSVC_LANGUAGE, read once;
 * unset, empty, "C" or "POSIX" mean the root order (English). */
#ifndef ZEL_COLLATE_H
#define ZEL_COLLATE_H

#include "ZelTypes.h"

ZEL_EXTERN_C_BEGIN

/* <0, 0 or >0 as a sorts before, equal to or after b (lengths in UTF-16 units). */
int ZelCollateCompare(const MCHAR* a, int nA, const MCHAR* b, int nB);

/* The same on big-endian UTF-16 bytes (the store's text encoding); lengths in bytes. */
int ZelCollateCompareBE(const void* pA, int nBytesA, const void* pB, int nBytesB);

/* The first-level sort key of a text (case and accents ignored) into pKey, zero-terminated.
 * Keys compare with memcmp in name order. Returns the key length including the zero, which may
 * exceed nCapacity (nothing useful is written then); -1 on bad arguments. */
int ZelCollatePrimaryKey(const MCHAR* s, int n, unsigned char* pKey, int nCapacity);

/* Identity of the order, "<locale> <collator version>": a store that recorded another identity
 * has indexes built in another order. */
const char* ZelCollateIdentity(void);

ZEL_EXTERN_C_END

#endif
