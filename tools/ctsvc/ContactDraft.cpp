#include "ContactDraft.h"

#include "ZelAc.h"

namespace ctsvc_tool {

namespace {

template <size_t N>
void Copy(char (&szDest)[N], const std::string& strValue) {
  AcStrlcpy(szDest, strValue.c_str(), N);
}

// One detail list of the contact info: the array and its count.
template <typename T>
void PointAt(std::vector<T>& vcItems, T*& pArray, INT32& nCount) {
  pArray = vcItems.data();
  nCount = static_cast<INT32>(vcItems.size());
}

}  // namespace

ContactDraft::ContactDraft(const std::string& strFirst, const std::string& strLast, int nAccountId) {
  person.nSlotIndex = -1;
  person.nAccountId = nAccountId;
  person.nDefaultPhoneNumberId = -1;
  Copy(person.szFirstName, strFirst);
  Copy(person.szLastName, strLast);
}

CtSvcPhoneNumberInfo& ContactDraft::AddNumber(const std::string& strNumber, int nPhoneType) {
  CtSvcPhoneNumberInfo& info = vcNumbers.emplace_back();
  info.nAasId = -1;
  info.PhoneType = nPhoneType;
  info.UseType = CTSVC_USE_TYPE_OTHER;
  Copy(info.szPhoneNumber, strNumber);
  return info;
}

CtSvcEmailAddressInfo& ContactDraft::AddEmail(const std::string& strAddress) {
  CtSvcEmailAddressInfo& info = vcEmails.emplace_back();
  info.EmailType = CTSVC_EMAIL_TYPE_INTERNET;
  Copy(info.szEmailAddress, strAddress);
  return info;
}

CtSvcPostalAddressInfo& ContactDraft::AddAddress(const std::vector<std::string>& vcParts) {
  std::vector<std::string> vcFive(vcParts);
  vcFive.resize(5);
  CtSvcPostalAddressInfo& info = vcAddresses.emplace_back();
  char* const apFields[] = {info.szStreet, info.szCity, info.szState, info.szCountry, info.szPCODE};
  const size_t anSizes[] = {sizeof(info.szStreet), sizeof(info.szCity), sizeof(info.szState), sizeof(info.szCountry),
                            sizeof(info.szPCODE)};
  for (size_t i = 0; i < vcFive.size(); ++i) {
    AcStrlcpy(apFields[i], vcFive[i].c_str(), anSizes[i]);
  }
  return info;
}

void ContactDraft::AddGroup(int nGroupId) { vcMembers.push_back(CtSvcGroupMemberInfo{-1, -1, person.nAccountId, nGroupId}); }

CtSvcContactInfo ContactDraft::Info() {
  CtSvcContactInfo info{};
  info.pPersonInfo = &person;
  PointAt(vcNumbers, info.pPhoneNumberInfo, info.nPhoneNumberCount);
  PointAt(vcEmails, info.pEmailAddressInfo, info.nEmailAddressCount);
  PointAt(vcAddresses, info.pPostalAddressInfo, info.nPostalAddressCount);
  PointAt(vcMembers, info.pGroupMemberInfo, info.nGroupMemberCount);
  return info;
}

}  // namespace ctsvc_tool
