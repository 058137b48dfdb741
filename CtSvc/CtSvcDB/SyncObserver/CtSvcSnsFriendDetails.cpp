// A friend's labelled numbers and e-mail addresses as the detail structures of a contact.
#include <cstring>

#include "CtSvcDB/Records/CtSvcRecordText.h"
#include "CtSvcDB/SyncObserver/CtSvcSnsSyncActions.h"

namespace {

struct LabelKind {
  const char* szLabel;
  INT32 nPhoneType;
  INT32 nUseType;
};

const LabelKind kLabelKinds[] = {
    {SNS_SVC_PHONE_LABEL_MOBILE, 1, CTSVC_USE_TYPE_OTHER},
    {SNS_SVC_PHONE_LABEL_OFFICE, 2, CTSVC_USE_TYPE_WORK},
    {SNS_SVC_PHONE_LABEL_HOME, 2, CTSVC_USE_TYPE_HOME},
};

const LabelKind* FindLabel(const std::string& strLabel) {
  for (const LabelKind& kind : kLabelKinds) {
    if (strLabel == kind.szLabel) {
      return &kind;
    }
  }
  return nullptr;
}

}  // namespace

std::vector<CtSvcPhoneNumberInfo> CtSvcSnsFriendPhoneNumbers(const ISnsSvcFriend& person) {
  std::vector<CtSvcPhoneNumberInfo> vcNumbers;
  for (const SnsSvcPhoneNumber& number : person.vcPhoneNumbers) {
    const LabelKind* pKind = FindLabel(number.strLabel);
    if (pKind == nullptr || number.strNumber.empty()) {
      continue;
    }
    CtSvcPhoneNumberInfo info;
    std::memset(&info, 0, sizeof(info));
    info.nAasId = -1;
    info.PhoneType = pKind->nPhoneType;
    info.UseType = pKind->nUseType;
    CtSvcWriteCString(info.szPhoneNumber, sizeof(info.szPhoneNumber), number.strNumber);
    vcNumbers.push_back(info);
  }
  return vcNumbers;
}

std::vector<CtSvcEmailAddressInfo> CtSvcSnsFriendEmails(const ISnsSvcFriend& person) {
  std::vector<CtSvcEmailAddressInfo> vcEmails;
  for (const std::string& strEmail : person.vcEmails) {
    if (strEmail.empty()) {
      continue;
    }
    CtSvcEmailAddressInfo info;
    std::memset(&info, 0, sizeof(info));
    info.UseType = 0;
    info.EmailType = CTSVC_EMAIL_TYPE_INTERNET;
    CtSvcWriteCString(info.szEmailAddress, sizeof(info.szEmailAddress), strEmail);
    vcEmails.push_back(info);
  }
  return vcEmails;
}
