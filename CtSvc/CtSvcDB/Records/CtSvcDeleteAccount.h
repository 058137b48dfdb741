// A deleted account whose rows are still being removed.
#ifndef CTSVC_DELETE_ACCOUNT_CLASS_H
#define CTSVC_DELETE_ACCOUNT_CLASS_H

#include "CtSvcDB/Records/CtSvcMappedRecord.h"
#include "CtSvcDB/Records/CtSvcRecordAccessors.h"
#include "CtSvcDB/Tables/CtSvcDbColumns.h"

struct CtSvcDeleteAccountFields {
  int nDeviceType = CTSVC_USE_TYPE_PHONE;
  int nAccountId = -1;
};

struct CtSvcDeleteAccountTraits {
  using Fields = CtSvcDeleteAccountFields;
  static constexpr CtSvcDbTableType kTable = CTSVC_DB_TABLE_DELETEACCOUNT;
  static constexpr const char* kUri = "CtSvc/DeleteAccount";
  static constexpr const char* kClassName = "CCtSvcDeleteAccount";
  static constexpr const char* kLoadLogName = "CCtSvcDeleteAccount::SetContent";
  static constexpr CtSvcFieldDesc<Fields> kFields[] = {
      CtSvcInt8Field(CTSVC_DB_DELETEACCOUNT_COLUMN_DEVICE_TYPE, &Fields::nDeviceType, CTSVC_NO_SLOT),
      CtSvcIntField(CTSVC_DB_DELETEACCOUNT_COLUMN_ACCOUNT_ID, &Fields::nAccountId, CTSVC_NO_SLOT),
  };
};
static_assert(CtSvcIsFieldMapValid(CtSvcDeleteAccountTraits::kFields), "delete-account column map");

class CCtSvcDeleteAccount : public CCtSvcMappedRecord<CtSvcDeleteAccountTraits> {
 public:
  CCtSvcDeleteAccount() = default;
  CCtSvcDeleteAccount(const CCtSvcDeleteAccount& other) = default;
  CCtSvcDeleteAccount& operator=(const CCtSvcDeleteAccount& other) = default;
  ~CCtSvcDeleteAccount() override = default;

  CTSVC_INT_ACCESSORS(CtSvcDeviceType, DeviceType, nDeviceType)
  CTSVC_INT_ACCESSORS(int, AccountId, nAccountId)
};

#endif
