// Parsing of full-text query texts.
#include "FtsQuery.h"

#include <cctype>

#include "Dialect.h"

namespace zel::db2 {

namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : m_text(text) {}

  void SkipBlanks() {
    while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos]))) {
      ++m_pos;
    }
  }
  bool Expect(char c) {
    SkipBlanks();
    if (m_pos < m_text.size() && m_text[m_pos] == c) {
      ++m_pos;
      return true;
    }
    return false;
  }
  bool AtEnd() {
    SkipBlanks();
    return m_pos == m_text.size();
  }
  // An identifier of letters, digits and '_', lower-cased.
  bool Name(std::string* pOut) {
    SkipBlanks();
    const size_t nStart = m_pos;
    while (m_pos < m_text.size() &&
           (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) != 0 || m_text[m_pos] == '_')) {
      ++m_pos;
    }
    *pOut = ToLowerAscii(m_text.substr(nStart, m_pos - nStart));
    return m_pos > nStart;
  }
  bool Keyword(std::string_view word) {
    SkipBlanks();
    if (m_text.size() - m_pos > word.size() && EqualsNoCase(m_text.substr(m_pos, word.size()), word) &&
        std::isalnum(static_cast<unsigned char>(m_text[m_pos + word.size()])) == 0) {
      m_pos += word.size();
      return true;
    }
    return false;
  }
  // A quoted term; backslash escapes the next character, an unescaped '*' may only end it.
  bool Term(FtsTerm* pOut) {
    if (!Expect('\'')) {
      return false;
    }
    pOut->text.clear();
    pOut->bPrefix = false;
    while (m_pos < m_text.size()) {
      const char c = m_text[m_pos++];
      if (pOut->bPrefix && c != '\'') {
        return false;  // a '*' inside the term
      }
      if (c == '\'') {
        return true;
      }
      if (c == '*') {
        pOut->bPrefix = true;
      } else if (c == '\\') {
        if (m_pos == m_text.size()) {
          return false;
        }
        pOut->text.push_back(m_text[m_pos++]);
      } else {
        pOut->text.push_back(c);
      }
    }
    return false;  // no closing quote
  }

 private:
  std::string_view m_text;
  size_t m_pos = 0;
};

bool IsBlank(std::string_view text) {
  for (char c : text) {
    if (!std::isspace(static_cast<unsigned char>(c))) {
      return false;
    }
  }
  return true;
}

bool ParseTerms(Reader& r, FtsQuery* pOut) {
  bool bOnlyAll = true;
  do {
    FtsTerm term;
    if (!r.Term(&term)) {
      return false;
    }
    if (term.text.empty() && term.bPrefix) {
      continue;  // '*': every row; adds no condition
    }
    if (IsBlank(term.text)) {
      return false;
    }
    bOnlyAll = false;
    pOut->terms.push_back(std::move(term));
  } while (r.Keyword("and"));
  pOut->bAll = bOnlyAll;
  return true;
}

}  // namespace

bool ParseFtsQuery(std::string_view text, FtsQuery* pOut) {
  if (text.size() > kMaxFtsQueryBytes) {
    return false;
  }
  FtsQuery q;
  Reader r(text);
  if (!r.Expect('[') || !r.Name(&q.group) || !r.Expect(',') || !r.Expect('{') || !r.Name(&q.index) ||
      !r.Expect(',') || !ParseTerms(r, &q) || !r.Expect('}') || !r.Expect(']') || !r.AtEnd()) {
    return false;
  }
  *pOut = std::move(q);
  return true;
}

namespace {

// Longest word of Hangul split into two words (a full name written without its blank).
constexpr size_t kMaxSplitChars = 10;

// "text" with inner quotes doubled, and '*' for a prefix.
std::string Phrase(std::string_view text, bool bPrefix) {
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '"') {
      out += '"';
    }
  }
  return out + (bPrefix ? "\"*" : "\"");
}

// Byte offsets of the characters of a text made only of Hangul syllables or only of compatibility
// consonants (initials); empty for any other text.
std::vector<size_t> HangulCharStarts(std::string_view text) {
  std::vector<size_t> starts;
  bool bSyllables = false;
  bool bInitials = false;
  for (size_t i = 0; i < text.size();) {
    const unsigned char c0 = static_cast<unsigned char>(text[i]);
    if ((c0 & 0xF0) != 0xE0 || i + 3 > text.size()) {
      return {};
    }
    const unsigned cp = ((c0 & 0x0Fu) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
                        (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
    bSyllables = bSyllables || (cp >= 0xAC00 && cp <= 0xD7A3);
    bInitials = bInitials || (cp >= 0x3131 && cp <= 0x314E);
    if (!(cp >= 0xAC00 && cp <= 0xD7A3) && !(cp >= 0x3131 && cp <= 0x314E)) {
      return {};
    }
    starts.push_back(i);
    i += 3;
  }
  return bSyllables && bInitials ? std::vector<size_t>() : starts;
}

// A prefix term of Hangul typed without a blank also matches the name whose words it joins, in
// either order: "오하은" finds "오 하은" and "하은 오" as ("오" AND "하은"*), besides "오하은"*.
std::string MatchTerm(const FtsTerm& term, bool bTrigram) {
  const std::string whole = Phrase(term.text, term.bPrefix && !bTrigram);
  if (bTrigram || !term.bPrefix) {
    return whole;
  }
  const std::vector<size_t> starts = HangulCharStarts(term.text);
  if (starts.size() < 2 || starts.size() > kMaxSplitChars) {
    return whole;
  }
  std::string out = "(" + whole;
  const std::string_view text(term.text);
  for (size_t k = 1; k < starts.size(); ++k) {
    out += " OR (" + Phrase(text.substr(0, starts[k]), false) + " AND " + Phrase(text.substr(starts[k]), true) + ")";
  }
  return out + ")";
}

}  // namespace

std::string BuildMatchExpression(const std::vector<FtsTerm>& terms, bool bTrigram) {
  std::string out;
  for (const FtsTerm& term : terms) {
    if (!out.empty()) {
      out += " AND ";
    }
    out += MatchTerm(term, bTrigram);
  }
  return out;
}

size_t CharCount(std::string_view text) {
  size_t n = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++n;
    }
  }
  return n;
}

}  // namespace zel::db2
