// SIM alpha identifiers of 3GPP TS 51.011 Annex B: decoding of the GSM and UCS2 forms (0x80,
// 0x81, 0x82), encoding in the UCS2 form that holds the most of a text in the fewest bytes, and
// the sizes the callers budget with.
#include "GwesText.h"

#include <ZelGWESCore/ZelGWESCore.h>

#include <algorithm>
#include <climits>
#include <string>

namespace zel::gwes {
namespace {

constexpr UINT8 kTagUcs2 = 0x80;
constexpr int kMaxWindowChars = 255; // the length byte of the window forms
constexpr char32_t kWindowSpan = 0x80;

// The two window forms: a tag, a length byte, the base pointer in nBaseBytes big-endian bytes
// holding base >> nShift, then one byte per character.
struct WindowForm {
    UINT8 tag;
    int nBaseBytes;
    int nShift;

    int HeaderSize() const { return 2 + nBaseBytes; }

    char32_t ReadBase(const UINT8* pHeader) const
    {
        char32_t v = 0;
        for (int k = 0; k < nBaseBytes; ++k) {
            v = (v << 8) | pHeader[2 + k];
        }
        return v << nShift;
    }

    void WriteBase(UINT8* pHeader, char32_t base) const
    {
        const char32_t v = base >> nShift;
        for (int k = 0; k < nBaseBytes; ++k) {
            pHeader[2 + k] = static_cast<UINT8>(v >> (8 * (nBaseBytes - 1 - k)));
        }
    }

    // The base that a window holding the characters lo..hi must use.
    char32_t BaseFor(char32_t lo) const { return (lo >> nShift) << nShift; }

    bool Holds(char32_t lo, char32_t hi) const
    {
        const char32_t base = BaseFor(lo);
        return (base >> nShift) < (char32_t{1} << (8 * nBaseBytes)) && hi - base < kWindowSpan;
    }
};

constexpr WindowForm kWindowForms[] = {
    {0x81, 1, 7}, // base = b << 7
    {0x82, 2, 0}, // base = two bytes
};

const WindowForm* FindWindowForm(UINT8 tag)
{
    for (const auto& form : kWindowForms) {
        if (form.tag == tag) {
            return &form;
        }
    }
    return nullptr;
}

// ---- decoding --------------------------------------------------------------------------------

void DecodeUcs2(Utf16Writer& out, const UINT8* p, int n)
{
    std::u16string units;
    for (int i = 0; i + 1 < n; i += 2) {
        const char16_t u = static_cast<char16_t>((p[i] << 8) | p[i + 1]);
        if (u == 0xFFFF || u == 0) {
            break;
        }
        units.push_back(u);
    }
    const int nUnits = static_cast<int>(units.size());
    for (int i = 0; i < nUnits;) {
        if (!out.Put(NextCodePoint(units.data(), nUnits, i))) {
            break;
        }
    }
}

void DecodeWindow(Utf16Writer& out, const UINT8* p, int n, char32_t base)
{
    GsmSeptetReader reader;
    for (int i = 0; i < n; ++i) {
        char32_t c = p[i] < 0x80 ? reader.Feed(p[i]) : base + (p[i] & 0x7F);
        if (c > 0xFFFF) {
            c = kReplacementChar; // UCS2 has no room for it
        }
        if (c != 0 && !out.Put(c)) {
            break;
        }
    }
}

// ---- encoding --------------------------------------------------------------------------------

// How much of a text one form holds within a byte budget.
struct SimPlan {
    const WindowForm* pWindow = nullptr; // null: the 0x80 form
    int nChars = 0;
    int nBytes = 0;
    char32_t base = 0;
};

SimPlan PlanUcs2(const std::u32string& text, int nCap)
{
    SimPlan plan;
    int nBytes = 1;
    for (const char32_t c : text) {
        const int nCost = c > 0xFFFF ? 4 : 2;
        if (nBytes + nCost > nCap) {
            break;
        }
        nBytes += nCost;
        ++plan.nChars;
    }
    plan.nBytes = plan.nChars > 0 ? nBytes : 0;
    return plan;
}

// Default-alphabet characters take their one-byte GSM code; every other character must fall in
// the window.
bool TakesGsmCode(char32_t c) { return GsmCharSize(c) == 1; }

SimPlan PlanWindow(const WindowForm& form, const std::u32string& text, int nCap)
{
    SimPlan plan;
    plan.pWindow = &form;
    bool bWindowUsed = false;
    char32_t lo = 0;
    char32_t hi = 0;
    for (const char32_t c : text) {
        if (plan.nChars == kMaxWindowChars || form.HeaderSize() + plan.nChars + 1 > nCap) {
            break;
        }
        if (!TakesGsmCode(c)) {
            const char32_t newLo = bWindowUsed ? std::min(lo, c) : c;
            const char32_t newHi = bWindowUsed ? std::max(hi, c) : c;
            if (!form.Holds(newLo, newHi)) {
                break;
            }
            lo = newLo;
            hi = newHi;
            bWindowUsed = true;
        }
        ++plan.nChars;
    }
    plan.nBytes = plan.nChars > 0 ? form.HeaderSize() + plan.nChars : 0;
    plan.base = bWindowUsed ? form.BaseFor(lo) : 0;
    return plan;
}

// The form holding the most characters within nCap bytes; among those the fewest bytes; ties go
// to the form listed first.
SimPlan ChooseForm(const std::u32string& text, int nCap)
{
    SimPlan best = PlanUcs2(text, nCap);
    for (const auto& form : kWindowForms) {
        const SimPlan plan = PlanWindow(form, text, nCap);
        if (plan.nChars > best.nChars || (plan.nChars == best.nChars && plan.nBytes < best.nBytes)) {
            best = plan;
        }
    }
    return best;
}

void WriteUcs2(const SimPlan& plan, const std::u32string& text, UINT8* pDst)
{
    int n = 0;
    pDst[n++] = kTagUcs2;
    auto putUnit = [&](char32_t u) {
        pDst[n++] = static_cast<UINT8>(u >> 8);
        pDst[n++] = static_cast<UINT8>(u);
    };
    for (int k = 0; k < plan.nChars; ++k) {
        const char32_t c = text[k];
        if (c > 0xFFFF) {
            putUnit(0xD7C0 + (c >> 10));
            putUnit(0xDC00 | (c & 0x3FF));
        } else {
            putUnit(c);
        }
    }
}

void WriteWindow(const SimPlan& plan, const std::u32string& text, UINT8* pDst)
{
    const WindowForm& form = *plan.pWindow;
    pDst[0] = form.tag;
    pDst[1] = static_cast<UINT8>(plan.nChars);
    form.WriteBase(pDst, plan.base);
    UINT8* pOut = pDst + form.HeaderSize();
    for (int k = 0; k < plan.nChars; ++k) {
        UINT8 code[2];
        const char32_t c = text[k];
        *pOut++ = TakesGsmCode(c) && GsmEncodeChar(c, code) == 1
                      ? code[0]
                      : static_cast<UINT8>(0x80 | (c - plan.base));
    }
}

int SimCodeSize(const std::u32string& text)
{
    const int nGsm = GsmTextSize(text);
    return nGsm >= 0 ? nGsm : ChooseForm(text, INT_MAX).nBytes;
}

} // namespace
} // namespace zel::gwes

