// System services: random UUIDs and the registry of loaded classes.
#include <map>
#include <mutex>
#include <random>

#include "TestOverrides.h"
#include "ZelDebug.h"
#include "ZelImmortal.h"
#include "ZelSys.h"

namespace {

struct UuidSource {
  std::mutex mutex;
  std::mt19937_64 engine{(static_cast<uint64_t>(std::random_device{}()) << 32) ^ std::random_device{}()};
};

struct ClassRegistry {
  std::mutex mutex;
  std::map<UINT32, void*> classes;
};

UuidSource& TheUuidSource() {
  static zel::Immortal<UuidSource> s_source;
  return s_source.Get();
}

ClassRegistry& TheRegistry() {
  static zel::Immortal<ClassRegistry> s_registry;
  return s_registry.Get();
}

}  // namespace

// The UUID is printed as word 0, the low and high halves of word 1, then the bytes of words 2
// and 3 low byte first; the version nibble and the variant bits are placed accordingly.
extern "C" BOOL SysGenerateUUID(SysUUID* pUuid) {
  if (pUuid == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "SysGenerateUUID: - pUuid is NULL\n");
    return FALSE;
  }
  if (zel::internal::IsUuidFailureForced()) {
    DbgPrint(DBG_CLASS_FAIL, "SysGenerateUUID: - no UUID available\n");
    return FALSE;
  }
  uint64_t a = 0;
  uint64_t b = 0;
  {
    UuidSource& src = TheUuidSource();
    std::lock_guard<std::mutex> lock(src.mutex);
    a = src.engine();
    b = src.engine();
  }
  pUuid->aWord[0] = static_cast<UINT32>(a);
  pUuid->aWord[1] = (static_cast<UINT32>(a >> 32) & 0x0FFFFFFFu) | 0x40000000u;  // version 4
  pUuid->aWord[2] = (static_cast<UINT32>(b) & ~0xC0u) | 0x80u;                   // RFC 4122 variant
  pUuid->aWord[3] = static_cast<UINT32>(b >> 32);
  return TRUE;
}

extern "C" BOOL __SysRegisterClass(UINT32 nParentClass, UINT32 nClassId, void* pDescriptor, UINT32 nFlags) {
  (void)nParentClass;
  (void)nFlags;
  if (pDescriptor == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "__SysRegisterClass: - class 0x%08X has no descriptor\n", nClassId);
    return FALSE;
  }
  ClassRegistry& reg = TheRegistry();
  std::lock_guard<std::mutex> lock(reg.mutex);
  if (!reg.classes.emplace(nClassId, pDescriptor).second) {
    DbgPrint(DBG_CLASS_FAIL, "__SysRegisterClass: - class 0x%08X is already registered\n", nClassId);
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL SysUnregisterClass(UINT32 nClassId) {
  ClassRegistry& reg = TheRegistry();
  std::lock_guard<std::mutex> lock(reg.mutex);
  if (reg.classes.erase(nClassId) == 0) {
    DbgPrint(DBG_CLASS_FAIL, "SysUnregisterClass: - class 0x%08X is not registered\n", nClassId);
    return FALSE;
  }
  return TRUE;
}

extern "C" void* SysGetClass(UINT32 nClassId) {
  ClassRegistry& reg = TheRegistry();
  std::lock_guard<std::mutex> lock(reg.mutex);
  auto it = reg.classes.find(nClassId);
  return it == reg.classes.end() ? nullptr : it->second;
}
