// What the start-up copy puts in the store: every card contact with its numbers, e-mail addresses,
// second name and groups; and the SIM-toolkit refresh that reloads one group.
#include <algorithm>
#include <set>

#include "PhonebookTestEnv.h"
#include "ZelWm.h"

namespace ctsvc_phonebook_test {
namespace {

using ctsvc_sim_mgr_test::SampleCard;
using zel::sim::SampleCardType;

// One contact as a set of "kind:value" texts, so the card's and the store's can be compared.
using ContactText = std::set<std::string>;

ContactText FromCard(int nIndex) { return CardContactText(nIndex); }

ContactText FromStore(int nIndex) {
  CtSvcPersonFilter personFilter;
  CtSvcPersonFilterInit(&personFilter);
  personFilter.DevType = CTSVC_USE_TYPE_SIM;
  personFilter.nSlotIndex = nIndex;
  CtSvcPersonRecord person{};
  if (CtSvcDbPersonGetRecords(&personFilter, &person, 1) != 1) {
    return {};
  }
  ContactText text{std::string("name:") + person.Info.szFirstName};
  CtSvcPhoneNumberFilter numberFilter;
  CtSvcPhoneNumberFilterInit(&numberFilter);
  numberFilter.nPersonId = person.nId;
  CtSvcPhoneNumberRecord numbers[8];
  for (int i = 0, n = CtSvcDbPhoneNumberGetRecords(&numberFilter, numbers, 8); i < n; ++i) {
    text.insert(std::string("number:") + numbers[i].Info.szPhoneNumber);
  }
  CtSvcEmailFilter emailFilter;
  CtSvcEmailFilterInit(&emailFilter);
  emailFilter.nPersonId = person.nId;
  CtSvcEmailAddressRecord emails[8];
  for (int i = 0, n = CtSvcDbEmailAddressGetRecords(&emailFilter, emails, 8); i < n; ++i) {
    text.insert(std::string("email:") + emails[i].Info.szEmailAddress);
  }
  CtSvcEtcDataFilter etcFilter;
  CtSvcEtcDataFilterInit(&etcFilter);
  etcFilter.nPersonId = person.nId;
  CtSvcEtcDataRecord etc[4];
  for (int i = 0, n = CtSvcDbEtcDataGetRecords(&etcFilter, etc, 4); i < n; ++i) {
    if (etc[i].Info.EtcDataType == CTSVC_ETC_DATA_TYPE_SECOND_NAME) {
      text.insert(std::string("second:") + etc[i].Info.szEtcData);
    }
  }
  CtSvcGroupRecord groups[8];
  const HOBJ hPerson = static_cast<HOBJ>(CTSVC_SIM_HANDLE_MASK | static_cast<UINT32>(person.nId));
  for (int i = 0, n = CtSvcDbPersonGetJoinedGroupList(hPerson, groups, 8); i < n; ++i) {
    text.insert(std::string("group:") + groups[i].Info.szName);
  }
  return text;
}

TEST_F(PhonebookTest, EveryCardContactReachesTheStoreWithItsDetails) {
  for (SampleCardType type : {SampleCardType::Usim, SampleCardType::Gsm}) {
    Insert(SampleCard(type));
    NewProcess();
    ASSERT_TRUE(Boot());
    ASSERT_EQ(std::vector<int>({1}), m_init.Take());
    int nCompared = 0;
    bool bSawDetails = false;
    for (int i = 0, nMax = CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_ADN); i < nMax; ++i) {
      if (CtSvcSimIsUsedRecord(CTSVC_SIM_ADN, i) <= 0) {
        continue;
      }
      const ContactText card = FromCard(i);
      EXPECT_EQ(card, FromStore(i)) << "record " << i;
      bSawDetails |= std::any_of(card.begin(), card.end(), [](const std::string& s) { return s.rfind("group:", 0) == 0; });
      ++nCompared;
    }
    EXPECT_EQ(CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_ADN), nCompared);
    EXPECT_EQ(type == SampleCardType::Usim, bSawDetails);
  }
}

// The toolkit's answers, as "dispatch:result", and the phonebook's readiness broadcasts.
struct Answers {
  std::mutex mutex;
  std::vector<std::string> vcAnswer;
  static int OnEvent(WmEHState* pState, WmEvent* pEvent) {
    auto* p = static_cast<Answers*>(pState->pUserData);
    std::lock_guard<std::mutex> lock(p->mutex);
    if (pEvent->nEventId == 0x205) {
      p->vcAnswer.push_back(std::to_string(pEvent->nParam1) + ":" + std::to_string(pEvent->nParam2));
    } else if (pEvent->nEventId == 0x214) {
      p->vcAnswer.push_back("ready " + std::to_string(pEvent->nParam1));
    }
    return 1;
  }
  std::vector<std::string> Take() {
    std::lock_guard<std::mutex> lock(mutex);
    return std::move(vcAnswer);
  }
};

