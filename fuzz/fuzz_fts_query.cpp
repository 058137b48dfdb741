// The full-text query text: the Db2 parser on any text, and the search manager's query builder on
// any search text. On every input:
//  - a query the parser accepts has identifier names and non-blank terms, and its MATCH form (word
//    and trigram index) is accepted by FTS5 with the Db2 tokenizers;
//  - the builder's query always parses, back into exactly the blank-separated words of the
//    searched part of the text, each a prefix term (or "every row" when there is no word).
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CtSvcSearch/CtSvcSearchQuery.h"
#include "Db2/FtsQuery.h"
#include "Db2/FtsTokenizer.h"
#include "FuzzCheck.h"

namespace {

using zel::db2::FtsQuery;
using zel::db2::FtsTerm;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

bool IsName(const std::string& name) {
  if (name.empty()) {
    return false;
  }
  for (char c : name) {
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) {
      return false;
    }
  }
  return true;
}

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) {
      ++i;
    }
    const size_t nStart = i;
    while (i < text.size() && !IsBlank(text[i])) {
      ++i;
    }
    if (i > nStart) {
      words.emplace_back(text.substr(nStart, i - nStart));
    }
  }
  return words;
}

// An in-memory database with a word index and a trigram index the way Db2 creates them.
class MatchChecker {
 public:
  MatchChecker() {
    sqlite3_open(":memory:", &m_pDb);
    FUZZ_CHECK(zel::db2::RegisterFtsTokenizers(m_pDb), "the Db2 tokenizers register");
    Exec("CREATE VIRTUAL TABLE w USING fts5(t, tokenize = 'simplex', prefix = '1 2 3')");
    Exec("CREATE VIRTUAL TABLE g USING fts5(t, tokenize = 'trigram')");
    Exec("INSERT INTO w VALUES ('Anna Smith'), ('\xea\xb9\x80 \xeb\xaf\xbc\xec\xa7\x80'), ('o''brien \"q\" *x*')");
    Exec("INSERT INTO g VALUES ('01012345678'), ('anna@example.com'), ('o''brien')");
  }
  ~MatchChecker() { sqlite3_close(m_pDb); }
  MatchChecker(const MatchChecker&) = delete;
  MatchChecker& operator=(const MatchChecker&) = delete;

  // FTS5 runs the expression without a syntax error.
  bool Accepts(const char* pszTable, const std::string& expression) {
    const std::string sql = std::string("SELECT count(*) FROM ") + pszTable + " WHERE " + pszTable + " MATCH ?";
    sqlite3_stmt* pStmt = nullptr;
    int rc = sqlite3_prepare_v2(m_pDb, sql.c_str(), -1, &pStmt, nullptr);
    if (rc == SQLITE_OK) {
      sqlite3_bind_text(pStmt, 1, expression.data(), static_cast<int>(expression.size()), SQLITE_STATIC);
      rc = sqlite3_step(pStmt);
    }
    sqlite3_finalize(pStmt);
    if (rc != SQLITE_ROW) {
      std::fprintf(stderr, "FTS5 refused %s MATCH [%s]: %s\n", pszTable, expression.c_str(), sqlite3_errmsg(m_pDb));
    }
    return rc == SQLITE_ROW;
  }

 private:
  void Exec(const char* pszSql) { FUZZ_CHECK(sqlite3_exec(m_pDb, pszSql, nullptr, nullptr, nullptr) == SQLITE_OK, pszSql); }
  sqlite3* m_pDb = nullptr;
};

void CheckParsed(const FtsQuery& q) {
  static MatchChecker s_checker;
  FUZZ_CHECK(IsName(q.group) && IsName(q.index), "group and index are lower-case identifiers");
  FUZZ_CHECK(q.bAll == q.terms.empty(), "a query without terms means every row");
  std::vector<FtsTerm> trigramTerms;
  for (const FtsTerm& term : q.terms) {
    FUZZ_CHECK(!Words(term.text).empty(), "a term is never blank");
    if (zel::db2::CharCount(term.text) >= 3) {  // shorter ones are scanned, not matched
      trigramTerms.push_back(term);
    }
  }
  if (!q.terms.empty()) {
    FUZZ_CHECK(s_checker.Accepts("w", zel::db2::BuildMatchExpression(q.terms, false)), "FTS5 takes the word MATCH");
  }
  if (!trigramTerms.empty()) {
    FUZZ_CHECK(s_checker.Accepts("g", zel::db2::BuildMatchExpression(trigramTerms, true)), "FTS5 takes the trigram MATCH");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  // Both texts arrive as C strings.
  std::string_view text(reinterpret_cast<const char*>(pData), nSize);
  text = text.substr(0, text.find('\0'));

  FtsQuery parsed;
  if (zel::db2::ParseFtsQuery(text, &parsed)) {
    CheckParsed(parsed);
  }

  const std::string query = CtSvcSearchMakeQuery("msgplcontact", "name", text);
  FtsQuery built;
  FUZZ_CHECK(zel::db2::ParseFtsQuery(query, &built), "the builder's query parses");
  FUZZ_CHECK(built.group == "msgplcontact" && built.index == "name", "group and index survive");
  const std::vector<std::string> words = Words(CtSvcSearchCutText(text));
  FUZZ_CHECK(built.terms.size() == words.size(), "one term per word");
  for (size_t i = 0; i < words.size(); ++i) {
    FUZZ_CHECK(built.terms[i].text == words[i] && built.terms[i].bPrefix, "each word is its own prefix term");
  }
  FUZZ_CHECK(CtSvcSearchCutText(text).size() <= CTSVC_SEARCH_TEXT_MAX, "the searched part is bounded");
  FUZZ_CHECK(fuzz::IsUtf8(text) <= fuzz::IsUtf8(CtSvcSearchCutText(text)), "the cut never splits a character");
  CheckParsed(built);
  return 0;
}
