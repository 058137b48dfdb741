// Physical and logical lines of a vCard text.
#include "VCardLineReader.h"

#include <cctype>

#include "VCardInternal.h"

namespace zel_vcard {

namespace {

// The name and parameters of a line, upper-cased, when the line looks like "NAME[;...]:".
bool HeaderOf(const std::string& strLine, std::string& strHeader) {
  size_t nEnd = 0;
  while (nEnd < strLine.size() && (std::isalnum(static_cast<unsigned char>(strLine[nEnd])) || strLine[nEnd] == '-' ||
                                   strLine[nEnd] == '.' || strLine[nEnd] == '_')) {
    ++nEnd;
  }
  if (nEnd == 0 || nEnd >= strLine.size() || (strLine[nEnd] != ':' && strLine[nEnd] != ';')) {
    return false;
  }
  const size_t nColon = strLine.find(':');
  strHeader = Upper(strLine.substr(0, nColon == std::string::npos ? strLine.size() : nColon));
  return true;
}

bool IsBase64Text(const std::string& strLine) {
  if (strLine.empty()) {
    return false;
  }
  for (unsigned char c : strLine) {
    if (!std::isalnum(c) && c != '+' && c != '/' && c != '=') {
      return false;
    }
  }
  return true;
}

bool EndsWithOddBackslash(const std::string& strLine) {
  size_t nCount = 0;
  for (size_t i = strLine.size(); i > 0 && strLine[i - 1] == '\\'; --i) {
    ++nCount;
  }
  return nCount % 2 == 1;
}

}  // namespace

int FileSource::Get() {
  if (m_nPos == m_nFill) {
    m_nFill = std::fread(m_szBuffer, 1, sizeof(m_szBuffer), m_pFile);
    m_nPos = 0;
    if (m_nFill == 0) {
      m_bError = m_bError || std::ferror(m_pFile) != 0;
      return -1;
    }
  }
  ++m_nConsumed;
  return static_cast<unsigned char>(m_szBuffer[m_nPos++]);
}

bool LineReader::_ReadPhysical(Physical& line) {
  line.strText.clear();
  line.bOversized = false;
  int c = m_nPushedBack != -2 ? m_nPushedBack : m_source.Get();
  m_nPushedBack = -2;
  if (c < 0) {
    return false;
  }
  line.nLine = ++m_nLineNumber;
  for (; c >= 0; c = m_source.Get()) {
    if (c == '\n') {
      break;
    }
    if (c == '\r') {
      // CR LF, CR CR LF and a bare CR all end the line.
      int d = m_source.Get();
      while (d == '\r') {
        d = m_source.Get();
      }
      if (d != '\n') {
        m_nPushedBack = d < 0 ? -2 : d;
      }
      break;
    }
    if (line.strText.size() < m_nMaxLine) {
      line.strText += static_cast<char>(c);
    } else {
      line.bOversized = true;
    }
  }
  return true;
}

bool LineReader::_Peek(Physical*& pLine) {
  if (!m_bHaveNext) {
    m_bHaveNext = _ReadPhysical(m_next);
  }
  pLine = m_bHaveNext ? &m_next : nullptr;
  return m_bHaveNext;
}

void LineReader::_Append(LogicalLine& line, const std::string& strPart) {
  if (line.strText.size() + strPart.size() > m_nMaxLine) {
    line.bOversized = true;
    return;
  }
  line.strText += strPart;
}

bool LineReader::Next(LogicalLine& line) {
  Physical* pFirst = nullptr;
  while (_Peek(pFirst)) {
    m_bHaveNext = false;
    if (pFirst->strText.empty() || pFirst->strText[0] == '#' || pFirst->strText.find_first_not_of(" \t") == std::string::npos) {
      continue;  // blank and comment lines
    }
    break;
  }
  if (pFirst == nullptr) {
    return false;
  }
  line.strText.swap(pFirst->strText);
  line.nLine = pFirst->nLine;
  line.bOversized = pFirst->bOversized;
  std::string strHeader;
  HeaderOf(line.strText, strHeader);
  const bool bQuoted = strHeader.find("QUOTED-PRINTABLE") != std::string::npos;
  const bool bBase64 = strHeader.find("BASE64") != std::string::npos || strHeader.find("ENCODING=B") != std::string::npos;
  Physical* pNext = nullptr;
  while (_Peek(pNext)) {
    const std::string& strNext = pNext->strText;
    std::string strIgnored;
    if (bQuoted && !line.strText.empty() && line.strText.back() == '=') {
      line.strText.pop_back();  // a soft break: the next line continues the value, whatever it holds
      _Append(line, strNext);
    } else if (!strNext.empty() && (strNext[0] == ' ' || strNext[0] == '\t')) {
      _Append(line, strNext.substr(1));
    } else if (bBase64 && !bQuoted && IsBase64Text(strNext) && !HeaderOf(strNext, strIgnored)) {
      _Append(line, strNext);
    } else if (!bBase64 && !bQuoted && EndsWithOddBackslash(line.strText) && !strNext.empty() &&
               !HeaderOf(strNext, strIgnored)) {
      _Append(line, "\n" + strNext);  // a 2.1 value continued after an escaped line break
    } else {
      break;
    }
    line.bOversized = line.bOversized || pNext->bOversized;
    m_bHaveNext = false;
  }
  return true;
}

}  // namespace zel_vcard