// A refresh record listing the files.
std::vector<UINT8> RefreshRecord(const std::vector<UINT32>& vcFiles) {
  std::vector<UINT8> record(548, 0);
  record[36] = static_cast<UINT8>(vcFiles.size());
  std::memcpy(record.data() + 40, vcFiles.data(), vcFiles.size() * sizeof(UINT32));
  return record;
}

TEST_F(PhonebookTest, ARefreshReloadsTheGroupOfTheFirstKnownFileAndAnswersTheToolkit) {
  Insert(SampleCard(SampleCardType::Usim));
  ASSERT_TRUE(Boot());
  m_init.Take();
  Answers answers;
  const WmEventMapEntry map[] = {{0, 0xFFFFFFFFu, &Answers::OnEvent}};
  const HOBJ hGroup = WmCreateEHGroup("RefreshTestGroup");
  const HOBJ hToolkit = WmCreateEventHandler(hGroup, "RefreshTest", map, 1, &answers);
  ASSERT_NE(INVALID_HOBJ, hToolkit);

  zel::test::LogCapture log;
  const std::vector<UINT8> record = RefreshRecord({0x1234, 0x6F3B, 0x6F3A});
  answers.Take();
  ASSERT_TRUE(CtSvcRefreshSim(77, hToolkit, 1, 0, record.data()));
  RunLoads();
  std::vector<std::string> vcLoaded;
  for (const zel::test::LogLine& line : log.Lines()) {
    if (line.text.find("__Next() - loading init type") != std::string::npos) {
      vcLoaded.push_back(line.text.substr(line.text.rfind(' ') + 1));
    }
  }
  EXPECT_EQ(std::vector<std::string>({"2\n"}), vcLoaded);  // FDN only
  ASSERT_EQ(1, WmWaitEventHandlerIdle(hToolkit, 10000));
  // The toolkit gets its answer from the init callback; then the readiness is broadcast.
  EXPECT_EQ(std::vector<std::string>({"77:0", "ready 134"}), answers.Take());
  EXPECT_EQ(0, CCtSvcPhonebookMgr::Instance()->GetSimRefreshCondition());

  // A qualifier the toolkit does not define is answered as failed.
  EXPECT_FALSE(CtSvcRefreshSim(78, hToolkit, 3, 0, record.data()));
  ASSERT_EQ(1, WmWaitEventHandlerIdle(hToolkit, 10000));
  EXPECT_EQ(std::vector<std::string>({"78:2"}), answers.Take());
  // A file-change notice without its list changes nothing.
  EXPECT_TRUE(CtSvcRefreshSim(79, hToolkit, 1, 0, nullptr));
  WmDeleteEHGroup(hGroup);
}

}  // namespace
}  // namespace ctsvc_phonebook_test

namespace ctsvc_phonebook_test {
namespace {

// The SIM API's FDN check reaches the started phonebook: when the ADN file's information cannot be
// read again, the ADN group is reloaded through the manager and its end reported.
TEST_F(PhonebookTest, TheFdnCheckReloadsTheAdnGroupThroughThePhonebook) {
  Insert(SampleCard(SampleCardType::Gsm));
  ASSERT_TRUE(Boot());
  m_init.Take();
  zel::test::LogCapture log;
  EXPECT_TRUE(CtSvcSimReloadSimFileForFdn());
  EXPECT_TRUE(log.Contains("Don't need to reload file at this SIM Card"));
  DrainEventHandler();  // the file's information arrives before the group's files are dropped
  zel::test::InjectSimFault(0x6F3A, zel::test::SimOp::FileInfo, zel::test::SimFault::NotSent);
  EXPECT_TRUE(CtSvcSimReloadSimFileForFdn());
  zel::test::ClearSimFaults();
  RunLoads();
  EXPECT_TRUE(log.Contains("Need reload file at this SIM Card"));
  EXPECT_TRUE(log.Contains("CtSvcSimReloadSimFileForFdn - reload of group 1 ended(1)"));
  EXPECT_EQ(CTSVC_SIM_INIT_COMPLETE, CtSvcPhonebookGetInitState());
  EXPECT_EQ(CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_ADN), PersonCount(CTSVC_USE_TYPE_SIM));
}

}  // namespace
}  // namespace ctsvc_phonebook_test
