#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcDbDetail.h"
#include "CtSvcDbListener.h"
#include "CtSvcDbPerson.h"
#include "CtSvcImg.h"
#include "CtSvcList.h"
#include "CtSvcPbap.h"
#include "CtSvcModule.h"
#include "CtSvcModule/CtSvcInterfaceTable.h"
#include "CtSvcPhonebook.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcTask.h"
#include "CtSvcTestEnv.h"
#include "ImgTestFiles.h"
#include "ZelBluetoothTest.h"
#include "ZelCoreTest.h"
#include "ZelPhs.h"
#include "ZelOs.h"
#include "ZelSys.h"
#include "ZelWm.h"

namespace {

class CtSvcModuleTest : public ctsvc_test::StoreTest {
 protected:
  void TearDown() override {
    if (CtSvcGetModuleMutex() != ZEL_INVALID_HANDLE_VALUE) {
      CtSvcDispatch(CTSVC_DISPATCH_UNLOAD, 0, 0);
    }
    StoreTest::TearDown();
  }
};

TEST_F(CtSvcModuleTest, LoadBringsTheServiceUpAndUnloadTakesItDown) {
  EXPECT_EQ(ZEL_INVALID_HANDLE_VALUE, CtSvcGetModuleMutex());
  EXPECT_EQ(TRUE, CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0));
  const HOBJ hMutex = CtSvcGetModuleMutex();
  ASSERT_NE(ZEL_INVALID_HANDLE_VALUE, hMutex);
  EXPECT_TRUE(OsLockMutex(hMutex));
  EXPECT_TRUE(OsLockMutex(hMutex));  // the module mutex lets its holder in again
  EXPECT_TRUE(OsUnlockMutex(hMutex));
  EXPECT_TRUE(OsUnlockMutex(hMutex));
  EXPECT_EQ(CtSvcGetClassDescriptor(), SysGetClass(CTSVC_CLASS_ID));
  EXPECT_NE(INVALID_HOBJ, WmGetEventHandlerByName("CTSVC"));
  EXPECT_TRUE(CCtSvcDbMgr::Instance()->IsInitialized());

  zel::test::LogCapture capture;
  EXPECT_EQ(TRUE, CtSvcDispatch(CTSVC_DISPATCH_UNLOAD, 0, 0));
  EXPECT_EQ(ZEL_INVALID_HANDLE_VALUE, CtSvcGetModuleMutex());
  EXPECT_FALSE(OsLockMutex(hMutex));
  EXPECT_EQ(nullptr, SysGetClass(CTSVC_CLASS_ID));
  // Nothing used the background task, so there was no task manager to destroy.
  EXPECT_FALSE(capture.Contains("CCtSvcTaskMgr::Abort : called"));
}

TEST_F(CtSvcModuleTest, UnloadDestroysTheTaskManagerItWasUsing) {
  ASSERT_EQ(TRUE, CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0));
  EXPECT_EQ(FALSE, CtSvcTaskIsWorking());
  CtSvcPrimaryFilter filter;
  CtSvcPrimaryFilterInit(&filter);
  filter.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
  ASSERT_TRUE(CtSvcFastScrollRequestLetters(&filter, [](INT32, const MCHAR*, void*) {}, nullptr));
  zel::test::LogCapture capture;
  EXPECT_EQ(TRUE, CtSvcDispatch(CTSVC_DISPATCH_UNLOAD, 0, 0));
  EXPECT_TRUE(capture.Contains("CCtSvcTaskMgr::Abort : called"));
}

TEST_F(CtSvcModuleTest, OtherCommandsDoNothing) {
  for (UINT32 nCommand : {2u, 3u, 5u, 99u, 0xFFFFFFFFu}) {
    EXPECT_EQ(0, CtSvcDispatch(nCommand, 1, 2)) << nCommand;
  }
  EXPECT_EQ(ZEL_INVALID_HANDLE_VALUE, CtSvcGetModuleMutex());
  EXPECT_EQ(nullptr, SysGetClass(CTSVC_CLASS_ID));
  EXPECT_FALSE(CCtSvcDbMgr::Instance()->IsInitialized());
}

