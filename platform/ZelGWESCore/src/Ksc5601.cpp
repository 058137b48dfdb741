// KSC 5601 text (EUC-KR, read with the CP949 extensions) to P-code, through ICU.
#include "GwesText.h"

#include <ZelGWESCore/ZelGWESCore.h>

#include <unicode/ucnv.h>

#include <memory>
#include <string>

namespace zel::gwes {
namespace {

struct ConverterCloser {
    void operator()(UConverter* p) const { ucnv_close(p); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// CP949 is a superset of EUC-KR: every KSC 5601 text reads the same through it.
ConverterPtr OpenKscConverter()
{
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr conv(ucnv_open("windows-949", &status));
    if (U_FAILURE(status)) {
        return nullptr;
    }
    return conv;
}

// Bytes up to the first 0x00 or 0xFF (end of text and SIM padding).
int KscTextLength(const UINT8* p, int n)
{
    int len = 0;
    while (p != nullptr && len < n && p[len] != 0x00 && p[len] != 0xFF) {
        ++len;
    }
    return len;
}

} // namespace
} // namespace zel::gwes

using namespace zel::gwes;

int WmConvertKSC56012Pcode(MCHAR* pDst, int nDstCount, const UINT8* pSrc, int nSrcLen)
{
    if (pDst == nullptr || nDstCount < 1) {
        return -1;
    }
    Utf16Writer out(pDst, nDstCount);
    const int nLen = KscTextLength(pSrc, nSrcLen);
    if (nLen == 0) {
        return out.Finish();
    }
    const ConverterPtr conv = OpenKscConverter();
    if (!conv) {
        out.Finish();
        return -1;
    }
    // Every byte yields at most one unit (KSC 5601 lies in the BMP).
    std::u16string units(static_cast<size_t>(nLen) + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t nUnits = ucnv_toUChars(conv.get(), units.data(), static_cast<int32_t>(units.size()),
                                         reinterpret_cast<const char*>(pSrc), nLen, &status);
    if (U_FAILURE(status)) {
        out.Finish();
        return -1;
    }
    for (int i = 0; i < nUnits;) {
        if (!out.Put(NextCodePoint(units.data(), nUnits, i))) {
            break;
        }
    }
    return out.Finish();
}
