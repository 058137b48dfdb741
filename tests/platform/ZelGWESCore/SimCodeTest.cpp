// SIM alpha identifiers of 3GPP TS 51.011 Annex B: decoding, form choice, sizes and cuts.
#include "GwesTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

using namespace gwestest;

namespace {

TEST(SimCode, DecodesEveryFormAndRejectsBrokenOnes)
{
    const struct {
        const char* hex;
        std::u16string text;
        int nResult; // -2: the length of text
        int nDstCount = 32;
    } cases[] = {
        {"4B696D", u"Kim", -2},
        {"8004160431FFFF", u"\u0416\u0431", -2},
        {"80D83DDE000041", u"\U0001F600A", -2},
        // TS 51.011 Annex B example of the 0x82 form: base 0x0530, GSM '-' and '1' around it.
        {"820505302D82D32D31", u"-\u0532\u0583-1", -2},
        {"8106089FC0B8B2B5C2FFFF", u"\u041F\u0440\u0438\u0432\u0435\u0442", -2},
        {"81030141E0FF", u"A\u00E0\u00FF", -2},          // base 0x80: Latin-1 in the window
        {"8103081B65A0", u"\u20AC\u0420", -2},           // an ESC sequence in the window form
        {"8204AC00008080BC", u"@\uAC00\uAC00\uAC3C", -2}, // GSM 0x00 is '@'
        {"FFFFFFFF", u"", 0},
        {"80004100", u"A", 1},              // odd length: the last byte is ignored
        {"80D8000041", u"\uFFFDA", 2},      // unpaired surrogate
        {"810A089FC0", u"\u041F\u0440", 2}, // stated length beyond the bytes present
        {"8201FFF0FF", u"\uFFFD", 1},       // base + offset beyond U+FFFF
        {"82050430", u"", 0},               // header only
        {"8105", u"", -1},                  // header cut short
        {"820504", u"", -1},
        {"904142", u"", -1},                // not an alpha coding
        {"", u"", 0},
        {"80D83DDE000041", u"", 0, 2},      // the pair needs two units and the terminator one
        {"80D83DDE000041", u"\U0001F600", 2, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hex);
        const std::vector<UINT8> bytes = FromHex(c.hex);
        MCHAR buf[33];
        std::fill(std::begin(buf), std::end(buf), 0x7777);
        const int n = WmConvertSIMCode2PCode(buf, c.nDstCount, bytes.data(), static_cast<int>(bytes.size()));
        EXPECT_EQ(std::u16string(buf), c.text);
        EXPECT_EQ(n, c.nResult == -2 ? static_cast<int>(c.text.size()) : c.nResult);
        EXPECT_EQ(buf[c.nDstCount], 0x7777) << "wrote past the buffer";
    }
}

TEST(SimCode, DecodesTheExternalAlphaIdentifiers)
{
    const std::string path = TestDataDir() + "/sim-alpha.tsv";
    std::ifstream file(path);
    if (!file) {
        GTEST_SKIP() << "no external test data at " << path;
    }
    std::string line;
    std::getline(file, line); // header
    int nRows = 0;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string hex;
        std::string text;
        if (std::getline(fields, hex, '\t') && std::getline(fields, text, '\t')) {
            EXPECT_EQ(ToUtf8(DecodeSim(hex)), text) << hex;
            ++nRows;
        }
    }
    EXPECT_GT(nRows, 0);
}

std::string EncodeSim(const std::u16string& text, int nDstLen)
{
    UINT8 buf[320];
    std::fill(std::begin(buf), std::end(buf), 0xAA);
    const int n = WmConvertPCode2SIMCode(buf, nDstLen, text.c_str());
    EXPECT_GE(n, 0);
    EXPECT_EQ(buf[nDstLen], 0xAA) << "wrote past the buffer";
    return ToHex(buf, n);
}

TEST(SimCode, EncodingChoosesTheShortestFormAndDecodesBack)
{
    const struct {
        std::u16string text;
        const char* hex;
    } cases[] = {
        {u"\u0416", "800416"},      // 3 bytes; 0x81 would take 4
        {u"\u0416a", "8004160061"}, // tie at 5 bytes: 0x80
        {u"\u041F\u0440\u0438\u0432\u0435\u0442", "8106089FC0B8B2B5C2"},
        {u"Ivan \u041F\u0435\u0442\u0440\u043E\u0432", "810B084976616E209FB5C2C0BEB2"},
        {u"\u047F\u0480\u047F\u0480", "8204047F80818081"}, // one window across two blocks
        {u"\uAE40\uBBFC\uC9C0", "80AE40BBFCC9C0"},         // too far apart for a window
        {u"\u0416\u20AC", "80041620AC"},
        {u"\u20AC\u20AC\u20AC\u20AC", "810441ACACACAC"},   // extension characters in the window
        {u"\U0001F600", "80D83DDE00"},
        {u"abc", "810300616263"}, // GSM text still gets a UCS2 form
        {u"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hex);
        EXPECT_EQ(EncodeSim(c.text, 64), c.hex);
        EXPECT_EQ(DecodeSim(c.hex), c.text);
        if (WmGetGSMCodeSize(c.text.c_str()) < 0) { // GSM text is sized as GSM (see the GSM test)
            EXPECT_EQ(WmGetSimCodeSize(c.text.c_str()), static_cast<int>(strlen(c.hex) / 2));
            EXPECT_EQ(WmGetSimCodeSizeN(c.text.c_str(), 1000), static_cast<int>(strlen(c.hex) / 2));
        }
    }
}

TEST(SimCode, EncodingAndSizesFitTheMostCharactersIntoTheField)
{
    const std::u16string privet = u"\u041F\u0440\u0438\u0432\u0435\u0442";
    const struct {
        std::u16string text;
        int nDstLen;
        const char* hex;
    } cases[] = {
        {privet, 6, "8103089FC0B8"},
        {u"\uAE40\uBBFC\uC9C0", 6, "80AE40BBFC"},
        // 0x80 holds six characters in 13 bytes, 0x81 seven before the Hangul breaks its window.
        {privet + u" \uAE40", 14, "8107089FC0B8B2B5C220"},
        {u"\U0001F600a", 4, ""},
        {u"\u0416", 2, ""},
        {u"\u0416", 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeSim(c.text, c.nDstLen), c.hex) << c.nDstLen;
    }
    // The window forms hold at most 255 characters.
    const std::u16string longText(300, u'\u0416');
    EXPECT_EQ(EncodeSim(longText, 300).substr(0, 6), "81FF08");
    EXPECT_EQ(WmGetSimCodeSize(longText.c_str()), 1 + 2 * 300);
    // A counted size leaves out a pair the count cuts.
    const std::u16string withPair = u"a\U0001F600";
    EXPECT_EQ(WmGetSimCodeSizeN(privet.c_str(), 3), 6);
    EXPECT_EQ(WmGetSimCodeSizeN(privet.c_str(), 0), 0);
    EXPECT_EQ(WmGetSimCodeSizeN(withPair.c_str(), 2), 1);
    EXPECT_EQ(WmGetSimCodeSizeN(withPair.c_str(), 3), 7);
    EXPECT_EQ(WmGetSimCodeSize(nullptr), 0);
    UINT8 buf[4];
    EXPECT_EQ(WmConvertPCode2SIMCode(nullptr, 4, u"a"), -1);
    EXPECT_EQ(WmConvertPCode2SIMCode(buf, -1, u"a"), -1);
}

} // namespace
