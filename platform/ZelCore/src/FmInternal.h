// File helpers shared by the file system, the registry files and the Nv settings.
#ifndef ZEL_CORE_FM_INTERNAL_H
#define ZEL_CORE_FM_INTERNAL_H

#include <string>

namespace zel::internal {

// Host path of a platform path (see FmGetHostPath); false for null, empty or ".." paths.
bool HostPath(const char* pszPath, std::string* pHostPath);

// The whole content of a host file; false when it cannot be read.
bool ReadWholeFile(const std::string& hostPath, std::string* pContent);

// Replaces the host file with the content: written to a temporary file beside it, flushed, then
// renamed over it, so a reader sees the old or the new content, never a mix. Missing parent
// directories are created.
bool WriteFileAtomic(const std::string& hostPath, const std::string& content);

}  // namespace zel::internal

#endif
