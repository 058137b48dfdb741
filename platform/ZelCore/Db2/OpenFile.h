// How Db2Open reaches the database file: for writing when this process may write it, otherwise
// for reading only; and which files it takes for one of its own.
#ifndef ZEL_DB2_OPEN_FILE_H
#define ZEL_DB2_OPEN_FILE_H

#include <sqlite3.h>

#include <string>

namespace zel::db2 {

// Opens the file for reading and writing, creating it when missing; or, when this process may
// not write the file or its directory, for reading only. A read-only store whose directory holds
// no shared-memory index and cannot get one is read as an immutable file. An SQLite result code;
// *ppDb is set either way (sqlite3_close_v2 it).
int OpenFile(const std::string& path, sqlite3** ppDb);

// True when the connection cannot write its main database.
bool IsReadOnly(sqlite3* pDb);

// A file that holds tables but not the catalogue this layer keeps in every database was made by
// another program: DB2_ERR_CORRUPT (reported), so that it is left as it is. DB2_OK for a file of
// this layer, and for one without any table (a new database).
int CheckOwnFile(sqlite3* pDb, const std::string& path);

}  // namespace zel::db2

#endif
