// A person: one stored contact as it came from one source (the phone, the SIM or an account).
#ifndef CTSVC_PERSON_CLASS_H
#define CTSVC_PERSON_CLASS_H

#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcMappedRecord.h"
#include "CtSvcDB/Records/CtSvcRecordAccessors.h"
#include "CtSvcDB/Tables/CtSvcDbColumns.h"
#include "CtSvcPerson.h"

class CContent;

struct CtSvcPersonFields {
  int nDeviceType = CTSVC_USE_TYPE_NONE;
  int nSlotIndex = -1;
  std::string strFirstName;
  std::string strLastName;
  TmDateTime Birthday = kCtSvcUnsetDate;
  TmDateTime BirthdayReserve = kCtSvcUnsetDate;
  TmDateTime Anniversary = kCtSvcUnsetDate;
  TmDateTime AnniversaryReserve = kCtSvcUnsetDate;
  TmDateTime SaveTime = kCtSvcUnsetDate;
  int nDefaultPhoneNumberId = -1;
  int bHasPhoneNumber = 0;
  int bHasEmailAddress = 0;
  int bHasAddr = 0;
  int bHasIM = 0;
  int bHasEtcData = 0;
  int bHasRcs = 0;
  int bHasSnsData = 0;
  int nPrimaryId = -1;
  int nAccountId = -1;
  std::string strCallerImage;
  std::string strUuid;
};

struct CtSvcPersonTraits {
  using Fields = CtSvcPersonFields;
  using Info = CtSvcPersonInfo;
  using Record = CtSvcPersonRecord;
  static constexpr CtSvcDbTableType kTable = CTSVC_DB_TABLE_PERSON;
  static constexpr const char* kUri = "CtSvc/Person";
  static constexpr const char* kClassName = "CCtSvcPerson";
  static constexpr const char* kLoadLogName = "CCtSvcPerson::SetContent";
  // Device type and account id are written only for a stored person: an update never moves a
  // person to another store or account. The derived name columns 5..10 are never read back.
  static constexpr CtSvcFieldDesc<Fields> kFields[] = {
      CtSvcInt8Field(CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE, &Fields::nDeviceType, CTSVC_RECORD_SLOT(Record, DevType),
                     CtSvcFieldRole::None, CTSVC_FIELD_STORED_ONLY),
      CtSvcIntField(CTSVC_DB_PERSON_COLUMN_SLOT_INDEX, &Fields::nSlotIndex, CTSVC_INFO_SLOT(Info, nSlotIndex)),
      CtSvcStringField(CTSVC_DB_PERSON_COLUMN_FIRSTNAME, &Fields::strFirstName, CTSVC_INFO_SLOT(Info, szFirstName)),
      CtSvcStringField(CTSVC_DB_PERSON_COLUMN_LASTNAME, &Fields::strLastName, CTSVC_INFO_SLOT(Info, szLastName)),
      CtSvcDateTimeField(CTSVC_DB_PERSON_COLUMN_BIRTHDAY, &Fields::Birthday, CTSVC_INFO_SLOT(Info, Birthday),
                         CTSVC_FIELD_DATE_RANGE),
      CtSvcDateTimeField(CTSVC_DB_PERSON_COLUMN_BIRTHDAY_RESERVED, &Fields::BirthdayReserve,
                         CTSVC_INFO_SLOT(Info, BirthdayReserve), CTSVC_FIELD_DATE_RANGE),
      CtSvcDateTimeField(CTSVC_DB_PERSON_COLUMN_ANNIVERSARY, &Fields::Anniversary, CTSVC_INFO_SLOT(Info, Anniversary),
                         CTSVC_FIELD_DATE_RANGE),
      CtSvcDateTimeField(CTSVC_DB_PERSON_COLUMN_ANNIVERSARY_RESERVED, &Fields::AnniversaryReserve,
                         CTSVC_INFO_SLOT(Info, AnniversaryReserve), CTSVC_FIELD_DATE_RANGE),
      CtSvcDateTimeField(CTSVC_DB_PERSON_COLUMN_SAVETIME, &Fields::SaveTime, CTSVC_INFO_SLOT(Info, SaveTime)),
      CtSvcIntField(CTSVC_DB_PERSON_COLUMN_DEFAULT_PHNUM_ID, &Fields::nDefaultPhoneNumberId,
                    CTSVC_INFO_SLOT(Info, nDefaultPhoneNumberId)),
      CtSvcInt8Field(CTSVC_DB_PERSON_COLUMN_HAS_PH, &Fields::bHasPhoneNumber, CTSVC_INFO_SLOT(Info, bHasPhoneNumber)),
      CtSvcInt8Field(CTSVC_DB_PERSON_COLUMN_HAS_EMAIL, &Fields::bHasEmailAddress, CTSVC_INFO_SLOT(Info, bHasEmailAddress)),
      CtSvcInt8Field(CTSVC_DB_PERSON_COLUMN_HAS_ADDR, &Fields::bHasAddr, CTSVC_INFO_SLOT(Info, bHasAddr)),
      CtSvcInt8Field(CTSVC_DB_PERSON_COLUMN_HAS_IM, &Fields::bHasIM, CTSVC_INFO_SLOT(Info, bHasIM)),
      CtSvcInt8Field(CTSVC_DB_PERSON_COLUMN_HAS_ETCDATA, &Fields::bHasEtcData, CTSVC_INFO_SLOT(Info, bHasEtcData)),
      CtSvcInt8Field(CTSVC_DB_PERSON_COLUMN_HAS_RCS, &Fields::bHasRcs, CTSVC_INFO_SLOT(Info, bHasRcs)),
      CtSvcInt8Field(CTSVC_DB_PERSON_COLUMN_HAS_SNSDATA, &Fields::bHasSnsData, CTSVC_INFO_SLOT(Info, bHasSnsData)),
      CtSvcIntField(CTSVC_DB_PERSON_COLUMN_PRIMARY_ID, &Fields::nPrimaryId, CTSVC_INFO_SLOT(Info, nPrimaryId)),
      CtSvcIntField(CTSVC_DB_PERSON_COLUMN_ACCOUNT_ID, &Fields::nAccountId, CTSVC_INFO_SLOT(Info, nAccountId),
                    CtSvcFieldRole::None, CTSVC_FIELD_STORED_ONLY),
      CtSvcStringField(CTSVC_DB_PERSON_COLUMN_CALLER_IMAGE, &Fields::strCallerImage, CTSVC_INFO_SLOT(Info, szCallerImage)),
      CtSvcStringField(CTSVC_DB_PERSON_COLUMN_UUID, &Fields::strUuid, CTSVC_INFO_SLOT(Info, szUuid)),
  };
};
static_assert(CtSvcIsFieldMapValid(CtSvcPersonTraits::kFields), "person column map");

