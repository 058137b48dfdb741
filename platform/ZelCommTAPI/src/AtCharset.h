// Texts of the AT command line in the character set AT+CSCS chose.
#ifndef ZEL_AT_CHARSET_H
#define ZEL_AT_CHARSET_H

#include <string>

#include "ZelAtCommand.h"

namespace zel::at {

// The UTF-8 text in the set; characters the set cannot show become '?'.
std::string EncodeText(Charset charset, const std::string& strUtf8);
// The text of the set as UTF-8; false for text the set does not allow (odd or non-hex UCS2,
// non-ASCII IRA, ill-formed UTF-8, GSM bytes above 0x7F).
bool DecodeText(Charset charset, const std::string& strText, std::string* pUtf8);

// "GSM", "UCS2", "UTF-8", "IRA" (any case); false for another name.
bool CharsetFromName(const std::string& strName, Charset* pCharset);
const char* CharsetName(Charset charset);

}  // namespace zel::at

#endif
