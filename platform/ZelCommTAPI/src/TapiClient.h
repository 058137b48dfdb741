// Inside the telephony library: the event handler a client's indications are delivered to.
#ifndef ZEL_TAPI_CLIENT_H
#define ZEL_TAPI_CLIENT_H

#include "ZelTypes.h"

// The handler of a registered client that takes indications, or INVALID_HOBJ.
HOBJ TapiClientEventHandler(INT32 nClientId);

#endif
