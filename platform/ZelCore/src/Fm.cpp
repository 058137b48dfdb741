// File system over host files: open files are POSIX descriptors behind platform handles, and
// every path is a platform path rooted in the data directory.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "FmInternal.h"
#include "HandleTable.h"
#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelImmortal.h"

namespace {

namespace fs = std::filesystem;

// An open file; the descriptor is closed when the last user lets go of it.
struct File {
  explicit File(int fd) : nFd(fd) {}
  ~File() {
    if (nFd >= 0) {
      close(nFd);
    }
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  const int nFd;
};

zel::internal::HandleTable<File>& Files() {
  static zel::Immortal<zel::internal::HandleTable<File>> s_files;
  return s_files.Get();
}

std::shared_ptr<File> FindFile(HOBJ hFile, const char* pszCaller) {
  std::shared_ptr<File> p = Files().Get(hFile);
  if (p == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s: - invalid file handle(%d)\n", pszCaller, hFile);
  }
  return p;
}

int OpenFlags(UINT32 nMode) {
  const bool bRead = (nMode & FM_READ) != 0 || (nMode & FM_WRITE) == 0;
  const bool bWrite = (nMode & (FM_WRITE | FM_APPEND)) != 0;
  int flags = O_CLOEXEC | (bRead && bWrite ? O_RDWR : bWrite ? O_WRONLY : O_RDONLY);
  flags |= (nMode & FM_CREATE) != 0 ? O_CREAT : 0;
  flags |= (nMode & FM_TRUNCATE) != 0 ? O_TRUNC : 0;
  flags |= (nMode & FM_APPEND) != 0 ? O_APPEND : 0;
  return flags;
}

bool StatHost(const char* pszPath, struct stat* pSt, std::string* pHost = nullptr) {
  std::string host;
  if (!zel::internal::HostPath(pszPath, &host)) {
    return false;
  }
  if (pHost != nullptr) {
    *pHost = host;
  }
  return stat(host.c_str(), pSt) == 0;
}

INT32 ToInt32(off_t n) { return n > INT32_MAX ? -1 : static_cast<INT32>(n); }

// Copies the bytes of one open file into another.
bool CopyBytes(int fdFrom, int fdTo) {
  char buf[8192];
  for (;;) {
    ssize_t n = read(fdFrom, buf, sizeof(buf));
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return n == 0;
    }
    for (ssize_t nDone = 0; nDone < n;) {
      const ssize_t w = write(fdTo, buf + nDone, static_cast<size_t>(n - nDone));
      if (w < 0 && errno == EINTR) {
        continue;
      }
      if (w <= 0) {
        return false;
      }
      nDone += w;
    }
  }
}

}  // namespace

extern "C" HOBJ FmOpenFile(const char* pszPath, UINT32 nMode) {
  std::string host;
  if (!zel::internal::HostPath(pszPath, &host)) {
    return INVALID_HOBJ;
  }
  const int fd = open(host.c_str(), OpenFlags(nMode), 0644);
  if (fd < 0) {
    DbgPrint(DBG_CLASS_FAIL, "FmOpenFile: - %s: %s\n", host.c_str(), std::strerror(errno));
    return INVALID_HOBJ;
  }
  return Files().Add(std::make_shared<File>(fd));
}

extern "C" HOBJ FmCreateFile(const char* pszPath) { return FmOpenFile(pszPath, FM_WRITE | FM_CREATE | FM_TRUNCATE); }

extern "C" INT32 FmReadFile(HOBJ hFile, void* pBuffer, UINT32 nSize) {
  std::shared_ptr<File> p = FindFile(hFile, "FmReadFile");
  if (p == nullptr || (pBuffer == nullptr && nSize > 0) || nSize > INT32_MAX) {
    return -1;
  }
  char* pOut = static_cast<char*>(pBuffer);
  UINT32 nDone = 0;
  while (nDone < nSize) {
    const ssize_t n = read(p->nFd, pOut + nDone, nSize - nDone);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      DbgPrint(DBG_CLASS_FAIL, "FmReadFile: - %s\n", std::strerror(errno));
      return -1;
    }
    if (n == 0) {
      break;  // end of file
    }
    nDone += static_cast<UINT32>(n);
  }
  return static_cast<INT32>(nDone);
}

extern "C" INT32 FmWriteFile(HOBJ hFile, const void* pBuffer, UINT32 nSize) {
  std::shared_ptr<File> p = FindFile(hFile, "FmWriteFile");
  if (p == nullptr || (pBuffer == nullptr && nSize > 0) || nSize > INT32_MAX) {
    return -1;
  }
  const char* pIn = static_cast<const char*>(pBuffer);
  UINT32 nDone = 0;
  while (nDone < nSize) {
    const ssize_t n = write(p->nFd, pIn + nDone, nSize - nDone);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      DbgPrint(DBG_CLASS_FAIL, "FmWriteFile: - %s\n", std::strerror(errno));
      return -1;
    }
    nDone += static_cast<UINT32>(n);
  }
  return static_cast<INT32>(nDone);
}

extern "C" INT32 FmSeekFile(HOBJ hFile, INT32 nOffset, int nWhence) {
  std::shared_ptr<File> p = FindFile(hFile, "FmSeekFile");
  if (p == nullptr) {
    return -1;
  }
  const int whence = nWhence == FM_SEEK_SET ? SEEK_SET : nWhence == FM_SEEK_CUR ? SEEK_CUR : nWhence == FM_SEEK_END ? SEEK_END : -1;
  if (whence < 0) {
    DbgPrint(DBG_CLASS_FAIL, "FmSeekFile: - invalid origin %d\n", nWhence);
    return -1;
  }
  const off_t pos = lseek(p->nFd, nOffset, whence);
  return pos < 0 ? -1 : ToInt32(pos);
}

