// The SIM C API on the simulated card: loads and writes reported once through the C callbacks,
// records as C structures, refused calls that never call back, the FDN reload check, and the
// synchronisation client.
#include <cstring>
#include <mutex>

#include "../CtSvcSim/SimMgr/SimMgrTestCard.h"
#include "CtSvcSimCi.h"
#include "CtSvcSimCi/CtSvcSimCiSync.h"
#include "CtSvcSimCi/CtSvcSimPhonebookSeam.h"
#include "ZelCoreTest.h"

namespace ctsvc_sim_mgr_test {
namespace {

using zel::sim::SampleCardType;

// Every callback the API delivered, as text.
struct Calls {
  std::mutex mutex;
  std::vector<std::string> vcCall;
  void Add(const std::string& strCall) {
    std::lock_guard<std::mutex> lock(mutex);
    vcCall.push_back(strCall);
  }
  std::vector<std::string> Take() {
    std::lock_guard<std::mutex> lock(mutex);
    return std::move(vcCall);
  }
};

void OnInit(int nInitType, int nResult, void* pUserData) {
  static_cast<Calls*>(pUserData)->Add("init " + std::to_string(nInitType) + ":" + std::to_string(nResult));
}

void OnSet(int nSetType, int nRecordIndex, int nResult, void* pUserData) {
  static_cast<Calls*>(pUserData)->Add("set " + std::to_string(nSetType) + " " + std::to_string(nRecordIndex) + ":" +
                                      std::to_string(nResult));
}

class SimCiTest : public SimMgrTest {
 protected:
  void LoadGroup(BOOL (*pfnInit)(CtSvcSimInitCallback, void*), int nInitType) {
    ASSERT_TRUE(pfnInit(OnInit, &m_calls));
    DrainEventHandler();
    ASSERT_EQ(std::vector<std::string>({"init " + std::to_string(nInitType) + ":1"}), m_calls.Take());
  }
  Calls m_calls;
};

TEST_F(SimCiTest, AnEmptySlotAnswersZeroWithTheStructureZeroed) {
  Insert(SampleCard(SampleCardType::Usim));
  LoadGroup(CtSvcSimInitAdn, CTSVC_SIM_INIT_ADN);
  CtSvcSimAdnRecord record;
  std::memset(&record, 0xAB, sizeof(record));
  zel::test::LogCapture log;
  EXPECT_FALSE(CtSvcSimGetAdnRecord(50, &record));
  EXPECT_TRUE(log.Contains("CtSvcSimGetAdnRecord -GetAdnRecord (ADN, index = 50) is FAILED"));
  const CtSvcSimAdnRecord zero{};
  EXPECT_EQ(0, std::memcmp(&zero, &record, sizeof(record)));
  EXPECT_FALSE(CtSvcSimGetAdnRecord(-1, &record));
  EXPECT_FALSE(CtSvcSimGetAdnRecord(0, nullptr));
  EXPECT_TRUE(log.Contains("nRecordIndex >= 0 && pRecord"));

  ASSERT_TRUE(CtSvcSimGetAdnRecord(0, &record));
  EXPECT_STREQ("Anna Schmidt", record.szName);
  EXPECT_STREQ("+491701234567", record.szPhoneNumber);
  EXPECT_STREQ("anna@example.com", record.szEmail[0]);
  EXPECT_STREQ("Annie", record.szSecondName);
  EXPECT_EQ(1u, record.bGroup[0]);
  EXPECT_EQ(0u, record.bGroup[1]);
  char szName[8];
  ASSERT_TRUE(CtSvcSimGetGasRecord(0, szName, 4));
  EXPECT_STREQ("Fam", szName);
  ASSERT_TRUE(CtSvcSimGetAasRecord(1, szName, sizeof(szName)));
  EXPECT_STREQ("Office", szName);
  EXPECT_FALSE(CtSvcSimGetGasRecord(9, szName, sizeof(szName)));
  EXPECT_STREQ("", szName);
  EXPECT_FALSE(CtSvcSimGetGasRecord(0, szName, 0));
}

TEST_F(SimCiTest, AGroupZeroContactWrittenBackUnchangedStaysInGroupZero) {
  Insert(SampleCard(SampleCardType::Usim));
  LoadGroup(CtSvcSimInitAdn, CTSVC_SIM_INIT_ADN);
  const std::string strBefore = zel::test::SimCardText();
  CtSvcSimAdnRecord record{};
  ASSERT_TRUE(CtSvcSimGetAdnRecord(0, &record));
  ASSERT_EQ(1u, record.bGroup[0]);
  ASSERT_TRUE(CtSvcSimSetAdnRecord(CTSVC_SIM_SET_UPDATE, 0, &record, OnSet, &m_calls));
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"set 1 0:1"}), m_calls.Take());
  const std::string strAfter = zel::test::SimCardText();
  for (const char* pszFile : {"4F3A", "4F26", "4F19", "4F11"}) {
    EXPECT_EQ(GetRecord(strBefore, pszFile, 0), GetRecord(strAfter, pszFile, 0)) << pszFile;
  }
  CtSvcSimAdnRecord again{};
  ASSERT_TRUE(CtSvcSimGetAdnRecord(0, &again));
  EXPECT_EQ(1u, again.bGroup[0]);
  EXPECT_STREQ(record.szEmail[0], again.szEmail[0]);
}

