// Registry-style ini files, addressed by platform path. A bare file name lives in the registry
// folder: "CtSet.ini" and "/Settings/Default/Registry/CtSet.ini" are one file.
// A loaded file lives in memory with a load count: changes reach the disk only through RegFlush
// (or RegClean), and the last RegUnload drops the in-memory copy without writing it.
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "FmInternal.h"
#include "IniFormat.h"
#include "ZelDebug.h"
#include "ZelImmortal.h"
#include "ZelReg.h"

namespace {

using zel::internal::IniData;
using zel::internal::IniSection;

struct LoadedFile {
  int nLoads = 0;
  IniData data;
};

struct Registry {
  std::mutex mutex;
  std::map<std::string, LoadedFile> files;  // by host path
};

Registry& TheRegistry() {
  static zel::Immortal<Registry> s_registry;
  return s_registry.Get();
}

const char* Show(const char* psz) { return psz != nullptr ? psz : "(null)"; }

const char kRegistryFolder[] = "/Settings/Default/Registry/";

// The host path of a registry file; a name without a folder is taken from the registry folder.
bool RegHostPath(const char* pszName, std::string* pHost) {
  if (pszName != nullptr && *pszName != '\0' && std::strchr(pszName, '/') == nullptr) {
    return zel::internal::HostPath((std::string(kRegistryFolder) + pszName).c_str(), pHost);
  }
  return zel::internal::HostPath(pszName, pHost);
}

bool FileExists(const std::string& hostPath) {
  struct stat st {};
  return stat(hostPath.c_str(), &st) == 0;
}

// Runs fn on the loaded file named pszName under the registry lock; REG_ERR_PARAM for a bad name,
// REG_ERR_NOT_LOADED when it is not loaded.
template <typename F>
UINT32 WithLoaded(const char* pszName, const char* pszCaller, F fn) {
  std::string host;
  if (!RegHostPath(pszName, &host)) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - invalid file name %s\n", pszCaller, Show(pszName));
    return REG_ERR_PARAM;
  }
  Registry& reg = TheRegistry();
  std::lock_guard<std::mutex> lock(reg.mutex);
  auto it = reg.files.find(host);
  if (it == reg.files.end()) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - %s is not loaded\n", pszCaller, pszName);
    return REG_ERR_NOT_LOADED;
  }
  return fn(host, it, reg);
}

// The value of section/key of the loaded file, or REG_ERR_NO_KEY.
UINT32 GetValue(const char* pszName, const char* pszSection, const char* pszKey, std::string* pValue,
                const char* pszCaller) {
  if (pszSection == nullptr || pszKey == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - section or key is NULL\n", pszCaller);
    return REG_ERR_PARAM;
  }
  return WithLoaded(pszName, pszCaller, [&](const std::string&, auto it, Registry&) -> UINT32 {
    const IniSection* pSection = it->second.data.FindSection(pszSection);
    const std::string* pFound = pSection != nullptr ? pSection->Find(pszKey) : nullptr;
    if (pFound == nullptr) {
      return REG_ERR_NO_KEY;
    }
    *pValue = *pFound;
    return REG_OK;
  });
}

UINT32 SetValue(const char* pszName, const char* pszSection, const char* pszKey, const std::string& value,
                const char* pszCaller) {
  if (pszSection == nullptr || pszKey == nullptr || !zel::internal::IsValidIniSectionName(pszSection) ||
      !zel::internal::IsValidIniKey(pszKey) || !zel::internal::IsValidIniValue(value)) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - invalid section, key or value ([%s] %s)\n", pszCaller, Show(pszSection),
             Show(pszKey));
    return REG_ERR_PARAM;
  }
  return WithLoaded(pszName, pszCaller, [&](const std::string&, auto it, Registry&) -> UINT32 {
    it->second.data.GetOrAddSection(pszSection).Set(pszKey, value);
    return REG_OK;
  });
}

bool ParseInt32(const std::string& text, INT32* pValue) {
  const char* psz = text.c_str();
  char* pEnd = nullptr;
  errno = 0;
  const long long n = std::strtoll(psz, &pEnd, 10);
  while (pEnd != nullptr && (*pEnd == ' ' || *pEnd == '\t')) {
    ++pEnd;
  }
  if (pEnd == psz || *pEnd != '\0' || errno != 0 || n < INT32_MIN || n > INT32_MAX) {
    return false;
  }
  *pValue = static_cast<INT32>(n);
  return true;
}

}  // namespace

