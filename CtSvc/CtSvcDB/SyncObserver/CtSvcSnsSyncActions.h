// The actions of the social-network friend synchronisation: per action its log lines and the
// hook that carries it out for one friend.
//
// The hooks end in phonebook writes: "update" rewrites the friend's names, numbers and e-mail
// addresses, "delete" removes its contact, and both "update" and "needcallerid" point the caller
// image at the friend's picture file among the account's caller images.
#ifndef CTSVC_SNS_SYNC_ACTIONS_H
#define CTSVC_SNS_SYNC_ACTIONS_H

#include <string>
#include <vector>

#include "CtSvcDetail.h"
#include "ZelSnsSvc/ZelSnsSvc.h"

// Handles one valid friend; 1 done, 0 failed (logged).
typedef int (*CtSvcSnsFriendHook)(const ISnsSvcFriend& person);

struct CtSvcSnsSyncAction {
  const char* szAction;
  const char* szCountFormat;    // "... (%d friends)" or null
  const char* szInvalidFormat;  // an unusable friend; may take the friend's id as %s
  CtSvcSnsFriendHook pfnHook;
};

// The action of that name, or null.
const CtSvcSnsSyncAction* CtSvcFindSnsSyncAction(const std::string& strAction);

// A friend the actions can use: an id and an account (accounts are numbered from 1).
bool CtSvcIsUsableSnsFriend(const ISnsSvcFriend& person);

// The person stored for the friend (its social-network row with that people id and account),
// or -1.
int CtSvcSnsFindPersonId(const ISnsSvcFriend& person);

// The friend's numbers labelled "mobile", "office" and "home" as phone numbers (mobile: phone
// type 1, use 1; office: phone type 2, use 3; home: phone type 2, use 2); other labels are left
// out. Numbers are cut to the structure's size.
std::vector<CtSvcPhoneNumberInfo> CtSvcSnsFriendPhoneNumbers(const ISnsSvcFriend& person);
// The friend's e-mail addresses as e-mail rows of e-mail type 1.
std::vector<CtSvcEmailAddressInfo> CtSvcSnsFriendEmails(const ISnsSvcFriend& person);

#endif
