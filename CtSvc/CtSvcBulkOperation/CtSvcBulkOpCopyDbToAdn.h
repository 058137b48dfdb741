// Bulk copy of phone contacts to the card: person ids; each person is read when its turn comes,
// cut to what the card holds and written to the first free record, its groups becoming the card's
// groups of the same name.
#ifndef CTSVC_BULK_OP_COPY_DB_TO_ADN_H
#define CTSVC_BULK_OP_COPY_DB_TO_ADN_H

#include "CtSvcBulkOperation/CtSvcBulkOpInsertAdn.h"

class CCtSvcBulkOpCopyDbToAdn : public CCtSvcBulkOpInsertAdn, public ICtSvcBulkPersonIds {
 public:
  CCtSvcBulkOpCopyDbToAdn() : CCtSvcBulkOpInsertAdn("CCtSvcBulkOpCopyDbToAdn") {}
  BOOL AddPersonId(int nPersonId) override;

 protected:
  explicit CCtSvcBulkOpCopyDbToAdn(const char* pszWho) : CCtSvcBulkOpInsertAdn(pszWho) {}
  BOOL _GetContactInfo(CtSvcBulkSimContactItem& item) override;
};

#endif
