// The instant-messaging service profiles of the messaging service.
#include <cstdio>
#include <iterator>

#include "ZelMsgSvc.h"

namespace {

// Ids are positions + 1. "Facebook" and "Line" have no vCard property.
const char* const kProfiles[] = {"AIM", "Google", "ICQ", "Jabber", "MSN", "Skype", "Yahoo", "QQ", "Facebook", "Line"};

}  // namespace

BOOL MsgSvcSpGetImSpProfile(INT32 nIspId, MsgSvcImSpProfile* pProfile) {
  if (pProfile == nullptr || nIspId < 1 || nIspId > MsgSvcSpGetImSpCount()) {
    return FALSE;
  }
  pProfile->nIspId = nIspId;
  std::snprintf(pProfile->szName, sizeof(pProfile->szName), "%s", kProfiles[nIspId - 1]);
  return TRUE;
}

INT32 MsgSvcSpGetImSpCount(void) { return static_cast<INT32>(std::size(kProfiles)); }
