// The phonebook AT answers: query status, read, find, write and the initial information, and the
// registration of every AT handler on "CTSVC".
#include "CtSvcEHAtPb.h"

#include <algorithm>
#include <memory>

#include "CtSvcEH.h"
#include "CtSvcEHAtPbRows.h"
#include "CtSvcSim/SimFile/CtSvcSimFileTypes.h"
#include "CtSvcSimCi.h"
#include "CtSvcStatus.h"
#include "ZelDebug.h"
#include "ZelMem.h"
#include "ZelPhs.h"

namespace {

// Maximum text length reported by a query status.
constexpr INT32 kStatusTextLength = 50;
// PhsGetStatus(PSV_SIM_TYPE) of a card whose ANR files count into the initial total.
constexpr INT32 kSimTypeWithAnr = 2;

struct MemDeleter {
  void operator()(void* p) const { MemFree(p); }
};

bool IsCallLog(INT32 nDevice) { return nDevice >= TAPI_AT_PB_DEVICE_DIALLED && nDevice <= TAPI_AT_PB_DEVICE_MISSED; }

void LogCallLog(const char* pszHandler) {
  DbgPrint(DBG_CLASS_TRACE, "%s: - Device type is for CallLog!!\n", pszHandler);
}

// Rows of the device's list within [nLower, nUpper]: a range counts the rows that exist between
// the bounds, a single index 1 when the list reaches it.
INT32 ReadCount(int nRows, INT32 nLower, INT32 nUpper) {
  if (nLower < 1) {
    return 0;
  }
  if (nUpper != nLower && nUpper != 0) {
    if (nRows < nLower) {
      return 0;
    }
    return nRows <= nUpper ? nRows - nLower + 1 : nUpper - nLower + 1;
  }
  return nRows >= nLower ? 1 : 0;
}

void AnswerRead(INT32 nError, INT32 nDevice, INT32 nCount, const UINT16* pIndexes) {
  const TapiAtPbReadInfo info{nDevice, nCount, pIndexes};
  if (!TapiATPbReadRsp(nError, 0, &info)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEHAtPbRead: - TapiATPbReadRsp failed\n");
  }
}

}  // namespace

void CtSvcEHAtPbQueryStatus(const TapiEvent* pEvent) {
  const INT32 nDevice = pEvent->nParam1;
  TapiAtPbStatus status{nDevice, -1, -1, kStatusTextLength};
  INT32 nError = TAPI_AT_PB_SUCCESS;
  if (nDevice == TAPI_AT_PB_DEVICE_PHONE) {
    status.nUsed = status.nTotal = std::min(CtSvcEHAtPbRowCount(nDevice), TAPI_AT_PB_INDEX_MAX);
  } else if (nDevice == TAPI_AT_PB_DEVICE_SIM) {
    status.nUsed = status.nTotal = CtSvcEHAtSimAccessible() ? CtSvcEHAtPbRowCount(nDevice) : 0;
  } else if (IsCallLog(nDevice)) {
    LogCallLog("CtSvcEHAtPbQueryStatus");
    return;
  } else {
    nError = TAPI_AT_PB_ERROR_DEVICE;
  }
  DbgPrint(DBG_CLASS_TRACE, "Device(0:SIM 1:Phone) - USED - TOTAL =%d - %d - %d \n", nDevice, status.nUsed,
           status.nTotal);
  if (!TapiATPbQueryStatusRsp(nError, pEvent->nParam2, &status)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEHAtPbQueryStatus: - TapiATPbQueryStatusRsp failed\n");
  }
}