TEST_F(CtSvcModuleTest, InterfaceTableFollowsTheSlotOrder) {
  ASSERT_EQ(TRUE, CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0));
  void** ppSlots = CtSvcGetClassDescriptor()->ppInterface;
  ASSERT_NE(nullptr, ppSlots);
  struct Slot {
    int nSlot;
    const char* szName;
  };
  // Where callers find the functions they index most.
  const Slot kSlots[] = {{2, "CtSvcDispatch"},
                         {3, "CtSvcContactListCreate"},
                         {14, "CtSvcGroupMemberListGetAt"},
                         {15, "CtSvcDbPersonGetRecord"},
                         {22, "CtSvcDbPersonDeletebyAccount"},
                         {38, "CtSvcDbIMGetRecords"},
                         {39, "CtSvcDbPrimaryGetRecord"},
                         {43, "CtSvcDbMassSyncReadRecords"},
                         {51, "CtSvcPhonebookRegisterContactCallback"},
                         {61, "CtSvcPhonebookInsertContactToPhoneNoCommit"}};
  for (const Slot& slot : kSlots) {
    EXPECT_STREQ(slot.szName, CtSvcGetInterfaceSlotName(slot.nSlot)) << slot.nSlot;
  }
  EXPECT_STREQ("", CtSvcGetInterfaceSlotName(CTSVC_INTERFACE_SLOT_COUNT));
  EXPECT_EQ(reinterpret_cast<void*>(&CtSvcDispatch), ppSlots[2]);
  for (int nSlot = 0; nSlot <= 61; ++nSlot) {
    EXPECT_NE(nullptr, ppSlots[nSlot]) << CtSvcGetInterfaceSlotName(nSlot);
  }
  // Slots 0 and 1 count references on the descriptor.
  using RefFn = INT32 (*)();
  const INT32 nBefore = CtSvcGetClassDescriptor()->nRefCount;
  EXPECT_EQ(nBefore + 1, reinterpret_cast<RefFn>(ppSlots[0])());
  EXPECT_EQ(nBefore, reinterpret_cast<RefFn>(ppSlots[1])());
}

