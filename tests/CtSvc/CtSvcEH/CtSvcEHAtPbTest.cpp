// The AT phonebook answers on "CTSVC": indications raised for the AT client, answered once through
// the telephony responses, from the phone and SIM rows of the store and the simulated card.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "../CtSvcSim/SimMgr/SimMgrTestCard.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtSvcEH/CtSvcEH.h"
#include "CtSvcSimCi.h"
#include "CtSvcSimCi/CtSvcSimPhonebookSeam.h"
#include "CtSvcTestData.h"
#include "ZelCommTAPI/ZelAtCommand.h"
#include "ZelCommTAPI/ZelTapiAt.h"
#include "ZelPhs.h"

namespace ctsvc_sim_mgr_test {
namespace {

using zel::sim::SampleCardType;

// A response as the telephony library was given it.
struct Seen {
  INT32 nKind;
  INT32 nError;
  INT32 nRequestId = 0;
  TapiAtPbStatus status{};
  std::vector<int> vcIndexes;
  std::vector<std::string> vcRecords;  // "index:number:name"
  TapiAtPbInitInfo init{};
};

std::mutex g_mutex;
std::vector<Seen> g_seen;

void OnResponse(const TapiAtResponse* p, void*) {
  Seen seen{p->nKind, p->nError, p->nRequestId, p->status, {}, {}, p->init};
  for (INT32 i = 0; i < p->read.nCount; ++i) {
    seen.vcIndexes.push_back(p->read.pIndexes[i]);
  }
  for (INT32 i = 0; i < p->records.nCount; ++i) {
    const TapiAtPbRecord& r = p->records.pRecords[i];
    seen.vcRecords.push_back(std::to_string(r.nIndex) + ":" + r.szNumber + ":" + r.szName);
  }
  for (INT32 i = 0; i < p->nMsisdnCount; ++i) {
    seen.vcRecords.push_back(std::string(p->pMsisdnNumbers[i]) + ":" + p->pMsisdnNames[i] + ":" +
                             std::to_string(p->pMsisdnTon[i]));
  }
  std::lock_guard<std::mutex> lock(g_mutex);
  g_seen.push_back(seen);
}

class ThreadsCtSvcEHAtPb : public SimMgrTest {
 protected:
  void SetUp() override {
    SimMgrTest::SetUp();
    DrainEventHandler();  // "CTSVC" registered as the AT client
    TapiATSetResponseSink(&OnResponse, nullptr);
    Take();
  }
  void TearDown() override {
    CtSvcSimSetPhonebookHooks(nullptr);
    TapiATSetResponseSink(nullptr, nullptr);
    SimMgrTest::TearDown();
  }
  static std::vector<Seen> Take() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return std::move(g_seen);
  }
  // Raises an indication, waits for "CTSVC" and answers what it responded.
  std::vector<Seen> Raise(INT32 nEventType, INT32 nParam1, INT32 nParam2, void* pData) {
    EXPECT_TRUE(TapiRaiseEvent(TAPI_CLIENT_AT, nEventType, nParam1, nParam2, pData));
    DrainEventHandler();
    return Take();
  }
  // The single response of an indication.
  Seen RaiseOne(INT32 nEventType, INT32 nParam1, INT32 nParam2, void* pData) {
    std::vector<Seen> vcSeen = Raise(nEventType, nParam1, nParam2, pData);
    EXPECT_EQ(vcSeen.size(), 1u);
    return vcSeen.empty() ? Seen{-1, -1, 0, {}, {}, {}, {}} : vcSeen[0];
  }
  static void AddContacts(CtSvcDeviceType nDevice, int nCount) {
    CCtSvcModuleLock lock;
    for (int i = 1; i <= nCount; ++i) {
      ctsvc_test::ContactParts parts("First" + std::to_string(i), -1, "Last");
      parts.Number("0101234" + std::to_string(1000 + i));
      CCtSvcContact contact(parts.Info(), nDevice);
      ASSERT_GT(contact.Insert(1), 0);
    }
  }
  // A GSM card whose phonebook the phone has started (the SIM answers need it initialised).
  void InsertLoadedGsmCard() {
    ASSERT_NO_FATAL_FAILURE(Insert(SampleCard(SampleCardType::Gsm)));
    ASSERT_EQ(LoadAdn(), std::vector<std::string>({"adn:1"}));
    static const CtSvcSimPhonebookHooks kStarted{[]() -> BOOL { return TRUE; }, nullptr, nullptr};
    CtSvcSimSetPhonebookHooks(&kStarted);
  }
  Seen Status(INT32 nDevice) { return RaiseOne(TAPI_EVENT_AT_PB_QUERYSTATUS_IND, nDevice, 42, nullptr); }
  std::vector<int> Read(INT32 nDevice, INT32 nFrom, INT32 nTo) {
    TapiAtPbReadReq req{nDevice, nFrom, nTo};
    const Seen seen = RaiseOne(TAPI_EVENT_AT_PB_READ_IND, 0, 0, &req);
    EXPECT_EQ(seen.nError, TAPI_AT_PB_SUCCESS);
    return seen.vcIndexes;
  }
  Seen Records(INT32 nDevice, std::vector<UINT16> vcIndexes) {
    TapiAtPbRecordReq req{nDevice, static_cast<INT32>(vcIndexes.size()), vcIndexes.data()};
    return RaiseOne(TAPI_EVENT_AT_PB_REQ_RECORD_IND, 0, 0, &req);
  }
};

TEST_F(ThreadsCtSvcEHAtPb, PhoneStatusIsCappedAt2000AndSimStatusNeedsAReadableCard) {
  ASSERT_NO_FATAL_FAILURE(AddContacts(CTSVC_USE_TYPE_PHONE, 1));
  // 2500 numbers of one phone contact.
  CtSvcPersonRecord person{};
  ASSERT_EQ(CtSvcDbPersonGetRecords(nullptr, &person, 1), 1);
  for (int i = 0; i < 2499; ++i) {
    CtSvcPhoneNumberInfo number{-1, 1, 0, {}};
    ctsvc_test::Copy(number.szPhoneNumber, "0209" + std::to_string(100000 + i));
    ASSERT_GT(CtSvcDbPhoneNumberInsertRecord(static_cast<HOBJ>(person.Info.hPerson), person.Info.nPrimaryId, &number), 0);
  }
  ASSERT_NO_FATAL_FAILURE(AddContacts(CTSVC_USE_TYPE_SIM, 7));

  Seen phone = Status(TAPI_AT_PB_DEVICE_PHONE);
  EXPECT_EQ(phone.nKind, TAPI_EVENT_AT_PB_QUERYSTATUS_IND);
  EXPECT_EQ(phone.nError, TAPI_AT_PB_SUCCESS);
  EXPECT_EQ(phone.nRequestId, 42);
  EXPECT_EQ(phone.status.nUsed, 2000);
  EXPECT_EQ(phone.status.nTotal, 2000);
  EXPECT_EQ(phone.status.nTextLength, 50);
  EXPECT_EQ(Read(TAPI_AT_PB_DEVICE_PHONE, 1990, 2500).size(), 11u);  // 1990..2000

  EXPECT_EQ(Status(TAPI_AT_PB_DEVICE_SIM).status.nUsed, 0);  // no card: nothing readable
  ASSERT_NO_FATAL_FAILURE(InsertLoadedGsmCard());
  const Seen sim = Status(TAPI_AT_PB_DEVICE_SIM);
  EXPECT_EQ(sim.status.nUsed, 7);
  EXPECT_EQ(sim.status.nTotal, 7);
  ASSERT_TRUE(PhsSetStatus(PSV_BT_REMOTE_SIM_CONNECTED, 1));
  EXPECT_EQ(Status(TAPI_AT_PB_DEVICE_SIM).status.nUsed, 0);
  ASSERT_TRUE(PhsSetStatus(PSV_BT_REMOTE_SIM_CONNECTED, 0));

  EXPECT_EQ(Status(TAPI_AT_PB_DEVICE_FDN).nError, TAPI_AT_PB_ERROR_DEVICE);
  EXPECT_TRUE(Raise(TAPI_EVENT_AT_PB_QUERYSTATUS_IND, TAPI_AT_PB_DEVICE_MISSED, 0, nullptr).empty());
}

// A loaded card is not enough: the SIM is readable once the phone started the phonebook on it.
TEST_F(ThreadsCtSvcEHAtPb, SimIsServedOnlyOnceThePhonebookIsStarted) {
  ASSERT_NO_FATAL_FAILURE(AddContacts(CTSVC_USE_TYPE_SIM, 3));
  ASSERT_NO_FATAL_FAILURE(Insert(SampleCard(SampleCardType::Gsm)));
  ASSERT_EQ(LoadAdn(), std::vector<std::string>({"adn:1"}));
  EXPECT_EQ(Status(TAPI_AT_PB_DEVICE_SIM).status.nUsed, 0);
  EXPECT_TRUE(Read(TAPI_AT_PB_DEVICE_SIM, 1, 3).empty());
  ASSERT_NO_FATAL_FAILURE(InsertLoadedGsmCard());
  EXPECT_EQ(Status(TAPI_AT_PB_DEVICE_SIM).status.nUsed, 3);
  EXPECT_EQ(Read(TAPI_AT_PB_DEVICE_SIM, 1, 3), std::vector<int>({1, 2, 3}));
}

TEST_F(ThreadsCtSvcEHAtPb, ReadAnswersTheIndexesOfExistingRowsWithinTheBounds) {
  ASSERT_NO_FATAL_FAILURE(AddContacts(CTSVC_USE_TYPE_PHONE, 3));
  ASSERT_NO_FATAL_FAILURE(AddContacts(CTSVC_USE_TYPE_SIM, 7));
  // Without a card the SIM holds nothing.
  EXPECT_TRUE(Read(TAPI_AT_PB_DEVICE_SIM, 1, 3).empty());
  ASSERT_NO_FATAL_FAILURE(InsertLoadedGsmCard());
  struct Case {
    INT32 nDevice, nFrom, nTo;
    std::vector<int> vcExpected;
  };
  const Case kCases[] = {
      {TAPI_AT_PB_DEVICE_SIM, 5, 10, {5, 6, 7}},  {TAPI_AT_PB_DEVICE_SIM, 8, 10, {}},
      {TAPI_AT_PB_DEVICE_SIM, 7, 7, {7}},         {TAPI_AT_PB_DEVICE_SIM, 8, 8, {}},
      {TAPI_AT_PB_DEVICE_SIM, 1, 9999, {1, 2, 3, 4, 5, 6, 7}},
      {TAPI_AT_PB_DEVICE_PHONE, 1, 5, {1, 2, 3}}, {TAPI_AT_PB_DEVICE_PHONE, 0, 2, {1, 2}},
      {TAPI_AT_PB_DEVICE_PHONE, 3, 3, {3}},       {TAPI_AT_PB_DEVICE_PHONE, 4, 4, {}},
      {TAPI_AT_PB_DEVICE_PHONE, 5, 1, {1}},  // the lower bound never passes the upper one
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.nDevice) + ":" + std::to_string(c.nFrom) + "-" + std::to_string(c.nTo));
    EXPECT_EQ(Read(c.nDevice, c.nFrom, c.nTo), c.vcExpected);
  }
}

