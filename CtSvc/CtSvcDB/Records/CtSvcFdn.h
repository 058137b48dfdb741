// A fixed-dialling number mirrored from the SIM.
#ifndef CTSVC_FDN_CLASS_H
#define CTSVC_FDN_CLASS_H

#include <string>

#include "CtSvcDB/Records/CtSvcMappedRecord.h"
#include "CtSvcDB/Records/CtSvcRecordAccessors.h"
#include "CtSvcDB/Tables/CtSvcDbColumns.h"
#include "CtSvcDetail.h"

struct CtSvcFdnFields {
  int nSlotIndex = -1;
  std::string strName;
  std::string strPhoneNumber;
};

struct CtSvcFdnTraits {
  using Fields = CtSvcFdnFields;
  using Info = CtSvcFdnInfo;
  using Record = CtSvcFdnRecord;
  static constexpr CtSvcDbTableType kTable = CTSVC_DB_TABLE_FDN;
  static constexpr const char* kUri = "CtSvc/Fdn";
  static constexpr const char* kClassName = "CCtSvcFdn";
  static constexpr const char* kLoadLogName = "CCtSvcFdn::SetContent";
  static constexpr CtSvcFieldDesc<Fields> kFields[] = {
      CtSvcIntField(CTSVC_DB_FDN_COLUMN_SLOT_INDEX, &Fields::nSlotIndex, CTSVC_INFO_SLOT(Info, nSlotIndex)),
      CtSvcStringField(CTSVC_DB_FDN_COLUMN_NAME, &Fields::strName, CTSVC_INFO_SLOT(Info, szName)),
      CtSvcStringField(CTSVC_DB_FDN_COLUMN_PHONENUMBER, &Fields::strPhoneNumber, CTSVC_INFO_SLOT(Info, szPhoneNumber)),
  };
};
static_assert(CtSvcIsFieldMapValid(CtSvcFdnTraits::kFields), "FDN column map");

class CCtSvcFdn : public CCtSvcStructRecord<CtSvcFdnTraits> {
 public:
  using CCtSvcStructRecord<CtSvcFdnTraits>::CCtSvcStructRecord;
  CCtSvcFdn() = default;
  CCtSvcFdn(const CCtSvcFdn& other) = default;
  CCtSvcFdn& operator=(const CCtSvcFdn& other) = default;
  ~CCtSvcFdn() override = default;

  CTSVC_INT_ACCESSORS(int, SlotIndex, nSlotIndex)
  CTSVC_STRING_ACCESSORS(Name, strName)
  CTSVC_STRING_ACCESSORS(PhoneNumber, strPhoneNumber)

 protected:
  // SPHONENUMBER: the number's search form.
  void _SetDerivedColumns(CContentInput& input, CCtSvcDbTable& table) const override;
};

#endif
