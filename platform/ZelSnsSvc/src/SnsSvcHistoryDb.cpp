// History stores of social-network subscribers, by name.
#include <map>
#include <mutex>
#include <string>

#include "ZelCore/ZelDebug.h"
#include "ZelCore/ZelImmortal.h"
#include "ZelSnsSvc/ZelSnsSvc.h"

namespace {

struct HistoryDb {
  std::string strName;
  INT32 nSize;
};

struct Registry {
  std::mutex mutex;
  std::map<HOBJ, HistoryDb> mapOpen;
  HOBJ hNext = 1;
};

Registry& TheRegistry() {
  static zel::Immortal<Registry> s_registry;  // never destroyed: closed from static destructors too
  return s_registry.Get();
}

}  // namespace

extern "C" HOBJ SnsSvcHistoryDbOpen(const char* pszName, INT32 nSize) {
  if (pszName == nullptr || *pszName == '\0' || nSize < 1) {
    DbgPrint(DBG_CLASS_FAIL, "SnsSvcHistoryDbOpen - bad name(%s) or size(%d)\n", pszName != nullptr ? pszName : "",
             nSize);
    return INVALID_HOBJ;
  }
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  for (const auto& entry : registry.mapOpen) {
    if (entry.second.strName == pszName) {
      DbgPrint(DBG_CLASS_FAIL, "SnsSvcHistoryDbOpen - %s is open already\n", pszName);
      return INVALID_HOBJ;
    }
  }
  const HOBJ hDb = registry.hNext++;
  registry.mapOpen[hDb] = HistoryDb{pszName, nSize};
  return hDb;
}

extern "C" BOOL SnsSvcHistoryDbClose(HOBJ hHistoryDb) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  if (registry.mapOpen.erase(hHistoryDb) == 0) {
    DbgPrint(DBG_CLASS_FAIL, "SnsSvcHistoryDbClose - invalid handle(%d)\n", hHistoryDb);
    return FALSE;
  }
  return TRUE;
}

extern "C" INT32 SnsSvcHistoryDbGetSize(const char* pszName) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  for (const auto& entry : registry.mapOpen) {
    if (pszName != nullptr && entry.second.strName == pszName) {
      return entry.second.nSize;
    }
  }
  return -1;
}
