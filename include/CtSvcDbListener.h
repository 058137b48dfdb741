/* Change listeners of the contact store, full-synchronisation listeners and the mass-sync reader.
 *
 * A listener follows one content URI, or one open list, and learns of every insert, update and
 * delete made through it. It is either a function or an event handler:
 * - a function is called at once when the change is made on the user-interface task "Korin";
 *   a change made on any other task is relayed to the service's event handler "CTSVC" and the
 *   function runs there;
 * - an event handler receives an event whose nEventId is the registered event number, nParam1
 *   the change code and nParam2 the row id, and whose pData is a CtSvcDbListenerEvent record
 *   (nDataSize 56). The record is allocated with the platform allocator and belongs to the
 *   receiver, which frees it with MemFree once it has read it.
 *
 * None of these functions takes the module mutex; they may be called from any thread, also from
 * inside a listener function. Removing a listener waits until a call of its function running on
 * another thread has returned, so its user data may be freed once the removal returns; a listener
 * function must therefore never wait for a thread that is removing it. */
#ifndef CTSVC_DB_LISTENER_H
#define CTSVC_DB_LISTENER_H

#include "CtSvcTypes.h"

#ifdef __cplusplus
class IContentList;
#else
typedef struct IContentList IContentList;
#endif

/* The URI a listener follows. */
typedef enum CtSvcDbUriType {
  CTSVC_DB_URI_PERSON = 0,        /* "CtSvc/Person" */
  CTSVC_DB_URI_PHONENUMBER = 1,   /* "CtSvc/PhoneNumber" */
  CTSVC_DB_URI_EMAIL = 2,         /* "CtSvc/Email" */
  CTSVC_DB_URI_POSTALADDRESS = 3, /* "CtSvc/PostalAddress" */
  CTSVC_DB_URI_ETCDATA = 4,       /* "CtSvc/EtcData" */
  CTSVC_DB_URI_RCS = 5,           /* "CtSvc/Rcs" */
  CTSVC_DB_URI_FDN = 6,           /* "CtSvc/Fdn" */
  CTSVC_DB_URI_GROUP = 7,         /* "CtSvc/Group" */
  CTSVC_DB_URI_GROUPMEMBER = 8,   /* "CtSvc/GroupMember" */
  CTSVC_DB_URI_SPEEDDIAL = 9,     /* "CtSvc/SpeedDial" */
  CTSVC_DB_URI_PRIMARY = 10,      /* "CtSvc/Primary" */
  CTSVC_DB_URI_IM = 11,           /* "CtSvc/IM" */
  CTSVC_DB_URI_SNSDATA = 12       /* "CtSvc/SnsData" */
} CtSvcDbUriType;

/* Change codes given to listeners. */
#define CTSVC_DB_LISTENER_CHANGE_INSERTED 0
#define CTSVC_DB_LISTENER_CHANGE_UPDATED 1
#define CTSVC_DB_LISTENER_CHANGE_DELETED 2
#define CTSVC_DB_LISTENER_CHANGE_BULK_DELETED 3 /* deleted through a ".../BulkOperation" URI */
#define CTSVC_DB_LISTENER_CHANGE_UNKNOWN (-1)

/* States given to full-synchronisation listeners. */
#define CTSVC_DB_FULLSYNC_STATE_STARTED 0 /* listeners paused: many changes follow unannounced */
#define CTSVC_DB_FULLSYNC_STATE_ENDED 1   /* listeners resumed: read everything again */

/* Listener function: (change code, row id or -1 for a change of many rows, null, user data). */
typedef void (*CtSvcDbListenerCallback)(INT32 nChangeType, INT32 nId, void* pInfo, void* pUserData);
/* Full-synchronisation function: (state, null, user data). */
typedef void (*CtSvcDbFullSyncCallback)(INT32 nState, void* pInfo, void* pUserData);

/* The record carried by listener events: 56 bytes, zero where unused.
 *   byte 0      20, the header's length          byte 1    2
 *   bytes 4-7   the handler the record is for
 *   byte 20     kind: 0 client notice, 3 relayed notice, 4 relayed full-sync notice
 *   byte 21     body length: 14 for a client notice, 32 for relays
 *   bytes 22-23 client: the registered event number; relayed notice: the change code;
 *               full-sync: the state
 *   bytes 24-27 client: the change code; relayed notice: the row id
 *   bytes 28-31 client: the row id
 *   bytes 32-39 the listener (or full-sync listener) as an address; on this 64-bit host the
 *               address takes eight bytes */
#define CTSVC_DB_LISTENER_EVENT_SIZE 56
#define CTSVC_DB_LISTENER_EVENT_HEADER_SIZE 20
#define CTSVC_DB_LISTENER_EVENT_HEADER_KIND 2
#define CTSVC_DB_LISTENER_EVENT_CLIENT 0
#define CTSVC_DB_LISTENER_EVENT_RELAY 3
#define CTSVC_DB_LISTENER_EVENT_FULLSYNC 4
#define CTSVC_DB_LISTENER_EVENT_CLIENT_BODY 14
#define CTSVC_DB_LISTENER_EVENT_RELAY_BODY 32

