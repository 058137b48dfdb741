// SimOpen/SimClose and the four file requests: each is checked, carried out on the card at once
// and answered through the connection's callback on its event handler.
#include <algorithm>
#include <cstring>

#include "SimState.h"
#include "ZelDebug.h"
#include "ZelWm.h"

using zel::test::SimFault;
using zel::test::SimOp;

namespace zel::sim {

namespace {

// An accepted request: its card and file (null: the card has no such file) and a fault to apply.
struct Request {
  Card* pCard = nullptr;
  CardFile* pFile = nullptr;
  const Fault* pFault = nullptr;
  Fault fault{};
  Answer answer;
};

const Fault* TakeFault(SimState& state, uint32_t nFileId, SimOp op, Fault* pCopy) {
  for (Fault& fault : state.faults) {
    if (fault.op == op && fault.nTimes != 0 && (fault.nFileId == zel::test::kAnyFile || fault.nFileId == nFileId)) {
      if (fault.nTimes > 0) {
        --fault.nTimes;
      }
      *pCopy = fault;
      return pCopy;
    }
  }
  return nullptr;
}

// Checks what every request needs; false (logged) when it is not sent.
bool Begin(SimState& state, HOBJ hSim, bool bHasRequest, uint32_t nFileId, SimOp op, int nEventType,
           const char* pszCall, Request* pRequest) {
  if (state.connections.count(hSim) == 0) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - unknown handle %d\n", pszCall, static_cast<int>(hSim));
    return false;
  }
  if (!bHasRequest) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - pReqData is NULL\n", pszCall);
    return false;
  }
  pRequest->pCard = CurrentCard(state);
  if (pRequest->pCard == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - no card inserted (file 0x%04X)\n", pszCall, nFileId);
    return false;
  }
  if (state.nOutstandingSeq != 0 && !WmIsEventHandlerValid(state.hOutstandingHandler)) {
    state.nOutstandingSeq = 0;  // its handler was deleted with the answer in its queue
  }
  if (state.nOutstandingSeq != 0) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - a request is outstanding (file 0x%04X refused)\n", pszCall, nFileId);
    return false;
  }
  pRequest->pFault = TakeFault(state, nFileId, op, &pRequest->fault);
  if (pRequest->pFault != nullptr && pRequest->pFault->fault == SimFault::NotSent) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - not sent (file 0x%04X)\n", pszCall, nFileId);
    return false;
  }
  state.nOutstandingSeq = ++state.nSeq;
  state.hOutstandingHandler = state.connections[hSim].hEventHandler;
  ++state.counts[{nFileId, static_cast<int>(op)}];
  pRequest->pFile = FindFile(*pRequest->pCard, nFileId);
  pRequest->answer.hSim = hSim;
  pRequest->answer.nEventType = nEventType;
  pRequest->answer.nSeq = state.nOutstandingSeq;
  return true;
}

bool Allowed(const SimState& state, Access access) {
  switch (access) {
    case Access::Always:
      return true;
    case Access::Pin1:
      return state.bPin1;
    case Access::Pin2:
      return state.bPin2;
    case Access::Never:
      break;
  }
  return false;
}

UINT32 AccessCode(Access access) {
  static const UINT32 kCodes[] = {SIM_ACCESS_ALWAYS, SIM_ACCESS_PIN1, SIM_ACCESS_PIN2, SIM_ACCESS_NEVER};
  return kCodes[static_cast<int>(access)];
}

template <typename T>
void SetData(Answer* pAnswer, const T& value) {
  const auto* p = reinterpret_cast<const uint8_t*>(&value);
  pAnswer->bData = true;
  pAnswer->data.assign(p, p + sizeof(T));
}

// An invalidated file answers reads and updates only when it allows them while invalidated.
bool Usable(const CardFile& file) { return !file.bInvalidated || file.bRwWhenInvalidated; }

// The status of a record access (0 when it may go ahead).
int RecordStatus(const SimState& state, const CardFile* pFile, Access CardFile::*pAccess, UINT32 nRecordNum) {
  if (pFile == nullptr) {
    return SIM_STATUS_FILE_NOT_FOUND;
  }
  if (!pFile->bLinear) {
    return SIM_STATUS_INCONSISTENT;
  }
  if (nRecordNum < 1 || nRecordNum > pFile->records.size()) {
    return SIM_STATUS_OUT_OF_RANGE;
  }
  if (!Usable(*pFile)) {
    return SIM_STATUS_INVALIDATED;
  }
  return Allowed(state, pFile->*pAccess) ? SIM_STATUS_OK : SIM_STATUS_ACCESS_DENIED;
}

