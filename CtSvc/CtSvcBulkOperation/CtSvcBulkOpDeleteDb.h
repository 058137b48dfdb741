// Bulk delete of phone contacts: person ids, twenty a unit, one commit a unit. More than thirty
// ids switch to mass-delete mode, where a unit's persons go through the prepared row deletes of
// the phonebook's mass delete instead of one content delete each.
#ifndef CTSVC_BULK_OP_DELETE_DB_H
#define CTSVC_BULK_OP_DELETE_DB_H

#include "CtSvcBulkOperation/CtSvcBulkContact.h"
#include "CtSvcBulkOperation/CtSvcBulkOpBase.h"

#define CTSVC_BULK_DELETE_DB_UNIT 20
#define CTSVC_BULK_MASS_DELETE_THRESHOLD 30

class CCtSvcBulkOpDeleteDb : public CCtSvcBulkOpBase<int>, public ICtSvcBulkPersonIds {
 public:
  CCtSvcBulkOpDeleteDb() : CCtSvcBulkOpBase(CTSVC_BULK_DELETE_DB_UNIT) {}
  // Takes a person id (or a phone person handle); FALSE for an id below 1.
  BOOL AddPersonId(int nPersonId) override;
  bool IsMassDeleteMode() const { return m_nAdded > CTSVC_BULK_MASS_DELETE_THRESHOLD; }

 protected:
  void _BeginUnit() override;
  BOOL _ProcessItem(int& nPersonId) override;
  BOOL _EndUnit(BOOL bResult) override;

 private:
  int m_nAdded = 0;
  bool m_bUnitDone = false;  // mass-delete mode: the unit's persons were deleted together
};

#endif
