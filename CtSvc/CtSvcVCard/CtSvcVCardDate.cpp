// BDAY and REV texts: "YYYYMMDD", "YYYY-MM-DD" and the date-time forms "YYYYMMDDTHHMMSS[Z]",
// "YYYY-MM-DDTHH:MM:SS[Z]", checked for a real calendar date and time.
#include <cctype>
#include <cstring>
#include <string>

#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelDebug.h"

namespace {

bool IsLeapYear(int nYear) { return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0; }

BOOL CheckInvalidDate(const TmDateTime& d) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (d.month < 1 || d.month > 12) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcConvertVcard2Record: _CheckInvalidDate invalid value month(%d)\n", d.month);
    return FALSE;
  }
  const int nMaxDay = d.month == 2 ? (IsLeapYear(d.year) ? 29 : 28) : kDays[d.month - 1];
  if (d.day < 1 || d.day > nMaxDay) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcConvertVcard2Record: _CheckInvalidDate invalid value day(%d)\n", d.day);
    return FALSE;
  }
  if (d.hour < 0 || d.hour > 23 || d.minute < 0 || d.minute > 59 || d.second < 0 || d.second > 59) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcConvertVcard2Record: _CheckInvalidDate invalid value time(%02d:%02d:%02d)\n", d.hour,
             d.minute, d.second);
    return FALSE;
  }
  return TRUE;
}

// The digits of the text with the separators '-', ':' and a final 'Z' removed; false for any
// other character.
bool Digits(const std::string& strText, std::string& strDigits) {
  for (size_t i = 0; i < strText.size(); ++i) {
    const char c = strText[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      strDigits += c;
    } else if (c != '-' && c != ':' && !(c == 'Z' && i + 1 == strText.size())) {
      return false;
    }
  }
  return true;
}

int Number(const std::string& strDigits, size_t nPos, size_t nLength) { return std::stoi(strDigits.substr(nPos, nLength)); }

}  // namespace

BOOL CtSvcVCardParseDateTime(const char* pszText, TmDateTime* pDate) {
  if (pszText == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "_CtParseDateTime: pszText is NULL\n");
    return FALSE;
  }
  const std::string strText(pszText);
  const size_t nLength = strText.size();
  const bool bDateOnly = nLength == 8 || nLength == 10;
  if (!bDateOnly && nLength != 15 && nLength != 16 && nLength != 19 && nLength != 20) {
    DbgPrint(DBG_CLASS_FAIL, "_CtParseDateTime: pszText [%s]is invalid value(nStrLen is %d)\n", pszText,
             static_cast<int>(nLength));
    return FALSE;
  }
  const size_t nT = strText.find('T');
  if (!bDateOnly && nT == std::string::npos) {
    DbgPrint(DBG_CLASS_FAIL, "_CtParseDateTime: pszText [%s]is invalid value(T is null)\n", pszText);
    return FALSE;
  }
  std::string strDate, strTime;
  if (!Digits(strText.substr(0, bDateOnly ? nLength : nT), strDate) ||
      (!bDateOnly && !Digits(strText.substr(nT + 1), strTime)) || strDate.size() != 8 ||
      (!bDateOnly && strTime.size() != 6)) {
    DbgPrint(DBG_CLASS_FAIL, "_CtParseDateTime: pszText [%s]is invalid value(nStrLen is %d)\n", pszText,
             static_cast<int>(nLength));
    return FALSE;
  }
  TmDateTime date{Number(strDate, 0, 4), Number(strDate, 4, 2), Number(strDate, 6, 2), 0, 0, 0};
  if (!bDateOnly) {
    date.hour = Number(strTime, 0, 2);
    date.minute = Number(strTime, 2, 2);
    date.second = Number(strTime, 4, 2);
  }
  if (!CheckInvalidDate(date)) {
    return FALSE;
  }
  *pDate = date;
  return TRUE;
}
