#include "PageMemory.h"

#include <sqlite3.h>
#include <sys/mman.h>

#include <mutex>

#include "ZelDebug.h"

namespace zel::db2 {

namespace {

// As many pages as one connection's cache holds (PRAGMA cache_size=-32768: 32 MiB of 4 KiB pages).
constexpr int kPages = 8192;
constexpr int kPageSize = 4096;

void Configure() {
  int nHeader = 0;
  if (sqlite3_config(SQLITE_CONFIG_PCACHE_HDRSZ, &nHeader) != SQLITE_OK) {
    return;
  }
  const int nSlot = (kPageSize + nHeader + 7) / 8 * 8;
  const size_t nBytes = static_cast<size_t>(nSlot) * kPages;
  // Reserved address space only: a page of it becomes resident when SQLite first uses it. It is
  // never unmapped; SQLite may use it until the process ends.
  void* pRegion = mmap(nullptr, nBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (pRegion == MAP_FAILED) {
    return;
  }
  if (sqlite3_config(SQLITE_CONFIG_PAGECACHE, pRegion, nSlot, kPages) != SQLITE_OK) {
    // SQLite was already in use in this process (its settings are fixed then).
    munmap(pRegion, nBytes);
    DbgPrint(DBG_CLASS_TRACE, "Db2Open - page caches stay with malloc: SQLite was already in use\n");
  }
}

}  // namespace

void UseSharedPageMemory() {
  static std::once_flag s_once;
  std::call_once(s_once, Configure);
}

}  // namespace zel::db2
