// A typed free-form value of a person (other data): notes, titles, URLs, the USIM second name.
#ifndef CTSVC_ETC_DATA_CLASS_H
#define CTSVC_ETC_DATA_CLASS_H

#include <string>

#include "CtSvcDB/Records/CtSvcMappedRecord.h"
#include "CtSvcDB/Records/CtSvcRecordAccessors.h"
#include "CtSvcDB/Tables/CtSvcDbColumns.h"
#include "CtSvcDetail.h"

class CCtSvcPerson;

struct CtSvcEtcDataFields {
  int nPersonId = -1;
  int nPrimaryId = -1;
  int nAccountId = -1;
  int nDeviceType = CTSVC_USE_TYPE_NONE;
  int nEtcDataType = CTSVC_ETC_DATA_TYPE_NONE;
  std::string strEtcData;
};

struct CtSvcEtcDataTraits {
  using Fields = CtSvcEtcDataFields;
  using Info = CtSvcEtcDataInfo;
  using Record = CtSvcEtcDataRecord;
  static constexpr CtSvcDbTableType kTable = CTSVC_DB_TABLE_ETCDATA;
  static constexpr const char* kUri = "CtSvc/EtcData";
  static constexpr const char* kClassName = "CCtSvcEtcData";
  static constexpr const char* kLoadLogName = "CCtSvcEtcData::SetContent";
  static constexpr CtSvcFieldDesc<Fields> kFields[] = {
      CtSvcIntField(CTSVC_DB_ETCDATA_COLUMN_PERSON_ID, &Fields::nPersonId, CTSVC_RECORD_SLOT(Record, nPersonId),
                    CtSvcFieldRole::PersonId),
      CtSvcIntField(CTSVC_DB_ETCDATA_COLUMN_PRIMARY_ID, &Fields::nPrimaryId, CTSVC_RECORD_SLOT(Record, nPrimaryId),
                    CtSvcFieldRole::PrimaryId),
      CtSvcIntField(CTSVC_DB_ETCDATA_COLUMN_ACCOUNT_ID, &Fields::nAccountId, CTSVC_RECORD_SLOT(Record, nAccountId),
                    CtSvcFieldRole::AccountId),
      CtSvcInt8Field(CTSVC_DB_ETCDATA_COLUMN_DEVICE_TYPE, &Fields::nDeviceType, CTSVC_RECORD_SLOT(Record, DevType),
                     CtSvcFieldRole::DeviceType),
      CtSvcInt8Field(CTSVC_DB_ETCDATA_COLUMN_ETC_TYPE, &Fields::nEtcDataType, CTSVC_INFO_SLOT(Info, EtcDataType)),
      CtSvcStringField(CTSVC_DB_ETCDATA_COLUMN_ETC_DATA, &Fields::strEtcData, CTSVC_INFO_SLOT(Info, szEtcData)),
  };
};
static_assert(CtSvcIsFieldMapValid(CtSvcEtcDataTraits::kFields), "other-data column map");

class CCtSvcEtcData : public CCtSvcStructRecord<CtSvcEtcDataTraits> {
 public:
  using CCtSvcStructRecord<CtSvcEtcDataTraits>::CCtSvcStructRecord;
  CCtSvcEtcData() = default;
  CCtSvcEtcData(const CCtSvcEtcData& other) = default;
  CCtSvcEtcData& operator=(const CCtSvcEtcData& other) = default;
  ~CCtSvcEtcData() override = default;

  CTSVC_INT_ACCESSORS(int, PersonId, nPersonId)
  CTSVC_INT_ACCESSORS(int, PrimaryId, nPrimaryId)
  CTSVC_INT_ACCESSORS(int, AccountId, nAccountId)
  CTSVC_INT_ACCESSORS(CtSvcDeviceType, DeviceType, nDeviceType)
  CTSVC_INT_ACCESSORS(CtSvcEtcDataType, EtcDataType, nEtcDataType)
  CTSVC_STRING_ACCESSORS(EtcData, strEtcData)
  // Takes the person's id, primary id, device type and account id.
  void SetPerson(const CCtSvcPerson& person);
};

#endif
