/* Text conversions of the platform.
 *
 *   P-code  the platform's 16-bit character form: UTF-16 code units (MCHAR).
 *   L-code  the local 8-bit code of C structures: UTF-8.
 *   GSM     the 7-bit default alphabet of GSM 03.38 (3GPP TS 23.038) with its extension
 *           table, one septet per byte (unpacked), as stored in SIM alpha identifiers.
 *   SIM     alpha identifiers of 3GPP TS 51.011 Annex B: GSM default alphabet or one of the
 *           UCS2 forms tagged 0x80, 0x81 and 0x82.
 *   KSC     KSC 5601 text (EUC-KR, read with the CP949 extensions).
 *
 * Common rules:
 * - Text outputs (P-code and L-code) are always terminated. nDstCount counts MCHAR units and
 *   nDstBytes bytes, both including the terminator. Output that does not fit is cut before the
 *   first character that does not fit whole: a surrogate pair or a UTF-8 sequence is never split.
 * - GSM and SIM outputs are byte strings in which 0x00 is a character ('@'): they are not
 *   terminated and not padded; the return value is their length.
 * - Malformed input (ill-formed UTF-8, unpaired surrogates, bytes outside a coding) becomes
 *   U+FFFD. No function reads past the given length or the terminator.
 * - A null source is the empty text. A null destination, or a destination size below 1 for a
 *   text output (below 0 for a byte output), is refused with -1 and nothing is written.
 */
#ifndef ZEL_GWES_CORE_H
#define ZEL_GWES_CORE_H

#include <ZelCore/ZelTypes.h>

ZEL_EXTERN_C_BEGIN

/* ---- P-code <-> L-code ------------------------------------------------------------------ */

/* Converts the terminated UTF-8 text pszSrc to UTF-16. Returns the units written, excluding the
 * terminator, or -1 for a refused destination. */
int WmConvert2PCode(MCHAR* pDst, int nDstCount, const char* pszSrc);

/* As WmConvert2PCode, reading at most nSrcBytes bytes of pszSrc (less when a zero byte comes
 * first); nSrcBytes < 0 reads up to the terminator. A sequence cut by nSrcBytes is malformed. */
int WmConvert2PCodeN(MCHAR* pDst, int nDstCount, const char* pszSrc, int nSrcBytes);

/* Converts the terminated UTF-16 text pSrc to UTF-8. Returns the bytes written, excluding the
 * terminator, or -1 for a refused destination. */
int WmConvert2LCode(char* pszDst, int nDstBytes, const MCHAR* pSrc);

/* As WmConvert2LCode, reading at most nSrcCount units of pSrc (less when a zero unit comes
 * first); nSrcCount < 0 reads up to the terminator. */
int WmConvert2LCodeN(char* pszDst, int nDstBytes, const MCHAR* pSrc, int nSrcCount);

/* ---- GSM 7-bit default alphabet --------------------------------------------------------- */

/* Decodes nSrcLen unpacked septets. Decoding stops at the first 0xFF (padding). ESC (0x1B)
 * followed by a code of the extension table gives that character; followed by any other code it
 * gives the default-alphabet character of that code; ESC ESC gives a space; a final ESC is
 * dropped. A byte 0x80..0xFE is malformed. Returns the units written, or -1. */
int WmConvertGSM2PCode(MCHAR* pDst, int nDstCount, const UINT8* pSrc, int nSrcLen);

/* Encodes the terminated text pSrc into at most nDstLen bytes, one byte per character of the
 * default alphabet and two (ESC, code) per character of the extension table; a character that
 * would cross nDstLen is left out with everything after it. Returns the bytes written, or -1 when
 * the text holds a character outside the alphabet and its extension table (nothing is written;
 * ask WmGetGSMCodeSize first) or the destination is refused. */
int WmConvertPCode2GSM(UINT8* pDst, int nDstLen, const MCHAR* pSrc);

/* Bytes WmConvertPCode2GSM needs for the whole text: 1 per default-alphabet character, 2 per
 * extension-table character ('\f', '^', '{', '}', '\\', '[', '~', ']', '|', U+20AC), 0 for an
 * empty or null text, -1 when any character is outside both tables. */
int WmGetGSMCodeSize(const MCHAR* pSrc);

/* ---- SIM alpha identifiers (3GPP TS 51.011 Annex B) ------------------------------------- */

