// Dialling-number updaters on the simulated GSM card: numbers over 20 digits continue in an
// extension record written before the record, an old extension chain is erased first, the FIFO
// sends one write at a time, the listener hears exactly once, and bad requests send nothing.
#include <functional>

#include "CtSvcSim/SimFile/CtSvcExtFile.h"
#include "SimUpdaterFixture.h"

namespace ctsvc_sim_updater_test {
namespace {

const char* const k30Digits = "012345678901234567890123456789";
constexpr int kLongContact = 4;  // "Long Number" of the sample card: 30 digits, EXT1 record 0
constexpr int kFirstFree = 7;    // the sample card fills ADN records 0 to 6

CCtSvcSimXdnRecord Xdn(const std::string& strName, const std::string& strNumber) {
  CCtSvcSimXdnRecord record;
  record.SetName(strName);
  record.SetPhoneNumber(strNumber);
  return record;
}

class CtSvcSimDialNumberUpdaterTest : public SimUpdaterTest {
 protected:
  void SetUp() override {
    SimUpdaterTest::SetUp();
    InsertSample(zel::sim::SampleCardType::Gsm);
  }
  CCtSvcSimFile* File(int nSimFileID) const { return m_pContainer->GetSimFile(nSimFileID); }
  int UsedCount(int nSimFileID) {
    std::unique_ptr<TestFileContainer> pCard = Load();
    int nUsed = 0;
    for (int i = 0; i < pCard->GetSimFile(nSimFileID)->GetMaxRecordCount(); ++i) {
      nUsed += pCard->GetSimFile(nSimFileID)->IsUsed(i) ? 1 : 0;
    }
    return nUsed;
  }
};

TEST_F(CtSvcSimDialNumberUpdaterTest, NumbersBeyondTwentyDigitsContinueInAnExtensionRecord) {
  struct Case {
    const char* pszNumber;
    const char* pszReadBack;
  };
  const Case kCases[] = {
      {"01234567890123456789", "01234567890123456789"},
      {"012345678901234567890123456789", "012345678901234567890123456789"},
      {"+4930123456789012345678", "+4930123456789012345678"},
      // two records hold 40 digits; the rest is dropped
      {"0123456789012345678901234567890123456789012", "0123456789012345678901234567890123456789"},
  };
  auto pUpdater = Updater(CTSVC_SIM_ADN);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.pszNumber);
    zel::test::ResetSimRequestCounts();
    m_listener.vcCall.clear();
    // the 16 bytes of the record's name field take the start of a longer name, the number stays whole
    const CCtSvcSimXdnRecord record = Xdn("A name longer than the card holds", c.pszNumber);
    ASSERT_TRUE(pUpdater->UpdateRecord(kFirstFree, &record, &m_listener));
    Settle();
    ASSERT_EQ(1u, m_listener.vcCall.size());
    EXPECT_TRUE(m_listener.vcCall[0].bSuccess);
    EXPECT_EQ(1, Writes(File(CTSVC_SIM_ADN)));
    bool bUsed = false;
    const CCtSvcSimAdnRecord stored = ReloadContact(kFirstFree, &bUsed);
    ASSERT_TRUE(bUsed);
    EXPECT_EQ(c.pszReadBack, stored.GetPhoneNumber());
    EXPECT_EQ("A name longer th", stored.GetName());
  }
  // the chain of the last long number is all that is left besides the sample's own record
  EXPECT_EQ(2, UsedCount(CTSVC_SIM_EXT1));
}

