/* Telephony library: the phonebook AT-command client.
 *
 * An external device reads the phone's phonebooks with AT commands. The library turns each
 * command into an indication for the client TAPI_CLIENT_AT (TapiRaiseEvent, ZelTapi.h) and the
 * client answers with one of the TapiAT...Rsp calls below. Arguments of the indications:
 *
 *   TAPI_EVENT_AT_PB_QUERYSTATUS_IND  nParam1 device, nParam2 request id; no data
 *   TAPI_EVENT_AT_PB_READ_IND         pData TapiAtPbReadReq
 *   TAPI_EVENT_AT_PB_FIND_IND         pData TapiAtPbFindReq
 *   TAPI_EVENT_AT_PB_WRITE_IND        pData TapiAtPbWriteReq
 *   TAPI_EVENT_AT_PB_REQ_RECORD_IND   pData TapiAtPbRecordReq
 *   TAPI_EVENT_AT_MSISDN_REQ_IND      no parameters
 *
 * Every answer is handed, during the call, to the response sink set with TapiATSetResponseSink
 * (the AT command line); the sink copies what it keeps. A response call answers FALSE when no sink
 * is set or an argument the response needs is null. */
#ifndef ZEL_TAPI_AT_H
#define ZEL_TAPI_AT_H

#include <ZelCore/ZelTypes.h>

/* Devices of the phonebook indications. */
#define TAPI_AT_PB_DEVICE_SIM 0
#define TAPI_AT_PB_DEVICE_PHONE 1
#define TAPI_AT_PB_DEVICE_DIALLED 2 /* call logs: 2, 3 and 4 */
#define TAPI_AT_PB_DEVICE_RECEIVED 3
#define TAPI_AT_PB_DEVICE_MISSED 4
#define TAPI_AT_PB_DEVICE_FDN 5 /* fixed dialling: no client serves it */

/* Error codes of the responses. */
#define TAPI_AT_PB_SUCCESS 0
#define TAPI_AT_PB_ERROR_NOT_FOUND 1 /* own numbers: none */
#define TAPI_AT_PB_ERROR_SIM_READ 6
#define TAPI_AT_PB_ERROR_MEM_FULL 9
#define TAPI_AT_PB_ERROR_INVALID_PHONE_INDEX 10
#define TAPI_AT_PB_ERROR_EMPTY_SIM_ENTRY 11
#define TAPI_AT_PB_ERROR_DEVICE 17 /* device error, invalid SIM index, or not supported */

/* Limits. */
#define TAPI_AT_PB_INDEX_MAX 2000     /* highest index of a read or record request */
#define TAPI_AT_PB_NUMBER_SIZE 41     /* 40 characters + terminator */
#define TAPI_AT_PB_NAME_CHARS 100     /* characters of a record name */
#define TAPI_AT_PB_NAME_SIZE 401      /* 100 characters of UTF-8 + terminator */
#define TAPI_AT_PB_FIND_TEXT_SIZE 401 /* search text of a find, UTF-8 */
#define TAPI_AT_MSISDN_MAX 10
#define TAPI_AT_MSISDN_NAME_SIZE 271 /* 270 bytes + terminator */

/* Indication data (texts are UTF-8). */
typedef struct TapiAtPbReadReq {
  INT32 nDevice;
  INT32 nFrom;
  INT32 nTo;
} TapiAtPbReadReq;

typedef struct TapiAtPbFindReq {
  INT32 nDevice;
  char szText[TAPI_AT_PB_FIND_TEXT_SIZE];
} TapiAtPbFindReq;

typedef struct TapiAtPbWriteReq {
  INT32 nDevice;
  INT32 nIndex; /* 0: the first free one */
  INT32 nType;
  char szNumber[TAPI_AT_PB_NUMBER_SIZE];
  char szName[TAPI_AT_PB_NAME_SIZE];
} TapiAtPbWriteReq;

