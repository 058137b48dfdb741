#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcEH/CtSvcEH.h"
#include "CtSvcTestEnv.h"
#include "MyAccountSvc/MyAccountSvc.h"
#include "ZelCommTAPI/ZelTapi.h"
#include "ZelCoreTest.h"
#include "ZelMem.h"
#include "ZelNv.h"
#include "ZelReg.h"

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

std::mutex g_seenMutex;
std::vector<Seen> g_seen;

void Remember(std::string text, INT32 nParam1, INT32 nParam2) {
  std::lock_guard<std::mutex> lock(g_seenMutex);
  g_seen.push_back(Seen{std::move(text), nParam1, nParam2, WmGetCurrentEventHandler(), std::this_thread::get_id()});
}

std::vector<Seen> TakeSeen() {
  std::lock_guard<std::mutex> lock(g_seenMutex);
  std::vector<Seen> seen;
  seen.swap(g_seen);
  return seen;
}

void OnListenerNotify(void* pData, INT32 nParam1, INT32 nParam2) {
  Remember(static_cast<const char*>(pData), nParam1, nParam2);
}
void OnAtRead(const TapiEvent* pEvent) { Remember("read", pEvent->nParam1, pEvent->nParam2); }

// Sets a handler for the test's lifetime and puts back the one the service's modules had set.
class NotifyHandlerScope {
 public:
  NotifyHandlerScope(UINT32 nType, CtSvcEHNotifyHandler pfn) : m_nType(nType), m_pfnSaved(CtSvcEHGetNotifyHandler(nType)) {
    EXPECT_TRUE(CtSvcEHSetNotifyHandler(nType, pfn));
  }
  ~NotifyHandlerScope() { CtSvcEHSetNotifyHandler(m_nType, m_pfnSaved); }

 private:
  UINT32 m_nType;
  CtSvcEHNotifyHandler m_pfnSaved;
};

class TapiHandlerScope {
 public:
  TapiHandlerScope(INT32 nType, CtSvcEHTapiHandler pfn) : m_nType(nType), m_pfnSaved(CtSvcEHGetTapiHandler(nType)) {
    EXPECT_TRUE(CtSvcEHSetTapiHandler(nType, pfn));
  }
  ~TapiHandlerScope() { CtSvcEHSetTapiHandler(m_nType, m_pfnSaved); }

 private:
  INT32 m_nType;
  CtSvcEHTapiHandler m_pfnSaved;
};

// The service loaded, with "CTSVC" past its create event (so registered with the account
// service and the telephony library).
class ThreadsCtSvcEH : public ctsvc_test::ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    DrainEventHandler();
    TakeSeen();
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
  static void SetItemStorage(INT32 nValue) {
    ASSERT_EQ(RegLoad(kSettingFile, 1), REG_OK);
    ASSERT_EQ(RegSetInt(kSettingFile, "sectionOne", "item_storage", nValue), REG_OK);
    ASSERT_EQ(RegFlush(kSettingFile), REG_OK);
    ASSERT_EQ(RegUnload(kSettingFile), REG_OK);
  }
  static INT32 ItemStorage() {
    INT32 nValue = -1;
    if (RegLoad(kSettingFile, 0) == REG_OK) {
      RegGetInt(kSettingFile, "sectionOne", "item_storage", &nValue);
      RegUnload(kSettingFile);
    }
    return nValue;
  }
  // (device type, account id) of every recorded account removal.
  static std::vector<std::pair<int, int>> RecordedRemovals() {
    std::vector<std::pair<int, int>> removals;
    std::vector<CContent> rows;
    if (CContentMgr::Instance()->GetCount("CtSvc/DeleteAccount", nullptr) == 0) {
      return removals;
    }
    EXPECT_TRUE(CContentMgr::Instance()->GetContents("CtSvc/DeleteAccount", nullptr, rows));
    for (const CContent& row : rows) {
      int32_t nDevice = -1;
      int32_t nAccount = -1;
      row.GetInt(1, nDevice);
      row.GetInt(2, nAccount);
      removals.emplace_back(nDevice, nAccount);
    }
    return removals;
  }
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
      ASSERT_NO_FATAL_FAILURE(SetItemStorage(1));
    }
    const size_t nBefore = RecordedRemovals().size();

    ASSERT_TRUE(MyAccountSvcRemoveAccount(7));
    DrainEventHandler();
    const std::vector<std::pair<int, int>> removals = RecordedRemovals();
    ASSERT_EQ(removals.size(), nBefore + 1);
    EXPECT_EQ(removals.back(), std::make_pair(1, 7));
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
    ASSERT_NO_FATAL_FAILURE(SetItemStorage(1));
    MyAccount account{};
    ASSERT_TRUE(MyAccountSvcGetAccountById(c.nUpdatedOrder, &account));
    account.nFlags = c.nNewFlags;
    ASSERT_TRUE(MyAccountSvcUpdateAccount(&account));
    DrainEventHandler();
    EXPECT_EQ(NvGetInt(kNvStorageAccount), c.bReset ? 0 : 107);
    EXPECT_EQ(ItemStorage(), c.bReset ? 0 : 1);
  }
  EXPECT_TRUE(RecordedRemovals().empty());  // an update removes nothing
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

