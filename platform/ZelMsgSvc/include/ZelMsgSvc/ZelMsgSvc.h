/* Messaging service: the instant-messaging service profiles the phone knows, by ISP id. */
#ifndef ZEL_MSG_SVC_H
#define ZEL_MSG_SVC_H

#include "ZelTypes.h"

#define MSGSVC_IM_SP_NAME_SIZE 32

typedef struct MsgSvcImSpProfile {
  INT32 nIspId;
  char szName[MSGSVC_IM_SP_NAME_SIZE]; /* the profile name, e.g. "Skype" */
} MsgSvcImSpProfile;

ZEL_EXTERN_C_BEGIN

/* The profile of an ISP id; FALSE for an unknown id. */
BOOL MsgSvcSpGetImSpProfile(INT32 nIspId, MsgSvcImSpProfile* pProfile);
/* Number of profiles; ids run from 1 to the count. */
INT32 MsgSvcSpGetImSpCount(void);

ZEL_EXTERN_C_END

#endif
