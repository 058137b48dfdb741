// The phonebook's write operations on a loaded service and the simulated card: the detail merge
// and default-number rule of an update, the change callbacks and their pause, SIM writes reported
// through the set callback, and bad input that writes nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "../CtSvcSim/SimMgr/SimMgrTestCard.h"
#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcDbDetail.h"
#include "CtSvcDbListener.h"
#include "CtSvcDbPerson.h"
#include "CtSvcPhonebook.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgrWrite.h"
#include "CtSvcSimCi.h"
#include "ZelCoreTest.h"
#include "ZelNv.h"

namespace ctsvc_sim_mgr_test {
namespace {

// Every change callback call, as "<list> <type> <id>", in order.
struct Changes {
  std::vector<std::string> vCalls;
  static void Contact(CtSvcChangeType type, int nId, void*, void* p) { Add(p, "contact", type, nId); }
  static void ContactQrn(CtSvcChangeType type, int nId, void*, void* p) { Add(p, "qrn", type, nId); }
  static void Group(CtSvcChangeType type, int nId, void*, void* p) { Add(p, "group", type, nId); }
  static void Add(void* p, const char* pszList, int nType, int nId) {
    static_cast<Changes*>(p)->vCalls.push_back(std::string(pszList) + " " + std::to_string(nType) + " " +
                                               std::to_string(nId));
  }
  std::vector<std::string> Take() { return std::move(vCalls); }
};

// Registered for the test's lifetime.
class Registration {
 public:
  explicit Registration(Changes* pChanges) : m_pChanges(pChanges) {
    CtSvcPhonebookRegisterContactCallback(&Changes::Contact, m_pChanges);
    CtSvcPhonebookRegisterContactCallbackForQRN(&Changes::ContactQrn, m_pChanges);
    CtSvcPhonebookRegisterGroupCallback(&Changes::Group, m_pChanges);
  }
  ~Registration() {
    CtSvcPhonebookUnRegisterContactCallback(&Changes::Contact, m_pChanges);
    CtSvcPhonebookUnRegisterContactCallbackForQRN(&Changes::ContactQrn, m_pChanges);
    CtSvcPhonebookUnRegisterGroupCallback(&Changes::Group, m_pChanges);
  }
  Registration(const Registration&) = delete;
  Registration& operator=(const Registration&) = delete;

