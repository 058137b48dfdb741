// Scoped access to one settings file through the platform's registry-file functions.
#include "CtSvcSetting/CtSvcRegFile.h"

#include <vector>

CCtSvcRegFile::CCtSvcRegFile(const char* pszName, bool bCreateIfMissing) : m_name(pszName) {
  m_nLoadError = RegLoad(pszName, 0);
  if (m_nLoadError == REG_ERR_FILE_NOT_EXIST) {
    m_bWasMissing = true;
    if (bCreateIfMissing) {
      m_nLoadError = RegLoad(pszName, 1);
    }
  }
  m_bLoaded = m_nLoadError == REG_OK;
}

CCtSvcRegFile::~CCtSvcRegFile() { Unload(); }

int CCtSvcRegFile::GetInt(const char* pszSection, const char* pszKey, int nDefault) const {
  INT32 nValue = nDefault;
  if (!m_bLoaded || RegGetInt(m_name.c_str(), pszSection, pszKey, &nValue) != REG_OK) {
    return nDefault;
  }
  return nValue;
}

std::string CCtSvcRegFile::GetString(const char* pszSection, const char* pszKey, size_t nMaxBytes,
                                     const char* pszDefault) const {
  std::vector<char> buffer(nMaxBytes > 0 ? nMaxBytes : 1, '\0');
  if (!m_bLoaded ||
      RegGetString(m_name.c_str(), pszSection, pszKey, buffer.data(), static_cast<UINT32>(buffer.size())) != REG_OK) {
    return pszDefault;
  }
  return buffer.data();
}

UINT32 CCtSvcRegFile::SetInt(const char* pszSection, const char* pszKey, int nValue) {
  return m_bLoaded ? RegSetInt(m_name.c_str(), pszSection, pszKey, nValue) : REG_ERR_NOT_LOADED;
}

UINT32 CCtSvcRegFile::SetString(const char* pszSection, const char* pszKey, const char* pszValue) {
  return m_bLoaded ? RegSetString(m_name.c_str(), pszSection, pszKey, pszValue) : REG_ERR_NOT_LOADED;
}

UINT32 CCtSvcRegFile::Flush() { return m_bLoaded ? RegFlush(m_name.c_str()) : REG_ERR_NOT_LOADED; }

UINT32 CCtSvcRegFile::Unload() {
  if (!m_bLoaded) {
    return REG_OK;
  }
  m_bLoaded = false;
  return RegUnload(m_name.c_str());
}
