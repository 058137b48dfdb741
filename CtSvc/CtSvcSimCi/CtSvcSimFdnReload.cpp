// After the FDN state changed the card may have moved the ADN file out of reach: when the phonebook
// is loaded, its ADN file information is read again and the ADN group reloaded when that fails.
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "CtSvcSimCi/CtSvcSimPhonebookSeam.h"
#include "ZelDebug.h"

namespace {

CtSvcSimPhonebookHooks g_hooks{};

void __PhonebookInitCallback(int nInitType, int nResult, void*) {
  DbgPrint(DBG_CLASS_TRACE, "CtSvcSimReloadSimFileForFdn - reload of group %d ended(%d)\n", nInitType, nResult);
}

}  // namespace

void CtSvcSimSetPhonebookHooks(const CtSvcSimPhonebookHooks* pHooks) {
  CCtSvcModuleLock lock;
  g_hooks = pHooks != nullptr ? *pHooks : CtSvcSimPhonebookHooks{};
}

BOOL CtSvcSimPhonebookIsInitialized() {
  CCtSvcModuleLock lock;
  return g_hooks.pfnIsInitialized != nullptr && g_hooks.pfnIsInitialized() ? TRUE : FALSE;
}

BOOL CtSvcSimReloadSimFileForFdn(void) {
  CCtSvcModuleLock lock;
  if (g_hooks.pfnIsInitialized == nullptr || !g_hooks.pfnIsInitialized()) {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcSimReloadSimFileForFdn - Not yet PhonebookIsInitialized~!\n");
    return TRUE;
  }
  if (CCtSvcSimMgr::Instance()->RelaodSimFileInfo(CTSVC_SIM_ADN)) {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcSimReloadSimFileForFdn - Don't need to reload file at this SIM Card\n");
    return TRUE;
  }
  DbgPrint(DBG_CLASS_FAIL, "CtSvcSimReloadSimFileForFdn - Need reload file at this SIM Card!!!!!\n");
  if (g_hooks.pfnSetInitState != nullptr) {
    g_hooks.pfnSetInitState(1);
  }
  if (g_hooks.pfnReloadSimRecord != nullptr) {
    g_hooks.pfnReloadSimRecord(CTSVC_SIM_INIT_ADN, __PhonebookInitCallback, nullptr);
  }
  return TRUE;
}
