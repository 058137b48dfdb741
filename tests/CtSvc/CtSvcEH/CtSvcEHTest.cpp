// The "CTSVC" event handler: account removals and the storage account, telephony events, and
// notifications run on its thread, dropped without a handler, their texts freed.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcEH/CtSvcEH.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "CtSvcTestThreads.h"
#include "MyAccountSvc/MyAccountSvc.h"
#include "ZelCommTAPI/ZelTapi.h"
#include "ZelCoreTest.h"
#include "ZelMem.h"
#include "ZelNv.h"

namespace {

constexpr UINT32 kNvStorageAccount = 0x54D;
const char kSettingFile[] = "CtSet.ini";

// What a handler saw, and on which event handler it ran.
struct Seen {
  std::string text;
  INT32 nParam1;
  INT32 nParam2;
  HOBJ hHandler;
  std::thread::id thread;
};

ctsvc_test::SyncLog<Seen> g_seen;

void OnNotify(void* pData, INT32 nParam1, INT32 nParam2) {
  g_seen.Add({static_cast<const char*>(pData), nParam1, nParam2, WmGetCurrentEventHandler(), std::this_thread::get_id()});
}
void OnAtRead(const TapiEvent* pEvent) {
  g_seen.Add({"read", pEvent->nParam1, pEvent->nParam2, WmGetCurrentEventHandler(), std::this_thread::get_id()});
}

// Sets a notification handler until the scope ends, then puts back the one the service had set.
ctsvc_test::OnExit SetNotify(UINT32 nType, CtSvcEHNotifyHandler pfn) {
  const CtSvcEHNotifyHandler pfnSaved = CtSvcEHGetNotifyHandler(nType);
  EXPECT_TRUE(CtSvcEHSetNotifyHandler(nType, pfn));
  return {[=] { CtSvcEHSetNotifyHandler(nType, pfnSaved); }};
}

// The service loaded, with "CTSVC" past its create event (so registered with the account
// service and the telephony library).
class ThreadsCtSvcEH : public ctsvc_test::ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    DrainEventHandler();
    g_seen.Take();
  }

  static HOBJ ServiceHandler() { return WmGetEventHandlerByName(CTSVC_EH_NAME); }

  static void AddAccount(INT32 nOrder, UINT32 nFlags) {
    MyAccount account{};
    account.nOrder = nOrder;
    account.nKind = MYACCOUNT_KIND_SNS;
    account.nFlags = nFlags;
    std::strcpy(account.szName, "sns");
    ASSERT_TRUE(MyAccountSvcAddAccount(&account));
  }
  static int Removals() { return ctsvc_test::CountWhere("CtSvc/DeleteAccount", "DEVICE_TYPE = 1 AND ACCOUNT_ID = 7"); }
  static INT32 ItemStorage() { return ctsvc_test::GetSetting(kSettingFile, "item_storage"); }
};

TEST_F(ThreadsCtSvcEH, RemovedAccountIsRecordedAndTheStorageAccountHandsStorageBackToThePhone) {
  struct Case {
    INT32 nStorageOrder;  // 0: no storage account
    bool bSettingFile;
    bool bReset;
  };
  const Case kCases[] = {{7, true, true}, {7, false, true}, {8, true, false}, {0, true, false}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nStorageOrder);
    ASSERT_NO_FATAL_FAILURE(AddAccount(7, MYACCOUNT_FLAG_CONTACT_SYNC));
    ASSERT_TRUE(NvSetInt(kNvStorageAccount, c.nStorageOrder != 0 ? 100 + c.nStorageOrder : 0));
    FmDeleteFile(kSettingFile);
    if (c.bSettingFile) {
      ASSERT_NO_FATAL_FAILURE(ctsvc_test::SetSetting(kSettingFile, "item_storage", 1));
    }
    const int nBefore = Removals();
    ASSERT_TRUE(MyAccountSvcRemoveAccount(7));
    DrainEventHandler();
    EXPECT_EQ(Removals(), nBefore + 1);
    if (c.bReset) {
      EXPECT_EQ(NvGetInt(kNvStorageAccount), 0);
      EXPECT_EQ(ItemStorage(), 0);  // the setting file is created when missing
    } else {
      EXPECT_EQ(NvGetInt(kNvStorageAccount), c.nStorageOrder != 0 ? 100 + c.nStorageOrder : 0);
      EXPECT_EQ(ItemStorage(), 1);
    }
  }
}

TEST_F(ThreadsCtSvcEH, StorageAccountThatStopsSynchronisingContactsHandsStorageBack) {
  struct Case {
    INT32 nUpdatedOrder;
    UINT32 nNewFlags;
    bool bReset;
  };
  const Case kCases[] = {{7, MYACCOUNT_FLAG_CONTACT_SYNC, false}, {7, 0x4, true}, {8, 0, false}, {7, 0, true}};
  ASSERT_NO_FATAL_FAILURE(AddAccount(7, MYACCOUNT_FLAG_CONTACT_SYNC));
  ASSERT_NO_FATAL_FAILURE(AddAccount(8, MYACCOUNT_FLAG_CONTACT_SYNC));
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nUpdatedOrder);
    ASSERT_TRUE(NvSetInt(kNvStorageAccount, 107));
    ASSERT_NO_FATAL_FAILURE(ctsvc_test::SetSetting(kSettingFile, "item_storage", 1));
    MyAccount account{};
    ASSERT_TRUE(MyAccountSvcGetAccountById(c.nUpdatedOrder, &account));
    account.nFlags = c.nNewFlags;
    ASSERT_TRUE(MyAccountSvcUpdateAccount(&account));
    DrainEventHandler();
    EXPECT_EQ(NvGetInt(kNvStorageAccount), c.bReset ? 0 : 107);
    EXPECT_EQ(ItemStorage(), c.bReset ? 0 : 1);
  }
  EXPECT_EQ(0, Removals());  // an update removes nothing
}

