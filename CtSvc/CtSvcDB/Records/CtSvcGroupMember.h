// The membership of a person in a group.
#ifndef CTSVC_GROUP_MEMBER_CLASS_H
#define CTSVC_GROUP_MEMBER_CLASS_H

#include "CtSvcDB/Records/CtSvcMappedRecord.h"
#include "CtSvcDB/Records/CtSvcRecordAccessors.h"
#include "CtSvcDB/Tables/CtSvcDbColumns.h"
#include "CtSvcDetail.h"

class CCtSvcPerson;

struct CtSvcGroupMemberFields {
  int nDeviceType = CTSVC_USE_TYPE_NONE;
  int nPersonId = -1;
  int nPrimaryId = -1;
  int nAccountId = -1;
  int nGroupId = -1;
};

struct CtSvcGroupMemberTraits {
  using Fields = CtSvcGroupMemberFields;
  using Info = CtSvcGroupMemberInfo;
  using Record = CtSvcGroupMemberRecord;
  static constexpr CtSvcDbTableType kTable = CTSVC_DB_TABLE_GROUPMEMBER;
  static constexpr const char* kUri = "CtSvc/GroupMember";
  static constexpr const char* kClassName = "CCtSvcGroupMember";
  static constexpr const char* kLoadLogName = "CCtSvcGroupMember::SetContent";
  static constexpr CtSvcFieldDesc<Fields> kFields[] = {
      CtSvcInt8Field(CTSVC_DB_GRPMEMBER_COLUMN_DEVICE_TYPE, &Fields::nDeviceType, CTSVC_RECORD_SLOT(Record, DevType),
                     CtSvcFieldRole::DeviceType),
      CtSvcIntField(CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID, &Fields::nPersonId, CTSVC_INFO_SLOT(Info, nPersonId),
                    CtSvcFieldRole::PersonId),
      CtSvcIntField(CTSVC_DB_GRPMEMBER_COLUMN_PRIMARY_ID, &Fields::nPrimaryId, CTSVC_INFO_SLOT(Info, nPrimaryId),
                    CtSvcFieldRole::PrimaryId),
      CtSvcIntField(CTSVC_DB_GRPMEMBER_COLUMN_ACCOUNT_ID, &Fields::nAccountId, CTSVC_INFO_SLOT(Info, nAccountId),
                    CtSvcFieldRole::AccountId),
      CtSvcIntField(CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID, &Fields::nGroupId, CTSVC_INFO_SLOT(Info, nGroupId)),
  };
};
static_assert(CtSvcIsFieldMapValid(CtSvcGroupMemberTraits::kFields), "group-member column map");

class CCtSvcGroupMember : public CCtSvcStructRecord<CtSvcGroupMemberTraits> {
 public:
  using CCtSvcStructRecord<CtSvcGroupMemberTraits>::CCtSvcStructRecord;
  CCtSvcGroupMember() = default;
  CCtSvcGroupMember(const CCtSvcGroupMember& other) = default;
  CCtSvcGroupMember& operator=(const CCtSvcGroupMember& other) = default;
  ~CCtSvcGroupMember() override = default;

  CTSVC_INT_ACCESSORS(CtSvcDeviceType, DeviceType, nDeviceType)
  CTSVC_INT_ACCESSORS(int, PersonId, nPersonId)
  CTSVC_INT_ACCESSORS(int, PrimaryId, nPrimaryId)
  CTSVC_INT_ACCESSORS(int, AccountId, nAccountId)
  CTSVC_INT_ACCESSORS(int, GroupId, nGroupId)
  // Takes the person's id, primary id, device type and account id.
  void SetPerson(const CCtSvcPerson& person);
};

#endif
