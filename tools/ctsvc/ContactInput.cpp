#include "ContactInput.h"

#include <cstdio>
#include <algorithm>
#include <cstring>

#include "CtSvcDbPerson.h"
#include "CtsvcTool.h"

namespace ctsvc_tool {

namespace {

constexpr int kMaxDetails = 64;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

size_t Characters(const std::string& strText) {
  size_t n = 0;
  for (unsigned char c : strText) {
    n += IsContinuation(c) ? 0 : 1;
  }
  return n;
}

// "YYYY-MM-DD" into a date; "" is the unset date.
bool ParseDate(const std::string& strText, TmDateTime& date) {
  date = TmDateTime{CTSVC_UNSET_DATE_YEAR, CTSVC_UNSET_DATE_MONTH, CTSVC_UNSET_DATE_DAY, 0, 0, 0};
  if (strText.empty()) {
    return true;
  }
  int nYear = 0, nMonth = 0, nDay = 0;
  char cEnd = 0;
  if (std::sscanf(strText.c_str(), "%4d-%2d-%2d%c", &nYear, &nMonth, &nDay, &cEnd) != 3 || nYear < 1900 ||
      nYear > 2100 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31) {
    return false;
  }
  date = TmDateTime{nYear, nMonth, nDay, 0, 0, 0};
  return true;
}

void WarnIfCut(const std::string& strField, const std::string& strGiven, const std::string& strStored) {
  const size_t nGiven = Characters(strGiven), nStored = Characters(strStored);
  if (nStored < nGiven) {
    Warn(strField + " cut from " + std::to_string(nGiven) + " to " + std::to_string(nStored) +
         " characters (the store keeps no more)");
  }
}

template <typename Record, typename Get>
void WarnOfListCuts(const char* szField, const std::vector<std::string>& vcGiven, int (*pfnList)(HOBJ, Record*, int),
                    HOBJ hPerson, Get get) {
  std::vector<Record> vcStored(kMaxDetails);
  const int nStored = pfnList(hPerson, vcStored.data(), kMaxDetails);
  for (size_t i = 0; i < vcGiven.size() && static_cast<int>(i) < nStored; ++i) {
    WarnIfCut(std::string(szField) + " " + std::to_string(i + 1), vcGiven[i], get(vcStored[i]));
  }
}

}  // namespace

bool ContactInput::Read(const Args& args, std::string& strError) {
  bFirst = args.Has("first");
  bLast = args.Has("last");
  bNumbers = args.Has("number");
  bEmails = args.Has("email");
  bBirthday = args.Has("birthday");
  strFirst = args.Get("first");
  strLast = args.Get("last");
  // An empty value gives no entry: "--email ''" leaves a contact without e-mails.
  for (const std::string& strNumber : args.GetAll("number")) {
    if (!strNumber.empty()) {
      vcNumbers.push_back(strNumber);
    }
  }
  for (const std::string& strEmail : args.GetAll("email")) {
    if (!strEmail.empty()) {
      vcEmails.push_back(strEmail);
    }
  }
  if (vcNumbers.size() > static_cast<size_t>(kMaxDetails) || vcEmails.size() > static_cast<size_t>(kMaxDetails)) {
    strError = "at most " + std::to_string(kMaxDetails) + " numbers and e-mails";
    return false;
  }
  if (!ParseDate(args.Get("birthday"), birthday)) {
    strError = "--birthday is a date YYYY-MM-DD between 1900 and 2100";
    return false;
  }
  return true;
}

void PutText(char* pArray, size_t nSize, const std::string& strText) {
  size_t nLength = std::min(strText.size(), nSize - 1);
  while (nLength > 0 && nLength < strText.size() && IsContinuation(static_cast<unsigned char>(strText[nLength]))) {
    --nLength;
  }
  std::memcpy(pArray, strText.data(), nLength);
  pArray[nLength] = '\0';
}

void WarnOfCuts(const ContactInput& input, int nPersonId) {
  CtSvcPersonRecord person{};
  if (!CtSvcDbPersonGetRecordById(nPersonId, &person)) {
    return;
  }
  if (input.bFirst) {
    WarnIfCut("first name", input.strFirst, person.Info.szFirstName);
  }
  if (input.bLast) {
    WarnIfCut("last name", input.strLast, person.Info.szLastName);
  }
  const HOBJ hPerson = person.Info.hPerson;
  if (input.bNumbers) {
    WarnOfListCuts<CtSvcPhoneNumberRecord>("number", input.vcNumbers, &CtSvcDbPersonGetPhoneNumberList, hPerson,
                                           [](const CtSvcPhoneNumberRecord& r) { return r.Info.szPhoneNumber; });
  }
  if (input.bEmails) {
    WarnOfListCuts<CtSvcEmailAddressRecord>("e-mail", input.vcEmails, &CtSvcDbPersonGetEmailAddressList, hPerson,
                                            [](const CtSvcEmailAddressRecord& r) { return r.Info.szEmailAddress; });
  }
}

}  // namespace ctsvc_tool
