// Listener records: layout checks, building and delivery.
#include "CtSvcDbListenerEvents.h"

#include <cstddef>
#include <cstring>

#include "CtSvcEH/CtSvcEH.h"
#include "ZelDebug.h"
#include "ZelMem.h"
#include "ZelWm.h"

static_assert(sizeof(CtSvcDbListenerEvent) == CTSVC_DB_LISTENER_EVENT_SIZE, "listener record size");
static_assert(offsetof(CtSvcDbListenerEvent, hTarget) == 4, "target at byte 4");
static_assert(offsetof(CtSvcDbListenerEvent, nKind) == 20, "kind at byte 20");
static_assert(offsetof(CtSvcDbListenerEvent, nBodySize) == 21, "body length at byte 21");
static_assert(offsetof(CtSvcDbListenerEvent, nCode) == 22, "code at bytes 22-23");
static_assert(offsetof(CtSvcDbListenerEvent, nValue1) == 24, "first value at bytes 24-27");
static_assert(offsetof(CtSvcDbListenerEvent, nValue2) == 28, "second value at bytes 28-31");
static_assert(offsetof(CtSvcDbListenerEvent, nObserver) == 32, "listener at byte 32");

namespace {

CtSvcDbListenerEvent MakeRecord(HOBJ hTarget, UINT8 nKind, UINT8 nBodySize, INT32 nCode, INT32 nValue1, INT32 nValue2,
                                const void* pObserver) {
  CtSvcDbListenerEvent record;
  std::memset(&record, 0, sizeof(record));
  record.nHeaderSize = CTSVC_DB_LISTENER_EVENT_HEADER_SIZE;
  record.nHeaderKind = CTSVC_DB_LISTENER_EVENT_HEADER_KIND;
  record.hTarget = hTarget;
  record.nKind = nKind;
  record.nBodySize = nBodySize;
  record.nCode = static_cast<UINT16>(nCode);
  record.nValue1 = nValue1;
  record.nValue2 = nValue2;
  record.nObserver = static_cast<UINT64>(reinterpret_cast<uintptr_t>(pObserver));
  return record;
}

// A copy of the record in platform memory, or null.
CtSvcDbListenerEvent* CopyRecord(const CtSvcDbListenerEvent& record) {
  auto* pCopy = static_cast<CtSvcDbListenerEvent*>(MemAlloc(sizeof(CtSvcDbListenerEvent)));
  if (pCopy != nullptr) {
    std::memcpy(pCopy, &record, sizeof(record));
  }
  return pCopy;
}

}  // namespace

CtSvcDbListenerEvent CtSvcMakeClientEvent(HOBJ hTarget, UINT16 nEventNumber, INT32 nChangeCode, INT32 nId,
                                          const void* pObserver) {
  return MakeRecord(hTarget, CTSVC_DB_LISTENER_EVENT_CLIENT, CTSVC_DB_LISTENER_EVENT_CLIENT_BODY, nEventNumber,
                    nChangeCode, nId, pObserver);
}

CtSvcDbListenerEvent CtSvcMakeRelayEvent(HOBJ hTarget, INT32 nChangeCode, INT32 nId, const void* pObserver) {
  return MakeRecord(hTarget, CTSVC_DB_LISTENER_EVENT_RELAY, CTSVC_DB_LISTENER_EVENT_RELAY_BODY, nChangeCode, nId, 0,
                    pObserver);
}

CtSvcDbListenerEvent CtSvcMakeFullSyncEvent(HOBJ hTarget, INT32 nState, const void* pFullSyncObserver) {
  return MakeRecord(hTarget, CTSVC_DB_LISTENER_EVENT_FULLSYNC, CTSVC_DB_LISTENER_EVENT_RELAY_BODY, nState, 0, 0,
                    pFullSyncObserver);
}

const void* CtSvcListenerEventObserver(const CtSvcDbListenerEvent& record) {
  return reinterpret_cast<const void*>(static_cast<uintptr_t>(record.nObserver));
}

INT32 CtSvcListenerEventCode(const CtSvcDbListenerEvent& record) { return static_cast<INT16>(record.nCode); }

BOOL CtSvcSendListenerEvent(HOBJ hTarget, UINT32 nEventId, const CtSvcDbListenerEvent& record, INT32 nParam1,
                            INT32 nParam2) {
  CtSvcDbListenerEvent* pCopy = CopyRecord(record);
  if (pCopy == nullptr) {
    return FALSE;
  }
  WmEvent event{};
  event.nEventId = nEventId;
  event.nParam1 = nParam1;
  event.nParam2 = nParam2;
  event.pData = pCopy;
  event.nDataSize = sizeof(CtSvcDbListenerEvent);
  event.hSender = WmGetCurrentEventHandler();
  event.hReceiver = hTarget;
  if (!WmSendEvent(hTarget, &event)) {
    MemFree(pCopy);
    return FALSE;
  }
  return TRUE;
}

BOOL CtSvcPostListenerRelay(UINT32 nType, const CtSvcDbListenerEvent& record) {
  CtSvcDbListenerEvent* pCopy = CopyRecord(record);
  if (pCopy == nullptr) {
    return FALSE;
  }
  if (!CtSvcEHPostNotify(nType, pCopy, CtSvcListenerEventCode(record), record.nValue1)) {
    MemFree(pCopy);
    return FALSE;
  }
  return TRUE;
}

void CtSvcFreeListenerEvent(void* pRecord) { MemFree(pRecord); }
