// Listener delivery across threads: at once on the "Korin" task, through "CTSVC" from any other
// task, and dropped when the listener was unregistered before the relayed notice arrived.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "CtSvcEH/CtSvcEH.h"
#include "CtSvcTestEnv.h"
#include "ListenerTestSupport.h"

namespace {

using namespace ctsvc_listener_test;
using ctsvc_test::ServiceTest;

class ThreadsDbListenerTest : public ServiceTest {};

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
    CtSvcEHSetNotifyHandler(CTSVC_EH_JOB_REQUEST, &CtsvcBlocker::Wait);
    s_pActive = this;
    EXPECT_TRUE(CtSvcEHPostNotify(CTSVC_EH_JOB_REQUEST, nullptr, 0, 0));
  }
  ~CtsvcBlocker() {
    Release();
    CtSvcEHSetNotifyHandler(CTSVC_EH_JOB_REQUEST, m_pfnSaved);
  }
  void Release() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bReleased = true;
    m_cv.notify_all();
  }

 private:
  static void Wait(void*, INT32, INT32) {
    CtsvcBlocker* pSelf = s_pActive;
    std::unique_lock<std::mutex> lock(pSelf->m_mutex);
    pSelf->m_cv.wait(lock, [&] { return pSelf->m_bReleased; });
  }

  static inline CtsvcBlocker* s_pActive = nullptr;
  CtSvcEHNotifyHandler m_pfnSaved;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  bool m_bReleased = false;
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
