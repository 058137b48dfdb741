// The 62-slot interface table that the platform indexes by slot number.
#ifndef CTSVC_INTERFACE_TABLE_H
#define CTSVC_INTERFACE_TABLE_H

#include "CtSvcModule.h"

// Fills the table in slot order.
void CtSvcFillInterfaceTable(void* apSlots[CTSVC_INTERFACE_SLOT_COUNT]);
// Name of the function in a slot ("" outside 0..61).
const char* CtSvcGetInterfaceSlotName(int nSlot);

#endif
