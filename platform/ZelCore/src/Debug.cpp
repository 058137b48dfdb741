// Debug print and assertion report, with the in-memory capture used by tests.
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "ZelCoreTest.h"
#include "ZelDebug.h"
#include "ZelImmortal.h"

namespace {

struct Capture {
  int nId;
  std::vector<zel::test::LogLine> lines;
  std::vector<zel::test::AssertionRecord> asserts;
};

struct LogState {
  std::mutex mutex;
  std::vector<Capture> captures;
  int nNextId = 1;
  FILE* pOut = nullptr;
  bool bOutChecked = false;
  // Captures open, plus one when CTSVC_LOG names a sink: read without the lock on every line.
  std::atomic<int> nListeners{0};
};

LogState& State() {
  static zel::Immortal<LogState> s_state;  // never destroyed: threads may log during exit
  return s_state.Get();
}

// Opens the sink named by CTSVC_LOG once: "stderr", or a file path appended to.
FILE* OutputLocked(LogState& s) {
  if (!s.bOutChecked) {
    s.bOutChecked = true;
    const char* psz = std::getenv("CTSVC_LOG");
    if (psz != nullptr && *psz != '\0') {
      s.pOut = std::strcmp(psz, "stderr") == 0 ? stderr : std::fopen(psz, "a");
    }
    s.nListeners += s.pOut != nullptr ? 1 : 0;
  }
  return s.pOut;
}

// Whether a line goes anywhere: a capture is open or CTSVC_LOG names a sink. The service logs on
// its hottest paths (every statement it builds), so a line nobody takes is not even formatted.
bool IsListened() {
  LogState& s = State();
  static const bool s_bSinkChecked = [&s] {
    std::lock_guard<std::mutex> lock(s.mutex);
    OutputLocked(s);
    return true;
  }();
  (void)s_bSinkChecked;
  return s.nListeners.load(std::memory_order_relaxed) > 0;
}

void Emit(uint32_t nClass, const std::string& text) {
  LogState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  for (Capture& c : s.captures) {
    c.lines.push_back({nClass, text});
  }
  if (FILE* pOut = OutputLocked(s)) {
    std::fprintf(pOut, "[%06X] %s%s", nClass, text.c_str(), (!text.empty() && text.back() == '\n') ? "" : "\n");
    std::fflush(pOut);
  }
}

// "/abs/root/CtSvc/CtSvcDB/DbMgr/CtSvcDbMgr.cpp" -> "CtSvc/CtSvcDB/DbMgr/CtSvcDbMgr". A compiler
// launcher may hand sources over relative to the build directory ("../CtSvc/..."); the leading
// "../" steps are dropped the same way.
std::string ReportPath(const char* pszFile) {
  std::string path = pszFile != nullptr ? pszFile : "";
#ifdef ZEL_SOURCE_ROOT
  const std::string root = ZEL_SOURCE_ROOT;
  if (path.compare(0, root.size(), root) == 0) {
    path.erase(0, root.size());
  }
#endif
  while (path.compare(0, 3, "../") == 0 || path.compare(0, 2, "./") == 0) {
    path.erase(0, path[1] == '.' ? 3 : 2);
  }
  const size_t nSlash = path.find_last_of('/');
  const size_t nDot = path.find_last_of('.');
  if (nDot != std::string::npos && (nSlash == std::string::npos || nDot > nSlash)) {
    path.erase(nDot);
  }
  return path;
}

}  // namespace

extern "C" void DbgPrint(UINT32 nClass, const char* pszFormat, ...) {
  if (pszFormat == nullptr || !IsListened()) {
    return;
  }
  char szBuf[1024];
  va_list ap;
  va_start(ap, pszFormat);
  const int n = std::vsnprintf(szBuf, sizeof(szBuf), pszFormat, ap);
  va_end(ap);
  if (n < 0) {
    return;
  }
  if (static_cast<size_t>(n) < sizeof(szBuf)) {
    Emit(nClass, std::string(szBuf, static_cast<size_t>(n)));
    return;
  }
  std::vector<char> big(static_cast<size_t>(n) + 1);
  va_start(ap, pszFormat);
  std::vsnprintf(big.data(), big.size(), pszFormat, ap);
  va_end(ap);
  Emit(nClass, std::string(big.data(), static_cast<size_t>(n)));
}

extern "C" void AssertReport(int nKind, const char* pszLabel, const char* pszExpr, const char* pszFile, int nLine) {
  zel::test::AssertionRecord rec{nKind, pszLabel ? pszLabel : "", pszExpr ? pszExpr : "", ReportPath(pszFile), nLine};
  {
    LogState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    for (Capture& c : s.captures) {
      c.asserts.push_back(rec);
    }
  }
  DbgPrint(DBG_CLASS_FAIL, "%s: %s (%s:%d)\n", rec.label.c_str(), rec.expr.c_str(), rec.path.c_str(), nLine);
}

namespace zel::test {

LogCapture::LogCapture() {
  LogState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  m_nId = s.nNextId++;
  s.captures.push_back(Capture{m_nId, {}, {}});
  ++s.nListeners;
}

LogCapture::~LogCapture() {
  LogState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  for (auto it = s.captures.begin(); it != s.captures.end(); ++it) {
    if (it->nId == m_nId) {
      s.captures.erase(it);
      --s.nListeners;
      break;
    }
  }
}

namespace {
template <typename F>
auto WithCapture(int nId, F f) {
  LogState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  for (Capture& c : s.captures) {
    if (c.nId == nId) {
      return f(&c);
    }
  }
  return f(static_cast<Capture*>(nullptr));
}
}  // namespace

std::vector<LogLine> LogCapture::Lines() const {
  return WithCapture(m_nId, [](Capture* c) { return c ? c->lines : std::vector<LogLine>{}; });
}

std::vector<AssertionRecord> LogCapture::Assertions() const {
  return WithCapture(m_nId, [](Capture* c) { return c ? c->asserts : std::vector<AssertionRecord>{}; });
}

int LogCapture::Count(const std::string& text) const {
  return WithCapture(m_nId, [&](Capture* c) {
    int n = 0;
    if (c != nullptr) {
      for (const LogLine& l : c->lines) {
        n += l.text.find(text) != std::string::npos ? 1 : 0;
      }
    }
    return n;
  });
}

bool LogCapture::Contains(const std::string& text) const { return Count(text) > 0; }

bool LogCapture::HasAssertion(const std::string& expr) const {
  return WithCapture(m_nId, [&](Capture* c) {
    if (c != nullptr) {
      for (const AssertionRecord& a : c->asserts) {
        if (a.expr == expr) {
          return true;
        }
      }
    }
    return false;
  });
}

void LogCapture::Clear() {
  WithCapture(m_nId, [](Capture* c) {
    if (c != nullptr) {
      c->lines.clear();
      c->asserts.clear();
    }
    return 0;
  });
}

}  // namespace zel::test
