/* Embedded SQL database with full-text indexes. All calls act on the current connection: one
 * database file "ctsvc.db" in the data directory, opened on first use. Statement texts are in the
 * platform dialect and are translated for the engine in one place. */
#ifndef ZEL_DB2_H
#define ZEL_DB2_H

#include "ZelTm.h"
#include "ZelTypes.h"

/* Value types of a statement field. */
typedef enum Db2FieldType {
  DB2_FIELD_NULL = 0,
  DB2_FIELD_INT32 = 1,    /* INT32 */
  DB2_FIELD_INT64 = 2,    /* INT64 */
  DB2_FIELD_DOUBLE = 3,   /* double */
  DB2_FIELD_TEXT16 = 4,   /* MCHAR text, nLength in bytes without the terminator */
  DB2_FIELD_TEXT = 5,     /* UTF-8 text, nLength in bytes without the terminator */
  DB2_FIELD_DATETIME = 6, /* TmDateTime */
  DB2_FIELD_BLOB = 7
} Db2FieldType;

/* One placeholder or result column. For a parameter the caller sets nType, pBuffer and nLength
 * (a null pBuffer binds SQL NULL) and keeps the buffer alive until the statement executes.
 * For a result column the fields describe the current row; pBuffer is null for SQL NULL and
 * stays valid until the next row is fetched or the row is cleared. Text is terminated. */
typedef struct Db2Field {
  Db2FieldType nType;
  void* pBuffer;
  INT32 nLength;
} Db2Field;

/* Result of Db2Open. */
#define DB2_OK 0
#define DB2_ERR_OPEN -1    /* the file or its directory cannot be opened or created */
#define DB2_ERR_CORRUPT -2 /* the file is damaged, not a database, or holds the tables of another program;
                              it is left untouched */

ZEL_EXTERN_C_BEGIN

/* Connection. Db2Open opens (creating when missing) "ctsvc.db" in the data directory, or the given
 * host path when pszPath is not null; any earlier connection is closed first. A file this process
 * may not write is opened for reading only (writes then fail). The other calls open the default
 * connection on first use when none is open. */
int Db2Open(const char* pszPath);
void Db2Close(void);
BOOL Db2IsOpen(void);
const char* Db2GetLastError(void); /* engine message of the calling thread's last failure */

/* Immediate queries: printf-style text. Negative = failure; else the number of rows a SELECT
 * produced (left for Db2GetNextRow / Db2GetColumn on this thread), or the rows a write changed. */
int Db2QueryEx(const char* pszFormat, ...) ZEL_PRINTF(1, 2);
int Db2GetNextRow(void);                /* > 0 when a row was fetched */
const char* Db2GetColumn(int nIndex);  /* text of the column of the fetched row; "" for NULL or a bad index */

int Db2CheckTable(const char* pszTableName); /* 0 when the table does not exist */
BOOL Db2SetSchemaVer(const char* pszModule, const char* pszVersion);
/* The recorded schema version of the module into pszVersion; FALSE when none is recorded. */
BOOL Db2GetSchemaVer(const char* pszModule, char* pszVersion, UINT32 nSize);

/* Prepared statements; handles are >= 0, -1 when invalid. */
int Db2StmtCreate(const char* pszSql);
int Db2StmtGetBindParamCount(int hStmt);
int Db2StmtGetBindResCount(int hStmt);
Db2Field* Db2StmtGetBindParamFields(int hStmt);
Db2Field* Db2StmtGetBindResFields(int hStmt);
/* Binds the parameter fields and runs the statement: the number of result rows of a query (all
 * rows are read, so the count is exact), or the rows a write changed; negative on failure. */
int Db2StmtExecute(int hStmt);
/* Binds like Db2StmtExecute and runs a query, handing the first column of each row as an integer
 * to pfnRow instead of keeping the rows: the number of rows, negative on failure (also when a
 * value is not a number).
 * For long id lists, which would otherwise be copied row by row. */