// An AT indication raised for the service and a relayed listener notice run their handlers on the
// service's thread; call events take no handler.
TEST_F(ThreadsCtSvcEH, HandlersRunOnTheServiceThread) {
  EXPECT_FALSE(CtSvcEHSetTapiHandler(0x151, &OnAtRead));
  TapiHandlerScope tapi(TAPI_EVENT_AT_PB_READ_IND, &OnAtRead);
  static char szObserver[] = "observer";
  NotifyHandlerScope notify(CTSVC_EH_DB_LISTENER_NOTIFY, &OnListenerNotify);
  ASSERT_TRUE(TapiRaiseEvent(TAPI_CLIENT_AT, TAPI_EVENT_AT_PB_READ_IND, 1, 20, nullptr));
  ASSERT_TRUE(CtSvcEHPostNotify(CTSVC_EH_DB_LISTENER_NOTIFY, szObserver, 2, 41));
  DrainEventHandler();
  const std::vector<Seen> seen = TakeSeen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, "read");
  EXPECT_EQ(seen[0].nParam1, 1);
  EXPECT_EQ(seen[0].nParam2, 20);
  EXPECT_EQ(seen[1].text, "observer");
  EXPECT_EQ(seen[1].nParam1, 2);
  EXPECT_EQ(seen[1].nParam2, 41);
  for (const Seen& s : seen) {
    EXPECT_EQ(s.hHandler, ServiceHandler());
    EXPECT_NE(s.thread, std::this_thread::get_id());
  }
}

TEST_F(ThreadsCtSvcEH, NotificationWithoutHandlerOrOfUnknownTypeIsDropped) {
  EXPECT_FALSE(CtSvcEHSetNotifyHandler(0x2010, &OnListenerNotify));
  NotifyHandlerScope noFullSync(CTSVC_EH_FULLSYNC_NOTIFY, nullptr);
  NotifyHandlerScope noListener(CTSVC_EH_DB_LISTENER_NOTIFY, nullptr);
  ASSERT_TRUE(CtSvcEHPostNotify(CTSVC_EH_FULLSYNC_NOTIFY, nullptr, 0, 0));
  ASSERT_TRUE(CtSvcEHPostNotify(0x2010, nullptr, 0, 0));
  ASSERT_TRUE(CtSvcEHPostNotify(0x12003, nullptr, 0, 0));  // only the low 16 bits are the type
  DrainEventHandler();
  EXPECT_TRUE(TakeSeen().empty());
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
    NotifyHandlerScope none(CTSVC_EH_SNS_IMAGE_REQUEST, nullptr);
    ASSERT_TRUE(PostText("dropped"));
    DrainEventHandler();
  }
  NotifyHandlerScope scope(CTSVC_EH_SNS_IMAGE_REQUEST, &OnListenerNotify);
  ASSERT_TRUE(PostText("friend-42"));
  DrainEventHandler();
  EXPECT_EQ(MemGetOutstandingCount(), nOutstanding);
  const std::vector<Seen> seen = TakeSeen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "friend-42");
  EXPECT_EQ(seen[0].nParam1, 3);
}

}  // namespace
