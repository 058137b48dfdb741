// Change lines between processes over a datagram socket in the data directory.
#include "ContentChangeWatcher.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>

#include "ZelFm.h"
#include "ZelImmortal.h"

namespace {

constexpr char kSocketName[] = "/ctsvc-changes.sock";
// After a send finds no watcher, sends are skipped for this long, so a process without a watcher
// pays one failed send a second at most.
constexpr auto kQuietAfterMiss = std::chrono::seconds(1);

bool MakeAddress(const std::string& strPath, sockaddr_un& addr) {
  if (strPath.size() >= sizeof(addr.sun_path)) {
    return false;
  }
  std::memset(&addr, 0, sizeof(addr));
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, strPath.c_str(), strPath.size() + 1);
  return true;
}

struct Sender {
  std::mutex mutex;
  int nSocket = -1;
  std::chrono::steady_clock::time_point quietUntil{};
};

Sender& TheSender() {
  static zel::Immortal<Sender> s_sender;  // kept for the life of the process: senders may run at exit
  return s_sender.Get();
}

}  // namespace

std::string ContentChangeSocketPath() { return std::string(ZelGetDataDir()) + kSocketName; }

void BroadcastContentChange(int nChangeType, const std::string& strUri, int nId) {
  Sender& sender = TheSender();
  std::lock_guard<std::mutex> lock(sender.mutex);
  const auto now = std::chrono::steady_clock::now();
  if (now < sender.quietUntil) {
    return;
  }
  sockaddr_un addr{};
  if (!MakeAddress(ContentChangeSocketPath(), addr)) {
    sender.quietUntil = now + kQuietAfterMiss;
    return;
  }
  if (sender.nSocket < 0) {
    sender.nSocket = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (sender.nSocket < 0) {
      sender.quietUntil = now + kQuietAfterMiss;
      return;
    }
  }
  const std::string strLine = std::to_string(nChangeType) + " " + std::to_string(nId) + " " + strUri;
  if (sendto(sender.nSocket, strLine.data(), strLine.size(), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&addr),
             sizeof(addr)) < 0 &&
      errno != EAGAIN) {
    sender.quietUntil = now + kQuietAfterMiss;  // no watcher (ENOENT, ECONNREFUSED)
  }
}

CContentChangeWatcher::~CContentChangeWatcher() {
  if (m_nSocket >= 0) {
    close(m_nSocket);
    unlink(m_strPath.c_str());
  }
}

bool CContentChangeWatcher::Open() {
  m_strPath = ContentChangeSocketPath();
  sockaddr_un addr{};
  if (m_nSocket >= 0 || !MakeAddress(m_strPath, addr)) {
    return false;
  }
  m_nSocket = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (m_nSocket < 0) {
    return false;
  }
  // A socket file left by a watcher that was killed is taken over; a live watcher keeps its own.
  if (bind(m_nSocket, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0 && errno == EADDRINUSE) {
    const int nProbe = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const bool bLive = nProbe >= 0 && connect(nProbe, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) == 0;
    if (nProbe >= 0) {
      close(nProbe);
    }
    if (bLive || unlink(m_strPath.c_str()) != 0 ||
        bind(m_nSocket, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0) {
      close(m_nSocket);
      m_nSocket = -1;
      return false;
    }
  }
  return true;
}

bool CContentChangeWatcher::Receive(std::string& strLine, int nTimeoutMs) {
  if (m_nSocket < 0) {
    return false;
  }
  pollfd pfd{m_nSocket, POLLIN, 0};
  if (poll(&pfd, 1, nTimeoutMs) <= 0) {
    return false;
  }
  char szBuf[512];
  const ssize_t n = recv(m_nSocket, szBuf, sizeof(szBuf), 0);
  if (n <= 0) {
    return false;
  }
  strLine.assign(szBuf, static_cast<size_t>(n));
  return true;
}