typedef struct CtSvcDbListenerEvent {
  UINT8 nHeaderSize;   /* 0 */
  UINT8 nHeaderKind;   /* 1 */
  UINT8 aReserved0[2]; /* 2-3 */
  HOBJ hTarget;        /* 4-7 */
  UINT8 aReserved1[12];/* 8-19 */
  UINT8 nKind;         /* 20 */
  UINT8 nBodySize;     /* 21 */
  UINT16 nCode;        /* 22-23 */
  INT32 nValue1;       /* 24-27 */
  INT32 nValue2;       /* 28-31 */
  UINT64 nObserver;    /* 32-39 */
  UINT8 aReserved2[16];/* 40-55 */
} CtSvcDbListenerEvent;

/* Mass synchronisation: every person as vCard text, in batches. */
#define CTSVC_MASSSYNC_VCARD_SIZE 2048
#define CTSVC_MASSSYNC_TYPE_ALL 0     /* names, birthday, numbers, e-mails, addresses, other data */
#define CTSVC_MASSSYNC_TYPE_CONTACT 1 /* the same without other data */
#define CTSVC_MASSSYNC_FORMAT_VCARD 0

/* Called on the "CTSVC" task once per batch: the batch's vCards (one per person, CRLF line ends,
 * valid during the call only), the number of persons in it, and TRUE for the last batch. A
 * reading that fails part-way ends with a call of (null, 0, TRUE). */
typedef void (*CtSvcDbMassSyncCallback)(const char* pszVCards, INT32 nRecordCount, BOOL bLast);

ZEL_EXTERN_C_BEGIN

/* URI listeners. The task name and value are kept with the listener for its log lines.
 * A null function, an invalid event handler or a URI type outside CtSvcDbUriType: FALSE. */
BOOL CtSvcDbListenerRegisterCallback(INT32 nUriType, CtSvcDbListenerCallback pfnCallback, void* pUserData,
                                     const char* pszTaskName, INT32 nValue);
BOOL CtSvcDbListenerRegisterHandler(INT32 nUriType, HOBJ hEventHandler, UINT16 nEventNumber, void* pUserData,
                                    const char* pszTaskName);
/* Removes the first listener of the URI with that function (handler) and user data; FALSE when
 * there is none. */
BOOL CtSvcDbListenerUnregisterCallback(INT32 nUriType, CtSvcDbListenerCallback pfnCallback, void* pUserData);
BOOL CtSvcDbListenerUnregisterHandler(INT32 nUriType, HOBJ hEventHandler, void* pUserData);

/* List listeners: follow the URI of an open list. Remove them before the list is destroyed. */
BOOL CtSvcDbListenerListRegisterCallback(IContentList* pContentList, CtSvcDbListenerCallback pfnCallback,
                                         void* pUserData, INT32 nValue);
BOOL _CtSvcDbListenerListRegisterCallback(IContentList* pContentList, CtSvcDbListenerCallback pfnCallback,
                                          void* pUserData, INT32 nValue);
BOOL CtSvcDbListenerListUnregisterCallback(IContentList* pContentList, CtSvcDbListenerCallback pfnCallback,
                                           void* pUserData);

/* TRUE while the listener (an address from a CtSvcDbListenerEvent) is registered. */
BOOL CtSvcDbListenerIsValidObserver(const void* pObserver);

/* Pausing stops every listener until it is resumed; listeners registered meanwhile start paused.
 * The plain forms also tell the full-synchronisation listeners (state 0, then 1); the Ex forms
 * do so only when bNotify is non-zero. Pause and resume are not counted. */
BOOL CtSvcDbListenerPause(void);
BOOL CtSvcDbListenerResume(void);
BOOL CtSvcDbListenerPauseEx(BOOL bNotify);
BOOL CtSvcDbListenerResumeEx(BOOL bNotify);

/* Full-synchronisation listeners; called like listener functions ("Korin" at once, else on
 * "CTSVC"). */
BOOL CtSvcDbListenerRegisterFullSyncCallback(CtSvcDbFullSyncCallback pfnCallback, void* pUserData);
BOOL CtSvcDbListenerUnregisterFullSyncCallback(CtSvcDbFullSyncCallback pfnCallback, void* pUserData);
BOOL CtSvcDbListenerIsValidFullSyncObserver(const void* pObserver);
BOOL CtSvcDbListenerNotifyFullSync(INT32 nState);

/* Reads every person for pCallback on the "CTSVC" task, at most nMaxRecords persons per batch
 * (0: all in one batch). FALSE for bad arguments, an empty store or a failure to start; the
 * callback is called only after TRUE. */
BOOL CtSvcDbMassSyncReadRecords(INT32 nSyncType, INT32 nFormat, INT32 nMaxRecords, CtSvcDbMassSyncCallback pCallback);

ZEL_EXTERN_C_END

#endif