TEST_F(ThreadsCtSvcEHAtPb, RecordRequestAnswersNamesAndNumbersAndRefusesBadIndexes) {
  ASSERT_NO_FATAL_FAILURE(AddContacts(CTSVC_USE_TYPE_PHONE, 2));
  ASSERT_NO_FATAL_FAILURE(AddContacts(CTSVC_USE_TYPE_SIM, 2));
  ASSERT_NO_FATAL_FAILURE(InsertLoadedGsmCard());
  struct Case {
    INT32 nDevice;
    std::vector<UINT16> vcIndexes;
    INT32 nError;
    std::vector<std::string> vcRecords;
  };
  const Case kCases[] = {
      {TAPI_AT_PB_DEVICE_PHONE, {1, 2}, 0, {"1:01012341001:First1 Last", "2:01012341002:First2 Last"}},
      {TAPI_AT_PB_DEVICE_SIM, {2}, 0, {"2:01012341002:First2 Last"}},
      {TAPI_AT_PB_DEVICE_PHONE, {0}, TAPI_AT_PB_ERROR_INVALID_PHONE_INDEX, {}},
      {TAPI_AT_PB_DEVICE_SIM, {0}, TAPI_AT_PB_ERROR_DEVICE, {}},
      {TAPI_AT_PB_DEVICE_PHONE, {1, 2001}, TAPI_AT_PB_ERROR_INVALID_PHONE_INDEX, {}},
      {TAPI_AT_PB_DEVICE_SIM, {1, 3, 2}, TAPI_AT_PB_ERROR_EMPTY_SIM_ENTRY, {"1:01012341001:First1 Last"}},
      {TAPI_AT_PB_DEVICE_FDN, {1}, TAPI_AT_PB_ERROR_DEVICE, {}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.nDevice) + ":" + std::to_string(c.vcIndexes[0]));
    const Seen seen = Records(c.nDevice, c.vcIndexes);
    EXPECT_EQ(seen.nKind, TAPI_EVENT_AT_PB_REQ_RECORD_IND);
    EXPECT_EQ(seen.nError, c.nError);
    EXPECT_EQ(seen.vcRecords, c.vcRecords);
  }
  // A card that cannot be read answers a SIM read error.
  zel::test::RemoveSimCard();
  EXPECT_EQ(Records(TAPI_AT_PB_DEVICE_SIM, {1}).nError, TAPI_AT_PB_ERROR_SIM_READ);
}