extern "C" UINT32 RegLoad(const char* pszName, int bCreate) {
  std::string host;
  if (!RegHostPath(pszName, &host)) {
    DbgPrint(DBG_CLASS_FAIL, "RegLoad: - invalid file name %s\n", Show(pszName));
    return REG_ERR_PARAM;
  }
  Registry& reg = TheRegistry();
  std::lock_guard<std::mutex> lock(reg.mutex);
  auto it = reg.files.find(host);
  if (it != reg.files.end()) {
    ++it->second.nLoads;
    return REG_OK;
  }
  std::string text;
  if (!FileExists(host)) {
    if (!bCreate) {
      return REG_ERR_FILE_NOT_EXIST;
    }
    if (!zel::internal::WriteFileAtomic(host, std::string())) {
      return REG_ERR_IO;
    }
  } else if (!zel::internal::ReadWholeFile(host, &text)) {
    DbgPrint(DBG_CLASS_FAIL, "RegLoad: - cannot read %s\n", host.c_str());
    return REG_ERR_IO;
  }
  LoadedFile& file = reg.files[host];
  file.nLoads = 1;
  file.data = zel::internal::ParseIni(text, pszName);
  return REG_OK;
}

extern "C" UINT32 RegGetInt(const char* pszName, const char* pszSection, const char* pszKey, INT32* pnValue) {
  if (pnValue == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "RegGetInt: - pnValue is NULL\n");
    return REG_ERR_PARAM;
  }
  std::string value;
  const UINT32 nErr = GetValue(pszName, pszSection, pszKey, &value, "RegGetInt");
  if (nErr != REG_OK) {
    return nErr;
  }
  if (!ParseInt32(value, pnValue)) {
    DbgPrint(DBG_CLASS_FAIL, "RegGetInt: - [%s] %s = \"%s\" is not a number\n", pszSection, pszKey, value.c_str());
    return REG_ERR_NO_KEY;
  }
  return REG_OK;
}

extern "C" UINT32 RegSetInt(const char* pszName, const char* pszSection, const char* pszKey, INT32 nValue) {
  return SetValue(pszName, pszSection, pszKey, std::to_string(nValue), "RegSetInt");
}

extern "C" UINT32 RegGetString(const char* pszName, const char* pszSection, const char* pszKey, char* pszValue,
                               UINT32 nSize) {
  if (pszValue == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "RegGetString: - pszValue is NULL\n");
    return REG_ERR_PARAM;
  }
  std::string value;
  const UINT32 nErr = GetValue(pszName, pszSection, pszKey, &value, "RegGetString");
  if (nErr != REG_OK) {
    return nErr;
  }
  if (value.size() >= nSize) {
    DbgPrint(DBG_CLASS_FAIL, "RegGetString: - [%s] %s needs %zu bytes, %u given\n", pszSection, pszKey,
             value.size() + 1, nSize);
    return REG_ERR_BUFFER;
  }
  std::memcpy(pszValue, value.c_str(), value.size() + 1);
  return REG_OK;
}

extern "C" UINT32 RegSetString(const char* pszName, const char* pszSection, const char* pszKey, const char* pszValue) {
  if (pszValue == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "RegSetString: - pszValue is NULL\n");
    return REG_ERR_PARAM;
  }
  return SetValue(pszName, pszSection, pszKey, pszValue, "RegSetString");
}

extern "C" UINT32 RegRemoveSection(const char* pszName, const char* pszSection) {
  if (pszSection == nullptr) {
    return REG_ERR_PARAM;
  }
  return WithLoaded(pszName, "RegRemoveSection", [&](const std::string&, auto it, Registry&) -> UINT32 {
    return it->second.data.RemoveSection(pszSection) ? REG_OK : REG_ERR_NO_KEY;
  });
}

// Empties the file at once: in memory when it is loaded, and on disk.
extern "C" UINT32 RegClean(const char* pszName) {
  std::string host;
  if (!RegHostPath(pszName, &host)) {
    DbgPrint(DBG_CLASS_FAIL, "RegClean: - invalid file name %s\n", Show(pszName));
    return REG_ERR_PARAM;
  }
  Registry& reg = TheRegistry();
  std::lock_guard<std::mutex> lock(reg.mutex);
  auto it = reg.files.find(host);
  if (it == reg.files.end() && !FileExists(host)) {
    return REG_ERR_FILE_NOT_EXIST;
  }
  if (it != reg.files.end()) {
    it->second.data.sections.clear();
  }
  return zel::internal::WriteFileAtomic(host, std::string()) ? REG_OK : REG_ERR_IO;
}

extern "C" UINT32 RegFlush(const char* pszName) {
  return WithLoaded(pszName, "RegFlush", [&](const std::string& host, auto it, Registry&) -> UINT32 {
    return zel::internal::WriteFileAtomic(host, zel::internal::FormatIni(it->second.data)) ? REG_OK : REG_ERR_IO;
  });
}

extern "C" UINT32 RegUnload(const char* pszName) {
  return WithLoaded(pszName, "RegUnload", [&](const std::string&, auto it, Registry& reg) -> UINT32 {
    if (--it->second.nLoads == 0) {
      reg.files.erase(it);
    }
    return REG_OK;
  });
}
