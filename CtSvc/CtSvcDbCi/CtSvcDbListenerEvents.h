// The 56-byte listener records: built in one place for the three kinds, copied into memory that
// the receiver owns, and sent to a client handler or posted to "CTSVC".
#ifndef CTSVC_DB_LISTENER_EVENTS_H
#define CTSVC_DB_LISTENER_EVENTS_H

#include "CtSvcDbListener.h"

// A client notice for a handler listener.
CtSvcDbListenerEvent CtSvcMakeClientEvent(HOBJ hTarget, UINT16 nEventNumber, INT32 nChangeCode, INT32 nId,
                                          const void* pObserver);
// A notice relayed to "CTSVC" so that the listener's function runs there.
CtSvcDbListenerEvent CtSvcMakeRelayEvent(HOBJ hTarget, INT32 nChangeCode, INT32 nId, const void* pObserver);
// A full-synchronisation notice relayed to "CTSVC".
CtSvcDbListenerEvent CtSvcMakeFullSyncEvent(HOBJ hTarget, INT32 nState, const void* pFullSyncObserver);

// The listener address a record carries.
const void* CtSvcListenerEventObserver(const CtSvcDbListenerEvent& record);
// The 16-bit code of bytes 22-23 as a signed value (a change code may be -1).
INT32 CtSvcListenerEventCode(const CtSvcDbListenerEvent& record);

// Sends a copy of the record as the data of an event (nDataSize 56) to a client handler; the
// receiver frees the copy with MemFree. FALSE (nothing left allocated) when it cannot be sent.
BOOL CtSvcSendListenerEvent(HOBJ hTarget, UINT32 nEventId, const CtSvcDbListenerEvent& record, INT32 nParam1,
                            INT32 nParam2);
// Posts a copy of the record to "CTSVC" as a notification of the type; its handler frees the copy.
BOOL CtSvcPostListenerRelay(UINT32 nType, const CtSvcDbListenerEvent& record);
// Frees a record copy received as event data (null is ignored).
void CtSvcFreeListenerEvent(void* pRecord);

#endif