TEST_F(ThreadsCtSvcEHAtPb, LongNamesAreCutTo100CharactersAndNamesJoinOnlyWhatIsThere) {
  {
    CCtSvcModuleLock lock;
    std::string strLong;
    for (int i = 0; i < 60; ++i) {
      strLong += "\xD0\x96";  // a Cyrillic letter, two bytes
    }
    const char* kNames[][2] = {{"Anna", ""}, {"", "Kim"}, {strLong.c_str(), strLong.c_str()}};
    for (const auto& names : kNames) {
      ctsvc_test::ContactParts parts(names[0], -1, names[1]);
      parts.Number("+821012345678");
      CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
      ASSERT_GT(contact.Insert(1), 0);
    }
  }
  const Seen seen = Records(TAPI_AT_PB_DEVICE_PHONE, {1, 2, 3});
  ASSERT_EQ(seen.vcRecords.size(), 3u);
  std::vector<std::string> vcNames;
  for (const std::string& strRecord : seen.vcRecords) {
    vcNames.push_back(strRecord.substr(strRecord.rfind(':') + 1));
  }
  std::sort(vcNames.begin(), vcNames.end());
  EXPECT_EQ(vcNames[0], "Anna");
  EXPECT_EQ(vcNames[1], "Kim");
  // 60 + blank + 39 characters.
  std::string strCut(vcNames[2]);
  EXPECT_EQ(strCut.size(), 60u * 2 + 1 + 39u * 2);
}

