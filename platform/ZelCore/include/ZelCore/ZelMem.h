/* Platform allocator, tagged with the source file and line of each allocation. */
#ifndef ZEL_MEM_H
#define ZEL_MEM_H

#include "ZelTypes.h"

ZEL_EXTERN_C_BEGIN

void* MemAllocTraceEx(size_t nSize, const char* pszFile, int nLine);
void* MemCallocTraceEx(size_t nSize, const char* pszFile, int nLine); /* zero-filled */
void MemFreeTraceMultiHeap(void* p, const char* pszFile, int nLine);  /* null is ignored */

/* Number of allocations not yet freed (all threads). */
size_t MemGetOutstandingCount(void);

ZEL_EXTERN_C_END

#define MemAlloc(n) MemAllocTraceEx((n), __FILE__, __LINE__)
#define MemCalloc(n) MemCallocTraceEx((n), __FILE__, __LINE__)
#define MemFree(p) MemFreeTraceMultiHeap((p), __FILE__, __LINE__)

#endif
