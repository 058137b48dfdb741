// Social-network service client: the friend records that the synchronisation manager carries to
// a subscriber, their text form, and the history stores that subscribers keep.
//
// Text form of a friend list (one field per line, "\n" or "\r\n" line ends):
//   friend                 starts a record
//   id=<people id>         the friend's id at the social network (required, not empty)
//   account=<n>            the account the friend came through (required, a number)
//   firstname=<text>       lastname=<text>
//   tel.<label>=<number>   repeated; labels "mobile", "office", "home" (others are kept as given)
//   email=<address>        repeated
//   picture=<address>      the profile picture's address
//   end                    ends the record
// A value is the rest of its line, so it cannot hold a line break. Blank lines between records
// are ignored.
#ifndef ZEL_SNS_SVC_H
#define ZEL_SNS_SVC_H

#include <string>
#include <vector>

#include "ZelCore/ZelTypes.h"

#define SNS_SVC_PHONE_LABEL_MOBILE "mobile"
#define SNS_SVC_PHONE_LABEL_OFFICE "office"
#define SNS_SVC_PHONE_LABEL_HOME "home"

struct SnsSvcPhoneNumber {
  std::string strLabel;
  std::string strNumber;
};

// One friend of a social-network account.
struct ISnsSvcFriend {
  std::string strId;
  int nAccountId = -1;
  std::string strFirstName;
  std::string strLastName;
  std::vector<SnsSvcPhoneNumber> vcPhoneNumbers;
  std::vector<std::string> vcEmails;
  std::string strPictureUrl;
};

// The text form of the friends. A line break inside a value is replaced by a blank.
std::string SnsSvcFriendsToText(const std::vector<ISnsSvcFriend>& vcFriends);

// Reads friends from their text form. False (and vcFriends empty) for a text that holds no
// friend, an unknown field, a field outside a record, a record without "end", an empty id or an
// account that is not a number.
bool SnsSvcFriendsFromText(const std::string& strText, std::vector<ISnsSvcFriend>& vcFriends);

// History stores: named stores that a subscriber keeps open for its lifetime.
ZEL_EXTERN_C_BEGIN

// Opens the named store (creating it when missing) with room for nSize entries; a handle, or
// INVALID_HOBJ for a null or empty name, a size below 1 or a store of that name already open.
HOBJ SnsSvcHistoryDbOpen(const char* pszName, INT32 nSize);
// Closes the store; FALSE for a handle that is not open.
BOOL SnsSvcHistoryDbClose(HOBJ hHistoryDb);
// The size the named store was opened with, or -1 when no store of that name is open.
INT32 SnsSvcHistoryDbGetSize(const char* pszName);

// Entries of a store: (people id, service provider) pairs the social-network services keep for
// the friends they handled. They belong to the store's name and stay while it is closed.
// Adds one entry; FALSE for a null or empty name or people id.
BOOL SnsSvcHistoryDbAddEntry(const char* pszName, const char* pszPeopleId, INT32 nSp);
// Removes the open store's entries of the people id and service provider (nFlags: 0); the number
// removed, -1 for a handle that is not open or a null people id.
INT32 SnsSvcHistoryDbRemoveEntries(HOBJ hHistoryDb, const char* pszPeopleId, INT32 nSp, INT32 nFlags);
// The named store's entries of the people id and service provider.
INT32 SnsSvcHistoryDbCountEntries(const char* pszName, const char* pszPeopleId, INT32 nSp);

ZEL_EXTERN_C_END

#endif
