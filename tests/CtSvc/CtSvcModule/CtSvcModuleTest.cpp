#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcDbPerson.h"
#include "CtSvcModule.h"
#include "CtSvcModule/CtSvcInterfaceTable.h"
#include "CtSvcPhonebook.h"
#include "CtSvcTask.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"
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
    // The Bluetooth full-list export and the two image functions arrive with their services.
    if (nSlot != 42 && nSlot != 59 && nSlot != 60) {
      EXPECT_NE(nullptr, ppSlots[nSlot]) << CtSvcGetInterfaceSlotName(nSlot);
    }
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
