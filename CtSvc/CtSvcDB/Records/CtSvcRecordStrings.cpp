// Search and sort forms of names and numbers, shared by every record.
#include <cstring>

#include "ContentFramework.h"
#include "CtSvcDB/Records/CtSvcRecordBase.h"
#include "CtSvcDB/Records/CtSvcRecordText.h"
#include "CtSvcDB/Tables/CtSvcDbTable.h"
#include "CtSvcUtil.h"
#include "ZelDebug.h"
#include "ZelCollate.h"
#include "ZelGWESCore/ZelGWESCore.h"

namespace {

constexpr char16_t kInvalidMChar = 0xFFFF;

// The characters each CtSvcExtractLetterType bit admits, in the order they are tested.
struct LetterClass {
  int nBit;
  char cFirst;
  char cLast;
};

constexpr LetterClass kLetterClasses[] = {
    {CTSVC_EXTRACT_LETTER_TYPE_DIGIT, '0', '9'},  {CTSVC_EXTRACT_LETTER_TYPE_STAR, '*', '*'},
    {CTSVC_EXTRACT_LETTER_TYPE_SHARP, '#', '#'},  {CTSVC_EXTRACT_LETTER_TYPE_COMMA, ',', ','},
    {CTSVC_EXTRACT_LETTER_TYPE_PLUS, '+', '+'},   {CTSVC_EXTRACT_LETTER_TYPE_QUESTION, '?', '?'},
    {CTSVC_EXTRACT_LETTER_TYPE_LOWER, 'a', 'z'},  {CTSVC_EXTRACT_LETTER_TYPE_UPPER, 'A', 'Z'},
};

bool IsAdmitted(char c, int nMask) {
  for (const LetterClass& cls : kLetterClasses) {
    if ((nMask & cls.nBit) != 0 && c >= cls.cFirst && c <= cls.cLast) {
      return true;
    }
  }
  return false;
}

// Whether the name order ignores a unit entirely (zero-width and format characters, marks).
bool IsIgnored(char16_t c) {
  unsigned char key[8];
  const MCHAR text[1] = {c};
  return ZelCollatePrimaryKey(text, 1, key, sizeof(key)) == 1;
}

bool IsSurrogatePair(const std::u16string& str, size_t i) {
  return i + 1 < str.size() && (str[i] & 0xFC00) == 0xD800 && (str[i + 1] & 0xFC00) == 0xDC00;
}

void SetColumn(CContentInput& input, CCtSvcDbTable& table, int nColumn, const std::u16string& strValue) {
  if (nColumn >= 0) {
    input.SetNString(table.GetColumnName(nColumn), CtSvcToInputText(strValue));
  }
}

// One order of a name: the full name, then its letters (the group letter is the first unit).
void SetNameOrder(CContentInput& input, CCtSvcDbTable& table, const std::string& strFullName, int nFullName,
                  int nGroupLetter, int nLetter) {
  std::u16string strName = CtSvcToPCode(strFullName);
  CCtSvcRecord::_ConvertToInvalidMCHAR(strName);
  SetColumn(input, table, nFullName, strName);
  const std::u16string strLetters = CCtSvcRecord::_GetNameLetters(strName);
  SetColumn(input, table, nLetter, strLetters);
  SetColumn(input, table, nGroupLetter, strLetters.substr(0, 1));
}

}  // namespace

std::u16string CCtSvcRecord::_GetNameLetters(const std::u16string& strFullName) {
  size_t nStart = 0;
  while (nStart + 1 < strFullName.size() && IsIgnored(strFullName[nStart])) {
    ++nStart;
  }
  // A character outside the BMP (an emoji) has no one-unit letter: it is listed under the letter
  // that '#' gets, like the symbols.
  MCHAR aSrc[3] = {kInvalidMChar, 0, 0};
  for (size_t i = nStart, nUnits = 0; nUnits < 2 && i < strFullName.size(); ++i, ++nUnits) {
    const bool bPair = IsSurrogatePair(strFullName, i);
    aSrc[nUnits] = bPair ? u'#' : strFullName[i];
    i += bPair ? 1 : 0;
  }
  MCHAR aLetters[3] = {};
  const int nUnits = AcGetRepresent2Chars(aSrc, aLetters);
  return nUnits > 0 ? std::u16string(aLetters, static_cast<size_t>(nUnits)) : std::u16string();
}

std::u16string CtSvcNameLetters(const std::u16string& strName) { return CCtSvcRecord::_GetNameLetters(strName); }

void CCtSvcRecord::_GetFullNameToSearch(const std::string& a, const std::string& b, std::string& out) {
  out = a;
  if (!b.empty()) {
    if (!out.empty()) {
      out += " ";
    }
    out += b;
  }
}

void CCtSvcRecord::_GetPhoneNumberToSearch(const std::string& strNumber, std::string& out) {
  const int nDigits = CtSvcGetDigitsCount2Compare(strNumber.c_str());
  if (nDigits >= 0 && strNumber.size() > static_cast<size_t>(nDigits)) {
    out = strNumber.substr(strNumber.size() - static_cast<size_t>(nDigits));
  } else {
    out = strNumber;
  }
}

void CCtSvcRecord::_ConvertToInvalidMCHAR(std::u16string& str) {
  if (str.empty()) {
    str.assign(1, kInvalidMChar);
  }
}

void CCtSvcRecord::_GetExtactString(const char* pszSrc, int nMask, std::string& out) {
  out.clear();
  for (const char* p = pszSrc != nullptr ? pszSrc : ""; *p != '\0'; ++p) {
    if (IsAdmitted(*p, nMask)) {
      out.push_back(*p);
    } else {
      DbgPrint(DBG_CLASS_TRACE, "CtSvcGetExtactString : Except this letter(%c)\n", *p);
    }
  }
}

void CCtSvcRecord::_SetNameColumns(CContentInput& input, CCtSvcDbTable& table, const std::string& strFirst,
                                   const std::string& strLast, const CtSvcNameColumns& columns) {
  std::string strFullName;
  _GetFullNameToSearch(strFirst, strLast, strFullName);
  SetNameOrder(input, table, strFullName, columns.nFLFullName, columns.nFLGroupLetter, columns.nFLLetter);
  _GetFullNameToSearch(strLast, strFirst, strFullName);
  SetNameOrder(input, table, strFullName, columns.nLFFullName, columns.nLFGroupLetter, columns.nLFLetter);
}
