// Bulk insert into the card: contacts given as contact infos become ADN records, one record per
// card answer; a contact the card took is then stored as a SIM contact in the record it took.
#ifndef CTSVC_BULK_OP_INSERT_ADN_H
#define CTSVC_BULK_OP_INSERT_ADN_H

#include <memory>

#include "CtSvcBulkOperation/CtSvcBulkContact.h"
#include "CtSvcBulkOperation/CtSvcBulkOpSimBase.h"
#include "CtSvcDB/Records/CtSvcContact.h"

// One contact on its way to the card: the phone person it comes from (0 when given as values),
// its values and the SIM contact sent.
struct CtSvcBulkSimContactItem {
  int nPersonId = 0;
  std::unique_ptr<CCtSvcContactInfoBuilder> pInfo;
  std::unique_ptr<CCtSvcContact> pContact;
};

#define CTSVC_BULK_INSERT_ADN_FIXED_UNIT \
  "CCtSvcBulkOpInsertAdn::SetOperationUnitCountAtOnce - SIM Operation can not set Bulk count\n"

class CCtSvcBulkOpInsertAdn : public CCtSvcBulkOpSimBase<CtSvcBulkSimContactItem> {
 public:
  CCtSvcBulkOpInsertAdn() : CCtSvcBulkOpInsertAdn("CCtSvcBulkOpInsertAdn") {}
  // Adds a contact (copied); FALSE for an info without person.
  BOOL AddContactRecord(const CtSvcContactInfo& contactInfo);

 protected:
  explicit CCtSvcBulkOpInsertAdn(const char* pszWho)
      : CCtSvcBulkOpSimBase(pszWho, CTSVC_BULK_SIM_INSERT, 1, CTSVC_BULK_INSERT_ADN_FIXED_UNIT) {}
  // Fills item.pInfo when the item names a stored person (copies from the phone).
  virtual BOOL _GetContactInfo(CtSvcBulkSimContactItem& item);
  // After the SIM contact was stored, in the same write unit (moves delete the phone person).
  virtual BOOL _AfterInsert(CtSvcBulkSimContactItem& /*item*/) { return TRUE; }
  BOOL _SendItem(CtSvcBulkSimContactItem& item, ICtSvcSimUpdater* pUpdater) override;
  BOOL _OnWritten(CtSvcBulkSimContactItem& item, int nRecordIndex) override;
};

#endif
