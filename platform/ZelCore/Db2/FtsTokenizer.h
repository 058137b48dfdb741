// The "simplex" full-text tokenizer: words are the runs between blanks (Unicode white space),
// case-folded. Registered on every connection through the FTS5 API.
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

bool RegisterFtsTokenizers(sqlite3* pDb);

}  // namespace zel::db2

#endif
