// Index letters: the representative character under which a name is listed and scrolled to.
#include "GwesText.h"

#include <ZelGWESCore/ZelGWESCore.h>

#include <ZelCore/ZelCollate.h>

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>
#include <vector>

namespace zel::gwes {
namespace {

constexpr char16_t kNoNameMarker = 0xFFFF;
constexpr char16_t kSymbolLetter = u'#';

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

char16_t UpperBmp(UChar32 c, char16_t fallback)
{
    const UChar32 upper = u_toupper(c);
    return upper <= 0xFFFF && !U_IS_SURROGATE(upper) ? static_cast<char16_t>(upper) : fallback;
}

// First-level sort key of one character in the platform language's name order.
std::string KeyOf(char16_t c)
{
    unsigned char buf[64];
    const MCHAR text[1] = {c};
    const int n = ZelCollatePrimaryKey(text, 1, buf, sizeof(buf));
    return n > 0 && n <= static_cast<int>(sizeof(buf)) ? std::string(reinterpret_cast<const char*>(buf), n - 1)
                                                        : std::string();
}

// The index letters in name order. A name is filed under the last letter whose key is not above
// the key of its first character, so the names under one letter are one run of the name-ordered
// list, whatever the language puts between the letters ('sharp s' under S, 'o with stroke' under
// O, a Hangul syllable under its initial consonant, double initials included).
struct Label {
    std::string key;
    char16_t letter;
    UScriptCode script; // a character past the last letter of a script stays under it only when it is
                        // of the script (digits: when it is a number)
    bool bLastOfScript;
    std::string regionEnd; // last of its script: the key where the next script begins (empty: none)
};

// The key of the first sample character of every other script after the key, the smallest one:
// where the script of a last letter ends in the name order.
std::string NextScriptKey(const std::string& key, UScriptCode own)
{
    std::string best;
    for (int code = 0; code < USCRIPT_CODE_LIMIT; ++code) {
        const UScriptCode script = static_cast<UScriptCode>(code);
        if (script == own || script == USCRIPT_COMMON || script == USCRIPT_INHERITED || script == USCRIPT_UNKNOWN) {
            continue;
        }
        UChar sample[8];
        UErrorCode status = U_ZERO_ERROR;
        const int32_t n = uscript_getSampleString(script, sample, 8, &status);
        if (U_FAILURE(status) || n != 1) {
            continue; // no sample, or one outside the BMP
        }
        const std::string sampleKey = KeyOf(sample[0]);
        if (sampleKey > key && (best.empty() || sampleKey < best)) {
            best = sampleKey;
        }
    }
    return best;
}

std::vector<Label> BuildLabels()
{
    std::u16string letters = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                             u"ΑΒΓΔΕΖΗΘΙΚΛΜ"
                             u"ΝΞΟΠΡΣΤΥΦΧΨΩ"
                             u"АБВГДЕЖЗИЙКЛ"
                             u"МНОПРСТУФХЦЧ"
                             u"ШЩЪЫЬЭЮЯ";
    for (int i = 0; i < kInitialCount; ++i) {
        letters += HangulInitial(kInitialFirst + i);
    }
    std::vector<Label> labels;
    for (char16_t c : letters) {
        UErrorCode status = U_ZERO_ERROR;
        const UScriptCode script = uscript_getScript(c, &status);
        labels.push_back(Label{KeyOf(c), c, U_SUCCESS(status) ? script : USCRIPT_COMMON, false, std::string()});
    }
    std::stable_sort(labels.begin(), labels.end(), [](const Label& a, const Label& b) { return a.key < b.key; });
    for (size_t i = 0; i < labels.size(); ++i) {
        labels[i].bLastOfScript = i + 1 == labels.size() || labels[i + 1].script != labels[i].script;
        if (labels[i].bLastOfScript && labels[i].script != USCRIPT_COMMON) {
            labels[i].regionEnd = NextScriptKey(labels[i].key, labels[i].script);
        }
    }
    return labels;
}

const std::vector<Label>& Labels()
{
    static const std::vector<Label> labels = BuildLabels();
    return labels;
}

// Whether a character past the last letter of a script stays under it: characters of the script,
// and marks or signs of no script of their own that sort before the next script begins; after 9,
// numbers.
bool IsOfScript(char16_t c, UScriptCode script, const std::string& key, const Label& label)
{
    if (label.script == USCRIPT_COMMON) {
        return u_getNumericValue(c) != U_NO_NUMERIC_VALUE;
    }
    return script == label.script || ((script == USCRIPT_COMMON || script == USCRIPT_INHERITED) &&
                                      (label.regionEnd.empty() || key < label.regionEnd));
}

// The first character of a compatibility decomposition that is of a script of its own ('alef
// symbol' -> Hebrew alef), or 0.
char16_t ScriptCharOf(char16_t c)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* pNfkd = icu::Normalizer2::getNFKDInstance(status);
    icu::UnicodeString decomposition;
    if (U_FAILURE(status) || !pNfkd->getDecomposition(c, decomposition) || decomposition.isEmpty() ||
        U16_IS_SURROGATE(decomposition.charAt(0))) {
        return 0;
    }
    const UScriptCode script = uscript_getScript(decomposition.charAt(0), &status);
    return U_SUCCESS(status) && script != USCRIPT_COMMON && script != USCRIPT_INHERITED ? decomposition.charAt(0) : 0;
}

// The letter of one BMP character that is not a surrogate. Characters that sort before the first
// digit (blanks, punctuation, symbols) share '#'; characters of scripts without letters here
// (ideographs, ...) are their own letter, in upper case.
char16_t FindLetter(char16_t c)
{
    if (c == kNoNameMarker) {
        return c;
    }
    const std::string key = KeyOf(c);
    const std::vector<Label>& labels = Labels();
    if (key.empty()) {
        return UpperBmp(c, c);
    }
    if (key < labels.front().key) {
        return kSymbolLetter;
    }
    auto it = std::upper_bound(labels.begin(), labels.end(), key,
                               [](const std::string& k, const Label& label) { return k < label.key; });
    const Label& label = *(it - 1);
    UErrorCode status = U_ZERO_ERROR;
    UScriptCode script = uscript_getScript(c, &status);
    const char16_t scriptChar = script == USCRIPT_COMMON || script == USCRIPT_INHERITED ? ScriptCharOf(c) : 0;
    if (scriptChar != 0 && scriptChar != c) {
        return FindLetter(scriptChar);
    }
    if (!label.bLastOfScript || key == label.key || IsOfScript(c, U_SUCCESS(status) ? script : USCRIPT_COMMON, key, label)) {
        return label.letter;
    }
    return UpperBmp(c, c);
}

// FindLetter, remembered per thread: every stored name asks for its letters, and a sort key costs
// about a microsecond while the answer depends on the character alone.
char16_t RepresentChar(char16_t c)
{
    thread_local std::unordered_map<char16_t, char16_t> letters;
    const auto it = letters.find(c);
    if (it != letters.end()) {
        return it->second;
    }
    const char16_t letter = FindLetter(c);
    letters.emplace(c, letter);
    return letter;
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