using namespace zel::gwes;

int WmConvertSIMCode2PCode(MCHAR* pDst, int nDstCount, const UINT8* pSrc, int nSrcLen)
{
    if (pDst == nullptr || nDstCount < 1) {
        return -1;
    }
    if (pSrc == nullptr || nSrcLen <= 0) {
        pDst[0] = 0;
        return 0;
    }
    const UINT8 tag = pSrc[0];
    if (tag < 0x80 || tag == kGsmPadding) {
        return WmConvertGSM2PCode(pDst, nDstCount, pSrc, nSrcLen);
    }
    Utf16Writer out(pDst, nDstCount);
    if (tag == kTagUcs2) {
        DecodeUcs2(out, pSrc + 1, nSrcLen - 1);
        return out.Finish();
    }
    const WindowForm* pForm = FindWindowForm(tag);
    if (pForm == nullptr || nSrcLen < pForm->HeaderSize()) {
        out.Finish();
        return -1;
    }
    const int nChars = std::min<int>(pSrc[1], nSrcLen - pForm->HeaderSize());
    DecodeWindow(out, pSrc + pForm->HeaderSize(), nChars, pForm->ReadBase(pSrc));
    return out.Finish();
}

int WmConvertPCode2SIMCode(UINT8* pDst, int nDstLen, const MCHAR* pSrc)
{
    if (pDst == nullptr || nDstLen < 0) {
        return -1;
    }
    const std::u32string text = ToCodePoints(pSrc, -1);
    const SimPlan plan = ChooseForm(text, nDstLen);
    if (plan.nChars == 0) {
        return 0;
    }
    if (plan.pWindow != nullptr) {
        WriteWindow(plan, text, pDst);
    } else {
        WriteUcs2(plan, text, pDst);
    }
    return plan.nBytes;
}

int WmGetSimCodeSize(const MCHAR* pSrc)
{
    return SimCodeSize(ToCodePoints(pSrc, -1));
}

int WmGetSimCodeSizeN(const MCHAR* pSrc, int nCount)
{
    return nCount > 0 ? SimCodeSize(ToCodePoints(pSrc, nCount)) : 0;
}
