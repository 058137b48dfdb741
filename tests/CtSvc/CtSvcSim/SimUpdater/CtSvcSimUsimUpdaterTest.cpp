// The ADN updater on the simulated USIM: a contact spread over IAP, ANR, EMAIL, SNE, GRP, PBC and
// UID with the synchronisation counters, read back from a fresh load of the card; and the GAS and
// AAS updaters.
#include <functional>

#include "ZelSimCodec.h"
#include "SimUpdaterFixture.h"

namespace ctsvc_sim_updater_test {
namespace {

constexpr int kFirstFree = 5;  // the sample USIM fills records 0 to 4 of the first ADN file

// The entries of the sample card's first PBR record; bTwoEmails makes its type-2 ANR file
// (4F13) a second type-2 EMAIL file.
std::string PbrHex(bool bTwoEmails) {
  const std::vector<SimPbrEntryInfo> entries = {
      {0xC0, 0xA8, 0, 0x4F3A, 0x02, {}}, {0xC1, 0xA8, 0, 0x4F25, 0, {}},
      {0xC5, 0xA8, 0, 0x4F09, 0, {}},    {0xC4, 0xA8, 0, 0x4F11, 0, {}},
      {0xC6, 0xA8, 0, 0x4F26, 0, {}},    {0xC9, 0xA8, 0, 0x4F21, 0, {}},
      {0xC3, 0xA8, 0, 0x4F19, 0, {}},    {bTwoEmails ? 0xCAu : 0xC4u, 0xA9, 0, 0x4F13, 0, {}},
      {0xCA, 0xA9, 0, 0x4F50, 0, {}},    {0xC2, 0xAA, 0, 0x4F4A, 0, {}},
      {0xC8, 0xAA, 0, 0x4F4C, 0, {}},    {0xC7, 0xAA, 0, 0x4F4D, 0, {}},
  };
  return zel::sim::BytesToHex(zel::sim::EncodePbr(entries, 64));
}

std::vector<std::string> Emails(const CCtSvcSimAdnRecord& record) {
  std::vector<std::string> vcEmail;
  for (int i = 0; i < record.GetEmailAddressCount(); ++i) {
    vcEmail.push_back(record.GetEmailAddress(i));
  }
  return vcEmail;
}

// Everything a contact shows, in one text.
std::string Describe(const CCtSvcSimAdnRecord& record) {
  std::string str = record.GetName() + "|" + record.GetPhoneNumber() + "|" + record.GetSecondName() + "|";
  for (int i = 0; i < record.GetAdditionalPhoneNumberCount(); ++i) {
    UINT8 nAas = 0;
    const char* pszNumber = record.GetAdditionalPhoneNumber(i, &nAas);
    str += std::to_string(nAas) + ":" + pszNumber + ",";
  }
  for (const std::string& strEmail : Emails(record)) {
    str += strEmail + ",";
  }
  for (int i = 0; i < record.GetGroupIndexCount(); ++i) {
    str += "g" + std::to_string(record.GetGroupIndex(i));
  }
  return str;
}

class CtSvcSimUsimUpdaterTest : public SimUpdaterTest {
 protected:
  void SetUp() override {
    SimUpdaterTest::SetUp();
    InsertSample(zel::sim::SampleCardType::Usim);
  }
  // The contact as the loaded files hold it.
  CCtSvcSimAdnRecord Contact(int nPbrIndex, int nRecordIndex, int nGlobalIndex) {
    CCtSvcSimAdnRecord record;
    EXPECT_TRUE(CtSvcSimLinkContact(*m_pContainer->GetPbrFile(), nPbrIndex, m_pContainer->Set(nPbrIndex), nRecordIndex,
                                    nGlobalIndex, &record));
    return record;
  }
  UINT32 CardValue(int nSimFileID) {
    std::unique_ptr<TestFileContainer> pCard = Load();
    return static_cast<CCtSvcSimValueFile*>(pCard->GetSimFile(nSimFileID))->GetValue();
  }
  CCtSvcSimValueFile* Value(int nSimFileID) const {
    return static_cast<CCtSvcSimValueFile*>(m_pContainer->GetSimFile(nSimFileID));
  }
  void Run(const std::function<BOOL(ICtSvcSimUpdater*)>& request, int nSimFileID = CTSVC_SIM_ADN) {
    m_listener.vcCall.clear();
    auto pUpdater = Updater(nSimFileID);
    ASSERT_TRUE(request(pUpdater.get()));
    Settle();
    ASSERT_EQ(1u, m_listener.vcCall.size());
    EXPECT_TRUE(m_listener.vcCall[0].bSuccess);
    EXPECT_EQ(CTSVC_SIM_UPDATER_IDLE, pUpdater->GetState());
  }
};

TEST_F(CtSvcSimUsimUpdaterTest, AContactReadAndWrittenBackReadsTheSameGroupZeroIncluded) {
  struct Case {
    int nPbrIndex;
    int nRecordIndex;
    int nGlobalIndex;
  };
  const Case kCases[] = {{0, 0, 0}, {0, 1, 1}, {0, 2, 2}, {0, 3, 3}, {0, 4, 4}, {1, 0, 100}, {1, 1, 101}};
  // Anna is in the card's first group, GAS record 1: group index 0
  ASSERT_EQ(1, Contact(0, 0, 0).GetGroupIndexCount());
  ASSERT_EQ(0, Contact(0, 0, 0).GetGroupIndex(0));
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nGlobalIndex);
    const CCtSvcSimAdnRecord before = Contact(c.nPbrIndex, c.nRecordIndex, c.nGlobalIndex);
    Run([&](ICtSvcSimUpdater* p) { return p->UpdateRecord(c.nGlobalIndex, &before, &m_listener); });
    bool bUsed = false;
    const CCtSvcSimAdnRecord after = ReloadContact(c.nGlobalIndex, &bUsed);
    ASSERT_TRUE(bUsed);
    EXPECT_EQ(Describe(before), Describe(after));
  }
}

