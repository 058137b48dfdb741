// A contact as vCard text: one encoder for every place the library writes vCard lines.
//
// Lines end in CRLF. Values escape '\', ';', ',' and line breaks ("\n") with a backslash; in a
// version 2.1 card a value that is not plain ASCII carries CHARSET=UTF-8. N and FN are always
// written. Lines are not folded.
#ifndef CTSVC_VCARD_LINES_H
#define CTSVC_VCARD_LINES_H

#include <string>
#include <vector>

#include "ZelTm.h"

struct CtSvcVCardTel {
  int nPhoneType;  // 0/1 cell, 2 voice, 3 pager, 4 fax, 5 message, 6 video, 7 car, 8 ISDN
  int nUseType;    // 2 home, 3 work, others none
  std::string strNumber;
};

struct CtSvcVCardEmail {
  int nUseType;
  std::string strAddress;
};

struct CtSvcVCardAddress {
  int nUseType;
  std::string strPoBox;
  std::string strExtended;
  std::string strStreet;
  std::string strCity;
  std::string strState;
  std::string strPostalCode;
  std::string strCountry;
};

// Other data by its type: 2 ORG, 3 TITLE, 5 NICKNAME (X-NICKNAME in 2.1), 12/13/14 URL (plain,
// home, work), 20 NOTE; any other type becomes X-CTSVC-ETC-<type>.
struct CtSvcVCardOther {
  int nType;
  std::string strValue;
};

struct CtSvcVCardData {
  std::string strFirstName;
  std::string strLastName;
  TmDateTime Birthday{1899, 12, 31, 0, 0, 0};  // written when the year is after 1899
  std::vector<CtSvcVCardTel> vcTels;
  std::vector<CtSvcVCardEmail> vcEmails;
  std::vector<CtSvcVCardAddress> vcAddresses;
  std::vector<CtSvcVCardOther> vcOthers;
};

// The vCard of the contact, "BEGIN:VCARD" to "END:VCARD" with its final CRLF. pszVersion is
// "2.1" or "3.0" (the date form follows it); null means "2.1".
std::string CtSvcEncodeVCard(const CtSvcVCardData& card, const char* pszVersion = "2.1");

#endif