TEST_F(SimCiTest, RefusedWritesAnswerZeroAndNeverCallBack) {
  Insert(SampleCard(SampleCardType::Gsm));
  LoadGroup(CtSvcSimInitAdn, CTSVC_SIM_INIT_ADN);
  CtSvcSimXdnRecord xdn{};
  std::strcpy(xdn.szName, "Office");
  std::strcpy(xdn.szPhoneNumber, "0301234567");
  CtSvcSimAdnRecord adn{};
  std::strcpy(adn.szName, "New");
  std::strcpy(adn.szPhoneNumber, "0123");
  zel::test::LogCapture log;
  // The FDN group is not loaded yet.
  EXPECT_FALSE(CtSvcSimSetFdnRecord(CTSVC_SIM_SET_INSERT, 3, &xdn, OnSet, &m_calls));
  EXPECT_TRUE(log.Contains("CtSvcSimSetFdnRecord -GetRecordUpdater( void ) is FAILED"));
  EXPECT_FALSE(CtSvcSimSetAdnRecord(CTSVC_SIM_SET_INSERT, -1, &adn, OnSet, &m_calls));
  EXPECT_FALSE(CtSvcSimSetAdnRecord(CTSVC_SIM_SET_INSERT, 10, &adn, nullptr, &m_calls));
  EXPECT_FALSE(CtSvcSimSetAdnRecord(CTSVC_SIM_SET_UPDATE, 10, nullptr, OnSet, &m_calls));
  EXPECT_TRUE(log.Contains("CtSvcSimGetAdnRecord - setType = 1 but pRecord = NULL"));
  EXPECT_FALSE(CtSvcSimSetAdnRecord(static_cast<CtSvcSimSetType>(7), 10, &adn, OnSet, &m_calls));
  EXPECT_TRUE(log.Contains("CtSvcSimSetAdnRecord - Unknown CtSvcSimSetType!!setType(7)"));
  EXPECT_FALSE(CtSvcSimSetGasRecord(CTSVC_SIM_SET_INSERT, 0, "", OnSet, &m_calls));
  EXPECT_TRUE(log.Contains("CtSvcSimSetGasRecord - setType = 0 but pszName = NULL"));
  // An index beyond the file: the updater refuses it.
  EXPECT_FALSE(CtSvcSimSetAdnRecord(CTSVC_SIM_SET_UPDATE, 250, &adn, OnSet, &m_calls));
  EXPECT_FALSE(CtSvcSimInitFdn(nullptr, &m_calls));
  DrainEventHandler();
  EXPECT_TRUE(m_calls.Take().empty());
}

TEST_F(SimCiTest, AWriteWhileAnotherRunsIsRefusedAndTheFirstReportsOnce) {
  Insert(SampleCard(SampleCardType::Gsm));
  LoadGroup(CtSvcSimInitAdn, CTSVC_SIM_INIT_ADN);
  CtSvcSimAdnRecord adn{};
  std::strcpy(adn.szName, "First");
  std::strcpy(adn.szPhoneNumber, "0111");
  zel::test::HoldSimAnswers(true);
  ASSERT_TRUE(CtSvcSimSetAdnRecord(CTSVC_SIM_SET_INSERT, 10, &adn, OnSet, &m_calls));
  std::strcpy(adn.szName, "Second");
  EXPECT_FALSE(CtSvcSimSetAdnRecord(CTSVC_SIM_SET_INSERT, 11, &adn, OnSet, &m_calls));
  zel::test::HoldSimAnswers(false);
  while (zel::test::ReleaseSimAnswer()) {
  }
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"set 0 10:1"}), m_calls.Take());
  EXPECT_EQ(1, CtSvcSimIsUsedRecord(CTSVC_SIM_ADN, 10));
  EXPECT_EQ(0, CtSvcSimIsUsedRecord(CTSVC_SIM_ADN, 11));
  // A failed card write is reported once, as a failure.
  zel::test::InjectSimFault(0x6F3A, zel::test::SimOp::Update, zel::test::SimFault::ErrorAnswer);
  ASSERT_TRUE(CtSvcSimSetAdnRecord(CTSVC_SIM_SET_DELETE, 10, nullptr, OnSet, &m_calls));
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"set 2 10:0"}), m_calls.Take());
}