TEST_F(CtSvcSimUsimUpdaterTest, AnInsertSpreadsTheContactOverItsFilesAndStepsTheCounters) {
  CCtSvcSimAdnRecord contact;
  contact.SetName("Neu");
  contact.SetPhoneNumber("+491234567890123456789012345");
  contact.AddAdditionalPhoneNumber(0, "0301");
  contact.AddAdditionalPhoneNumber(1, "+4930999");
  contact.AddEmailAddress("neu@example.org");
  contact.SetSecondName("N");
  contact.AddGroupIndex(0);
  contact.AddGroupIndex(2);
  const UINT32 nCc = Value(CTSVC_SIM_CC)->GetValue();
  const UINT32 nPuid = Value(CTSVC_SIM_PUID)->GetValue();
  Run([&](ICtSvcSimUpdater* p) { return p->InsertRecord(CTSVC_SIM_SLOT_AUTOINCREASE, &contact, &m_listener); });
  EXPECT_EQ(kFirstFree, m_listener.vcCall[0].nRecordIndex);
  bool bUsed = false;
  EXPECT_EQ(Describe(contact), Describe(ReloadContact(kFirstFree, &bUsed)));
  EXPECT_EQ(nCc + 1, CardValue(CTSVC_SIM_CC));
  EXPECT_EQ(nPuid + 1, CardValue(CTSVC_SIM_PUID));
  std::unique_ptr<TestFileContainer> pCard = Load();
  EXPECT_EQ(static_cast<int>(nPuid + 1), pCard->Set(0).pUidFile->GetUID(kFirstFree));
  // one write per record: IAP once for both of its links
  EXPECT_EQ(1, Writes(m_pContainer->Set(0).pIapFile));
  EXPECT_EQ(1, Writes(m_pContainer->Set(0).pAdnFile));
  EXPECT_EQ(1, Writes(m_pContainer->GetSimFile(CTSVC_SIM_EXT1)));
}

TEST_F(CtSvcSimUsimUpdaterTest, TheRecordItselfIsTheLastWrite) {
  CCtSvcSimAdnRecord contact = Contact(0, 1, 1);
  contact.SetName("Ivan");
  auto pUpdater = Updater(CTSVC_SIM_ADN);
  zel::test::HoldSimAnswers(true);
  ASSERT_TRUE(pUpdater->UpdateRecord(1, &contact, &m_listener));
  Settle();
  int nSent = 0;
  while (Writes(m_pContainer->Set(0).pAdnFile) == 0) {
    ASSERT_TRUE(zel::test::ReleaseSimAnswer());
    Settle();
    ++nSent;
  }
  EXPECT_GE(nSent, 3);  // CC, GRP, PBC, UID, PUID and the e-mail went before
  EXPECT_TRUE(m_listener.vcCall.empty());
  zel::test::HoldSimAnswers(false);
  ASSERT_TRUE(zel::test::ReleaseSimAnswer());
  Settle();
  ASSERT_EQ(1u, m_listener.vcCall.size());
  EXPECT_EQ(0, zel::test::HeldSimAnswerCount());
}

