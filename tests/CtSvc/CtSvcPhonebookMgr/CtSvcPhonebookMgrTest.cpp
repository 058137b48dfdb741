// Phonebook start-up on the simulated card: the load order, the copy of a new or changed card into
// the store, an unchanged card left alone, change detection by ICCID and fingerprints, no SIM, and
// the pre-installed contacts.
#include "PhonebookTestEnv.h"
#include "ZelPhs.h"

namespace ctsvc_phonebook_test {
namespace {

using ctsvc_sim_mgr_test::SampleCard;
using ctsvc_sim_mgr_test::SetRecord;
using zel::sim::SampleCardType;

// The card text with its ICCID replaced.
std::string WithIccid(std::string strCard, const std::string& strIccid) {
  const size_t nPos = strCard.find("\"iccid\": \"") + 10;
  strCard.replace(nPos, strCard.find('"', nPos) - nPos, strIccid);
  return strCard;
}

// Pre-installed contacts in "sectionOne".
void WritePreInstalled(const std::vector<std::pair<std::string, std::string>>& vcEntries) {
  ASSERT_EQ(REG_OK, RegLoad("CtSet.ini", 1));
  RegSetInt("CtSet.ini", "sectionOne", "PreInstCount", static_cast<INT32>(vcEntries.size()));
  for (size_t i = 0; i < vcEntries.size(); ++i) {
    const std::string strIndex = std::to_string(i + 1);
    RegSetString("CtSet.ini", "sectionOne", ("PreInstTelName" + strIndex).c_str(), vcEntries[i].first.c_str());
    RegSetString("CtSet.ini", "sectionOne", ("PreInstTelNum" + strIndex).c_str(), vcEntries[i].second.c_str());
  }
  RegFlush("CtSet.ini");
  RegUnload("CtSet.ini");
}

TEST_F(PhonebookTest, ANewCardIsLoadedInOrderAndCopiedBeforeCompletionIsReported) {
  Insert(SampleCard(SampleCardType::Usim));
  zel::test::LogCapture log;
  int bNoSim = -1;
  ASSERT_TRUE(CtSvcPhonebookInitialize(InitCalls::OnInit, &m_init, &bNoSim));
  EXPECT_EQ(0, bNoSim);
  DrainEventHandler();
  // Every group is loaded, the ADN copy waits for the bulk timer: no completion yet.
  EXPECT_TRUE(m_init.Take().empty());
  EXPECT_NE(CTSVC_SIM_INIT_COMPLETE, CtSvcPhonebookGetInitState());
  EXPECT_EQ(0, PersonCount(CTSVC_USE_TYPE_SIM));
  std::vector<std::string> vcOrder;
  for (const zel::test::LogLine& line : log.Lines()) {
    if (line.text.find("__Next() - loading init type") != std::string::npos) {
      vcOrder.push_back(line.text.substr(line.text.rfind(' ') + 1));
    }
  }
  EXPECT_EQ(std::vector<std::string>({"4\n", "8\n", "2\n", "1\n"}), vcOrder);

  RunLoads();
  EXPECT_EQ(std::vector<int>({1}), m_init.Take());
  EXPECT_EQ(CTSVC_SIM_INIT_COMPLETE, CtSvcPhonebookGetInitState());
  EXPECT_TRUE(CtSvcPhonebookIsInitialized());
  const int nUsed = CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_ADN);
  ASSERT_GT(nUsed, 5);
  EXPECT_EQ(nUsed, PersonCount(CTSVC_USE_TYPE_SIM));
  EXPECT_EQ(CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_GAS), SimGroupCount());
  EXPECT_EQ(CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_FDN), CtSvcDbFdnGetTotalCount());
  // Five contacts a tick.
  EXPECT_EQ((nUsed + 4) / 5, m_nTicks);
  EXPECT_TRUE(log.Contains("CCtSvcPhonebookMgr::OnChangedState -Bulk operaton is SUCCEED"));
  EXPECT_FALSE(Setting("Section3", "SHA1Value_ADN_0").empty());
  EXPECT_FALSE(Setting("Section3", "SHA1Value_ANR_0_0").empty());
  EXPECT_TRUE(CtSvcPhonebookIsSHA1Changed());
  // Starting twice is refused.
  EXPECT_FALSE(CtSvcPhonebookInitialize(InitCalls::OnInit, &m_init, &bNoSim));
  EXPECT_TRUE(log.HasAssertion("m_InitState == CTSVC_SIM_INIT_INVALID"));
}

