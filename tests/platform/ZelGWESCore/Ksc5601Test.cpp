// KSC 5601 text to P-code.
#include "GwesTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace gwestest;

namespace {

TEST(Ksc5601, ConvertsHangulAsciiAndBadBytesWithinTheBuffer)
{
    const struct {
        const char* hex;
        int nDstCount;
        std::u16string text;
    } cases[] = {
        {"B1E8B9CEC1F6", 16, u"\uAE40\uBBFC\uC9C0"}, // Kim Minji
        {"41B1E8204B696D31", 16, u"A\uAE40 Kim1"},
        {"8141", 16, u"\uAC02"},       // a CP949 extension syllable
        {"B1E8FFFFFF", 16, u"\uAE40"}, // SIM padding ends the text
        {"B1E800B9CE", 16, u"\uAE40"}, // so does a zero byte
        {"41B1", 16, u"A\uFFFD"},      // lead byte without its trail
        {"B1E8B9", 16, u"\uAE40\uFFFD"},
        {"B1E8B9CEC1F6", 3, u"\uAE40\uBBFC"},
        {"", 16, u""},
    };
    for (const auto& c : cases) {
        const std::vector<UINT8> bytes = FromHex(c.hex);
        MCHAR buf[17];
        std::fill(std::begin(buf), std::end(buf), 0x7777);
        const int n = WmConvertKSC56012Pcode(buf, c.nDstCount, bytes.data(), static_cast<int>(bytes.size()));
        EXPECT_EQ(std::u16string(buf), c.text) << c.hex;
        EXPECT_EQ(n, static_cast<int>(c.text.size())) << c.hex;
        EXPECT_EQ(buf[c.nDstCount], 0x7777) << "wrote past the buffer";
    }
    // Invalid sequences: a replacement among at most one unit per byte.
    const std::vector<UINT8> bad = FromHex("80C9FE41A1");
    MCHAR buf[16];
    const int n = WmConvertKSC56012Pcode(buf, 16, bad.data(), static_cast<int>(bad.size()));
    EXPECT_GT(n, 0);
    EXPECT_LE(n, 5);
    EXPECT_NE(std::u16string(buf).find(u'\uFFFD'), std::u16string::npos);
    EXPECT_EQ(WmConvertKSC56012Pcode(nullptr, 4, bad.data(), 1), -1);
    EXPECT_EQ(WmConvertKSC56012Pcode(buf, 0, bad.data(), 1), -1);
    EXPECT_EQ(WmConvertKSC56012Pcode(buf, 4, nullptr, 6), 0);
}

} // namespace