 private:
  Changes* m_pChanges;
};

// SIM write results delivered to the set callback on the handler thread.
struct SetResults {
  std::mutex mutex;
  std::vector<std::string> vResults;
  static void On(int nRecordIndex, int nResult, void* p) {
    SetResults* pThis = static_cast<SetResults*>(p);
    std::lock_guard<std::mutex> lock(pThis->mutex);
    pThis->vResults.push_back(std::to_string(nRecordIndex) + ":" + std::to_string(nResult));
  }
  std::vector<std::string> Take() {
    std::lock_guard<std::mutex> lock(mutex);
    return std::move(vResults);
  }
};

std::vector<CtSvcPhoneNumberRecord> Numbers(HOBJ hPerson) {
  std::vector<CtSvcPhoneNumberRecord> vRows(16);
  const int n = CtSvcDbPersonGetPhoneNumberList(hPerson, vRows.data(), 16);
  vRows.resize(static_cast<size_t>(n > 0 ? n : 0));
  return vRows;
}

std::vector<std::string> NumberTexts(HOBJ hPerson) {
  std::vector<std::string> vTexts;
  for (const CtSvcPhoneNumberRecord& row : Numbers(hPerson)) {
    vTexts.push_back(row.Info.szPhoneNumber);
  }
  return vTexts;
}

CtSvcPersonRecord Person(HOBJ hPerson) {
  CtSvcPersonRecord record{};
  EXPECT_TRUE(CtSvcDbPersonGetRecord(hPerson, &record));
  return record;
}

class PhonebookWriteTest : public SimMgrTest {
 protected:
  HOBJ InsertPhoneContact(const std::vector<std::string>& vNumbers) {
    CCtSvcContactInfoBuilder draft("Ann", -1, "Lee");
    for (const std::string& strNumber : vNumbers) {
      draft.Number(strNumber);
    }
    CtSvcContactInfo info = draft.Info();
    return CtSvcPhonebookInsertContactToPhone(&info);
  }
  void LoadSimAdn(const std::string& strCard) {
    Insert(strCard);
    const std::vector<std::string> vEvents = LoadAdn();
    ASSERT_EQ(std::vector<std::string>({"adn:1"}), vEvents);
  }
};

// Three stored numbers and the lists an update gives: the numbers left, and the default number.
TEST_F(PhonebookWriteTest, UpdateMergesNumbersPositionByPositionAndKeepsTheDefaultRule) {
  struct Case {
    const char* szName;
    int nDefaultPosition;  // stored default: position 0..2
    int nGiven;            // -1 keep, else the first nGiven of kGiven
    std::vector<std::string> vExpected;
    int nExpectedDefault;  // position among the stored rows before the update, -1 none, 9: first inserted
  };
  const std::vector<std::string> kGiven = {"0100", "0222", "0333", "0444"};
  const Case kCases[] = {
      {"two given, default kept", 0, 2, {"0100", "0222"}, 0},
      {"two given, default deleted", 2, 2, {"0100", "0222"}, -1},
      {"none given", 0, 0, {}, -1},
      {"count -1 keeps them", 1, -1, {"0111", "0222", "0333"}, 1},
      {"four given, one inserted", 1, 4, {"0100", "0222", "0333", "0444"}, 1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szName);
    const HOBJ hPerson = InsertPhoneContact({"0111", "0222", "0333"});
    ASSERT_NE(INVALID_HOBJ, hPerson);
    const std::vector<CtSvcPhoneNumberRecord> vBefore = Numbers(hPerson);
    ASSERT_EQ(3u, vBefore.size());
    CtSvcPersonRecord stored = Person(hPerson);
    stored.Info.nDefaultPhoneNumberId = vBefore[static_cast<size_t>(c.nDefaultPosition)].nId;
    ASSERT_TRUE(CtSvcDbPersonUpdateRecord(hPerson, stored.Info.nPrimaryId, &stored.Info));

    CCtSvcContactInfoBuilder draft("Ann", -1, "Lee");
    for (int i = 0; i < c.nGiven; ++i) {
      draft.Number(kGiven[static_cast<size_t>(i)]);
    }
    CtSvcContactInfo info = draft.Info();
    info.nPhoneNumberCount = c.nGiven;
    draft.person.nDefaultPhoneNumberId = stored.Info.nDefaultPhoneNumberId;
    ASSERT_TRUE(CtSvcPhonebookUpdateContactToPhone(hPerson, &info));

    const std::vector<CtSvcPhoneNumberRecord> vAfter = Numbers(hPerson);
    EXPECT_EQ(c.vExpected, NumberTexts(hPerson));
    // Rows at kept positions keep their ids: they were updated, not replaced.
    for (size_t i = 0; i < vAfter.size() && i < 3; ++i) {
      EXPECT_EQ(vBefore[i].nId, vAfter[i].nId) << i;
    }
    const int nDefault = c.nExpectedDefault < 0 ? -1 : vBefore[static_cast<size_t>(c.nExpectedDefault)].nId;
    EXPECT_EQ(nDefault, draft.person.nDefaultPhoneNumberId);
    EXPECT_EQ(nDefault, Person(hPerson).Info.nDefaultPhoneNumberId);
    EXPECT_EQ(c.vExpected.empty() ? 0 : 1, Person(hPerson).Info.bHasPhoneNumber);
  }
}

TEST_F(PhonebookWriteTest, TheFirstInsertedNumberBecomesTheDefaultOfAPersonWithoutNumbers) {
  const HOBJ hPerson = InsertPhoneContact({});
  CCtSvcContactInfoBuilder draft("Ann", -1, "Lee");
  draft.Number("0555").Number("0666");
  CtSvcContactInfo info = draft.Info();
  ASSERT_TRUE(CtSvcPhonebookUpdateContactToPhone(hPerson, &info));
  const std::vector<CtSvcPhoneNumberRecord> vAfter = Numbers(hPerson);
  ASSERT_EQ(2u, vAfter.size());
  EXPECT_EQ(vAfter[0].nId, Person(hPerson).Info.nDefaultPhoneNumberId);
}

TEST_F(PhonebookWriteTest, AnUpdateWithTheSameGroupsLeavesTheMembershipsAndAnEmptyListJoinsGroupOne) {
  CtSvcGroupInfo group{};
  group.DevType = CTSVC_USE_TYPE_PHONE;
  group.nSlotIndex = -1;
  std::strcpy(group.szName, "Club");
  const int nClub = CtSvcPhonebookInsertGroupToPhone(&group);
  ASSERT_GT(nClub, 1);
  CCtSvcContactInfoBuilder draft("Ann", -1, "Lee");
  draft.Group(nClub);
  CtSvcContactInfo info = draft.Info();
  const HOBJ hPerson = CtSvcPhonebookInsertContactToPhone(&info);
  CtSvcGroupMemberFilter filter;
  CtSvcGroupMemberFilterInit(&filter);
  filter.nPersonId = CTSVC_HANDLE_TO_ID(hPerson);
  CtSvcGroupMemberRecord before{};
  ASSERT_EQ(1, CtSvcDbGroupMemberGetRecords(&filter, &before, 1));

  ASSERT_TRUE(CtSvcPhonebookUpdateContactToPhone(hPerson, &info));
  CtSvcGroupMemberRecord after{};
  ASSERT_EQ(1, CtSvcDbGroupMemberGetRecords(&filter, &after, 1));
  EXPECT_EQ(before.nId, after.nId);

  info.nGroupMemberCount = 0;
  ASSERT_TRUE(CtSvcPhonebookUpdateContactToPhone(hPerson, &info));
  ASSERT_EQ(1, CtSvcDbGroupMemberGetRecords(&filter, &after, 1));
  EXPECT_EQ(CTSVC_NOT_ASSIGNED_GROUP_ID, after.Info.nGroupId);
}

TEST_F(PhonebookWriteTest, ChangeCallbacksHearWritesInOrderAndNothingWhilePaused) {
  Changes changes;
  Registration registration(&changes);
  CtSvcPhonebookPauseNotify();
  const HOBJ hSilent = InsertPhoneContact({"0100"});
  CtSvcPhonebookResumeNotify();
  ASSERT_NE(INVALID_HOBJ, hSilent);
  EXPECT_TRUE(changes.Take().empty());

  const HOBJ hPerson = InsertPhoneContact({"0200"});
  const std::string strId = std::to_string(CTSVC_HANDLE_TO_ID(hPerson));
  EXPECT_EQ(CTSVC_PHONE_HANDLE_MASK, static_cast<UINT32>(hPerson) & 0xC0000000u);
  EXPECT_EQ(std::vector<std::string>({"contact 0 " + strId, "qrn 0 " + strId}), changes.Take());
  CCtSvcContactInfoBuilder draft("Bo", -1);
  CtSvcContactInfo info = draft.Info();
  info.nPhoneNumberCount = -1;
  ASSERT_TRUE(CtSvcPhonebookUpdateContactToPhoneNoNotify(hPerson, &info));
  EXPECT_TRUE(changes.Take().empty());
  ASSERT_TRUE(CtSvcPhonebookUpdateContactToPhone(hPerson, &info));
  EXPECT_EQ(std::vector<std::string>({"contact 1 " + strId, "qrn 1 " + strId}), changes.Take());
  ASSERT_TRUE(CtSvcPhonebookDeleteContactFromPhone(hPerson));
  EXPECT_EQ(std::vector<std::string>({"contact 2 " + strId, "qrn 2 " + strId}), changes.Take());

  // A bulk step reaches only the plain contact list; a change of many records only the QRN list.
  CCtSvcPhonebookMgr::Instance()->__NotifyContactBulkChanged(CTSVC_CHANGE_TYPE_INSERT, 7, nullptr);
  CCtSvcPhonebookMgr::Instance()->NotifyContactChangedQRN(CTSVC_CHANGE_TYPE_BULK_INSERT, -1, nullptr);
  EXPECT_EQ(std::vector<std::string>({"contact 0 7", "qrn 4 -1"}), changes.Take());
  // Unregistering removes one entry only: a second registration keeps hearing.
  CtSvcPhonebookRegisterContactCallback(&Changes::Contact, &changes);
  CtSvcPhonebookUnRegisterContactCallback(&Changes::Contact, &changes);
  CCtSvcPhonebookMgr::Instance()->__NotifyContactBulkChanged(CTSVC_CHANGE_TYPE_DELETE, 8, nullptr);
  EXPECT_EQ(std::vector<std::string>({"contact 2 8"}), changes.Take());
}

TEST_F(PhonebookWriteTest, DeletingTheLastPersonRemovesTheContactAndFreesItsSpeedDial) {
  const HOBJ hPerson = InsertPhoneContact({"0100"});
  const CtSvcPersonRecord stored = Person(hPerson);
  ASSERT_TRUE(CtSvcDbSdSetRecord(3, Numbers(hPerson)[0].nId, -1));
  ASSERT_TRUE(CtSvcPhonebookDeleteContactFromPhone(hPerson));
  CtSvcPrimaryRecord primary{};
  EXPECT_FALSE(CtSvcDbPrimaryGetRecord(stored.Info.nPrimaryId, &primary));
  CtSvcSpeedDialRecord dial{};
  EXPECT_FALSE(CtSvcDbSdGetRecord(3, &dial));
  EXPECT_FALSE(CtSvcPhonebookDeleteContactFromPhone(hPerson));
}

// The ADN name: a 48-byte name takes the other name and is cut to 50 bytes, a 49-byte name
// stays alone; the name-order setting decides which name leads.
TEST_F(PhonebookWriteTest, TheSimNameJoinsBothNamesWithinFiftyBytes) {
  const std::string str48(48, 'a');
  const std::string str49(49, 'b');
  const std::string str10(10, 'c');
  struct Case {
    std::string strFirst, strLast;
    int nLastFirst;
    std::string strExpected;
  };
  const Case kCases[] = {
      {str48, str10, 0, (str48 + " " + str10).substr(0, 50)},
      {str49, str10, 0, str49},
      {"", "Lee", 0, "Lee"},
      {"Ann", "", 0, "Ann"},
      {"Ann", "Lee", 0, "Ann Lee"},
      {"Ann", "Lee", 1, "Lee Ann"},
      // A cut never splits a character: 48 bytes, a blank and a two-byte letter stop at 49.
      {str48, "\xC3\xA9", 0, str48 + " "},
  };
  for (const Case& c : kCases) {
    NvSetInt(0x589, c.nLastFirst);
    EXPECT_EQ(c.strExpected, CtSvcMakeSimAdnName(c.strFirst, c.strLast)) << c.strFirst << "|" << c.strLast;
  }
  NvSetInt(0x589, 0);
}

TEST_F(PhonebookWriteTest, ASimContactReachesTheCardAndItsResultTheSetCallback) {
  LoadSimAdn(SampleCard(zel::sim::SampleCardType::Gsm, true));
  SetResults results;
  CCtSvcContactInfoBuilder draft(std::string(48, 'a'), -1, std::string(10, 'c'));
  draft.Number("0301234567").Email("ann@example.org");
  CtSvcContactInfo info = draft.Info();
  zel::test::LogCapture log;
  const HOBJ hPerson = CtSvcPhonebookInsertContactToSim(&info, &SetResults::On, &results);
  ASSERT_NE(INVALID_HOBJ, hPerson);
  EXPECT_TRUE(log.Contains("CtSvcPhonebookInsertContactToSim entered"));
  EXPECT_EQ(CTSVC_SIM_HANDLE_MASK, static_cast<UINT32>(hPerson) & 0xC0000000u);
  EXPECT_EQ(0, draft.person.nSlotIndex);  // the first free record, written back
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"0:1"}), results.Take());
  CtSvcSimAdnRecord adn{};
  ASSERT_TRUE(CtSvcSimGetAdnRecord(0, &adn));
  EXPECT_EQ((std::string(48, 'a') + " cc").substr(0, 14), std::string(adn.szName).substr(0, 14));
  EXPECT_STREQ("0301234567", adn.szPhoneNumber);
  EXPECT_EQ(0, Person(hPerson).Info.nSlotIndex);

  // The same contact renamed, then deleted: card and store follow.
  std::strcpy(draft.person.szFirstName, "Bo");
  draft.person.szLastName[0] = '\0';
  ASSERT_TRUE(CtSvcPhonebookUpdateContactToSim(hPerson, &info, &SetResults::On, &results));
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"0:1"}), results.Take());
  ASSERT_TRUE(CtSvcSimGetAdnRecord(0, &adn));
  EXPECT_STREQ("Bo", adn.szName);
  ASSERT_TRUE(CtSvcPhonebookDeleteContactFromSim(hPerson, &SetResults::On, &results));
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"0:1"}), results.Take());
  EXPECT_FALSE(CtSvcSimGetAdnRecord(0, &adn));
  EXPECT_EQ(0, CtSvcDbPersonGetTotalCount());

  // A result that arrives after the callback was cancelled is dropped.
  zel::test::HoldSimAnswers(true);
  ASSERT_NE(INVALID_HOBJ, CtSvcPhonebookInsertContactToSim(&info, &SetResults::On, &results));
  CtSvcPhonebookCancelCallback();
  zel::test::HoldSimAnswers(false);
  while (zel::test::ReleaseSimAnswer()) {
    DrainEventHandler();
  }
  DrainEventHandler();
  EXPECT_TRUE(results.Take().empty());
  EXPECT_TRUE(log.Contains("CCtSvcPhonebookMgr::OnInsertRecord - m_pListener is NULL"));
}

