// P-code (UTF-16) and L-code (UTF-8) conversions, and the UTF-16 reading helpers shared by the
// other conversion units.
#include "GwesText.h"

#include <ZelGWESCore/ZelGWESCore.h>

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstring>

namespace zel::gwes {

char32_t NextCodePoint(const MCHAR* p, int n, int& i)
{
    UChar32 c = 0;
    U16_NEXT(p, i, n, c);
    return U_IS_SURROGATE(c) ? kReplacementChar : static_cast<char32_t>(c);
}

int BoundedLength(const MCHAR* p, int nMax)
{
    int n = 0;
    if (p != nullptr) {
        while ((nMax < 0 || n < nMax) && p[n] != 0) {
            ++n;
        }
    }
    return n;
}

std::u32string ToCodePoints(const MCHAR* p, int nUnits)
{
    int n = BoundedLength(p, nUnits);
    if (nUnits >= 0 && n == nUnits && n > 0 && IsHighSurrogate(p[n - 1])) {
        --n; // the count ends inside a character: leave the whole character out
    }
    std::u32string out;
    for (int i = 0; i < n;) {
        out.push_back(NextCodePoint(p, n, i));
    }
    return out;
}

namespace {

// Appends code points as UTF-8 to pDst, keeping room for the terminator; the first character
// that does not fit closes the writer.
class Utf8Writer {
public:
    Utf8Writer(char* pDst, int nBytes) : m_pDst(pDst), m_nRoom(nBytes - 1) { m_pDst[0] = 0; }

    bool Put(char32_t cp)
    {
        const auto c = static_cast<UChar32>(cp);
        const int nNeed = U8_LENGTH(c);
        if (m_bFull || m_nLen + nNeed > m_nRoom) {
            m_bFull = true;
            return false;
        }
        auto* pOut = reinterpret_cast<uint8_t*>(m_pDst);
        U8_APPEND_UNSAFE(pOut, m_nLen, c);
        return true;
    }

    int Finish()
    {
        m_pDst[m_nLen] = 0;
        return m_nLen;
    }

private:
    char* m_pDst;
    int m_nRoom;
    int m_nLen = 0;
    bool m_bFull = false;
};

int Utf8ToUtf16(MCHAR* pDst, int nDstCount, const char* pszSrc, int nSrcBytes)
{
    if (pDst == nullptr || nDstCount < 1) {
        return -1;
    }
    Utf16Writer out(pDst, nDstCount);
    int nLen = 0;
    if (pszSrc != nullptr) {
        nLen = static_cast<int>(nSrcBytes < 0 ? std::strlen(pszSrc) : strnlen(pszSrc, nSrcBytes));
    }
    const auto* p = reinterpret_cast<const uint8_t*>(pszSrc);
    for (int i = 0; i < nLen;) {
        UChar32 c = 0;
        U8_NEXT(p, i, nLen, c); // ill-formed: c < 0, i past the longest ill-formed prefix
        if (!out.Put(c < 0 ? kReplacementChar : static_cast<char32_t>(c))) {
            break;
        }
    }
    return out.Finish();
}

int Utf16ToUtf8(char* pszDst, int nDstBytes, const MCHAR* pSrc, int nSrcCount)
{
    if (pszDst == nullptr || nDstBytes < 1) {
        return -1;
    }
    Utf8Writer out(pszDst, nDstBytes);
    const int n = BoundedLength(pSrc, nSrcCount);
    for (int i = 0; i < n;) {
        if (!out.Put(NextCodePoint(pSrc, n, i))) {
            break;
        }
    }
    return out.Finish();
}

} // namespace
} // namespace zel::gwes

using namespace zel::gwes;

int WmConvert2PCode(MCHAR* pDst, int nDstCount, const char* pszSrc)
{
    return Utf8ToUtf16(pDst, nDstCount, pszSrc, -1);
}

int WmConvert2PCodeN(MCHAR* pDst, int nDstCount, const char* pszSrc, int nSrcBytes)
{
    return Utf8ToUtf16(pDst, nDstCount, pszSrc, nSrcBytes);
}

int WmConvert2LCode(char* pszDst, int nDstBytes, const MCHAR* pSrc)
{
    return Utf16ToUtf8(pszDst, nDstBytes, pSrc, -1);
}

int WmConvert2LCodeN(char* pszDst, int nDstBytes, const MCHAR* pSrc, int nSrcCount)
{
    return Utf16ToUtf8(pszDst, nDstBytes, pSrc, nSrcCount);
}