TEST_F(PhonebookTest, TheSameCardWithTheSameContentLeavesTheStoreUntouched) {
  Insert(SampleCard(SampleCardType::Usim));
  ASSERT_TRUE(Boot());
  ASSERT_EQ(std::vector<int>({1}), m_init.Take());
  const int nPersons = PersonCount(CTSVC_USE_TYPE_SIM);

  NewProcess();
  CommitCounter commits(DbPath());
  zel::test::LogCapture log;
  ASSERT_TRUE(Boot());
  EXPECT_EQ(std::vector<int>({1}), m_init.Take());
  EXPECT_EQ(0, m_nTicks);
  EXPECT_FALSE(commits.Changed());
  EXPECT_TRUE(log.Contains("SIM data is Same, SIM is not changed"));
  EXPECT_FALSE(CtSvcPhonebookIsSHA1Changed());  // the dirty bit is 0
  EXPECT_EQ(nPersons, PersonCount(CTSVC_USE_TYPE_SIM));
  EXPECT_EQ(CTSVC_SIM_INIT_COMPLETE, CtSvcPhonebookGetInitState());
}

// What makes the next start copy the card again although the store has its contacts.
struct RecopyCase {
  const char* pszName;
  void (*pfnChange)(std::string* pCard);
  bool bRefreshCondition;
  const char* pszLog;
  const char* pszFirstContact;  // the name the card's first record has afterwards
};

const RecopyCase kRecopyCases[] = {
    {"new ICCID", [](std::string* p) { *p = WithIccid(*p, "89820011111111111111"); }, false, "SIM is changed!!", "Anna Schmidt"},
    {"edited record",
     [](std::string* p) { SetRecord(p, "4F3A", 0, "4265727461" + std::string(26, 'F') + "0791947110325476FFFFFFFFFFFF"); }, false,
     "ADN strHash(", "Berta"},
    {"refresh condition", [](std::string*) {}, true, "OnChangedState -Bulk operaton is SUCCEED", "Anna Schmidt"},
};

TEST_F(PhonebookTest, ANewIccidChangedFilesOrARefreshCopyTheCardAgain) {
  for (const RecopyCase& c : kRecopyCases) {
    SCOPED_TRACE(c.pszName);
    std::string strCard = SampleCard(SampleCardType::Usim);
    Insert(strCard);
    NewProcess();
    ASSERT_TRUE(Boot());
    m_init.Take();
    c.pfnChange(&strCard);
    Insert(strCard);
    NewProcess();
    CtSvcPhonebookSetSimRefreshCondition(c.bRefreshCondition ? 1 : 0);
    zel::test::LogCapture log;
    ASSERT_TRUE(Boot());
    EXPECT_EQ(std::vector<int>({1}), m_init.Take());
    EXPECT_GT(m_nTicks, 0);
    EXPECT_TRUE(log.Contains(c.pszLog));
    EXPECT_EQ(CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_ADN), PersonCount(CTSVC_USE_TYPE_SIM));
    CtSvcPersonFilter filter;
    CtSvcPersonFilterInit(&filter);
    filter.DevType = CTSVC_USE_TYPE_SIM;
    filter.nSlotIndex = 0;
    CtSvcPersonRecord record{};
    ASSERT_EQ(1, CtSvcDbPersonGetRecords(&filter, &record, 1));
    EXPECT_STREQ(c.pszFirstContact, record.Info.szFirstName);
  }
}

TEST_F(PhonebookTest, TheSimChangedAnswerIsKeptForTheProcessAndIccidBytesLoseLeadingZeros) {
  // "50" is the byte 0x05 (nibbles swapped on the card): it is stored as "5".
  Insert(WithIccid(SampleCard(SampleCardType::Usim), "50000000000000000001"));
  EXPECT_TRUE(CtSvcPhonebookIsSimChanged());
  EXPECT_EQ("50000000010", Setting("Section0", "ICCID"));
  Insert(WithIccid(SampleCard(SampleCardType::Usim), "89820011111111111111"));
  EXPECT_TRUE(CtSvcPhonebookIsSimChanged());  // cached: the new card is not looked at
  NewProcess();
  EXPECT_TRUE(CtSvcPhonebookIsSimChanged());
  NewProcess();
  EXPECT_FALSE(CtSvcPhonebookIsSimChanged());
}

