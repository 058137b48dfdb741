// P-code <-> L-code conversions: round trips, malformed input, whole-character cuts.
#include "GwesTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace gwestest;

namespace {

std::u16string ToPCode(const char* utf8)
{
    MCHAR buf[64];
    const int n = WmConvert2PCode(buf, 64, utf8);
    EXPECT_EQ(n, static_cast<int>(std::u16string(buf).size()));
    return buf;
}

TEST(Utf, ConvertsBothWaysAndReplacesMalformedInput)
{
    const struct {
        const char* utf8;
        std::u16string units;
        bool bRoundTrip;
    } cases[] = {
        // Latin text both ways is the service's column text test's (ColumnTextsAreCutAndEscaped).
        {"\xEA\xB9\x80\xEB\xAF\xBC\xEC\xA7\x80", u"\uAE40\uBBFC\uC9C0", true},
        {"\xF0\x9F\x98\x80!", u"\U0001F600!", true},
        {"\xEF\xBF\xBF", u"\uFFFF", true}, // the "no name" marker
        {"", u"", true},
        // Ill-formed UTF-8: one U+FFFD per maximal ill-formed subpart.
        {"a\xC3", u"a\uFFFD", false},
        {"\xE2\x82x", u"\uFFFDx", false},
        {"\xF0\x9F\x98", u"\uFFFD", false},
        {"\xC0\xAF", u"\uFFFD\uFFFD", false},                        // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},              // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},    // above U+10FFFF
        {"\x80" "b", u"\uFFFDb", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToHex(reinterpret_cast<const UINT8*>(c.utf8), static_cast<int>(strlen(c.utf8))));
        EXPECT_EQ(ToPCode(c.utf8), c.units);
        if (c.bRoundTrip) {
            EXPECT_EQ(ToUtf8(c.units), c.utf8);
        }
    }
    // Unpaired surrogates on the way back.
    EXPECT_EQ(ToUtf8({0xD800, u'a'}), "\xEF\xBF\xBD" "a");
    EXPECT_EQ(ToUtf8({u'a', 0xDC00}), "a\xEF\xBF\xBD");
}

TEST(Utf, CountedSourcesAreNeverReadPastTheirLength)
{
    const char bytes[] = {'a', 'b', '\xC3', '\xA9', 'c'}; // no terminator
    MCHAR buf[16];
    EXPECT_EQ(WmConvert2PCodeN(buf, 16, bytes, 5), 4);
    EXPECT_EQ(std::u16string(buf), u"ab\u00E9c");
    EXPECT_EQ(WmConvert2PCodeN(buf, 16, bytes, 3), 3); // cuts the e-acute in two
    EXPECT_EQ(std::u16string(buf), u"ab\uFFFD");
    EXPECT_EQ(WmConvert2PCodeN(buf, 16, "ab\0cd", 5), 2);

    const MCHAR units[] = {u'x', 0xD83D, 0xDE00};
    char out[16];
    EXPECT_EQ(WmConvert2LCodeN(out, 16, units, 3), 5);
    EXPECT_STREQ(out, "x\xF0\x9F\x98\x80");
    EXPECT_EQ(WmConvert2LCodeN(out, 16, units, 2), 4); // the pair cut: a lone surrogate
    EXPECT_STREQ(out, "x\xEF\xBF\xBD");
}

TEST(Utf, SmallBuffersCutAtWholeCharactersOrAreRefused)
{
    const struct {
        const char* utf8;
        int nDstCount;
        std::u16string expected;
    } pcodeCases[] = {
        {"abc", 1, u""},
        {"abc", 3, u"ab"},
        {"a\xF0\x9F\x98\x80z", 3, u"a"}, // the pair needs two units: nothing after it either
        {"a\xF0\x9F\x98\x80", 4, u"a\U0001F600"},
    };
    for (const auto& c : pcodeCases) {
        MCHAR buf[8];
        std::fill(std::begin(buf), std::end(buf), 0x7777);
        EXPECT_EQ(WmConvert2PCode(buf, c.nDstCount, c.utf8), static_cast<int>(c.expected.size()));
        EXPECT_EQ(std::u16string(buf), c.expected);
        EXPECT_EQ(buf[c.nDstCount], 0x7777) << "wrote past the buffer";
    }
    const struct {
        std::u16string text;
        int nDstBytes;
        const char* expected;
    } lcodeCases[] = {
        {u"a\u20AC", 4, "a"}, // the euro sign takes three bytes
        {u"a\u20AC", 5, "a\xE2\x82\xAC"},
        {u"\U0001F600", 4, ""},
    };
    for (const auto& c : lcodeCases) {
        char buf[8];
        std::fill(std::begin(buf), std::end(buf), '#');
        EXPECT_EQ(WmConvert2LCode(buf, c.nDstBytes, c.text.c_str()), static_cast<int>(strlen(c.expected)));
        EXPECT_STREQ(buf, c.expected);
        EXPECT_EQ(buf[c.nDstBytes], '#') << "wrote past the buffer";
    }
    // No room even for the terminator: refused, nothing written; a null source is empty text.
    MCHAR units[4] = {u'x'};
    char bytes[4] = {'x'};
    EXPECT_EQ(WmConvert2PCode(nullptr, 4, "a"), -1);
    EXPECT_EQ(WmConvert2PCode(units, 0, "a"), -1);
    EXPECT_EQ(WmConvert2LCode(bytes, 0, u"a"), -1);
    EXPECT_EQ(units[0], u'x');
    EXPECT_EQ(WmConvert2PCode(units, 4, nullptr), 0);
    EXPECT_EQ(units[0], 0);
    EXPECT_EQ(WmConvert2LCode(bytes, 4, nullptr), 0);
    EXPECT_EQ(bytes[0], '\0');
}

} // namespace