TEST_F(CtSvcSimDialNumberUpdaterTest, ExtensionRecordsGoFirstOldOnesErasedBeforeNewOnes) {
  struct Case {
    int nIndex;  // kLongContact uses EXT1 record 0
    const char* pszNumber;
    int nExtWrites;  // the old chain erased, then the new extension record
    int nExtUsed;    // EXT1 records used afterwards
    int nWrittenTo;
  };
  const Case kCases[] = {{CTSVC_SIM_SLOT_AUTOINCREASE, "012345678901234567890123456789", 1, 2, kFirstFree},
                         {kLongContact, "0301234567", 1, 0, kLongContact},
                         {kLongContact, "987654321098765432109876", 2, 1, kLongContact}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.pszNumber);
    InsertSample(zel::sim::SampleCardType::Gsm);
    m_listener.vcCall.clear();
    auto pUpdater = Updater(CTSVC_SIM_ADN);
    const CCtSvcSimXdnRecord record = Xdn("", c.pszNumber);
    zel::test::HoldSimAnswers(true);
    ASSERT_TRUE(c.nIndex < 0 ? pUpdater->InsertRecord(c.nIndex, &record, &m_listener)
                             : pUpdater->UpdateRecord(c.nIndex, &record, &m_listener));
    Settle();
    EXPECT_EQ(1, zel::test::HeldSimAnswerCount());
    EXPECT_EQ(1, Writes(File(CTSVC_SIM_EXT1)));  // the extension record goes first
    EXPECT_EQ(0, Writes(File(CTSVC_SIM_ADN)));
    while (zel::test::HeldSimAnswerCount() > 0) {
      EXPECT_TRUE(m_listener.vcCall.empty());  // not before the last answer
      zel::test::ReleaseSimAnswer();
      Settle();
    }
    zel::test::HoldSimAnswers(false);
    ASSERT_EQ(1u, m_listener.vcCall.size());
    EXPECT_EQ(c.nWrittenTo, m_listener.vcCall[0].nRecordIndex);
    EXPECT_TRUE(m_listener.vcCall[0].bSuccess);
    EXPECT_EQ(CTSVC_SIM_UPDATER_IDLE, pUpdater->GetState());
    EXPECT_EQ(c.nExtWrites, Writes(File(CTSVC_SIM_EXT1)));
    EXPECT_EQ(1, Writes(File(CTSVC_SIM_ADN)));
    bool bUsed = false;
    EXPECT_EQ(c.pszNumber, ReloadContact(c.nWrittenTo, &bUsed).GetPhoneNumber());
    EXPECT_EQ(c.nExtUsed, UsedCount(CTSVC_SIM_EXT1));
  }
  bool bUsed = false;
  EXPECT_EQ("Long Number", ReloadContact(kLongContact, &bUsed).GetName());  // an empty name keeps the old one
}

TEST_F(CtSvcSimDialNumberUpdaterTest, DeleteErasesTheRecordAndItsExtensionChain) {
  auto pUpdater = Updater(CTSVC_SIM_ADN);
  ASSERT_TRUE(pUpdater->DeleteRecord(kLongContact, &m_listener));
  Settle();
  ASSERT_EQ(1u, m_listener.vcCall.size());
  EXPECT_EQ(CTSVC_SIM_UPDATER_DELETING, m_listener.vcCall[0].nKind);
  EXPECT_TRUE(m_listener.vcCall[0].bSuccess);
  EXPECT_EQ(1, Writes(File(CTSVC_SIM_ADN)));
  EXPECT_EQ(1, Writes(File(CTSVC_SIM_EXT1)));
  bool bUsed = true;
  ReloadContact(kLongContact, &bUsed);
  EXPECT_FALSE(bUsed);
  EXPECT_EQ(0, UsedCount(CTSVC_SIM_EXT1));
  EXPECT_FALSE(File(CTSVC_SIM_ADN)->IsUsed(kLongContact));  // memory follows
}

TEST_F(CtSvcSimDialNumberUpdaterTest, FdnSdnAndMsisdnWriteTheirOwnFiles) {
  struct Case {
    int nSimFileID;
    int nExtFileID;
    const char* pszNumber;
    int nIndex;        // -1: the first free record
    int nWrittenTo;    // the record the listener reports
    BOOL bCardTakes;   // SDN may never be written on this card
  };
  const Case kCases[] = {
      {CTSVC_SIM_FDN, CTSVC_SIM_EXT2, "+4930123456789012345678901", CTSVC_SIM_SLOT_AUTOINCREASE, 2, TRUE},
      {CTSVC_SIM_MSISDN, CTSVC_SIM_EXT1, "01012345678", CTSVC_SIM_SLOT_AUTOINCREASE, 1, TRUE},
      {CTSVC_SIM_SDN, CTSVC_SIM_EXT3, "112", 0, 0, FALSE},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nSimFileID);
    zel::test::ResetSimRequestCounts();
    m_listener.vcCall.clear();
    const std::string strBefore = zel::test::SimCardText();
    auto pUpdater = Updater(c.nSimFileID);
    const CCtSvcSimXdnRecord record = Xdn("Desk", c.pszNumber);
    ASSERT_TRUE(pUpdater->InsertRecord(c.nIndex, &record, &m_listener));
    Settle();
    ASSERT_EQ(1u, m_listener.vcCall.size());
    EXPECT_EQ(c.nSimFileID, m_listener.vcCall[0].nSimFileID);
    EXPECT_EQ(c.nWrittenTo, m_listener.vcCall[0].nRecordIndex);
    EXPECT_EQ(c.bCardTakes, m_listener.vcCall[0].bSuccess);
    EXPECT_EQ(1, Writes(File(c.nSimFileID)));
    EXPECT_EQ(std::string(c.pszNumber).size() > 21 ? 1 : 0, Writes(File(c.nExtFileID)));
    if (!c.bCardTakes) {
      EXPECT_EQ(strBefore, zel::test::SimCardText());
      continue;
    }
    std::unique_ptr<TestFileContainer> pCard = Load();
    auto* pFile = static_cast<CCtSvcDialNumberFile*>(pCard->GetSimFile(c.nSimFileID));
    char szNumber[64] = {};
    ASSERT_TRUE(pFile->GetPresentedNumber(c.nWrittenTo, static_cast<CCtSvcExtFile*>(pCard->GetSimFile(c.nExtFileID)),
                                          szNumber, sizeof(szNumber)));
    EXPECT_STREQ(c.pszNumber, szNumber);
  }
  // MSISDN has two records, both used now
  auto pMsisdn = Updater(CTSVC_SIM_MSISDN);
  const CCtSvcSimXdnRecord record = Xdn("Third", "0123");
  m_listener.vcCall.clear();
  EXPECT_FALSE(pMsisdn->InsertRecord(CTSVC_SIM_SLOT_AUTOINCREASE, &record, &m_listener));
  Settle();
  EXPECT_TRUE(m_listener.vcCall.empty());
}

