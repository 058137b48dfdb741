// Pieces shared by the conversion units: bounded writers that stop before the first character
// that does not fit whole, a UTF-16 reader, and the GSM alphabet lookups (Gsm.cpp).
#ifndef ZEL_GWES_TEXT_H
#define ZEL_GWES_TEXT_H

#include <ZelCore/ZelTypes.h>

#include <string>

namespace zel::gwes {

constexpr char32_t kReplacementChar = 0xFFFD;

inline bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }
inline bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Appends code points as UTF-16 to pDst, keeping room for the terminator. The first character
// that does not fit closes the writer: nothing after it is written either.
class Utf16Writer {
public:
    Utf16Writer(MCHAR* pDst, int nCount) : m_pDst(pDst), m_nRoom(nCount - 1) { m_pDst[0] = 0; }

    bool Put(char32_t cp)
    {
        if (IsSurrogate(cp) || cp > 0x10FFFF) {
            cp = kReplacementChar;
        }
        const int nNeed = cp > 0xFFFF ? 2 : 1;
        if (m_bFull || m_nLen + nNeed > m_nRoom) {
            m_bFull = true;
            return false;
        }
        if (nNeed == 2) {
            m_pDst[m_nLen++] = static_cast<MCHAR>(0xD7C0 + (cp >> 10));
            m_pDst[m_nLen++] = static_cast<MCHAR>(0xDC00 | (cp & 0x3FF));
        } else {
            m_pDst[m_nLen++] = static_cast<MCHAR>(cp);
        }
        return true;
    }

    // Terminates the text and returns its length in units.
    int Finish()
    {
        m_pDst[m_nLen] = 0;
        return m_nLen;
    }

private:
    MCHAR* m_pDst;
    int m_nRoom;
    int m_nLen = 0;
    bool m_bFull = false;
};

// Reads the code point at p[i] (i < n) and advances i; an unpaired surrogate gives U+FFFD.
char32_t NextCodePoint(const MCHAR* p, int n, int& i);

// Number of units before the terminator, reading at most nMax units (nMax < 0: no limit).
int BoundedLength(const MCHAR* p, int nMax);

// The code points of the first nUnits units of p (nUnits < 0: up to the terminator). A high
// surrogate in the last of nUnits units starts a character the count cuts: it is left out.
std::u32string ToCodePoints(const MCHAR* p, int nUnits);

// GSM alphabet (Gsm.cpp).
constexpr UINT8 kGsmEscape = 0x1B;
constexpr UINT8 kGsmPadding = 0xFF;

// The GSM coding of cp: writes 1 byte (default alphabet) or 2 (ESC + extension code) to
// pOut and returns that count; 0 when cp is in neither table.
int GsmEncodeChar(char32_t cp, UINT8 pOut[2]);

// Bytes of the default-alphabet coding of cp (1, or 2 for the extension table), 0 if none.
int GsmCharSize(char32_t cp);

// Bytes of the default-alphabet coding of the whole text, -1 if a character is in neither table.
int GsmTextSize(const std::u32string& text);

// Turns septets into characters, following ESC sequences.
class GsmSeptetReader {
public:
    // Feeds one septet (0x00..0x7F); returns the character it completes, or 0 after an ESC.
    char32_t Feed(UINT8 septet);

private:
    bool m_bEscape = false;
};

} // namespace zel::gwes

#endif
