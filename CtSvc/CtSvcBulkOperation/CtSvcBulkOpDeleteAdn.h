// Bulk delete of SIM contacts: person ids; each record is deleted on the card, one per card answer,
// and the SIM person (with its primary when it was the last) once the card answered.
#ifndef CTSVC_BULK_OP_DELETE_ADN_H
#define CTSVC_BULK_OP_DELETE_ADN_H

#include "CtSvcBulkOperation/CtSvcBulkContact.h"
#include "CtSvcBulkOperation/CtSvcBulkOpSimBase.h"

// A SIM person on its way off the card, and the phone copy a move made of it (-1: none).
struct CtSvcBulkSimPersonItem {
  int nPersonId;
  int nCopyId;
};

#define CTSVC_BULK_DELETE_ADN_FIXED_UNIT \
  "CCtSvcBulkOpDeleteAdn::SetOperationUnitCountAtOnce - SIM Operation can not set Bulk count\n"

class CCtSvcBulkOpDeleteAdn : public CCtSvcBulkOpSimBase<CtSvcBulkSimPersonItem>, public ICtSvcBulkPersonIds {
 public:
  CCtSvcBulkOpDeleteAdn() : CCtSvcBulkOpDeleteAdn("CCtSvcBulkOpDeleteAdn") {}
  BOOL AddPersonId(int nPersonId) override;

 protected:
  explicit CCtSvcBulkOpDeleteAdn(const char* pszWho)
      : CCtSvcBulkOpSimBase(pszWho, CTSVC_BULK_SIM_DELETE, 1, CTSVC_BULK_DELETE_ADN_FIXED_UNIT) {}
  // Before the card delete is asked for (moves store the phone copy here).
  virtual BOOL _BeforeDelete(CtSvcBulkSimPersonItem& /*item*/, const CtSvcPersonRecord& /*stored*/) { return TRUE; }
  BOOL _SendItem(CtSvcBulkSimPersonItem& item, ICtSvcSimUpdater* pUpdater) override;
  BOOL _OnWritten(CtSvcBulkSimPersonItem& item, int nRecordIndex) override;
};

#endif
