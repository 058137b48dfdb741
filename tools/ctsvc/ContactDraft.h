// A contact being put together from text: the person and its detail arrays, kept alive while the
// contact info that points at them is inserted.
#ifndef CTSVC_TOOL_CONTACT_DRAFT_H
#define CTSVC_TOOL_CONTACT_DRAFT_H

#include <cstring>
#include <string>
#include <vector>

#include "CtSvcRecord.h"

namespace ctsvc_tool {

// Copies text into a fixed C array, cut to fit and terminated.
template <size_t N>
void CopyText(char (&szDst)[N], const std::string& str) {
  std::strncpy(szDst, str.c_str(), N - 1);
  szDst[N - 1] = '\0';
}

struct ContactDraft {
  CtSvcPersonInfo person{};
  std::vector<CtSvcPhoneNumberInfo> vcNumbers;
  std::vector<CtSvcEmailAddressInfo> vcEmails;
  std::vector<CtSvcPostalAddressInfo> vcAddresses;
  std::vector<CtSvcGroupMemberInfo> vcMembers;

  ContactDraft(const std::string& strFirst, const std::string& strLast, int nAccountId);
  void AddNumber(const std::string& strNumber, int nPhoneType = 1);
  void AddEmail(const std::string& strEmail);
  void AddAddress(const std::string& strStreet, const std::string& strCity, const std::string& strState,
                  const std::string& strCountry, const std::string& strPostalCode);
  void AddGroup(int nGroupId);
  // The info pointing at this draft's arrays (valid while the draft is not changed).
  CtSvcContactInfo Info();
};

}  // namespace ctsvc_tool

#endif
