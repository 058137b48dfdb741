// A rich-communication (SIP) address of a person.
#ifndef CTSVC_RCS_CLASS_H
#define CTSVC_RCS_CLASS_H

#include <string>

#include "CtSvcDB/Records/CtSvcMappedRecord.h"
#include "CtSvcDB/Records/CtSvcRecordAccessors.h"
#include "CtSvcDB/Tables/CtSvcDbColumns.h"
#include "CtSvcDetail.h"

class CCtSvcPerson;

struct CtSvcRcsFields {
  int nPersonId = -1;
  int nPrimaryId = -1;
  int nAccountId = -1;
  int nStatus = 0;
  std::string strSip;
};

struct CtSvcRcsTraits {
  using Fields = CtSvcRcsFields;
  using Info = CtSvcRcsInfo;
  using Record = CtSvcRcsRecord;
  static constexpr CtSvcDbTableType kTable = CTSVC_DB_TABLE_RCS;
  static constexpr const char* kUri = "CtSvc/Rcs";
  static constexpr const char* kClassName = "CCtSvcRcs";
  static constexpr const char* kLoadLogName = "CCtSvcRcs::SetContent";
  static constexpr CtSvcFieldDesc<Fields> kFields[] = {
      CtSvcIntField(CTSVC_DB_RCS_COLUMN_PERSON_ID, &Fields::nPersonId, CTSVC_RECORD_SLOT(Record, nPersonId),
                    CtSvcFieldRole::PersonId),
      CtSvcIntField(CTSVC_DB_RCS_COLUMN_PRIMARY_ID, &Fields::nPrimaryId, CTSVC_RECORD_SLOT(Record, nPrimaryId),
                    CtSvcFieldRole::PrimaryId),
      CtSvcIntField(CTSVC_DB_RCS_COLUMN_ACCOUNT_ID, &Fields::nAccountId, CTSVC_RECORD_SLOT(Record, nAccountId),
                    CtSvcFieldRole::AccountId),
      CtSvcInt8Field(CTSVC_DB_RCS_COLUMN_STATUS, &Fields::nStatus, CTSVC_INFO_SLOT(Info, nStatus)),
      CtSvcStringField(CTSVC_DB_RCS_COLUMN_SIP, &Fields::strSip, CTSVC_INFO_SLOT(Info, szSip)),
  };
};
static_assert(CtSvcIsFieldMapValid(CtSvcRcsTraits::kFields), "RCS column map");

class CCtSvcRcs : public CCtSvcStructRecord<CtSvcRcsTraits> {
 public:
  using CCtSvcStructRecord<CtSvcRcsTraits>::CCtSvcStructRecord;
  CCtSvcRcs() = default;
  CCtSvcRcs(const CCtSvcRcs& other) = default;
  CCtSvcRcs& operator=(const CCtSvcRcs& other) = default;
  ~CCtSvcRcs() override = default;

  CTSVC_INT_ACCESSORS(int, PersonId, nPersonId)
  CTSVC_INT_ACCESSORS(int, PrimaryId, nPrimaryId)
  CTSVC_INT_ACCESSORS(int, AccountId, nAccountId)
  CTSVC_INT_ACCESSORS(int, Status, nStatus)
  CTSVC_STRING_ACCESSORS(Sip, strSip)
  // Takes the person's id, primary id and account id.
  void SetPerson(const CCtSvcPerson& person);
};

#endif