int TransparentStatus(const SimState& state, const CardFile* pFile, Access CardFile::*pAccess) {
  if (pFile == nullptr) {
    return SIM_STATUS_FILE_NOT_FOUND;
  }
  if (pFile->bLinear) {
    return SIM_STATUS_INCONSISTENT;
  }
  if (!Usable(*pFile)) {
    return SIM_STATUS_INVALIDATED;
  }
  return Allowed(state, pFile->*pAccess) ? SIM_STATUS_OK : SIM_STATUS_ACCESS_DENIED;
}

void FileInfoAnswer(uint32_t nFileId, const CardFile* pFile, Answer* pAnswer) {
  SimFileInfoEventData info{};
  info.fileID = nFileId;
  info.structure = SIM_FILE_STRUCTURE_UNKNOWN;
  if (pFile == nullptr) {
    pAnswer->nStatus = SIM_STATUS_FILE_NOT_FOUND;
  } else {
    info.structure = pFile->bLinear ? SIM_FILE_STRUCTURE_LINEAR_FIXED : SIM_FILE_STRUCTURE_TRANSPARENT;
    info.acRead = AccessCode(pFile->read);
    info.acUpdate = AccessCode(pFile->update);
    info.fileStatus = (pFile->bInvalidated ? 0u : SIM_FILE_STATUS_NOT_INVALIDATED) |
                      (pFile->bRwWhenInvalidated ? SIM_FILE_STATUS_RW_WHEN_INVALIDATED : 0u);
    info.available = 1;
    info.available2 = 1;
    info.recordLen = static_cast<UINT32>(pFile->bLinear ? pFile->nRecordLen : pFile->data.size());
    info.recordCount = static_cast<UINT32>(pFile->bLinear ? pFile->records.size() : (pFile->data.empty() ? 0 : 1));
    info.fileSize = static_cast<UINT32>(pFile->bLinear ? pFile->nRecordLen * pFile->records.size() : pFile->data.size());
  }
  SetData(pAnswer, info);
}

// The record (or transparent data) as it travels: the raw bytes or the decoded structure.
Bytes Travelling(const CardFile& file, const Bytes& raw) {
  if (file.shape.bRaw) {
    return raw;
  }
  Bytes out(RecordStructSize(file.shape.kind));
  DecodeRecord(file.shape.kind, raw.data(), raw.size(), file.nId, out.data());
  return out;
}

void ReadAnswer(const SimState& state, const CardFile* pFile, const SimReadFileReq& req, Answer* pAnswer) {
  const bool bRecord = req.accessMode == SIM_ACCESS_MODE_RECORD;
  if (!bRecord && req.accessMode != SIM_ACCESS_MODE_TRANSPARENT) {
    pAnswer->nStatus = SIM_STATUS_INCONSISTENT;
    return;
  }
  pAnswer->nStatus = bRecord ? RecordStatus(state, pFile, &CardFile::read, req.recordNum)
                             : TransparentStatus(state, pFile, &CardFile::read);
  if (pAnswer->nStatus != SIM_STATUS_OK) {
    return;
  }
  const Bytes body = Travelling(*pFile, bRecord ? pFile->records[req.recordNum - 1] : pFile->data);
  const SimReadEventHeader header{req.fileID, req.recordNum};
  SetData(pAnswer, header);
  pAnswer->data.insert(pAnswer->data.end(), body.begin(), body.end());
  pAnswer->nParam = static_cast<uint32_t>(body.size() & 0xFFFF);
}

bool Matches(const Bytes& record, const SimSearchRecordReq& req) {
  const size_t nPattern = std::min<size_t>(record.size(), sizeof(req.pattern));
  for (size_t i = 0; i < record.size(); ++i) {
    if (record[i] != req.pattern[i < nPattern ? i : nPattern - 1]) {
      return false;
    }
  }
  return true;
}

