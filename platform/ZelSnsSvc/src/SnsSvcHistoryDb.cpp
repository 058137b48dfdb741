// History stores of social-network subscribers, by name.
#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "ZelCore/ZelDebug.h"
#include "ZelCore/ZelImmortal.h"
#include "ZelSnsSvc/ZelSnsSvc.h"

namespace {

struct HistoryDb {
  std::string strName;
  INT32 nSize;
};

using Entry = std::pair<std::string, INT32>;  // people id, service provider

struct Registry {
  std::mutex mutex;
  std::map<HOBJ, HistoryDb> mapOpen;
  std::map<std::string, std::vector<Entry>> mapEntries;  // by store name
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

extern "C" BOOL SnsSvcHistoryDbAddEntry(const char* pszName, const char* pszPeopleId, INT32 nSp) {
  if (pszName == nullptr || *pszName == '\0' || pszPeopleId == nullptr || *pszPeopleId == '\0') {
    return FALSE;
  }
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  registry.mapEntries[pszName].emplace_back(pszPeopleId, nSp);
  return TRUE;
}

extern "C" INT32 SnsSvcHistoryDbRemoveEntries(HOBJ hHistoryDb, const char* pszPeopleId, INT32 nSp, INT32 /*nFlags*/) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  const auto it = registry.mapOpen.find(hHistoryDb);
  if (it == registry.mapOpen.end() || pszPeopleId == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "SnsSvcHistoryDbRemoveEntries - invalid handle(%d) or people id\n", hHistoryDb);
    return -1;
  }
  std::vector<Entry>& vEntries = registry.mapEntries[it->second.strName];
  const Entry removed(pszPeopleId, nSp);
  const auto end = std::remove(vEntries.begin(), vEntries.end(), removed);
  const INT32 nRemoved = static_cast<INT32>(vEntries.end() - end);
  vEntries.erase(end, vEntries.end());
  return nRemoved;
}

extern "C" INT32 SnsSvcHistoryDbCountEntries(const char* pszName, const char* pszPeopleId, INT32 nSp) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  if (pszName == nullptr || pszPeopleId == nullptr) {
    return 0;
  }
  const std::vector<Entry>& vEntries = registry.mapEntries[pszName];
  return static_cast<INT32>(std::count(vEntries.begin(), vEntries.end(), Entry(pszPeopleId, nSp)));
}
