// The SIM phonebook of the data directory's card through the service's SIM C API: group loads and
// writes started here and waited for until the "CTSVC" thread delivers their callbacks.
#ifndef CTSVC_TOOL_SIM_PHONEBOOK_H
#define CTSVC_TOOL_SIM_PHONEBOOK_H

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "CtSvcSimCi.h"
#include "CtsvcTool.h"
#include "Json.h"

namespace ctsvc_tool {

// How long the tool waits for the card to answer one request.
constexpr auto kAnswerTimeout = std::chrono::seconds(30);

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
  // The phonebook's callbacks: the end of its start and the result of a SIM write.
  static void OnPhonebookInit(BOOL bResult, void* pUserData) { static_cast<SimAnswer*>(pUserData)->_Done(bResult, -1); }
  static void OnPhonebookSet(int nRecordIndex, int nResult, void* pUserData) {
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

// Starts the phonebook against the data directory's card as an application does
// (CtSvcPhonebookInitialize) and waits for it: the SIM groups are loaded and, when the card or
// its content changed, copied into the store. False after printing why when it cannot start or
// finishes with a failure; *pbNoSim tells that no card is inserted (then there is nothing to wait
// for).
bool StartPhonebook(const char* pszCommand, bool* pbNoSim);
// StartPhonebook for a command that writes SIM contacts: a missing card is a failure too.
bool StartSimPhonebook(const Options& options, const char* pszCommand);

// Waits for the card's answer to a SIM write started with SimAnswer::OnPhonebookSet and adds it
// to the result ("record" 1-based, "card" written or refused); false after printing why when the
// card refused the write or did not answer.
bool AddCardAnswer(SimAnswer& answer, Json& result, const char* pszCommand);

// Whether the data directory holds a card the service can read; false after printing why.
bool CheckSimCard(const Options& options, const char* pszCommand);

// Brings the service up and checks that a card is inserted; on failure prints why (the service is
// down again) and answers false.
bool OpenSimService(const Options& options, const char* pszCommand);

}  // namespace ctsvc_tool

#endif
