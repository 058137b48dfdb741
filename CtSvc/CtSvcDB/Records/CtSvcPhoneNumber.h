// A phone number of a person (contact-data row of TYPE 1).
#ifndef CTSVC_PHONE_NUMBER_CLASS_H
#define CTSVC_PHONE_NUMBER_CLASS_H

#include <string>

#include "CtSvcDB/Records/CtSvcMappedRecord.h"
#include "CtSvcDB/Records/CtSvcRecordAccessors.h"
#include "CtSvcDB/Tables/CtSvcDbColumns.h"
#include "CtSvcDetail.h"

class CCtSvcPerson;

struct CtSvcPhoneNumberFields {
  int nPersonId = -1;
  int nPrimaryId = -1;
  int nDeviceType = CTSVC_USE_TYPE_NONE;
  std::string strFirstName;  // copies of the person's names, for searching
  std::string strLastName;
  int nPhoneType = CTSVC_PHONE_TYPE_NONE;
  int nUseType = CTSVC_USE_TYPE_OTHER;
  int nAasId = -1;
  std::string strPhoneNumber;
  int nAccountId = -1;
};

struct CtSvcPhoneNumberTraits {
  using Fields = CtSvcPhoneNumberFields;
  using Info = CtSvcPhoneNumberInfo;
  using Record = CtSvcPhoneNumberRecord;
  static constexpr CtSvcDbTableType kTable = CTSVC_DB_TABLE_CONTACTDATA;
  static constexpr const char* kUri = "CtSvc/PhoneNumber";
  static constexpr const char* kClassName = "CCtSvcPhoneNumber";
  static constexpr const char* kLoadLogName = "CCtSvcPhoneNumber::SetContent";
  static constexpr CtSvcFieldDesc<Fields> kFields[] = {
      CtSvcIntField(CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID, &Fields::nPersonId, CTSVC_RECORD_SLOT(Record, nPersonId),
                    CtSvcFieldRole::PersonId),
      CtSvcIntField(CTSVC_DB_CONTACTDATA_COLUMN_PRIMARY_ID, &Fields::nPrimaryId, CTSVC_RECORD_SLOT(Record, nPrimaryId),
                    CtSvcFieldRole::PrimaryId),
      CtSvcInt8Field(CTSVC_DB_CONTACTDATA_COLUMN_DEVICE_TYPE, &Fields::nDeviceType, CTSVC_RECORD_SLOT(Record, DevType),
                     CtSvcFieldRole::DeviceType),
      CtSvcStringField(CTSVC_DB_CONTACTDATA_COLUMN_FIRSTNAME, &Fields::strFirstName, CTSVC_NO_SLOT, CtSvcFieldRole::FirstName),
      CtSvcStringField(CTSVC_DB_CONTACTDATA_COLUMN_LASTNAME, &Fields::strLastName, CTSVC_NO_SLOT, CtSvcFieldRole::LastName),
      CtSvcInt8Field(CTSVC_DB_CONTACTDATA_COLUMN_PHONE_TYPE, &Fields::nPhoneType, CTSVC_INFO_SLOT(Info, PhoneType)),
      CtSvcInt8Field(CTSVC_DB_CONTACTDATA_COLUMN_USE_TYPE, &Fields::nUseType, CTSVC_INFO_SLOT(Info, UseType)),
      CtSvcIntField(CTSVC_DB_CONTACTDATA_COLUMN_AAS_ID, &Fields::nAasId, CTSVC_INFO_SLOT(Info, nAasId)),
      CtSvcStringField(CTSVC_DB_CONTACTDATA_COLUMN_CONTACT_DATA, &Fields::strPhoneNumber, CTSVC_INFO_SLOT(Info, szPhoneNumber)),
      CtSvcIntField(CTSVC_DB_CONTACTDATA_COLUMN_ACCOUNT_ID, &Fields::nAccountId, CTSVC_RECORD_SLOT(Record, nAccountId),
                    CtSvcFieldRole::AccountId),
  };
};
static_assert(CtSvcIsFieldMapValid(CtSvcPhoneNumberTraits::kFields), "phone-number column map");

class CCtSvcPhoneNumber : public CCtSvcStructRecord<CtSvcPhoneNumberTraits> {
 public:
  using CCtSvcStructRecord<CtSvcPhoneNumberTraits>::CCtSvcStructRecord;
  CCtSvcPhoneNumber() = default;
  CCtSvcPhoneNumber(const CCtSvcPhoneNumber& other) = default;
  CCtSvcPhoneNumber& operator=(const CCtSvcPhoneNumber& other) = default;
  ~CCtSvcPhoneNumber() override = default;

  CTSVC_INT_ACCESSORS(int, PersonId, nPersonId)
  CTSVC_INT_ACCESSORS(int, PrimaryId, nPrimaryId)
  CTSVC_INT_ACCESSORS(CtSvcDeviceType, DeviceType, nDeviceType)
  CTSVC_INT_ACCESSORS(CtSvcPhoneType, PhoneType, nPhoneType)
  CTSVC_INT_ACCESSORS(CtSvcUseType, UseType, nUseType)
  CTSVC_INT_ACCESSORS(int, AasId, nAasId)
  CTSVC_STRING_ACCESSORS(PhoneNumber, strPhoneNumber)
  CTSVC_INT_ACCESSORS(int, AccountId, nAccountId)
  // Takes the person's id, primary id, device type, account id and names.
  void SetPerson(const CCtSvcPerson& person);

 protected:
  bool _AcceptRow(const CContent& content) const override;
  void _SetDerivedColumns(CContentInput& input, CCtSvcDbTable& table) const override;
};

#endif
