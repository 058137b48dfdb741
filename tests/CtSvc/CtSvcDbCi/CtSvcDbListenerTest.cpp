// Change listeners: change codes, pause and resume, full-sync notices, registration failures,
// handler listeners with their 56-byte record, and delivery across threads (at once on the
// "Korin" task, through "CTSVC" from any other, dropped once unregistered). List listeners are
// tried through the lists.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "CtSvcDbCi/CtSvcDbListenerModule.h"
#include "CtSvcDbCi/CtSvcDbObserver.h"
#include "CtSvcDbListener.h"
#include "CtSvcEH/CtSvcEH.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "CtSvcTestThreads.h"
#include "ZelMem.h"
#include "ZelWm.h"

namespace {

using ctsvc_test::OnExit;
using ctsvc_test::RunOnTask;

int InsertPerson() {
  return ctsvc_test::Row(CTSVC_DB_TABLE_PERSON).Int(CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE, CTSVC_USE_TYPE_PHONE).Insert("CtSvc/Person");
}

// One notice as a listener function received it.
struct Notice {
  int nCode;
  int nId;
  void* pUserData;
  std::thread::id thread;
  std::string strTask;
};

// Collects the notices of the listener functions it is the user data of, from any thread.
class Recorder : public ctsvc_test::SyncLog<Notice> {
 public:
  static void OnChange(INT32 nCode, INT32 nId, void* /*pInfo*/, void* pUserData) {
    static_cast<Recorder*>(pUserData)->Add({nCode, nId, pUserData, std::this_thread::get_id(), ctsvc_test::TaskName()});
  }
  static void OnFullSync(INT32 nState, void* pInfo, void* pUserData) { OnChange(nState, 0, pInfo, pUserData); }
  std::vector<int> TakeCodes() {
    std::vector<int> vcCodes;
    for (const Notice& notice : Take()) {
      vcCodes.push_back(notice.nCode);
    }
    return vcCodes;
  }
};

// A function listener of a URI for the scope's lifetime.
class UriListener {
 public:
  UriListener(int nUriType, Recorder& recorder) : m_nUriType(nUriType), m_pRecorder(&recorder) {
    EXPECT_TRUE(CtSvcDbListenerRegisterCallback(nUriType, &Recorder::OnChange, m_pRecorder, "test", 7));
  }
  ~UriListener() { CtSvcDbListenerUnregisterCallback(m_nUriType, &Recorder::OnChange, m_pRecorder); }
  UriListener(const UriListener&) = delete;
  UriListener& operator=(const UriListener&) = delete;

 private:
  int m_nUriType;
  Recorder* m_pRecorder;
};

// The only registered URI listener (the tests register one at a time).
const void* TheUriListener() {
  const auto vcListeners = CCtSvcDbListenerModule::Instance().m_vcDbUriListener.Snapshot();
  return vcListeners.size() == 1 ? vcListeners.front().get() : nullptr;
}

class CtSvcDbListenerTest : public ctsvc_test::ServiceTest {};
class ThreadsDbListenerTest : public ctsvc_test::ServiceTest {};

TEST_F(CtSvcDbListenerTest, EachWriteArrivesWithItsChangeCode) {
  struct Case {
    const char* szName;
    std::function<void(int)> write;  // on the person id
    int nExpected;
  };
  const Case kCases[] = {
      {"update",
       [](int nId) {
         CContentInput input;
         input.SetNString("FIRSTNAME", u"Ann");
         CContentMgr::Instance()->Update("CtSvc/Person", nId, input);
       },
       CTSVC_DB_LISTENER_CHANGE_UPDATED},
      {"delete", [](int nId) { CContentMgr::Instance()->Delete("CtSvc/Person", nId); },
       CTSVC_DB_LISTENER_CHANGE_DELETED},
      {"bulk delete", [](int nId) { CContentMgr::Instance()->Delete("CtSvc/Person/BulkOperation", nId); },
       CTSVC_DB_LISTENER_CHANGE_BULK_DELETED},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szName);
    Recorder recorder;
    UriListener listener(CTSVC_DB_URI_PERSON, recorder);
    int nId = -1;
    RunOnTask("Korin", [&] {
      nId = InsertPerson();
      c.write(nId);
    });
    const std::vector<Notice> vcNotices = recorder.Take();
    ASSERT_EQ(2u, vcNotices.size());
    EXPECT_EQ(CTSVC_DB_LISTENER_CHANGE_INSERTED, vcNotices[0].nCode);
    EXPECT_EQ(c.nExpected, vcNotices[1].nCode);
    EXPECT_EQ(nId, vcNotices[1].nId);
    EXPECT_EQ(&recorder, vcNotices[1].pUserData);
  }
  EXPECT_EQ(CTSVC_DB_LISTENER_CHANGE_UNKNOWN, CCtSvcDbObserver::ToChangeCode(7, 0));
}

