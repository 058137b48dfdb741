// Cards of a vCard text, one at a time: the logical lines from BEGIN:VCARD to END:VCARD, decoded
// into an object with the card's bounds applied.
#ifndef ZEL_VCARD_CARD_READER_H
#define ZEL_VCARD_CARD_READER_H

#include <string>

#include "VCardLineReader.h"
#include "ZelAppFrmwk/ZelVCard.h"

namespace zel_vcard {

std::string PropertyName(const std::string& strLine);
std::string PropertyValue(const std::string& strLine);
// Appends the property of one logical line to the object; false with the reason when the line
// cannot be read (the card keeps its other properties). Unknown properties are skipped.
bool DecodeProperty(VObject* pObject, const std::string& strLine, int nVersion, std::string& strProblem);

class CardReader {
 public:
  explicit CardReader(ByteSource& source) : m_lines(source, VCARD_MAX_LINE_BYTES) {}
  // 1: a card in card (its object null when none could be built), 0: no more cards.
  int Next(VCardStreamCard& card);

 private:
  LineReader m_lines;
  bool m_bPendingBegin = false;  // a BEGIN:VCARD ended the previous card
  int m_nPendingLine = 0;
};

}  // namespace zel_vcard

#endif
