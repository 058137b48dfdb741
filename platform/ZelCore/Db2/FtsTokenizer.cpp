// The "simplex" tokenizer.
#include "FtsTokenizer.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace zel::db2 {

namespace {

// Appends the case fold of c; an invalid sequence becomes U+FFFD.
void AppendFolded(std::string& out, UChar32 c) {
  const UChar32 folded = c < 0 ? 0xFFFD : u_foldCase(c, U_FOLD_CASE_DEFAULT);
  uint8_t bytes[U8_MAX_LENGTH];
  int32_t n = 0;
  U8_APPEND_UNSAFE(bytes, n, folded);
  out.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(n));
}

int Tokenize(Fts5Tokenizer* /*pTokenizer*/, void* pCtx, int /*nFlags*/, const char* pText, int nText,
             int (*xToken)(void*, int, const char*, int, int, int)) {
  if (pText == nullptr || nText <= 0) {
    return SQLITE_OK;
  }
  return ForEachFoldedWord(std::string_view(pText, static_cast<size_t>(nText)),
                           [&](std::string_view word, int nStart, int nEnd) {
                             return xToken(pCtx, 0, word.data(), static_cast<int>(word.size()), nStart, nEnd);
                           });
}

// The tokenizer keeps no state; every instance is this one object.
struct Stateless {
  int nUnused = 0;
} g_instance;

int Create(void* /*pCtx*/, const char** /*azArg*/, int /*nArg*/, Fts5Tokenizer** ppOut) {
  *ppOut = reinterpret_cast<Fts5Tokenizer*>(&g_instance);
  return SQLITE_OK;
}

void Delete(Fts5Tokenizer* /*pTokenizer*/) {}

fts5_api* Fts5Api(sqlite3* pDb) {
  fts5_api* pApi = nullptr;
  sqlite3_stmt* pStmt = nullptr;
  if (sqlite3_prepare_v2(pDb, "SELECT fts5(?1)", -1, &pStmt, nullptr) != SQLITE_OK) {
    return nullptr;
  }
  sqlite3_bind_pointer(pStmt, 1, static_cast<void*>(&pApi), "fts5_api_ptr", nullptr);
  sqlite3_step(pStmt);
  sqlite3_finalize(pStmt);
  return pApi;
}

}  // namespace

int ForEachFoldedWord(std::string_view text, const std::function<int(std::string_view, int, int)>& onWord) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(text.data());
  const int32_t n = static_cast<int32_t>(text.size());
  thread_local std::string t_word;
  int32_t i = 0;
  while (i < n) {
    const int32_t nStart = i;
    UChar32 c = 0;
    U8_NEXT(p, i, n, c);
    if (c >= 0 && u_isUWhiteSpace(c)) {
      continue;
    }
    t_word.clear();
    AppendFolded(t_word, c);
    int32_t nEnd = i;
    while (i < n) {
      U8_NEXT(p, i, n, c);
      if (c >= 0 && u_isUWhiteSpace(c)) {
        break;
      }
      AppendFolded(t_word, c);
      nEnd = i;
    }
    const int rc = onWord(t_word, nStart, nEnd);
    if (rc != 0) {
      return rc;
    }
  }
  return 0;
}

bool RegisterFtsTokenizers(sqlite3* pDb) {
  fts5_api* pApi = Fts5Api(pDb);
  if (pApi == nullptr) {
    return false;
  }
  fts5_tokenizer tokenizer{Create, Delete, Tokenize};
  return pApi->xCreateTokenizer(pApi, kWordTokenizer, nullptr, &tokenizer, nullptr) == SQLITE_OK;
}

}  // namespace zel::db2