int Db2StmtExecuteInts(int hStmt, void (*pfnRow)(void* pContext, INT32 nValue), void* pContext);
int Db2StmtGetNextRow(int hStmt);                          /* > 0 when a row was fetched */
int Db2StmtSeekRow(int hStmt, int nWhence, int nRow);      /* nWhence 0: from the first row; > 0 ok */
int Db2StmtClearRow(int hStmt);
int Db2StmtDestroy(int hStmt);

/* Transactions. A write opens a transaction; Db2Commit / Db2CommitLite commit it unless commits
 * are paused; Db2Rollback discards the open work. Pause/resume bracket writes that must be
 * committed together (a counter: an accidental nesting is harmless). */
BOOL Db2Commit(void);
BOOL Db2CommitLite(void);
BOOL Db2Rollback(void);
BOOL Db2CommitPause(void);
BOOL Db2CommitResume(void);
BOOL Db2IsCommitPaused(void);
BOOL Db2TransSetRU(void);
BOOL Db2TransUnsetRU(void);

/* Write units: several writes that land together or not at all, whatever other processes do.
 * Db2UnitBegin takes the write lock at once (waiting a bounded time while another connection
 * writes), pauses commits and marks a savepoint; units nest. Db2UnitEnd(TRUE) keeps the unit's
 * work unless a statement of the calling thread failed or a write was refused inside it;
 * Db2UnitEnd(FALSE) undoes exactly the unit's work. Commits then resume as they were: the caller
 * commits as it would have without the unit. Db2UnitEnd answers TRUE when the work was kept;
 * Db2UnitBegin FALSE when the lock could not be had (nothing is open then). */
BOOL Db2UnitBegin(void);
BOOL Db2UnitEnd(BOOL bKeep);
/* Marks the calling thread's open unit failed (a step refused without a failed statement): its
 * outermost unit undoes its work. Nothing happens outside a unit. */
void Db2UnitFail(void);
/* Takes the write lock now, opening the write transaction a write would open. */
BOOL Db2LockForWrite(void);
/* A number that changes whenever another connection (process) committed since this connection
 * last looked; -1 on failure. Cheap: no table is read. */
long long Db2DataVersion(void);

/* TRUE when the volume holding the tables is full (volume 2 is "vol2", the data directory). */
BOOL Db2IsVolumeFull(int nVolume);
/* Escapes '\', '%' and '_' with a backslash for a LIKE pattern (used with ESCAPE '\'). The output
 * is always terminated; FALSE when it had to be cut to fit nSize. */
BOOL Db2ConvertStringLike(const char* pszText, char* pszOut, int nSize);

/* Full-text search. */
int Db2FTSDoSyntax(const char* pszStatement, int nFlags); /* TRUE/FALSE */
/* pszQuery: "[group, {index, 'a*' and 'b*' }]". Returns a handle >= 0 or negative. */
int Db2FTSCreate(const char* pszQuery, int nMode, int nFlags);
int Db2FTSAddFetchColumnList(int hFts, int nPos, const char* pszTable, const char* pszColumn);
/* A column handle for "Table:Column", or negative. Freed with Db2FTSFreeDBTableColumn. */
int Db2FTSMakeDBTableColumn(const char* pszTableColumn);
void Db2FTSFreeDBTableColumn(int hColumn);
int Db2FTSSetSortOption(int hFts, int hColumn, int nAscending, int nFlags);
int Db2FTSSetRangeQuery(int hFts, int hColumn, const char* pszFrom, const char* pszTo);
int Db2FTSExecute(int hFts, int nFlags);                                        /* >= 0 ok */
int Db2FTSExecuteWithRID(int hFts, int nFlags, int nMode, const char* pszRidSubQuery); /* >= 0 ok */
int Db2FTSGetResultCnt(int hFts, int nFlags);                                    /* -1 on failure */
/* Copies the fetch columns of the result at nOffset into pRecord (the ID as INT32 in the first 4
 * bytes). > 0 ok. */
int Db2FTSFetchResultRecord(int hFts, int nOffset, void* pRecord, int nSize);
int Db2FTSQuitResultRecord(int hFts);
int Db2FTSDestroy(int hFts);

ZEL_EXTERN_C_END

#endif