/* Decodes an alpha identifier of nSrcLen bytes:
 *   first byte < 0x80   GSM default alphabet (as WmConvertGSM2PCode);
 *   0x80                big-endian UCS2 units, ending at 0xFFFF (padding) or 0x0000; an odd
 *                       final byte is ignored;
 *   0x81 n b            n bytes with the base pointer b << 7;
 *   0x82 n hi lo        n bytes with the base pointer (hi << 8) | lo;
 *                       in both window forms a byte < 0x80 is a GSM default-alphabet character
 *                       (ESC sequences included) and a byte >= 0x80 is base + (byte & 0x7F);
 *                       n is cut to the bytes present;
 *   0xFF                an empty identifier (the record is all padding).
 * Returns the units written; -1 for any other first byte, a window form whose header is cut
 * short, or a refused destination (pDst then holds the empty text when it could be written). */
int WmConvertSIMCode2PCode(MCHAR* pDst, int nDstCount, const UINT8* pSrc, int nSrcLen);

/* Encodes the terminated text pSrc in the UCS2 form that fits the most characters into nDstLen
 * bytes, and among those the fewest bytes (ties: 0x80, then 0x81, then 0x82):
 *   0x80  1 + 2 bytes per unit (a surrogate pair takes 4);
 *   0x81  3 + 1 byte per character, when every character outside the GSM default alphabet
 *         lies in one 128-character block below U+8000;
 *   0x82  4 + 1 byte per character, when those characters span at most 128 code points.
 * In the window forms characters of the default alphabet take their GSM code and all others
 * (extension-table characters included) their window offset; at most 255 character bytes.
 * A text that fits the GSM alphabet is still given a UCS2 form: choosing the GSM coding is the
 * caller's decision (see WmGetGSMCodeSize). Returns the bytes written (0 for an empty text or
 * when not even one character fits), or -1 for a refused destination. */
int WmConvertPCode2SIMCode(UINT8* pDst, int nDstLen, const MCHAR* pSrc);

/* Bytes the shortest SIM coding of the terminated text needs: its GSM size when every character
 * is in the GSM alphabet and its extension table, else the size of the shortest UCS2 form
 * holding the whole text. 0 for an empty or null text. */
int WmGetSimCodeSize(const MCHAR* pSrc);

/* As WmGetSimCodeSize for the first nCount units of pSrc (fewer when the terminator comes
 * first). A high surrogate in the last counted unit (a pair cut by nCount) is left out, and
 * nothing beyond nCount units is read; nCount <= 0 gives 0. */
int WmGetSimCodeSizeN(const MCHAR* pSrc, int nCount);

/* ---- KSC 5601 --------------------------------------------------------------------------- */

/* Converts nSrcLen bytes of KSC 5601 text (EUC-KR with the CP949 extensions) to UTF-16. ASCII
 * passes unchanged; the text ends at the first 0x00 or 0xFF byte (0xFF is never a KSC lead byte
 * and pads SIM fields); an invalid or cut-off sequence becomes U+FFFD. Returns the units written,
 * or -1 for a refused destination or when the converter is not available. */
int WmConvertKSC56012Pcode(MCHAR* pDst, int nDstCount, const UINT8* pSrc, int nSrcLen);

/* ---- Index letters ---------------------------------------------------------------------- */

/* The representative character (index letter) of a character:
 *   Latin script          the upper-case base letter ('e' with acute -> 'E', sharp s -> 'S',
 *                         o with stroke -> 'O', full-width 'a' -> 'A');
 *   Hangul syllable       its initial consonant as a compatibility jamo (U+AC00.. -> U+3131..);
 *                         a conjoining initial consonant (U+1100..U+1112) likewise;
 *   other cased scripts   the upper-case letter (Greek, Cyrillic, ...), accents kept;
 *   anything else         the character itself (digits, CJK ideographs, symbols, U+FFFF, the
 *                         "no name" marker).
 * Letters are stable: the representative of a representative is itself. */

/* Writes the representative characters of the first two units of pSrc to pDst (3 units) and
 * terminates it. pSrc may end after one unit (then pDst holds one letter) or none. A surrogate
 * pair is one character and is copied unchanged: pDst then holds the pair and its first unit is
 * what a one-unit letter keeps. A high surrogate in the second unit is copied (its partner lies
 * beyond the two units); any other unpaired surrogate becomes U+FFFD. Returns the units written,
 * excluding the terminator, or -1 when pSrc or pDst is null. */
int AcGetRepresent2Chars(const MCHAR* pSrc, MCHAR* pDst);

/* Replaces, in place, each of the first nCount units of pLetters (fewer when a zero unit comes
 * first) by its representative character, with the surrogate rules of AcGetRepresent2Chars.
 * Returns the units processed, or -1 when pLetters is null or nCount < 0. */
int AcConvertRepresentChars(MCHAR* pLetters, int nCount);

ZEL_EXTERN_C_END

#endif
