// Shared pieces of the vCard codec: the name tables and the value codings.
#ifndef ZEL_VCARD_INTERNAL_H
#define ZEL_VCARD_INTERNAL_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "ZelAppFrmwk/ZelVCard.h"

namespace zel_vcard {

// Upper-case ASCII copy.
std::string Upper(const std::string& strText);

// Property kind of a name (without its group), VCARD_PROP_UNKNOWN when unknown.
int PropKindOf(const std::string& strUpperName);
// The TYPE bit of a type name, 0 when unknown.
uint32_t TypeBitOf(const std::string& strUpperName);
// The name of one TYPE bit, null when it has none.
const char* TypeNameOf(uint32_t nBit);
// Properties whose value is a list split at ';' (N, ADR).
bool IsStructured(int nKind);

// Quoted-printable: decodes "=XX" and drops soft breaks ("=" before a line end).
std::string DecodeQuotedPrintable(const std::string& strText);
// Base64 (whitespace ignored); false for a character outside the alphabet or a bad length.
bool DecodeBase64(const std::string& strText, std::string& strOut);
std::string EncodeBase64(const std::string& strBytes);

// Converts text of a named character set to UTF-8 (through ICU); false when the set is unknown
// or the text does not convert.
bool ConvertToUtf8(const std::string& strCharset, const std::string& strText, std::string& strOut);
bool IsValidUtf8(const std::string& strText);
// Latin-1 bytes as UTF-8.
std::string Latin1ToUtf8(const std::string& strText);

}  // namespace zel_vcard

#endif
