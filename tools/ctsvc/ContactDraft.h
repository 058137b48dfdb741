// A contact put together in the program before it is written: the draft owns the person and the
// detail arrays, and Info() hands out the contact info pointing into them (valid while the draft
// is neither changed nor moved).
#ifndef CTSVC_TOOL_CONTACT_DRAFT_H
#define CTSVC_TOOL_CONTACT_DRAFT_H

#include <string>
#include <vector>

#include "CtSvcRecord.h"

namespace ctsvc_tool {

struct ContactDraft {
  ContactDraft(const std::string& strFirst, const std::string& strLast, int nAccountId);

  // Each adds one entry with the given text (cut to fit its array) and answers it.
  CtSvcPhoneNumberInfo& AddNumber(const std::string& strNumber, int nPhoneType = 1);
  CtSvcEmailAddressInfo& AddEmail(const std::string& strAddress);
  // Street, city, state, country and postal code, in that order (missing ones are empty).
  CtSvcPostalAddressInfo& AddAddress(const std::vector<std::string>& vcParts);
  void AddGroup(int nGroupId);
  CtSvcContactInfo Info();

  CtSvcPersonInfo person{};
  std::vector<CtSvcPhoneNumberInfo> vcNumbers;
  std::vector<CtSvcEmailAddressInfo> vcEmails;
  std::vector<CtSvcPostalAddressInfo> vcAddresses;
  std::vector<CtSvcGroupMemberInfo> vcMembers;
};

}  // namespace ctsvc_tool

#endif