TEST_F(PhonebookTest, NoSimRemovesSimContactsAndCompletesAtOnceWithoutCallback) {
  WritePreInstalled({{"Carrier Care", "114"}, {"Roaming", "+82221234567"}});
  Insert(SampleCard(SampleCardType::Usim));
  ASSERT_TRUE(Boot());
  m_init.Take();
  ASSERT_GT(PersonCount(CTSVC_USE_TYPE_SIM), 0);
  ASSERT_EQ(2, PersonCount(CTSVC_USE_TYPE_PHONE));

  NewProcess();
  zel::test::SetPhoneStatus(PSV_SIM_MODE_NOSIM, 1);
  int bNoSim = -1;
  ASSERT_TRUE(Boot(&bNoSim));
  EXPECT_EQ(1, bNoSim);
  EXPECT_TRUE(m_init.Take().empty());
  EXPECT_EQ(CTSVC_SIM_INIT_COMPLETE, CtSvcPhonebookGetInitState());
  EXPECT_EQ(0, PersonCount(CTSVC_USE_TYPE_SIM));
  EXPECT_EQ("", Setting("Section0", "ICCID"));
  EXPECT_EQ("", Setting("Section3", "SHA1Value_GAS"));
  // The pre-installed contacts were already inserted by the first start: never twice.
  EXPECT_EQ(2, PersonCount(CTSVC_USE_TYPE_PHONE));
  NewProcess();
  ASSERT_TRUE(Boot());
  EXPECT_EQ(2, PersonCount(CTSVC_USE_TYPE_PHONE));
  EXPECT_FALSE(CtSvcPhonebookReloadSimRecord(CTSVC_PHONEBOOK_RELOAD_ADN, InitCalls::OnInit, &m_init));
  EXPECT_TRUE(CtSvcPhonebookUpdateSHA1());
}

TEST_F(PhonebookTest, PreInstalledContactsAreInsertedOnceWithTheirNumber) {
  WritePreInstalled({{"Carrier Care", "114"}});
  Insert(SampleCard(SampleCardType::Gsm, true));
  ASSERT_TRUE(Boot());
  ASSERT_EQ(std::vector<int>({1}), m_init.Take());
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = CTSVC_USE_TYPE_PHONE;
  CtSvcPersonRecord record{};
  ASSERT_EQ(1, CtSvcDbPersonGetRecords(&filter, &record, 1));
  EXPECT_STREQ("Carrier Care", record.Info.szFirstName);
  EXPECT_EQ(1, record.Info.bHasPhoneNumber);
  EXPECT_EQ("1", Setting("sectionOne", "IsLoaded"));
  // An empty card: nothing to copy, no bulk run, the fingerprints stored at once.
  EXPECT_EQ(0, m_nTicks);
  EXPECT_EQ(0, PersonCount(CTSVC_USE_TYPE_SIM));
  EXPECT_FALSE(Setting("Section3", "SHA1Value_ADN").empty());
}

TEST_F(PhonebookTest, ACardWithoutPhonebookOrWithoutCardTypeIsRefused) {
  // A SIM whose service table offers none of ADN, FDN, MSISDN and SDN.
  std::string strCard = SampleCard(SampleCardType::Gsm);
  const size_t nPos = strCard.find("\"sst\": \"") + 8;
  strCard.replace(nPos, strCard.find('"', nPos) - nPos, "00000000000000000000");
  Insert(strCard);
  zel::test::LogCapture log;
  // Nothing to reload before a start.
  EXPECT_FALSE(CtSvcPhonebookReloadSimRecord(CTSVC_PHONEBOOK_RELOAD_ADN, InitCalls::OnInit, &m_init));
  EXPECT_TRUE(log.HasAssertion("m_InitState != CTSVC_SIM_INIT_INVALID"));
  EXPECT_FALSE(Boot());
  EXPECT_TRUE(log.Contains("this sim card does not support ADN"));
  EXPECT_EQ(CTSVC_SIM_INIT_INVALID, CtSvcPhonebookGetInitState());
  // No card at all: its type is unknown.
  zel::test::RemoveSimCard();
  NewProcess();
  EXPECT_FALSE(Boot());
  EXPECT_TRUE(log.Contains("Sim card type is invalid"));
  EXPECT_EQ(CTSVC_SIM_INIT_INVALID, CtSvcPhonebookGetInitState());
  EXPECT_TRUE(m_init.Take().empty());
  // While powering off nothing starts.
  zel::test::SetPowerOff(true);
  EXPECT_FALSE(CtSvcPhonebookInitialize(InitCalls::OnInit, &m_init, nullptr));
  EXPECT_TRUE(log.Contains("CtSvcPhonebookInitialize : _BmIsPowerOffState is TRUE"));
  zel::test::SetPowerOff(false);
}

}  // namespace
}  // namespace ctsvc_phonebook_test
