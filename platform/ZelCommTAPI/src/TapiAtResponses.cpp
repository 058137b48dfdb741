// Responses of the phonebook AT-command client, handed to the sink the AT command line set.
#include <mutex>

#include "ZelDebug.h"
#include "ZelTapi.h"
#include "ZelTapiAt.h"

namespace {

struct Sink {
  std::mutex mutex;
  TapiAtResponseSink pfnSink = nullptr;
  void* pUserData = nullptr;
};

Sink& TheSink() {
  static Sink s_sink;
  return s_sink;
}

// Hands one response to the sink; FALSE when there is none. The sink runs under the lock, so it
// is never called after it was replaced.
BOOL Deliver(const TapiAtResponse& response, const char* pszCall) {
  Sink& sink = TheSink();
  std::lock_guard<std::mutex> lock(sink.mutex);
  if (sink.pfnSink == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - no AT command line listens, response dropped\n", pszCall);
    return FALSE;
  }
  sink.pfnSink(&response, sink.pUserData);
  return TRUE;
}

BOOL Refuse(const char* pszCall) {
  DbgPrint(DBG_CLASS_FAIL, "%s: - null argument\n", pszCall);
  return FALSE;
}

TapiAtResponse Response(INT32 nKind, INT32 nError) {
  TapiAtResponse response{};
  response.nKind = nKind;
  response.nError = nError;
  return response;
}

}  // namespace

extern "C" void TapiATSetResponseSink(TapiAtResponseSink pfnSink, void* pUserData) {
  Sink& sink = TheSink();
  std::lock_guard<std::mutex> lock(sink.mutex);
  sink.pfnSink = pfnSink;
  sink.pUserData = pUserData;
}

namespace {

// A response carrying one structure in the member of its kind; bValid tells whether the structure
// holds what it names.
template <typename T>
BOOL Respond(const char* pszCall, INT32 nKind, INT32 nError, const T* pData, bool bValid,
             T TapiAtResponse::*pMember) {
  if (pData == nullptr || !bValid) {
    return Refuse(pszCall);
  }
  TapiAtResponse response = Response(nKind, nError);
  response.*pMember = *pData;
  return Deliver(response, pszCall);
}

}  // namespace

extern "C" BOOL TapiATPbSendInitInfo(const TapiAtPbInitInfo* pInfo) {
  return Respond("TapiATPbSendInitInfo", 0, TAPI_AT_PB_SUCCESS, pInfo, true, &TapiAtResponse::init);
}

extern "C" BOOL TapiATPbQueryStatusRsp(INT32 nError, INT32 nRequestId, const TapiAtPbStatus* pStatus) {
  if (pStatus == nullptr) {
    return Refuse("TapiATPbQueryStatusRsp");
  }
  TapiAtResponse response = Response(TAPI_EVENT_AT_PB_QUERYSTATUS_IND, nError);
  response.nRequestId = nRequestId;
  response.status = *pStatus;
  return Deliver(response, "TapiATPbQueryStatusRsp");
}

extern "C" BOOL TapiATPbReadRsp(INT32 nError, INT32 /*nReserved*/, const TapiAtPbReadInfo* pInfo) {
  return Respond("TapiATPbReadRsp", TAPI_EVENT_AT_PB_READ_IND, nError, pInfo,
                 pInfo != nullptr && (pInfo->nCount <= 0 || pInfo->pIndexes != nullptr), &TapiAtResponse::read);
}

extern "C" BOOL TapiATPbFindRsp(INT32 nError, INT32 /*nReserved*/, const TapiAtPbFindInfo* pInfo) {
  return Respond("TapiATPbFindRsp", TAPI_EVENT_AT_PB_FIND_IND, nError, pInfo,
                 pInfo != nullptr && (pInfo->nCount <= 0 || pInfo->pRecords != nullptr), &TapiAtResponse::find);
}

extern "C" BOOL TapiATPbWriteRsp(INT32 nError, INT32 /*nReserved*/, const TapiAtPbWriteInfo* pInfo) {
  return Respond("TapiATPbWriteRsp", TAPI_EVENT_AT_PB_WRITE_IND, nError, pInfo, true, &TapiAtResponse::write);
}

extern "C" BOOL TapiATPbReqRecordRsp(INT32 nError, const TapiAtPbRecords* pRecords) {
  return Respond("TapiATPbReqRecordRsp", TAPI_EVENT_AT_PB_REQ_RECORD_IND, nError, pRecords,
                 pRecords != nullptr && (pRecords->nCount <= 0 || pRecords->pRecords != nullptr),
                 &TapiAtResponse::records);
}

extern "C" BOOL TapiATMSISDNReqRsp(INT32 nError, INT32 nCount, const TapiAtMsisdnName* pNames,
                                   const TapiAtMsisdnNumber* pNumbers, const INT32* pTonFlags) {
  if (nCount > 0 && (pNames == nullptr || pNumbers == nullptr || pTonFlags == nullptr)) {
    return Refuse("TapiATMSISDNReqRsp");
  }
  TapiAtResponse response = Response(TAPI_EVENT_AT_MSISDN_REQ_IND, nError);
  response.nMsisdnCount = nCount > 0 ? nCount : 0;
  response.pMsisdnNames = pNames;
  response.pMsisdnNumbers = pNumbers;
  response.pMsisdnTon = pTonFlags;
  return Deliver(response, "TapiATMSISDNReqRsp");
}
