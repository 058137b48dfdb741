// The "simplex" full-text tokenizer: words are the runs between blanks (Unicode white space),
// case-folded and without the accents the name order ignores ("Émile" and "emile" are one word,
// as "Øystein" and "oystein"). A stored word of Hangul syllables also gives the word of their
// initial consonants at its position ("하은" -> "ㅎㅇ"), so that initials find names. Registered on
// every connection through the FTS5 API.
#ifndef ZEL_DB2_FTS_TOKENIZER_H
#define ZEL_DB2_FTS_TOKENIZER_H

#include <sqlite3.h>

#include <functional>
#include <string>
#include <string_view>

namespace zel::db2 {

inline constexpr char kWordTokenizer[] = "simplex";

// Calls onWord(folded word, start byte, end byte) for every word of the UTF-8 text; stops and
// returns the callback's result when it is not 0.
int ForEachFoldedWord(std::string_view text, const std::function<int(std::string_view, int, int)>& onWord);

// The initial consonants (compatibility jamo) of a word made only of Hangul syllables, as UTF-8;
// FALSE for any other word.
bool HangulInitials(std::string_view word, std::string* pOut);

// Identity of the tokens this tokenizer makes; a store indexed under another one is refilled.
const char* WordTokenizerIdentity();

bool RegisterFtsTokenizers(sqlite3* pDb);

}  // namespace zel::db2

#endif
