// Translation of the platform SQL dialect into SQLite SQL. This is the only place where the
// dialect is rewritten; the rewrites work on tokens, so the inside of a string literal is never
// changed (except that an unpadded date literal is zero-padded, which keeps its meaning).
#ifndef ZEL_DB2_DIALECT_H
#define ZEL_DB2_DIALECT_H

#include <string>
#include <string_view>
#include <vector>

namespace zel::db2 {

enum class TokenKind {
  Space,    // blanks, and comments
  Word,     // identifier or keyword
  Number,   // numeric literal
  String,   // '...' literal, quotes included
  Name,     // "..." or `...` quoted identifier
  Param,    // ? or ?NNN
  Punct     // any other single character
};

struct Token {
  TokenKind kind;
  std::string text;
};

// Splits a statement text into tokens; joining the texts gives the input back.
std::vector<Token> Tokenize(std::string_view sql);

// The SQLite form of a dialect statement text (one or more statements).
std::string TranslateDialect(std::string_view sql);

// The table named by a "DROP TABLE [IF EXISTS] t" text, or empty.
std::string DroppedTable(std::string_view sql);

bool EqualsNoCase(std::string_view a, std::string_view b);
std::string ToLowerAscii(std::string_view text);

}  // namespace zel::db2

#endif
