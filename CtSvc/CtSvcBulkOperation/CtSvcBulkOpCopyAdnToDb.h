// Bulk copy of SIM contacts to the phone: person ids of SIM contacts, ten a unit, each stored as a
// new phone contact with its details and its groups as phone groups of the same name; one commit a
// unit, so a contact is stored whole or not at all.
#ifndef CTSVC_BULK_OP_COPY_ADN_TO_DB_H
#define CTSVC_BULK_OP_COPY_ADN_TO_DB_H

#include "CtSvcBulkOperation/CtSvcBulkContact.h"
#include "CtSvcBulkOperation/CtSvcBulkOpBase.h"

#define CTSVC_BULK_COPY_ADN_TO_DB_UNIT 10

class CCtSvcBulkOpCopyAdnToDb : public CCtSvcBulkOpBase<int>, public ICtSvcBulkPersonIds {
 public:
  CCtSvcBulkOpCopyAdnToDb() : CCtSvcBulkOpBase(CTSVC_BULK_COPY_ADN_TO_DB_UNIT) {}
  BOOL AddPersonId(int nPersonId) override;

 protected:
  BOOL _ProcessItem(int& nPersonId) override;
  BOOL _EndUnit(BOOL bResult) override;
};

#endif