TEST_F(CtSvcDbListenerTest, PausedListenersStayValidAndHearNothingUntilResumed) {
  OnExit resume{[] { CtSvcDbListenerResumeEx(FALSE); }};
  Recorder before;
  UriListener listenerBefore(CTSVC_DB_URI_PERSON, before);
  const void* pListener = TheUriListener();
  ASSERT_NE(nullptr, pListener);
  ASSERT_TRUE(CtSvcDbListenerPauseEx(FALSE));
  Recorder during;  // registered while paused: silent until resumed as well
  UriListener listenerDuring(CTSVC_DB_URI_PERSON, during);
  RunOnTask("Korin", [] { InsertPerson(); });
  RunOnTask("Writer", [] { InsertPerson(); });
  DrainEventHandler();
  EXPECT_TRUE(before.Take().empty());
  EXPECT_TRUE(during.Take().empty());
  EXPECT_TRUE(CtSvcDbListenerIsValidObserver(pListener));

  ASSERT_TRUE(CtSvcDbListenerResumeEx(FALSE));
  RunOnTask("Korin", [] { InsertPerson(); });
  EXPECT_EQ(std::vector<int>{CTSVC_DB_LISTENER_CHANGE_INSERTED}, before.TakeCodes());
  EXPECT_EQ(std::vector<int>{CTSVC_DB_LISTENER_CHANGE_INSERTED}, during.TakeCodes());
}

TEST_F(CtSvcDbListenerTest, PauseAndResumeTellFullSyncListenersUnlessTheExFormsAreToldNot) {
  OnExit resume{[] { CtSvcDbListenerResumeEx(FALSE); }};
  struct Case {
    const char* szName;
    BOOL (*pfnCall)();
    std::vector<int> vcExpected;
  };
  const Case kCases[] = {
      {"pause", [] { return CtSvcDbListenerPause(); }, {CTSVC_DB_FULLSYNC_STATE_STARTED}},
      {"resume", [] { return CtSvcDbListenerResume(); }, {CTSVC_DB_FULLSYNC_STATE_ENDED}},
      {"pause ex 0", [] { return CtSvcDbListenerPauseEx(FALSE); }, {}},
      {"resume ex 0", [] { return CtSvcDbListenerResumeEx(FALSE); }, {}},
      {"pause ex 1", [] { return CtSvcDbListenerPauseEx(TRUE); }, {CTSVC_DB_FULLSYNC_STATE_STARTED}},
  };
  Recorder recorder;
  ASSERT_TRUE(CtSvcDbListenerRegisterFullSyncCallback(&Recorder::OnFullSync, &recorder));
  OnExit unregister{[&] { CtSvcDbListenerUnregisterFullSyncCallback(&Recorder::OnFullSync, &recorder); }};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szName);
    RunOnTask("Korin", [&] { EXPECT_TRUE(c.pfnCall()); });
    EXPECT_EQ(c.vcExpected, recorder.TakeCodes());
  }
}

TEST_F(CtSvcDbListenerTest, BadRegistrationsAndUnknownUnregistrationsFailAndChangeNothing) {
  Recorder recorder;
  UriListener listener(CTSVC_DB_URI_PERSON, recorder);
  Recorder other;
  EXPECT_FALSE(CtSvcDbListenerUnregisterCallback(CTSVC_DB_URI_PERSON, &Recorder::OnChange, &other));
  EXPECT_FALSE(CtSvcDbListenerUnregisterCallback(CTSVC_DB_URI_EMAIL, &Recorder::OnChange, &recorder));
  EXPECT_FALSE(CtSvcDbListenerUnregisterHandler(CTSVC_DB_URI_PERSON, 12345, &recorder));
  EXPECT_FALSE(CtSvcDbListenerUnregisterFullSyncCallback(&Recorder::OnFullSync, &recorder));
  for (INT32 nBadType : {-1, 13}) {
    EXPECT_FALSE(CtSvcDbListenerRegisterCallback(nBadType, &Recorder::OnChange, &other, "test", 0));
  }
  EXPECT_FALSE(CtSvcDbListenerRegisterCallback(CTSVC_DB_URI_PERSON, nullptr, &other, "test", 0));
  EXPECT_FALSE(CtSvcDbListenerRegisterHandler(CTSVC_DB_URI_PERSON, INVALID_HOBJ, 1, &other, "test"));
  EXPECT_FALSE(CtSvcDbListenerRegisterFullSyncCallback(nullptr, &other));
  EXPECT_FALSE(CtSvcDbListenerListRegisterCallback(nullptr, &Recorder::OnChange, &other, 0));
  EXPECT_FALSE(CtSvcDbListenerListUnregisterCallback(nullptr, &Recorder::OnChange, &other));
  EXPECT_FALSE(CtSvcDbListenerIsValidObserver(&other));
  EXPECT_FALSE(CtSvcDbListenerIsValidObserver(nullptr));

  RunOnTask("Korin", [] { InsertPerson(); });
  EXPECT_EQ(1u, recorder.Take().size());
  EXPECT_TRUE(other.Take().empty());
  // A listener with neither a function nor a handler only logs.
  CCtSvcDbObserver observer(nullptr, INVALID_HOBJ, 0, nullptr, "CtSvc/Person", nullptr, "test", 0);
  observer.OnChange(CONTENT_CHANGE_INSERT, "CtSvc/Person", 1, 0, 0);
}

