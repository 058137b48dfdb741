// The "simplex" tokenizer: words between blanks, folded as the name order compares them.
#include "FtsTokenizer.h"

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/utf8.h>

#include <memory>
#include <unordered_map>
#include <vector>

#include "FtsRanked.h"
#include "ZelCollate.h"

namespace zel::db2 {

namespace {

// Raised whenever the tokens of a text change, so that stores refill their indexes.
constexpr char kTokenizerVersion[] = "simplex/2";

constexpr UChar32 kSyllableFirst = 0xAC00;
constexpr UChar32 kSyllableLast = 0xD7A3;
constexpr UChar32 kSyllablesPerInitial = 21 * 28;
// The compatibility jamo of the 19 initial consonants, in syllable order.
constexpr char16_t kInitialJamo[] = u"\u3131\u3132\u3134\u3137\u3138\u3139\u3141\u3142\u3143\u3145"
                                    u"\u3146\u3147\u3148\u3149\u314A\u314B\u314C\u314D\u314E";

bool IsSyllable(UChar32 c) { return c >= kSyllableFirst && c <= kSyllableLast; }

void AppendUtf8(std::string& out, UChar32 c) {
  uint8_t bytes[U8_MAX_LENGTH];
  int32_t n = 0;
  U8_APPEND_UNSAFE(bytes, n, c);
  out.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(n));
}

std::string PrimaryKey(const icu::UnicodeString& text) {
  unsigned char buf[256];
  const int n = ZelCollatePrimaryKey(reinterpret_cast<const MCHAR*>(text.getBuffer()), text.length(), buf, sizeof(buf));
  return n > 0 && n <= static_cast<int>(sizeof(buf)) ? std::string(reinterpret_cast<const char*>(buf), n) : std::string();
}

// A text equal to c in the name order without its accents: c without its combining marks, or its
// ASCII spelling ('o with stroke' -> "o", 'sharp s' -> "ss"); c itself when neither is equal
// (Cyrillic short i, thorn).
icu::UnicodeString Unaccented(UChar32 c) {
  const icu::UnicodeString original(c);
  UErrorCode err = U_ZERO_ERROR;
  const icu::Normalizer2* pNfd = icu::Normalizer2::getNFDInstance(err);
  const icu::Normalizer2* pNfc = icu::Normalizer2::getNFCInstance(err);
  if (U_FAILURE(err)) {
    return original;
  }
  icu::UnicodeString decomposed = pNfd->normalize(original, err);
  icu::UnicodeString stripped;
  for (int32_t i = 0; i < decomposed.length(); i = decomposed.moveIndex32(i, 1)) {
    const UChar32 d = decomposed.char32At(i);
    if (u_charType(d) != U_NON_SPACING_MARK) {
      stripped.append(d);
    }
  }
  std::vector<icu::UnicodeString> candidates{pNfc->normalize(stripped, err)};
  UErrorCode status = U_ZERO_ERROR;
  if (uscript_getScript(c, &status) == USCRIPT_LATIN && c >= 0x80) {
    thread_local std::unique_ptr<icu::Transliterator> t_pToAscii(
        icu::Transliterator::createInstance("Latin-ASCII", UTRANS_FORWARD, status));
    if (t_pToAscii != nullptr) {
      icu::UnicodeString ascii(c);
      t_pToAscii->transliterate(ascii);
      candidates.push_back(ascii);
    }
  }
  const std::string key = PrimaryKey(original);
  for (const icu::UnicodeString& candidate : candidates) {
    if (U_SUCCESS(err) && !candidate.isEmpty() && candidate != original && PrimaryKey(candidate) == key) {
      return candidate;
    }
  }
  return original;
}

// The folded UTF-8 form of one character: case folded and, where the name order ignores them,
// without accents. Hangul syllables stay whole. An invalid sequence becomes U+FFFD.
std::string FoldOne(UChar32 c) {
  std::string out;
  if (c < 0) {
    AppendUtf8(out, 0xFFFD);
  } else if (c < 0x80) {
    out.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
  } else if (IsSyllable(c)) {
    AppendUtf8(out, c);
  } else if (u_charType(c) == U_NON_SPACING_MARK && PrimaryKey(icu::UnicodeString(c)).size() <= 1) {
    // a combining accent written apart ("e" + acute): the name order ignores it
  } else {
    const icu::UnicodeString base = Unaccented(c);
    for (int32_t i = 0; i < base.length(); i = base.moveIndex32(i, 1)) {
      AppendUtf8(out, u_foldCase(base.char32At(i), U_FOLD_CASE_DEFAULT));
    }
  }
  return out;
}

// FoldOne, remembered per thread (the answer depends on the character alone).
void AppendFolded(std::string& out, UChar32 c) {
  if (c >= 0 && c < 0x80) {
    out.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
    return;
  }
  thread_local std::unordered_map<UChar32, std::string> t_folded;
  auto it = t_folded.find(c);
  if (it == t_folded.end()) {
    it = t_folded.emplace(c, FoldOne(c)).first;
  }
  out += it->second;
}

int Tokenize(Fts5Tokenizer* /*pTokenizer*/, void* pCtx, int nFlags, const char* pText, int nText,
             int (*xToken)(void*, int, const char*, int, int, int)) {
  if (pText == nullptr || nText <= 0) {
    return SQLITE_OK;
  }
  // Stored names also give the initial consonants of a Hangul word, at the same position; a query
  // is only its own words.
  const bool bInitials = (nFlags & FTS5_TOKENIZE_QUERY) == 0;
  std::string initials;
  return ForEachFoldedWord(std::string_view(pText, static_cast<size_t>(nText)),
                           [&](std::string_view word, int nStart, int nEnd) {
                             int rc = xToken(pCtx, 0, word.data(), static_cast<int>(word.size()), nStart, nEnd);
                             if (rc == SQLITE_OK && bInitials && HangulInitials(word, &initials)) {
                               rc = xToken(pCtx, FTS5_TOKEN_COLOCATED, initials.data(),
                                           static_cast<int>(initials.size()), nStart, nEnd);
                             }
                             return rc;
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

bool HangulInitials(std::string_view word, std::string* pOut) {
  pOut->clear();
  const uint8_t* p = reinterpret_cast<const uint8_t*>(word.data());
  const int32_t n = static_cast<int32_t>(word.size());
  int32_t i = 0;
  while (i < n) {
    UChar32 c = 0;
    U8_NEXT(p, i, n, c);
    if (!IsSyllable(c)) {
      return false;
    }
    AppendUtf8(*pOut, kInitialJamo[(c - kSyllableFirst) / kSyllablesPerInitial]);
  }
  return !pOut->empty();
}

const char* WordTokenizerIdentity() { return kTokenizerVersion; }

bool RegisterFtsTokenizers(sqlite3* pDb) {
  fts5_api* pApi = Fts5Api(pDb);
  if (pApi == nullptr) {
    return false;
  }
  fts5_tokenizer tokenizer{Create, Delete, Tokenize};
  return pApi->xCreateTokenizer(pApi, kWordTokenizer, nullptr, &tokenizer, nullptr) == SQLITE_OK &&
         RegisterRankFunctions(pDb);
}

}  // namespace zel::db2