// An application that knows only the table reaches the phonebook's writes and callbacks through
// slots 44 to 58 and 61.
TEST_F(CtSvcModuleTest, PhonebookSlotsWriteContactsAndGroupsAndReachTheCallbacks) {
  ASSERT_EQ(TRUE, CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0));
  void** ppSlots = CtSvcGetClassDescriptor()->ppInterface;
  using InsertFn = HOBJ (*)(CtSvcContactInfo*);
  using UpdateFn = BOOL (*)(HOBJ, CtSvcContactInfo*);
  using DeleteFn = BOOL (*)(HOBJ);
  using GroupInsertFn = int (*)(const CtSvcGroupInfo*);
  using GroupUpdateFn = BOOL (*)(int, const CtSvcGroupInfo*);
  using GroupDeleteFn = BOOL (*)(int);
  using OwnNumberFn = BOOL (*)(char*, int, char*, int);
  using CallbackFn = void (*)(CtSvcPhonebookChangeCallback, void*);
  struct Seen {
    std::vector<std::string> vCalls;
    static void On(CtSvcChangeType type, int nId, void*, void* p) {
      static_cast<Seen*>(p)->vCalls.push_back(std::to_string(type) + " " + std::to_string(nId > 0 ? 1 : nId));
    }
  };
  Seen contacts, contactsQrn, groups, groupsQrn;
  reinterpret_cast<CallbackFn>(ppSlots[51])(&Seen::On, &contacts);
  reinterpret_cast<CallbackFn>(ppSlots[52])(&Seen::On, &contactsQrn);
  reinterpret_cast<CallbackFn>(ppSlots[53])(&Seen::On, &groups);
  reinterpret_cast<CallbackFn>(ppSlots[54])(&Seen::On, &groupsQrn);

  CCtSvcContactInfoBuilder draft("Ann", -1);
  draft.Number("0100");
  CtSvcContactInfo info = draft.Info();
  const HOBJ hPerson = reinterpret_cast<InsertFn>(ppSlots[44])(&info);
  ASSERT_NE(INVALID_HOBJ, hPerson);
  std::strcpy(draft.person.szFirstName, "Bo");
  EXPECT_TRUE(reinterpret_cast<UpdateFn>(ppSlots[45])(hPerson, &info));
  CtSvcPersonRecord person{};
  ASSERT_TRUE(CtSvcDbPersonGetRecord(hPerson, &person));
  EXPECT_STREQ("Bo", person.Info.szFirstName);
  const HOBJ hQuiet = reinterpret_cast<InsertFn>(ppSlots[61])(&info);  // no commit, no callbacks
  ASSERT_NE(INVALID_HOBJ, hQuiet);
  EXPECT_TRUE(reinterpret_cast<DeleteFn>(ppSlots[46])(hPerson));
  EXPECT_TRUE(reinterpret_cast<DeleteFn>(ppSlots[46])(hQuiet));

  CtSvcGroupInfo group{};
  group.DevType = CTSVC_USE_TYPE_PHONE;
  std::strcpy(group.szName, "Club");
  const int nGroup = reinterpret_cast<GroupInsertFn>(ppSlots[47])(&group);
  ASSERT_GT(nGroup, 0);
  EXPECT_TRUE(reinterpret_cast<GroupUpdateFn>(ppSlots[48])(nGroup, &group));
  EXPECT_TRUE(reinterpret_cast<GroupDeleteFn>(ppSlots[49])(nGroup));

  char szName[32];
  char szNumber[32];
  // No card and nothing stored: phone memory answers with an empty own number.
  reinterpret_cast<OwnNumberFn>(ppSlots[50])(szName, sizeof(szName), szNumber, sizeof(szNumber));

  const std::vector<std::string> kContactCalls = {"0 1", "1 1", "2 1", "2 1"};
  const std::vector<std::string> kGroupCalls = {"0 1", "1 1", "2 1"};
  EXPECT_EQ(kContactCalls, contacts.vCalls);
  EXPECT_EQ(kContactCalls, contactsQrn.vCalls);
  EXPECT_EQ(kGroupCalls, groups.vCalls);
  EXPECT_EQ(kGroupCalls, groupsQrn.vCalls);

  reinterpret_cast<CallbackFn>(ppSlots[55])(&Seen::On, &contacts);
  reinterpret_cast<CallbackFn>(ppSlots[56])(&Seen::On, &groups);
  reinterpret_cast<CallbackFn>(ppSlots[57])(&Seen::On, &contactsQrn);
  reinterpret_cast<CallbackFn>(ppSlots[58])(&Seen::On, &groupsQrn);
  EXPECT_NE(INVALID_HOBJ, reinterpret_cast<InsertFn>(ppSlots[44])(&info));
  EXPECT_EQ(4u, contacts.vCalls.size());
  EXPECT_EQ(4u, contactsQrn.vCalls.size());
}

}  // namespace

namespace {

// The function in a slot, called as the function named: a slot holding another function answers
// differently from what the checks below expect.
template <auto pfn>
auto Through(int nSlot) {
  return reinterpret_cast<decltype(pfn)>(CtSvcGetClassDescriptor()->ppInterface[nSlot]);
}

struct MassSyncSeen {
  static inline std::atomic<int> nCards{0};
  static void OnBatch(const char*, INT32 nRecordCount, BOOL) { nCards += nRecordCount; }
};

void OnChange(CtSvcChangeType, int, void*, void*) {}

// Every slot called with arguments that work and with arguments it must refuse.
TEST_F(CtSvcModuleTest, EverySlotAnswersValidAndInvalidArgumentsThroughTheTable) {
  ASSERT_EQ(TRUE, CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0));
  CtSvcGroupInfo club{};
  club.DevType = CTSVC_USE_TYPE_PHONE;
  std::strcpy(club.szName, "Club");
  const int nClub = CtSvcPhonebookInsertGroupToPhone(&club);
  ASSERT_GT(nClub, 0);
  CCtSvcContactInfoBuilder ann("Ann", -1, "Lee");
  ann.Number("0100").Email("ann@lee.org").Address("Main St 1", "Town").Etc(CTSVC_ETC_DATA_TYPE_NOTE, "n").Group(nClub);
  CtSvcContactInfo info = ann.Info();
  const HOBJ hAnn = CtSvcPhonebookInsertContactToPhone(&info);
  ASSERT_NE(INVALID_HOBJ, hAnn);
  CtSvcPersonRecord person{};
  ASSERT_TRUE(CtSvcDbPersonGetRecord(hAnn, &person));
  const int nAnn = person.nId;
  const int nPrimary = person.Info.nPrimaryId;

