// Bulk move of SIM contacts to the phone: the phone copy is stored before the card record is
// deleted, so a contact is never only half moved: a card delete that fails removes the copy again.
#ifndef CTSVC_BULK_OP_MOVE_ADN_TO_DB_H
#define CTSVC_BULK_OP_MOVE_ADN_TO_DB_H

#include "CtSvcBulkOperation/CtSvcBulkOpDeleteAdn.h"

class CCtSvcBulkOpMoveAdnToDb : public CCtSvcBulkOpDeleteAdn {
 public:
  CCtSvcBulkOpMoveAdnToDb() : CCtSvcBulkOpDeleteAdn("CCtSvcBulkOpMoveAdnToDb") {}

 protected:
  BOOL _BeforeDelete(CtSvcBulkSimPersonItem& item, const CtSvcPersonRecord& stored) override;
  void _OnWriteFailed(CtSvcBulkSimPersonItem& item) override;
};

// Stores the person as a new phone contact (committed) and reports it; its id, or -1.
int CtSvcBulkCopyToPhone(const char* pszWho, const CtSvcPersonRecord& stored, BOOL bCommit);

#endif
