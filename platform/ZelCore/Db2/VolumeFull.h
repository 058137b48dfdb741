// The full volume as the write path sees it. A test can force it; a write the engine could not
// store for lack of room (SQLITE_FULL) marks it until the file system has room again. While the
// volume is full every write is refused with the engine's own "disk full" error; reads go on.
#ifndef ZEL_DB2_VOLUME_FULL_H
#define ZEL_DB2_VOLUME_FULL_H

namespace zel::db2 {

// The error text of a refused write: the engine's text for SQLITE_FULL, so both read the same.
inline constexpr char kDiskFullMessage[] = "database or disk is full";

// True when a write to a database in pszDir must be refused. One atomic load on the normal path;
// only after the engine reported a full disk does it ask the file system whether room came back.
bool IsVolumeFullForWrites(const char* pszDir);

// Remembers that the engine reported a full disk.
void NoteDiskFull();

}  // namespace zel::db2

#endif