TEST_F(CtSvcSimDialNumberUpdaterTest, BadRequestsSendNothingAndLeaveMemoryAlone) {
  auto pAdn = Updater(CTSVC_SIM_ADN);
  CCtSvcSimXasRecord text;
  text.SetName("Family");
  const CCtSvcSimXdnRecord letters = Xdn("Letters", "0301-CALL-ME");
  const CCtSvcSimXdnRecord empty = Xdn("", "");
  const CCtSvcSimXdnRecord good = Xdn("Good", "0301234567");
  struct Case {
    const char* pszWhat;
    std::function<BOOL()> request;
    const char* pszAssertion;  // null: refused without an assertion report
  };
  const Case kCases[] = {
      {"a number with letters", [&] { return pAdn->UpdateRecord(0, &letters, &m_listener); }, nullptr},
      {"an index beyond the file", [&] { return pAdn->UpdateRecord(250, &good, &m_listener); }, nullptr},
      {"nothing to store in an empty slot", [&] { return pAdn->InsertRecord(100, &empty, &m_listener); }, nullptr},
      {"deleting an empty slot", [&] { return pAdn->DeleteRecord(100, &m_listener); }, nullptr},
      {"an insert index below -1", [&] { return pAdn->InsertRecord(-2, &good, &m_listener); },
       "nRecordIndex >= CTSVC_SIM_SLOT_AUTOINCREASE"},
      {"an update index below 0", [&] { return pAdn->UpdateRecord(-1, &good, &m_listener); }, "nRecordIndex >= 0"},
      {"no listener", [&] { return pAdn->DeleteRecord(0, nullptr); }, "pListener"},
      {"no record", [&] { return pAdn->UpdateRecord(0, nullptr, &m_listener); }, "pRecord"},
      {"a group name for a contact", [&] { return pAdn->UpdateRecord(0, &text, &m_listener); }, "pXdn"},
      {"GAS on a GSM card", [&] { return Updater(CTSVC_SIM_GAS)->InsertRecord(-1, &text, &m_listener); }, nullptr},
  };
  const std::string strBefore = zel::test::SimCardText();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.pszWhat);
    zel::test::LogCapture log;
    EXPECT_FALSE(c.request());
    Settle();
    if (c.pszAssertion != nullptr) {
      EXPECT_TRUE(log.HasAssertion(c.pszAssertion));
    } else {
      EXPECT_TRUE(log.Assertions().empty());
    }
    EXPECT_EQ(CTSVC_SIM_UPDATER_IDLE, pAdn->GetState());
  }
  EXPECT_TRUE(m_listener.vcCall.empty());
  EXPECT_EQ(0, zel::test::SimRequestCount(zel::test::kAnyFile, zel::test::SimOp::Update));
  EXPECT_EQ(strBefore, zel::test::SimCardText());
  char szName[CTSVC_SIM_DIAL_NAME_SIZE] = {};
  static_cast<CCtSvcAdnFile*>(File(CTSVC_SIM_ADN))->GetName(0, szName, sizeof(szName));
  EXPECT_STREQ("Anna Schmidt", szName);
  EXPECT_EQ(nullptr, CtSvcSimCreateUpdater(CTSVC_SIM_PBR, m_pContainer.get()));
}