TEST_F(SimCiTest, GroupsAreLoadedAndQueriedThroughTheApi) {
  Insert(SampleCard(SampleCardType::Gsm));
  EXPECT_EQ(CTSVC_SIM_CARD_TYPE_GSM, CtSvcSimGetCardType());
  LoadGroup(CtSvcSimInitAdn, CTSVC_SIM_INIT_ADN);
  LoadGroup(CtSvcSimInitFdn, CTSVC_SIM_INIT_FDN);
  LoadGroup(CtSvcSimInitMsisdn, CTSVC_SIM_INIT_MSISDN);
  LoadGroup(CtSvcSimInitSdn, CTSVC_SIM_INIT_SDN);
  CtSvcSimXdnRecord xdn{};
  ASSERT_TRUE(CtSvcSimGetFdnRecord(0, &xdn));
  EXPECT_STREQ("Office", xdn.szName);
  ASSERT_TRUE(CtSvcSimGetSdnRecord(0, &xdn));
  EXPECT_STREQ("112", xdn.szPhoneNumber);
  ASSERT_TRUE(CtSvcSimGetMsisdnRecord(0, &xdn));
  EXPECT_STREQ("+821012345678", xdn.szPhoneNumber);
  EXPECT_FALSE(CtSvcSimGetMsisdnRecord(1, &xdn));
  EXPECT_EQ(250, CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_ADN));
  EXPECT_EQ(7, CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_ADN));
  EXPECT_EQ(7, CtSvcSimGetUnusedRecordIndex(CTSVC_SIM_ADN));
  EXPECT_EQ(30, CtSvcSimGetRecordLength(CTSVC_SIM_ADN));
  EXPECT_EQ(40, CtSvcSimGetRecordPhoneNumberLength(CTSVC_SIM_ADN));
  EXPECT_EQ(1, CtSvcSimIsUsedFile(CTSVC_SIM_FDN));
  EXPECT_TRUE(CtSvcSimIsAvailableFile(CTSVC_SIM_ADN));
  CtSvcSimFileInfo info{};
  ASSERT_TRUE(CtSvcSimGetFileInfo(CTSVC_SIM_FDN, 0, 0, &info));
  EXPECT_EQ(20, info.recordCnt);
  // A group reloaded after it was freed answers again.
  ASSERT_TRUE(CtSvcSimPrepareReloadRecord(CTSVC_SIM_INIT_FDN));
  EXPECT_FALSE(CtSvcSimGetFdnRecord(0, &xdn));
  LoadGroup(CtSvcSimInitFdn, CTSVC_SIM_INIT_FDN);
  EXPECT_TRUE(CtSvcSimGetFdnRecord(0, &xdn));
  _TestCtSvcSimClear();
  EXPECT_EQ(-1, CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_ADN));
}

struct SeamState {
  static bool bInitialized;
  static std::vector<std::string> vcCall;
  static BOOL IsInitialized() { return bInitialized ? TRUE : FALSE; }
  static void SetInitState(int nState) { vcCall.push_back("state " + std::to_string(nState)); }
  static BOOL Reload(int nMask, CtSvcSimInitCallback, void*) {
    vcCall.push_back("reload " + std::to_string(nMask));
    return TRUE;
  }
};
bool SeamState::bInitialized = false;
std::vector<std::string> SeamState::vcCall;

