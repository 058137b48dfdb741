// The SIM manager on the simulated card: which files a group loads, the single-ADN fallback when
// the PBR cannot be read, what a failed file does to its group, the synchronisation repair after
// a GSM terminal, and the lengths and counts the C API asks for.
#include "CtSvcDB/Records/CtSvcSimLimits.h"
#include "SimMgrTestCard.h"
#include "ZelCoreTest.h"

namespace ctsvc_sim_mgr_test {
namespace {

using zel::sim::SampleCardType;
using zel::test::SimOp;

// Telephony ids of the local USIM phonebook's files.
constexpr uint32_t kPbr = 0xFF01;
constexpr uint32_t kAdn0 = 0xFF07;
constexpr uint32_t kAdn1 = 0xFF1A;
constexpr uint32_t kEmail0 = 0xFF12;
constexpr uint32_t kGsmExt1 = 0x6F4A;
const std::string kUnusedPbr(128, 'F');
const std::string kFullExt = "020121" + std::string(20, 'F');

TEST_F(SimMgrTest, AnUnusedSecondPbrRecordQueuesNothingAndIndexesEndWithTheFirstAdnFile) {
  std::string strCard = SampleCard(SampleCardType::Usim);
  SetRecord(&strCard, "4F30", 1, kUnusedPbr);
  Insert(strCard);
  zel::test::LogCapture log;
  EXPECT_EQ(std::vector<std::string>({"adn:1"}), LoadAdn());
  EXPECT_TRUE(log.Contains("CCtSvcSimFileContainer::__LoadUsimAdn - PBR file(nPbrIndex = 1) is not used"));
  EXPECT_EQ(0, zel::test::SimRequestCount(kAdn1, SimOp::FileInfo));
  EXPECT_EQ(0, zel::test::SimRequestCount(kPbc1, SimOp::FileInfo));
  EXPECT_EQ(1, zel::test::SimRequestCount(kAdn0, SimOp::FileInfo));
  EXPECT_EQ(100, m_pMgr->GetTotalMaxRecordCount(CTSVC_SIM_ADN));
  EXPECT_EQ(5, m_pMgr->GetTotalUsedRecordCount(CTSVC_SIM_ADN));
  EXPECT_EQ(1, m_pMgr->IsUsedRecord(CTSVC_SIM_ADN, 0));
  EXPECT_EQ(0, m_pMgr->IsUsedRecord(CTSVC_SIM_ADN, 99));
  EXPECT_EQ(-1, m_pMgr->IsUsedRecord(CTSVC_SIM_ADN, 100));
  CCtSvcSimAdnRecord record;
  EXPECT_FALSE(m_pMgr->GetAdnRecord(100, &record));
  ASSERT_TRUE(m_pMgr->GetAdnRecord(0, &record));
  EXPECT_EQ("Anna Schmidt", record.GetName());
  EXPECT_EQ("anna@example.com", std::string(record.GetEmailAddress(0)));
  EXPECT_NE(nullptr, m_pMgr->GetRecordUpdater(CTSVC_SIM_UPDATER_ADN));
  EXPECT_NE(nullptr, m_pMgr->GetRecordUpdater(CTSVC_SIM_UPDATER_GAS));
  EXPECT_EQ(nullptr, m_pMgr->GetRecordUpdater(CTSVC_SIM_UPDATER_FDN));
}

TEST_F(SimMgrTest, BothPbrRecordsGiveOneRunOfGlobalIndexes) {
  Insert(SampleCard(SampleCardType::Usim));
  EXPECT_EQ(std::vector<std::string>({"adn:1"}), LoadAdn());
  EXPECT_FALSE(m_pMgr->GetFileContainer()->IsSingleAdnFile());
  EXPECT_EQ(200, m_pMgr->GetTotalMaxRecordCount(CTSVC_SIM_ADN));
  EXPECT_EQ(7, m_pMgr->GetTotalUsedRecordCount(CTSVC_SIM_ADN));
  EXPECT_EQ(100, m_pMgr->GetMaxRecordCount(CTSVC_SIM_ADN, 1));
  CCtSvcSimAdnRecord record;
  ASSERT_TRUE(m_pMgr->GetAdnRecord(100, &record));
  EXPECT_EQ("Zoe Miller", record.GetName());
  EXPECT_EQ(100, record.GetRecordIndex());
  EXPECT_EQ(5, m_pMgr->GetUnusedRecordIndex(CTSVC_SIM_ADN));
  EXPECT_EQ(-1, m_pMgr->IsUsedRecord(CTSVC_SIM_ADN, 200));
  EXPECT_EQ(2, m_pMgr->GetPbrEntryCount(0, CTSVC_SIM_ENTRY_ANR));
  EXPECT_TRUE(m_pMgr->IsPbrEntryLinkByIndex(0, CTSVC_SIM_ENTRY_ANR, 1));
  EXPECT_FALSE(m_pMgr->IsPbrEntryLinkByIndex(0, CTSVC_SIM_ENTRY_ANR, 0));
  // Second names and e-mail addresses: the e-mail file is reached through IAP, the ADN link
  // takes its last two bytes.
  EXPECT_EQ(40, m_pMgr->GetRecordStringLength(CTSVC_SIM_EMAIL));
  EXPECT_EQ(20, m_pMgr->GetRecordStringLength(CTSVC_SIM_SNE));
  EXPECT_EQ(18, m_pMgr->GetRecordStringLength(CTSVC_SIM_ADN));
  EXPECT_EQ(2, m_pMgr->GetAvailCountRecordField(CTSVC_SIM_ANR, -1));
  EXPECT_EQ(1, m_pMgr->GetAvailCountRecordField(CTSVC_SIM_EMAIL, -1));
  EXPECT_EQ(10, m_pMgr->GetAvailCountRecordField(CTSVC_SIM_GRP, 0));
  EXPECT_EQ(2, m_pMgr->GetMaxCountRecordField(CTSVC_SIM_ANR, 0));
}

TEST_F(SimMgrTest, APbrThatCannotBeReadGivesOneAdnFileAndExt1) {
  Insert(SampleCard(SampleCardType::Usim));
  zel::test::InjectSimFault(kPbr, SimOp::FileInfo, zel::test::SimFault::ErrorAnswer);
  zel::test::LogCapture log;
  EXPECT_EQ(std::vector<std::string>({"adn:1"}), LoadAdn());
  EXPECT_TRUE(log.Contains("CCtSvcSimFileContainer::OnLoaded - PBR file load failed"));
  CCtSvcSimFileContainer* pContainer = m_pMgr->GetFileContainer();
  EXPECT_TRUE(pContainer->IsSingleAdnFile());
  EXPECT_EQ(1u, pContainer->GetAdnContainer().size());
  EXPECT_NE(nullptr, pContainer->GetSimFile(CTSVC_SIM_EXT1));
  EXPECT_EQ(nullptr, pContainer->GetSimFile(CTSVC_SIM_IAP, 0));
  EXPECT_EQ(nullptr, pContainer->GetSimFile(CTSVC_SIM_PBR));
  EXPECT_EQ(0, zel::test::SimRequestCount(kAdn1, SimOp::FileInfo));
  EXPECT_EQ(0, zel::test::SimRequestCount(kEmail0, SimOp::FileInfo));
  EXPECT_EQ(100, m_pMgr->GetTotalMaxRecordCount(CTSVC_SIM_ADN));
  EXPECT_EQ(5, m_pMgr->GetUnusedRecordIndex(CTSVC_SIM_ADN));
  CCtSvcSimAdnRecord record;
  ASSERT_TRUE(m_pMgr->GetAdnRecord(4, &record));
  EXPECT_EQ("012345678901234567890123456789", record.GetPhoneNumber());
  EXPECT_EQ(0, record.GetEmailAddressCount());
  EXPECT_EQ(0, m_pMgr->GetAvailCountRecordField(CTSVC_SIM_EMAIL, -1));
}

// A file that fails to load: the ADN group survives an optional one and is freed with its ADN file.
struct FailedFileRow {
  const char* pszName;
  uint32_t nFileID;
  SimOp op;
  bool bGroupLoads;
};

TEST_F(SimMgrTest, AFailedOptionalFileKeepsTheGroupAndAFailedAdnFileFreesIt) {
  const FailedFileRow kRows[] = {
      {"EMAIL information", kEmail0, SimOp::FileInfo, true},
      {"EMAIL read", kEmail0, SimOp::Read, true},
      {"CC read", kCc, SimOp::Read, true},
      {"ADN information", kAdn0, SimOp::FileInfo, false},
      {"second ADN read", kAdn1, SimOp::Read, false},
  };
  for (const FailedFileRow& row : kRows) {
    SCOPED_TRACE(row.pszName);
    m_pMgr->Clear();
    zel::test::ResetSim();
    Insert(SampleCard(SampleCardType::Usim));
    zel::test::InjectSimFault(row.nFileID, row.op, zel::test::SimFault::ErrorAnswer);
    EXPECT_EQ(std::vector<std::string>({row.bGroupLoads ? "adn:1" : "adn:0"}), LoadAdn());
    CCtSvcSimFileContainer* pContainer = m_pMgr->GetFileContainer();
    ASSERT_NE(nullptr, pContainer);
    EXPECT_EQ(row.bGroupLoads, pContainer->GetSimFile(CTSVC_SIM_ADN, 0) != nullptr);
    EXPECT_EQ(row.bGroupLoads, m_pMgr->GetRecordUpdater(CTSVC_SIM_UPDATER_ADN) != nullptr);
    EXPECT_EQ(row.bGroupLoads ? 200 : -1, m_pMgr->GetTotalMaxRecordCount(CTSVC_SIM_ADN));
  }
  // A failed CC read drops the file: nothing of the synchronisation data is written.
  EXPECT_EQ(0, zel::test::SimRequestCount(kCc, SimOp::Update));
}

// PBC marks of a GSM terminal: cleared, CC stepped once per record and written last, before the
// group reports; at the wrap PSC is stepped and PUID restarts.
struct SyncRow {
  const char* pszName;
  std::string strCc;
  std::vector<std::pair<std::string, int>> vcMarked;  // PBC file, record
  std::string strCcAfter;
  std::string strPscAfter;
  std::string strPuidAfter;
};

TEST_F(SimMgrTest, PbcMarksAreClearedAndCcIsSteppedOnceARecordAndWrittenLast) {
  const SyncRow kRows[] = {
      {"no marks", "0001", {}, "0001", "00000001", "0007"},
      {"three marks", "0001", {{"4F09", 0}, {"4F09", 2}, {"4F0A", 1}}, "0004", "00000001", "0007"},
      {"wrap", "FFFF", {{"4F09", 1}, {"4F0A", 0}}, "0002", "00000002", "0000"},
  };
  for (const SyncRow& row : kRows) {
    SCOPED_TRACE(row.pszName);
    m_pMgr->Clear();
    zel::test::ResetSim();
    std::string strCard = SampleCard(SampleCardType::Usim);
    SetData(&strCard, "4F23", row.strCc);
    for (const auto& marked : row.vcMarked) {
      SetRecord(&strCard, marked.first, marked.second, "0100");
    }
    Insert(strCard);
    LoadListener listener;
    ASSERT_TRUE(m_pMgr->InitAdn(&listener));
    DrainEventHandler();
    EXPECT_EQ(std::vector<std::string>({"adn:1"}), listener.Events());
    const int nMarked = static_cast<int>(row.vcMarked.size());
    EXPECT_EQ(nMarked == 0 ? 0 : 1, listener.CcWritesAtReport());
    EXPECT_EQ(nMarked, listener.PbcWritesAtReport());
    const std::string strAfter = zel::test::SimCardText();
    EXPECT_EQ(row.strCcAfter, GetData(strAfter, "4F23"));
    EXPECT_EQ(row.strPscAfter, GetData(strAfter, "4F22"));
    EXPECT_EQ(row.strPuidAfter, GetData(strAfter, "4F24"));
    for (const auto& marked : row.vcMarked) {
      EXPECT_EQ("0000", GetRecord(strAfter, marked.first, marked.second));
    }
    EXPECT_NE(nullptr, m_pMgr->GetRecordUpdater(CTSVC_SIM_UPDATER_ADN));
  }
}

TEST_F(SimMgrTest, CcIsWrittenAfterEveryPbcRecord) {
  std::string strCard = SampleCard(SampleCardType::Usim);
  SetRecord(&strCard, "4F09", 0, "0100");
  SetRecord(&strCard, "4F0A", 0, "0100");
  Insert(strCard);
  LoadListener listener;
  ASSERT_TRUE(m_pMgr->InitAdn(&listener));
  DrainEventHandler();
  ASSERT_EQ(std::vector<std::string>({"adn:1"}), listener.Events());
  // Replay the writes one answer at a time on a fresh manager: CC never goes before a PBC write.
  m_pMgr->Clear();
  zel::test::ResetSim();
  Insert(strCard);
  LoadListener second;
  zel::test::HoldSimAnswers(true);
  ASSERT_TRUE(m_pMgr->InitAdn(&second));
  int nPbcWrites = 0;
  while (zel::test::ReleaseSimAnswer()) {
    DrainEventHandler();
    const int nPbcNow = zel::test::SimRequestCount(kPbc0, SimOp::Update) + zel::test::SimRequestCount(kPbc1, SimOp::Update);
    if (zel::test::SimRequestCount(kCc, SimOp::Update) > 0) {
      EXPECT_EQ(2, nPbcNow);
    }
    nPbcWrites = nPbcNow;
  }
  EXPECT_EQ(2, nPbcWrites);
  EXPECT_EQ(std::vector<std::string>({"adn:1"}), second.Events());
}

TEST_F(SimMgrTest, NumberLengthIsFortyOnlyWithAFreeExtensionRecord) {
  struct Row {
    const char* pszName;
    bool bFillExt1;
    bool bExt1Fails;
    int nLength;
  };
  const Row kRows[] = {{"free EXT1", false, false, 40}, {"full EXT1", true, false, 20}, {"no EXT1", false, true, 20}};
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.pszName);
    m_pMgr->Clear();
    zel::test::ResetSim();
    std::string strCard = SampleCard(SampleCardType::Gsm);
    for (int i = 0; row.bFillExt1 && i < 10; ++i) {
      SetRecord(&strCard, "6F4A", i, kFullExt);
    }
    Insert(strCard);
    if (row.bExt1Fails) {
      zel::test::InjectSimFault(kGsmExt1, SimOp::FileInfo, zel::test::SimFault::ErrorAnswer);
    }
    EXPECT_EQ(std::vector<std::string>({"adn:1"}), LoadAdn());
    EXPECT_EQ(row.nLength, m_pMgr->GetRecordPhoneNumberLength(CTSVC_SIM_ADN));
  }
}

