// Helpers of the SIM card tests: a connection whose events are recorded, and requests built as the
// service builds them.
#ifndef ZEL_SIM_TEST_SUPPORT_H
#define ZEL_SIM_TEST_SUPPORT_H

#include <cstring>
#include <string>
#include <vector>

#include "../ZelCore/CoreTestSupport.h"
#include "ZelMem.h"
#include "ZelSim.h"
#include "ZelSimTest.h"

namespace zel::simtest {

struct Event {
  int nStatus;
  int nType;
  std::vector<uint8_t> data;  // empty: no data
  uint32_t nParam;
  HOBJ hCurrent;  // the event handler current while the callback ran
};

// One connection opened on an event handler of its own; every event is recorded and its data
// freed as the library asks. The card is reset before and after.
class SimConnection {
 public:
  SimConnection() : m_handler("SimTestHandler", [](WmEHState*, WmEvent*) {}) {
    zel::test::ResetSim();
    s_pEvents = &m_events;
    WmSetCurrentEventHandler(m_handler.Handle());
    m_hSim = SimOpen(&SimConnection::Callback);
    WmSetCurrentEventHandler(INVALID_HOBJ);
  }
  ~SimConnection() {
    zel::test::HoldSimAnswers(false);
    SimClose(m_hSim);
    m_handler.WaitIdle();
    s_pEvents = nullptr;
    zel::test::ResetSim();
  }
  SimConnection(const SimConnection&) = delete;
  SimConnection& operator=(const SimConnection&) = delete;

  HOBJ Handle() const { return m_hSim; }
  HOBJ Handler() const { return m_handler.Handle(); }
  // Waits until the handler ran everything posted to it; the events so far.
  std::vector<Event> Events() {
    m_handler.WaitIdle();
    return m_events.Values();
  }
  // The last event after waiting (a zeroed one when there is none).
  Event Last() {
    const std::vector<Event> events = Events();
    return events.empty() ? Event{-1, -1, {}, 0, INVALID_HOBJ} : events.back();
  }
  // Optional: run from inside the callback after recording (may send the next request).
  static inline std::function<void(const Event&)> s_onEvent;

 private:
  static void Callback(int nStatus, int nType, void* pData, UINT32 nParam) {
    Event event{nStatus, nType, {}, nParam, WmGetCurrentEventHandler()};
    if (pData != nullptr) {
      // Read events carry their length in nParam; the others have fixed shapes.
      const size_t nSize = nType == SIM_EVENT_READ_FILE        ? SIM_READ_EVENT_DATA_OFFSET + (nParam & 0xFFFF)
                           : nType == SIM_EVENT_GET_FILE_INFO ? sizeof(SimFileInfoEventData)
                           : nType == SIM_EVENT_SEARCH_RECORD ? sizeof(SimSearchEventData)
                                                              : 0;
      event.data.assign(static_cast<uint8_t*>(pData), static_cast<uint8_t*>(pData) + nSize);
      MemFreeTraceMultiHeap(pData, __FILE__, __LINE__);
    }
    if (s_pEvents != nullptr) {
      s_pEvents->Add(event);
    }
    if (s_onEvent) {
      s_onEvent(event);
    }
  }

  static inline zel::coretest::Recorder<Event>* s_pEvents = nullptr;
  zel::coretest::FunctionHandler m_handler;
  zel::coretest::Recorder<Event> m_events;
  HOBJ m_hSim = INVALID_HOBJ;
};

template <typename T>
T As(const Event& event, size_t nOffset = 0) {
  T value{};
  if (event.data.size() >= nOffset + sizeof(T)) {
    std::memcpy(&value, event.data.data() + nOffset, sizeof(T));
  }
  return value;
}

inline SimReadFileReq ReadReq(UINT32 nFileId, UINT32 nRecord, UINT32 nLen) {
  SimReadFileReq req{};
  req.fileID = nFileId;
  req.accessMode = nRecord == 0 ? SIM_ACCESS_MODE_TRANSPARENT : SIM_ACCESS_MODE_RECORD;
  req.recordNum = nRecord;
  req.count = 1;
  req.recordLen = nLen;
  return req;
}

inline SimSearchRecordReq EmptySearchReq(UINT32 nFileId, UINT32 nCount, UINT32 nLen, uint8_t nPattern = 0xFF) {
  SimSearchRecordReq req{};
  req.fileID = nFileId;
  req.searchMode = 1;
  req.recordCount = nCount;
  req.firstRecord = 1;
  req.matchKind = 4;
  req.recordLen = nLen;
  std::memset(req.pattern, nPattern, sizeof(req.pattern));
  return req;
}

template <typename T>
SimUpdateFileReq UpdateReq(UINT32 nFileId, UINT32 nRecord, UINT32 nLen, const T& record) {
  SimUpdateFileReq req{};
  req.fileID = nFileId;
  req.accessMode = SIM_ACCESS_MODE_RECORD;
  req.recordNum = nRecord;
  req.count = 1;
  req.recordLen = nLen;
  std::memcpy(req.data, &record, sizeof(T));
  return req;
}

inline SimDialNumberInfo DialInfo(const char* pszName, const char* pszDigits, UINT32 nTon) {
  SimDialNumberInfo info{};
  info.used = 1;
  info.alphaLen = static_cast<UINT32>(std::strlen(pszName));
  std::memcpy(info.szAlphaID, pszName, info.alphaLen);
  std::strncpy(info.szNumber, pszDigits, sizeof(info.szNumber) - 1);
  info.numberLen = static_cast<UINT32>(std::strlen(info.szNumber));
  info.ton = nTon;
  info.npi = 1;
  info.capabilityId = 0xFF;
  info.extensionId = 0xFF;
  return info;
}

inline std::string AlphaOf(const SimDialNumberInfo& info) {
  return std::string(reinterpret_cast<const char*>(info.szAlphaID), info.alphaLen);
}

}  // namespace zel::simtest

#endif
