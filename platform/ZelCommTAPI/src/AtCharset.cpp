// Character sets of the AT command line: UTF-8 texts to and from GSM, UCS2 (hex), UTF-8 and IRA.
#include "AtCharset.h"

#include <cctype>
#include <cstdio>
#include <vector>

#include "ZelGWESCore.h"

namespace zel::at {

namespace {

std::u16string ToUtf16(const std::string& strUtf8) {
  std::vector<MCHAR> vcUnits(strUtf8.size() + 1);
  const int nUnits = WmConvert2PCode(vcUnits.data(), static_cast<int>(vcUnits.size()), strUtf8.c_str());
  return std::u16string(reinterpret_cast<const char16_t*>(vcUnits.data()), nUnits > 0 ? static_cast<size_t>(nUnits) : 0);
}

std::string ToUtf8(const std::u16string& strUtf16) {
  std::vector<char> vcBytes(strUtf16.size() * 3 + 1);
  const std::u16string strTerminated = strUtf16 + u'\0';
  const int nBytes = WmConvert2LCode(vcBytes.data(), static_cast<int>(vcBytes.size()),
                                     reinterpret_cast<const MCHAR*>(strTerminated.c_str()));
  return std::string(vcBytes.data(), nBytes > 0 ? static_cast<size_t>(nBytes) : 0);
}

// The UTF-16 characters of a text, a surrogate pair together.
std::vector<std::u16string> Characters(const std::u16string& strUtf16) {
  std::vector<std::u16string> vcChars;
  for (size_t i = 0; i < strUtf16.size(); ++i) {
    const bool bPair = strUtf16[i] >= 0xD800 && strUtf16[i] < 0xDC00 && i + 1 < strUtf16.size();
    vcChars.push_back(strUtf16.substr(i, bPair ? 2 : 1));
    i += bPair ? 1 : 0;
  }
  return vcChars;
}

std::string EncodeGsm(const std::string& strUtf8) {
  std::string strOut;
  for (const std::u16string& strChar : Characters(ToUtf16(strUtf8))) {
    const std::u16string strTerminated = strChar + u'\0';
    UINT8 aBytes[4] = {};
    const int nBytes = WmConvertPCode2GSM(aBytes, sizeof(aBytes), reinterpret_cast<const MCHAR*>(strTerminated.c_str()));
    strOut.append(nBytes > 0 ? std::string(reinterpret_cast<const char*>(aBytes), static_cast<size_t>(nBytes)) : "?");
  }
  return strOut;
}

std::string EncodeUcs2(const std::string& strUtf8) {
  std::string strOut;
  char szHex[5];
  for (char16_t unit : ToUtf16(strUtf8)) {
    std::snprintf(szHex, sizeof(szHex), "%04X", static_cast<unsigned>(unit));
    strOut += szHex;
  }
  return strOut;
}

bool DecodeUcs2(const std::string& strText, std::string* pUtf8) {
  if (strText.size() % 4 != 0) {
    return false;
  }
  std::u16string strUtf16;
  for (size_t i = 0; i < strText.size(); i += 4) {
    unsigned nUnit = 0;
    for (size_t j = i; j < i + 4; ++j) {
      if (!std::isxdigit(static_cast<unsigned char>(strText[j]))) {
        return false;
      }
      const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(strText[j])));
      nUnit = nUnit * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : c - 'A' + 10);
    }
    if (nUnit == 0) {
      return false;
    }
    strUtf16 += static_cast<char16_t>(nUnit);
  }
  *pUtf8 = ToUtf8(strUtf16);
  return true;
}

bool DecodeGsm(const std::string& strText, std::string* pUtf8) {
  for (char c : strText) {
    if (static_cast<unsigned char>(c) > 0x7F) {
      return false;
    }
  }
  std::vector<MCHAR> vcUnits(strText.size() + 1);
  const int nUnits = WmConvertGSM2PCode(vcUnits.data(), static_cast<int>(vcUnits.size()),
                                        reinterpret_cast<const UINT8*>(strText.data()), static_cast<int>(strText.size()));
  *pUtf8 = ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(vcUnits.data()),
                                 nUnits > 0 ? static_cast<size_t>(nUnits) : 0));
  return true;
}

bool IsAscii(const std::string& strText) {
  for (char c : strText) {
    if (static_cast<unsigned char>(c) > 0x7F) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string EncodeText(Charset charset, const std::string& strUtf8) {
  switch (charset) {
    case Charset::Gsm:
      return EncodeGsm(strUtf8);
    case Charset::Ucs2:
      return EncodeUcs2(strUtf8);
    case Charset::Utf8:
      return strUtf8;
    case Charset::Ira:
      break;
  }
  std::string strOut;
  for (const std::u16string& strChar : Characters(ToUtf16(strUtf8))) {
    strOut += strChar.size() == 1 && strChar[0] < 0x80 ? static_cast<char>(strChar[0]) : '?';
  }
  return strOut;
}

bool DecodeText(Charset charset, const std::string& strText, std::string* pUtf8) {
  switch (charset) {
    case Charset::Gsm:
      return DecodeGsm(strText, pUtf8);
    case Charset::Ucs2:
      return DecodeUcs2(strText, pUtf8);
    case Charset::Utf8:
      // Well-formed UTF-8 comes back unchanged from a round through UTF-16.
      if (ToUtf8(ToUtf16(strText)) != strText || strText.find('\0') != std::string::npos) {
        return false;
      }
      *pUtf8 = strText;
      return true;
    case Charset::Ira:
      break;
  }
  if (!IsAscii(strText)) {
    return false;
  }
  *pUtf8 = strText;
  return true;
}

namespace {

struct CharsetNameEntry {
  Charset charset;
  const char* pszName;
};
constexpr CharsetNameEntry kCharsetNames[] = {
    {Charset::Gsm, "GSM"}, {Charset::Ucs2, "UCS2"}, {Charset::Utf8, "UTF-8"}, {Charset::Ira, "IRA"}};

}  // namespace

bool CharsetFromName(const std::string& strName, Charset* pCharset) {
  std::string strUpper;
  for (char c : strName) {
    strUpper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  for (const CharsetNameEntry& entry : kCharsetNames) {
    if (strUpper == entry.pszName) {
      *pCharset = entry.charset;
      return true;
    }
  }
  return false;
}

const char* CharsetName(Charset charset) {
  for (const CharsetNameEntry& entry : kCharsetNames) {
    if (entry.charset == charset) {
      return entry.pszName;
    }
  }
  return "IRA";
}

}  // namespace zel::at
