/* Event handlers: named handlers in named groups; each handler dispatches its events one at a
 * time on its own thread through an event map. */
#ifndef ZEL_WM_H
#define ZEL_WM_H

#include "ZelTypes.h"

/* Events every handler receives when it is created: create, then start. */
#define WM_EVENT_CREATE 0x200u
#define WM_EVENT_DESTROY 0x201u
#define WM_EVENT_START 0x202u
#define WM_EVENT_STOP 0x204u

typedef struct WmEvent {
  UINT32 nEventId;  /* selects the entry of the receiver's event map */
  UINT32 nClass;    /* sender-defined class and kind */
  UINT32 nKind;
  INT32 nParam1;
  INT32 nParam2;
  void* pData;      /* carried as is; ownership is the sender's and receiver's agreement */
  UINT32 nDataSize;
  HOBJ hSender;     /* handler current on the sending thread, or INVALID_HOBJ */
  HOBJ hReceiver;
} WmEvent;

typedef struct WmEHState {
  HOBJ hEventHandler;
  void* pUserData;
} WmEHState;

typedef int (*WmEventProc)(WmEHState* pState, WmEvent* pEvent);

typedef struct WmEventMapEntry {
  UINT32 nFirstEvent;
  UINT32 nLastEvent;
  WmEventProc pfnHandler;
} WmEventMapEntry;

/* The receiver of WmSendEvent that means every event handler; never a handler's handle. */
#define WM_BROADCAST ((HOBJ)0xFFFE)

/* Handler states answered by WmGetEventHandlerState. */
#define WM_EH_STATE_INVALID 0
#define WM_EH_STATE_CREATED 1
#define WM_EH_STATE_RUNNING 2

ZEL_EXTERN_C_BEGIN

HOBJ WmCreateEHGroup(const char* pszName); /* names are unique: INVALID_HOBJ when taken */
HOBJ WmGetEHGroupByName(const char* pszName);
BOOL WmDeleteEHGroup(HOBJ hGroup); /* deletes its handlers too */

/* Creates the handler with a copy of the map, starts its thread and delivers WM_EVENT_CREATE and
 * WM_EVENT_START to it. Names are unique: INVALID_HOBJ when the name is taken. */
HOBJ WmCreateEventHandler(HOBJ hGroup, const char* pszName, const WmEventMapEntry* pMap, int nMapCount,
                          void* pUserData);
/* Delivers WM_EVENT_DESTROY, lets the thread finish the event it is handling, drops the rest and
 * frees the handler. From the handler's own thread the deletion completes after the current event. */
BOOL WmDeleteEventHandler(HOBJ hEventHandler);
HOBJ WmGetEventHandlerByName(const char* pszName);
BOOL WmIsEventHandlerValid(HOBJ hEventHandler);
int WmGetEventHandlerState(HOBJ hEventHandler);
const char* WmGetEventHandlerName(HOBJ hEventHandler); /* null for an invalid handle; valid while the handler lives */

/* Queues a copy of the event for the receiver; FALSE for an invalid receiver. WM_BROADCAST as the
 * receiver queues a copy for every event handler (each drops it unless its map covers the id). */
BOOL WmSendEvent(HOBJ hReceiver, const WmEvent* pEvent);

/* The handler whose events the calling thread handles (on a handler thread, that handler),
 * or the one set with WmSetCurrentEventHandler on this thread; else INVALID_HOBJ. On a handler
 * thread a handler set during an event stays current until that event ends. Setting
 * INVALID_HOBJ clears it; setting another invalid handle is refused. */
HOBJ WmGetCurrentEventHandler(void);
BOOL WmSetCurrentEventHandler(HOBJ hEventHandler);

/* Waits until the handler's queue is empty and no event of it is being handled (events queued by
 * its own handlers included). 1 idle, 0 timeout, -1 invalid handle. Must not be called from the
 * handler's own thread. */
int WmWaitEventHandlerIdle(HOBJ hEventHandler, INT32 nTimeoutMs);

ZEL_EXTERN_C_END

#endif