TEST_F(SimCiTest, TheFdnCheckReloadsAdnOnlyWhenItsInformationCannotBeRead) {
  Insert(SampleCard(SampleCardType::Gsm));
  LoadGroup(CtSvcSimInitAdn, CTSVC_SIM_INIT_ADN);
  const CtSvcSimPhonebookHooks hooks{SeamState::IsInitialized, SeamState::SetInitState, SeamState::Reload};
  CtSvcSimSetPhonebookHooks(&hooks);
  struct Row {
    bool bInitialized;
    bool bInfoFails;
    std::vector<std::string> vcCall;
    const char* pszLog;
  };
  const Row kRows[] = {
      {false, true, {}, "CtSvcSimReloadSimFileForFdn - Not yet PhonebookIsInitialized~!"},
      {true, false, {}, "CtSvcSimReloadSimFileForFdn - Don't need to reload file at this SIM Card"},
      {true, true, {"state 1", "reload 1"}, "CtSvcSimReloadSimFileForFdn - Need reload file at this SIM Card!!!!!"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.pszLog);
    SeamState::bInitialized = row.bInitialized;
    SeamState::vcCall.clear();
    if (row.bInfoFails) {
      zel::test::InjectSimFault(0x6F3A, zel::test::SimOp::FileInfo, zel::test::SimFault::NotSent);
    }
    zel::test::LogCapture log;
    EXPECT_TRUE(CtSvcSimReloadSimFileForFdn());
    DrainEventHandler();
    EXPECT_TRUE(log.Contains(row.pszLog));
    EXPECT_EQ(row.vcCall, SeamState::vcCall);
    zel::test::ClearSimFaults();
  }
  CtSvcSimSetPhonebookHooks(nullptr);
}

int g_nSyncAnswer = 1;
std::vector<std::string> g_vcSync;

int FirstSync(int nType, int nValue, void*) {
  g_vcSync.push_back("first " + std::to_string(nType) + "," + std::to_string(nValue));
  return g_nSyncAnswer;
}
int SecondSync(int, int, void*) {
  g_vcSync.push_back("second");
  return 1;
}
void Manipulate(int, int) {}

TEST_F(SimCiTest, TheFirstSyncClientStaysAndASyncEndsOnlyAfterItStarted) {
  _CtSvcSyncReset();
  g_vcSync.clear();
  g_nSyncAnswer = 1;
  EXPECT_FALSE(CtStartSync());
  ASSERT_TRUE(CtRegisterSyncCallback(FirstSync, nullptr));
  EXPECT_FALSE(CtRegisterSyncCallback(SecondSync, nullptr));
  EXPECT_FALSE(CtEndSync());
  ASSERT_TRUE(CtStartSync());
  EXPECT_TRUE(CtSvcSyncIsInProgress());
  EXPECT_FALSE(CtStartSync());  // one sync at a time
  ASSERT_TRUE(CtEndSync());
  EXPECT_FALSE(CtSvcSyncIsInProgress());
  g_nSyncAnswer = 0;
  EXPECT_FALSE(CtStartSync());  // the client refuses
  EXPECT_EQ(std::vector<std::string>({"first 0,1", "first 1,1", "first 0,1"}), g_vcSync);

  EXPECT_FALSE(CtRegisterCtInfoManipulateCallback(nullptr));
  for (int i = 0; i < 10; ++i) {
    EXPECT_TRUE(CtRegisterCtInfoManipulateCallback(Manipulate));
  }
  EXPECT_FALSE(CtRegisterCtInfoManipulateCallback(Manipulate));
  _CtSvcSyncReset();
}

}  // namespace
}  // namespace ctsvc_sim_mgr_test

namespace ctsvc_sim_mgr_test {
namespace {

constexpr uint32_t kGsmExt1Id = 0x6F4A;

// Card requests of every file of the local USIM phonebook and of the telecom files.
int CardRequests(zel::test::SimOp op) {
  int nCount = 0;
  for (uint32_t nId = 0x6F00; nId <= 0x6FFF; ++nId) {
    nCount += zel::test::SimRequestCount(nId, op);
  }
  for (uint32_t nId = 0xFF00; nId <= 0xFFFF; ++nId) {
    nCount += zel::test::SimRequestCount(nId, op);
  }
  return nCount;
}

TEST_F(SimCiTest, AWriteOnALoadedCardCostsAFewWritesAndNoReload) {
  Insert(SampleCard(SampleCardType::Usim));
  LoadGroup(CtSvcSimInitAdn, CTSVC_SIM_INIT_ADN);
  CtSvcSimAdnRecord record{};
  ASSERT_TRUE(CtSvcSimGetAdnRecord(2, &record));
  std::strcpy(record.szName, "Minsu Kim");
  zel::test::ResetSimRequestCounts();
  ASSERT_TRUE(CtSvcSimSetAdnRecord(CTSVC_SIM_SET_UPDATE, 2, &record, OnSet, &m_calls));
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"set 1 2:1"}), m_calls.Take());
  EXPECT_EQ(0, CardRequests(zel::test::SimOp::Read));
  EXPECT_EQ(0, CardRequests(zel::test::SimOp::FileInfo));
  EXPECT_EQ(0, CardRequests(zel::test::SimOp::Search));
  const int nWrites = CardRequests(zel::test::SimOp::Update);
  EXPECT_GE(nWrites, 1);
  EXPECT_LE(nWrites, 12);
}

