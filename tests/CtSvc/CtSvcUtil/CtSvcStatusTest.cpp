// The phonebook status helpers on the sample cards: status types and the status structure, files
// enabled by the service tables, record access (remote SIM, invalidated ADN), e-mail on the SIM,
// the own number's access condition, and the birthday window.
#include <string>

#include "../CtSvcSim/SimMgr/SimMgrTestCard.h"
#include "CtSvcDbPerson.h"
#include "CtSvcSetting.h"
#include "CtSvcSimCi/CtSvcSimPhonebookSeam.h"
#include "CtSvcStatus.h"
#include "CtSvcTestData.h"
#include "ZelCoreTest.h"
#include "ZelNv.h"
#include "ZelReg.h"

namespace ctsvc_sim_mgr_test {
namespace {

using zel::sim::SampleCardType;

bool g_bInitialized = false;
const CtSvcSimPhonebookHooks kHooks{[]() -> BOOL { return g_bInitialized ? TRUE : FALSE; }, nullptr, nullptr};

class CtSvcStatusTest : public SimMgrTest {
 protected:
  void SetUp() override {
    SimMgrTest::SetUp();
    g_bInitialized = false;
    CtSvcSimSetPhonebookHooks(&kHooks);
  }
  void TearDown() override {
    CtSvcSimSetPhonebookHooks(nullptr);
    zel::test::ResetPlatformState();
    SimMgrTest::TearDown();
  }
  // Inserts the card, loads its phonebook groups and reports the phonebook loaded.
  void Load(const std::string& strCard) {
    Insert(strCard);
    LoadListener listener;
    ASSERT_TRUE(m_pMgr->InitAdn(&listener));
    DrainEventHandler();
    ASSERT_TRUE(m_pMgr->InitFdn(&listener));
    DrainEventHandler();
    ASSERT_TRUE(m_pMgr->InitMsisdn(&listener));
    DrainEventHandler();
    m_pMgr->ForgetListener(&listener);
    g_bInitialized = true;
  }
  static std::string WithFileStatus(std::string strCard, const std::string& strId, const char* pszStatus) {
    const std::string key = "\"id\": \"" + strId + "\"";
    strCard.insert(strCard.find(key) + key.size(), std::string(", \"status\": \"") + pszStatus + "\"");
    return strCard;
  }
};

TEST_F(CtSvcStatusTest, StatusTypesOfTheSampleUsim) {
  EXPECT_EQ(0, CtSimGetStatusType(0));  // nothing loaded yet
  Load(SampleCard(SampleCardType::Usim));
  const int nAdnUsed = m_pMgr->GetTotalUsedRecordCount(CTSVC_SIM_ADN);
  ASSERT_GT(nAdnUsed, 0);
  const struct {
    int nType;
    int nAnswer;
  } kCases[] = {
      {0, 18},  {1, 32},  {2, 200}, {3, nAdnUsed}, {4, 16}, {5, 30},  {6, 20},  {7, 1},   {8, 2},
      {9, 1},   {10, 15}, {11, 100}, {13, 1},      {14, 17}, {15, 50}, {17, 0},  {21, 0},  {25, 1},
      {26, 40}, {27, 50}, {29, 20}, {30, 100},     {32, 1},  {33, 20}, {34, 20}, {36, 20}, {37, 10},
      {38, 3},  {39, 5},  {40, 20}, {41, 5},       {42, 2},  {43, 1},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.nAnswer, CtSimGetStatusType(c.nType)) << "type " << c.nType;
  }
  zel::test::LogCapture log;
  EXPECT_EQ(-1, CtSimGetStatusType(-1));
  EXPECT_EQ(-1, CtSimGetStatusType(CTSVC_SIM_STATUS_TYPE_MAX));
  EXPECT_EQ(2, static_cast<int>(log.Assertions().size()));

