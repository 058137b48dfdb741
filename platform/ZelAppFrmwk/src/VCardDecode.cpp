// vCard decoding: cards of logical lines into objects, from a text in memory or a file stream.
#include <algorithm>
#include <cstring>
#include <vector>

#include "VCardCardReader.h"
#include "VCardInternal.h"
#include "ZelMem.h"

namespace zel_vcard {

namespace {

struct Param {
  uint32_t nTypeMask = 0;
  uint32_t nEncoding = 0;
  std::string strCharset;
};

// Splits at the separator outside double quotes.
std::vector<std::string> SplitOutsideQuotes(const std::string& strText, char cSeparator) {
  std::vector<std::string> vcParts(1);
  bool bQuoted = false;
  for (char c : strText) {
    if (c == '"') {
      bQuoted = !bQuoted;
    } else if (c == cSeparator && !bQuoted) {
      vcParts.emplace_back();
    } else {
      vcParts.back() += c;
    }
  }
  return vcParts;
}

std::string Trim(const std::string& strText) {
  const size_t nStart = strText.find_first_not_of(" \t");
  if (nStart == std::string::npos) {
    return "";
  }
  return strText.substr(nStart, strText.find_last_not_of(" \t") - nStart + 1);
}

void ReadEncoding(const std::string& strUpper, Param& param) {
  if (strUpper == "QUOTED-PRINTABLE" || strUpper == "QP") {
    param.nEncoding = VCARD_ENCODING_QP;
  } else if (strUpper == "BASE64" || strUpper == "B") {
    param.nEncoding = VCARD_ENCODING_BASE64;
  } else if (strUpper == "8BIT" || strUpper == "7BIT") {
    param.nEncoding = VCARD_ENCODING_8BIT;
  }
}

Param ReadParams(const std::vector<std::string>& vcParts) {
  Param param;
  for (size_t i = 1; i < vcParts.size(); ++i) {
    const size_t nEquals = vcParts[i].find('=');
    const std::string strKey = Upper(Trim(vcParts[i].substr(0, nEquals)));
    const std::string strValue = nEquals == std::string::npos ? "" : Trim(vcParts[i].substr(nEquals + 1));
    if (nEquals == std::string::npos) {
      // A 2.1 parameter without a name: an encoding or a type.
      ReadEncoding(strKey, param);
      param.nTypeMask |= TypeBitOf(strKey);
    } else if (strKey == "TYPE") {
      // TYPE=a,b and TYPE="a,b": every comma separates a type, quoted or not.
      std::string strList = Upper(strValue);
      strList.erase(std::remove(strList.begin(), strList.end(), '"'), strList.end());
      for (const std::string& strItem : SplitOutsideQuotes(strList, ',')) {
        param.nTypeMask |= TypeBitOf(Trim(strItem));
      }
    } else if (strKey == "ENCODING") {
      ReadEncoding(Upper(strValue), param);
    } else if (strKey == "CHARSET") {
      param.strCharset = strValue;
    }
  }
  return param;
}

// Removes the escapes of the version; "\<line end>" is a line break in both.
std::string Unescape(const std::string& strText, int nVersion) {
  std::string strOut;
  strOut.reserve(strText.size());
  for (size_t i = 0; i < strText.size(); ++i) {
    if (strText[i] != '\\' || i + 1 == strText.size()) {
      strOut += strText[i];
      continue;
    }
    const char c = strText[i + 1];
    if (c == '\\' || c == ';' || c == '\n') {
      strOut += c;
    } else if (nVersion == VCARD_VERSION_30 && (c == 'n' || c == 'N')) {
      strOut += '\n';
    } else if (nVersion == VCARD_VERSION_30 && (c == ',' || c == ':')) {
      strOut += c;
    } else {
      strOut += '\\';
      strOut += c;
    }
    ++i;
  }
  return strOut;
}

// Splits a structured value at the ';' no backslash escapes.
std::vector<std::string> SplitFields(const std::string& strText) {
  std::vector<std::string> vcFields(1);
  for (size_t i = 0; i < strText.size(); ++i) {
    if (strText[i] == '\\' && i + 1 < strText.size()) {
      vcFields.back() += strText[i];
      vcFields.back() += strText[++i];
    } else if (strText[i] == ';') {
      vcFields.emplace_back();
    } else {
      vcFields.back() += strText[i];
    }
  }
  return vcFields;
}

std::string NormaliseLineBreaks(const std::string& strText) {
  std::string strOut;
  strOut.reserve(strText.size());
  for (size_t i = 0; i < strText.size(); ++i) {
    if (strText[i] == '\r') {
      strOut += '\n';
      if (i + 1 < strText.size() && strText[i + 1] == '\n') {
        ++i;
      }
    } else {
      strOut += strText[i];
    }
  }
  return strOut;
}

// The value's bytes as UTF-8: the declared character set, else UTF-8 when it is, else Latin-1.
std::string ToUtf8(const std::string& strBytes, const std::string& strCharset) {
  std::string strOut;
  const std::string strUpper = Upper(strCharset);
  if (!strCharset.empty() && strUpper != "UTF-8" && strUpper != "UTF8" && ConvertToUtf8(strCharset, strBytes, strOut)) {
    return strOut;
  }
  return IsValidUtf8(strBytes) ? strBytes : Latin1ToUtf8(strBytes);
}

}  // namespace

std::string PropertyName(const std::string& strLine) {
  const size_t nColon = strLine.find_first_of(":;");
  std::string strName = Upper(Trim(strLine.substr(0, nColon)));
  const size_t nDot = strName.rfind('.');
  return nDot == std::string::npos ? strName : strName.substr(nDot + 1);
}

std::string PropertyValue(const std::string& strLine) {
  const std::vector<std::string> vcHalves = SplitOutsideQuotes(strLine, ':');
  const size_t nNameLength = vcHalves[0].size();
  return nNameLength < strLine.size() ? strLine.substr(nNameLength + 1) : "";
}

bool DecodeProperty(VObject* pObject, const std::string& strLine, int nVersion, std::string& strProblem) {
  const int nKind = PropKindOf(PropertyName(strLine));
  if (nKind == VCARD_PROP_UNKNOWN || nKind == VCARD_PROP_VERSION) {
    return true;
  }
  // The header ends at the first ':' outside double quotes.
  std::string strHeader;
  bool bQuoted = false;
  size_t nColon = 0;
  for (; nColon < strLine.size(); ++nColon) {
    if (strLine[nColon] == '"') {
      bQuoted = !bQuoted;
    } else if (strLine[nColon] == ':' && !bQuoted) {
      break;
    }
  }
  if (nColon >= strLine.size()) {
    strProblem = "no ':' in the line";
    return false;
  }
  const Param param = ReadParams(SplitOutsideQuotes(strLine.substr(0, nColon), ';'));
  std::string strRaw = strLine.substr(nColon + 1);
  VProp* pProp = nullptr;
  if (param.nEncoding == VCARD_ENCODING_BASE64) {
    std::string strBytes;
    if (!DecodeBase64(strRaw, strBytes)) {
      strProblem = "bad base64 value";
      return false;
    }
    pProp = VCardAddProp(pObject, nKind);
    if (pProp == nullptr || !VCardSetValue(pProp, 0, strBytes.data(), static_cast<INT32>(strBytes.size())) ||
        !VCardAddParam(pProp, VCARD_PARAM_ENCODING, VCARD_ENCODING_BASE64)) {
      strProblem = "out of memory";
      return false;
    }
    pProp->nLength = static_cast<INT32>(strBytes.size());
  } else {
    if (param.nEncoding == VCARD_ENCODING_QP) {
      strRaw = DecodeQuotedPrintable(strRaw);
    }
    const std::string strText = NormaliseLineBreaks(ToUtf8(strRaw, param.strCharset));
    const std::vector<std::string> vcFields = IsStructured(nKind) ? SplitFields(strText) : std::vector<std::string>{strText};
    pProp = VCardAddProp(pObject, nKind);
    bool bDone = pProp != nullptr && VCardAddParam(pProp, VCARD_PARAM_CHARSET, VCARD_CHARSET_UTF8) &&
                 VCardAddParam(pProp, VCARD_PARAM_ENCODING, VCARD_ENCODING_8BIT);
    for (size_t i = 0; bDone && i < vcFields.size(); ++i) {
      const std::string strValue = Unescape(vcFields[i], nVersion);
      bDone = VCardSetValue(pProp, static_cast<INT32>(i), strValue.data(), static_cast<INT32>(strValue.size())) != FALSE;
    }
    if (!bDone) {
      strProblem = "out of memory";
      return false;
    }
  }
  if (param.nTypeMask != 0 && !VCardAddParam(pProp, VCARD_PARAM_TYPE, param.nTypeMask)) {
    strProblem = "out of memory";
    return false;
  }
  return true;
}

}  // namespace zel_vcard

BOOL VCardDecodeN(const char* pText, size_t nLength, VObject** ppObject) {
  if (ppObject == nullptr) {
    return FALSE;
  }
  *ppObject = nullptr;
  if (pText == nullptr) {
    return FALSE;
  }
  zel_vcard::MemorySource source(pText, nLength);
  zel_vcard::CardReader reader(source);
  VObject** ppTail = ppObject;
  VCardStreamCard card{};
  while (reader.Next(card) == 1) {
    if (card.pObject == nullptr) {
      VCardFreeObject(*ppObject);
      *ppObject = nullptr;
      return FALSE;
    }
    *ppTail = card.pObject;
    ppTail = &card.pObject->pNext;
  }
  return *ppObject != nullptr ? TRUE : FALSE;
}

BOOL VCardDecode(const char* pszText, VObject** ppObject) {
  return VCardDecodeN(pszText, pszText != nullptr ? std::strlen(pszText) : 0, ppObject);
}
