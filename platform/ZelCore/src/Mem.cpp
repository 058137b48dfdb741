// Platform allocator: every block is recorded with the source file and line that asked for it, so
// the number of blocks not yet freed can be checked and a free of a foreign or already freed
// pointer is reported instead of corrupting the heap.
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "ZelDebug.h"
#include "ZelImmortal.h"
#include "ZelMem.h"

namespace {

struct BlockTag {
  const char* pszFile;
  int nLine;
  size_t nSize;
};

struct Heap {
  std::mutex mutex;
  std::unordered_map<void*, BlockTag> blocks;
};

Heap& TheHeap() {
  static zel::Immortal<Heap> s_heap;
  return s_heap.Get();
}

void* Allocate(size_t nSize, bool bZero, const char* pszFile, int nLine) {
  // A zero-byte request still gets a block of its own, so it can be told apart and freed.
  void* p = bZero ? std::calloc(nSize == 0 ? 1 : nSize, 1) : std::malloc(nSize == 0 ? 1 : nSize);
  if (p == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "MemAllocTraceEx: - out of memory for %zu bytes (%s:%d)\n", nSize,
             pszFile != nullptr ? pszFile : "?", nLine);
    return nullptr;
  }
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  heap.blocks[p] = BlockTag{pszFile, nLine, nSize};
  return p;
}

}  // namespace

extern "C" void* MemAllocTraceEx(size_t nSize, const char* pszFile, int nLine) {
  return Allocate(nSize, false, pszFile, nLine);
}

extern "C" void* MemCallocTraceEx(size_t nSize, const char* pszFile, int nLine) {
  return Allocate(nSize, true, pszFile, nLine);
}

extern "C" void MemFreeTraceMultiHeap(void* p, const char* pszFile, int nLine) {
  if (p == nullptr) {
    return;
  }
  {
    Heap& heap = TheHeap();
    std::lock_guard<std::mutex> lock(heap.mutex);
    if (heap.blocks.erase(p) == 0) {
      DbgPrint(DBG_CLASS_FAIL, "MemFreeTraceMultiHeap: - %p is not an allocated block (%s:%d)\n", p,
               pszFile != nullptr ? pszFile : "?", nLine);
      return;
    }
  }
  std::free(p);
}

extern "C" size_t MemGetOutstandingCount(void) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  return heap.blocks.size();
}
