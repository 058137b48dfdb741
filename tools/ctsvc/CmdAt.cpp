// ctsvc at and ctsvc at-serve: the phone's AT command line, answering one command line, or served
// on a pseudo-terminal that an AT phonebook client (gammu, a terminal program) opens.
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CtsvcTool.h"
#include "SimPhonebook.h"
#include "ZelCommTAPI/ZelAtCommand.h"
#include "ZelPhs.h"
#include "ZelWm.h"

namespace ctsvc_tool {

namespace {

using zel::at::AtFeed;
using zel::at::AtSession;

// How long a client that stopped reading may hold up the rest of an answer.
constexpr int kWriteStallMs = 2000;

// The service up, its AT client registered, and the phonebook started on the data directory's
// card as the phone starts it (the SIM's contacts and own numbers loaded and kept in step), so
// that the SIM answers find it initialised.
bool OpenAtService(const Options& options, const char* pszCommand) {
  if (!OpenService(options)) {
    return false;
  }
  const int nCardType = CtSvcSimGetCardType();
  PhsSetStatus(PSV_SIM_MODE_NOSIM, nCardType == CTSVC_SIM_CARD_TYPE_GSM || nCardType == CTSVC_SIM_CARD_TYPE_USIM ? 0 : 1);
  bool bNoSim = false;
  if (!StartPhonebook(pszCommand, &bNoSim)) {
    CloseService();
    return false;
  }
  WmWaitEventHandlerIdle(WmGetEventHandlerByName("CTSVC"), 10000);
  return true;
}

AtSession NewSession(bool bEcho) {
  AtSession session;
  char szImei[32] = {};
  if (PhsGetIMEIEx(szImei, sizeof(szImei)) && szImei[0] != '\0') {
    session.identity.strSerial = szImei;
  }
  session.bEcho = bEcho;
  return session;
}

bool EndsWith(const std::string& strText, const std::string& strEnd) {
  return strText.size() >= strEnd.size() && strText.compare(strText.size() - strEnd.size(), strEnd.size(), strEnd) == 0;
}

// ---- at-serve ----

int g_aStopPipe[2] = {-1, -1};

void OnStopSignal(int) {
  const char c = 's';
  (void)!write(g_aStopPipe[1], &c, 1);
}

bool InstallStopSignals() {
  if (pipe2(g_aStopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    return false;
  }
  struct sigaction action {};
  action.sa_handler = &OnStopSignal;
  sigemptyset(&action.sa_mask);
  return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

// The pseudo-terminal: the master served here, and a slave handle of our own held all the time,
// so that the master never hangs up (a master without slave reports POLLHUP and EIO at once,
// forever). Clients opening and closing the slave are seen through inotify: when one arrives on
// a free line, or the last one leaves, whatever an earlier client left unread is dropped.
class CPseudoTerminal {
 public:
  ~CPseudoTerminal() {
    for (int nFd : {m_nWatch, m_nOwnSlave, m_nMaster}) {
      if (nFd >= 0) {
        close(nFd);
      }
    }
  }
  bool Open() {
    m_nMaster = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char szPath[256] = {};
    if (m_nMaster < 0 || grantpt(m_nMaster) != 0 || unlockpt(m_nMaster) != 0 ||
        ptsname_r(m_nMaster, szPath, sizeof(szPath)) != 0 ||
        fcntl(m_nMaster, F_SETFL, fcntl(m_nMaster, F_GETFL) | O_NONBLOCK) != 0) {
      return false;
    }
    m_strPath = szPath;
    m_nOwnSlave = open(m_strPath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (m_nOwnSlave < 0 || tcgetattr(m_nOwnSlave, &tio) != 0) {
      return false;
    }
    cfmakeraw(&tio);
    tcsetattr(m_nOwnSlave, TCSANOW, &tio);
    // Watched after our own open: every event is a client's.
    m_nWatch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    return m_nWatch >= 0 && inotify_add_watch(m_nWatch, m_strPath.c_str(), IN_OPEN | IN_CLOSE) >= 0;
  }
  const std::string& Path() const { return m_strPath; }
  int Master() const { return m_nMaster; }
  int Watch() const { return m_nWatch; }
  // Times the line changed hands so far.
  int Handovers() const { return m_nHandovers; }

  // Takes the clients' opens and closes; true when the line changed hands (and was cleared).
  bool TakeClientEvents() {
    alignas(inotify_event) char aBuffer[4096];
    bool bChanged = false;
    for (ssize_t n; (n = read(m_nWatch, aBuffer, sizeof(aBuffer))) > 0;) {
      for (ssize_t i = 0; i < n;) {
        const auto* pEvent = reinterpret_cast<const inotify_event*>(aBuffer + i);
        const int nBefore = m_nClients;
        m_nClients += (pEvent->mask & IN_OPEN) != 0 ? 1 : 0;
        m_nClients -= (pEvent->mask & IN_CLOSE) != 0 && m_nClients > 0 ? 1 : 0;
        if ((nBefore == 0) != (m_nClients == 0)) {
          bChanged = true;
          ++m_nHandovers;
        }
        i += static_cast<ssize_t>(sizeof(inotify_event) + pEvent->len);
      }
    }
    if (bChanged) {
      _DropUnread();
    }
    return bChanged;
  }

  // Writes an answer; false when the client did not read it within kWriteStallMs: the rest is
  // dropped with whatever it left unread.
  bool Write(const std::string& strAnswer) {
    size_t nDone = 0;
    while (nDone < strAnswer.size()) {
      const ssize_t n = write(m_nMaster, strAnswer.data() + nDone, strAnswer.size() - nDone);
      if (n > 0) {
        nDone += static_cast<size_t>(n);
        continue;
      }
      pollfd out{m_nMaster, POLLOUT, 0};
      if (n < 0 && (errno == EINTR || (errno == EAGAIN && poll(&out, 1, kWriteStallMs) > 0))) {
        continue;
      }
      Warn("at-serve: the client stopped reading; the rest of the answer was dropped");
      _DropUnread();
      return false;
    }
    return true;
  }

 private:
  // What was written to the line and no client read (never what a client wrote).
  void _DropUnread() { tcflush(m_nOwnSlave, TCIFLUSH); }

  int m_nMaster = -1;
  int m_nOwnSlave = -1;
  int m_nWatch = -1;
  int m_nClients = 0;
  int m_nHandovers = 0;
  std::string m_strPath;
};

// Serves until a stop signal; 0 on a clean stop.
int Serve(CPseudoTerminal& terminal) {
  zel::at::CTapiAtPhonebook phonebook;
  AtSession session = NewSession(true);
  char aBuffer[4096];
  while (true) {
    pollfd fds[3] = {{g_aStopPipe[0], POLLIN, 0}, {terminal.Watch(), POLLIN, 0}, {terminal.Master(), POLLIN, 0}};
    if (poll(fds, 3, -1) < 0) {
      if (errno == EINTR) {
        continue;
      }
      return Fail(kExitFailure, std::string("at-serve: poll failed: ") + std::strerror(errno));
    }
    if (fds[0].revents != 0) {
      return kExitOk;
    }
    // A client's arrival is taken before its first bytes: it starts afresh.
    if (fds[1].revents != 0 && terminal.TakeClientEvents()) {
      session = NewSession(true);
    }
    if ((fds[2].revents & POLLIN) == 0) {
      continue;
    }
    const int nHandovers = terminal.Handovers();
    const ssize_t n = read(terminal.Master(), aBuffer, sizeof(aBuffer));
    if (n > 0) {
      // An answer whose asker left while it was made is dropped (TakeClientEvents clears it).
      if (!terminal.Write(AtFeed(session, phonebook, aBuffer, static_cast<size_t>(n))) ||
          (terminal.TakeClientEvents(), terminal.Handovers() != nHandovers)) {
        session = NewSession(true);
      }
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      // Not expected while our own handle holds the line; never spin on it.
      pollfd stop{g_aStopPipe[0], POLLIN, 0};
      poll(&stop, 1, 100);
    }
  }
}

}  // namespace

int RunAt(const Options& options, const Args& args) {
  const std::string strLine = args.Word(0);
  if (!OpenAtService(options, "at")) {
    return kExitFailure;
  }
  std::string strAnswer;
  {
    zel::at::CTapiAtPhonebook phonebook;
    AtSession session = NewSession(false);
    const std::string strInput = strLine + "\r";
    strAnswer = AtFeed(session, phonebook, strInput.data(), strInput.size());
  }
  CloseService();
  std::fwrite(strAnswer.data(), 1, strAnswer.size(), stdout);
  std::fflush(stdout);
  if (!EndsWith(strAnswer, "\r\nOK\r\n")) {
    return Fail(kExitFailure, "at: the command line was refused");
  }
  return kExitOk;
}

int RunAtServe(const Options& options, const Args& /*args*/) {
  if (!InstallStopSignals()) {
    return Fail(kExitFailure, "at-serve: cannot set up the stop signals");
  }
  CPseudoTerminal terminal;
  if (!terminal.Open()) {
    return Fail(kExitFailure, std::string("at-serve: cannot open a pseudo-terminal: ") + std::strerror(errno));
  }
  if (!OpenAtService(options, "at-serve")) {
    return kExitFailure;
  }
  std::printf("%s\n", terminal.Path().c_str());
  std::fflush(stdout);
  const int nResult = Serve(terminal);
  CloseService();
  return nResult;
}

}  // namespace ctsvc_tool
