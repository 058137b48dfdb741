#include "CtSvcRecordText.h"

#include <cstring>
#include <vector>

#include "ZelAc.h"
#include "ZelGWESCore/ZelGWESCore.h"

std::u16string CtSvcToPCode(const std::string& strText) {
  MCHAR aBuffer[CTSVC_RECORD_PCODE_BUFFER_UNITS] = {};
  const int nUnits = WmConvert2PCodeN(aBuffer, CTSVC_RECORD_PCODE_BUFFER_UNITS, strText.c_str(),
                                      static_cast<int>(strText.size()));
  return nUnits > 0 ? std::u16string(aBuffer, static_cast<size_t>(nUnits)) : std::u16string();
}

std::u16string CtSvcToInputText(std::u16string strPCode) {
  std::u16string strOut;
  strOut.reserve(strPCode.size());
  for (const char16_t c : strPCode) {
    strOut.push_back(c);
    if (c == u'\'' || c == u'%') {
      strOut.push_back(c);
    }
  }
  return strOut;
}

std::u16string CtSvcToInputText(const std::string& strText) { return CtSvcToInputText(CtSvcToPCode(strText)); }

std::string CtSvcToLCode(const std::u16string& strText) {
  // A unit takes at most three bytes (a surrogate pair four for its two units).
  std::vector<char> vcBuffer(strText.size() * 3 + 1, '\0');
  const int nBytes = WmConvert2LCodeN(vcBuffer.data(), static_cast<int>(vcBuffer.size()), strText.c_str(),
                                      static_cast<int>(strText.size()));
  return nBytes > 0 ? std::string(vcBuffer.data(), static_cast<size_t>(nBytes)) : std::string();
}

namespace {

// Length of the sequence a lead byte starts and the smallest code point it may encode.
bool Utf8Lead(unsigned char c, size_t& nLength, unsigned long& nMin) {
  if (c < 0x80) {
    nLength = 1;
    nMin = 0;
  } else if ((c & 0xE0) == 0xC0) {
    nLength = 2;
    nMin = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    nLength = 3;
    nMin = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    nLength = 4;
    nMin = 0x10000;
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool CtSvcIsValidUtf8(const char* pText, size_t nBytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(pText);
  size_t i = 0;
  while (i < nBytes) {
    size_t nLength = 0;
    unsigned long nMin = 0;
    if (!Utf8Lead(p[i], nLength, nMin) || i + nLength > nBytes) {
      return false;
    }
    unsigned long nCode = nLength == 1 ? p[i] : p[i] & (0x7Fu >> nLength);
    for (size_t k = 1; k < nLength; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) {
        return false;
      }
      nCode = (nCode << 6) | (p[i + k] & 0x3Fu);
    }
    if (nCode < nMin || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF)) {
      return false;
    }
    i += nLength;
  }
  return true;
}

bool CtSvcReadCString(const char* pArray, size_t nSize, std::string& out) {
  const void* pEnd = std::memchr(pArray, '\0', nSize);
  const size_t nLength = pEnd != nullptr ? static_cast<size_t>(static_cast<const char*>(pEnd) - pArray) : nSize;
  out.assign(pArray, nLength);
  return pEnd != nullptr && CtSvcIsValidUtf8(pArray, nLength);
}

void CtSvcWriteCString(char* pArray, size_t nSize, const std::string& strText) {
  if (nSize > 0) {
    AcStrlcpy(pArray, strText.c_str(), nSize);
  }
}
