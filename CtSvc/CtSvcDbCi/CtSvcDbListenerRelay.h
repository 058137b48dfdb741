// The listener module on the "CTSVC" task: the notification handlers that deliver relayed
// notices, and work of the module deferred to that task.
#ifndef CTSVC_DB_LISTENER_RELAY_H
#define CTSVC_DB_LISTENER_RELAY_H

#include <memory>

#include "ZelTypes.h"

// Sets the module's notification handlers of "CTSVC" (listener notices, full-sync notices and
// deferred work). Called by the module entry once the event handler exists.
void CtSvcDbListenerStart(void);

// True for the user-interface task "Korin" (compared without regard to case); false for null.
bool CtSvcIsUiTaskName(const char* pszTaskName);
// True when the calling thread is the user-interface task.
bool CtSvcIsUiTask(void);

// Work that the module runs on the "CTSVC" task.
class ICtSvcDbCiDeferred {
 public:
  virtual ~ICtSvcDbCiDeferred() = default;
  virtual void Run() = 0;
};

// Hands the work to "CTSVC", which runs and destroys it; FALSE (the work destroyed unrun) when
// it cannot be posted.
BOOL CtSvcDbCiPostDeferred(std::unique_ptr<ICtSvcDbCiDeferred> pWork);

#endif
