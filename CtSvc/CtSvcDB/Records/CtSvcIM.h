// An instant-messaging address of a person.
#ifndef CTSVC_IM_CLASS_H
#define CTSVC_IM_CLASS_H

#include <string>

#include "CtSvcDB/Records/CtSvcMappedRecord.h"
#include "CtSvcDB/Records/CtSvcRecordAccessors.h"
#include "CtSvcDB/Tables/CtSvcDbColumns.h"
#include "CtSvcDetail.h"

class CCtSvcPerson;

struct CtSvcIMFields {
  int nPersonId = -1;
  int nPrimaryId = -1;
  int nIspId = 0;
  std::string strIsp;
  std::string strUserId;
  int nAccountId = -1;
};

struct CtSvcIMTraits {
  using Fields = CtSvcIMFields;
  using Info = CtSvcIMInfo;
  using Record = CtSvcIMRecord;
  static constexpr CtSvcDbTableType kTable = CTSVC_DB_TABLE_IM;
  static constexpr const char* kUri = "CtSvc/IM";
  static constexpr const char* kClassName = "CCtSvcIM";
  static constexpr const char* kLoadLogName = "CCtSvcIM::SetContent";
  static constexpr CtSvcFieldDesc<Fields> kFields[] = {
      CtSvcIntField(CTSVC_DB_IM_COLUMN_PERSON_ID, &Fields::nPersonId, CTSVC_RECORD_SLOT(Record, nPersonId),
                    CtSvcFieldRole::PersonId),
      CtSvcIntField(CTSVC_DB_IM_COLUMN_PRIMARY_ID, &Fields::nPrimaryId, CTSVC_RECORD_SLOT(Record, nPrimaryId),
                    CtSvcFieldRole::PrimaryId),
      CtSvcIntField(CTSVC_DB_IM_COLUMN_ISP_ID, &Fields::nIspId, CTSVC_INFO_SLOT(Info, nIspId)),
      CtSvcStringField(CTSVC_DB_IM_COLUMN_ISP, &Fields::strIsp, CTSVC_INFO_SLOT(Info, szIsp)),
      CtSvcStringField(CTSVC_DB_IM_COLUMN_USER_ID, &Fields::strUserId, CTSVC_INFO_SLOT(Info, szUserId)),
      CtSvcIntField(CTSVC_DB_IM_COLUMN_ACCOUNT_ID, &Fields::nAccountId, CTSVC_RECORD_SLOT(Record, nAccountId),
                    CtSvcFieldRole::AccountId),
  };
};
static_assert(CtSvcIsFieldMapValid(CtSvcIMTraits::kFields), "IM column map");

class CCtSvcIM : public CCtSvcStructRecord<CtSvcIMTraits> {
 public:
  using CCtSvcStructRecord<CtSvcIMTraits>::CCtSvcStructRecord;
  CCtSvcIM() = default;
  CCtSvcIM(const CCtSvcIM& other) = default;
  CCtSvcIM& operator=(const CCtSvcIM& other) = default;
  ~CCtSvcIM() override = default;

  CTSVC_INT_ACCESSORS(int, PersonId, nPersonId)
  CTSVC_INT_ACCESSORS(int, PrimaryId, nPrimaryId)
  CTSVC_INT_ACCESSORS(int, IspId, nIspId)
  CTSVC_STRING_ACCESSORS(Isp, strIsp)
  CTSVC_STRING_ACCESSORS(UserId, strUserId)
  CTSVC_INT_ACCESSORS(int, AccountId, nAccountId)
  // Takes the person's id, primary id and account id.
  void SetPerson(const CCtSvcPerson& person);
};

#endif