TEST_F(ThreadsCtSvcEHAtPb, WriteIsRefusedAndFindAnswersNothing) {
  ASSERT_NO_FATAL_FAILURE(AddContacts(CTSVC_USE_TYPE_PHONE, 2));
  TapiAtPbWriteReq write{TAPI_AT_PB_DEVICE_PHONE, 1, 129, "0123", "New"};
  const std::vector<Seen> vcWrite = Raise(TAPI_EVENT_AT_PB_WRITE_IND, 0, 0, &write);
  ASSERT_EQ(vcWrite.size(), 1u);
  EXPECT_EQ(vcWrite[0].nKind, TAPI_EVENT_AT_PB_WRITE_IND);
  EXPECT_EQ(vcWrite[0].nError, TAPI_AT_PB_ERROR_DEVICE);
  EXPECT_EQ(CtSvcDbPhoneNumberGetTotalCount(), 2);

  TapiAtPbFindReq find{TAPI_AT_PB_DEVICE_PHONE, "First"};
  const Seen found = RaiseOne(TAPI_EVENT_AT_PB_FIND_IND, 0, 0, &find);
  EXPECT_EQ(found.nKind, TAPI_EVENT_AT_PB_FIND_IND);
  EXPECT_EQ(found.nError, TAPI_AT_PB_SUCCESS);
  EXPECT_TRUE(found.vcRecords.empty());
}

