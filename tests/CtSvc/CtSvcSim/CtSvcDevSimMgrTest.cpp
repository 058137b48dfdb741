// The device SIM manager on the simulated card: one outstanding request, events that arrive
// without a matching request, the PBR-error flag, a read that answers no data, and a whole file
// loaded through it. Answers come on the "CTSVC" thread; the tests wait for it to be idle.
#include <mutex>

#include "CtSvcSim/DevSimMgr/CtSvcDevSimMgr.h"
#include "CtSvcSim/SimFile/CtSvcDialNumberFile.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"
#include "ZelSimSampleCard.h"
#include "ZelSimTest.h"

namespace {

constexpr int kGsmAdn = 0x6F3A;

// What the manager delivered, kept under a lock (it arrives on the handler thread).
class RecordingListener : public ICtSvcDevSimListener, public ICtSvcSimFileListener {
 public:
  void OnSearch(const SimSearchEventData*, BOOL bSuccess) override { Add("search", bSuccess); }
  void OnGetFileInfo(const CtSvcSimFileInfo* pInfo, BOOL bSuccess) override {
    Add(pInfo != nullptr ? "info" : "info(null)", bSuccess);
  }
  void OnRead(const void* pRecordData, BOOL bSuccess) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vcEvent.push_back(std::string(pRecordData != nullptr ? "read" : "read(null)") + (bSuccess ? ":1" : ":0"));
    if (pRecordData != nullptr) {
      m_dial = *static_cast<const SimDialNumberInfo*>(pRecordData);
    }
  }
  void OnUpdated(BOOL bSuccess) override { Add("update", bSuccess); }
  void OnLoaded(int, BOOL bSuccess) override { Add("loaded", bSuccess); }
  void OnUpdated(int, BOOL bSuccess) override { Add("updated", bSuccess); }

  std::vector<std::string> Events() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_vcEvent;
  }
  SimDialNumberInfo Dial() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_dial;
  }

 private:
  void Add(const char* pszWhat, BOOL bSuccess) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vcEvent.push_back(std::string(pszWhat) + (bSuccess ? ":1" : ":0"));
  }
  std::mutex m_mutex;
  std::vector<std::string> m_vcEvent;
  SimDialNumberInfo m_dial{};
};

SimReadFileReq ReadRequest(int nFileID, int nRecord) {
  SimReadFileReq req{};
  req.fileID = static_cast<UINT32>(nFileID);
  req.accessMode = SIM_ACCESS_MODE_RECORD;
  req.recordNum = static_cast<UINT32>(nRecord);
  req.count = 1;
  req.recordLen = 30;
  return req;
}

class CtSvcDevSimMgrTest : public ctsvc_test::ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    zel::test::ResetSim();
    std::string strError;
    ASSERT_TRUE(zel::test::InsertSimCardText(zel::sim::BuildSampleCard(zel::sim::SampleCardType::Gsm, false), &strError))
        << strError;
    m_pMgr = CCtSvcDevSimMgr::Instance();
    ASSERT_TRUE(m_pMgr->Open(nullptr));
  }
  void TearDown() override {
    zel::test::HoldSimAnswers(false);
    DrainEventHandler();
    // The connection delivers to this test's handler: close it before the service goes.
    m_pMgr->Close(nullptr);
    DrainEventHandler();
    EXPECT_EQ(CCtSvcDevSimMgr::SIMMGR_STATE_IDLE, m_pMgr->GetState());
    zel::test::ResetSim();
    ServiceTest::TearDown();
  }

  CCtSvcDevSimMgr* m_pMgr = nullptr;
};

TEST_F(CtSvcDevSimMgrTest, ASecondRequestWhileOneIsOutstandingIsRefusedAndTheFirstCompletes) {
  RecordingListener first;
  RecordingListener second;
  zel::test::LogCapture log;
  zel::test::HoldSimAnswers(true);
  const SimReadFileReq req1 = ReadRequest(kGsmAdn, 1);
  const SimReadFileReq req2 = ReadRequest(kGsmAdn, 2);
  ASSERT_TRUE(m_pMgr->ReadFile(&req1, &first));
  EXPECT_FALSE(m_pMgr->ReadFile(&req2, &second));
  EXPECT_FALSE(m_pMgr->GetFileInfo(kGsmAdn, &second));
  EXPECT_TRUE(log.Contains("CCtSvcDevSimMgr::ReadFile:Something is in progress(state=4)"));
  EXPECT_TRUE(log.Contains("CCtSvcDevSimMgr::GetFileInfo:Something is in progress(state=4)"));
  ASSERT_TRUE(zel::test::ReleaseSimAnswer());
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"read:1"}), first.Events());
  EXPECT_EQ(1u, first.Dial().used);
  EXPECT_TRUE(second.Events().empty());
  EXPECT_EQ(CCtSvcDevSimMgr::SIMMGR_STATE_IDLE, m_pMgr->GetState());
}

