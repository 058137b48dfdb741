// The stamp of a store that was checked whole and then closed cleanly.
//
// Opening runs the engine's page-by-page check before anything may write, so that a damaged file
// is refused and left as it is. On a large store that check costs tenths of a second, and a store
// nobody touched since this library closed it cleanly needs no second check: SQLite kept it whole
// while it was open. The stamp records the file's identity and its size, modification and change
// times at that clean close, in "<file>-verified". Any later write to the file moves its change
// time (which no program can set back), and a close that left a write-ahead log behind (a crash,
// or another process still writing) writes no stamp, so either way the next open checks again.
#ifndef ZEL_DB2_VERIFIED_STAMP_H
#define ZEL_DB2_VERIFIED_STAMP_H

#include <string>

namespace zel::db2 {

// True when the file is exactly as it was at its last clean close and no log is left beside it.
bool IsUnchangedSinceCleanClose(const std::string& path);

// Records the file as closed cleanly, or forgets an older record when a log is left beside it.
void StampCleanClose(const std::string& path);

// Forgets the record, so the next open checks the whole file.
void ForgetCleanClose(const std::string& path);

}  // namespace zel::db2

#endif