TEST_F(CtSvcSimUsimUpdaterTest, RemovingTheSecondEmailClearsItsIapPositionAndErasesItsRecord) {
  std::string strCard = zel::sim::BuildSampleCard(zel::sim::SampleCardType::Usim, false);
  const size_t nAt = strCard.find(PbrHex(false));
  ASSERT_NE(std::string::npos, nAt);
  strCard.replace(nAt, PbrHex(false).size(), PbrHex(true));
  const size_t nName = strCard.rfind("\"ANR\"", strCard.find("\"4F13\""));  // the card decodes by file name
  ASSERT_NE(std::string::npos, nName);
  strCard.replace(nName, 5, "\"EMAIL\"");
  InsertCard(strCard);
  ASSERT_EQ(2u, m_pContainer->Set(0).vcpEmailFile.size());

  CCtSvcSimAdnRecord contact;
  contact.SetName("Two Mails");
  contact.SetPhoneNumber("0301");
  contact.AddEmailAddress("one@x.io");
  contact.AddEmailAddress("two@example.com");
  Run([&](ICtSvcSimUpdater* p) { return p->InsertRecord(kFirstFree, &contact, &m_listener); });
  CCtSvcIapFile* pIap = m_pContainer->Set(0).pIapFile;
  const int nSecond = pIap->GetIndex(kFirstFree, 1);  // the second EMAIL file is the second type-2 entry
  ASSERT_NE(CTSVC_SIM_LINK_NONE, nSecond);
  bool bUsed = false;
  EXPECT_EQ(Emails(contact), Emails(ReloadContact(kFirstFree, &bUsed)));

  zel::test::ResetSimRequestCounts();
  contact.RemoveEmailAddress(1);
  Run([&](ICtSvcSimUpdater* p) { return p->UpdateRecord(kFirstFree, &contact, &m_listener); });
  EXPECT_EQ(1, Writes(pIap));
  EXPECT_EQ(1, Writes(m_pContainer->Set(0).vcpEmailFile[1]));
  std::unique_ptr<TestFileContainer> pCard = Load();
  EXPECT_EQ(CTSVC_SIM_LINK_NONE, pCard->Set(0).pIapFile->GetIndex(kFirstFree, 1));
  EXPECT_NE(CTSVC_SIM_LINK_NONE, pCard->Set(0).pIapFile->GetIndex(kFirstFree, 0));
  EXPECT_FALSE(pCard->Set(0).vcpEmailFile[1]->IsUsed(nSecond));
  EXPECT_EQ(std::vector<std::string>{"one@x.io"}, Emails(ReloadContact(kFirstFree, &bUsed)));
  EXPECT_EQ(std::vector<std::string>{"ivan@example.ru"}, Emails(ReloadContact(1, &bUsed)));
}

TEST_F(CtSvcSimUsimUpdaterTest, DeleteErasesEveryLinkedRecordAndLeavesTheOthers) {
  const CtSvcSimPbrFileSet& set = m_pContainer->Set(0);
  const int nAnrLink = set.pIapFile->GetIndex(0, 0);
  const int nEmailLink = set.pIapFile->GetIndex(0, 1);
  ASSERT_NE(CTSVC_SIM_LINK_NONE, nAnrLink);
  ASSERT_NE(CTSVC_SIM_LINK_NONE, nEmailLink);
  const CCtSvcSimAdnRecord ivan = Contact(0, 1, 1);
  const UINT32 nCc = Value(CTSVC_SIM_CC)->GetValue();
  Run([&](ICtSvcSimUpdater* p) { return p->DeleteRecord(0, &m_listener); });
  std::unique_ptr<TestFileContainer> pCard = Load();
  const CtSvcSimPbrFileSet& card = pCard->Set(0);
  const std::vector<std::pair<const char*, bool>> vcUsed = {
      {"ADN", card.pAdnFile->IsUsed(0)},          {"IAP", card.pIapFile->IsUsed(0)},
      {"SNE", card.pSneFile->IsUsed(0)},          {"ANR type 1", card.vcpAnrFile[0]->IsUsed(0)},
      {"ANR type 2", card.vcpAnrFile[1]->IsUsed(nAnrLink)}, {"EMAIL", card.vcpEmailFile[0]->IsUsed(nEmailLink)},
      {"GRP", card.pGrpFile->IsUsed(0)},          {"UID", card.pUidFile->IsUsed(0)},
  };
  for (const auto& used : vcUsed) {
    EXPECT_FALSE(used.second) << used.first;
  }
  EXPECT_EQ(nCc + 1, CardValue(CTSVC_SIM_CC));
  bool bUsed = false;
  EXPECT_EQ(Describe(ivan), Describe(ReloadContact(1, &bUsed)));
}