  CtSimStatus status{};
  ASSERT_TRUE(CtSimGetStatus(&status));
  EXPECT_EQ(200, status.nAdnRecordCount);
  EXPECT_EQ(nAdnUsed, status.nAdnUsedCount);
  EXPECT_EQ(2, status.nAnrFileCount);
  EXPECT_EQ(50, status.Anr[1].nRecordCount);
  EXPECT_EQ(17, status.Anr[1].nRecordLength);
  EXPECT_EQ(42, status.Email.nRecordLength);
  EXPECT_EQ(3, status.Gas.nUsedCount);
  EXPECT_EQ(5, status.nGrpRecordLength);
  EXPECT_EQ(1, status.Ext5.nUsedCount);  // the own number's extension
  EXPECT_EQ(1, status.bSecondPbrRecord);
  EXPECT_EQ(m_pMgr->GetUsedRecordCount(CTSVC_SIM_EMAIL, 1, 0), status.nEmailUsedCount2);
}

TEST_F(CtSvcStatusTest, GsmCardLeavesTheUsimPartsEmptyAndUnknownStatesAnswerZero) {
  Load(SampleCard(SampleCardType::Gsm));
  CtSimStatus status{};
  ASSERT_TRUE(CtSimGetStatus(&status));
  EXPECT_GT(status.nAdnRecordCount, 0);
  EXPECT_EQ(0, status.Email.nRecordCount);
  EXPECT_EQ(0, status.Gas.nRecordLength);
  EXPECT_EQ(0, status.bSecondPbrRecord);
  EXPECT_EQ(status.Ext1.nRecordCount, status.Ext5.nRecordCount);  // EXT1 again
  EXPECT_EQ(0, CtSimGetStatusType(25));

  g_bInitialized = false;
  zel::test::LogCapture log;
  EXPECT_FALSE(CtSimGetStatus(&status));
  EXPECT_TRUE(log.Contains("CtSimGetStatus - Phonebook initialization do not complete"));
  EXPECT_EQ(0, CtSimGetStatusType(2));
  EXPECT_EQ(2, CtSimGetSimLoadingStatus());
  g_bInitialized = true;
  EXPECT_EQ(1, CtSimGetSimLoadingStatus());
  zel::test::SetPhoneStatus(0x3A, 1);  // no-SIM mode
  EXPECT_EQ(0, CtSimGetStatusType(2));
  EXPECT_FALSE(CtSimGetStatus(&status));
  EXPECT_TRUE(log.Contains("CtSimGetStatus - CTSVC_SIM_CARD_TYPE_UNKNOWN or NO SIM mode"));
  EXPECT_FALSE(CtSimGetStatus(nullptr));
}

TEST_F(CtSvcStatusTest, FilesEnabledByCardType) {
  Load(SampleCard(SampleCardType::Usim));
  EXPECT_EQ(1, CtSimGetCardType());
  EXPECT_TRUE(CtSimIsEnabled(0));
  EXPECT_FALSE(CtSimIsEnabled(1));  // offered, but FDN is off
  EXPECT_TRUE(CtSimIsEnabled(2));
  EXPECT_TRUE(CtSimIsEnabled(3));
  EXPECT_TRUE(CtSimIsEnabled(4));
  EXPECT_TRUE(CtSimIsEnabled(17));
  zel::test::LogCapture log;
  EXPECT_FALSE(CtSimIsEnabled(9));
  EXPECT_TRUE(log.Contains("CtSimIsEnabled: simFileID(=9) is not supported!"));
  EXPECT_FALSE(CtSimIsEnabled(20));
  EXPECT_FALSE(CtSimIsEnabled(-1));
  EXPECT_TRUE(log.HasAssertion("simFileID > CT_SIM_FILE_ID_INVALID && simFileID < CT_SIM_FILE_ID_MAX"));
  EXPECT_FALSE(CtSimIsFdnMode());
}

TEST_F(CtSvcStatusTest, RecordAccessOverRemoteSimAndAnInvalidatedAdnResetsTheStorage) {
  EXPECT_TRUE(CtIsRecordAccessable(CT_RECORD_TYPE_NONE));  // without a SIM
  EXPECT_FALSE(CtIsRecordAccessable(CT_RECORD_TYPE_ADN));   // not loaded
  EXPECT_FALSE(CtIsRecordAccessable(5));
  Load(SampleCard(SampleCardType::Usim));
  for (int nType = CT_RECORD_TYPE_ADN; nType <= CT_RECORD_TYPE_MSISDN; ++nType) {
    EXPECT_TRUE(CtIsRecordAccessable(nType)) << nType;
  }
  zel::test::SetPhoneStatus(0x0F, 1);  // the SIM is used over Bluetooth
  for (int nType = CT_RECORD_TYPE_ADN; nType <= CT_RECORD_TYPE_MSISDN; ++nType) {
    EXPECT_FALSE(CtIsRecordAccessable(nType)) << nType;
  }
  EXPECT_TRUE(CtIsRecordAccessable(CT_RECORD_TYPE_NONE));
}

TEST_F(CtSvcStatusTest, AnInvalidatedAdnFileResetsTheStorageSettingsToThePhone) {
  ASSERT_TRUE(CtSvcSetCtSetting(CTSVC_SETTING_ITEM_STORAGE, 1));
  ASSERT_TRUE(CtSvcSetCtSetting(CTSVC_SETTING_VIEW_STORAGE, 2));
  Load(WithFileStatus(SampleCard(SampleCardType::Gsm), "6F3A", "invalidated_rw"));
  EXPECT_TRUE(CtIsRecordAccessable(CT_RECORD_TYPE_ADN));  // still readable and writable

  Load(WithFileStatus(SampleCard(SampleCardType::Gsm), "6F3A", "invalidated"));
  zel::test::LogCapture log;
  EXPECT_FALSE(CtIsRecordAccessable(CT_RECORD_TYPE_ADN));
  EXPECT_TRUE(log.Contains("simFileInfo.bInvalidbutRWallowed == FALSE"));
  EXPECT_TRUE(CtIsRecordAccessable(CT_RECORD_TYPE_FDN));
  int nValue = -1;
  ASSERT_TRUE(CtSvcGetCtSetting(CTSVC_SETTING_ITEM_STORAGE, &nValue));
  EXPECT_EQ(0, nValue);
  ASSERT_TRUE(CtSvcGetCtSetting(CTSVC_SETTING_VIEW_STORAGE, &nValue));
  EXPECT_EQ(0, nValue);
  EXPECT_EQ(0, NvGetInt(0x54D));
}

TEST_F(CtSvcStatusTest, EmailOnTheSimNeedsASimStorageAndAnEmailFile) {
  Load(SampleCard(SampleCardType::Usim));
  EXPECT_TRUE(CtIsEnableStoreEmailinSIM());  // "ask" by default
  ASSERT_TRUE(CtSvcSetCtSetting(CTSVC_SETTING_ITEM_STORAGE, 0));
  EXPECT_FALSE(CtIsEnableStoreEmailinSIM());
  ASSERT_TRUE(CtSvcSetCtSetting(CTSVC_SETTING_ITEM_STORAGE, 1));
  Load(SampleCard(SampleCardType::Gsm));
  EXPECT_FALSE(CtIsEnableStoreEmailinSIM());
}

TEST_F(CtSvcStatusTest, OwnNumberIsEditableUnlessTheCardForbidsUpdates) {
  Load(SampleCard(SampleCardType::Usim));
  EXPECT_TRUE(CtSvcIsEditableOwnNumber());
  std::string strCard = SampleCard(SampleCardType::Usim);
  const size_t nMsisdn = strCard.find("\"id\": \"6F40\"");
  const size_t nUpdate = strCard.find("\"update\": \"pin1\"", nMsisdn);
  ASSERT_NE(std::string::npos, nUpdate);
  strCard.replace(nUpdate, 16, "\"update\": \"never\"");
  Load(strCard);
  EXPECT_FALSE(CtSvcIsEditableOwnNumber());
}

class CtSvcBirthdayTest : public ctsvc_test::ServiceTest {
 protected:
  void TearDown() override {
    zel::test::ClearClock();
    ServiceTest::TearDown();
  }
  void AddPerson(const char* pszName, int nYear, int nMonth, int nDay) {
    ctsvc_test::ContactParts parts(pszName, -1);
    parts.person.Birthday = TmDateTime{nYear, nMonth, nDay, 0, 0, 0};
    ASSERT_NE(INVALID_HOBJ, CtSvcDbPersonInsertRecord(CTSVC_USE_TYPE_PHONE, -1, &parts.person, __FILE__, __LINE__));
  }
  static void SetToday(int nYear, int nMonth, int nDay) {
    TmDateTime date{nYear, nMonth, nDay, 12, 0, 0};
    UINT32 nSeconds = 0;
    ASSERT_TRUE(TmDateTimeToSeconds(&date, &nSeconds));
    zel::test::SetClock(nSeconds);
  }
};

TEST_F(CtSvcBirthdayTest, WindowFromDecemberIntoJanuaryListsJanuaryLast) {
  AddPerson("January5", 1990, 1, 5);
  AddPerson("December25", 1985, 12, 25);
  AddPerson("January17", 2001, 1, 17);
  AddPerson("February1", 1970, 2, 1);
  AddPerson("December21", 1999, 12, 21);
  AddPerson("December19", 1999, 12, 19);
  SetToday(2026, 12, 20);
  CtBirthdayInfo list[CTSVC_BIRTHDAY_LIST_MAX];
  ASSERT_EQ(4, CtDbGetNTouchBirthdayContacts(list));
  EXPECT_STREQ("December21", list[0].szDisplayName);
  EXPECT_STREQ("December25", list[1].szDisplayName);
  EXPECT_STREQ("January5", list[2].szDisplayName);
  EXPECT_STREQ("January17", list[3].szDisplayName);
  EXPECT_EQ(1, list[3].nMonth);
  EXPECT_EQ(2001, list[3].nYear);

  SetToday(2026, 6, 1);
  EXPECT_EQ(0, CtDbGetNTouchBirthdayContacts(list));
  EXPECT_EQ(-1, CtDbGetNTouchBirthdayContacts(nullptr));
}

TEST_F(CtSvcBirthdayTest, AtMostThirtyNearestFirst) {
  for (int i = 0; i < 35; ++i) {
    AddPerson(("P" + std::to_string(i)).c_str(), 1980, 3, 1 + i % 28);
  }
  SetToday(2026, 3, 1);
  CtBirthdayInfo list[CTSVC_BIRTHDAY_LIST_MAX];
  ASSERT_EQ(CTSVC_BIRTHDAY_LIST_MAX, CtDbGetNTouchBirthdayContacts(list));
  for (int i = 1; i < CTSVC_BIRTHDAY_LIST_MAX; ++i) {
    EXPECT_LE(list[i - 1].nDay, list[i].nDay);
  }
  EXPECT_EQ(1, list[0].nDay);
}

}  // namespace
}  // namespace ctsvc_sim_mgr_test