class CCtSvcPerson : public CCtSvcStructRecord<CtSvcPersonTraits> {
 public:
  using CCtSvcStructRecord<CtSvcPersonTraits>::CCtSvcStructRecord;
  CCtSvcPerson() = default;
  CCtSvcPerson(const CCtSvcPerson& other) = default;
  CCtSvcPerson& operator=(const CCtSvcPerson& other) = default;
  ~CCtSvcPerson() override = default;

  // Device type << 30 | id; INVALID_HOBJ for an unsaved person.
  HOBJ GetHandle() const;
  CTSVC_INT_ACCESSORS(CtSvcDeviceType, DeviceType, nDeviceType)
  CTSVC_INT_ACCESSORS(int, SlotIndex, nSlotIndex)
  CTSVC_STRING_ACCESSORS(FirstName, strFirstName)
  CTSVC_STRING_ACCESSORS(LastName, strLastName)
  // The four date setters keep a date only when 1900 <= year <= 2100, 1 <= month <= 12 and
  // 1 <= day <= 31; any other value stores the unset date 1899-12-31 00:00:00.
  TmDateTime GetBirthday() const { return m_Fields.Birthday; }
  void SetBirthday(const TmDateTime& date) { m_Fields.Birthday = CtSvcCheckedDate(date); }
  TmDateTime GetBirthdayReserve() const { return m_Fields.BirthdayReserve; }
  void SetBirthdayReserve(const TmDateTime& date) { m_Fields.BirthdayReserve = CtSvcCheckedDate(date); }
  TmDateTime GetAnniversary() const { return m_Fields.Anniversary; }
  void SetAnniversary(const TmDateTime& date) { m_Fields.Anniversary = CtSvcCheckedDate(date); }
  TmDateTime GetAnniversaryReserve() const { return m_Fields.AnniversaryReserve; }
  void SetAnniversaryReserve(const TmDateTime& date) { m_Fields.AnniversaryReserve = CtSvcCheckedDate(date); }
  CTSVC_DATETIME_ACCESSORS(SaveTime, SaveTime)
  CTSVC_INT_ACCESSORS(int, DefaultPhoneNumberId, nDefaultPhoneNumberId)
  CTSVC_INT_ACCESSORS(int, HasPhoneNumber, bHasPhoneNumber)
  CTSVC_INT_ACCESSORS(int, HasEmail, bHasEmailAddress)
  CTSVC_INT_ACCESSORS(int, HasAddr, bHasAddr)
  CTSVC_INT_ACCESSORS(int, HasIM, bHasIM)
  CTSVC_INT_ACCESSORS(int, HasEtcData, bHasEtcData)
  CTSVC_INT_ACCESSORS(int, HasRcs, bHasRcs)
  CTSVC_INT_ACCESSORS(int, HasSnsData, bHasSnsData)
  CTSVC_INT_ACCESSORS(int, PrimaryId, nPrimaryId)
  CTSVC_INT_ACCESSORS(int, AccountId, nAccountId)
  CTSVC_STRING_ACCESSORS(CallerImage, strCallerImage)
  CTSVC_STRING_ACCESSORS(Uuid, strUuid)

  // What the person hands to its details (SetPerson).
  CtSvcPersonIdentity GetIdentity() const;

  // Makes the person fit a SIM ADN record: names merged into the first name in the platform's
  // name order and cut to the ADN name length; image, dates and the flags a SIM cannot hold
  // cleared. 1.
  int RemoveFieldForSim();

  // Rows of this person's details; 0 for an unsaved person (assertion) or when nothing was read.
  int GetPhoneNumber(std::vector<CContent>& vcContents) const;
  int GetEmailAddress(std::vector<CContent>& vcContents) const;
  int GetPostalAddress(std::vector<CContent>& vcContents) const;
  int GetEtcData(std::vector<CContent>& vcContents) const;
  // The row of the default phone number; 0 when there is none.
  int GetDefaultPhoneNumber(CContent& content) const;
  // The first other-data row of the given type; 0 when there is none.
  int GetEtcData(CtSvcEtcDataType nType, CContent& content) const;
  // The first RCS row; 0 when there is none.
  int GetRcsInformation(CContent& content) const;
  // The group rows of the groups the person is a member of.
  std::vector<CContent> GetJoinedGroupList() const;

  void _PrepareInsertRecord() override;
  void _PrepareUpdateRecord() override;

 protected:
  void _SetDerivedColumns(CContentInput& input, CCtSvcDbTable& table) const override;
  void _FinishInfo(CtSvcPersonInfo& info) const override;

 private:
  void __SetSaveTimeIfUnset();
  void __GenerateUuid();
  bool __IsSaved(const char* szQuery) const;
};

#endif