TEST_F(SimMgrTest, GsmGroupsLoadOneAfterAnotherAndAnswerRecords) {
  Insert(SampleCard(SampleCardType::Gsm));
  LoadListener listener;
  zel::test::HoldSimAnswers(true);
  ASSERT_TRUE(m_pMgr->InitAdn(&listener));
  // One queue and one request at a time: a second group waits for the first.
  EXPECT_FALSE(m_pMgr->InitFdn(&listener));
  zel::test::HoldSimAnswers(false);
  while (zel::test::ReleaseSimAnswer()) {
  }
  DrainEventHandler();
  ASSERT_TRUE(m_pMgr->InitFdn(&listener));
  DrainEventHandler();
  ASSERT_TRUE(m_pMgr->InitMsisdn(&listener));
  DrainEventHandler();
  ASSERT_TRUE(m_pMgr->InitSdn(&listener));
  DrainEventHandler();
  m_pMgr->ForgetListener(&listener);
  EXPECT_EQ(std::vector<std::string>({"adn:1", "fdn:1", "msisdn:1", "sdn:1"}), listener.Events());
  EXPECT_TRUE(m_pMgr->GetFileContainer()->IsSingleAdnFile());
  CCtSvcSimAdnRecord adn;
  ASSERT_TRUE(m_pMgr->GetAdnRecord(4, &adn));
  EXPECT_EQ("Long Number", adn.GetName());
  EXPECT_EQ("012345678901234567890123456789", adn.GetPhoneNumber());
  EXPECT_FALSE(m_pMgr->GetAdnRecord(7, &adn));
  CCtSvcSimXdnRecord xdn;
  ASSERT_TRUE(m_pMgr->GetXdnRecord(1, 1, &xdn));
  EXPECT_EQ("Home", xdn.GetName());
  EXPECT_EQ("+493012345", xdn.GetPhoneNumber());
  ASSERT_TRUE(m_pMgr->GetXdnRecord(3, 0, &xdn));
  EXPECT_EQ("+821012345678", xdn.GetPhoneNumber());
  EXPECT_FALSE(m_pMgr->GetXdnRecord(2, 1, &xdn));
  EXPECT_EQ(250, m_pMgr->GetTotalMaxRecordCount(CTSVC_SIM_ADN));
  EXPECT_EQ(7, m_pMgr->GetUsedRecordCount(CTSVC_SIM_ADN));
  EXPECT_EQ(2, m_pMgr->GetUsedRecordCount(CTSVC_SIM_FDN));
  EXPECT_EQ(7, m_pMgr->GetUnusedRecordIndex(CTSVC_SIM_ADN));
  EXPECT_EQ(16, m_pMgr->GetRecordStringLength(CTSVC_SIM_ADN));
  EXPECT_EQ(0, m_pMgr->GetAvailCountRecordField(CTSVC_SIM_GRP, 0));
  EXPECT_FALSE(m_pMgr->IsAvailableFile(CTSVC_SIM_GAS));
  EXPECT_EQ(-1, m_pMgr->GetMaxRecordCount(CTSVC_SIM_GAS));
  EXPECT_EQ(-1, m_pMgr->IsUsedRecord(CTSVC_SIM_UID, 0));
  // Freeing a group leaves the others.
  m_pMgr->PrepareReloadRecord(CTSVC_SIM_RELOAD_FDN);
  EXPECT_EQ(nullptr, m_pMgr->GetRecordUpdater(CTSVC_SIM_UPDATER_FDN));
  EXPECT_EQ(-1, m_pMgr->GetMaxRecordCount(CTSVC_SIM_FDN));
  EXPECT_EQ(250, m_pMgr->GetMaxRecordCount(CTSVC_SIM_ADN));
  EXPECT_NE(nullptr, m_pMgr->GetRecordUpdater(CTSVC_SIM_UPDATER_MSISDN));
}