void SearchAnswer(const SimState& state, const CardFile* pFile, const SimSearchRecordReq& req, Answer* pAnswer) {
  pAnswer->nStatus = RecordStatus(state, pFile, &CardFile::read, std::max<UINT32>(req.firstRecord, 1));
  if (pFile != nullptr && pAnswer->nStatus == SIM_STATUS_OUT_OF_RANGE && pFile->records.empty()) {
    pAnswer->nStatus = SIM_STATUS_OK;  // nothing to search: no match
  }
  if (pAnswer->nStatus != SIM_STATUS_OK) {
    return;
  }
  SimSearchEventData result{};
  result.fileID = req.fileID;
  const size_t nFirst = std::max<UINT32>(req.firstRecord, 1) - 1;
  const size_t nEnd = std::min<size_t>(pFile->records.size(), nFirst + req.recordCount);
  for (size_t i = nFirst; i < nEnd; ++i) {
    if (Matches(pFile->records[i], req)) {
      result.pData[result.dataLen++] = static_cast<UINT8>(i + 1);
    }
  }
  SetData(pAnswer, result);
}

// Writes the raw record (or transparent data, nRecord -1) and the card file; on a failed file
// write the card keeps the old bytes.
int Commit(SimState& state, Card& card, CardFile& file, int nRecord, const Bytes& raw) {
  const Bytes old = nRecord < 0 ? file.data : file.records[static_cast<size_t>(nRecord)];
  SetRecord(card, file, nRecord, raw);
  if (!SaveCard(state)) {
    SetRecord(card, file, nRecord, old);
    return SIM_STATUS_TECHNICAL_PROBLEM;
  }
  return SIM_STATUS_OK;
}

int UpdateRecord(SimState& state, Card& card, CardFile& file, const SimUpdateFileReq& req) {
  Bytes raw(file.nRecordLen);
  if (file.shape.bRaw) {
    CopyBytes(raw.data(), req.data, raw.size());
  } else {
    std::string why;
    if (!EncodeRecord(file.shape.kind, req.data, raw.data(), raw.size(), &why)) {
      DbgPrint(DBG_CLASS_FAIL, "SimUpdateFile: - file 0x%04X record %u not written: %s\n", req.fileID, req.recordNum,
               why.c_str());
      return SIM_STATUS_INCONSISTENT;
    }
  }
  return Commit(state, card, file, static_cast<int>(req.recordNum) - 1, raw);
}

int UpdateTransparent(SimState& state, Card& card, CardFile& file, const SimUpdateFileReq& req) {
  if (req.recordLen == 0 || req.recordLen > file.data.size()) {
    return SIM_STATUS_OUT_OF_RANGE;
  }
  Bytes data = file.data;
  CopyBytes(data.data(), req.data, req.recordLen);
  return Commit(state, card, file, -1, data);
}

// Keeps in the answer how to put back the bytes a successful write replaced: a card pulled while
// the answer is still held never finished the write.
void KeepUndo(SimState& state, Request& request, int nRecord, Bytes old) {
  Card& card = *request.pCard;
  CardFile& file = *request.pFile;
  request.answer.undo = [&state, &card, &file, nRecord, old = std::move(old)] {
    SetRecord(card, file, nRecord, old);
    SaveCard(state);
  };
}

void UpdateAnswer(SimState& state, Request& request, const SimUpdateFileReq& req) {
  Answer& answer = request.answer;
  if (req.accessMode == SIM_ACCESS_MODE_RECORD) {
    answer.nStatus = RecordStatus(state, request.pFile, &CardFile::update, req.recordNum);
    if (answer.nStatus == SIM_STATUS_OK) {
      const int nRecord = static_cast<int>(req.recordNum) - 1;
      Bytes old = request.pFile->records[static_cast<size_t>(nRecord)];
      answer.nStatus = UpdateRecord(state, *request.pCard, *request.pFile, req);
      if (answer.nStatus == SIM_STATUS_OK) {
        KeepUndo(state, request, nRecord, std::move(old));
      }
    }
  } else if (req.accessMode == SIM_ACCESS_MODE_TRANSPARENT) {
    answer.nStatus = TransparentStatus(state, request.pFile, &CardFile::update);
    if (answer.nStatus == SIM_STATUS_OK) {
      Bytes old = request.pFile->data;
      answer.nStatus = UpdateTransparent(state, *request.pCard, *request.pFile, req);
      if (answer.nStatus == SIM_STATUS_OK) {
        KeepUndo(state, request, -1, std::move(old));
      }
    }
  } else {
    answer.nStatus = SIM_STATUS_INCONSISTENT;
  }
}

