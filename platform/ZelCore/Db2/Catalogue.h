// Tables the Db2 layer keeps for itself in every database.
#ifndef ZEL_DB2_CATALOGUE_H
#define ZEL_DB2_CATALOGUE_H

namespace zel::db2 {

// Full-text indexes: one row per index, names in lower case. groupname and idxname are read by
// the service; the other columns tell the search how to reach the index.
inline constexpr char kCreateFtsCatalogue[] =
    "CREATE TABLE IF NOT EXISTS sysirs_indexes (groupname TEXT NOT NULL, idxname TEXT NOT NULL, "
    "tablename TEXT NOT NULL, colname TEXT NOT NULL, ftsname TEXT NOT NULL, tokenizer TEXT NOT NULL, "
    "rowcondition TEXT NOT NULL DEFAULT '', PRIMARY KEY (groupname, idxname))";

// Schema versions recorded by modules (Db2SetSchemaVer).
inline constexpr char kCreateSchemaVersions[] =
    "CREATE TABLE IF NOT EXISTS sysschema_versions (module TEXT PRIMARY KEY, version TEXT NOT NULL)";

}  // namespace zel::db2

#endif
