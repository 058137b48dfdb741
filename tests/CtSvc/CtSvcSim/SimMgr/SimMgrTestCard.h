// Sample cards changed record by record for the SIM manager tests, the fixture that inserts one
// and loads groups through the SIM manager, and a listener that keeps what the manager reported.
#ifndef CTSVC_SIM_MGR_TEST_CARD_H
#define CTSVC_SIM_MGR_TEST_CARD_H

#include <mutex>
#include <string>
#include <vector>

#include "CtSvcSim/DevSimMgr/CtSvcDevSimMgr.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "CtSvcTestEnv.h"
#include "ZelSimSampleCard.h"
#include "ZelSimTest.h"

namespace ctsvc_sim_mgr_test {

// Telephony ids of the local USIM phonebook's CC and PBC files.
constexpr uint32_t kCc = 0xFF05;
constexpr uint32_t kPbc0 = 0xFF09;
constexpr uint32_t kPbc1 = 0xFF1B;

// Position of the quoted record n of the file with the id, as {start, length} of its hex text.
inline std::pair<size_t, size_t> FindRecord(const std::string& strCard, const std::string& strID, int n) {
  size_t nPos = strCard.find("\"id\": \"" + strID + "\"");
  nPos = strCard.find("\"records\": [", nPos);
  for (int i = 0; i <= n; ++i) {
    nPos = strCard.find('"', strCard.find('"', nPos + (i == 0 ? 12 : 1)) + 1);
  }
  const size_t nStart = strCard.rfind('"', nPos - 1) + 1;
  return {nStart, nPos - nStart};
}

inline std::string GetRecord(const std::string& strCard, const std::string& strID, int n) {
  const auto pos = FindRecord(strCard, strID, n);
  return strCard.substr(pos.first, pos.second);
}

inline void SetRecord(std::string* pCard, const std::string& strID, int n, const std::string& strHex) {
  const auto pos = FindRecord(*pCard, strID, n);
  pCard->replace(pos.first, pos.second, strHex);
}

// The value of a transparent file.
inline std::string GetData(const std::string& strCard, const std::string& strID) {
  size_t nPos = strCard.find("\"data\": \"", strCard.find("\"id\": \"" + strID + "\"")) + 9;
  return strCard.substr(nPos, strCard.find('"', nPos) - nPos);
}

inline void SetData(std::string* pCard, const std::string& strID, const std::string& strHex) {
  const size_t nPos = pCard->find("\"data\": \"", pCard->find("\"id\": \"" + strID + "\"")) + 9;
  pCard->replace(nPos, pCard->find('"', nPos) - nPos, strHex);
}

inline std::string SampleCard(zel::sim::SampleCardType type, bool bEmpty = false) {
  return zel::sim::BuildSampleCard(type, bEmpty);
}

// What the manager reported, per group, in order (the report arrives on the handler thread).
class LoadListener : public ICtSvcSimMgrListener {
 public:
  void OnInitializedAdn(BOOL bResult) override { Add("adn", bResult); }
  void OnInitializedFdn(BOOL bResult) override { Add("fdn", bResult); }
  void OnInitializedMsisdn(BOOL bResult) override { Add("msisdn", bResult); }
  void OnInitializedSdn(BOOL bResult) override { Add("sdn", bResult); }
  std::vector<std::string> Events() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_vcEvent;
  }
  // Card writes of the CC file seen when the ADN group reported.
  int CcWritesAtReport() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nCcWrites;
  }
  int PbcWritesAtReport() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nPbcWrites;
  }

 private:
  void Add(const char* pszGroup, BOOL bResult) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vcEvent.push_back(std::string(pszGroup) + (bResult ? ":1" : ":0"));
    m_nCcWrites = zel::test::SimRequestCount(kCc, zel::test::SimOp::Update);
    m_nPbcWrites = zel::test::SimRequestCount(kPbc0, zel::test::SimOp::Update) +
                   zel::test::SimRequestCount(kPbc1, zel::test::SimOp::Update);
  }
  std::mutex m_mutex;
  std::vector<std::string> m_vcEvent;
  int m_nCcWrites = -1;
  int m_nPbcWrites = -1;
};

class SimMgrTest : public ctsvc_test::ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    zel::test::ResetSim();
    m_pMgr = CCtSvcSimMgr::Instance();
    m_pMgr->Clear();
  }
  void TearDown() override {
    zel::test::HoldSimAnswers(false);
    DrainEventHandler();
    m_pMgr->Clear();
    // The connection delivers to this test's handler: close it before the service goes.
    CtSvcGetDevSimMgr()->Close(nullptr);
    DrainEventHandler();
    zel::test::ResetSim();
    ServiceTest::TearDown();
  }
  void Insert(const std::string& strCard) {
    std::string strError;
    ASSERT_TRUE(zel::test::InsertSimCardText(strCard, &strError)) << strError;
  }
  // Loads the ADN group and answers what the manager reported.
  std::vector<std::string> LoadAdn() {
    LoadListener listener;
    EXPECT_TRUE(m_pMgr->InitAdn(&listener));
    DrainEventHandler();
    m_pMgr->ForgetListener(&listener);
    return listener.Events();
  }

  CCtSvcSimMgr* m_pMgr = nullptr;
};

}  // namespace ctsvc_sim_mgr_test

#endif