// A client event handler that keeps a copy of every listener record it receives.
class ClientHandler {
 public:
  static constexpr UINT32 kEvent = 0x1234;

  ClientHandler() {
    m_hGroup = WmCreateEHGroup("LsnTestGroup");
    const WmEventMapEntry map[] = {{kEvent, kEvent, &ClientHandler::OnEvent}};
    m_hHandler = WmCreateEventHandler(m_hGroup, "LsnTestClient", map, 1, this);
  }
  ~ClientHandler() { WmDeleteEHGroup(m_hGroup); }
  HOBJ Get() const { return m_hHandler; }
  std::vector<std::pair<WmEvent, std::vector<UINT8>>> Take() {
    EXPECT_EQ(1, WmWaitEventHandlerIdle(m_hHandler, 10000));
    return m_events.Take();
  }

 private:
  static int OnEvent(WmEHState* pState, WmEvent* pEvent) {
    const auto* pBytes = static_cast<const UINT8*>(pEvent->pData);
    static_cast<ClientHandler*>(pState->pUserData)->m_events.Add({*pEvent, {pBytes, pBytes + pEvent->nDataSize}});
    MemFree(pEvent->pData);
    return 1;
  }

  HOBJ m_hGroup;
  HOBJ m_hHandler;
  ctsvc_test::SyncLog<std::pair<WmEvent, std::vector<UINT8>>> m_events;
};

TEST_F(CtSvcDbListenerTest, HandlerListenerReceivesTheClientRecord) {
  ClientHandler client;
  ASSERT_NE(INVALID_HOBJ, client.Get());
  int nUserData = 0;
  ASSERT_TRUE(CtSvcDbListenerRegisterHandler(CTSVC_DB_URI_PERSON, client.Get(), ClientHandler::kEvent, &nUserData,
                                             "test"));
  const void* pListener = TheUriListener();
  int nId = -1;
  RunOnTask("Writer", [&] { nId = InsertPerson(); });
  const auto vcEvents = client.Take();
  EXPECT_TRUE(CtSvcDbListenerUnregisterHandler(CTSVC_DB_URI_PERSON, client.Get(), &nUserData));

  ASSERT_EQ(1u, vcEvents.size());
  const WmEvent& event = vcEvents[0].first;
  const std::vector<UINT8>& vcRecord = vcEvents[0].second;
  EXPECT_EQ(ClientHandler::kEvent, event.nEventId);
  EXPECT_EQ(CTSVC_DB_LISTENER_CHANGE_INSERTED, event.nParam1);
  EXPECT_EQ(nId, event.nParam2);
  ASSERT_EQ(56u, vcRecord.size());
  std::vector<UINT8> vcExpected(56, 0);
  vcExpected[0] = 20;
  vcExpected[1] = 2;
  const HOBJ hTarget = client.Get();
  std::memcpy(&vcExpected[4], &hTarget, 4);
  vcExpected[20] = 0;
  vcExpected[21] = 14;
  const UINT16 nEvent = ClientHandler::kEvent;
  std::memcpy(&vcExpected[22], &nEvent, 2);
  const INT32 nCode = CTSVC_DB_LISTENER_CHANGE_INSERTED;
  std::memcpy(&vcExpected[24], &nCode, 4);
  std::memcpy(&vcExpected[28], &nId, 4);
  const UINT64 nObserver = reinterpret_cast<uintptr_t>(pListener);
  std::memcpy(&vcExpected[32], &nObserver, 8);
  EXPECT_EQ(vcExpected, vcRecord);
}

