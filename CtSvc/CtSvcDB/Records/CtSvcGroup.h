// A group of contacts (phone or SIM group).
#ifndef CTSVC_GROUP_CLASS_H
#define CTSVC_GROUP_CLASS_H

#include <string>

#include "CtSvcDB/Records/CtSvcMappedRecord.h"
#include "CtSvcDB/Records/CtSvcRecordAccessors.h"
#include "CtSvcDB/Tables/CtSvcDbColumns.h"
#include "CtSvcDetail.h"

struct CtSvcGroupFields {
  int nAccountId = -1;
  int nSlotIndex = -1;
  int nDeviceType = CTSVC_USE_TYPE_PHONE;
  int nType = 0;
  std::string strName;
  std::string strRingtone;
};

struct CtSvcGroupTraits {
  using Fields = CtSvcGroupFields;
  using Info = CtSvcGroupInfo;
  using Record = CtSvcGroupRecord;
  static constexpr CtSvcDbTableType kTable = CTSVC_DB_TABLE_GROUP;
  static constexpr const char* kUri = "CtSvc/Group";
  static constexpr const char* kClassName = "CCtSvcGroup";
  static constexpr const char* kLoadLogName = "CCtSvcGroup::SetContent";
  static constexpr CtSvcFieldDesc<Fields> kFields[] = {
      CtSvcIntField(CTSVC_DB_GROUP_COLUMN_ACCOUNT_ID, &Fields::nAccountId, CTSVC_INFO_SLOT(Info, nAccountId)),
      CtSvcIntField(CTSVC_DB_GROUP_COLUMN_SLOT_INDEX, &Fields::nSlotIndex, CTSVC_INFO_SLOT(Info, nSlotIndex)),
      CtSvcInt8Field(CTSVC_DB_GROUP_COLUMN_DEVICE_TYPE, &Fields::nDeviceType, CTSVC_INFO_SLOT(Info, DevType)),
      CtSvcInt8Field(CTSVC_DB_GROUP_COLUMN_TYPE, &Fields::nType, CTSVC_INFO_SLOT(Info, nType)),
      CtSvcStringField(CTSVC_DB_GROUP_COLUMN_NAME, &Fields::strName, CTSVC_INFO_SLOT(Info, szName)),
      CtSvcStringField(CTSVC_DB_GROUP_COLUMN_RINGTONE, &Fields::strRingtone, CTSVC_INFO_SLOT(Info, szRingtone)),
  };
};
static_assert(CtSvcIsFieldMapValid(CtSvcGroupTraits::kFields), "group column map");

class CCtSvcGroup : public CCtSvcStructRecord<CtSvcGroupTraits> {
 public:
  using CCtSvcStructRecord<CtSvcGroupTraits>::CCtSvcStructRecord;
  CCtSvcGroup() = default;
  CCtSvcGroup(const CCtSvcGroup& other) = default;
  CCtSvcGroup& operator=(const CCtSvcGroup& other) = default;
  ~CCtSvcGroup() override = default;

  CTSVC_INT_ACCESSORS(int, AccountId, nAccountId)
  CTSVC_INT_ACCESSORS(int, SlotIndex, nSlotIndex)
  CTSVC_INT_ACCESSORS(CtSvcDeviceType, DeviceType, nDeviceType)
  CTSVC_INT_ACCESSORS(int, Type, nType)
  CTSVC_STRING_ACCESSORS(Name, strName)
  CTSVC_STRING_ACCESSORS(Ringtone, strRingtone)

 protected:
  // SNAME: the name, or U+FFFF when it is empty so that unnamed groups sort last.
  void _SetDerivedColumns(CContentInput& input, CCtSvcDbTable& table) const override;
};

#endif
