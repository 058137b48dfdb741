// The platform dialect -> SQLite rewrites. Each rewrite is one function over the tokens of one
// statement; TranslateDialect applies them in turn.
#include "Dialect.h"

#include <cctype>

#include "DateText.h"

namespace zel::db2 {

namespace {

using Tokens = std::vector<Token>;
constexpr size_t kNone = static_cast<size_t>(-1);

bool IsSpaceChar(unsigned char c) { return std::isspace(c) != 0; }
bool IsWordStart(unsigned char c) { return std::isalpha(c) != 0 || c == '_' || c >= 0x80; }
bool IsWordChar(unsigned char c) { return std::isalnum(c) != 0 || c == '_' || c == '$' || c >= 0x80; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// The closing quote of the quoted run starting at s[i] (a doubled quote stays inside), or kNone
// when the run is left open to the end of the text.
size_t ClosingQuote(std::string_view s, size_t i) {
  const char q = s[i];
  size_t j = i + 1;
  while (j < s.size()) {
    if (s[j] == q) {
      if (j + 1 < s.size() && s[j + 1] == q) {
        j += 2;
        continue;
      }
      return j;
    }
    ++j;
  }
  return kNone;
}

// One past the end of the quoted run starting at s[i].
size_t ScanQuoted(std::string_view s, size_t i) {
  const size_t close = ClosingQuote(s, i);
  return close == kNone ? s.size() : close + 1;
}

size_t ScanComment(std::string_view s, size_t i) {
  if (s[i + 1] == '-') {
    const size_t nl = s.find('\n', i);
    return nl == std::string_view::npos ? s.size() : nl + 1;
  }
  const size_t end = s.find("*/", i + 2);
  return end == std::string_view::npos ? s.size() : end + 2;
}

template <typename Pred>
size_t ScanWhile(std::string_view s, size_t j, Pred pred) {
  while (j < s.size() && pred(static_cast<unsigned char>(s[j]))) {
    ++j;
  }
  return j;
}

// ---- token navigation -----------------------------------------------------------------------

bool IsSignificant(const Token& t) { return t.kind != TokenKind::Space; }

size_t NextSig(const Tokens& t, size_t i) {
  for (size_t j = (i == kNone ? 0 : i + 1); j < t.size(); ++j) {
    if (IsSignificant(t[j])) {
      return j;
    }
  }
  return kNone;
}

size_t PrevSig(const Tokens& t, size_t i) {
  while (i > 0) {
    --i;
    if (IsSignificant(t[i])) {
      return i;
    }
  }
  return kNone;
}

size_t FirstSig(const Tokens& t) { return NextSig(t, kNone); }

size_t LastSig(const Tokens& t) { return PrevSig(t, t.size()); }

// A literal or quoted name that runs to the end of the text without its closing quote.
bool IsOpenQuoted(const Token& t) {
  return (t.kind == TokenKind::String || t.kind == TokenKind::Name) && ClosingQuote(t.text, 0) == kNone;
}

bool IsWord(const Tokens& t, size_t i, std::string_view word) {
  return i != kNone && t[i].kind == TokenKind::Word && EqualsNoCase(t[i].text, word);
}

bool IsPunct(const Tokens& t, size_t i, char c) {
  return i != kNone && t[i].kind == TokenKind::Punct && t[i].text[0] == c;
}

void Erase(Tokens& t, size_t from, size_t to) {  // inclusive range
  for (size_t i = from; i <= to && i < t.size(); ++i) {
    t[i] = Token{TokenKind::Space, std::string()};
  }
}

// Calls f(i) for each significant token outside parentheses, with the statement's nesting.
template <typename F>
void ForEachTopLevel(const Tokens& t, F f) {
  int nDepth = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    if (IsPunct(t, i, '(')) {
      ++nDepth;
    } else if (IsPunct(t, i, ')')) {
      --nDepth;
    } else if (nDepth == 0 && IsSignificant(t[i])) {
      f(i);
    }
  }
}

// ---- the rewrites ---------------------------------------------------------------------------

// "... ) volume vol2": the storage volume of a table does not exist on SQLite.
void StripVolume(Tokens& t) {
  for (size_t i = 0; i < t.size(); ++i) {
    const size_t n = NextSig(t, i);
    if (IsWord(t, i, "volume") && n != kNone && t[n].kind == TokenKind::Word && t[n].text.size() > 3 &&
        EqualsNoCase(t[n].text.substr(0, 3), "vol")) {
      Erase(t, i, n);
    }
  }
}

// "ISCAN <index>" wherever it stands. Returns the number of hints removed.
int StripIndexHints(Tokens& t) {
  int nRemoved = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    if (!IsWord(t, i, "iscan")) {
      continue;
    }
    const size_t n = NextSig(t, i);
    const bool bNamed = n != kNone && (t[n].kind == TokenKind::Word || t[n].kind == TokenKind::Name);
    Erase(t, i, bNamed ? n : i);
    ++nRemoved;
  }
  return nRemoved;
}

// "TRUNCATE [TABLE] t" -> "DELETE FROM t".
void TruncateToDelete(Tokens& t) {
  const size_t f = FirstSig(t);
  if (!IsWord(t, f, "truncate")) {
    return;
  }
  t[f].text = "DELETE FROM";
  const size_t n = NextSig(t, f);
  if (IsWord(t, n, "table")) {
    Erase(t, n, n);
  }
}

// "DROP INDEX x" -> "DROP INDEX IF EXISTS x": dropping a table has already dropped its indexes.
void DropIndexIfExists(Tokens& t) {
  const size_t f = FirstSig(t);
  const size_t n = NextSig(t, f);
  if (IsWord(t, f, "drop") && IsWord(t, n, "index") && !IsWord(t, NextSig(t, n), "if")) {
    t[n].text += " IF EXISTS";
  }
}

// n'...' -> '...': a national-character literal is an ordinary literal here.
void NationalLiterals(Tokens& t) {
  for (size_t i = 0; i + 1 < t.size(); ++i) {
    if (t[i].kind == TokenKind::Word && (t[i].text == "n" || t[i].text == "N") &&
        t[i + 1].kind == TokenKind::String) {
      Erase(t, i, i);
    }
  }
}

// rid and table.rid -> rowid (the ID column is the INTEGER PRIMARY KEY, so rowid = ID).
void RidToRowid(Tokens& t) {
  for (Token& tok : t) {
    if (tok.kind == TokenKind::Word && EqualsNoCase(tok.text, "rid")) {
      tok.text = "rowid";
    }
  }
}

// End of "( name )" or "( table . name )" starting at the "(" at open, or kNone.
size_t ClosingOfSimpleName(const Tokens& t, size_t open) {
  size_t i = NextSig(t, open);
  if (i == kNone || t[i].kind != TokenKind::Word) {
    return kNone;
  }
  i = NextSig(t, i);
  if (IsPunct(t, i, '.')) {
    i = NextSig(t, i);
    if (i == kNone || t[i].kind != TokenKind::Word) {
      return kNone;
    }
    i = NextSig(t, i);
  }
  return IsPunct(t, i, ')') ? i : kNone;
}

// LOWERCASE(x) -> lower(x); as the target of an UPDATE assignment, "LOWERCASE(col) =" -> "col =".
void LowercaseFunction(Tokens& t) {
  const bool bUpdate = IsWord(t, FirstSig(t), "update");
  for (size_t i = 0; i < t.size(); ++i) {
    if (!IsWord(t, i, "lowercase")) {
      continue;
    }
    const size_t open = NextSig(t, i);
    if (!IsPunct(t, open, '(')) {
      continue;
    }
    const size_t p = PrevSig(t, i);
    const bool bTarget = bUpdate && (IsWord(t, p, "set") || IsPunct(t, p, ','));
    const size_t close = bTarget ? ClosingOfSimpleName(t, open) : kNone;
    if (close != kNone && IsPunct(t, NextSig(t, close), '=')) {
      Erase(t, i, open);
      Erase(t, close, close);
    } else {
      t[i].text = "lower";
    }
  }
}

// "collation user1" -> "COLLATE user1".
void CollationKeyword(Tokens& t) {
  for (size_t i = 0; i < t.size(); ++i) {
    const size_t n = NextSig(t, i);
    if (IsWord(t, i, "collation") && n != kNone && t[n].kind == TokenKind::Word) {
      t[i].text = "COLLATE";
    }
  }
}

// The literal 18991231000 stands for the unset date.
void UnsetDateLiteral(Tokens& t) {
  for (Token& tok : t) {
    if (tok.kind == TokenKind::Number && tok.text == "18991231000") {
      tok = Token{TokenKind::String, std::string("'") + kUnsetDateText + "'"};
    }
  }
}

// '2024-1-5 0:0:0' -> '2024-01-05 00:00:00', so that date texts compare in date order.
void PadDateLiterals(Tokens& t) {
  for (Token& tok : t) {
    TmDateTime dt{};
    if (tok.kind == TokenKind::String && tok.text.size() >= 2 && tok.text.back() == '\'' &&
        ParseFullDateTimeText(std::string_view(tok.text).substr(1, tok.text.size() - 2), &dt)) {
      tok.text = "'" + FormatDateTimeText(dt) + "'";
    }
  }
}

// "like ?" -> "like ? ESCAPE '\'": patterns are escaped with a backslash.
void LikeEscape(Tokens& t) {
  for (size_t i = 0; i < t.size(); ++i) {
    const size_t n = NextSig(t, i);
    if (IsWord(t, i, "like") && n != kNone && t[n].kind == TokenKind::Param && !IsWord(t, NextSig(t, n), "escape")) {
      t[n].text += " ESCAPE '\\'";
    }
  }
}

// The column of "SELECT DISTINCT <column> FROM", or empty when the select list is anything else.
std::string DistinctColumn(const Tokens& t) {
  const size_t s = FirstSig(t);
  const size_t d = NextSig(t, s);
  if (!IsWord(t, s, "select") || !IsWord(t, d, "distinct")) {
    return std::string();
  }
  std::string column;
  size_t i = NextSig(t, d);
  for (; i != kNone && !IsWord(t, i, "from"); i = NextSig(t, i)) {
    const bool bWordPlace = column.empty() || column.back() == '.';
    if ((bWordPlace && t[i].kind != TokenKind::Word) || (!bWordPlace && !IsPunct(t, i, '.'))) {
      return std::string();
    }
    column += t[i].text;
  }
  return (i == kNone || column.empty() || column.back() == '.') ? std::string() : column;
}

// A hinted "SELECT DISTINCT <column> ..." took its order from the hinted index; without the
// hint the order must be asked for.
void OrderHintedDistinct(Tokens& t) {
  const std::string column = DistinctColumn(t);
  if (column.empty()) {
    return;
  }
  bool bOrdered = false;
  size_t limit = kNone;
  ForEachTopLevel(t, [&](size_t i) {
    if (IsWord(t, i, "order") && IsWord(t, NextSig(t, i), "by")) {
      bOrdered = true;
    } else if (IsWord(t, i, "limit") && limit == kNone) {
      limit = i;
    }
  });
  if (bOrdered) {
    return;
  }
  if (limit != kNone) {
    t[limit].text = "ORDER BY " + column + " " + t[limit].text;
  } else {
    const size_t last = LastSig(t);
    if (IsOpenQuoted(t[last])) {
      return;  // the text ends inside a literal: nothing may be added to it (the statement fails anyway)
    }
    const std::string order = " ORDER BY " + column;
    t[last].text = IsPunct(t, last, ';') ? order + ";" : t[last].text + order;
  }
}

// True when two tokens written next to each other would read back as something else: two
// literals as one, a comment opening, a longer word, number or parameter. A rewrite that removes
// or changes a token can bring such a pair together; the tokens of a text never form one.
bool WouldJoin(const Token& prev, const Token& next) {
  const unsigned char a = static_cast<unsigned char>(prev.text.back());
  const unsigned char b = static_cast<unsigned char>(next.text.front());
  switch (prev.kind) {
    case TokenKind::Word:
      return IsWordChar(b);
    case TokenKind::Number:
      return std::isalnum(b) != 0 || b == '.';
    case TokenKind::Param:
      return IsDigit(b) || (a == '\'' && b == '\'');  // "? ESCAPE '\'" ends in a literal
    case TokenKind::String:
    case TokenKind::Name:
      return b == a;
    case TokenKind::Punct:
      return (a == '.' && IsDigit(b)) || (a == '-' && b == '-') || (a == '/' && b == '*');
    case TokenKind::Space:
      return false;
  }
  return false;
}

// The tokens' texts in order, with a blank wherever a rewrite brought two tokens together that
// would otherwise read back as one.
std::string Join(const Tokens& t) {
  std::string out;
  const Token* pPrev = nullptr;
  for (const Token& tok : t) {
    if (tok.text.empty()) {
      continue;
    }
    if (pPrev != nullptr && WouldJoin(*pPrev, tok)) {
      out += ' ';
    }
    out += tok.text;
    pPrev = &tok;
  }
  return out;
}

std::string TranslateStatement(Tokens t) {
  if (FirstSig(t) == kNone) {
    return Join(t);
  }
  StripVolume(t);
  const int nHints = StripIndexHints(t);
  TruncateToDelete(t);
  DropIndexIfExists(t);
  NationalLiterals(t);
  RidToRowid(t);
  LowercaseFunction(t);
  CollationKeyword(t);
  UnsetDateLiteral(t);
  PadDateLiterals(t);
  LikeEscape(t);
  if (nHints > 0) {
    OrderHintedDistinct(t);
  }
  return Join(t);
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string ToLowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

std::vector<Token> Tokenize(std::string_view s) {
  std::vector<Token> out;
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const unsigned char next = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
    TokenKind kind = TokenKind::Punct;
    size_t j = i + 1;
    if (IsSpaceChar(c)) {
      kind = TokenKind::Space;
      j = ScanWhile(s, j, IsSpaceChar);
    } else if ((c == '-' && next == '-') || (c == '/' && next == '*')) {
      kind = TokenKind::Space;
      j = ScanComment(s, i);
    } else if (c == '\'') {
      kind = TokenKind::String;
      j = ScanQuoted(s, i);
    } else if (c == '"' || c == '`') {
      kind = TokenKind::Name;
      j = ScanQuoted(s, i);
    } else if (IsWordStart(c)) {
      kind = TokenKind::Word;
      j = ScanWhile(s, j, IsWordChar);
    } else if (IsDigit(c) || (c == '.' && IsDigit(next))) {
      kind = TokenKind::Number;
      j = ScanWhile(s, j, [](unsigned char ch) { return std::isalnum(ch) != 0 || ch == '.'; });
    } else if (c == '?') {
      kind = TokenKind::Param;
      j = ScanWhile(s, j, IsDigit);
    }
    out.push_back(Token{kind, std::string(s.substr(i, j - i))});
    i = j;
  }
  return out;
}

std::string TranslateDialect(std::string_view sql) {
  std::string out;
  Tokens statement;
  for (Token& tok : Tokenize(sql)) {
    const bool bEnd = tok.kind == TokenKind::Punct && tok.text == ";";
    statement.push_back(std::move(tok));
    if (bEnd) {
      out += TranslateStatement(std::move(statement));
      statement.clear();
    }
  }
  out += TranslateStatement(std::move(statement));
  return out;
}

std::string DroppedTable(std::string_view sql) {
  const Tokens t = Tokenize(sql);
  const size_t d = FirstSig(t);
  size_t i = NextSig(t, d);
  if (!IsWord(t, d, "drop") || !IsWord(t, i, "table")) {
    return std::string();
  }
  i = NextSig(t, i);
  if (IsWord(t, i, "if")) {
    i = NextSig(t, NextSig(t, i));  // "IF EXISTS"
  }
  if (i != kNone && IsPunct(t, NextSig(t, i), '.')) {  // schema-qualified
    i = NextSig(t, NextSig(t, i));
  }
  if (i == kNone || (t[i].kind != TokenKind::Word && t[i].kind != TokenKind::Name)) {
    return std::string();
  }
  const std::string& name = t[i].text;
  return t[i].kind == TokenKind::Name ? name.substr(1, name.size() >= 2 ? name.size() - 2 : 0) : name;
}

}  // namespace zel::db2
