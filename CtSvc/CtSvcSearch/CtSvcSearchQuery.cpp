// The full-text query of a search text: every word becomes a required prefix term.
#include "CtSvcSearchQuery.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Bytes of the UTF-8 sequence a lead byte starts (1 for anything that is not a multi-byte lead).
size_t SequenceLength(unsigned char c) {
  if (c >= 0xF0) {
    return 4;
  }
  if (c >= 0xE0) {
    return 3;
  }
  return c >= 0xC0 ? 2 : 1;
}

}  // namespace

std::string_view CtSvcSearchCutText(std::string_view text) {
  if (text.size() <= CTSVC_SEARCH_TEXT_MAX) {
    return text;
  }
  size_t nEnd = CTSVC_SEARCH_TEXT_MAX;
  size_t nLead = nEnd;
  while (nLead > 0 && (static_cast<unsigned char>(text[nLead - 1]) & 0xC0) == 0x80) {
    --nLead;
  }
  if (nLead > 0) {
    const unsigned char c = static_cast<unsigned char>(text[nLead - 1]);
    if (c >= 0xC0 && nLead - 1 + SequenceLength(c) > nEnd) {
      nEnd = nLead - 1;  // the last character does not fit whole
    }
  }
  return text.substr(0, nEnd);
}

std::string CtSvcSearchEscapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char c : text) {
    if (c == '\\' || c == '*' || c == '\'') {
      out += '\\';
    }
    out += c;
  }
  return out;
}

std::string CtSvcSearchMakeTermList(std::string_view text) {
  const std::string strEscaped = CtSvcSearchEscapeText(CtSvcSearchCutText(text));
  std::string strTerms;
  size_t nPos = 0;
  while (nPos < strEscaped.size()) {
    if (IsBlank(strEscaped[nPos])) {
      ++nPos;
      continue;
    }
    size_t nEnd = nPos;
    while (nEnd < strEscaped.size() && !IsBlank(strEscaped[nEnd])) {
      ++nEnd;
    }
    strTerms += " '";
    strTerms.append(strEscaped, nPos, nEnd - nPos);
    strTerms += "*' and";
    nPos = nEnd;
  }
  if (strTerms.empty()) {
    return "'*'";
  }
  strTerms.resize(strTerms.size() - 4);  // the last " and"
  return strTerms;
}

std::string CtSvcSearchMakeQuery(const char* pszGroup, const char* pszIndex, std::string_view text) {
  return std::string("[") + pszGroup + ", {" + pszIndex + ", " + CtSvcSearchMakeTermList(text) + " }]";
}
