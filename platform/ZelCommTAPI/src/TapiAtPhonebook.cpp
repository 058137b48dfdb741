// The AT command line's phonebook through the AT indications of the client TAPI_CLIENT_AT: each
// request is raised, the client's handler is waited for, and its response is what it sent.
#include <algorithm>
#include <cstring>

#include "TapiClient.h"
#include "ZelAc.h"
#include "ZelAtCommand.h"
#include "ZelDebug.h"
#include "ZelTapi.h"

namespace zel::at {

namespace {

// How long a request is waited for before the wait is logged (and taken up again).
constexpr INT32 kAnswerTimeoutMs = 30000;

std::vector<AtEntry> Entries(const TapiAtPbRecord* pRecords, INT32 nCount) {
  std::vector<AtEntry> vcEntries;
  for (INT32 i = 0; i < nCount; ++i) {
    vcEntries.push_back(AtEntry{pRecords[i].nIndex, pRecords[i].szNumber, pRecords[i].szName});
  }
  return vcEntries;
}

}  // namespace

CTapiAtPhonebook::CTapiAtPhonebook() { TapiATSetResponseSink(&CTapiAtPhonebook::_OnResponse, this); }

CTapiAtPhonebook::~CTapiAtPhonebook() { TapiATSetResponseSink(nullptr, nullptr); }

void CTapiAtPhonebook::_OnResponse(const TapiAtResponse* pResponse, void* pUserData) {
  auto* pThis = static_cast<CTapiAtPhonebook*>(pUserData);
  std::lock_guard<std::mutex> lock(pThis->m_mutex);
  if (pResponse->nKind != pThis->m_nAwaited || pThis->m_answer.nError != kAtNoAnswer) {
    DbgPrint(DBG_CLASS_FAIL, "CTapiAtPhonebook: - unexpected response 0x%X dropped\n",
             static_cast<UINT32>(pResponse->nKind));
    return;
  }
  Answer& answer = pThis->m_answer;
  answer.nError = pResponse->nError;
  answer.status = pResponse->status;
  for (INT32 i = 0; i < pResponse->read.nCount; ++i) {
    answer.vcIndexes.push_back(pResponse->read.pIndexes[i]);
  }
  if (pResponse->nKind == TAPI_EVENT_AT_PB_REQ_RECORD_IND) {
    answer.vcEntries = Entries(pResponse->records.pRecords, pResponse->records.nCount);
  } else if (pResponse->nKind == TAPI_EVENT_AT_PB_FIND_IND) {
    answer.vcEntries = Entries(pResponse->find.pRecords, pResponse->find.nCount);
  }
  for (INT32 i = 0; i < pResponse->nMsisdnCount; ++i) {
    answer.vcEntries.push_back(AtEntry{i + 1, pResponse->pMsisdnNumbers[i], pResponse->pMsisdnNames[i]});
  }
}

CTapiAtPhonebook::Answer CTapiAtPhonebook::_Ask(INT32 nEventType, INT32 nParam1, INT32 nParam2, void* pData) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_nAwaited = nEventType;
    m_answer = Answer{};
  }
  const HOBJ hHandler = TapiClientEventHandler(TAPI_CLIENT_AT);
  if (hHandler == INVALID_HOBJ || !TapiRaiseEvent(TAPI_CLIENT_AT, nEventType, nParam1, nParam2, pData)) {
    DbgPrint(DBG_CLASS_FAIL, "CTapiAtPhonebook: - no client takes indication 0x%X\n", static_cast<UINT32>(nEventType));
  } else {
    // The indication points into the caller's frame: it must be handled before this returns.
    while (WmWaitEventHandlerIdle(hHandler, kAnswerTimeoutMs) == 0) {
      DbgPrint(DBG_CLASS_FAIL, "CTapiAtPhonebook: - still waiting for indication 0x%X\n",
               static_cast<UINT32>(nEventType));
    }
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  m_nAwaited = 0;
  return std::move(m_answer);
}

int CTapiAtPhonebook::QueryStatus(int nDevice, TapiAtPbStatus* pStatus) {
  const Answer answer = _Ask(TAPI_EVENT_AT_PB_QUERYSTATUS_IND, nDevice, 0, nullptr);
  *pStatus = answer.status;
  return answer.nError;
}

int CTapiAtPhonebook::Read(int nDevice, int nFrom, int nTo, std::vector<int>* pIndexes) {
  TapiAtPbReadReq request{nDevice, nFrom, nTo};
  Answer answer = _Ask(TAPI_EVENT_AT_PB_READ_IND, 0, 0, &request);
  *pIndexes = std::move(answer.vcIndexes);
  return answer.nError;
}

int CTapiAtPhonebook::Records(int nDevice, const std::vector<int>& vcIndexes, std::vector<AtEntry>* pEntries) {
  std::vector<UINT16> vcWire;
  for (int nIndex : vcIndexes) {
    vcWire.push_back(static_cast<UINT16>(std::clamp(nIndex, 0, 0xFFFF)));
  }
  TapiAtPbRecordReq request{nDevice, static_cast<INT32>(vcWire.size()), vcWire.data()};
  Answer answer = _Ask(TAPI_EVENT_AT_PB_REQ_RECORD_IND, 0, 0, &request);
  *pEntries = std::move(answer.vcEntries);
  return answer.nError;
}

int CTapiAtPhonebook::Find(int nDevice, const std::string& strText, std::vector<AtEntry>* pEntries) {
  TapiAtPbFindReq request{};
  request.nDevice = nDevice;
  AcStrlcpy(request.szText, strText.c_str(), sizeof(request.szText));
  Answer answer = _Ask(TAPI_EVENT_AT_PB_FIND_IND, 0, 0, &request);
  *pEntries = std::move(answer.vcEntries);
  return answer.nError;
}

int CTapiAtPhonebook::Write(const TapiAtPbWriteReq& request) {
  TapiAtPbWriteReq copy = request;
  return _Ask(TAPI_EVENT_AT_PB_WRITE_IND, 0, 0, &copy).nError;
}

int CTapiAtPhonebook::OwnNumbers(std::vector<AtEntry>* pEntries) {
  Answer answer = _Ask(TAPI_EVENT_AT_MSISDN_REQ_IND, 0, 0, nullptr);
  *pEntries = std::move(answer.vcEntries);
  return answer.nError;
}

}  // namespace zel::at
