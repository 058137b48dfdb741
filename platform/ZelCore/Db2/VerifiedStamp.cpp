// The clean-close stamp: a line of numbers describing the file as it was at the close.
#include "VerifiedStamp.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>

#include "src/FmInternal.h"

namespace zel::db2 {

namespace {

std::string StampPath(const std::string& path) { return path + "-verified"; }

// The file's identity and times as one line; empty when the file cannot be read.
std::string Describe(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    return std::string();
  }
  char szLine[160];
  std::snprintf(szLine, sizeof(szLine), "%" PRIu64 " %" PRIu64 " %" PRId64 " %" PRId64 ".%09ld %" PRId64 ".%09ld\n",
                static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), static_cast<int64_t>(st.st_size),
                static_cast<int64_t>(st.st_mtim.tv_sec), st.st_mtim.tv_nsec, static_cast<int64_t>(st.st_ctim.tv_sec),
                st.st_ctim.tv_nsec);
  return szLine;
}

bool LogIsLeft(const std::string& path) {
  struct stat st {};
  return stat((path + "-wal").c_str(), &st) == 0 && st.st_size > 0;
}

}  // namespace

bool IsUnchangedSinceCleanClose(const std::string& path) {
  if (LogIsLeft(path)) {
    return false;
  }
  const std::string now = Describe(path);
  std::string stamp;
  return !now.empty() && internal::ReadWholeFile(StampPath(path), &stamp) && stamp == now;
}

void ForgetCleanClose(const std::string& path) { unlink(StampPath(path).c_str()); }

void StampCleanClose(const std::string& path) {
  const std::string now = LogIsLeft(path) ? std::string() : Describe(path);
  // Written beside and renamed over, so a stamp is never half a line.
  if (now.empty() || !internal::WriteFileAtomic(StampPath(path), now)) {
    ForgetCleanClose(path);
  }
}

}  // namespace zel::db2