  std::vector<std::pair<std::vector<int>, std::function<void()>>> checks;
  const auto Check = [&checks](std::vector<int> vcSlots, std::function<void()> fnCheck) {
    checks.emplace_back(std::move(vcSlots), std::move(fnCheck));
  };
  Check({0, 1}, [] {});  // the reference count: InterfaceTableFollowsTheSlotOrder
  Check({2}, [] { EXPECT_EQ(0, Through<&CtSvcDispatch>(2)(99, 0, 0)); });
  Check({3, 4, 5, 6}, [&] {
    CtSvcPersonFilter filter;
    CtSvcPersonFilterInit(&filter);
    filter.DevType = CTSVC_USE_TYPE_PHONE;
    const INT32 hList = Through<&CtSvcContactListCreate>(3)(&filter, nullptr);
    ASSERT_GE(hList, 0);
    EXPECT_EQ(1, Through<&CtSvcContactListGetCount>(5)(hList));
    CtSvcPersonRecord record{};
    EXPECT_TRUE(Through<&CtSvcContactListGetAt>(6)(hList, 0, &record));
    EXPECT_STREQ("Ann", record.Info.szFirstName);
    EXPECT_FALSE(Through<&CtSvcContactListGetAt>(6)(hList, 1, &record));
    EXPECT_TRUE(Through<&CtSvcContactListDestroy>(4)(hList));
    EXPECT_FALSE(Through<&CtSvcContactListDestroy>(4)(hList));
    EXPECT_EQ(-1, Through<&CtSvcContactListGetCount>(5)(hList));
  });
  Check({7, 8, 9, 10}, [&] {
    CtSvcGroupFilter filter;
    CtSvcGroupFilterInit(&filter);
    const INT32 hList = Through<&CtSvcGroupListCreate>(7)(&filter, nullptr);
    ASSERT_GE(hList, 0);
    const INT32 nGroups = Through<&CtSvcGroupListGetCount>(9)(hList);
    EXPECT_GE(nGroups, 2);  // the default group and the club
    CtSvcGroupRecord record{};
    EXPECT_TRUE(Through<&CtSvcGroupListGetAt>(10)(hList, nGroups - 1, &record));
    EXPECT_FALSE(Through<&CtSvcGroupListGetAt>(10)(hList, nGroups, &record));
    EXPECT_TRUE(Through<&CtSvcGroupListDestroy>(8)(hList));
    EXPECT_FALSE(Through<&CtSvcGroupListDestroy>(8)(hList));
    EXPECT_EQ(-1, Through<&CtSvcGroupListGetCount>(9)(hList));
  });
  Check({11, 12, 13, 14}, [&] {
    CtSvcGroupMemberFilter filter;
    CtSvcGroupMemberFilterInit(&filter);
    filter.nGroupId = nClub;
    const INT32 hList = Through<&CtSvcGroupMemberListCreate>(11)(&filter, nullptr);
    ASSERT_GE(hList, 0);
    EXPECT_EQ(1, Through<&CtSvcGroupMemberListGetCount>(13)(hList));
    CtSvcGroupMemberRecord record{};
    EXPECT_TRUE(Through<&CtSvcGroupMemberListGetAt>(14)(hList, 0, &record));
    EXPECT_EQ(nClub, record.Info.nGroupId);
    EXPECT_FALSE(Through<&CtSvcGroupMemberListGetAt>(14)(hList, -1, &record));
    EXPECT_TRUE(Through<&CtSvcGroupMemberListDestroy>(12)(hList));
    EXPECT_FALSE(Through<&CtSvcGroupMemberListDestroy>(12)(hList));
    EXPECT_EQ(-1, Through<&CtSvcGroupMemberListGetCount>(13)(hList));
  });
  Check({15}, [&] {
    CtSvcPersonRecord record{};
    EXPECT_TRUE(Through<&CtSvcDbPersonGetRecord>(15)(hAnn, &record));
    EXPECT_STREQ("Lee", record.Info.szLastName);
    EXPECT_FALSE(Through<&CtSvcDbPersonGetRecord>(15)(INVALID_HOBJ, &record));
  });
  Check({16}, [&] {
    CtSvcPersonRecord record{};
    EXPECT_TRUE(Through<&CtSvcDbPersonGetRecordById>(16)(nAnn, &record));
    EXPECT_FALSE(Through<&CtSvcDbPersonGetRecordById>(16)(nAnn + 100, &record));
  });
  Check({17}, [] { EXPECT_EQ(1, Through<&CtSvcDbPersonGetTotalCount>(17)()); });
  Check({18, 19, 20}, [&] {
    CtSvcPhoneNumberRecord numbers[2];
    CtSvcEmailAddressRecord emails[2];
    CtSvcPostalAddressRecord addresses[2];
    EXPECT_EQ(1, Through<&CtSvcDbPersonGetPhoneNumberList>(18)(hAnn, numbers, 2));
    EXPECT_STREQ("0100", numbers[0].Info.szPhoneNumber);
    EXPECT_EQ(1, Through<&CtSvcDbPersonGetEmailAddressList>(19)(hAnn, emails, 2));
    EXPECT_EQ(1, Through<&CtSvcDbPersonGetPostalAddressList>(20)(hAnn, addresses, 2));
    EXPECT_LE(Through<&CtSvcDbPersonGetPhoneNumberList>(18)(INVALID_HOBJ, numbers, 2), 0);
    EXPECT_LE(Through<&CtSvcDbPersonGetEmailAddressList>(19)(hAnn, nullptr, 2), 0);
    EXPECT_LE(Through<&CtSvcDbPersonGetPostalAddressList>(20)(INVALID_HOBJ, addresses, 2), 0);
  });
  Check({21}, [] {
    CtSvcPersonFilter filter;
    CtSvcPersonFilterInit(&filter);
    filter.DevType = CTSVC_USE_TYPE_SIM;
    EXPECT_EQ(0, Through<&CtSvcDbPersonGetCount>(21)(&filter));
    filter.DevType = CTSVC_USE_TYPE_PHONE;
    EXPECT_EQ(1, Through<&CtSvcDbPersonGetCount>(21)(&filter));
  });
  Check({22}, [] {
    const int nAccount = 77;
    EXPECT_FALSE(Through<&CtSvcDbPersonDeletebyAccount>(22)(CTSVC_USE_TYPE_PHONE, nullptr, 1, nullptr, nullptr));
    EXPECT_TRUE(Through<&CtSvcDbPersonDeletebyAccount>(22)(CTSVC_USE_TYPE_PHONE, &nAccount, 1, nullptr, nullptr));
  });
  Check({23}, [&] {
    CtSvcIMRecord ims[2];
    EXPECT_EQ(0, Through<&CtSvcDbPersonGetIM>(23)(hAnn, ims, 2));
    EXPECT_LE(Through<&CtSvcDbPersonGetIM>(23)(hAnn, nullptr, 2), 0);
  });
  Check({24}, [&] {
    CtSvcGroupRecord record{};
    EXPECT_TRUE(Through<&CtSvcDbGroupGetRecord>(24)(nClub, &record));
    EXPECT_STREQ("Club", record.Info.szName);
    EXPECT_FALSE(Through<&CtSvcDbGroupGetRecord>(24)(nClub + 100, &record));
  });
  Check({25}, [] { EXPECT_GE(Through<&CtSvcDbGroupGetTotalCount>(25)(), 2); });
  Check({26}, [&] {
    CtSvcGroupMemberRecord members[2];
    EXPECT_EQ(1, Through<&CtSvcDbGroupGetGroupMemberList>(26)(nClub, members, 2));
    EXPECT_LE(Through<&CtSvcDbGroupGetGroupMemberList>(26)(nClub, nullptr, 2), 0);
  });
  Check({27}, [] {
    CtSvcGroupInfo old{};
    old.DevType = CTSVC_USE_TYPE_PHONE;
    std::strcpy(old.szName, "Old");
    const int nOld = CtSvcDbGroupInsertRecord(&old);
    CtSvcGroupFilter filter;
    CtSvcGroupFilterInit(&filter);
    std::strcpy(filter.szName, "Old");
    EXPECT_TRUE(Through<&CtSvcDbGroupDeleteRecordsWithFilter>(27)(&filter));
    CtSvcGroupRecord record{};
    EXPECT_FALSE(CtSvcDbGroupGetRecord(nOld, &record));
    EXPECT_FALSE(Through<&CtSvcDbGroupDeleteRecordsWithFilter>(27)(nullptr));
  });
  Check({28, 29}, [&] {
    CtSvcPhoneNumberFilter filter;
    CtSvcPhoneNumberFilterInit(&filter);
    filter.nPersonId = nAnn;
    CtSvcPhoneNumberRecord records[2];
    EXPECT_EQ(1, Through<&CtSvcDbPhoneNumberGetCount>(28)(&filter));
    EXPECT_EQ(1, Through<&CtSvcDbPhoneNumberGetRecords>(29)(&filter, records, 2));
    EXPECT_EQ(-1, Through<&CtSvcDbPhoneNumberGetRecords>(29)(&filter, nullptr, 2));
  });
  Check({30, 31}, [&] {
    CtSvcEmailFilter filter;
    CtSvcEmailFilterInit(&filter);
    filter.nPersonId = nAnn;
    CtSvcEmailAddressRecord records[2];
    EXPECT_EQ(1, Through<&CtSvcDbEmailAddressGetCount>(30)(&filter));
    EXPECT_EQ(1, Through<&CtSvcDbEmailAddressGetRecords>(31)(&filter, records, 2));
    EXPECT_EQ(-1, Through<&CtSvcDbEmailAddressGetRecords>(31)(&filter, nullptr, 2));
  });
  Check({32, 33}, [&] {
    CtSvcEtcDataFilter filter;
    CtSvcEtcDataFilterInit(&filter);
    filter.nPersonId = nAnn;
    CtSvcEtcDataRecord records[2];
    EXPECT_EQ(1, Through<&CtSvcDbEtcDataGetRecords>(32)(&filter, records, 2));
    EXPECT_EQ(1, Through<&CtSvcDbEtcDataGetCount>(33)(&filter));
    EXPECT_EQ(-1, Through<&CtSvcDbEtcDataGetRecords>(32)(&filter, nullptr, 2));
  });
  Check({34, 35, 36, 37}, [&] {
    CtSvcGroupMemberFilter filter;
    CtSvcGroupMemberFilterInit(&filter);
    filter.nGroupId = nClub;
    CtSvcGroupMemberRecord records[2];
    EXPECT_EQ(1, Through<&CtSvcDbGroupMemberGetCount>(34)(&filter));
    EXPECT_EQ(1, Through<&CtSvcDbGroupMemberGetRecords>(35)(&filter, records, 2));
    EXPECT_EQ(-1, Through<&CtSvcDbGroupMemberGetRecords>(35)(&filter, nullptr, 2));
    const CtSvcGroupMemberInfo member{-1, -1, -1, CTSVC_NOT_ASSIGNED_GROUP_ID};
    EXPECT_GT(Through<&CtSvcDbGroupMemberInsertRecord>(36)(hAnn, nPrimary, &member), 0);
    EXPECT_EQ(-1, Through<&CtSvcDbGroupMemberInsertRecord>(36)(hAnn, nPrimary, nullptr));
    filter.nGroupId = CTSVC_NOT_ASSIGNED_GROUP_ID;
    EXPECT_TRUE(Through<&CtSvcDbGroupMemberDeleteRecordsWithFilter>(37)(&filter));
    EXPECT_EQ(0, CtSvcDbGroupMemberGetCount(&filter));
    EXPECT_FALSE(Through<&CtSvcDbGroupMemberDeleteRecordsWithFilter>(37)(nullptr));
  });
  Check({38}, [&] {
    CtSvcIMFilter filter;
    CtSvcIMFilterInit(&filter);
    filter.nPersonId = nAnn;
    CtSvcIMRecord records[2];
    EXPECT_EQ(0, Through<&CtSvcDbIMGetRecords>(38)(&filter, records, 2));
    EXPECT_EQ(-1, Through<&CtSvcDbIMGetRecords>(38)(&filter, nullptr, 2));
  });
  Check({39}, [&] {
    CtSvcPrimaryRecord record{};
    EXPECT_TRUE(Through<&CtSvcDbPrimaryGetRecord>(39)(nPrimary, &record));
    EXPECT_FALSE(Through<&CtSvcDbPrimaryGetRecord>(39)(nPrimary + 100, &record));
  });
  Check({40, 41}, [&] {
    CtSvcPostalAddressFilter filter;
    CtSvcPostalAddressFilterInit(&filter);
    filter.nPersonId = nAnn;
    CtSvcPostalAddressRecord records[2];
    EXPECT_EQ(1, Through<&CtSvcDbPostalAddressGetCount>(40)(&filter));
    EXPECT_EQ(1, Through<&CtSvcDbPostalAddressGetRecords>(41)(&filter, records, 2));
    EXPECT_STREQ("Town", records[0].Info.szCity);
    EXPECT_EQ(-1, Through<&CtSvcDbPostalAddressGetRecords>(41)(&filter, nullptr, 2));
  });
  Check({42}, [] {
    zel::test::TakePbsCompletions();
    const CtSvcBtPbsCtInfo request{0, 10, -1};
    EXPECT_FALSE(Through<&CtSvcFullCtListExForPBAP>(42)(CTSVC_USE_TYPE_PHONE, &request));  // no phonebook yet
    zel::test::SetPhoneStatus(PSV_SIM_MODE_NOSIM, 1);
    int bNoSim = 0;
    ASSERT_TRUE(CtSvcPhonebookInitialize(nullptr, nullptr, &bNoSim));
    EXPECT_FALSE(Through<&CtSvcFullCtListExForPBAP>(42)(CTSVC_USE_TYPE_PHONE, nullptr));
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE}), zel::test::TakePbsCompletions());
    zel::test::SetTimersManual(true);
    EXPECT_TRUE(Through<&CtSvcFullCtListExForPBAP>(42)(CTSVC_USE_TYPE_PHONE, &request));
    EXPECT_TRUE(zel::test::FireTimer("CtSvcVcardTime"));
    zel::test::SetTimersManual(false);
    EXPECT_EQ(std::vector<BOOL>{TRUE}, zel::test::TakePbsCompletions());
    EXPECT_TRUE(FmIsFileExist("/User/Bluetooth/_PBS/telecom/pb.vcf"));
  });
  Check({43}, [&] {
    EXPECT_FALSE(Through<&CtSvcDbMassSyncReadRecords>(43)(99, CTSVC_MASSSYNC_FORMAT_VCARD, 0, &MassSyncSeen::OnBatch));
    MassSyncSeen::nCards = 0;
    EXPECT_TRUE(Through<&CtSvcDbMassSyncReadRecords>(43)(CTSVC_MASSSYNC_TYPE_ALL, CTSVC_MASSSYNC_FORMAT_VCARD, 0,
                                                         &MassSyncSeen::OnBatch));
    ASSERT_EQ(1, WmWaitEventHandlerIdle(WmGetEventHandlerByName("CTSVC"), 10000));
    EXPECT_EQ(1, MassSyncSeen::nCards.load());
  });
  // Slots 44 to 58 and 61 with valid arguments: PhonebookSlotsWriteContactsAndGroupsAndReachTheCallbacks.
  Check({44, 61}, [] {
    EXPECT_EQ(INVALID_HOBJ, Through<&CtSvcPhonebookInsertContactToPhone>(44)(nullptr));
    EXPECT_EQ(INVALID_HOBJ, Through<&CtSvcPhonebookInsertContactToPhoneNoCommit>(61)(nullptr));
  });
  Check({45}, [&] { EXPECT_FALSE(Through<&CtSvcPhonebookUpdateContactToPhone>(45)(INVALID_HOBJ, &info)); });
  Check({46}, [] { EXPECT_FALSE(Through<&CtSvcPhonebookDeleteContactFromPhone>(46)(INVALID_HOBJ)); });
  Check({47}, [] { EXPECT_EQ(-1, Through<&CtSvcPhonebookInsertGroupToPhone>(47)(nullptr)); });
  Check({48}, [&] { EXPECT_FALSE(Through<&CtSvcPhonebookUpdateGroupToPhone>(48)(nClub, nullptr)); });
  Check({49}, [&] { EXPECT_FALSE(Through<&CtSvcPhonebookDeleteGroupFromPhone>(49)(nClub + 100)); });
  Check({50}, [] { EXPECT_FALSE(Through<&CtSvcPhonebookGetDefaultOwnNumber>(50)(nullptr, 0, nullptr, 0)); });
  Check({51, 52, 53, 54, 55, 56, 57, 58}, [] {
    // Unregistering what was never registered changes nothing, and null callbacks are not kept.
    for (int nSlot = 51; nSlot <= 58; ++nSlot) {
      Through<&CtSvcPhonebookRegisterContactCallback>(nSlot)(nullptr, nullptr);
      Through<&CtSvcPhonebookRegisterContactCallback>(nSlot)(&OnChange, nullptr);
    }
  });
  Check({59}, [&] {
    img_test::WritePlatformFile("/User/face.jpg", img_test::MakeJpeg(40, 40));
    const std::string strDst = m_dir.File("caller.jpg");
    EXPECT_TRUE(Through<&CtSvcImgSaveEx>(59)(strDst.c_str(), "/User/face.jpg"));
    EXPECT_FALSE(Through<&CtSvcImgSaveEx>(59)(strDst.c_str(), "/User/none.jpg"));
    EXPECT_FALSE(Through<&CtSvcImgSaveEx>(59)(nullptr, nullptr));
  });
  Check({60}, [] {
    char szPath[64];
    EXPECT_TRUE(Through<&CtSvcImgMakeCallerIdPath>(60)(3, "a.jpg", szPath, sizeof(szPath)));
    EXPECT_STREQ("/User/Mass/Ct/3/Images/a.jpg", szPath);
    EXPECT_FALSE(Through<&CtSvcImgMakeCallerIdPath>(60)(3, "a.jpg", szPath, 8));
    EXPECT_FALSE(Through<&CtSvcImgMakeCallerIdPath>(60)(3, nullptr, szPath, sizeof(szPath)));
  });
  std::vector<int> vcCovered;
  for (const auto& check : checks) {
    SCOPED_TRACE(CtSvcGetInterfaceSlotName(check.first.front()));
    check.second();
    vcCovered.insert(vcCovered.end(), check.first.begin(), check.first.end());
  }
  std::sort(vcCovered.begin(), vcCovered.end());
  std::vector<int> vcAll(CTSVC_INTERFACE_SLOT_COUNT);
  std::iota(vcAll.begin(), vcAll.end(), 0);
  EXPECT_EQ(vcAll, vcCovered);  // every slot once
  CCtSvcPhonebookMgr::Instance()->ResetForTest();
}

}  // namespace