TEST_F(PhonebookWriteTest, AUsimContactCarriesItsNumbersEmailsSecondNameAndSimGroups) {
  LoadSimAdn(SampleCard(zel::sim::SampleCardType::Usim, true));
  SetResults results;
  CtSvcGroupInfo group{};
  group.DevType = CTSVC_USE_TYPE_SIM;
  group.nSlotIndex = 1;
  std::strcpy(group.szName, "Team");
  const int nGroup = CtSvcPhonebookInsertGroupToSim(&group, &SetResults::On, &results);
  ASSERT_GT(nGroup, 0);
  DrainEventHandler();
  ASSERT_EQ(std::vector<std::string>({"1:1"}), results.Take());

  CCtSvcContactInfoBuilder draft("Ann", -1, "Lee");
  draft.Number("0100").Number("").Number("0300").Email("ann@example.org").Email("");
  draft.Etc(CTSVC_ETC_DATA_TYPE_NOTE, "not for the card").Etc(CTSVC_ETC_DATA_TYPE_SECOND_NAME, "Annie");
  draft.Group(nGroup).Group(9999);  // a group that does not exist is left out
  CtSvcContactInfo info = draft.Info();
  zel::test::LogCapture log;
  const HOBJ hPerson = CtSvcPhonebookInsertContactToSim(&info, &SetResults::On, &results);
  ASSERT_NE(INVALID_HOBJ, hPerson);
  EXPECT_TRUE(log.Contains("__ConvToSimAdnRecord - CContentMgr::Instance()->GetContent failed(nGroupId = 9999)"));
  DrainEventHandler();
  const int nSlot = draft.person.nSlotIndex;
  EXPECT_EQ(std::vector<std::string>({std::to_string(nSlot) + ":1"}), results.Take());
  CtSvcSimAdnRecord adn{};
  ASSERT_TRUE(CtSvcSimGetAdnRecord(nSlot, &adn));
  EXPECT_STREQ("Ann Lee", adn.szName);
  EXPECT_STREQ("0100", adn.szPhoneNumber);
  EXPECT_STREQ("0300", adn.stAdditionalNumber[0].szPhoneNumber);  // the empty number is skipped
  EXPECT_STREQ("ann@example.org", adn.szEmail[0]);
  EXPECT_STREQ("Annie", adn.szSecondName);
  EXPECT_EQ(0u, adn.bGroup[0]);
  EXPECT_EQ(1u, adn.bGroup[1]);
}

