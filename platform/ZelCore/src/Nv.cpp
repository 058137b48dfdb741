// Non-volatile integer settings, kept in "<datadir>/nv.ini" (section "Nv", one "0x<id>=<value>"
// line per setting). The file is read on first use in a data directory (again whenever the data
// directory changes) and rewritten atomically on every set.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "FmInternal.h"
#include "IniFormat.h"
#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelImmortal.h"
#include "ZelNv.h"

namespace {

const char kSection[] = "Nv";

struct NvStore {
  std::mutex mutex;
  std::string loadedDir;  // data directory the values belong to; empty before the first load
  std::map<UINT32, INT32> values;
};

NvStore& TheStore() {
  static zel::Immortal<NvStore> s_store;
  return s_store.Get();
}

std::string NvFilePath() { return std::string(ZelGetDataDir()) + "/nv.ini"; }

std::string IdText(UINT32 nId) {
  char sz[16];
  std::snprintf(sz, sizeof(sz), "0x%X", nId);
  return sz;
}

// Reads the settings of the current data directory unless they are loaded already.
void EnsureLoaded(NvStore& store) {
  const std::string dir = ZelGetDataDir();
  if (store.loadedDir == dir) {
    return;
  }
  store.loadedDir = dir;
  store.values.clear();
  std::string text;
  if (!zel::internal::ReadWholeFile(NvFilePath(), &text)) {
    return;  // nothing stored yet
  }
  const zel::internal::IniData data = zel::internal::ParseIni(text, "nv.ini");
  const zel::internal::IniSection* pSection = data.FindSection(kSection);
  if (pSection == nullptr) {
    return;
  }
  for (const auto& entry : pSection->entries) {
    char* pIdEnd = nullptr;
    char* pValueEnd = nullptr;
    errno = 0;
    const unsigned long nId = std::strtoul(entry.first.c_str(), &pIdEnd, 0);
    const long long nValue = std::strtoll(entry.second.c_str(), &pValueEnd, 10);
    if (*pIdEnd != '\0' || *pValueEnd != '\0' || entry.second.empty() || errno != 0 || nId > UINT32_MAX ||
        nValue < INT32_MIN || nValue > INT32_MAX) {
      DbgPrint(DBG_CLASS_FAIL, "NvGetInt: - nv.ini entry %s=%s skipped\n", entry.first.c_str(), entry.second.c_str());
      continue;
    }
    store.values[static_cast<UINT32>(nId)] = static_cast<INT32>(nValue);
  }
}

bool Save(const std::map<UINT32, INT32>& values) {
  zel::internal::IniData data;
  zel::internal::IniSection& section = data.GetOrAddSection(kSection);
  for (const auto& entry : values) {
    section.entries.emplace_back(IdText(entry.first), std::to_string(entry.second));
  }
  return zel::internal::WriteFileAtomic(NvFilePath(), zel::internal::FormatIni(data));
}

}  // namespace

extern "C" INT32 NvGetInt(UINT32 nId) {
  NvStore& store = TheStore();
  std::lock_guard<std::mutex> lock(store.mutex);
  EnsureLoaded(store);
  auto it = store.values.find(nId);
  return it == store.values.end() ? 0 : it->second;
}

extern "C" BOOL NvSetInt(UINT32 nId, INT32 nValue) {
  NvStore& store = TheStore();
  std::lock_guard<std::mutex> lock(store.mutex);
  EnsureLoaded(store);
  std::map<UINT32, INT32> values = store.values;
  values[nId] = nValue;
  if (!Save(values)) {
    DbgPrint(DBG_CLASS_FAIL, "NvSetInt: - setting 0x%X could not be stored\n", nId);
    return FALSE;
  }
  store.values = std::move(values);
  return TRUE;
}
