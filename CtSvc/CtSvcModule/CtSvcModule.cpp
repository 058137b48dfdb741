// Module entry: load and unload sequences, the module mutex and the class descriptor.
#include "CtSvcModule.h"
#include "CtSvcSetting.h"

#include <atomic>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDbCi/CtSvcDbListenerRelay.h"
#include "CtSvcEH/CtSvcEH.h"
#include "CtSvcEH/CtSvcEHAtPb.h"
#include "CtSvcInterfaceTable.h"
#include "CtSvcModuleSingletons.h"
#include "CtSvcSearch/CtSvcSearchMgr.h"
#include "ZelDebug.h"
#include "ZelOs.h"
#include "ZelSys.h"

namespace {

std::atomic<HOBJ> g_hCtSvcMutex{ZEL_INVALID_HANDLE_VALUE};
void* g_apInterface[CTSVC_INTERFACE_SLOT_COUNT] = {};
CtSvcClassDescriptor g_ClassDescriptor = {g_apInterface, 0, 0};

INT32 Load() {
  g_hCtSvcMutex = OsCreateMutex("CtSvc");
  if (!CCtSvcDbMgr::Instance()->Initialize()) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDispatch - CCtSvcDbMgr::Initialize failed\n");
  }
  FTSInitialize();
  CtSvcFillInterfaceTable(g_apInterface);
  g_ClassDescriptor.ppInterface = g_apInterface;
  _CtSvcCreateEventHandler();
  CtSvcDbListenerStart();
  CtSvcEHAtPbStart();
  return __SysRegisterClass(0, CTSVC_CLASS_ID, &g_ClassDescriptor, 1);
}

INT32 Unload() {
  CtSvcModuleDestroySingleton(CTSVC_SINGLETON_BULK_OPERATION);
  CtSvcModuleDestroySingleton(CTSVC_SINGLETON_SNS_IMAGE);
  CtSvcModuleDestroySingleton(CTSVC_SINGLETON_TASK);
  const HOBJ hMutex = g_hCtSvcMutex.exchange(ZEL_INVALID_HANDLE_VALUE);
  if (hMutex != ZEL_INVALID_HANDLE_VALUE) {
    OsDeleteMutex(hMutex);
  }
  return SysUnregisterClass(CTSVC_CLASS_ID);
}

}  // namespace

extern "C" INT32 CtSvcDispatch(UINT32 nCommand, UINT32 /*nParam1*/, UINT32 nParam2) {
  switch (nCommand) {
    case CTSVC_DISPATCH_LOAD:
      return Load();
    case CTSVC_DISPATCH_UNLOAD:
      return Unload();
    case CTSVC_DISPATCH_PRECONFIG:
      return CtSvcSettingPreConfigForKRV(static_cast<int>(nParam2));
    default:
      return 0;
  }
}

extern "C" BOOL FTSInitialize(void) {
  CCtSvcSearchMgr::Instance()->CreateIndex(CTSVC_SEARCH_TYPE_PRIMARY);
  return CCtSvcSearchMgr::Instance()->CreateIndex(CTSVC_SEARCH_TYPE_PERSON);
}

extern "C" CtSvcClassDescriptor* CtSvcGetClassDescriptor(void) { return &g_ClassDescriptor; }

extern "C" HOBJ CtSvcGetModuleMutex(void) { return g_hCtSvcMutex.load(); }