// A group whose write waits for the card is neither freed nor reloaded: the answer would reach
// freed files.
TEST_F(SimCiTest, AGroupIsKeptWhileItsWriteWaitsForTheCard) {
  Insert(SampleCard(SampleCardType::Gsm));
  LoadGroup(CtSvcSimInitAdn, CTSVC_SIM_INIT_ADN);
  LoadGroup(CtSvcSimInitFdn, CTSVC_SIM_INIT_FDN);
  zel::test::HoldSimAnswers(true);
  ASSERT_TRUE(CtSvcSimSetAdnRecord(CTSVC_SIM_SET_DELETE, 0, nullptr, OnSet, &m_calls));
  EXPECT_TRUE(CtSvcSimPrepareReloadRecord(CTSVC_SIM_INIT_ADN | CTSVC_SIM_INIT_FDN));
  EXPECT_EQ(250, CtSvcSimGetMaxRecordCount(CTSVC_SIM_ADN, 0, 0));
  EXPECT_EQ(-1, CtSvcSimGetMaxRecordCount(CTSVC_SIM_FDN, 0, 0));  // idle: freed
  EXPECT_FALSE(CtSvcSimInitAdn(OnInit, &m_calls));
  zel::test::HoldSimAnswers(false);
  while (zel::test::ReleaseSimAnswer()) {
  }
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"set 2 0:1"}), m_calls.Take());
  LoadGroup(CtSvcSimInitAdn, CTSVC_SIM_INIT_ADN);
  EXPECT_EQ(0, CtSvcSimIsUsedRecord(CTSVC_SIM_ADN, 0));
}

// The card going away between the writes of a series: the next request cannot be sent. The
// caller hears one failure and the contact's record on the card is as before.
TEST_F(SimCiTest, ACardThatStopsTakingRequestsMidSeriesIsReportedOnceAsAFailure) {
  Insert(SampleCard(SampleCardType::Gsm));
  LoadGroup(CtSvcSimInitAdn, CTSVC_SIM_INIT_ADN);
  const std::string strBefore = zel::test::SimCardText();
  CtSvcSimAdnRecord record{};
  std::strcpy(record.szName, "Gone");
  std::strcpy(record.szPhoneNumber, "012345678901234567890123456789");  // extension record, then ADN
  zel::test::InjectSimFault(0x6F3A, zel::test::SimOp::Update, zel::test::SimFault::NotSent, -1);
  zel::test::HoldSimAnswers(true);
  ASSERT_TRUE(CtSvcSimSetAdnRecord(CTSVC_SIM_SET_INSERT, 20, &record, OnSet, &m_calls));
  EXPECT_EQ(1, zel::test::SimRequestCount(kGsmExt1Id, zel::test::SimOp::Update));
  zel::test::HoldSimAnswers(false);
  while (zel::test::ReleaseSimAnswer()) {
  }
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"set 0 20:0"}), m_calls.Take());
  EXPECT_EQ(GetRecord(strBefore, "6F3A", 20), GetRecord(zel::test::SimCardText(), "6F3A", 20));
  zel::test::ClearSimFaults();
}

// The card pulled while the contact's record write waits for its answer: the caller hears one
// failure, not nothing (the card file keeping its record is the simulator's test).
TEST_F(SimCiTest, ACardPulledDuringAWriteIsReportedOnce) {
  Insert(SampleCard(SampleCardType::Gsm));
  LoadGroup(CtSvcSimInitAdn, CTSVC_SIM_INIT_ADN);
  CtSvcSimAdnRecord record{};
  std::strcpy(record.szName, "Pulled");
  std::strcpy(record.szPhoneNumber, "0123");
  zel::test::HoldSimAnswers(true);
  ASSERT_TRUE(CtSvcSimSetAdnRecord(CTSVC_SIM_SET_INSERT, 20, &record, OnSet, &m_calls));
  zel::test::RemoveSimCard();
  zel::test::HoldSimAnswers(false);
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"set 0 20:0"}), m_calls.Take());
}

}  // namespace
}  // namespace ctsvc_sim_mgr_test