// Telephony events are taken for the AT client only; a type without a handler is still taken.
TEST_F(ThreadsCtSvcEH, TelephonyEventsAreTakenForTheAtClientOnly) {
  WmEHState state{ServiceHandler(), nullptr};
  const INT32 kCases[][3] = {{0x123, TAPI_EVENT_AT_PB_READ_IND, 0},
                             {TAPI_CLIENT_AT, 0x151, 1},
                             {TAPI_CLIENT_AT, 0x170, 1},
                             {TAPI_CLIENT_AT, TAPI_EVENT_AT_PB_WRITE_IND, 1}};
  for (const auto& c : kCases) {
    WmEvent event{};
    event.nEventId = TAPI_WM_EVENT_ID(c[1]);
    event.nClass = static_cast<UINT32>(c[0]);
    event.nKind = static_cast<UINT32>(c[1]);
    EXPECT_EQ(CtSvcTapiEvents(&state, &event), c[2]) << c[1];
  }
  zel::test::LogCapture capture;
  WmEvent event{};
  EXPECT_EQ(CtSvcTapiEvents(nullptr, &event), 0);
  EXPECT_EQ(CtSvcTapiEvents(&state, nullptr), 0);
  EXPECT_TRUE(capture.HasAssertion("pState != NULL"));
  EXPECT_TRUE(capture.HasAssertion("pEvent != NULL"));
}

// An AT indication raised for the service runs its handler on the service's thread (relayed
// listener notices are followed end to end by the listener tests); call events take no handler.
TEST_F(ThreadsCtSvcEH, AtIndicationRunsOnTheServiceThread) {
  EXPECT_FALSE(CtSvcEHSetTapiHandler(0x151, &OnAtRead));
  const CtSvcEHTapiHandler pfnSaved = CtSvcEHGetTapiHandler(TAPI_EVENT_AT_PB_READ_IND);
  ASSERT_TRUE(CtSvcEHSetTapiHandler(TAPI_EVENT_AT_PB_READ_IND, &OnAtRead));
  const ctsvc_test::OnExit restore{[=] { CtSvcEHSetTapiHandler(TAPI_EVENT_AT_PB_READ_IND, pfnSaved); }};
  ASSERT_TRUE(TapiRaiseEvent(TAPI_CLIENT_AT, TAPI_EVENT_AT_PB_READ_IND, 1, 20, nullptr));
  DrainEventHandler();
  const std::vector<Seen> seen = g_seen.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "read");
  EXPECT_EQ(seen[0].nParam1, 1);
  EXPECT_EQ(seen[0].nParam2, 20);
  EXPECT_EQ(seen[0].hHandler, ServiceHandler());
  EXPECT_NE(seen[0].thread, std::this_thread::get_id());
}

TEST_F(ThreadsCtSvcEH, NotificationWithoutHandlerOrOfUnknownTypeIsDropped) {
  EXPECT_FALSE(CtSvcEHSetNotifyHandler(0x2010, &OnNotify));
  const auto noFullSync = SetNotify(CTSVC_EH_FULLSYNC_NOTIFY, nullptr);
  const auto noListener = SetNotify(CTSVC_EH_DB_LISTENER_NOTIFY, nullptr);
  ASSERT_TRUE(CtSvcEHPostNotify(CTSVC_EH_FULLSYNC_NOTIFY, nullptr, 0, 0));
  ASSERT_TRUE(CtSvcEHPostNotify(0x2010, nullptr, 0, 0));
  ASSERT_TRUE(CtSvcEHPostNotify(0x12003, nullptr, 0, 0));  // only the low 16 bits are the type
  DrainEventHandler();
  EXPECT_TRUE(g_seen.Take().empty());
}

TEST_F(ThreadsCtSvcEH, SnsImageRequestTextIsFreedAfterTheHandlerAndWhenDropped) {
  auto PostText = [](const char* pszText) {
    char* psz = static_cast<char*>(MemAlloc(std::strlen(pszText) + 1));
    std::strcpy(psz, pszText);
    return CtSvcEHPostNotify(CTSVC_EH_SNS_IMAGE_REQUEST, psz, 3, 0);
  };
  DrainEventHandler();
  const size_t nOutstanding = MemGetOutstandingCount();
  {
    const auto none = SetNotify(CTSVC_EH_SNS_IMAGE_REQUEST, nullptr);
    ASSERT_TRUE(PostText("dropped"));
    DrainEventHandler();
  }
  const auto scope = SetNotify(CTSVC_EH_SNS_IMAGE_REQUEST, &OnNotify);
  ASSERT_TRUE(PostText("friend-42"));
  DrainEventHandler();
  EXPECT_EQ(MemGetOutstandingCount(), nOutstanding);
  const std::vector<Seen> seen = g_seen.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "friend-42");
  EXPECT_EQ(seen[0].nParam1, 3);
}

}  // namespace
