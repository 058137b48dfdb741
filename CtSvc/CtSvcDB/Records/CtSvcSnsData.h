// Social-network data of a person: status, its time, the person's id at the service and photo.
#ifndef CTSVC_SNS_DATA_CLASS_H
#define CTSVC_SNS_DATA_CLASS_H

#include <string>

#include "CtSvcDB/Records/CtSvcMappedRecord.h"
#include "CtSvcDB/Records/CtSvcRecordAccessors.h"
#include "CtSvcDB/Tables/CtSvcDbColumns.h"
#include "CtSvcDetail.h"

class CCtSvcPerson;

struct CtSvcSnsDataFields {
  int nPersonId = -1;
  int nPrimaryId = -1;
  std::string strStatus;
  TmDateTime StatusUpdate = kCtSvcUnsetDate;
  std::string strPeopleId;
  int nSp = -1;
  int nAccountId = -1;
  std::string strProfilePhotoUrl;
};

struct CtSvcSnsDataTraits {
  using Fields = CtSvcSnsDataFields;
  using Info = CtSvcSnsDataInfo;
  using Record = CtSvcSnsDataRecord;
  static constexpr CtSvcDbTableType kTable = CTSVC_DB_TABLE_SNSDATA;
  static constexpr const char* kUri = "CtSvc/SnsData";
  static constexpr const char* kClassName = "CCtSvcSnsData";
  static constexpr const char* kLoadLogName = "CCtSvcSnsData::SetContent";
  static constexpr CtSvcFieldDesc<Fields> kFields[] = {
      CtSvcIntField(CTSVC_DB_SNSDATA_COLUMN_PERSON_ID, &Fields::nPersonId, CTSVC_RECORD_SLOT(Record, nPersonId),
                    CtSvcFieldRole::PersonId),
      CtSvcIntField(CTSVC_DB_SNSDATA_COLUMN_PRIMARY_ID, &Fields::nPrimaryId, CTSVC_RECORD_SLOT(Record, nPrimaryId),
                    CtSvcFieldRole::PrimaryId),
      CtSvcStringField(CTSVC_DB_SNSDATA_COLUMN_STATUS, &Fields::strStatus, CTSVC_INFO_SLOT(Info, szStatus)),
      CtSvcDateTimeField(CTSVC_DB_SNSDATA_COLUMN_STATUS_UPDATE, &Fields::StatusUpdate, CTSVC_INFO_SLOT(Info, StatusUpdate)),
      CtSvcStringField(CTSVC_DB_SNSDATA_COLUMN_PEOPLE_ID, &Fields::strPeopleId, CTSVC_INFO_SLOT(Info, szPeopleId)),
      CtSvcIntField(CTSVC_DB_SNSDATA_COLUMN_SP, &Fields::nSp, CTSVC_INFO_SLOT(Info, nSp)),
      CtSvcIntField(CTSVC_DB_SNSDATA_COLUMN_ACCOUNT_ID, &Fields::nAccountId, CTSVC_RECORD_SLOT(Record, nAccountId),
                    CtSvcFieldRole::AccountId),
      CtSvcStringField(CTSVC_DB_SNSDATA_COLUMN_PROFILE_PHOTO_URL, &Fields::strProfilePhotoUrl,
                       CTSVC_INFO_SLOT(Info, szProfilePhotoUrl)),
  };
};
static_assert(CtSvcIsFieldMapValid(CtSvcSnsDataTraits::kFields), "social-network column map");

class CCtSvcSnsData : public CCtSvcStructRecord<CtSvcSnsDataTraits> {
 public:
  using CCtSvcStructRecord<CtSvcSnsDataTraits>::CCtSvcStructRecord;
  CCtSvcSnsData() = default;
  CCtSvcSnsData(const CCtSvcSnsData& other) = default;
  CCtSvcSnsData& operator=(const CCtSvcSnsData& other) = default;
  ~CCtSvcSnsData() override = default;

  CTSVC_INT_ACCESSORS(int, PersonId, nPersonId)
  CTSVC_INT_ACCESSORS(int, PrimaryId, nPrimaryId)
  CTSVC_STRING_ACCESSORS(Status, strStatus)
  CTSVC_DATETIME_ACCESSORS(StatusUpdate, StatusUpdate)
  CTSVC_STRING_ACCESSORS(PeopleId, strPeopleId)
  CTSVC_INT_ACCESSORS(int, Sp, nSp)
  CTSVC_INT_ACCESSORS(int, AccountId, nAccountId)
  CTSVC_STRING_ACCESSORS(ProfilePhotoUrl, strProfilePhotoUrl)
  // Takes the person's id, primary id and account id.
  void SetPerson(const CCtSvcPerson& person);
};

#endif
