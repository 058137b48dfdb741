// The service's own event handler "CTSVC": the context on which SIM results, relayed listener
// notices, finished background jobs, social-network image requests, AT phonebook indications and
// account notifications are delivered, one event at a time.
#ifndef CTSVC_EH_H
#define CTSVC_EH_H

#include "CtSvcTypes.h"
#include "MyAccountSvc/MyAccountSvc.h"
#include "ZelCommTAPI/ZelTapi.h"
#include "ZelWm.h"

#define CTSVC_EH_NAME "CTSVC"

// Event ids of the handler's map.
#define CTSVC_EVENT_NOTIFY 0x214u
#define CTSVC_EVENT_TAPI_FIRST TAPI_WM_EVENT_FIRST
#define CTSVC_EVENT_TAPI_LAST TAPI_WM_EVENT_LAST

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

// Handler of one notification type, called on the "CTSVC" thread with the data pointer and the
// two parameters given to CtSvcEHPostNotify.
//
// The module behind each type sets its handler when it starts (CtSvcEHSetNotifyHandler; null
// clears it, setting again replaces it). A notification of a type without a handler is logged
// and dropped; a type outside the list above is refused.
//
// Memory: the data of CTSVC_EH_SNS_IMAGE_REQUEST is a text allocated with the platform allocator
// (MemAlloc). The event handler owns it once the post succeeded and frees it after the handler
// returned, or when the notification is dropped; the handler must not keep it. The data of every
// other type stays the poster's and handler's agreement.
typedef void (*CtSvcEHNotifyHandler)(void* pData, INT32 nParam1, INT32 nParam2);
BOOL CtSvcEHSetNotifyHandler(UINT32 nType, CtSvcEHNotifyHandler pfnHandler);
// The handler set for the type, or null.
CtSvcEHNotifyHandler CtSvcEHGetNotifyHandler(UINT32 nType);

// Handler of one AT phonebook indication (TAPI_EVENT_AT_PB_QUERYSTATUS_IND ..
// TAPI_EVENT_AT_PB_REQ_RECORD_IND and TAPI_EVENT_AT_MSISDN_REQ_IND), called on the "CTSVC"
// thread; the same rules as the notification handlers. Other event types are refused.
typedef void (*CtSvcEHTapiHandler)(const TapiEvent* pEvent);
BOOL CtSvcEHSetTapiHandler(INT32 nEventType, CtSvcEHTapiHandler pfnHandler);
CtSvcEHTapiHandler CtSvcEHGetTapiHandler(INT32 nEventType);

// Account-service callbacks: a removed account's contacts are queued for deletion; removing the
// account chosen as contact storage, or turning its contact synchronisation off, makes the phone
// the storage again.
void OnRemovedMyAccountNotify(const MyAccount* pAccount);
void OnUpdatedMyAccountNotify(const MyAccount* pAccount);

#endif
