/* The Bluetooth service's side of the phonebook exports: the contact service tells it when an
 * export file it asked for is complete (or that the export failed). */
#ifndef ZEL_BLUETOOTH_H
#define ZEL_BLUETOOTH_H

#include "ZelTypes.h"

ZEL_EXTERN_C_BEGIN

/* The phonebook-access export asked for is written (TRUE) or failed (FALSE). */
void BluetoothPbsCtMakeDone(BOOL bResult);

ZEL_EXTERN_C_END

#endif
