// The progress bar of long commands.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "CtsvcTool.h"

namespace ctsvc_tool {

void DrawProgress(int nDone, int nTotal) {
  if (!isatty(STDERR_FILENO) || nTotal <= 0) {
    return;
  }
  constexpr int kWidth = 40;
  const int nFilled = static_cast<int>(static_cast<long long>(nDone) * kWidth / nTotal);
  std::fprintf(stderr, "\r[%s%s] %d/%d", std::string(static_cast<size_t>(nFilled), '#').c_str(),
               std::string(static_cast<size_t>(kWidth - nFilled), '.').c_str(), nDone, nTotal);
  if (nDone == nTotal) {
    std::fprintf(stderr, "\n");
  }
  std::fflush(stderr);
}

}  // namespace ctsvc_tool
