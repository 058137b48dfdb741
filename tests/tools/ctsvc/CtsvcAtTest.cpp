// ctsvc at and ctsvc at-serve as a client sees them: one command line answered, and the served
// pseudo-terminal that keeps serving through bad lines and a client that leaves mid-answer, idles
// without using the processor, and stops cleanly on SIGTERM.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"

namespace ctsvc_tool_test {
namespace {

constexpr int kAnswerTimeoutMs = 20000;

// The at-serve process: started with its stdout on a pipe, stopped (if still running) at the end.
class Server {
 public:
  explicit Server(const std::string& strDataDir) {
    int aPipe[2];
    if (pipe(aPipe) != 0) {
      return;
    }
    const std::string strTool = CTSVC_TOOL_PATH;
    m_pid = fork();
    if (m_pid == 0) {
      dup2(aPipe[1], STDOUT_FILENO);
      close(aPipe[0]);
      execl(strTool.c_str(), "ctsvc", "--data", strDataDir.c_str(), "at-serve", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(aPipe[1]);
    char c = 0;
    while (read(aPipe[0], &c, 1) == 1 && c != '\n') {
      m_strPath += c;
    }
    m_nOut = aPipe[0];
  }
  ~Server() {
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
    if (m_nOut >= 0) {
      close(m_nOut);
    }
  }
  const std::string& Path() const { return m_strPath; }
  // Processor time used so far, in clock ticks.
  long CpuTicks() const {
    std::ifstream stat("/proc/" + std::to_string(m_pid) + "/stat");
    std::string strStat((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(strStat.substr(strStat.rfind(')') + 2));
    std::string strField;
    long nUser = 0;
    long nSystem = 0;
    for (int i = 3; i <= 15 && fields >> strField; ++i) {
      nUser = i == 14 ? std::stol(strField) : nUser;
      nSystem = i == 15 ? std::stol(strField) : nSystem;
    }
    return nUser + nSystem;
  }
  // Sends the signal and answers the exit code (-1 when it did not exit normally).
  int Stop(int nSignal) {
    kill(m_pid, nSignal);
    int nStatus = 0;
    const pid_t pid = waitpid(m_pid, &nStatus, 0);
    m_pid = -1;
    return pid > 0 && WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
  }

 private:
  pid_t m_pid = -1;
  int m_nOut = -1;
  std::string m_strPath;
};

// A client of the served terminal.
class Client {
 public:
  explicit Client(const std::string& strPath) : m_nFd(open(strPath.c_str(), O_RDWR | O_NOCTTY)) {
    termios tio{};
    if (m_nFd >= 0 && tcgetattr(m_nFd, &tio) == 0) {
      cfmakeraw(&tio);
      tcsetattr(m_nFd, TCSANOW, &tio);
    }
  }
  ~Client() {
    if (m_nFd >= 0) {
      close(m_nFd);
    }
  }
  bool IsOpen() const { return m_nFd >= 0; }
  bool Send(const std::string& strBytes) {
    return write(m_nFd, strBytes.data(), strBytes.size()) == static_cast<ssize_t>(strBytes.size());
  }
  // What arrives until a final result ends it (or the time is up).
  std::string Answer() { return _Read([](const std::string& strIn) { return Final(strIn); }); }
  // What arrives until it ends with the text.
  std::string AnswerEndingWith(const std::string& strEnd) {
    return _Read([&](const std::string& strIn) { return EndsWith(strIn, strEnd); });
  }
  std::string Ask(const std::string& strLine) { return Send(strLine + "\r") ? Answer() : ""; }

 private:
  template <typename Done>
  std::string _Read(Done done) {
    std::string strIn;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerTimeoutMs);
    while (!done(strIn) && std::chrono::steady_clock::now() < end) {
      pollfd in{m_nFd, POLLIN, 0};
      char aBuffer[4096];
      if (poll(&in, 1, 1000) > 0) {
        const ssize_t n = read(m_nFd, aBuffer, sizeof(aBuffer));
        if (n <= 0) {
          break;
        }
        strIn.append(aBuffer, static_cast<size_t>(n));
      }
    }
    return strIn;
  }
  static bool EndsWith(const std::string& strText, const std::string& strEnd) {
    return strText.size() >= strEnd.size() && strText.compare(strText.size() - strEnd.size(), strEnd.size(), strEnd) == 0;
  }
  static bool Final(const std::string& strIn) {
    return EndsWith(strIn, "\r\nOK\r\n") || EndsWith(strIn, "\r\nERROR\r\n") ||
           strIn.find("+CME ERROR") != std::string::npos;
  }
  int m_nFd;
};

class CtsvcAt : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(0, RunTool(Data() + " add --first Anna --last Berg --number +4930123").nExit);
    ASSERT_EQ(0, RunTool(Data() + " add --first \xD0\x96\xD0\xB5\xD0\xBD\xD1\x8F --number 0101234").nExit);
  }
  std::string Data() const { return "--data " + m_dir.Path(); }
  ctsvc_test::TempDir m_dir;
};

TEST_F(CtsvcAt, AnswersOneCommandLineAndFailsOnARefusedOne) {
  struct Case {
    const char* pszLine;
    int nExit;
    std::string strOut;
  };
  const Case kCases[] = {
      {"AT+CPBR=1,5", 0,
       "\r\n+CPBR: 1,\"+4930123\",145,\"Anna Berg\"\r\n+CPBR: 2,\"0101234\",129,\"????\"\r\n\r\nOK\r\n"},
      {"AT+CSCS=\"UCS2\";+CPBR=2", 0, "\r\n+CPBR: 2,\"0101234\",129,\"04160435043D044F\"\r\n\r\nOK\r\n"},
      {"AT+CPBS=\"SM\";+CPBS?", 0, "\r\n+CPBS: \"SM\",0,0\r\n\r\nOK\r\n"},  // no card
      {"AT+CMEE=1;+CPBR=5,1", 1, "\r\n+CME ERROR: 21\r\n"},
      {"ATD112", 1, "\r\nERROR\r\n"},
  };
  for (const Case& c : kCases) {
    const ToolRun run = RunTool(Data() + " at '" + c.pszLine + "'", false);
    EXPECT_EQ(run.nExit, c.nExit) << c.pszLine;
    EXPECT_EQ(run.strOut, c.strOut) << c.pszLine;
  }
}

// The command line starts the phonebook on the card as the phone does: the card's contacts are
// served without an earlier boot.
TEST_F(CtsvcAt, ServesTheCardsContactsWithoutAnEarlierBoot) {
  const std::string strCard = m_dir.File("card.json");
  ASSERT_EQ(0, RunTool(Data() + " sim make-card --gsm " + strCard).nExit);
  ASSERT_EQ(0, RunTool(Data() + " sim insert-card " + strCard).nExit);
  const ToolRun run = RunTool(Data() + " at 'AT+CPBS=\"SM\";+CPBS?'", false);
  EXPECT_EQ(0, run.nExit);
  EXPECT_EQ(0u, run.strOut.find("\r\n+CPBS: \"SM\",")) << run.strOut;
  EXPECT_EQ(std::string::npos, run.strOut.find("\"SM\",0,0")) << run.strOut;
}

TEST_F(CtsvcAt, ServesClientsThroughBadLinesAndClientsThatLeaveMidAnswer) {
  ASSERT_EQ(0, RunTool(Data() + " gen 1000 --seed 7").nExit);
  Server server(m_dir.Path());
  ASSERT_EQ(server.Path().rfind("/dev/pts/", 0), 0u) << server.Path();
  {
    Client client(server.Path());
    ASSERT_TRUE(client.IsOpen());
    EXPECT_EQ(client.Ask("AT+CPBR=1"), "AT+CPBR=1\r\r\n+CPBR: 1,\"+4930123\",145,\"Anna Berg\"\r\n\r\nOK\r\n");
    ASSERT_EQ(client.Ask("ATE0"), "ATE0\r\r\nOK\r\n");
    const std::string kError = "\r\nERROR\r\n";
    const std::string kBadLines[] = {std::string(5000, 'A'), "AT+CPBF=\"Anna", "AT+CPBR=5,1", "AT+CPBR=0",
                                     "AT+CPBR=99999", std::string("AT\x01\x80\xFF\x00", 6)};
    for (const std::string& strLine : kBadLines) {
      EXPECT_EQ(client.Ask(strLine), kError) << strLine.substr(0, 20);
    }
    EXPECT_EQ(client.Ask("AT+CPBS?"), "\r\n+CPBS: \"ME\",2000,2000\r\n\r\nOK\r\n");
    // Leaves right after asking for the whole phonebook.
    ASSERT_TRUE(client.Send("AT+CPBR=1,2000\r"));
  }
  // The next clients get their own answers (what the one that left did not read may come first).
  for (int i = 0; i < 2; ++i) {
    Client client(server.Path());
    ASSERT_TRUE(client.IsOpen());
    EXPECT_TRUE(client.Send("AT+CGMI\r"));
    const std::string strAnswer = client.AnswerEndingWith("\r\nZel\r\n\r\nOK\r\n");
    EXPECT_NE(strAnswer.find("AT+CGMI\r\r\nZel\r\n\r\nOK\r\n"), std::string::npos) << i;
  }
  const long nBefore = server.CpuTicks();
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(500)) {
    pollfd none{-1, 0, 0};
    poll(&none, 1, 100);
  }
  EXPECT_LT(server.CpuTicks() - nBefore, sysconf(_SC_CLK_TCK) / 4);
  EXPECT_EQ(server.Stop(SIGTERM), 0);
  Server interrupted(m_dir.Path());
  ASSERT_FALSE(interrupted.Path().empty());
  EXPECT_EQ(interrupted.Stop(SIGINT), 0);
}

}  // namespace
}  // namespace ctsvc_tool_test
