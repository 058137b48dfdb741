#include "CtSvcModuleSingletons.h"

#include <mutex>

namespace {
std::mutex g_mutex;
CtSvcSingletonDestroyer g_destroyers[CTSVC_SINGLETON_MAX] = {};
}  // namespace

void CtSvcModuleSetSingleton(CtSvcModuleSingleton nWhich, CtSvcSingletonDestroyer pfnDestroy) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_destroyers[nWhich] = pfnDestroy;
}

bool CtSvcModuleDestroySingleton(CtSvcModuleSingleton nWhich) {
  CtSvcSingletonDestroyer pfnDestroy = nullptr;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    pfnDestroy = g_destroyers[nWhich];
    g_destroyers[nWhich] = nullptr;
  }
  if (pfnDestroy == nullptr) {
    return false;
  }
  pfnDestroy();
  return true;
}