TEST_F(PhonebookWriteTest, ASimInsertOnAFullAdnFileWritesNothing) {
  std::string strCard = SampleCard(zel::sim::SampleCardType::Gsm, true);
  const std::string strRecord = "41" + std::string(30, 'F') + "0281" + "10" + std::string(18, 'F') + "FFFF";
  for (int i = 0; i < 250; ++i) {
    SetRecord(&strCard, "6F3A", i, strRecord);
  }
  LoadSimAdn(strCard);
  const std::string strBefore = zel::test::SimCardText();
  const int nWritesBefore = zel::test::SimRequestCount(0x6F3A, zel::test::SimOp::Update);
  SetResults results;
  CCtSvcContactInfoBuilder draft("Ann", -1);
  draft.Number("0100");
  CtSvcContactInfo info = draft.Info();
  zel::test::LogCapture log;
  EXPECT_EQ(INVALID_HOBJ, CtSvcPhonebookInsertContactToSim(&info, &SetResults::On, &results));
  EXPECT_TRUE(log.Contains("CCtSvcPhonebookMgr::InsertContactToSim - GetUnusedRecordIndex() failed"));
  DrainEventHandler();
  EXPECT_TRUE(results.Take().empty());
  EXPECT_EQ(0, CtSvcDbPersonGetTotalCount());
  EXPECT_EQ(nWritesBefore, zel::test::SimRequestCount(0x6F3A, zel::test::SimOp::Update));
  EXPECT_EQ(strBefore, zel::test::SimCardText());
}

