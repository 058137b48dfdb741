// Bulk runs against the simulated card: contacts as comparable texts, the run driven to its end by
// firing the bulk timer by hand and letting the card's answers through between ticks.
#ifndef CTSVC_BULK_SIM_TEST_ENV_H
#define CTSVC_BULK_SIM_TEST_ENV_H

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "../CtSvcPhonebookMgr/PhonebookTestEnv.h"
#include "CtSvcBulkOp.h"
#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcSimCi.h"

namespace ctsvc_bulk_test {

// A contact as "kind:value" texts: name, numbers, e-mail addresses, second name and group names.
using ContactText = std::set<std::string>;
using ContactTexts = std::multiset<ContactText>;

inline ContactText TextOfPerson(const CtSvcPersonRecord& person) {
  ContactText text{std::string("name:") + person.Info.szFirstName};
  const HOBJ hPerson = CTSVC_MAKE_HANDLE(person.DevType, person.nId);
  CtSvcPhoneNumberRecord numbers[8];
  for (int i = 0, n = CtSvcDbPersonGetPhoneNumberList(hPerson, numbers, 8); i < n; ++i) {
    text.insert(std::string("number:") + numbers[i].Info.szPhoneNumber);
  }
  CtSvcEmailAddressRecord emails[8];
  for (int i = 0, n = CtSvcDbPersonGetEmailAddressList(hPerson, emails, 8); i < n; ++i) {
    text.insert(std::string("email:") + emails[i].Info.szEmailAddress);
  }
  CtSvcEtcDataRecord etc[8];
  for (int i = 0, n = CtSvcDbPersonGetEtcData(hPerson, etc, 8); i < n; ++i) {
    if (etc[i].Info.EtcDataType == CTSVC_ETC_DATA_TYPE_SECOND_NAME) {
      text.insert(std::string("second:") + etc[i].Info.szEtcData);
    }
  }
  CtSvcGroupRecord groups[8];
  for (int i = 0, n = CtSvcDbPersonGetJoinedGroupList(hPerson, groups, 8); i < n; ++i) {
    if (groups[i].nId != CTSVC_NOT_ASSIGNED_GROUP_ID) {
      text.insert(std::string("group:") + groups[i].Info.szName);
    }
  }
  return text;
}

inline std::vector<CtSvcPersonRecord> PersonsOf(int nDevType) {
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = nDevType;
  std::vector<CtSvcPersonRecord> vc(600);
  const int n = CtSvcDbPersonGetRecords(&filter, vc.data(), static_cast<int>(vc.size()));
  vc.resize(static_cast<size_t>(n > 0 ? n : 0));
  return vc;
}

inline ContactTexts StoreTexts(int nDevType) {
  ContactTexts texts;
  for (const CtSvcPersonRecord& person : PersonsOf(nDevType)) {
    texts.insert(TextOfPerson(person));
  }
  return texts;
}

// Every used ADN record of the card as read back from the card.
inline ContactTexts CardTexts() {
  ContactTexts texts;
  for (int i = 0, nMax = CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_ADN); i < nMax; ++i) {
    if (CtSvcSimIsUsedRecord(CTSVC_SIM_ADN, i) > 0) {
      texts.insert(ctsvc_phonebook_test::CardContactText(i));
    }
  }
  return texts;
}

// State changes and progress of one run, as texts.
struct RunLog {
  std::vector<std::string> vcState;
  std::vector<std::string> vcProgress;
  static void OnState(BOOL bResult, int nOld, int nNew, void* p) {
    static_cast<RunLog*>(p)->vcState.push_back(std::to_string(bResult) + ":" + std::to_string(nOld) + "->" +
                                               std::to_string(nNew));
  }
  static void OnProgress(int nDone, int nTotal, void* p) {
    static_cast<RunLog*>(p)->vcProgress.push_back(std::to_string(nDone) + "/" + std::to_string(nTotal));
  }
};

class BulkSimTest : public ctsvc_phonebook_test::PhonebookTest {
 protected:
  void TearDown() override {
    CtSvcBulkOpDestroy();
    PhonebookTest::TearDown();
  }
  // Boots the phonebook on the card.
  void BootOn(const std::string& strCard) {
    Insert(strCard);
    NewProcess();
    ASSERT_TRUE(Boot());
    ASSERT_EQ(std::vector<int>({1}), m_init.Take());
  }
  // Makes the operation with the run log as its callbacks.
  void Create(int nType) {
    m_log = RunLog{};
    ASSERT_TRUE(CtSvcBulkOpCreate(nType, &RunLog::OnState, &m_log));
    ASSERT_TRUE(CtSvcBulkOpRegisterProgressCallback(&RunLog::OnProgress));
  }
  // One tick at a time, with the card's answers between ticks, until no tick is due; the number of
  // ticks.
  int Run() {
    int nTicks = 0;
    DrainEventHandler();
    for (int n; (n = zel::test::FireDueTimers(1)) > 0;) {
      nTicks += n;
      DrainEventHandler();
    }
    return nTicks;
  }
  // Creates, fills with the persons' ids, starts and runs an operation, then destroys it.
  void RunOnPersons(int nType, const std::vector<CtSvcPersonRecord>& vcPersons) {
    Create(nType);
    for (const CtSvcPersonRecord& person : vcPersons) {
      ASSERT_TRUE(CtSvcBulkOpAddPersonId(person.nId));
    }
    ASSERT_TRUE(CtSvcBulkOpStart());
    Run();
    EXPECT_EQ("1:3->1", m_log.vcState.back());
    ASSERT_TRUE(CtSvcBulkOpDestroy());
  }
  static int SimGroupId(const char* pszName) {
    CtSvcGroupFilter filter;
    CtSvcGroupFilterInit(&filter);
    filter.DevType = CTSVC_USE_TYPE_SIM;
    CtSvcGroupRecord groups[10];
    for (int i = 0, n = CtSvcDbGroupGetRecords(&filter, groups, 10); i < n; ++i) {
      if (std::string(groups[i].Info.szName) == pszName) {
        return groups[i].nId;
      }
    }
    return -1;
  }

  RunLog m_log;
};

}  // namespace ctsvc_bulk_test

#endif
