// The full-text query text "[group, {index, 'a*' and 'b*' }]" and its FTS5 MATCH form.
#ifndef ZEL_DB2_FTS_QUERY_H
#define ZEL_DB2_FTS_QUERY_H

#include <string>
#include <string_view>
#include <vector>

namespace zel::db2 {

// Longer query texts are refused (the longest real query, 126 bytes of search text split into
// one-letter words, stays well below).
inline constexpr size_t kMaxFtsQueryBytes = 800;

struct FtsTerm {
  std::string text;  // escapes undone
  bool bPrefix;      // written with a trailing '*'
};

struct FtsQuery {
  std::string group;  // lower case
  std::string index;  // lower case
  bool bAll = false;  // only '*': every indexed row
  std::vector<FtsTerm> terms;
};

// FALSE for any other form: unbalanced quotes, a '*' that does not end a term, an empty term,
// missing brackets, a text longer than kMaxFtsQueryBytes.
bool ParseFtsQuery(std::string_view text, FtsQuery* pOut);

// The FTS5 expression requiring every term: "w"* for a prefix term ("w" on a trigram index, where
// a phrase already matches anywhere inside the text); inner quotes doubled. On a word index a
// prefix term of two or more Hangul characters (syllables, or initial consonants) without a blank
// also matches its two halves as words, at every split: "오하은" is
// ("오하은"* OR ("오" AND "하은"*) OR ("오하" AND "은"*)).
std::string BuildMatchExpression(const std::vector<FtsTerm>& terms, bool bTrigram);

// Characters (not bytes) of a UTF-8 text.
size_t CharCount(std::string_view text);

}  // namespace zel::db2

#endif
