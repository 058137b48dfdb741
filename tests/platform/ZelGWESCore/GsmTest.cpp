// GSM 7-bit default alphabet with its extension table.
#include "GwesTestUtil.h"

#include <gtest/gtest.h>

using namespace gwestest;

namespace {

std::u16string DecodeGsm(const std::string& hex, int nDstCount = 64)
{
    const std::vector<UINT8> bytes = FromHex(hex);
    MCHAR buf[64];
    const int n = WmConvertGSM2PCode(buf, nDstCount, bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(n, static_cast<int>(std::u16string(buf).size()));
    return buf;
}

struct GsmCase {
    std::u16string text;
    const char* hex;
};

TEST(Gsm, RoundTripsWithExtensionCharactersTakingTwoBytes)
{
    const GsmCase cases[] = {
        {u"Hello World", "48656C6C6F20576F726C64"},
        {u"\u00C5se \u00D8rsted", "0E7365200B7273746564"},
        {u"@home", "00686F6D65"},
        {u"\u20AC5", "1B6535"},
        {u"{[~]}|^\\\f", "1B281B3C1B3D1B3E1B291B401B141B2F1B0A"},
        {u"\u0394\u00DF\u00E0", "101E7F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hex);
        const int nSize = static_cast<int>(strlen(c.hex) / 2);
        EXPECT_EQ(WmGetGSMCodeSize(c.text.c_str()), nSize);
        EXPECT_EQ(WmGetSimCodeSize(c.text.c_str()), nSize); // a SIM field takes GSM text as GSM
        UINT8 buf[64];
        ASSERT_EQ(WmConvertPCode2GSM(buf, 64, c.text.c_str()), nSize);
        EXPECT_EQ(ToHex(buf, nSize), c.hex);
        EXPECT_EQ(DecodeGsm(c.hex), c.text);
    }
}

TEST(Gsm, EverySeptetDecodesAndEncodesBackToItself)
{
    for (int septet = 0; septet < 128; ++septet) {
        if (septet == 0x1B) {
            continue; // the escape has no character of its own
        }
        const UINT8 in = static_cast<UINT8>(septet);
        MCHAR text[4];
        ASSERT_EQ(WmConvertGSM2PCode(text, 4, &in, 1), 1) << septet;
        UINT8 out[4];
        ASSERT_EQ(WmConvertPCode2GSM(out, 4, text), 1) << septet;
        EXPECT_EQ(out[0], in);
    }
}

TEST(Gsm, TextOutsideTheAlphabetHasNegativeSizeAndIsNotEncoded)
{
    const std::u16string texts[] = {u"\u041F\u0440\u0438\u0432\u0435\u0442", u"Fran\u00E7ois", u"\U0001F600", u"`"};
    for (const auto& text : texts) {
        SCOPED_TRACE(ToUtf8(text));
        EXPECT_LT(WmGetGSMCodeSize(text.c_str()), 0);
        UINT8 buf[16] = {0xAA};
        EXPECT_EQ(WmConvertPCode2GSM(buf, 16, text.c_str()), -1);
        EXPECT_EQ(buf[0], 0xAA);
    }
    EXPECT_EQ(WmGetGSMCodeSize(u""), 0);
    EXPECT_EQ(WmGetGSMCodeSize(nullptr), 0);
}

TEST(Gsm, EncodingCutsAtWholeCharacters)
{
    const struct {
        int nDstLen;
        const char* hex;
    } cases[] = {{0, ""}, {2, "6162"}, {3, "6162"}, {4, "61621B65"}, {5, "61621B6563"}};
    for (const auto& c : cases) {
        UINT8 buf[8];
        std::fill(std::begin(buf), std::end(buf), 0xAA);
        const int n = WmConvertPCode2GSM(buf, c.nDstLen, u"ab\u20ACc");
        EXPECT_EQ(ToHex(buf, n), c.hex) << c.nDstLen;
        EXPECT_EQ(buf[c.nDstLen], 0xAA) << "wrote past the buffer";
    }
}

TEST(Gsm, DecodingOfPaddingEscapesAndBadBytes)
{
    const GsmCase cases[] = {
        {u"A", "41FF42"},         // padding ends the text
        {u"A", "1B41"},           // ESC before a code without extension: the plain character
        {u" A", "1B1B41"},        // ESC ESC
        {u"A", "411B"},           // a final ESC is dropped
        {u"A", "411BFF"},         // ESC right before padding
        {u"\uFFFDB", "8042"},     // bit 8 set
        {u"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeGsm(c.hex), c.text) << c.hex;
    }
    EXPECT_EQ(DecodeGsm("414243", 3), u"AB");
    MCHAR buf[4];
    EXPECT_EQ(WmConvertGSM2PCode(buf, 0, FromHex("41").data(), 1), -1);
    EXPECT_EQ(WmConvertGSM2PCode(buf, 4, nullptr, 3), 0);
}

} // namespace
