// One loaded settings file for the length of a scope: loads it (creating it when it is missing, if
// asked), reads and writes keys, flushes, and unloads it when the scope ends unless that was done.
#ifndef CTSVC_REG_FILE_H
#define CTSVC_REG_FILE_H

#include <string>

#include "ZelReg.h"

class CCtSvcRegFile {
 public:
  // bCreateIfMissing: a file that does not exist (REG_ERR_FILE_NOT_EXIST) is created.
  CCtSvcRegFile(const char* pszName, bool bCreateIfMissing);
  ~CCtSvcRegFile();
  CCtSvcRegFile(const CCtSvcRegFile&) = delete;
  CCtSvcRegFile& operator=(const CCtSvcRegFile&) = delete;

  bool IsLoaded() const { return m_bLoaded; }
  // The error of the load (REG_OK when loaded); for a missing file that had to be created, the
  // error of the creating load.
  UINT32 LoadError() const { return m_nLoadError; }
  // Whether the first load found the file missing.
  bool WasMissing() const { return m_bWasMissing; }

  int GetInt(const char* pszSection, const char* pszKey, int nDefault) const;
  // The text of the key, at most nMaxBytes - 1 bytes (as read into a buffer of that size), or
  // the default when the key is missing or longer.
  std::string GetString(const char* pszSection, const char* pszKey, size_t nMaxBytes,
                        const char* pszDefault = "") const;
  UINT32 SetInt(const char* pszSection, const char* pszKey, int nValue);
  UINT32 SetString(const char* pszSection, const char* pszKey, const char* pszValue);
  UINT32 Flush();
  // Unloads now (the destructor then does nothing); REG_OK when nothing was loaded.
  UINT32 Unload();

 private:
  std::string m_name;
  bool m_bLoaded = false;
  bool m_bWasMissing = false;
  UINT32 m_nLoadError = REG_OK;
};

#endif
