// The per-friend work of the three friend actions (see CtSvcSnsSyncActions.h).
#ifndef CTSVC_SNS_SYNC_HOOKS_H
#define CTSVC_SNS_SYNC_HOOKS_H

#include "ZelSnsSvc/ZelSnsSvc.h"

// "update": the friend's contact is rewritten from the friend (names when given; numbers and
// e-mail addresses; the caller image when the friend has a picture).
int CtSvcSnsUpdateFriend(const ISnsSvcFriend& person);
// "delete": the friend's contact is removed.
int CtSvcSnsDeleteFriend(const ISnsSvcFriend& person);
// "needcallerid": the friend's picture becomes the caller image of its contact.
int CtSvcSnsRequestCallerId(const ISnsSvcFriend& person);

#endif
