// Rebuilds the display order of every merged contact (after the name order changed): the primary
// ids are collected when the operation is made, two are rearranged a unit, one commit a unit.
#ifndef CTSVC_BULK_OP_CHANGE_ORDER_H
#define CTSVC_BULK_OP_CHANGE_ORDER_H

#include "CtSvcBulkOperation/CtSvcBulkOpBase.h"

#define CTSVC_BULK_CHANGE_ORDER_UNIT 2

class CCtSvcBulkOpChangeOrder : public CCtSvcBulkOpBase<int> {
 public:
  CCtSvcBulkOpChangeOrder();

 protected:
  void _BeginUnit() override;
  BOOL _ProcessItem(int& nPrimaryId) override;
  BOOL _EndUnit(BOOL bResult) override;
};

#endif
