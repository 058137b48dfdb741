/* Database-wide functions of the contact service. */
#ifndef CTSVC_DB_H
#define CTSVC_DB_H

#include "CtSvcTypes.h"

ZEL_EXTERN_C_BEGIN

/* Creates every missing table of the contact store. 1/0. */
BOOL CtSvcInitializeDB(void);
/* Drops every table and its indexes: erases the whole contact store. 1/0. */
BOOL CtSvcUnInitializeDB(void);
/* The schema version of the code, "1.1.76.0.0". */
const char* CtSvcGetDBCodeVer(void);
/* 1 when the volume holding the contact store is full. */
BOOL CtSvcIsDbFull(void);
/* The store's tables, for a diagnostic view: the name of table nIndex (0, 1, ... in a fixed order)
 * into pszName (cut to nNameSize bytes with its terminator) and its number of rows into *pnRows
 * (-1 when they cannot be counted). 0 past the last table, for a null pointer or a size below 1. */
BOOL CtSvcDbGetTableInfo(INT32 nIndex, char* pszName, INT32 nNameSize, INT32* pnRows);
/* A file was renamed or moved: rewrites the stored paths that name it (other data, group ringtones). */
BOOL CtSvcDbChangedFile(const char* pszOldPath, const char* pszNewPath);
/* A folder was renamed or moved: rewrites every stored path below it. */
BOOL CtSvcDbChangedFolder(const char* pszOldPath, const char* pszNewPath);
/* Creates / drops the full-text indexes over numbers, e-mails and names. 1/0. */
BOOL CtDbSvcCreateSearchSvcIndex(void);
BOOL CtDbSvcDeleteSearchSvcIndex(void);

ZEL_EXTERN_C_END

#endif