extern "C" INT32 FmGetFileSize(HOBJ hFile) {
  std::shared_ptr<File> p = FindFile(hFile, "FmGetFileSize");
  struct stat st {};
  if (p == nullptr || fstat(p->nFd, &st) != 0) {
    return -1;
  }
  return ToInt32(st.st_size);
}

extern "C" BOOL FmCloseFile(HOBJ hFile) {
  if (Files().Remove(hFile) == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "FmCloseFile: - invalid file handle(%d)\n", hFile);
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL FmIsFileExist(const char* pszPath) {
  struct stat st {};
  return StatHost(pszPath, &st) && S_ISREG(st.st_mode) ? TRUE : FALSE;
}

extern "C" BOOL FmIsDirExist(const char* pszPath) {
  struct stat st {};
  return StatHost(pszPath, &st) && S_ISDIR(st.st_mode) ? TRUE : FALSE;
}

extern "C" BOOL FmCreateDir(const char* pszPath) {
  std::string host;
  if (!zel::internal::HostPath(pszPath, &host)) {
    return FALSE;
  }
  std::error_code ec;
  fs::create_directories(host, ec);
  if (!fs::is_directory(host)) {
    DbgPrint(DBG_CLASS_FAIL, "FmCreateDir: - %s: %s\n", host.c_str(), ec.message().c_str());
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL FmDeleteFile(const char* pszPath) {
  std::string host;
  struct stat st {};
  if (!StatHost(pszPath, &st, &host) || S_ISDIR(st.st_mode) || unlink(host.c_str()) != 0) {
    DbgPrint(DBG_CLASS_FAIL, "FmDeleteFile: - cannot delete %s\n", pszPath != nullptr ? pszPath : "(null)");
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL FmDeleteDir(const char* pszPath) {
  std::string host;
  struct stat st {};
  if (!StatHost(pszPath, &st, &host) || !S_ISDIR(st.st_mode)) {
    DbgPrint(DBG_CLASS_FAIL, "FmDeleteDir: - %s is not a directory\n", pszPath != nullptr ? pszPath : "(null)");
    return FALSE;
  }
  if (host == ZelGetDataDir()) {
    DbgPrint(DBG_CLASS_FAIL, "FmDeleteDir: - refusing to delete the data directory\n");
    return FALSE;
  }
  std::error_code ec;
  fs::remove_all(host, ec);
  if (ec) {
    DbgPrint(DBG_CLASS_FAIL, "FmDeleteDir: - %s: %s\n", host.c_str(), ec.message().c_str());
    return FALSE;
  }
  return TRUE;
}

// Copies through a temporary file beside the target, so a failed copy leaves the target as it was.
extern "C" BOOL FmCopyFile(const char* pszSrc, const char* pszDst) {
  std::string src;
  std::string dst;
  struct stat stSrc {};
  struct stat stDst {};
  if (!StatHost(pszSrc, &stSrc, &src) || !S_ISREG(stSrc.st_mode) || !zel::internal::HostPath(pszDst, &dst)) {
    DbgPrint(DBG_CLASS_FAIL, "FmCopyFile: - no file to copy at %s\n", pszSrc != nullptr ? pszSrc : "(null)");
    return FALSE;
  }
  if (stat(dst.c_str(), &stDst) == 0 && stDst.st_dev == stSrc.st_dev && stDst.st_ino == stSrc.st_ino) {
    DbgPrint(DBG_CLASS_FAIL, "FmCopyFile: - %s and %s are the same file\n", pszSrc, pszDst);
    return FALSE;
  }
  static std::atomic<unsigned> s_nTemp{0};  // two copies never share a temporary file
  const std::string tmp = dst + ".copy" + std::to_string(getpid()) + "." + std::to_string(++s_nTemp);
  bool bOk = false;
  {
    File from(open(src.c_str(), O_RDONLY | O_CLOEXEC));
    File to(open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    bOk = from.nFd >= 0 && to.nFd >= 0 && CopyBytes(from.nFd, to.nFd);
  }
  if (bOk && rename(tmp.c_str(), dst.c_str()) == 0) {
    return TRUE;
  }
  DbgPrint(DBG_CLASS_FAIL, "FmCopyFile: - copying %s to %s failed: %s\n", src.c_str(), dst.c_str(), std::strerror(errno));
  unlink(tmp.c_str());
  return FALSE;
}

extern "C" BOOL FmRenameFile(const char* pszOld, const char* pszNew) {
  std::string from;
  std::string to;
  if (!zel::internal::HostPath(pszOld, &from) || !zel::internal::HostPath(pszNew, &to) ||
      rename(from.c_str(), to.c_str()) != 0) {
    DbgPrint(DBG_CLASS_FAIL, "FmRenameFile: - cannot rename %s to %s\n", pszOld != nullptr ? pszOld : "(null)",
             pszNew != nullptr ? pszNew : "(null)");
    return FALSE;
  }
  return TRUE;
}

extern "C" INT32 FmGetFileSizeByPath(const char* pszPath) {
  struct stat st {};
  if (!StatHost(pszPath, &st) || !S_ISREG(st.st_mode)) {
    return -1;
  }
  return ToInt32(st.st_size);
}
