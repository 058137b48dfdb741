/* File system. Platform paths ("/User/Ct/a.vcf", "CtSet.ini") are rooted in the data directory. */
#ifndef ZEL_FM_H
#define ZEL_FM_H

#include "ZelTypes.h"

/* FmOpenFile modes (combine with |). */
#define FM_READ 0x01u
#define FM_WRITE 0x02u
#define FM_CREATE 0x04u   /* create when missing */
#define FM_TRUNCATE 0x08u
#define FM_APPEND 0x10u

#define FM_SEEK_SET 0
#define FM_SEEK_CUR 1
#define FM_SEEK_END 2

ZEL_EXTERN_C_BEGIN

/* Sets the data directory (created when missing). FALSE when it cannot be created or is not a directory. */
BOOL ZelSetDataDir(const char* pszHostDir);
/* The data directory; "./ctsvc-data" until one is set. */
const char* ZelGetDataDir(void);

/* Host path of a platform path; FALSE when it does not fit or climbs out of the data directory ("..").
 * A host path that already lies inside the data directory is returned unchanged. */
BOOL FmGetHostPath(const char* pszPath, char* pszHostPath, size_t nSize);

HOBJ FmOpenFile(const char* pszPath, UINT32 nMode);
HOBJ FmCreateFile(const char* pszPath); /* write, create, truncate */
INT32 FmReadFile(HOBJ hFile, void* pBuffer, UINT32 nSize);        /* bytes read, -1 on error */
INT32 FmWriteFile(HOBJ hFile, const void* pBuffer, UINT32 nSize); /* bytes written, -1 on error */
INT32 FmSeekFile(HOBJ hFile, INT32 nOffset, int nWhence);         /* new position, -1 on error */
INT32 FmGetFileSize(HOBJ hFile);
BOOL FmCloseFile(HOBJ hFile);

BOOL FmIsFileExist(const char* pszPath);
BOOL FmIsDirExist(const char* pszPath);
BOOL FmCreateDir(const char* pszPath); /* with missing parents; TRUE when it exists already */
BOOL FmDeleteFile(const char* pszPath);
BOOL FmDeleteDir(const char* pszPath); /* with its content; never the data directory itself */
BOOL FmCopyFile(const char* pszSrc, const char* pszDst); /* replaces pszDst; FALSE for a copy onto itself */
BOOL FmRenameFile(const char* pszOld, const char* pszNew);
INT32 FmGetFileSizeByPath(const char* pszPath); /* -1 when missing */
/* Bytes available on the volume that holds the path (its nearest existing folder); -1 on error. */
INT64 FmGetAvailableSize(const char* pszPath);

ZEL_EXTERN_C_END

#endif
