// vCard encoding: 2.1 or 3.0 text, quoted-printable only where 2.1 text needs it, lines folded
// at 75 bytes.
#include <cstring>

#include "VCardInternal.h"
#include "ZelMem.h"

namespace zel_vcard {

namespace {

constexpr size_t kFoldBytes = 75;
const char kCrLf[] = "\r\n";

bool NeedsQuotedPrintable(const std::string& strText) {
  for (unsigned char c : strText) {
    if (c >= 0x80 || c == '\r' || c == '\n' || c < 0x20) {
      return true;
    }
  }
  return false;
}

std::string Escape(const std::string& strText, int nVersion) {
  std::string strOut;
  strOut.reserve(strText.size());
  for (char c : strText) {
    if (c == '\\' || c == ';' || (nVersion == VCARD_VERSION_30 && c == ',')) {
      strOut += '\\';
      strOut += c;
    } else if (nVersion == VCARD_VERSION_30 && c == '\n') {
      strOut += "\\n";
    } else if (nVersion == VCARD_VERSION_30 && c == '\r') {
      continue;
    } else {
      strOut += c;
    }
  }
  return strOut;
}

// A line folded with CRLF + space so that no physical line is longer than 75 bytes; folds fall
// between UTF-8 characters.
void AppendFolded(std::string& strOut, const std::string& strLine) {
  size_t nPos = 0;
  size_t nLimit = kFoldBytes;
  while (strLine.size() - nPos > nLimit) {
    size_t nCut = nPos + nLimit;
    while (nCut > nPos + 1 && (static_cast<unsigned char>(strLine[nCut]) & 0xC0) == 0x80) {
      --nCut;
    }
    strOut.append(strLine, nPos, nCut - nPos);
    strOut += kCrLf;
    strOut += ' ';
    nPos = nCut;
    nLimit = kFoldBytes - 1;
  }
  strOut.append(strLine, nPos, std::string::npos);
  strOut += kCrLf;
}

// "header:" and the value in quoted-printable, soft breaks keeping lines within 75 bytes.
void AppendQuotedPrintable(std::string& strOut, const std::string& strHeader, const std::string& strValue) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string strLine = strHeader;
  for (size_t i = 0; i < strValue.size(); ++i) {
    const auto c = static_cast<unsigned char>(strValue[i]);
    const bool bLast = i + 1 == strValue.size();
    std::string strToken;
    if (c == '\n' && (i == 0 || strValue[i - 1] != '\r')) {
      strToken = "=0D=0A";
    } else if ((c >= 33 && c <= 126 && c != '=') || (c == ' ' && !bLast)) {
      strToken = std::string(1, static_cast<char>(c));
    } else {
      strToken = {'=', kHex[c >> 4], kHex[c & 15]};
    }
    if (strLine.size() + strToken.size() > kFoldBytes - 1) {
      strOut += strLine + "=" + kCrLf;
      strLine.clear();
    }
    strLine += strToken;
  }
  strOut += strLine + kCrLf;
}

std::string TypeParams(uint32_t nMask, int nVersion) {
  std::string strOut;
  std::string strList;
  for (uint32_t nBit = 1; nBit != 0; nBit <<= 1) {
    const char* szName = (nMask & nBit) != 0 ? TypeNameOf(nBit) : nullptr;
    if (szName == nullptr) {
      continue;
    }
    if (nVersion == VCARD_VERSION_21) {
      strOut += std::string(";") + szName;
    } else {
      strList += (strList.empty() ? "" : ",") + std::string(szName);
    }
  }
  return nVersion == VCARD_VERSION_21 ? strOut : (strList.empty() ? "" : ";TYPE=" + strList);
}

void AppendBinary(std::string& strOut, const char* szName, const VProp& prop, int nVersion) {
  const uint32_t nType = VCardGetParam(&prop, VCARD_PARAM_TYPE);
  const char* szType = TypeNameOf(nType);
  std::string strHeader = std::string(szName) + (nVersion == VCARD_VERSION_21 ? ";ENCODING=BASE64" : ";ENCODING=b");
  if (szType != nullptr) {
    strHeader += std::string(";TYPE=") + szType;
  }
  const std::string strBytes(prop.nValueCount > 0 && prop.ppszValue[0] != nullptr ? prop.ppszValue[0] : "",
                             prop.nValueCount > 0 && prop.ppszValue[0] != nullptr ? static_cast<size_t>(prop.nLength) : 0);
  AppendFolded(strOut, strHeader + ":" + EncodeBase64(strBytes));
  if (nVersion == VCARD_VERSION_21) {
    strOut += kCrLf;  // 2.1 readers expect a blank line after a base64 value
  }
}

void AppendText(std::string& strOut, const char* szName, const VProp& prop, int nVersion) {
  std::string strValue;
  for (INT32 i = 0; i < prop.nValueCount; ++i) {
    strValue += (i > 0 ? ";" : "") + Escape(prop.ppszValue[i] != nullptr ? prop.ppszValue[i] : "", nVersion);
  }
  const std::string strHeader = szName + TypeParams(VCardGetParam(&prop, VCARD_PARAM_TYPE), nVersion);
  if (nVersion == VCARD_VERSION_21 && NeedsQuotedPrintable(strValue)) {
    AppendQuotedPrintable(strOut, strHeader + ";CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:", strValue);
  } else {
    AppendFolded(strOut, strHeader + ":" + strValue);
  }
}

bool IsBinary(const VProp& prop) {
  return (VCardGetParam(&prop, VCARD_PARAM_ENCODING) & VCARD_ENCODING_BASE64) != 0 || prop.nLength > 0;
}

void AppendObject(std::string& strOut, const VObject& object, int nVersion) {
  strOut += std::string("BEGIN:VCARD") + kCrLf + "VERSION:" + (nVersion == VCARD_VERSION_30 ? "3.0" : "2.1") + kCrLf;
  for (const VProp* pProp = object.pFirst; pProp != nullptr; pProp = pProp->pNext) {
    const char* szName = VCardGetPropName(pProp->nKind);
    if (szName == nullptr || pProp->nKind == VCARD_PROP_VERSION) {
      continue;
    }
    if (IsBinary(*pProp)) {
      AppendBinary(strOut, szName, *pProp, nVersion);
    } else {
      AppendText(strOut, szName, *pProp, nVersion);
    }
  }
  strOut += std::string("END:VCARD") + kCrLf;
}

}  // namespace

}  // namespace zel_vcard

BOOL VCardEncodeVersion(const VObject* pObject, INT32 nVersion, char** ppszText) {
  if (ppszText == nullptr) {
    return FALSE;
  }
  *ppszText = nullptr;
  if (pObject == nullptr || (nVersion != VCARD_VERSION_21 && nVersion != VCARD_VERSION_30)) {
    return FALSE;
  }
  std::string strText;
  for (const VObject* pCard = pObject; pCard != nullptr; pCard = pCard->pNext) {
    zel_vcard::AppendObject(strText, *pCard, nVersion);
  }
  auto* pszText = static_cast<char*>(MemAlloc(strText.size() + 1));
  if (pszText == nullptr) {
    return FALSE;
  }
  std::memcpy(pszText, strText.c_str(), strText.size() + 1);
  *ppszText = pszText;
  return TRUE;
}

BOOL VCardEncode(const VObject* pObject, char** ppszText) {
  return VCardEncodeVersion(pObject, VCARD_VERSION_21, ppszText);
}