TEST_F(SimMgrTest, ExtensionEntriesNoNumberReferencesAreDroppedFromMemory) {
  std::string strCard = SampleCard(SampleCardType::Gsm);
  SetRecord(&strCard, "6F4A", 5, kFullExt);  // referenced by no ADN record
  Insert(strCard);
  EXPECT_EQ(std::vector<std::string>({"adn:1"}), LoadAdn());
  EXPECT_EQ(2, m_pMgr->GetUsedRecordCount(CTSVC_SIM_EXT1));
  ASSERT_TRUE(m_pMgr->ValidCheckExtFile(CTSVC_SIM_EXT1));
  EXPECT_EQ(1, m_pMgr->GetUsedRecordCount(CTSVC_SIM_EXT1));
  EXPECT_EQ(kFullExt, GetRecord(zel::test::SimCardText(), "6F4A", 5));  // the card is not written
  zel::test::LogCapture log;
  EXPECT_FALSE(m_pMgr->ValidCheckExtFile(CTSVC_SIM_EXT3));
  EXPECT_TRUE(log.Contains("CCtSvcSimFileContainer::ValidCheckExtFile - Not Extention File!!!"));
  EXPECT_FALSE(m_pMgr->ValidCheckExtFile(CTSVC_SIM_EXT2));
  EXPECT_TRUE(log.Contains("CCtSvcSimFileContainer::ValidCheckExtFile - m_pFdnFile File was not loaded"));
}

}  // namespace
}  // namespace ctsvc_sim_mgr_test