// Bad input: the failure result, the log line or assertion naming it, and nothing written.
TEST_F(PhonebookWriteTest, BadInputIsRefusedAndWritesNothing) {
  LoadSimAdn(SampleCard(zel::sim::SampleCardType::Gsm, true));
  const HOBJ hPhone = InsertPhoneContact({"0100"});
  const std::vector<std::string> vNumbersBefore = NumberTexts(hPhone);
  const int nPersons = CtSvcDbPersonGetTotalCount();
  const std::string strCard = zel::test::SimCardText();
  Changes changes;
  Registration registration(&changes);

  CCtSvcContactInfoBuilder draft("Ann", -1);
  draft.Number("0999");
  const CtSvcContactInfo good = draft.Info();
  CCtSvcContactInfoBuilder longName("", -1);
  std::memset(longName.person.szFirstName, 'x', sizeof(longName.person.szFirstName));  // no terminator
  longName.Number("0999");
  struct Case {
    const char* szName;
    CtSvcContactInfo info;
    const char* szLog;
  };
  std::vector<Case> vCases;
  CtSvcContactInfo nullNumbers = good;
  nullNumbers.pPhoneNumberInfo = nullptr;
  vCases.push_back({"numbers counted but null", nullNumbers, "invalid contact info"});
  CtSvcContactInfo nullEmails = good;
  nullEmails.nEmailAddressCount = 2;
  nullEmails.pEmailAddressInfo = nullptr;
  vCases.push_back({"e-mails counted but null", nullEmails, "invalid contact info"});
  CtSvcContactInfo badCount = good;
  badCount.nIMCount = -5;
  vCases.push_back({"a count below -1", badCount, "invalid contact info"});
  vCases.push_back({"a name over its array", longName.Info(), "invalid contact info"});
  CCtSvcContactInfoBuilder longEmail("Ann", -1);
  longEmail.Email("a@b");
  std::memset(longEmail.vcEmails[0].szEmailAddress, 'e', sizeof(longEmail.vcEmails[0].szEmailAddress));
  vCases.push_back({"an e-mail over its array", longEmail.Info(), "invalid contact info"});
  CtSvcContactInfo noPerson = good;
  noPerson.pPersonInfo = nullptr;
  vCases.push_back({"no person", noPerson, "pContactInfo->pPersonInfo"});

  SetResults results;
  for (Case& c : vCases) {
    SCOPED_TRACE(c.szName);
    zel::test::LogCapture log;
    EXPECT_EQ(INVALID_HOBJ, CtSvcPhonebookInsertContactToPhone(&c.info));
    EXPECT_EQ(INVALID_HOBJ, CtSvcPhonebookInsertContactToSim(&c.info, &SetResults::On, &results));
    EXPECT_FALSE(CtSvcPhonebookUpdateContactToPhone(hPhone, &c.info));
    EXPECT_TRUE(log.Contains(c.szLog));
  }
  EXPECT_EQ(INVALID_HOBJ, CtSvcPhonebookInsertContactToPhone(nullptr));
  {
    zel::test::LogCapture full;
    zel::test::SetVolumeFull(true);
    CtSvcContactInfo info = good;
    EXPECT_EQ(INVALID_HOBJ, CtSvcPhonebookInsertContactToPhone(&info));
    EXPECT_FALSE(CtSvcPhonebookUpdateContactToPhone(hPhone, &info));
    zel::test::SetVolumeFull(false);
    EXPECT_TRUE(full.Contains("CCtSvcPhonebookMgr::InsertContactToPhone - DB FULL"));
    EXPECT_TRUE(full.Contains("CCtSvcPhonebookMgr::UpdateContactToPhone - DB FULL"));
  }

  // Handles of the other storage, and groups of an unknown device type.
  CtSvcContactInfo info = good;
  zel::test::LogCapture log;
  const HOBJ hAsSim = CTSVC_MAKE_HANDLE(CTSVC_USE_TYPE_SIM, CTSVC_HANDLE_TO_ID(hPhone));
  EXPECT_FALSE(CtSvcPhonebookUpdateContactToPhone(hAsSim, &info));
  EXPECT_TRUE(log.Contains("CtSvcExtractDevType(hPerson) == CTSVC_USE_TYPE_PHONE"));
  EXPECT_FALSE(CtSvcPhonebookUpdateContactToSim(hPhone, &info, &SetResults::On, &results));
  EXPECT_FALSE(CtSvcPhonebookDeleteContactFromSim(hPhone, &SetResults::On, &results));
  EXPECT_TRUE(log.Contains("CtSvcExtractDevType(hPerson) == CTSVC_USE_TYPE_SIM"));
  EXPECT_FALSE(CtSvcPhonebookDeleteContactFromPhone(INVALID_HOBJ));
  CtSvcGroupInfo group{};
  group.DevType = 7;
  std::strcpy(group.szName, "Odd");
  EXPECT_EQ(-1, CtSvcPhonebookInsertGroupToPhone(&group));
  EXPECT_TRUE(log.Contains("pGroupInfo->DevType == CTSVC_USE_TYPE_PHONE"));
  EXPECT_EQ(-1, CtSvcPhonebookInsertGroupToSim(&group, &SetResults::On, &results));
  EXPECT_TRUE(log.Contains("pGroupInfo->DevType == CTSVC_USE_TYPE_SIM"));

  // Group and FDN texts that do not end inside their arrays.
  group.DevType = CTSVC_USE_TYPE_PHONE;
  std::memset(group.szName, 'g', sizeof(group.szName));
  EXPECT_EQ(-1, CtSvcPhonebookInsertGroupToPhone(&group));
  EXPECT_FALSE(CtSvcPhonebookUpdateGroupToPhone(CTSVC_NOT_ASSIGNED_GROUP_ID, &group));
  EXPECT_TRUE(log.Contains("CCtSvcPhonebookMgr::InsertGroupToPhone - invalid group info"));
  CtSvcFdnInfo fdn{};
  fdn.nSlotIndex = -1;
  std::memset(fdn.szPhoneNumber, '1', sizeof(fdn.szPhoneNumber));
  EXPECT_EQ(-1, CtSvcPhonebookInsertFdnRecord(&fdn, &SetResults::On, &results));
  EXPECT_TRUE(log.Contains("CCtSvcPhonebookMgr::InsertFdnRecord - invalid FDN info"));

  DrainEventHandler();
  EXPECT_TRUE(results.Take().empty());
  EXPECT_TRUE(changes.Take().empty());
  EXPECT_EQ(0, CtSvcDbFdnGetTotalCount());
  EXPECT_EQ(nPersons, CtSvcDbPersonGetTotalCount());
  EXPECT_EQ(vNumbersBefore, NumberTexts(hPhone));
  EXPECT_EQ(1, CtSvcDbGroupGetTotalCount());
  EXPECT_EQ(strCard, zel::test::SimCardText());
}

