// Whole-file reading and atomic replacement of host files.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "FmInternal.h"
#include "ZelDebug.h"

namespace {

// Closes the descriptor when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd) : m_fd(fd) {}
  ~Fd() {
    if (m_fd >= 0) {
      close(m_fd);
    }
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return m_fd; }
  // Closes now and reports whether the close succeeded (it can report a delayed write error).
  bool Close() {
    const int fd = m_fd;
    m_fd = -1;
    return close(fd) == 0;
  }

 private:
  int m_fd;
};

bool WriteAll(int fd, const char* p, size_t n) {
  while (n > 0) {
    const ssize_t nDone = write(fd, p, n);
    if (nDone < 0 && errno == EINTR) {
      continue;
    }
    if (nDone <= 0) {
      return false;
    }
    p += nDone;
    n -= static_cast<size_t>(nDone);
  }
  return true;
}

}  // namespace

namespace zel::internal {

bool ReadWholeFile(const std::string& hostPath, std::string* pContent) {
  Fd fd(open(hostPath.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) {
    return false;
  }
  std::string content;
  char buf[8192];
  for (;;) {
    const ssize_t n = read(fd.Get(), buf, sizeof(buf));
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      DbgPrint(DBG_CLASS_FAIL, "ReadWholeFile: - read %s failed: %s\n", hostPath.c_str(), std::strerror(errno));
      return false;
    }
    if (n == 0) {
      break;
    }
    content.append(buf, static_cast<size_t>(n));
  }
  *pContent = std::move(content);
  return true;
}

bool WriteFileAtomic(const std::string& hostPath, const std::string& content) {
  const std::filesystem::path target(hostPath);
  std::error_code ec;
  if (target.has_parent_path()) {
    std::filesystem::create_directories(target.parent_path(), ec);
  }
  static std::atomic<unsigned> s_nTemp{0};  // two writers never share a temporary file
  const std::string tmp = hostPath + ".tmp" + std::to_string(getpid()) + "." + std::to_string(++s_nTemp);
  Fd fd(open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  bool bOk = fd.Get() >= 0 && WriteAll(fd.Get(), content.data(), content.size()) && fsync(fd.Get()) == 0;
  bOk = fd.Get() >= 0 && fd.Close() && bOk;
  if (bOk && rename(tmp.c_str(), hostPath.c_str()) == 0) {
    return true;
  }
  DbgPrint(DBG_CLASS_FAIL, "WriteFileAtomic: - writing %s failed: %s\n", hostPath.c_str(), std::strerror(errno));
  unlink(tmp.c_str());
  return false;
}

}  // namespace zel::internal
