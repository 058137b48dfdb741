// One card at a time: its lines gathered within the card bounds, then decoded.
#include "VCardCardReader.h"

#include <cstdio>
#include <vector>

#include "VCardInternal.h"

namespace zel_vcard {

namespace {

bool IsBoundary(const LogicalLine& line, const char* szName) {
  return PropertyName(line.strText) == szName && Upper(PropertyValue(line.strText)).rfind("VCARD", 0) == 0;
}

void AddNote(std::string& strNotes, const std::string& strNote) {
  strNotes += (strNotes.empty() ? "" : "; ") + strNote;
}

std::string LineNote(const LogicalLine& line, const std::string& strWhat) {
  return PropertyName(line.strText) + " at line " + std::to_string(line.nLine) + " " + strWhat;
}

}  // namespace

int CardReader::Next(VCardStreamCard& card) {
  card = VCardStreamCard{};
  LogicalLine line;
  if (m_bPendingBegin) {
    m_bPendingBegin = false;
    card.nLine = m_nPendingLine;
  } else {
    bool bFound = false;
    while (!bFound && m_lines.Next(line)) {
      bFound = IsBoundary(line, "BEGIN");
    }
    if (!bFound) {
      return 0;
    }
    card.nLine = line.nLine;
  }
  std::string strNotes;
  std::vector<LogicalLine> vcLines;
  size_t nBytes = 0;
  int nVersion = VCARD_VERSION_21;
  bool bEnded = false;
  while (!bEnded && m_lines.Next(line)) {
    if (IsBoundary(line, "END")) {
      bEnded = true;
    } else if (IsBoundary(line, "BEGIN")) {
      m_bPendingBegin = true;
      m_nPendingLine = line.nLine;
      break;
    } else if (line.bOversized) {
      AddNote(strNotes, LineNote(line, "left out: larger than " + std::to_string(VCARD_MAX_LINE_BYTES) + " bytes"));
    } else if (nBytes + line.strText.size() > VCARD_MAX_CARD_BYTES || vcLines.size() >= VCARD_MAX_CARD_PROPS) {
      AddNote(strNotes, LineNote(line, "left out: the card is over its size bound"));
    } else if (PropertyName(line.strText) == "VERSION") {
      nVersion = PropertyValue(line.strText).find("3.0") != std::string::npos ? VCARD_VERSION_30 : VCARD_VERSION_21;
    } else {
      nBytes += line.strText.size();
      vcLines.push_back(std::move(line));
      line = LogicalLine{};
    }
  }
  if (!bEnded) {
    AddNote(strNotes, "the card starting at line " + std::to_string(card.nLine) + " has no END:VCARD");
  }
  card.pObject = VCardNewObject();
  if (card.pObject != nullptr) {
    card.pObject->nVersion = nVersion;
    for (const LogicalLine& property : vcLines) {
      std::string strProblem;
      if (!DecodeProperty(card.pObject, property.strText, nVersion, strProblem)) {
        AddNote(strNotes, LineNote(property, "left out: " + strProblem));
      }
    }
  } else {
    AddNote(strNotes, "out of memory");
  }
  std::snprintf(card.szNote, sizeof(card.szNote), "%s", strNotes.c_str());
  return 1;
}

}  // namespace zel_vcard