TEST_F(CtSvcDevSimMgrTest, AnswersWithoutAMatchingRequestAreDropped) {
  RecordingListener listener;
  zel::test::LogCapture log;
  const SimReadEventHeader header{kGsmAdn, 1};
  zel::test::SendSimEvent(0, SIM_EVENT_READ_FILE, &header, sizeof(header), 0);
  DrainEventHandler();
  EXPECT_TRUE(log.Contains("CCtSvcDevSimMgr::__SimEventCallback(eventType=7) - No Request state!"));

  // While a read waits, an update answer is not taken for it.
  zel::test::HoldSimAnswers(true);
  const SimReadFileReq req = ReadRequest(kGsmAdn, 1);
  ASSERT_TRUE(m_pMgr->ReadFile(&req, &listener));
  zel::test::SendSimEvent(0, SIM_EVENT_UPDATE_FILE, nullptr, 0, 0);
  DrainEventHandler();
  EXPECT_TRUE(listener.Events().empty());
  ASSERT_TRUE(zel::test::ReleaseSimAnswer());
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"read:1"}), listener.Events());
}

TEST_F(CtSvcDevSimMgrTest, FailedAnswersReachTheRequester) {
  RecordingListener listener;
  zel::test::LogCapture log;
  // A card without a PBR: its information is unusable and marks the PBR as unreadable.
  ASSERT_TRUE(m_pMgr->GetFileInfo(0xFF01, &listener));
  DrainEventHandler();
  EXPECT_TRUE(m_pMgr->IsErrorReadPBR());
  // A read answered with status 0 and no data is a failed read; so is an error status.
  zel::test::InjectSimFault(kGsmAdn, zel::test::SimOp::Read, zel::test::SimFault::EmptyAnswer);
  const SimReadFileReq req = ReadRequest(kGsmAdn, 1);
  ASSERT_TRUE(m_pMgr->ReadFile(&req, &listener));
  DrainEventHandler();
  zel::test::InjectSimFault(kGsmAdn, zel::test::SimOp::Read, zel::test::SimFault::ErrorAnswer);
  ASSERT_TRUE(m_pMgr->ReadFile(&req, &listener));
  DrainEventHandler();
  // A send the library refuses leaves the manager idle.
  zel::test::InjectSimFault(kGsmAdn, zel::test::SimOp::Read, zel::test::SimFault::NotSent);
  EXPECT_FALSE(m_pMgr->ReadFile(&req, &listener));
  EXPECT_TRUE(log.Contains("CCtSvcDevSimMgr::ReadFile: SimReadFile Failed pReqData->fileID = 0x6f3a"));
  EXPECT_EQ(CCtSvcDevSimMgr::SIMMGR_STATE_IDLE, m_pMgr->GetState());
  EXPECT_EQ(std::vector<std::string>({"info(null):0", "read(null):0", "read(null):0"}), listener.Events());
  EXPECT_TRUE(log.Contains("dataLen=0"));
}

TEST_F(CtSvcDevSimMgrTest, AFileLoadsThroughTheCardOneRequestAtATime) {
  RecordingListener listener;
  CCtSvcAdnFile adn;
  ASSERT_EQ(kGsmAdn, adn.GetTelephonyFileID());
  ASSERT_TRUE(adn.LoadFile(&listener));
  DrainEventHandler();
  ASSERT_EQ(std::vector<std::string>({"loaded:1"}), listener.Events());
  EXPECT_EQ(250, adn.GetMaxRecordCount());
  EXPECT_EQ(250, zel::test::SimRequestCount(kGsmAdn, zel::test::SimOp::Read));
  EXPECT_EQ(0, zel::test::SimRequestCount(kGsmAdn, zel::test::SimOp::Search));
  char szName[CTSVC_SIM_DIAL_NAME_SIZE] = {};
  ASSERT_TRUE(adn.GetName(0, szName, sizeof(szName)));
  EXPECT_STRNE("", szName);
  EXPECT_FALSE(adn.IsUsed(249));
}

}  // namespace
