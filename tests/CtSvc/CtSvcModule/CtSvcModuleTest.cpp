#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcModule.h"
#include "CtSvcModule/CtSvcInterfaceTable.h"
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
  for (int nSlot = 0; nSlot <= 43; ++nSlot) {
    if (nSlot != 42) {  // the Bluetooth full-list export arrives with the phonebook services
      EXPECT_NE(nullptr, ppSlots[nSlot]) << CtSvcGetInterfaceSlotName(nSlot);
    }
  }
  // Slots 0 and 1 count references on the descriptor.
  using RefFn = INT32 (*)();
  const INT32 nBefore = CtSvcGetClassDescriptor()->nRefCount;
  EXPECT_EQ(nBefore + 1, reinterpret_cast<RefFn>(ppSlots[0])());
  EXPECT_EQ(nBefore, reinterpret_cast<RefFn>(ppSlots[1])());
}

}  // namespace
