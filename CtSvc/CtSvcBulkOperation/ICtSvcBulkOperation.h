// A piece of bulk work split into units: the bulk handler runs one unit a timer tick until no
// item is left.
#ifndef CTSVC_I_BULK_OPERATION_H
#define CTSVC_I_BULK_OPERATION_H

#include "ZelCore/ZelTypes.h"

class ICtSvcBulkOperation {
 public:
  virtual ~ICtSvcBulkOperation() = default;
  // Items not processed yet.
  virtual int GetRemainInputCount() const = 0;
  // Processes one unit (up to the unit count of items); TRUE on success.
  virtual BOOL OnBulkOperation() = 0;
  virtual void SetOperationUnitCountAtOnce(int nCount) = 0;
  virtual int GetOperationUnitCountAtOnce() const = 0;
};

#endif
