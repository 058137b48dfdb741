// Shared by the fuzz targets: invariant checks that stop the run with a readable message, and a
// UTF-8 check written apart from the library's, so that the two are compared rather than trusted.
#ifndef CTSVC_FUZZ_CHECK_H
#define CTSVC_FUZZ_CHECK_H

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// Stops the run (libFuzzer keeps the input) when an invariant does not hold.
#define FUZZ_CHECK(cond, what)                                                                       \
  do {                                                                                               \
    if (!(cond)) {                                                                                   \
      std::fprintf(stderr, "invariant failed: %s\n  (%s) at %s:%d\n", what, #cond, __FILE__, __LINE__); \
      std::abort();                                                                                  \
    }                                                                                                \
  } while (0)

namespace fuzz {

// Bytes of the well-formed UTF-8 sequence at text[i] (RFC 3629: no overlong form, no surrogate,
// nothing above U+10FFFF), or 0.
inline size_t Utf8SequenceAt(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) -> unsigned { return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0x100u; };
  const auto cont = [&](size_t k, unsigned lo = 0x80, unsigned hi = 0xBF) { return byte(k) >= lo && byte(k) <= hi; };
  const unsigned c = byte(0);
  if (c < 0x80) {
    return 1;
  }
  if (c >= 0xC2 && c <= 0xDF) {
    return cont(1) ? 2 : 0;
  }
  if (c >= 0xE0 && c <= 0xEF) {
    const bool bSecond = c == 0xE0 ? cont(1, 0xA0) : (c == 0xED ? cont(1, 0x80, 0x9F) : cont(1));
    return bSecond && cont(2) ? 3 : 0;
  }
  if (c >= 0xF0 && c <= 0xF4) {
    const bool bSecond = c == 0xF0 ? cont(1, 0x90) : (c == 0xF4 ? cont(1, 0x80, 0x8F) : cont(1));
    return bSecond && cont(2) && cont(3) ? 4 : 0;
  }
  return 0;
}

inline bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const size_t n = Utf8SequenceAt(text, i);
    if (n == 0) {
      return false;
    }
    i += n;
  }
  return true;
}

// The text made well-formed: every byte that does not start a well-formed sequence becomes '?'.
inline std::string ToUtf8(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const size_t n = Utf8SequenceAt(text, i);
    out.append(n == 0 ? std::string_view("?") : text.substr(i, n));
    i += n == 0 ? 1 : n;
  }
  return out;
}

}  // namespace fuzz

#endif
