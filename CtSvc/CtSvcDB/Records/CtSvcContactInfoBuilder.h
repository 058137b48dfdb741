// A contact info put together from values: the builder owns the person and the detail arrays, and
// Info() hands out a CtSvcContactInfo pointing into them (valid while the builder is not changed).
#ifndef CTSVC_CONTACT_INFO_BUILDER_H
#define CTSVC_CONTACT_INFO_BUILDER_H

#include <string>
#include <vector>

#include "CtSvcRecord.h"
#include "ZelAc.h"

// Copies a text into a C array, cut to fit (never inside a character) and terminated.
template <size_t N>
void CtSvcCopyText(char (&szDest)[N], const std::string& strValue) {
  AcStrlcpy(szDest, strValue.c_str(), N);
}

class CCtSvcContactInfoBuilder {
 public:
  CCtSvcContactInfoBuilder(const std::string& strFirst, int nAccountId, const std::string& strLast = "");

  CCtSvcContactInfoBuilder& Number(const std::string& strNumber, int nPhoneType = 1);
  CCtSvcContactInfoBuilder& Email(const std::string& strAddress);
  CCtSvcContactInfoBuilder& Address(const std::string& strStreet, const std::string& strCity,
                                    const std::string& strState = "", const std::string& strCountry = "",
                                    const std::string& strPostalCode = "");
  CCtSvcContactInfoBuilder& Group(int nGroupId);
  CCtSvcContactInfoBuilder& Etc(int nType, const std::string& strValue);
  CCtSvcContactInfoBuilder& Rcs(const std::string& strSip);
  CtSvcContactInfo Info();

  CtSvcPersonInfo person{};
  std::vector<CtSvcPhoneNumberInfo> vcNumbers;
  std::vector<CtSvcEmailAddressInfo> vcEmails;
  std::vector<CtSvcPostalAddressInfo> vcAddresses;
  std::vector<CtSvcGroupMemberInfo> vcMembers;
  std::vector<CtSvcEtcDataInfo> vcEtc;
  std::vector<CtSvcIMInfo> vcIms;
  CtSvcRcsInfo rcs{};
  bool bRcs = false;
};

#endif
