// The phonebook started on a simulated card the way an application starts it, with the bulk
// timer fired by hand, and what the store and "CtSet.ini" hold afterwards.
#ifndef CTSVC_PHONEBOOK_TEST_ENV_H
#define CTSVC_PHONEBOOK_TEST_ENV_H

#include <sqlite3.h>

#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "../CtSvcSim/SimMgr/SimMgrTestCard.h"
#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "CtSvcPhonebook.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcSimCi.h"
#include "ZelCoreTest.h"
#include "ZelReg.h"

namespace ctsvc_phonebook_test {

// One card contact as a set of "kind:value" texts (name, numbers, e-mail addresses, second name,
// group names), to compare with what the store holds.
inline std::set<std::string> CardContactText(int nIndex) {
  CtSvcSimAdnRecord record;
  EXPECT_TRUE(CtSvcSimGetAdnRecord(nIndex, &record));
  std::set<std::string> text{std::string("name:") + record.szName};
  if (record.szPhoneNumber[0] != '\0') {
    text.insert(std::string("number:") + record.szPhoneNumber);
  }
  for (const CtSvcSimAdditionalNumber& anr : record.stAdditionalNumber) {
    if (anr.szPhoneNumber[0] != '\0') {
      text.insert(std::string("number:") + anr.szPhoneNumber);
    }
  }
  for (const auto& szEmail : record.szEmail) {
    if (szEmail[0] != '\0') {
      text.insert(std::string("email:") + szEmail);
    }
  }
  if (record.szSecondName[0] != '\0') {
    text.insert(std::string("second:") + record.szSecondName);
  }
  for (int g = 0; g < CTSVC_SIM_GROUP_FLAG_MAX; ++g) {
    char szGroup[64] = "";
    if (record.bGroup[g] != 0 && CtSvcSimGetGasRecord(g, szGroup, sizeof(szGroup))) {
      text.insert(std::string("group:") + szGroup);
    }
  }
  return text;
}

// Init callbacks the phonebook made.
struct InitCalls {
  std::mutex mutex;
  std::vector<int> vcResult;
  static void OnInit(BOOL bResult, void* pUserData) {
    auto* pCalls = static_cast<InitCalls*>(pUserData);
    std::lock_guard<std::mutex> lock(pCalls->mutex);
    pCalls->vcResult.push_back(bResult);
  }
  std::vector<int> Take() {
    std::lock_guard<std::mutex> lock(mutex);
    return std::move(vcResult);
  }
};

class PhonebookTest : public ctsvc_sim_mgr_test::SimMgrTest {
 protected:
  void SetUp() override {
    SimMgrTest::SetUp();
    zel::test::SetTimersManual(true);
    NewProcess();
  }
  void TearDown() override {
    CCtSvcPhonebookMgr::Instance()->ResetForTest();
    CtSvcPhonebookUnregisterInitCallback();
    zel::test::SetTimersManual(false);
    SimMgrTest::TearDown();
  }
  // Forgets what the phonebook learnt in this process, as a restart of the phone would.
  void NewProcess() {
    CCtSvcPhonebookMgr::Instance()->ResetForTest();
    m_pMgr->Clear();
  }
  // Starts the phonebook; the loads run on the handler thread and the copy on the bulk timer.
  // The number of bulk ticks it took is kept in m_nTicks.
  BOOL Boot(int* pbNoSim = nullptr) {
    int bNoSim = -1;
    const BOOL bResult = CtSvcPhonebookInitialize(InitCalls::OnInit, &m_init, &bNoSim);
    if (pbNoSim != nullptr) {
      *pbNoSim = bNoSim;
    }
    RunLoads();
    return bResult;
  }
  void RunLoads() {
    m_nTicks = 0;
    DrainEventHandler();
    for (int n; (n = zel::test::FireDueTimers()) > 0;) {
      m_nTicks += n;
      DrainEventHandler();
    }
  }
  static int PersonCount(int nDevType) {
    CtSvcPersonFilter filter;
    CtSvcPersonFilterInit(&filter);
    filter.DevType = nDevType;
    return CtSvcDbPersonGetCount(&filter);
  }
  static int SimGroupCount() {
    CtSvcGroupFilter filter;
    CtSvcGroupFilterInit(&filter);
    filter.DevType = CTSVC_USE_TYPE_SIM;
    return CtSvcDbGroupGetCount(&filter);
  }
  static std::string Setting(const char* pszSection, const char* pszKey) {
    char szValue[200] = "";
    if (RegLoad("CtSet.ini", 0) == REG_OK) {
      RegGetString("CtSet.ini", pszSection, pszKey, szValue, sizeof(szValue));
      RegUnload("CtSet.ini");
    }
    return szValue;
  }
  // Commits made to the store by anyone since the connection opened (SQLite's data_version of a
  // second connection).
  class CommitCounter {
   public:
    explicit CommitCounter(const std::string& strPath) {
      sqlite3_open_v2(strPath.c_str(), &m_pDb, SQLITE_OPEN_READONLY, nullptr);
      m_nStart = Version();
    }
    ~CommitCounter() { sqlite3_close(m_pDb); }
    bool Changed() const { return Version() != m_nStart; }

   private:
    long Version() const {
      sqlite3_stmt* pStmt = nullptr;
      long n = -1;
      if (sqlite3_prepare_v2(m_pDb, "PRAGMA data_version", -1, &pStmt, nullptr) == SQLITE_OK &&
          sqlite3_step(pStmt) == SQLITE_ROW) {
        n = sqlite3_column_int64(pStmt, 0);
      }
      sqlite3_finalize(pStmt);
      return n;
    }
    sqlite3* m_pDb = nullptr;
    long m_nStart = 0;
  };

  InitCalls m_init;
  int m_nTicks = 0;
};

}  // namespace ctsvc_phonebook_test

#endif
