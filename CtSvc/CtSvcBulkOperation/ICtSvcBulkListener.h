// Hears the bulk handler: every state change (with the result of the step that caused it) and the
// progress after each successful unit.
#ifndef CTSVC_I_BULK_LISTENER_H
#define CTSVC_I_BULK_LISTENER_H

#include "ZelCore/ZelTypes.h"

// States of the bulk handler.
enum CtSvcBulkState {
  CTSVC_BULK_INVALID = 0,   // no operation registered
  CTSVC_BULK_FINISHED = 1,  // registered, nothing left to do
  CTSVC_BULK_READY = 2,     // work left, not running
  CTSVC_BULK_RUNNING = 3,   // timer running
  CTSVC_BULK_PAUSED = 4     // paused by the caller
};

class ICtSvcBulkListener {
 public:
  virtual ~ICtSvcBulkListener() = default;
  virtual void OnChangedState(BOOL bResult, int nOldState, int nNewState) = 0;
  virtual void OnProgress(int nDone, int nTotal) = 0;
};

#endif
