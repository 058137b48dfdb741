// What the rest of the platform core needs from the event handlers beyond the public calls.
#ifndef ZEL_CORE_WM_INTERNAL_H
#define ZEL_CORE_WM_INTERNAL_H

#include <functional>

#include "ZelTypes.h"

namespace zel::internal {

// Queues fn to run on the handler's thread, in turn with its events (one at a time, counted by
// WmWaitEventHandlerIdle). false when the handler does not exist or is being deleted.
bool WmPostCall(HOBJ hEventHandler, std::function<void()> fn);

// The handler whose dispatcher thread is the calling thread, or INVALID_HOBJ (unlike
// WmGetCurrentEventHandler, not changed by WmSetCurrentEventHandler).
HOBJ WmGetDispatchingHandler();

}  // namespace zel::internal

#endif
