// Every handle-taking function refuses handles that are invalid, or live but of another kind,
// without crashing and without touching the object the handle belongs to.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "CoreTestSupport.h"
#include "ZelCoreTest.h"
#include "ZelFm.h"
#include "ZelOs.h"
#include "ZelWm.h"

namespace {

using zel::coretest::FunctionHandler;
using zel::coretest::RunOnThreads;
using zel::coretest::TempDataDir;

TEST(Handles, InvalidAndForeignHandlesAreRefusedEverywhere) {
  TempDataDir dir;
  FunctionHandler handler("Foreign", [](WmEHState*, WmEvent*) {});
  const HOBJ hHandler = handler.Handle();
  const HOBJ hGroup = WmGetEHGroupByName("ForeignGroup");
  const HOBJ hTask = OsCreateTask("Foreign", 0, 0, [](void*) {}, 0, nullptr);
  const HOBJ hMutex = OsCreateMutex("Foreign");
  const HOBJ hTimer = OsCreateTimer("Foreign", [](HOBJ, void*) {}, nullptr);
  const HOBJ hFile = FmCreateFile("/foreign.bin");
  const std::vector<HOBJ> live = {hHandler, hGroup, hTask, hMutex, hTimer, hFile};
  ASSERT_EQ(std::set<HOBJ>(live.begin(), live.end()).size(), live.size());
  std::vector<HOBJ> bad = {INVALID_HOBJ, 0, ZEL_INVALID_HANDLE_VALUE, 0x7FFFFFF0};
  bad.insert(bad.end(), live.begin(), live.end());
  zel::test::LogCapture log;
  unsigned char buf[OS_MSG_SIZE] = {};
  WmEvent ev{};
  for (HOBJ h : bad) {  // each kind of function gets the handles of every other kind
    SCOPED_TRACE(h);
    if (h != hTask) {
      EXPECT_FALSE(OsStartTask(h));
      EXPECT_FALSE(OsDeleteTask(h));
      EXPECT_FALSE(OsSendMessage(h, buf));
      EXPECT_EQ(OsReceiveMessage(h, buf, 0), -1);
      EXPECT_EQ(OsPeekMessage(h, 0, buf), -1);
      EXPECT_FALSE(OsDeleteMessages(h, 0));
      EXPECT_EQ(OsGetMessageCount(h), -1);
    }
    if (h != hMutex) {
      EXPECT_FALSE(OsLockMutex(h));
      EXPECT_FALSE(OsTryLockMutex(h));
      EXPECT_FALSE(OsUnlockMutex(h));
      EXPECT_FALSE(OsDeleteMutex(h));
    }
    if (h != hTimer) {
      EXPECT_FALSE(OsStartTimer(h, 1));
      EXPECT_FALSE(OsStopTimer(h));
      EXPECT_FALSE(OsIsTimerRunning(h));
      EXPECT_FALSE(OsDeleteTimer(h));
    }
    if (h != hFile) {
      EXPECT_EQ(FmReadFile(h, buf, 4), -1);
      EXPECT_EQ(FmWriteFile(h, buf, 4), -1);
      EXPECT_EQ(FmSeekFile(h, 0, FM_SEEK_SET), -1);
      EXPECT_EQ(FmGetFileSize(h), -1);
      EXPECT_FALSE(FmCloseFile(h));
    }
    if (h != hHandler) {
      EXPECT_FALSE(WmSendEvent(h, &ev));
      EXPECT_FALSE(WmDeleteEventHandler(h));
      EXPECT_FALSE(WmIsEventHandlerValid(h));
      EXPECT_EQ(WmGetEventHandlerState(h), WM_EH_STATE_INVALID);
      EXPECT_EQ(WmGetEventHandlerName(h), nullptr);
      EXPECT_EQ(WmWaitEventHandlerIdle(h, 0), -1);
    }
    if (h != hGroup) {
      EXPECT_EQ(WmCreateEventHandler(h, "NoGroup", nullptr, 0, nullptr), INVALID_HOBJ);
      EXPECT_FALSE(WmDeleteEHGroup(h));
    }
  }
  EXPECT_TRUE(log.Contains("invalid task handle"));
  EXPECT_TRUE(log.Contains("invalid event handler"));
  EXPECT_TRUE(log.Contains("invalid file handle"));
  // The refusals left every object working.
  EXPECT_TRUE(WmIsEventHandlerValid(hHandler));
  EXPECT_EQ(FmWriteFile(hFile, "ok", 2), 2);
  EXPECT_TRUE(FmCloseFile(hFile));
  EXPECT_TRUE(OsLockMutex(hMutex));
  EXPECT_TRUE(OsUnlockMutex(hMutex));
  EXPECT_TRUE(OsDeleteMutex(hMutex));
  EXPECT_TRUE(OsDeleteTimer(hTimer));
  EXPECT_TRUE(OsDeleteTask(hTask));
}

TEST(ThreadsHandles, ConcurrentCreationGivesDistinctHandles) {
  std::vector<std::vector<HOBJ>> perThread(4);
  RunOnThreads(4, [&](int t) {
    for (int i = 0; i < 250; ++i) {
      perThread[t].push_back(OsCreateMutex("Many"));
    }
  });
  std::set<HOBJ> all;
  for (const auto& handles : perThread) {
    all.insert(handles.begin(), handles.end());
  }
  EXPECT_EQ(all.size(), 1000u);
  EXPECT_EQ(all.count(INVALID_HOBJ), 0u);
  int nDeleted = 0;
  for (HOBJ h : all) {
    nDeleted += OsDeleteMutex(h);
  }
  EXPECT_EQ(nDeleted, 1000);
}

}  // namespace
