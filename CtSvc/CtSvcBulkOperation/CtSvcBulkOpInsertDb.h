// Bulk insert into the store: contacts given as contact infos, or SIM ADN records converted to SIM
// contacts when they are added. Five contacts a unit, one commit a unit.
#ifndef CTSVC_BULK_OP_INSERT_DB_H
#define CTSVC_BULK_OP_INSERT_DB_H

#include <memory>

#include "CtSvcBulkOperation/CtSvcBulkOpBase.h"
#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcSim.h"
#include "CtSvcTypes.h"

// One contact waiting to be inserted: its values and where it is stored.
struct CtSvcBulkContactItem {
  std::unique_ptr<CCtSvcContactInfoBuilder> pInfo;
  CtSvcDeviceType nDeviceType;
};

#define CTSVC_BULK_INSERT_DB_UNIT 5

class CCtSvcBulkOpInsertDb : public CCtSvcBulkOpBase<CtSvcBulkContactItem> {
 public:
  CCtSvcBulkOpInsertDb() : CCtSvcBulkOpBase(CTSVC_BULK_INSERT_DB_UNIT) {}
  // Adds a contact (copied). FALSE for an info without person.
  BOOL AddContactRecord(CtSvcDeviceType nDeviceType, const CtSvcContactInfo& contactInfo);
  // Reads the loaded ADN record and adds it as a SIM contact in that slot; FALSE when it cannot be
  // read. SIM groups must be in the store already (memberships name them by their slot).
  BOOL AddAdnRecord(int nRecordIndex);

 protected:
  BOOL _ProcessItem(CtSvcBulkContactItem& item) override;
  BOOL _EndUnit(BOOL bResult) override;
};

// The SIM contact of an ADN record: name, numbers (additional numbers with their kind), e-mail
// addresses, second name and the store's SIM groups of its group slots.
std::unique_ptr<CCtSvcContactInfoBuilder> CtSvcBulkContactFromAdn(int nRecordIndex, const CtSvcSimAdnRecord& record);

#endif