// The answer of a request spoiled by the test API.
void FaultAnswer(const Fault& fault, uint32_t nFileId, uint32_t nRecordNum, Answer* pAnswer) {
  if (fault.fault == SimFault::EmptyAnswer && pAnswer->nEventType == SIM_EVENT_READ_FILE) {
    pAnswer->nStatus = SIM_STATUS_OK;
    SetData(pAnswer, SimReadEventHeader{nFileId, nRecordNum});
    pAnswer->nParam = 0;
    return;
  }
  pAnswer->nStatus = fault.nStatus;
  if (pAnswer->nEventType == SIM_EVENT_GET_FILE_INFO) {
    FileInfoAnswer(nFileId, nullptr, pAnswer);  // the information of a missing file
    pAnswer->nStatus = fault.nStatus;
  }
}

template <typename Req, typename Fn>
BOOL Send(HOBJ hSim, const Req* pReq, uint32_t nFileId, uint32_t nRecordNum, SimOp op, int nEventType,
          const char* pszCall, Fn answer) {
  SimState& state = TheSim();
  std::lock_guard<std::mutex> lock(state.mutex);
  Request request;
  if (!Begin(state, hSim, pReq != nullptr, nFileId, op, nEventType, pszCall, &request)) {
    return FALSE;
  }
  if (request.pFault != nullptr) {
    FaultAnswer(*request.pFault, nFileId, nRecordNum, &request.answer);
  } else {
    answer(state, request);
  }
  PostAnswer(state, std::move(request.answer));
  return TRUE;
}

}  // namespace

}  // namespace zel::sim

using namespace zel::sim;

extern "C" HOBJ SimOpen(SimEventCallback pfnCallback) {
  const HOBJ hHandler = WmGetCurrentEventHandler();
  if (pfnCallback == nullptr || hHandler == INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "SimOpen: - %s\n", pfnCallback == nullptr ? "no callback" : "no current event handler");
    return INVALID_HOBJ;
  }
  SimState& state = TheSim();
  std::lock_guard<std::mutex> lock(state.mutex);
  const HOBJ hSim = state.hNext++;
  state.connections[hSim] = Connection{pfnCallback, hHandler};
  return hSim;
}

extern "C" BOOL SimClose(HOBJ hSim) {
  SimState& state = TheSim();
  std::lock_guard<std::mutex> lock(state.mutex);
  auto it = state.connections.find(hSim);
  if (it == state.connections.end()) {
    DbgPrint(DBG_CLASS_FAIL, "SimClose: - unknown handle %d\n", static_cast<int>(hSim));
    return FALSE;
  }
  Answer closed;
  closed.hSim = hSim;
  closed.nEventType = SIM_EVENT_SIM_CLOSE;
  closed.bRequest = false;
  closed.pfnFixed = it->second.pfnCallback;
  closed.hFixedHandler = it->second.hEventHandler;
  state.connections.erase(it);
  PostAnswer(state, std::move(closed));
  return TRUE;
}

extern "C" BOOL SimGetFileInfo(HOBJ hSim, UINT32 fileID) {
  const UINT32 nDummy = 0;
  return Send(hSim, &nDummy, fileID, 0, SimOp::FileInfo, SIM_EVENT_GET_FILE_INFO, "SimGetFileInfo",
              [fileID](SimState&, Request& request) { FileInfoAnswer(fileID, request.pFile, &request.answer); });
}

extern "C" BOOL SimSearchRecord(HOBJ hSim, const SimSearchRecordReq* pReqData) {
  return Send(hSim, pReqData, pReqData != nullptr ? pReqData->fileID : 0, 0, SimOp::Search, SIM_EVENT_SEARCH_RECORD,
              "SimSearchRecord", [pReqData](SimState& state, Request& request) {
                SearchAnswer(state, request.pFile, *pReqData, &request.answer);
              });
}

extern "C" BOOL SimReadFile(HOBJ hSim, const SimReadFileReq* pReqData) {
  return Send(hSim, pReqData, pReqData != nullptr ? pReqData->fileID : 0, pReqData != nullptr ? pReqData->recordNum : 0,
              SimOp::Read, SIM_EVENT_READ_FILE, "SimReadFile", [pReqData](SimState& state, Request& request) {
                ReadAnswer(state, request.pFile, *pReqData, &request.answer);
              });
}

extern "C" BOOL SimUpdateFile(HOBJ hSim, const SimUpdateFileReq* pReqData) {
  return Send(hSim, pReqData, pReqData != nullptr ? pReqData->fileID : 0, pReqData != nullptr ? pReqData->recordNum : 0,
              SimOp::Update, SIM_EVENT_UPDATE_FILE, "SimUpdateFile",
              [pReqData](SimState& state, Request& request) { UpdateAnswer(state, request, *pReqData); });
}