TEST_F(CtSvcSimDialNumberUpdaterTest, AChangeWhileAnotherRunsIsRefusedAndTheFirstFinishesAlone) {
  auto pUpdater = Updater(CTSVC_SIM_ADN);
  const CCtSvcSimXdnRecord first = Xdn("First", k30Digits);
  const CCtSvcSimXdnRecord second = Xdn("Second", "0301");
  zel::test::HoldSimAnswers(true);
  ASSERT_TRUE(pUpdater->UpdateRecord(0, &first, &m_listener));
  Settle();
  {
    zel::test::LogCapture log;
    EXPECT_FALSE(pUpdater->UpdateRecord(1, &second, &m_listener));
    EXPECT_FALSE(pUpdater->DeleteRecord(1, &m_listener));
    EXPECT_TRUE(log.HasAssertion("GetState() == CTSVC_SIM_UPDATER_IDLE"));
  }
  zel::test::HoldSimAnswers(false);
  while (zel::test::ReleaseSimAnswer()) {
    Settle();
  }
  Settle();
  ASSERT_EQ(1u, m_listener.vcCall.size());
  EXPECT_EQ(0, m_listener.vcCall[0].nRecordIndex);
  EXPECT_TRUE(m_listener.vcCall[0].bSuccess);
  bool bUsed = false;
  EXPECT_EQ("Иван Петров", ReloadContact(1, &bUsed).GetName());  // the refused change left no trace
  // idle again: the refused change can be made now
  ASSERT_TRUE(pUpdater->UpdateRecord(1, &second, &m_listener));
  Settle();
  ASSERT_EQ(2u, m_listener.vcCall.size());
  EXPECT_EQ("Second", ReloadContact(1, &bUsed).GetName());
}

TEST_F(CtSvcSimDialNumberUpdaterTest, ACardFailureInTheSeriesIsReportedOnceAndStopsIt) {
  struct Case {
    const char* pszWhat;
    std::function<void()> spoil;
    int nAdnWrites;
    bool bCardFileKept;  // false: the extension record reached the card, its record did not
  };
  const uint32_t nExt1 = static_cast<uint32_t>(File(CTSVC_SIM_EXT1)->GetTelephonyFileID());
  const uint32_t nAdn = static_cast<uint32_t>(File(CTSVC_SIM_ADN)->GetTelephonyFileID());
  const Case kCases[] = {
      {"the card refuses the extension record",
       [&] { zel::test::InjectSimFault(nExt1, zel::test::SimOp::Update, zel::test::SimFault::ErrorAnswer); }, 0, true},
      {"the card file write is cut short", [] { zel::test::InjectSimCardWriteFailure(); }, 0, true},
      {"the card is gone before the record is written",
       [&] { zel::test::InjectSimFault(nAdn, zel::test::SimOp::Update, zel::test::SimFault::NotSent); }, 0, false},
  };
  auto pUpdater = Updater(CTSVC_SIM_ADN);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.pszWhat);
    zel::test::ResetSimRequestCounts();
    m_listener.vcCall.clear();
    const std::string strBefore = CardFile();
    c.spoil();
    const CCtSvcSimXdnRecord record = Xdn("Changed", k30Digits);
    ASSERT_TRUE(pUpdater->UpdateRecord(2, &record, &m_listener));
    Settle();
    ASSERT_EQ(1u, m_listener.vcCall.size());
    EXPECT_FALSE(m_listener.vcCall[0].bSuccess);
    EXPECT_EQ(c.nAdnWrites, Writes(File(CTSVC_SIM_ADN)));
    EXPECT_EQ(CTSVC_SIM_UPDATER_IDLE, pUpdater->GetState());
    bool bUsed = false;
    EXPECT_EQ("01012345678", ReloadContact(2, &bUsed).GetPhoneNumber());  // the card's record is as it was
    if (c.bCardFileKept) {
      EXPECT_EQ(strBefore, CardFile());
    }
    zel::test::ClearSimFaults();
  }
  // a card removed before the change: nothing is sent and the listener is never called
  zel::test::RemoveSimCard();
  m_listener.vcCall.clear();
  const CCtSvcSimXdnRecord record = Xdn("Gone", "0301");
  EXPECT_FALSE(pUpdater->UpdateRecord(3, &record, &m_listener));
  Settle();
  EXPECT_TRUE(m_listener.vcCall.empty());
  EXPECT_EQ(CTSVC_SIM_UPDATER_IDLE, pUpdater->GetState());
}

}  // namespace
}  // namespace ctsvc_sim_updater_test
