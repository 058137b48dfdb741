// One region of memory for the page caches of every SQLite connection of the process.
//
// SQLite takes a cache page from malloc on the thread that runs the statement. glibc gives each
// thread its own arena, and memory freed in one arena is not reused by another: a store read on
// one thread and written on another (the bulk timer, the event handler) kept a whole page cache
// of freed memory in each. Pages from one region are reused whichever thread asks.
#ifndef ZEL_DB2_PAGE_MEMORY_H
#define ZEL_DB2_PAGE_MEMORY_H

namespace zel::db2 {

// Gives SQLite the region before its first use in the process (later calls do nothing). Pages
// beyond the region, or of a size it was not made for, still come from malloc.
void UseSharedPageMemory();

}  // namespace zel::db2

#endif
