// Bulk move of phone contacts to the card: the copy, and once the card took the record and the SIM
// contact is stored, the phone person is deleted in the same write unit.
#ifndef CTSVC_BULK_OP_MOVE_DB_TO_ADN_H
#define CTSVC_BULK_OP_MOVE_DB_TO_ADN_H

#include "CtSvcBulkOperation/CtSvcBulkOpCopyDbToAdn.h"

class CCtSvcBulkOpMoveDbToAdn : public CCtSvcBulkOpCopyDbToAdn {
 public:
  CCtSvcBulkOpMoveDbToAdn() : CCtSvcBulkOpCopyDbToAdn("CCtSvcBulkOpMoveDbToAdn") {}

 protected:
  BOOL _AfterInsert(CtSvcBulkSimContactItem& item) override;
};

#endif
