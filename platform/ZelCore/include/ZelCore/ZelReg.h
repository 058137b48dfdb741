/* Registry-style ini files ("CtSet.ini"), addressed by name, kept loaded between RegLoad and RegUnload.
 * Section and key names are compared exactly; values are kept as given (a line break is refused,
 * REG_ERR_PARAM). RegGetInt answers REG_ERR_NO_KEY for a value that is not a decimal integer. */
#ifndef ZEL_REG_H
#define ZEL_REG_H

#include "ZelTypes.h"

#define REG_OK 0u
#define REG_ERR_FILE_NOT_EXIST 0x20007u
#define REG_ERR_NOT_LOADED 0x20008u
#define REG_ERR_NO_KEY 0x20009u
#define REG_ERR_BUFFER 0x2000Au
#define REG_ERR_IO 0x2000Bu
#define REG_ERR_PARAM 0x2000Cu

ZEL_EXTERN_C_BEGIN

/* Loads the file (a platform path). A missing file gives REG_ERR_FILE_NOT_EXIST unless bCreate is 1,
 * in which case an empty file is created. Loading a loaded file only counts the load. */
UINT32 RegLoad(const char* pszName, int bCreate);
UINT32 RegGetInt(const char* pszName, const char* pszSection, const char* pszKey, INT32* pnValue);
UINT32 RegSetInt(const char* pszName, const char* pszSection, const char* pszKey, INT32 nValue);
/* Copies the value, terminated, into pszValue; REG_ERR_BUFFER when it does not fit (nothing copied). */
UINT32 RegGetString(const char* pszName, const char* pszSection, const char* pszKey, char* pszValue, UINT32 nSize);
UINT32 RegSetString(const char* pszName, const char* pszSection, const char* pszKey, const char* pszValue);
UINT32 RegRemoveSection(const char* pszName, const char* pszSection);
UINT32 RegClean(const char* pszName); /* removes every section, in memory when loaded and in the file at once */
UINT32 RegFlush(const char* pszName); /* writes the file (atomically: temporary file and rename) */
UINT32 RegUnload(const char* pszName);

ZEL_EXTERN_C_END

#endif
