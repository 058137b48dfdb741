// Index letters: the representative character under which a name is listed and scrolled to.
#include "GwesText.h"

#include <ZelGWESCore/ZelGWESCore.h>

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/unistr.h>

#include <array>
#include <memory>
#include <unordered_map>

namespace zel::gwes {
namespace {

constexpr char16_t kNoNameMarker = 0xFFFF;

// Hangul syllables are composed algorithmically (Unicode, section 3.12).
constexpr char32_t kSyllableFirst = 0xAC00;
constexpr char32_t kSyllableLast = 0xD7A3;
constexpr char32_t kSyllablesPerInitial = 21 * 28;
constexpr char32_t kInitialFirst = 0x1100;
constexpr int kInitialCount = 19;

// Conjoining initial consonant (U+1100 + index) -> compatibility jamo, taken from the
// compatibility decompositions of the Hangul Compatibility Jamo block.
std::array<char16_t, kInitialCount> BuildInitialJamo()
{
    std::array<char16_t, kInitialCount> table{};
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* pNfkd = icu::Normalizer2::getNFKDInstance(status);
    for (char16_t c = 0x3131; U_SUCCESS(status) && c <= 0x318E; ++c) {
        icu::UnicodeString decomposition;
        if (pNfkd->getDecomposition(c, decomposition) && decomposition.length() == 1) {
            const char32_t initial = decomposition.charAt(0);
            if (initial >= kInitialFirst && initial < kInitialFirst + kInitialCount &&
                table[initial - kInitialFirst] == 0) {
                table[initial - kInitialFirst] = c;
            }
        }
    }
    return table;
}

char16_t HangulInitial(char32_t initial)
{
    static const std::array<char16_t, kInitialCount> table = BuildInitialJamo();
    const char16_t jamo = table[initial - kInitialFirst];
    return jamo != 0 ? jamo : static_cast<char16_t>(initial);
}

// Transliterators are not shared between threads: one per thread, made on first use.
struct LatinFolder {
    std::unique_ptr<icu::Transliterator> pToAscii;

    LatinFolder()
    {
        UErrorCode status = U_ZERO_ERROR;
        pToAscii.reset(icu::Transliterator::createInstance("NFKC; Latin-ASCII", UTRANS_FORWARD, status));
        if (U_FAILURE(status)) {
            pToAscii.reset();
        }
    }
};

char16_t UpperBmp(UChar32 c, char16_t fallback)
{
    const UChar32 upper = u_toupper(c);
    return upper <= 0xFFFF && !U_IS_SURROGATE(upper) ? static_cast<char16_t>(upper) : fallback;
}

// The first letter of a transliteration ("'n" -> 'n'), else its first character.
UChar32 FirstLetter(const icu::UnicodeString& text, char16_t fallback)
{
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        if (u_isalpha(text.char32At(i))) {
            return text.char32At(i);
        }
    }
    return text.isEmpty() ? fallback : text.char32At(0);
}

// The upper-case base letter of a Latin letter: the ASCII transliteration of its upper case
// ('sharp s' -> "SS", 'o with stroke' -> "O"), or, without one, its canonical decomposition.
// Upper case comes first so that a letter and its capital (which some tables know and others
// not) give one letter.
char16_t FoldLatinLetter(char16_t c)
{
    thread_local const LatinFolder folder;
    const char16_t upper = UpperBmp(c, c);
    icu::UnicodeString text(upper);
    if (folder.pToAscii) {
        folder.pToAscii->transliterate(text);
    } else {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* pNfd = icu::Normalizer2::getNFDInstance(status);
        if (U_SUCCESS(status)) {
            text = pNfd->normalize(icu::UnicodeString(upper), status);
        }
    }
    return UpperBmp(FirstLetter(text, upper), upper);
}

// FoldLatinLetter, remembered per thread: every stored name asks for its letters, and a
// transliteration costs microseconds while the answer depends on the character alone.
char16_t LatinLetter(char16_t c)
{
    thread_local std::unordered_map<char16_t, char16_t> folded;
    const auto it = folded.find(c);
    if (it != folded.end()) {
        return it->second;
    }
    const char16_t letter = FoldLatinLetter(c);
    folded.emplace(c, letter);
    return letter;
}

bool IsLatin(char16_t c)
{
    UErrorCode status = U_ZERO_ERROR;
    return uscript_getScript(c, &status) == USCRIPT_LATIN && U_SUCCESS(status);
}

// One step towards the representative of a BMP character that is not a surrogate.
char16_t RepresentStep(char16_t c)
{
    if (c == kNoNameMarker) {
        return c;
    }
    if (c >= kSyllableFirst && c <= kSyllableLast) {
        return HangulInitial(kInitialFirst + (c - kSyllableFirst) / kSyllablesPerInitial);
    }
    if (c >= kInitialFirst && c < kInitialFirst + kInitialCount) {
        return HangulInitial(c);
    }
    if (IsLatin(c)) {
        return LatinLetter(c);
    }
    return UpperBmp(c, c);
}

// The representative: steps are repeated until the letter no longer changes, since a step may
// land on a letter that maps further (a compatibility form of a Latin letter that has no ASCII
// transliteration of its own but whose capital has one).
char16_t RepresentChar(char16_t c)
{
    constexpr int kMaxSteps = 4;
    for (int k = 0; k < kMaxSteps; ++k) {
        const char16_t next = RepresentStep(c);
        if (next == c) {
            break;
        }
        c = next;
    }
    return c;
}

} // namespace
} // namespace zel::gwes

using namespace zel::gwes;

int AcConvertRepresentChars(MCHAR* pLetters, int nCount)
{
    if (pLetters == nullptr || nCount < 0) {
        return -1;
    }
    const int n = BoundedLength(pLetters, nCount);
    for (int i = 0; i < n; ++i) {
        const MCHAR c = pLetters[i];
        if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(pLetters[i + 1])) {
            ++i; // a supplementary character stands for itself
        } else if (IsHighSurrogate(c) && i + 1 == n) {
            // its second half lies beyond the letters: keep it
        } else if (IsSurrogate(c)) {
            pLetters[i] = static_cast<MCHAR>(kReplacementChar);
        } else {
            pLetters[i] = RepresentChar(c);
        }
    }
    return n;
}

int AcGetRepresent2Chars(const MCHAR* pSrc, MCHAR* pDst)
{
    if (pSrc == nullptr || pDst == nullptr) {
        return -1;
    }
    const int n = BoundedLength(pSrc, 2);
    for (int i = 0; i < n; ++i) {
        pDst[i] = pSrc[i];
    }
    pDst[n] = 0;
    return AcConvertRepresentChars(pDst, n);
}
