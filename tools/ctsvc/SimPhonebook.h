// The SIM phonebook of the data directory's card through the service's SIM C API: group loads and
// writes started here and waited for until the "CTSVC" thread delivers their callbacks.
#ifndef CTSVC_TOOL_SIM_PHONEBOOK_H
#define CTSVC_TOOL_SIM_PHONEBOOK_H

#include <condition_variable>
#include <mutex>
#include <string>

#include "CtSvcSimCi.h"
#include "SimCardFiles.h"

namespace ctsvc_tool {

// One asynchronous answer: started by the caller, delivered on the handler thread.
class SimAnswer {
 public:
  // Waits for the answer; false when the card stopped answering.
  bool Wait() {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_cond.wait_for(lock, kAnswerTimeout, [this] { return m_bDone; });
  }
  int Result() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nResult;
  }
  int RecordIndex() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nRecordIndex;
  }
  static void OnInit(int, int nResult, void* pUserData) { static_cast<SimAnswer*>(pUserData)->_Done(nResult, -1); }
  static void OnSet(int, int nRecordIndex, int nResult, void* pUserData) {
    static_cast<SimAnswer*>(pUserData)->_Done(nResult, nRecordIndex);
  }

 private:
  void _Done(int nResult, int nRecordIndex) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_nResult = nResult;
    m_nRecordIndex = nRecordIndex;
    m_bDone = true;
    m_cond.notify_all();
  }
  std::mutex m_mutex;
  std::condition_variable m_cond;
  bool m_bDone = false;
  int m_nResult = 0;
  int m_nRecordIndex = -1;
};

// Loads a group with pfnInit and waits; true when it loaded.
inline bool LoadSimGroup(BOOL (*pfnInit)(CtSvcSimInitCallback, void*)) {
  SimAnswer answer;
  return pfnInit(SimAnswer::OnInit, &answer) && answer.Wait() && answer.Result() != 0;
}

// Brings the service up and checks that a card is inserted; on failure prints why (the service is
// down again) and answers false.
bool OpenSimService(const Options& options, const char* pszCommand);

}  // namespace ctsvc_tool

#endif
