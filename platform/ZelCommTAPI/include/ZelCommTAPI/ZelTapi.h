/* Telephony library: client registration, indications delivered to a client's event handler, and
 * the card's IMSI.
 *
 * Clients. TapiRegisterClient records, for a client id, the event handler current on the calling
 * thread. An indication for the client (TapiRaiseEvent) is then queued to that handler as a WmEvent:
 *   nEventId  TAPI_WM_EVENT_ID(event type): 0x300 + the low 8 bits of the type, so every
 *             telephony event lies in 0x300..0x3FF and one map entry routes them all;
 *   nClass    the client id;
 *   nKind     the full event type;
 *   nParam1, nParam2, pData  the indication's two parameters and data pointer, as raised.
 * TapiGetEvent reads that record back from the WmEvent. The data pointer is carried as is: the
 * raiser keeps it valid until the receiver has handled the event. */
#ifndef ZEL_TAPI_H
#define ZEL_TAPI_H

#include <ZelCore/ZelTypes.h>
#include <ZelCore/ZelWm.h>

/* Client ids. */
#define TAPI_CLIENT_AT 0x360 /* the phonebook AT-command client */

/* WmEvent ids of telephony events. */
#define TAPI_WM_EVENT_FIRST 0x300u
#define TAPI_WM_EVENT_LAST 0x3FFu
#define TAPI_WM_EVENT_ID(type) (TAPI_WM_EVENT_FIRST + ((UINT32)(type)&0xFFu))

/* Phonebook AT-command indications. */
#define TAPI_EVENT_AT_CALL_FIRST 0x150
#define TAPI_EVENT_AT_CALL_LAST 0x153
#define TAPI_EVENT_AT_PB_QUERYSTATUS_IND 0x154
#define TAPI_EVENT_AT_PB_READ_IND 0x155
#define TAPI_EVENT_AT_PB_FIND_IND 0x156
#define TAPI_EVENT_AT_PB_WRITE_IND 0x157
#define TAPI_EVENT_AT_PB_REQ_RECORD_IND 0x158
#define TAPI_EVENT_AT_MSISDN_REQ_IND 0x15B

/* eventHandlerFlag of TapiRegisterClient. */
#define TAPI_DELIVER_NONE 0          /* requests only: indications for the client are refused */
#define TAPI_DELIVER_EVENT_HANDLER 1 /* indications go to the handler current at registration */

typedef struct TapiEvent {
  INT32 nClientId;
  INT32 nEventType;
  INT32 nParam1;
  INT32 nParam2;
  void* pData;
} TapiEvent;

/* IMSI of the card: mobile country code (3 digits), mobile network code (2 or 3 digits) and the
 * subscriber number (up to 10 digits), as terminated texts. The country code lies at offset 4. */
typedef struct TapiImsiInfo {
  UINT32 nValid;
  char szMcc[4];
  char szMnc[4];
  char szMsin[11];
} TapiImsiInfo;

ZEL_EXTERN_C_BEGIN

/* Registers the calling context as the client (registering again replaces the earlier record).
 * With TAPI_DELIVER_EVENT_HANDLER a current event handler is required. nFlags is kept for the
 * client and not interpreted. FALSE for a non-positive id, an unknown eventHandlerFlag or a missing
 * handler. */
BOOL TapiRegisterClient(INT32 nClientId, UINT32 nFlags, int eventHandlerFlag);
BOOL TapiUnregisterClient(INT32 nClientId);

/* Queues an indication for a registered client; FALSE when the client is unknown, takes no
 * indications, or its handler is gone. */
BOOL TapiRaiseEvent(INT32 nClientId, INT32 nEventType, INT32 nParam1, INT32 nParam2, void* pData);

/* The indication carried by a telephony WmEvent; FALSE for a null argument or another event. */
BOOL TapiGetEvent(const WmEvent* pWmEvent, TapiEvent* pEvent);

/* The IMSI of the card; FALSE (and a zeroed record) when none is known. */
BOOL SimGetImsiInfo(TapiImsiInfo* pInfo);

ZEL_EXTERN_C_END

#endif
