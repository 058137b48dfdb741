// Value codings of the vCard codec: quoted-printable, base64 and character sets.
#include <unicode/ucnv.h>

#include <vector>

#include "VCardInternal.h"

namespace zel_vcard {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return -1;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') {
    return c - 'A';
  }
  if (c >= 'a' && c <= 'z') {
    return c - 'a' + 26;
  }
  if (c >= '0' && c <= '9') {
    return c - '0' + 52;
  }
  if (c == '+') {
    return 62;
  }
  if (c == '/') {
    return 63;
  }
  return -1;
}

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::string DecodeQuotedPrintable(const std::string& strText) {
  std::string strOut;
  strOut.reserve(strText.size());
  for (size_t i = 0; i < strText.size(); ++i) {
    if (strText[i] != '=') {
      strOut += strText[i];
      continue;
    }
    // A soft break: '=' followed by a line end (the reader keeps it as "\n").
    if (i + 1 < strText.size() && (strText[i + 1] == '\n' || strText[i + 1] == '\r')) {
      while (i + 1 < strText.size() && (strText[i + 1] == '\n' || strText[i + 1] == '\r')) {
        ++i;
      }
      continue;
    }
    const int nHigh = i + 1 < strText.size() ? HexValue(strText[i + 1]) : -1;
    const int nLow = i + 2 < strText.size() ? HexValue(strText[i + 2]) : -1;
    if (nHigh < 0 || nLow < 0) {
      strOut += '=';  // not an escape: kept as written
      continue;
    }
    strOut += static_cast<char>(nHigh * 16 + nLow);
    i += 2;
  }
  return strOut;
}

bool DecodeBase64(const std::string& strText, std::string& strOut) {
  strOut.clear();
  strOut.reserve(strText.size() / 4 * 3);
  uint32_t nBits = 0;
  int nCount = 0, nPad = 0;
  for (char c : strText) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      continue;
    }
    if (c == '=') {
      ++nPad;
      continue;
    }
    const int nValue = Base64Value(c);
    if (nValue < 0 || nPad > 0) {
      return false;
    }
    nBits = (nBits << 6) | static_cast<uint32_t>(nValue);
    if (++nCount == 4) {
      strOut += static_cast<char>((nBits >> 16) & 0xFF);
      strOut += static_cast<char>((nBits >> 8) & 0xFF);
      strOut += static_cast<char>(nBits & 0xFF);
      nBits = 0;
      nCount = 0;
    }
  }
  if (nCount == 1 || nPad > 2) {
    return false;
  }
  if (nCount == 2) {
    strOut += static_cast<char>((nBits >> 4) & 0xFF);
  } else if (nCount == 3) {
    strOut += static_cast<char>((nBits >> 10) & 0xFF);
    strOut += static_cast<char>((nBits >> 2) & 0xFF);
  }
  return !strOut.empty();
}

std::string EncodeBase64(const std::string& strBytes) {
  std::string strOut;
  strOut.reserve((strBytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < strBytes.size(); i += 3) {
    const uint32_t n = (static_cast<uint8_t>(strBytes[i]) << 16) | (static_cast<uint8_t>(strBytes[i + 1]) << 8) |
                       static_cast<uint8_t>(strBytes[i + 2]);
    strOut += kBase64[(n >> 18) & 63];
    strOut += kBase64[(n >> 12) & 63];
    strOut += kBase64[(n >> 6) & 63];
    strOut += kBase64[n & 63];
  }
  if (i < strBytes.size()) {
    const bool bTwo = i + 1 < strBytes.size();
    const uint32_t n = (static_cast<uint8_t>(strBytes[i]) << 16) | (bTwo ? static_cast<uint8_t>(strBytes[i + 1]) << 8 : 0);
    strOut += kBase64[(n >> 18) & 63];
    strOut += kBase64[(n >> 12) & 63];
    strOut += bTwo ? kBase64[(n >> 6) & 63] : '=';
    strOut += '=';
  }
  return strOut;
}

bool ConvertToUtf8(const std::string& strCharset, const std::string& strText, std::string& strOut) {
  if (strText.empty()) {
    strOut.clear();
    return true;
  }
  std::vector<char> vcBuffer(strText.size() * 4 + 4);
  UErrorCode nError = U_ZERO_ERROR;
  const int32_t nLength = ucnv_convert("UTF-8", strCharset.c_str(), vcBuffer.data(),
                                       static_cast<int32_t>(vcBuffer.size()), strText.data(),
                                       static_cast<int32_t>(strText.size()), &nError);
  if (U_FAILURE(nError) || nLength < 0) {
    return false;
  }
  strOut.assign(vcBuffer.data(), static_cast<size_t>(nLength));
  return true;
}

bool IsValidUtf8(const std::string& strText) {
  size_t i = 0;
  while (i < strText.size()) {
    const auto c = static_cast<uint8_t>(strText[i]);
    size_t nMore = 0;
    uint32_t nCode = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      nMore = 1;
      nCode = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      nMore = 2;
      nCode = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      nMore = 3;
      nCode = c & 0x07;
    } else {
      return false;
    }
    if (i + nMore >= strText.size()) {
      return false;
    }
    for (size_t k = 1; k <= nMore; ++k) {
      const auto d = static_cast<uint8_t>(strText[i + k]);
      if ((d & 0xC0) != 0x80) {
        return false;
      }
      nCode = (nCode << 6) | (d & 0x3F);
    }
    static const uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (nCode < kMin[nMore] || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF)) {
      return false;
    }
    i += nMore + 1;
  }
  return true;
}

std::string Latin1ToUtf8(const std::string& strText) {
  std::string strOut;
  strOut.reserve(strText.size() * 2);
  for (unsigned char c : strText) {
    if (c < 0x80) {
      strOut += static_cast<char>(c);
    } else {
      strOut += static_cast<char>(0xC0 | (c >> 6));
      strOut += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return strOut;
}

}  // namespace zel_vcard
