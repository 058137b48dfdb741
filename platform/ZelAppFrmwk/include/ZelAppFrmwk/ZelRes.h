/* Resource strings of the application framework. */
#ifndef ZEL_RES_H
#define ZEL_RES_H

#include "ZelTypes.h"

/* "Unnamed": the name of something that has none. */
#define RES_STR_UNNAMED 0x8004Fu

ZEL_EXTERN_C_BEGIN

/* The UTF-8 text of a resource string; "" for an unknown id. */
const char* ResGetString(UINT32 nId);

ZEL_EXTERN_C_END

#endif