namespace ctsvc_sim_mgr_test {
namespace {

// The limits contacts are cut to: the loaded card's while its ADN group is loaded, else "no SIM".
TEST_F(SimMgrTest, ContactsAreCutToTheLoadedCardsLimits) {
  struct Row {
    const char* pszName;
    zel::sim::SampleCardType type;
    int nNumber, nName, nEmail, nSne, nFreeAnr, nFreeEmail, nFreeSne;
    bool bEmail, bSne;
  };
  const Row kRows[] = {
      {"USIM", SampleCardType::Usim, 40, 18, 40, 20, 2, 1, 1, true, true},
      {"GSM", SampleCardType::Gsm, 40, 16, 0, 0, 0, 0, 0, false, false},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.pszName);
    m_pMgr->Clear();
    zel::test::ResetSim();
    const ICtSvcSimLimits& none = CtSvcGetSimLimits();
    EXPECT_EQ(CTSVC_SIM_DEFAULT_ADN_NAME_LENGTH, none.GetAdnNameLength());
    Insert(SampleCard(row.type));
    ASSERT_EQ(std::vector<std::string>({"adn:1"}), LoadAdn());
    const ICtSvcSimLimits& limits = CtSvcGetSimLimits();
    EXPECT_EQ(row.nNumber, limits.GetAdnNumberLength());
    EXPECT_EQ(row.nName, limits.GetAdnNameLength());
    EXPECT_EQ(row.bEmail, limits.HasEmailFile());
    EXPECT_EQ(row.nEmail, limits.GetEmailLength());
    EXPECT_EQ(row.bSne, limits.HasSneFile());
    EXPECT_EQ(row.nSne, limits.GetSneLength());
    EXPECT_EQ(row.nFreeAnr, limits.GetFreeAnrCount(-1));
    EXPECT_EQ(row.nFreeEmail, limits.GetFreeEmailCount(-1));
    EXPECT_EQ(row.nFreeSne, limits.GetFreeSneCount(-1));
    m_pMgr->PrepareReloadRecord(CTSVC_SIM_RELOAD_ADN);
    EXPECT_EQ(CTSVC_SIM_DEFAULT_ADN_NUMBER_LENGTH, CtSvcGetSimLimits().GetAdnNumberLength());
    EXPECT_FALSE(CtSvcGetSimLimits().HasEmailFile());
  }
}

}  // namespace
}  // namespace ctsvc_sim_mgr_test