typedef struct TapiAtPbRecordReq {
  INT32 nDevice;
  INT32 nCount;
  const UINT16* pIndexes;
} TapiAtPbRecordReq;

/* Response data. */
typedef struct TapiAtPbInitInfo {
  INT32 nUsed;
  INT32 nTotal;
  INT32 nTextLength;
} TapiAtPbInitInfo;

typedef struct TapiAtPbStatus {
  INT32 nDevice;
  INT32 nUsed;
  INT32 nTotal;
  INT32 nTextLength;
} TapiAtPbStatus;

typedef struct TapiAtPbReadInfo {
  INT32 nDevice;
  INT32 nCount;
  const UINT16* pIndexes;
} TapiAtPbReadInfo;

typedef struct TapiAtPbRecord {
  INT32 nIndex;
  char szNumber[TAPI_AT_PB_NUMBER_SIZE];
  char szName[TAPI_AT_PB_NAME_SIZE];
} TapiAtPbRecord;

typedef struct TapiAtPbRecords {
  INT32 nCount;
  const TapiAtPbRecord* pRecords;
} TapiAtPbRecords;

typedef struct TapiAtPbFindInfo {
  INT32 nCount;
  const TapiAtPbRecord* pRecords;
} TapiAtPbFindInfo;

typedef struct TapiAtPbWriteInfo {
  INT32 nDevice;
  INT32 nIndex;
} TapiAtPbWriteInfo;

typedef char TapiAtMsisdnName[TAPI_AT_MSISDN_NAME_SIZE];
typedef char TapiAtMsisdnNumber[TAPI_AT_PB_NUMBER_SIZE];

/* One response as the sink sees it: nKind the indication answered (TAPI_EVENT_AT_PB_..._IND or
 * TAPI_EVENT_AT_MSISDN_REQ_IND; 0 for the initial information), nError its code, and the member
 * of that kind (the others are zero). Pointers are valid during the sink call only. */
typedef struct TapiAtResponse {
  INT32 nKind;
  INT32 nError;
  INT32 nRequestId;
  TapiAtPbInitInfo init;
  TapiAtPbStatus status;
  TapiAtPbReadInfo read;
  TapiAtPbRecords records;
  TapiAtPbFindInfo find;
  TapiAtPbWriteInfo write;
  INT32 nMsisdnCount;
  const TapiAtMsisdnName* pMsisdnNames;
  const TapiAtMsisdnNumber* pMsisdnNumbers;
  const INT32* pMsisdnTon; /* 1 for an international number */
} TapiAtResponse;

typedef void (*TapiAtResponseSink)(const TapiAtResponse* pResponse, void* pUserData);

ZEL_EXTERN_C_BEGIN

/* Sets the sink of the responses (null: none; responses are then refused). */
void TapiATSetResponseSink(TapiAtResponseSink pfnSink, void* pUserData);

BOOL TapiATPbSendInitInfo(const TapiAtPbInitInfo* pInfo);
BOOL TapiATPbQueryStatusRsp(INT32 nError, INT32 nRequestId, const TapiAtPbStatus* pStatus);
BOOL TapiATPbReadRsp(INT32 nError, INT32 nReserved, const TapiAtPbReadInfo* pInfo);
BOOL TapiATPbFindRsp(INT32 nError, INT32 nReserved, const TapiAtPbFindInfo* pInfo);
BOOL TapiATPbWriteRsp(INT32 nError, INT32 nReserved, const TapiAtPbWriteInfo* pInfo);
BOOL TapiATPbReqRecordRsp(INT32 nError, const TapiAtPbRecords* pRecords);
/* nCount names, numbers and TON flags; the arrays may be null when nCount is 0. */
BOOL TapiATMSISDNReqRsp(INT32 nError, INT32 nCount, const TapiAtMsisdnName* pNames,
                        const TapiAtMsisdnNumber* pNumbers, const INT32* pTonFlags);

ZEL_EXTERN_C_END

#endif