TEST_F(CtSvcSimUsimUpdaterTest, CountersThatRanOutRenewPscAndPuid) {
  struct Case {
    UINT32 nCc, nPuid, nPsc;
    UINT32 nCcAfter, nPuidAfter, nPscAfter;
  };
  const Case kCases[] = {
      {5, 7, 1, 6, 8, 1},
      {0xFFFF, 7, 1, 1, 1, 2},
      {5, 0xFFFF, 0xFFFFFFFE, 6, 1, 0},  // PSC skips 0xFFFFFFFF
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nCc);
    Value(CTSVC_SIM_CC)->SetValue(c.nCc);
    Value(CTSVC_SIM_PUID)->SetValue(c.nPuid);
    Value(CTSVC_SIM_PSC)->SetValue(c.nPsc);
    const CCtSvcSimAdnRecord contact = Contact(0, 3, 3);
    Run([&](ICtSvcSimUpdater* p) { return p->UpdateRecord(3, &contact, &m_listener); });
    EXPECT_EQ(c.nCcAfter, CardValue(CTSVC_SIM_CC));
    EXPECT_EQ(c.nPuidAfter, CardValue(CTSVC_SIM_PUID));
    EXPECT_EQ(c.nPscAfter, CardValue(CTSVC_SIM_PSC));
    std::unique_ptr<TestFileContainer> pCard = Load();
    EXPECT_EQ(static_cast<int>(c.nPuidAfter), pCard->Set(0).pUidFile->GetUID(3));
  }
}

TEST_F(CtSvcSimUsimUpdaterTest, BadContactsChangeNothing) {
  CCtSvcSimAdnRecord letters = Contact(0, 0, 0);
  letters.SetAdditionalPhoneNumber(0, 1, "call me");
  const CCtSvcSimAdnRecord anna = Contact(0, 0, 0);
  const UINT32 nCc = Value(CTSVC_SIM_CC)->GetValue();
  auto pUpdater = Updater(CTSVC_SIM_ADN);
  EXPECT_FALSE(pUpdater->UpdateRecord(0, &letters, &m_listener));
  EXPECT_FALSE(pUpdater->UpdateRecord(200, &anna, &m_listener));  // beyond both ADN files
  EXPECT_FALSE(pUpdater->DeleteRecord(kFirstFree, &m_listener));
  Settle();
  EXPECT_TRUE(m_listener.vcCall.empty());
  EXPECT_EQ(nCc, Value(CTSVC_SIM_CC)->GetValue());
  EXPECT_EQ(0, zel::test::SimRequestCount(zel::test::kAnyFile, zel::test::SimOp::Update));
  EXPECT_EQ(Describe(anna), Describe(Contact(0, 0, 0)));
}

TEST_F(CtSvcSimUsimUpdaterTest, GroupAndNumberKindNamesAreWrittenAndErased) {
  struct Case {
    int nSimFileID;
    int nCmd;  // CTSVC_SIM_UPDATER_INSERTING, _UPDATING, _DELETING
    int nIndex;
    const char* pszName;
    int nWrittenTo;
  };
  const Case kCases[] = {
      {CTSVC_SIM_GAS, CTSVC_SIM_UPDATER_INSERTING, CTSVC_SIM_SLOT_AUTOINCREASE, "Colleagues", 3},
      {CTSVC_SIM_AAS, CTSVC_SIM_UPDATER_UPDATING, 1, "Work", 1},
      {CTSVC_SIM_GAS, CTSVC_SIM_UPDATER_DELETING, 2, nullptr, 2},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nSimFileID * 10 + c.nCmd);
    CCtSvcSimXasRecord record;
    record.SetName(c.pszName != nullptr ? c.pszName : "");
    Run(
        [&](ICtSvcSimUpdater* p) {
          return c.nCmd == CTSVC_SIM_UPDATER_INSERTING  ? p->InsertRecord(c.nIndex, &record, &m_listener)
                 : c.nCmd == CTSVC_SIM_UPDATER_UPDATING ? p->UpdateRecord(c.nIndex, &record, &m_listener)
                                                        : p->DeleteRecord(c.nIndex, &m_listener);
        },
        c.nSimFileID);
    EXPECT_EQ(c.nCmd, m_listener.vcCall[0].nKind);
    EXPECT_EQ(c.nWrittenTo, m_listener.vcCall[0].nRecordIndex);
    std::unique_ptr<TestFileContainer> pCard = Load();
    auto* pFile = static_cast<CCtSvcSimTextFile*>(pCard->GetSimFile(c.nSimFileID));
    if (c.pszName == nullptr) {
      EXPECT_FALSE(pFile->IsUsed(c.nWrittenTo));
    } else {
      ASSERT_TRUE(pFile->IsUsed(c.nWrittenTo));
      EXPECT_STREQ(c.pszName, pFile->PeekText(c.nWrittenTo));
    }
  }
}

}  // namespace
}  // namespace ctsvc_sim_updater_test
