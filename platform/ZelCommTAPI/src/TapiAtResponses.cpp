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

extern "C" BOOL TapiATPbSendInitInfo(const TapiAtPbInitInfo* pInfo) {
  if (pInfo == nullptr) {
    return Refuse("TapiATPbSendInitInfo");
  }
  TapiAtResponse response = Response(0, TAPI_AT_PB_SUCCESS);
  response.init = *pInfo;
  return Deliver(response, "TapiATPbSendInitInfo");
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
  if (pInfo == nullptr || (pInfo->nCount > 0 && pInfo->pIndexes == nullptr)) {
    return Refuse("TapiATPbReadRsp");
  }
  TapiAtResponse response = Response(TAPI_EVENT_AT_PB_READ_IND, nError);
  response.read = *pInfo;
  return Deliver(response, "TapiATPbReadRsp");
}

extern "C" BOOL TapiATPbFindRsp(INT32 nError, INT32 /*nReserved*/, const TapiAtPbFindInfo* pInfo) {
  if (pInfo == nullptr || (pInfo->nCount > 0 && pInfo->pRecords == nullptr)) {
    return Refuse("TapiATPbFindRsp");
  }
  TapiAtResponse response = Response(TAPI_EVENT_AT_PB_FIND_IND, nError);
  response.find = *pInfo;
  return Deliver(response, "TapiATPbFindRsp");
}

extern "C" BOOL TapiATPbWriteRsp(INT32 nError, INT32 /*nReserved*/, const TapiAtPbWriteInfo* pInfo) {
  if (pInfo == nullptr) {
    return Refuse("TapiATPbWriteRsp");
  }
  TapiAtResponse response = Response(TAPI_EVENT_AT_PB_WRITE_IND, nError);
  response.write = *pInfo;
  return Deliver(response, "TapiATPbWriteRsp");
}

extern "C" BOOL TapiATPbReqRecordRsp(INT32 nError, const TapiAtPbRecords* pRecords) {
  if (pRecords == nullptr || (pRecords->nCount > 0 && pRecords->pRecords == nullptr)) {
    return Refuse("TapiATPbReqRecordRsp");
  }
  TapiAtResponse response = Response(TAPI_EVENT_AT_PB_REQ_RECORD_IND, nError);
  response.records = *pRecords;
  return Deliver(response, "TapiATPbReqRecordRsp");
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
