#include "CtSvcContactInfoBuilder.h"

CCtSvcContactInfoBuilder::CCtSvcContactInfoBuilder(const std::string& strFirst, int nAccountId,
                                                   const std::string& strLast) {
  person.nSlotIndex = -1;
  person.nAccountId = nAccountId;
  person.nDefaultPhoneNumberId = -1;
  CtSvcCopyText(person.szFirstName, strFirst);
  CtSvcCopyText(person.szLastName, strLast);
}

CCtSvcContactInfoBuilder& CCtSvcContactInfoBuilder::Number(const std::string& strNumber, int nPhoneType) {
  CtSvcPhoneNumberInfo info{};
  info.nAasId = -1;
  info.PhoneType = nPhoneType;
  info.UseType = CTSVC_USE_TYPE_OTHER;
  CtSvcCopyText(info.szPhoneNumber, strNumber);
  vcNumbers.push_back(info);
  return *this;
}

CCtSvcContactInfoBuilder& CCtSvcContactInfoBuilder::Email(const std::string& strAddress) {
  CtSvcEmailAddressInfo info{};
  info.EmailType = CTSVC_EMAIL_TYPE_INTERNET;
  CtSvcCopyText(info.szEmailAddress, strAddress);
  vcEmails.push_back(info);
  return *this;
}

CCtSvcContactInfoBuilder& CCtSvcContactInfoBuilder::Address(const std::string& strStreet, const std::string& strCity,
                                                            const std::string& strState, const std::string& strCountry,
                                                            const std::string& strPostalCode) {
  CtSvcPostalAddressInfo info{};
  CtSvcCopyText(info.szStreet, strStreet);
  CtSvcCopyText(info.szCity, strCity);
  CtSvcCopyText(info.szState, strState);
  CtSvcCopyText(info.szCountry, strCountry);
  CtSvcCopyText(info.szPCODE, strPostalCode);
  vcAddresses.push_back(info);
  return *this;
}

CCtSvcContactInfoBuilder& CCtSvcContactInfoBuilder::Group(int nGroupId) {
  vcMembers.push_back(CtSvcGroupMemberInfo{-1, -1, person.nAccountId, nGroupId});
  return *this;
}

CCtSvcContactInfoBuilder& CCtSvcContactInfoBuilder::Etc(int nType, const std::string& strValue) {
  CtSvcEtcDataInfo info{};
  info.EtcDataType = nType;
  CtSvcCopyText(info.szEtcData, strValue);
  vcEtc.push_back(info);
  return *this;
}

CCtSvcContactInfoBuilder& CCtSvcContactInfoBuilder::Rcs(const std::string& strSip) {
  CtSvcCopyText(rcs.szSip, strSip);
  bRcs = true;
  return *this;
}

CtSvcContactInfo CCtSvcContactInfoBuilder::Info() {
  CtSvcContactInfo info{};
  info.pPersonInfo = &person;
  info.pPhoneNumberInfo = vcNumbers.data();
  info.nPhoneNumberCount = static_cast<INT32>(vcNumbers.size());
  info.pEmailAddressInfo = vcEmails.data();
  info.nEmailAddressCount = static_cast<INT32>(vcEmails.size());
  info.pPostalAddressInfo = vcAddresses.data();
  info.nPostalAddressCount = static_cast<INT32>(vcAddresses.size());
  info.pGroupMemberInfo = vcMembers.data();
  info.nGroupMemberCount = static_cast<INT32>(vcMembers.size());
  info.pEtcDataInfo = vcEtc.data();
  info.nEtcDataCount = static_cast<INT32>(vcEtc.size());
  info.pIMInfo = vcIms.data();
  info.nIMCount = static_cast<INT32>(vcIms.size());
  info.pRcsInfo = bRcs ? &rcs : nullptr;
  return info;
}
