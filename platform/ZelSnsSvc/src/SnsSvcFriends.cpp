// Text form of friend lists.
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "ZelSnsSvc/ZelSnsSvc.h"

namespace {

const char kTelPrefix[] = "tel.";

std::string OneLine(std::string strValue) {
  for (char& c : strValue) {
    if (c == '\n' || c == '\r') {
      c = ' ';
    }
  }
  return strValue;
}

void AppendField(std::string& strOut, const std::string& strName, const std::string& strValue) {
  strOut += strName;
  strOut += '=';
  strOut += OneLine(strValue);
  strOut += '\n';
}

bool ParseAccount(const std::string& strValue, int& nAccount) {
  if (strValue.empty()) {
    return false;
  }
  errno = 0;
  char* pEnd = nullptr;
  const long nValue = std::strtol(strValue.c_str(), &pEnd, 10);
  if (errno != 0 || *pEnd != '\0' || nValue < INT_MIN || nValue > INT_MAX) {
    return false;
  }
  nAccount = static_cast<int>(nValue);
  return true;
}

// Stores one "name=value" field into the friend; false for an unknown field or a bad value.
bool SetField(ISnsSvcFriend& person, const std::string& strName, const std::string& strValue) {
  if (strName == "id") {
    person.strId = strValue;
  } else if (strName == "account") {
    return ParseAccount(strValue, person.nAccountId);
  } else if (strName == "firstname") {
    person.strFirstName = strValue;
  } else if (strName == "lastname") {
    person.strLastName = strValue;
  } else if (strName == "email") {
    person.vcEmails.push_back(strValue);
  } else if (strName == "picture") {
    person.strPictureUrl = strValue;
  } else if (strName.size() > sizeof(kTelPrefix) - 1 && strName.compare(0, sizeof(kTelPrefix) - 1, kTelPrefix) == 0) {
    person.vcPhoneNumbers.push_back({strName.substr(sizeof(kTelPrefix) - 1), strValue});
  } else {
    return false;
  }
  return true;
}

}  // namespace

std::string SnsSvcFriendsToText(const std::vector<ISnsSvcFriend>& vcFriends) {
  std::string strOut;
  for (const ISnsSvcFriend& person : vcFriends) {
    strOut += "friend\n";
    AppendField(strOut, "id", person.strId);
    AppendField(strOut, "account", std::to_string(person.nAccountId));
    AppendField(strOut, "firstname", person.strFirstName);
    AppendField(strOut, "lastname", person.strLastName);
    for (const SnsSvcPhoneNumber& number : person.vcPhoneNumbers) {
      AppendField(strOut, kTelPrefix + OneLine(number.strLabel), number.strNumber);
    }
    for (const std::string& strEmail : person.vcEmails) {
      AppendField(strOut, "email", strEmail);
    }
    AppendField(strOut, "picture", person.strPictureUrl);
    strOut += "end\n";
  }
  return strOut;
}

bool SnsSvcFriendsFromText(const std::string& strText, std::vector<ISnsSvcFriend>& vcFriends) {
  vcFriends.clear();
  std::vector<ISnsSvcFriend> vcRead;
  bool bInRecord = false;
  bool bHasAccount = false;
  size_t nPos = 0;
  while (nPos < strText.size()) {
    size_t nEnd = strText.find('\n', nPos);
    if (nEnd == std::string::npos) {
      nEnd = strText.size();
    }
    std::string strLine = strText.substr(nPos, nEnd - nPos);
    nPos = nEnd + 1;
    if (!strLine.empty() && strLine.back() == '\r') {
      strLine.pop_back();
    }
    if (!bInRecord) {
      if (strLine == "friend") {
        vcRead.emplace_back();
        bInRecord = true;
        bHasAccount = false;
      } else if (!strLine.empty()) {
        return false;
      }
      continue;
    }
    if (strLine == "end") {
      if (vcRead.back().strId.empty() || !bHasAccount) {
        return false;
      }
      bInRecord = false;
      continue;
    }
    const size_t nEq = strLine.find('=');
    if (nEq == std::string::npos || !SetField(vcRead.back(), strLine.substr(0, nEq), strLine.substr(nEq + 1))) {
      return false;
    }
    bHasAccount = bHasAccount || strLine.compare(0, nEq, "account") == 0;
  }
  if (bInRecord || vcRead.empty()) {
    return false;
  }
  vcFriends.swap(vcRead);
  return true;
}