void CtSvcEHAtPbRead(const TapiEvent* pEvent) {
  const auto* pReq = static_cast<const TapiAtPbReadReq*>(pEvent->pData);
  if (!ZEL_REQUIRE(pReq != NULL)) {
    AnswerRead(TAPI_AT_PB_ERROR_DEVICE, -1, 0, nullptr);
    return;
  }
  if (IsCallLog(pReq->nDevice)) {
    LogCallLog("CtSvcEHAtPbRead");
    return;
  }
  if (pReq->nDevice != TAPI_AT_PB_DEVICE_PHONE && pReq->nDevice != TAPI_AT_PB_DEVICE_SIM) {
    AnswerRead(TAPI_AT_PB_ERROR_DEVICE, pReq->nDevice, 0, nullptr);
    return;
  }
  const bool bSim = pReq->nDevice == TAPI_AT_PB_DEVICE_SIM;
  const INT32 nUpper = std::min(pReq->nTo, bSim ? CtSvcEHAtSimCapacity() : TAPI_AT_PB_INDEX_MAX);
  const INT32 nLower = std::min(std::max(pReq->nFrom, 1), nUpper);
  const INT32 nCount = ReadCount(CtSvcEHAtPbRowCount(pReq->nDevice), nLower, nUpper);
  if (nCount <= 0) {
    AnswerRead(TAPI_AT_PB_SUCCESS, pReq->nDevice, 0, nullptr);
    return;
  }
  const std::unique_ptr<UINT16, MemDeleter> pIndexes(
      static_cast<UINT16*>(MemAlloc(sizeof(UINT16) * static_cast<size_t>(nCount))));
  if (pIndexes == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "==[READ]=== [SIM] .TAPI_AT_PB_ERROR_MEM_FULL\n");
    AnswerRead(TAPI_AT_PB_ERROR_MEM_FULL, pReq->nDevice, 0, nullptr);
    return;
  }
  for (INT32 i = 0; i < nCount; ++i) {
    pIndexes.get()[i] = static_cast<UINT16>(nLower + i);
  }
  AnswerRead(TAPI_AT_PB_SUCCESS, pReq->nDevice, nCount, pIndexes.get());
}

// No search is made: a find is answered with success and no records.
void CtSvcEHAtPbFind(const TapiEvent* /*pEvent*/) {
  const TapiAtPbFindInfo info{0, nullptr};
  if (!TapiATPbFindRsp(TAPI_AT_PB_SUCCESS, 1, &info)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEHAtPbFind: - TapiATPbFindRsp failed\n");
  }
}

// Writing through AT commands is not supported.
void CtSvcEHAtPbWrite(const TapiEvent* pEvent) {
  const auto* pReq = static_cast<const TapiAtPbWriteReq*>(pEvent->pData);
  const TapiAtPbWriteInfo info{pReq != nullptr ? pReq->nDevice : -1, pReq != nullptr ? pReq->nIndex : -1};
  if (!TapiATPbWriteRsp(TAPI_AT_PB_ERROR_DEVICE, 0, &info)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEHAtPbWrite: - TapiATPbWriteRsp failed\n");
  }
}

void CtSvcEHAtPbSendInitInfo(void* /*pData*/, INT32 /*nParam1*/, INT32 /*nParam2*/) {
  TapiAtPbInitInfo info{0, 0, CtSvcSimGetRecordStringLength(CTSVC_SIM_ADN)};
  if (CtSimIsFdnMode()) {
    info.nUsed = CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_FDN);
    info.nTotal = CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_FDN);
  } else if (PhsGetStatus(PSV_SIM_TYPE) == kSimTypeWithAnr) {
    info.nUsed = 1;
    info.nTotal = CtSvcEHAtSimAdnAnrTotal();
  } else {
    info.nUsed = CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_ADN);
    info.nTotal = CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_ADN);
  }
  if (!TapiATPbSendInitInfo(&info)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEHAtPbSendInitInfo: - TapiATPbSendInitInfo failed\n");
  }
}

void CtSvcEHAtPbStart(void) {
  struct Route {
    INT32 nEventType;
    CtSvcEHTapiHandler pfnHandler;
  };
  static const Route kRoutes[] = {
      {TAPI_EVENT_AT_PB_QUERYSTATUS_IND, &CtSvcEHAtPbQueryStatus},
      {TAPI_EVENT_AT_PB_READ_IND, &CtSvcEHAtPbRead},
      {TAPI_EVENT_AT_PB_FIND_IND, &CtSvcEHAtPbFind},
      {TAPI_EVENT_AT_PB_WRITE_IND, &CtSvcEHAtPbWrite},
      {TAPI_EVENT_AT_PB_REQ_RECORD_IND, &CtSvcEHAtPbReqRecord},
      {TAPI_EVENT_AT_MSISDN_REQ_IND, &CtSvcEHAtOwnNumber},
  };
  for (const Route& route : kRoutes) {
    CtSvcEHSetTapiHandler(route.nEventType, route.pfnHandler);
  }
  CtSvcEHSetNotifyHandler(CT_NOTIFY_INITIALIZED, &CtSvcEHAtPbSendInitInfo);
}
