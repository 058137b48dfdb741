// A small tmpfs mounted on an existing empty directory while the object lives, so that tests can
// fill a file system for real. Mounting needs root and a kernel that lets the process mount;
// IsMounted() is false otherwise and the test skips with the reason.
#ifndef CTSVC_TEST_TMPFS_MOUNT_H
#define CTSVC_TEST_TMPFS_MOUNT_H

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace ctsvc_test {

class TmpfsMount {
 public:
  TmpfsMount(const std::string& strDir, size_t nBytes) : m_strDir(strDir) {
    const std::string strOptions = "size=" + std::to_string(nBytes) + ",mode=0755";
    if (geteuid() != 0) {
      m_strError = "not running as root";
    } else if (mount("tmpfs", strDir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, strOptions.c_str()) != 0) {
      m_strError = std::string("mount failed: ") + std::strerror(errno);
    } else {
      m_bMounted = true;
    }
  }
  ~TmpfsMount() {
    Unfill();
    if (m_bMounted) {
      umount2(m_strDir.c_str(), MNT_DETACH);
    }
  }
  TmpfsMount(const TmpfsMount&) = delete;
  TmpfsMount& operator=(const TmpfsMount&) = delete;

  bool IsMounted() const { return m_bMounted; }
  const std::string& Error() const { return m_strError; }

  // Writes a filler file until the volume has no more than nLeaveBytes free (rounded to pages).
  void Fill(size_t nLeaveBytes = 0) {
    const int fd = open(FillerPath().c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0) {
      return;
    }
    const std::vector<char> chunk(64 * 1024, 'x');
    for (size_t nChunk = chunk.size(); nChunk > 0; nChunk /= 2) {
      while (FreeBytes() >= nLeaveBytes + nChunk && write(fd, chunk.data(), nChunk) == static_cast<ssize_t>(nChunk)) {
      }
    }
    close(fd);
  }
  void Unfill() const { unlink(FillerPath().c_str()); }
  size_t FreeBytes() const {
    struct statvfs st {};
    return statvfs(m_strDir.c_str(), &st) == 0 ? static_cast<size_t>(st.f_bavail) * st.f_frsize : 0;
  }

 private:
  std::string FillerPath() const { return m_strDir + "/filler"; }

  std::string m_strDir;
  std::string m_strError;
  bool m_bMounted = false;
};

}  // namespace ctsvc_test

#endif