TEST_F(PhonebookWriteTest, GroupsReachTheirCallbacksAndSimGroupsTheCard) {
  Changes changes;
  Registration registration(&changes);
  CtSvcGroupInfo group{};
  group.DevType = CTSVC_USE_TYPE_PHONE;
  std::strcpy(group.szName, "Club");
  const int nId = CtSvcPhonebookInsertGroupToPhone(&group);
  std::strcpy(group.szName, "Team");
  ASSERT_TRUE(CtSvcPhonebookUpdateGroupToPhone(nId, &group));
  ASSERT_TRUE(CtSvcPhonebookDeleteGroupFromPhone(nId));
  const std::string strId = std::to_string(nId);
  EXPECT_EQ(std::vector<std::string>({"group 0 " + strId, "group 1 " + strId, "group 2 " + strId}), changes.Take());

  LoadSimAdn(SampleCard(zel::sim::SampleCardType::Usim, true));
  SetResults results;
  group.DevType = CTSVC_USE_TYPE_SIM;
  group.nSlotIndex = -1;
  std::strcpy(group.szName, "Family");
  const int nSimGroup = CtSvcPhonebookInsertGroupToSim(&group, &SetResults::On, &results);
  ASSERT_GT(nSimGroup, 0);
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"0:1"}), results.Take());
  char szName[32];
  ASSERT_TRUE(CtSvcSimGetGasRecord(0, szName, sizeof(szName)));
  EXPECT_STREQ("Family", szName);
  ASSERT_TRUE(CtSvcPhonebookDeleteGroupFromSim(nSimGroup, &SetResults::On, &results));
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"0:1"}), results.Take());
  EXPECT_FALSE(CtSvcSimGetGasRecord(0, szName, sizeof(szName)));
}

