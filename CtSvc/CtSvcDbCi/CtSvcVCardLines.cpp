// vCard encoder: properties built from small tables, values escaped in one place.
#include "CtSvcDbCi/CtSvcVCardLines.h"

#include <cstdio>
#include <cstring>

namespace {

const char kCrLf[] = "\r\n";

struct Version {
  bool bV21;
};

std::string Escape(const std::string& strValue) {
  std::string strOut;
  strOut.reserve(strValue.size());
  for (size_t i = 0; i < strValue.size(); ++i) {
    const char c = strValue[i];
    if (c == '\\' || c == ';' || c == ',') {
      strOut += '\\';
      strOut += c;
    } else if (c == '\r' || c == '\n') {
      strOut += "\\n";
      if (c == '\r' && i + 1 < strValue.size() && strValue[i + 1] == '\n') {
        ++i;  // CRLF is one line break
      }
    } else {
      strOut += c;
    }
  }
  return strOut;
}

bool IsAscii(const std::string& strValue) {
  for (unsigned char c : strValue) {
    if (c >= 0x80) {
      return false;
    }
  }
  return true;
}

// "NAME;PARAM;...:value;value" with its line end.
void AppendLine(std::string& strOut, const Version& version, const char* szName, std::vector<std::string> vcParams,
                const std::vector<std::string>& vcValues) {
  bool bAscii = true;
  std::string strValue;
  for (size_t i = 0; i < vcValues.size(); ++i) {
    bAscii = bAscii && IsAscii(vcValues[i]);
    strValue += (i > 0 ? ";" : "") + Escape(vcValues[i]);
  }
  if (version.bV21 && !bAscii) {
    vcParams.emplace_back("CHARSET=UTF-8");
  }
  strOut += szName;
  for (const std::string& strParam : vcParams) {
    strOut += ';' + strParam;
  }
  strOut += ':' + strValue + kCrLf;
}

// TYPE=HOME or TYPE=WORK for use types 2 and 3.
void AddUseType(std::vector<std::string>& vcParams, int nUseType) {
  if (nUseType == 2) {
    vcParams.emplace_back("TYPE=HOME");
  } else if (nUseType == 3) {
    vcParams.emplace_back("TYPE=WORK");
  }
}

const char* PhoneTypeName(int nPhoneType) {
  static const char* const kNames[] = {"CELL", "CELL", "VOICE", "PAGER", "FAX", "MSG", "VIDEO", "CAR", "ISDN"};
  const int nCount = static_cast<int>(sizeof(kNames) / sizeof(kNames[0]));
  return nPhoneType >= 0 && nPhoneType < nCount ? kNames[nPhoneType] : "VOICE";
}

struct OtherProperty {
  int nType;
  const char* szName21;
  const char* szName30;
  const char* szTypeParam;  // or null
};

const OtherProperty kOtherProperties[] = {
    {2, "ORG", "ORG", nullptr},         {3, "TITLE", "TITLE", nullptr},
    {5, "X-NICKNAME", "NICKNAME", nullptr}, {12, "URL", "URL", nullptr},
    {13, "URL", "URL", "TYPE=HOME"},    {14, "URL", "URL", "TYPE=WORK"},
    {20, "NOTE", "NOTE", nullptr},
};

void AppendOther(std::string& strOut, const Version& version, const CtSvcVCardOther& other) {
  for (const OtherProperty& property : kOtherProperties) {
    if (property.nType == other.nType) {
      std::vector<std::string> vcParams;
      if (property.szTypeParam != nullptr) {
        vcParams.emplace_back(property.szTypeParam);
      }
      AppendLine(strOut, version, version.bV21 ? property.szName21 : property.szName30, vcParams, {other.strValue});
      return;
    }
  }
  const std::string strName = "X-CTSVC-ETC-" + std::to_string(other.nType);
  AppendLine(strOut, version, strName.c_str(), {}, {other.strValue});
}

void AppendBirthday(std::string& strOut, const Version& version, const TmDateTime& date) {
  if (date.year <= 1899 || date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) {
    return;
  }
  char szDate[32];
  std::snprintf(szDate, sizeof(szDate), version.bV21 ? "%04d%02d%02d" : "%04d-%02d-%02d", date.year, date.month,
                date.day);
  AppendLine(strOut, version, "BDAY", {}, {szDate});
}

std::string DisplayName(const CtSvcVCardData& card) {
  if (card.strFirstName.empty() || card.strLastName.empty()) {
    return card.strFirstName + card.strLastName;
  }
  return card.strFirstName + " " + card.strLastName;
}

}  // namespace

std::string CtSvcEncodeVCard(const CtSvcVCardData& card, const char* pszVersion) {
  const char* pszUsed = pszVersion != nullptr ? pszVersion : "2.1";
  const Version version{std::strcmp(pszUsed, "3.0") != 0};
  std::string strOut = std::string("BEGIN:VCARD") + kCrLf + "VERSION:" + (version.bV21 ? "2.1" : "3.0") + kCrLf;
  AppendLine(strOut, version, "N", {}, {card.strLastName, card.strFirstName, "", "", ""});
  AppendLine(strOut, version, "FN", {}, {DisplayName(card)});
  AppendBirthday(strOut, version, card.Birthday);
  for (const CtSvcVCardTel& tel : card.vcTels) {
    std::vector<std::string> vcParams{std::string("TYPE=") + PhoneTypeName(tel.nPhoneType)};
    AddUseType(vcParams, tel.nUseType);
    AppendLine(strOut, version, "TEL", vcParams, {tel.strNumber});
  }
  for (const CtSvcVCardEmail& email : card.vcEmails) {
    std::vector<std::string> vcParams{"TYPE=INTERNET"};
    AddUseType(vcParams, email.nUseType);
    AppendLine(strOut, version, "EMAIL", vcParams, {email.strAddress});
  }
  for (const CtSvcVCardAddress& address : card.vcAddresses) {
    std::vector<std::string> vcParams;
    AddUseType(vcParams, address.nUseType);
    AppendLine(strOut, version, "ADR", vcParams,
               {address.strPoBox, address.strExtended, address.strStreet, address.strCity, address.strState,
                address.strPostalCode, address.strCountry});
  }
  for (const CtSvcVCardOther& other : card.vcOthers) {
    AppendOther(strOut, version, other);
  }
  strOut += std::string("END:VCARD") + kCrLf;
  return strOut;
}
