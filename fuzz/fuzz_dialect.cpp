// Any text through the dialect translator. On every input:
//  - the tokens joined give the text back;
//  - the SQLite form stays within a fixed multiple of the text (each rewrite adds a few bytes to
//    one token at most, so nothing can make it grow without bound);
//  - a text with no quote and no dialect word translates to itself;
//  - every literal of the text reaches the SQLite form unchanged and in order (dates are padded,
//    so literals that read as dates are left out of the comparison): no rewrite may run a
//    literal into its neighbour.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Db2/Dialect.h"
#include "FuzzCheck.h"

namespace {

using zel::db2::Token;
using zel::db2::TokenKind;

// Words (any case) and literals that some rewrite acts on.
constexpr std::string_view kDialectWords[] = {"volume", "iscan", "truncate", "drop", "rid", "lowercase",
                                              "collation", "like", "18991231000"};

bool MentionsDialect(std::string_view text) {
  if (text.find_first_of("'\"`") != std::string_view::npos) {
    return true;
  }
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return std::any_of(std::begin(kDialectWords), std::end(kDialectWords),
                     [&](std::string_view word) { return lower.find(word) != std::string::npos; });
}

bool MayBeDate(const std::string& literal) {
  return std::all_of(literal.begin(), literal.end(), [](unsigned char c) { return std::isdigit(c) || c == '-' || c == ':' || c == ' ' || c == '\''; });
}

std::vector<std::string> Literals(std::string_view sql, bool bSkipDates) {
  std::vector<std::string> out;
  for (const Token& t : zel::db2::Tokenize(sql)) {
    if (t.kind == TokenKind::String && !(bSkipDates && MayBeDate(t.text))) {
      out.push_back(t.text);
    }
  }
  return out;
}

// True when every element of part appears in whole, in order.
bool IsSubsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
  size_t j = 0;
  for (const std::string& s : whole) {
    if (j < part.size() && s == part[j]) {
      ++j;
    }
  }
  return j == part.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string_view text(reinterpret_cast<const char*>(pData), nSize);

  std::string joined;
  for (const Token& t : zel::db2::Tokenize(text)) {
    FUZZ_CHECK(!t.text.empty(), "a token holds at least one character");
    joined += t.text;
  }
  FUZZ_CHECK(joined == text, "the tokens give the text back");

  const std::string sql = zel::db2::TranslateDialect(text);
  FUZZ_CHECK(sql.size() <= 4 * text.size() + 64, "the SQLite form stays within 4x the text");
  if (!MentionsDialect(text)) {
    FUZZ_CHECK(sql == text, "a text without quotes or dialect words is left as it is");
  }
  FUZZ_CHECK(IsSubsequence(Literals(text, true), Literals(sql, false)), "literals reach the SQLite form unchanged");
  zel::db2::DroppedTable(text);
  return 0;
}