TEST_F(PhonebookWriteTest, ManyContactsAtOnceCallNoCallbackAndABadOneGetsMinusOne) {
  Changes changes;
  Registration registration(&changes);
  CCtSvcContactInfoBuilder ann("Ann", -1);
  ann.Number("0100");
  CCtSvcContactInfoBuilder bo("Bo", -1);
  CtSvcContactInfo infos[3] = {ann.Info(), ann.Info(), bo.Info()};
  infos[1].pPersonInfo = nullptr;
  CtSvcContactInfo* pInfos[3] = {&infos[0], &infos[1], &infos[2]};
  HOBJ aHandles[3] = {0, 0, 0};
  zel::test::LogCapture log;
  ASSERT_TRUE(CtSvcPhonebookInsertContactsToPhoneForVamo(pInfos, aHandles, 3));
  EXPECT_TRUE(log.Contains("CCtSvcPhonebookMgr::InsertContactsToPhoneForVamo - end"));
  EXPECT_NE(INVALID_HOBJ, aHandles[0]);
  EXPECT_EQ(INVALID_HOBJ, aHandles[1]);
  EXPECT_NE(INVALID_HOBJ, aHandles[2]);
  EXPECT_EQ(2, CountFromSecondConnection("CtSvcPerson"));  // committed
  const HOBJ aGone[2] = {aHandles[0], aHandles[2]};
  ASSERT_TRUE(CtSvcPhonebookDeleteContactsFromPhoneForVamo(aGone, 2));
  EXPECT_EQ(0, CtSvcDbPersonGetTotalCount());
  EXPECT_EQ(0, CountFromSecondConnection("CtSvcPrimary"));
  EXPECT_TRUE(changes.Take().empty());
  // A handle of no person stops the run with FALSE.
  EXPECT_FALSE(CtSvcPhonebookDeleteContactsFromPhoneForVamo(aGone, 1));
}