TEST_F(ThreadsDbListenerTest, UiTaskIsCalledAtOnceAndOtherTasksThroughCtsvc) {
  struct Case {
    const char* szTask;
    bool bDirect;
  };
  const Case kCases[] = {{"Korin", true}, {"korin", true}, {"Korin2", false}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szTask);
    Recorder recorder;
    UriListener listener(CTSVC_DB_URI_PERSON, recorder);
    std::thread::id writer;
    RunOnTask(c.szTask, [&] {
      writer = std::this_thread::get_id();
      InsertPerson();
    });
    DrainEventHandler();
    const std::vector<Notice> vcNotices = recorder.Take();
    ASSERT_EQ(1u, vcNotices.size());
    if (c.bDirect) {
      EXPECT_EQ(writer, vcNotices[0].thread);
    } else {
      EXPECT_NE(writer, vcNotices[0].thread);
      EXPECT_EQ(CTSVC_EH_NAME, vcNotices[0].strTask);
    }
  }
}

TEST_F(ThreadsDbListenerTest, WriterWithoutTaskNameIsDropped) {
  Recorder recorder;
  UriListener listener(CTSVC_DB_URI_PERSON, recorder);
  std::thread([] { InsertPerson(); }).join();
  DrainEventHandler();
  EXPECT_TRUE(recorder.Take().empty());
}

// Keeps "CTSVC" busy with a notification that waits until released, so that what is posted
// behind it is handled only after the test has acted.
class CtsvcBlocker {
 public:
  CtsvcBlocker() : m_pfnSaved(CtSvcEHGetNotifyHandler(CTSVC_EH_JOB_REQUEST)) {
    s_pActive = this;
    CtSvcEHSetNotifyHandler(CTSVC_EH_JOB_REQUEST, [](void*, INT32, INT32) { s_pActive->m_release.WaitFor(1); });
    EXPECT_TRUE(CtSvcEHPostNotify(CTSVC_EH_JOB_REQUEST, nullptr, 0, 0));
  }
  ~CtsvcBlocker() {
    m_release.Add(0);
    EXPECT_EQ(1, WmWaitEventHandlerIdle(WmGetEventHandlerByName(CTSVC_EH_NAME), 10000));
    CtSvcEHSetNotifyHandler(CTSVC_EH_JOB_REQUEST, m_pfnSaved);
  }

 private:
  static inline CtsvcBlocker* s_pActive = nullptr;
  CtSvcEHNotifyHandler m_pfnSaved;
  ctsvc_test::SyncLog<int> m_release;
};

TEST_F(ThreadsDbListenerTest, RelayedNoticeOfAnUnregisteredListenerIsDropped) {
  Recorder recorder;
  {
    CtsvcBlocker blocker;
    ASSERT_TRUE(CtSvcDbListenerRegisterCallback(CTSVC_DB_URI_PERSON, &Recorder::OnChange, &recorder, "test", 0));
    ASSERT_TRUE(CtSvcDbListenerRegisterFullSyncCallback(&Recorder::OnFullSync, &recorder));
    RunOnTask("Writer", [] {
      InsertPerson();
      CtSvcDbListenerNotifyFullSync(CTSVC_DB_FULLSYNC_STATE_ENDED);
    });
    EXPECT_TRUE(CtSvcDbListenerUnregisterCallback(CTSVC_DB_URI_PERSON, &Recorder::OnChange, &recorder));
    EXPECT_TRUE(CtSvcDbListenerUnregisterFullSyncCallback(&Recorder::OnFullSync, &recorder));
  }
  DrainEventHandler();
  EXPECT_TRUE(recorder.Take().empty());
}

TEST_F(ThreadsDbListenerTest, RegistrationsRaceWithWritesWithoutLosingTheSteadyListener) {
  Recorder steady;
  UriListener listener(CTSVC_DB_URI_PERSON, steady);
  constexpr int kWrites = 40;
  std::thread churn([] {
    OsSetCurrentTaskName("Churn");
    for (int i = 0; i < kWrites; ++i) {
      Recorder passing;
      CtSvcDbListenerRegisterCallback(CTSVC_DB_URI_PERSON, &Recorder::OnChange, &passing, "churn", i);
      CtSvcDbListenerUnregisterCallback(CTSVC_DB_URI_PERSON, &Recorder::OnChange, &passing);
    }
  });
  RunOnTask("Writer", [] {
    for (int i = 0; i < kWrites; ++i) {
      InsertPerson();
    }
  });
  churn.join();
  DrainEventHandler();
  EXPECT_EQ(static_cast<size_t>(kWrites), steady.Take().size());
}

}  // namespace
