// Helpers of the text-conversion tests: hex strings, conversions for comparisons, test data.
#ifndef GWES_TEST_UTIL_H
#define GWES_TEST_UTIL_H

#include <ZelGWESCore/ZelGWESCore.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace gwestest {

inline std::vector<UINT8> FromHex(const std::string& hex)
{
    std::vector<UINT8> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<UINT8>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

inline std::string ToHex(const UINT8* p, int n)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (int i = 0; i < n; ++i) {
        hex += kDigits[p[i] >> 4];
        hex += kDigits[p[i] & 0xF];
    }
    return hex;
}

inline std::u16string DecodeSim(const std::string& hex)
{
    const std::vector<UINT8> bytes = FromHex(hex);
    MCHAR buf[128];
    WmConvertSIMCode2PCode(buf, 128, bytes.data(), static_cast<int>(bytes.size()));
    return buf;
}

inline std::string ToUtf8(const std::u16string& s)
{
    std::string out(s.size() * 3 + 1, '\0');
    const int n = WmConvert2LCode(out.data(), static_cast<int>(out.size()), s.c_str());
    out.resize(n < 0 ? 0 : static_cast<size_t>(n));
    return out;
}

// The external test data folder: $CTSVC_TESTDATA, else ../shared/testdata beside the sources.
inline std::string TestDataDir()
{
    const char* pEnv = std::getenv("CTSVC_TESTDATA");
    return pEnv != nullptr && *pEnv != '\0' ? pEnv : std::string(ZEL_SOURCE_ROOT) + "../shared/testdata";
}

} // namespace gwestest

#endif