// Without an MSISDN file the own number is the one slot in phone memory, reported at once.
TEST_F(PhonebookWriteTest, TheOwnNumberLivesInPhoneMemoryWithoutAnMsisdnFile) {
  SetResults results;
  EXPECT_EQ(1, CtSvcPhonebookGetOwnNumberSlotCount());
  EXPECT_EQ(0, CtSvcPhonebookGetOwnNumberUsedSlotCount());
  ASSERT_TRUE(CtSvcPhonebookSetOwnNumber(0, "Me", "+4930123", &SetResults::On, &results));
  EXPECT_EQ(std::vector<std::string>({"0:1"}), results.Take());
  char szName[8];
  char szNumber[6];
  ASSERT_TRUE(CtSvcPhonebookGetOwnNumber(0, szName, sizeof(szName), szNumber, sizeof(szNumber)));
  EXPECT_STREQ("Me", szName);
  EXPECT_STREQ("+4930", szNumber);  // cut to the buffer
  char szFull[16];
  ASSERT_TRUE(CtSvcPhonebookGetDefaultOwnNumber(szName, sizeof(szName), szFull, sizeof(szFull)));
  EXPECT_STREQ("+4930123", szFull);
  EXPECT_EQ(1, CtSvcPhonebookGetOwnNumberUsedSlotCount());
  ASSERT_TRUE(CtSvcPhonebookDeleteOwnNumber(0, &SetResults::On, &results));
  EXPECT_EQ(std::vector<std::string>({"0:1"}), results.Take());
  EXPECT_EQ(0, CtSvcPhonebookGetOwnNumberUsedSlotCount());
  zel::test::LogCapture log;
  EXPECT_FALSE(CtSvcPhonebookSetOwnNumber(0, nullptr, "1", &SetResults::On, &results));
  EXPECT_TRUE(log.Contains("pszName"));
  EXPECT_TRUE(results.Take().empty());
}

TEST_F(PhonebookWriteTest, FdnEntriesAreStoredAndWrittenToTheCard) {
  Insert(SampleCard(zel::sim::SampleCardType::Gsm, true));
  LoadListener listener;
  ASSERT_TRUE(m_pMgr->InitFdn(&listener));
  DrainEventHandler();
  m_pMgr->ForgetListener(&listener);
  ASSERT_EQ(std::vector<std::string>({"fdn:1"}), listener.Events());
  SetResults results;
  CtSvcFdnInfo fdn{};
  fdn.nSlotIndex = -1;
  std::strcpy(fdn.szName, "Office");
  std::strcpy(fdn.szPhoneNumber, "0301234567");
  // The card takes FDN writes only after PIN2: its refusal reaches the set callback.
  ASSERT_GT(CtSvcPhonebookInsertFdnRecord(&fdn, &SetResults::On, &results), 0);
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"0:0"}), results.Take());
  ASSERT_TRUE(zel::test::VerifySimPin2("1234"));
  fdn.nSlotIndex = 1;
  const int nId = CtSvcPhonebookInsertFdnRecord(&fdn, &SetResults::On, &results);
  ASSERT_GT(nId, 0);
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"1:1"}), results.Take());
  CtSvcSimXdnRecord record{};
  ASSERT_TRUE(CtSvcSimGetFdnRecord(1, &record));
  EXPECT_STREQ("Office", record.szName);
  CtSvcFdnRecord stored{};
  ASSERT_TRUE(CtSvcDbFdnGetRecord(nId, &stored));
  EXPECT_EQ(1, stored.Info.nSlotIndex);
  ASSERT_TRUE(CtSvcPhonebookDeleteFdnRecord(nId, &SetResults::On, &results));
  DrainEventHandler();
  EXPECT_EQ(std::vector<std::string>({"1:1"}), results.Take());
  EXPECT_FALSE(CtSvcSimGetFdnRecord(1, &record));
  EXPECT_FALSE(CtSvcDbFdnGetRecord(nId, &stored));
}

TEST_F(PhonebookWriteTest, TheEndOfAFullSyncReachesTheQrnContactCallbacksOnly) {
  Changes changes;
  Registration registration(&changes);
  CtSvcDbListenerNotifyFullSync(CTSVC_DB_FULLSYNC_STATE_ENDED);
  EXPECT_EQ(std::vector<std::string>({"qrn 5 -1"}), changes.Take());
  CtSvcPhonebookPauseNotify();
  CtSvcDbListenerNotifyFullSync(CTSVC_DB_FULLSYNC_STATE_ENDED);
  CtSvcPhonebookResumeNotify();
  EXPECT_TRUE(changes.Take().empty());
}

}  // namespace
}  // namespace ctsvc_sim_mgr_test
