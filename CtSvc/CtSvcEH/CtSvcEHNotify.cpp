// Library notifications (CTSVC_EVENT_NOTIFY): one table of the known types, each with the handler
// its module set, and the dispatch by the type carried in the event.
#include <atomic>

#include "CtSvcEH.h"
#include "ZelDebug.h"
#include "ZelMem.h"

namespace {

struct NotifySlot {
  UINT32 nType;
  const char* szName;
  bool bOwnsData;  // the data is freed here once handled or dropped
  std::atomic<CtSvcEHNotifyHandler> pfnHandler;
};

NotifySlot g_aNotifySlots[] = {
    {CT_NOTIFY_INITIALIZED, "CT_NOTIFY_INITIALIZED", false, {nullptr}},
    {CTSVC_EH_JOB_REQUEST, "CTSVC_EH_JOB_REQUEST", false, {nullptr}},
    {CTSVC_EH_LISTENER_CHANGE, "CTSVC_EH_LISTENER_CHANGE", false, {nullptr}},
    {CTSVC_EH_DB_LISTENER_NOTIFY, "CTSVC_EH_DB_LISTENER_NOTIFY", false, {nullptr}},
    {CTSVC_EH_FULLSYNC_NOTIFY, "CTSVC_EH_FULLSYNC_NOTIFY", false, {nullptr}},
    {CTSVC_EH_SNS_IMAGE_REQUEST, "CTSVC_EH_SNS_IMAGE_REQUEST", true, {nullptr}},
};

NotifySlot* FindSlot(UINT32 nType) {
  for (NotifySlot& slot : g_aNotifySlots) {
    if (slot.nType == nType) {
      return &slot;
    }
  }
  return nullptr;
}

}  // namespace

BOOL CtSvcEHSetNotifyHandler(UINT32 nType, CtSvcEHNotifyHandler pfnHandler) {
  NotifySlot* pSlot = FindSlot(nType);
  if (pSlot == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEHSetNotifyHandler: - unknown notification type 0x%X\n", nType);
    return FALSE;
  }
  pSlot->pfnHandler.store(pfnHandler);
  return TRUE;
}

CtSvcEHNotifyHandler CtSvcEHGetNotifyHandler(UINT32 nType) {
  const NotifySlot* pSlot = FindSlot(nType);
  return pSlot != nullptr ? pSlot->pfnHandler.load() : nullptr;
}

int CtSvcEventNotify(WmEHState* /*pState*/, WmEvent* pEvent) {
  if (!ZEL_REQUIRE(pEvent != NULL)) {
    return 0;
  }
  const UINT32 nType = pEvent->nKind & 0xFFFFu;
  NotifySlot* pSlot = FindSlot(nType);
  if (pSlot == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEventNotify: - unknown notification type 0x%X dropped\n", nType);
    return 0;
  }
  const CtSvcEHNotifyHandler pfnHandler = pSlot->pfnHandler.load();
  if (pfnHandler != nullptr) {
    pfnHandler(pEvent->pData, pEvent->nParam1, pEvent->nParam2);
  } else {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEventNotify: - no handler for %s(0x%X), dropped\n", pSlot->szName, nType);
  }
  if (pSlot->bOwnsData) {
    MemFree(pEvent->pData);
  }
  return pfnHandler != nullptr ? 1 : 0;
}
