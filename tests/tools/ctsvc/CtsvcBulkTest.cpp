// ctsvc bulk: copies and moves between the card and the phone and deletes with their summaries and
// exit codes, bad command lines, and a run paused with Ctrl-C (SIGINT) and resumed with SIGUSR1
// that copies every contact once.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"
#include "ZelSimSampleCard.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;

size_t Lines(const std::string& strText) { return static_cast<size_t>(std::count(strText.begin(), strText.end(), '\n')); }

class CtsvcBulk : public ::testing::Test {
 public:
  void InsertCard(const std::string& strCard) {
    const std::string strSource = m_dir.File("sample.json");
    std::ofstream(strSource, std::ios::binary | std::ios::trunc) << strCard;
    const ToolRun run = Run("sim insert-card " + strSource);
    ASSERT_EQ(0, run.nExit) << run.strOut;
  }
  ToolRun Run(const std::string& strArgs, bool bStderr = true) {
    return RunTool("--data " + m_dir.Path() + " " + strArgs, bStderr);
  }
  ctsvc_test::TempDir m_dir;
};

TEST_F(CtsvcBulk, CopiesMovesAndDeletesReportWhatWasDone) {
  InsertCard(zel::sim::BuildSampleCard(zel::sim::SampleCardType::Usim, false));
  ASSERT_EQ(0, Run("boot").nExit);
  struct Step {
    const char* szArgs;
    int nExit;
    const char* szSummary;
  };
  const Step kSteps[] = {
      {"bulk copy sim-to-phone 1 2", 0, "copied 2 of 2 contacts"},
      {"bulk copy sim-to-phone --all", 0, "copied 7 of 7 contacts"},
      {"bulk move phone-to-sim --all", 0, "moved 9 of 9 contacts"},
      {"bulk move sim-to-phone 1", 0, "moved 1 of 1 contacts"},
      {"bulk delete 1", 0, "deleted 1 of 1 contacts"},
      {"bulk delete 999", 1, "no phone contact 999"},
      {"bulk copy sim-to-phone 250", 1, "no SIM contact in record 250"},
      {"bulk copy sideways --all", 2, "usage: bulk"},
      {"bulk copy sim-to-phone", 2, "give the ids or --all"},
      {"bulk delete --all", 2, "delete: ids only"},
  };
  for (const Step& step : kSteps) {
    SCOPED_TRACE(step.szArgs);
    const ToolRun run = Run(step.szArgs);
    EXPECT_EQ(step.nExit, run.nExit) << run.strOut;
    EXPECT_NE(std::string::npos, run.strOut.find(step.szSummary)) << run.strOut;
  }
  // 7 on the card, 9 moved onto it, 1 moved off again.
  EXPECT_EQ(15u, Lines(Run("sim list", false).strOut));
}

// The program run with its output on a pipe, read line by line.
class Child {
 public:
  explicit Child(const std::string& strDataDir, const std::string& strArgs) {
    const std::string strCommand = std::string(CTSVC_TOOL_PATH) + " --data " + strDataDir + " " + strArgs;
    int aPipe[2];
    if (pipe(aPipe) != 0) {
      return;
    }
    m_pid = fork();
    if (m_pid == 0) {
      dup2(aPipe[1], STDOUT_FILENO);
      dup2(aPipe[1], STDERR_FILENO);
      close(aPipe[0]);
      execl("/bin/sh", "sh", "-c", ("exec " + strCommand + " </dev/null").c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(aPipe[1]);
    m_fd = aPipe[0];
  }
  ~Child() {
    if (m_fd >= 0) {
      close(m_fd);
    }
  }
  // Reads until the output holds strText (true) or ends (false).
  bool WaitFor(const std::string& strText) {
    char buf[512];
    while (m_strOut.find(strText) == std::string::npos) {
      const ssize_t n = read(m_fd, buf, sizeof(buf));
      if (n <= 0) {
        return false;
      }
      m_strOut.append(buf, static_cast<size_t>(n));
    }
    return true;
  }
  void Signal(int nSignal) { kill(m_pid, nSignal); }
  int Exit() {
    WaitFor("\x01never");
    int nStatus = 0;
    waitpid(m_pid, &nStatus, 0);
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
  }
  const std::string& Out() const { return m_strOut; }
  // The number of contacts of the run, from its first line ("bulk: N contacts ...").
  std::string Total() const {
    const size_t nPos = m_strOut.find("bulk: ") + 6;
    return m_strOut.substr(nPos, m_strOut.find(' ', nPos) - nPos);
  }

 private:
  pid_t m_pid = -1;
  int m_fd = -1;
  std::string m_strOut;
};

// Fills the store with 50 phone contacts for a card with room for them.
void PrepareCopyToCard(CtsvcBulk& test) {
  test.InsertCard(zel::sim::BuildLargeUsimCard(40));
  ASSERT_EQ(0, test.Run("gen 50 --seed 7").nExit);
}

// Waits until the copy has started and pauses it with Ctrl-C.
void PauseWithCtrlC(Child& child) {
  ASSERT_TRUE(child.WaitFor("Ctrl-C pauses")) << child.Out();
  child.Signal(SIGINT);
  ASSERT_TRUE(child.WaitFor("kill -USR1")) << child.Out();
}

TEST_F(CtsvcBulk, CtrlCPausesAndSigusr1ResumesACopyThatThenCopiesEveryContactOnce) {
  PrepareCopyToCard(*this);
  ASSERT_FALSE(HasFatalFailure());
  Child child(m_dir.Path(), "bulk copy phone-to-sim --all");
  PauseWithCtrlC(child);
  ASSERT_FALSE(HasFatalFailure());
  child.Signal(SIGUSR1);
  ASSERT_TRUE(child.WaitFor("resumed")) << child.Out();
  EXPECT_EQ(0, child.Exit()) << child.Out();
  const std::string strTotal = child.Total();
  EXPECT_GE(std::stoi(strTotal), 50);
  EXPECT_NE(std::string::npos, child.Out().find("copied " + strTotal + " of " + strTotal + " contacts")) << child.Out();
  EXPECT_EQ(std::to_string(Lines(Run("sim list", false).strOut)), strTotal);
}

TEST_F(CtsvcBulk, ASecondCtrlCStopsTheRunAndTheSummarySaysHowFarItGot) {
  PrepareCopyToCard(*this);
  ASSERT_FALSE(HasFatalFailure());
  Child child(m_dir.Path(), "bulk copy phone-to-sim --all");
  PauseWithCtrlC(child);
  ASSERT_FALSE(HasFatalFailure());
  child.Signal(SIGINT);
  EXPECT_EQ(1, child.Exit()) << child.Out();
  EXPECT_NE(std::string::npos, child.Out().find("(stopped)")) << child.Out();
  const size_t nOnCard = Lines(Run("sim list", false).strOut);
  EXPECT_NE(std::string::npos, child.Out().find("copied " + std::to_string(nOnCard) + " of " + child.Total()))
      << child.Out();
}

}  // namespace
