// Index letters of names.
#include "GwesTestUtil.h"

#include <gtest/gtest.h>

#include <ZelCore/ZelCollate.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

using namespace gwestest;

namespace {

std::u16string Represent2(const std::u16string& src, int* pResult = nullptr)
{
    MCHAR dst[4] = {0x7777, 0x7777, 0x7777, 0x7777};
    const int n = AcGetRepresent2Chars(src.c_str(), dst);
    EXPECT_EQ(dst[3], 0x7777) << "wrote past the three units";
    if (pResult != nullptr) {
        *pResult = n;
    }
    return dst;
}

TEST(RepresentChars, LettersOfTheFirstTwoUnits)
{
    const struct {
        std::u16string name;
        std::u16string letters;
    } cases[] = {
        {u"Kim", u"KI"},
        {u"\u00E9mile", u"EM"},                // e-acute
        {u"\u00DFa", u"SA"},                   // sharp s
        {u"\u00F8y", u"OY"},                   // o with stroke
        {u"\u00C6r", u"AR"},                   // AE ligature
        {u"\u0141\u0105", u"LA"},              // L with stroke, a with ogonek
        {u"\uFF21\uFF42", u"AB"},              // full-width Latin
        {u"\uAE40\uBBFC\uC9C0", u"\u3131\u3141"},
        {u"\uAE4C\uB9C8", u"\u3132\u3141"},    // a double initial stays double
        {u"\u3131a", u"\u3131A"},              // a compatibility jamo is its own letter
        {u"\u1100\u1161", u"\u3131\u314E"},    // conjoining initial; a vowel sorts after every initial
        {u"12", u"12"},
        {u"\u9673\u539A", u"\u9673\u539A"},    // CJK ideographs
        {u"#!", u"##"},                        // blanks, punctuation and symbols share '#'
        {u" \u20AC", u"##"},
        {u"\u00DEo", u"ZO"},                   // thorn sorts after z
        {u"\u0660\u00BD", u"01"},              // digits of any script; one half sorts as 1/2
        {u"\u0439\u0451", u"\u0419\u0415"},    // short i is a letter; yo sorts as ye
        {u"\u03AC\u03CE", u"\u0391\u03A9"},    // Greek accents are ignored
        {u"\u0436\u0451", u"\u0416\u0415"},    // Cyrillic: upper case
        {u"\u03B1\u03C2", u"\u0391\u03A3"},    // Greek
        {u"\uFFFF", u"\uFFFF"},                // the "no name" marker
        {u"A", u"A"},
        {u"", u""},
        // Surrogates are never split into garbage.
        {u"\U0001F600x", u"\U0001F600"},  // a pair is copied whole
        {u"a\U0001F600", {u'A', 0xD83D}}, // the pair starts in the second unit
        {{0xDE00, u'a'}, u"\uFFFDA"},      // unpaired low surrogate
        {{0xD83D, u'a'}, u"\uFFFDA"},      // unpaired high surrogate
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.name));
        int n = 0;
        EXPECT_EQ(Represent2(c.name, &n), c.letters);
        EXPECT_EQ(n, static_cast<int>(c.letters.size()));
    }
}

TEST(RepresentChars, ArraysConvertInPlaceAndEveryInitialConsonantToItsCompatibilityJamo)
{
    // The first syllable of each of the 19 initial consonants, in order.
    const std::u16string syllables = u"\uAC00\uAE4C\uB098\uB2E4\uB530\uB77C\uB9C8\uBC14\uBE60\uC0AC"
                                     u"\uC2F8\uC544\uC790\uC9DC\uCC28\uCE74\uD0C0\uD30C\uD558";
    const std::u16string jamo = u"\u3131\u3132\u3134\u3137\u3138\u3139\u3141\u3142\u3143\u3145"
                                u"\u3146\u3147\u3148\u3149\u314A\u314B\u314C\u314D\u314E";
    std::u16string letters = syllables;
    EXPECT_EQ(AcConvertRepresentChars(letters.data(), static_cast<int>(letters.size())), 19);
    EXPECT_EQ(letters, jamo);
    EXPECT_EQ(Represent2(u"\uD7A3"), u"\u314E"); // the last syllable

    std::u16string mixed = u"a\u00E9\uAE40z";
    EXPECT_EQ(AcConvertRepresentChars(mixed.data(), 3), 3);
    EXPECT_EQ(mixed, u"AE\u3131z"); // only the first three units
    std::u16string withEnd = {u'b', 0, u'c'};
    EXPECT_EQ(AcConvertRepresentChars(withEnd.data(), 3), 1); // a zero unit ends the letters
    EXPECT_EQ(withEnd, (std::u16string{u'B', 0, u'c'}));
    EXPECT_EQ(AcConvertRepresentChars(nullptr, 3), -1);
    EXPECT_EQ(AcConvertRepresentChars(mixed.data(), -1), -1);
    MCHAR dst[3];
    EXPECT_EQ(AcGetRepresent2Chars(nullptr, dst), -1);
    EXPECT_EQ(AcGetRepresent2Chars(u"a", nullptr), -1);
}

// Names are filed under their letter in name order: sorting characters by the name order never
// sorts their letters backwards, so the names under one letter are one run of a sorted list.
TEST(RepresentChars, LettersFollowTheNameOrder)
{
    auto key = [](char16_t c) {
        unsigned char buf[64];
        const MCHAR text[1] = {c};
        const int n = ZelCollatePrimaryKey(text, 1, buf, sizeof(buf));
        return n > 1 && n <= static_cast<int>(sizeof(buf)) ? std::string(reinterpret_cast<char*>(buf), n) : std::string();
    };
    std::vector<std::pair<std::string, char16_t>> chars;
    for (char32_t c = 1; c < 0xFFFF; ++c) {
        if ((c < 0xD800 || c > 0xDFFF) && !key(static_cast<char16_t>(c)).empty()) {
            chars.emplace_back(key(static_cast<char16_t>(c)), static_cast<char16_t>(c));
        }
    }
    std::sort(chars.begin(), chars.end());
    std::string previous;
    char16_t previousChar = 0;
    for (const auto& [k, c] : chars) {
        MCHAR letter[2] = {c, 0};
        AcConvertRepresentChars(letter, 1);
        const std::string letterKey = key(letter[0]);
        ASSERT_LE(previous, letterKey) << "U+" << std::hex << static_cast<unsigned>(c) << " after U+"
                                       << static_cast<unsigned>(previousChar);
        previous = letterKey;
        previousChar = c;
    }
}

TEST(RepresentChars, LettersAreStable)
{
    // The group letters read back from the database go through the conversion again.
    for (char32_t c = 1; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        MCHAR letter[2] = {static_cast<MCHAR>(c), 0};
        AcConvertRepresentChars(letter, 1);
        const MCHAR once = letter[0];
        AcConvertRepresentChars(letter, 1);
        ASSERT_EQ(letter[0], once) << "U+" << std::hex << static_cast<unsigned>(c);
    }
}

} // namespace
