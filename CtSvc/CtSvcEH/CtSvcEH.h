// The service's own event handler "CTSVC": the context on which SIM results, relayed listener
// notices, finished background jobs, social-network image requests and AT phonebook indications
// are delivered, one event at a time.
#ifndef CTSVC_EH_H
#define CTSVC_EH_H

#include "CtSvcTypes.h"
#include "ZelWm.h"

#define CTSVC_EH_NAME "CTSVC"

// Event ids of the handler's map.
#define CTSVC_EVENT_NOTIFY 0x214u
#define CTSVC_EVENT_TAPI_FIRST 0x300u
#define CTSVC_EVENT_TAPI_LAST 0x3FFu

// Notification types carried by CTSVC_EVENT_NOTIFY (the 16-bit type is the event's nKind).
#define CT_NOTIFY_INITIALIZED 0x86u
#define CTSVC_EH_JOB_REQUEST 0x2001u
#define CTSVC_EH_LISTENER_CHANGE 0x2002u
#define CTSVC_EH_DB_LISTENER_NOTIFY 0x2003u
#define CTSVC_EH_FULLSYNC_NOTIFY 0x2004u
#define CTSVC_EH_SNS_IMAGE_REQUEST 0x2005u

BOOL _CtSvcCreateEventHandler(void);
BOOL _CtSvcDestroyEventHandler(void);
int CtSvcEventHandlerCreate(WmEHState* pState, WmEvent* pEvent);
int CtSvcEventNotify(WmEHState* pState, WmEvent* pEvent);
int CtSvcTapiEvents(WmEHState* pState, WmEvent* pEvent);

// Posts a notification of the given type to "CTSVC"; FALSE when the handler does not exist.
BOOL CtSvcEHPostNotify(UINT32 nType, void* pData, INT32 nParam1, INT32 nParam2);

#endif