TEST_F(ThreadsCtSvcEHAtPb, OwnNumbersComeFromTheCardWithTheirInternationalFlag) {
  // No card: none, answered with error 1.
  Seen none = RaiseOne(TAPI_EVENT_AT_MSISDN_REQ_IND, 0, 0, nullptr);
  EXPECT_EQ(none.nError, TAPI_AT_PB_ERROR_NOT_FOUND);
  EXPECT_TRUE(none.vcRecords.empty());

  ASSERT_NO_FATAL_FAILURE(Insert(SampleCard(SampleCardType::Gsm)));
  int nLoaded = -1;
  ASSERT_TRUE(CtSvcSimInitMsisdn([](int, int nResult, void* p) { *static_cast<int*>(p) = nResult; }, &nLoaded));
  DrainEventHandler();
  ASSERT_EQ(nLoaded, 1);
  std::vector<std::string> vcExpected;
  for (int i = 0; i < CtSvcSimGetTotalMaxRecordCount(3); ++i) {
    CtSvcSimXdnRecord stored{};
    if (CtSvcSimGetMsisdnRecord(i, &stored) && stored.szPhoneNumber[0] != '\0') {
      vcExpected.push_back(std::string(stored.szPhoneNumber) + ":" + stored.szName + ":" +
                           (stored.szPhoneNumber[0] == '+' ? "1" : "0"));
    }
  }
  ASSERT_FALSE(vcExpected.empty()) << "the sample card has an own number";
  const Seen seen = RaiseOne(TAPI_EVENT_AT_MSISDN_REQ_IND, 0, 0, nullptr);
  EXPECT_EQ(seen.nKind, TAPI_EVENT_AT_MSISDN_REQ_IND);
  EXPECT_EQ(seen.nError, TAPI_AT_PB_SUCCESS);
  EXPECT_EQ(seen.vcRecords, vcExpected);
}

TEST_F(ThreadsCtSvcEHAtPb, InitialisedPhonebookSendsTheAdnCounts) {
  ASSERT_NO_FATAL_FAILURE(InsertLoadedGsmCard());
  ASSERT_TRUE(CtSvcEHPostNotify(CT_NOTIFY_INITIALIZED, nullptr, 0, 0));
  DrainEventHandler();
  const std::vector<Seen> vcSeen = Take();
  ASSERT_EQ(vcSeen.size(), 1u);
  EXPECT_EQ(vcSeen[0].nKind, 0);
  EXPECT_EQ(vcSeen[0].init.nTotal, 250);
  EXPECT_EQ(vcSeen[0].init.nUsed, CtSvcSimGetTotalUsedRecordCount(0));
  EXPECT_EQ(vcSeen[0].init.nTextLength, CtSvcSimGetRecordStringLength(0));
}

// The AT command line of the telephony library reads both phonebooks through these answers.
TEST_F(ThreadsCtSvcEHAtPb, CommandLineReadsBothPhonebooksThroughTheIndications) {
  ASSERT_NO_FATAL_FAILURE(AddContacts(CTSVC_USE_TYPE_PHONE, 3));
  ASSERT_NO_FATAL_FAILURE(AddContacts(CTSVC_USE_TYPE_SIM, 2));
  ASSERT_NO_FATAL_FAILURE(InsertLoadedGsmCard());
  zel::at::CTapiAtPhonebook phonebook;  // takes the responses over from the fixture
  zel::at::AtSession session;
  session.bEcho = false;
  auto Answer = [&](const std::string& strLine) {
    return zel::at::AtFeed(session, phonebook, (strLine + "\r").data(), strLine.size() + 1);
  };
  struct Case {
    const char* pszLine;
    const char* pszAnswer;
  };
  const Case kCases[] = {
      {"AT+CMEE=1;+CPBS?", "\r\n+CPBS: \"ME\",3,3\r\n\r\nOK\r\n"},
      {"AT+CPBR=2,5",
       "\r\n+CPBR: 2,\"01012341002\",129,\"First2 Last\"\r\n+CPBR: 3,\"01012341003\",129,\"First3 Last\"\r\n"
       "\r\nOK\r\n"},
      {"AT+CPBS=\"SM\";+CPBR=1,10",
       "\r\n+CPBR: 1,\"01012341001\",129,\"First1 Last\"\r\n+CPBR: 2,\"01012341002\",129,\"First2 Last\"\r\n"
       "\r\nOK\r\n"},
      {"AT+CPBR=?", "\r\n+CPBR: (1-2),40,100\r\n\r\nOK\r\n"},
      {"AT+CPBR=0", "\r\n+CME ERROR: 21\r\n"},
      {"AT+CPBW=1,\"0123\"", "\r\n+CME ERROR: 4\r\n"},
      {"AT+CPBS=\"FD\";+CPBS?", "\r\n+CME ERROR: 4\r\n"},
      {"AT+CNUM", "\r\nOK\r\n"},  // the MSISDN group is not loaded
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(Answer(c.pszLine), c.pszAnswer) << c.pszLine;
  }
  EXPECT_EQ(CtSvcDbPhoneNumberGetTotalCount(), 5);
}

}  // namespace
}  // namespace ctsvc_sim_mgr_test
