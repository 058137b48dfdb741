#include "ContactDraft.h"

namespace ctsvc_tool {

ContactDraft::ContactDraft(const std::string& strFirst, const std::string& strLast, int nAccountId) {
  person.nSlotIndex = -1;
  person.nAccountId = nAccountId;
  person.nDefaultPhoneNumberId = -1;
  CopyText(person.szFirstName, strFirst);
  CopyText(person.szLastName, strLast);
}

void ContactDraft::AddNumber(const std::string& strNumber, int nPhoneType) {
  CtSvcPhoneNumberInfo info{};
  info.nAasId = -1;
  info.PhoneType = nPhoneType;
  info.UseType = 1;
  CopyText(info.szPhoneNumber, strNumber);
  vcNumbers.push_back(info);
}

void ContactDraft::AddEmail(const std::string& strEmail) {
  CtSvcEmailAddressInfo info{};
  CopyText(info.szEmailAddress, strEmail);
  vcEmails.push_back(info);
}

void ContactDraft::AddAddress(const std::string& strStreet, const std::string& strCity, const std::string& strState,
                              const std::string& strCountry, const std::string& strPostalCode) {
  CtSvcPostalAddressInfo info{};
  CopyText(info.szStreet, strStreet);
  CopyText(info.szCity, strCity);
  CopyText(info.szState, strState);
  CopyText(info.szCountry, strCountry);
  CopyText(info.szPCODE, strPostalCode);
  vcAddresses.push_back(info);
}

void ContactDraft::AddGroup(int nGroupId) { vcMembers.push_back(CtSvcGroupMemberInfo{-1, -1, person.nAccountId, nGroupId}); }

CtSvcContactInfo ContactDraft::Info() {
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
  return info;
}

}  // namespace ctsvc_tool
