// An e-mail address of a person (contact-data row of TYPE 2).
#ifndef CTSVC_EMAIL_ADDRESS_CLASS_H
#define CTSVC_EMAIL_ADDRESS_CLASS_H

#include <string>

#include "CtSvcDB/Records/CtSvcMappedRecord.h"
#include "CtSvcDB/Records/CtSvcRecordAccessors.h"
#include "CtSvcDB/Tables/CtSvcDbColumns.h"
#include "CtSvcDetail.h"

class CCtSvcPerson;

struct CtSvcEmailAddressFields {
  int nPersonId = -1;
  int nPrimaryId = -1;
  int nDeviceType = CTSVC_USE_TYPE_NONE;
  std::string strFirstName;  // copies of the person's names, for searching
  std::string strLastName;
  int nEmailType = CTSVC_EMAIL_TYPE_NONE;
  int nUseType = 0;
  std::string strEmailAddress;
  int nAccountId = -1;
};

struct CtSvcEmailAddressTraits {
  using Fields = CtSvcEmailAddressFields;
  using Info = CtSvcEmailAddressInfo;
  using Record = CtSvcEmailAddressRecord;
  static constexpr CtSvcDbTableType kTable = CTSVC_DB_TABLE_CONTACTDATA;
  static constexpr const char* kUri = "CtSvc/Email";
  static constexpr const char* kClassName = "CCtSvcEmailAddress";
  static constexpr const char* kLoadLogName = "CCtSvcEmailAddress::SetContent";
  // The e-mail type is kept in the PHONE_TYPE column of the shared table.
  static constexpr CtSvcFieldDesc<Fields> kFields[] = {
      CtSvcIntField(CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID, &Fields::nPersonId, CTSVC_RECORD_SLOT(Record, nPersonId),
                    CtSvcFieldRole::PersonId),
      CtSvcIntField(CTSVC_DB_CONTACTDATA_COLUMN_PRIMARY_ID, &Fields::nPrimaryId, CTSVC_RECORD_SLOT(Record, nPrimaryId),
                    CtSvcFieldRole::PrimaryId),
      CtSvcInt8Field(CTSVC_DB_CONTACTDATA_COLUMN_DEVICE_TYPE, &Fields::nDeviceType, CTSVC_RECORD_SLOT(Record, DevType),
                     CtSvcFieldRole::DeviceType),
      CtSvcStringField(CTSVC_DB_CONTACTDATA_COLUMN_FIRSTNAME, &Fields::strFirstName, CTSVC_NO_SLOT, CtSvcFieldRole::FirstName),
      CtSvcStringField(CTSVC_DB_CONTACTDATA_COLUMN_LASTNAME, &Fields::strLastName, CTSVC_NO_SLOT, CtSvcFieldRole::LastName),
      CtSvcInt8Field(CTSVC_DB_CONTACTDATA_COLUMN_PHONE_TYPE, &Fields::nEmailType, CTSVC_INFO_SLOT(Info, EmailType)),
      CtSvcInt8Field(CTSVC_DB_CONTACTDATA_COLUMN_USE_TYPE, &Fields::nUseType, CTSVC_INFO_SLOT(Info, UseType)),
      CtSvcStringField(CTSVC_DB_CONTACTDATA_COLUMN_CONTACT_DATA, &Fields::strEmailAddress, CTSVC_INFO_SLOT(Info, szEmailAddress)),
      CtSvcIntField(CTSVC_DB_CONTACTDATA_COLUMN_ACCOUNT_ID, &Fields::nAccountId, CTSVC_RECORD_SLOT(Record, nAccountId),
                    CtSvcFieldRole::AccountId),
  };
};
static_assert(CtSvcIsFieldMapValid(CtSvcEmailAddressTraits::kFields), "e-mail column map");

class CCtSvcEmailAddress : public CCtSvcStructRecord<CtSvcEmailAddressTraits> {
 public:
  using CCtSvcStructRecord<CtSvcEmailAddressTraits>::CCtSvcStructRecord;
  CCtSvcEmailAddress() = default;
  CCtSvcEmailAddress(const CCtSvcEmailAddress& other) = default;
  CCtSvcEmailAddress& operator=(const CCtSvcEmailAddress& other) = default;
  ~CCtSvcEmailAddress() override = default;

  CTSVC_INT_ACCESSORS(int, PersonId, nPersonId)
  CTSVC_INT_ACCESSORS(int, PrimaryId, nPrimaryId)
  CTSVC_INT_ACCESSORS(CtSvcDeviceType, DeviceType, nDeviceType)
  CTSVC_INT_ACCESSORS(CtSvcEmailType, EmailType, nEmailType)
  CTSVC_INT_ACCESSORS(CtSvcUseType, UseType, nUseType)
  CTSVC_STRING_ACCESSORS(EmailAddress, strEmailAddress)
  CTSVC_INT_ACCESSORS(int, AccountId, nAccountId)
  // Takes the person's id, primary id, device type, account id and names.
  void SetPerson(const CCtSvcPerson& person);

 protected:
  bool _AcceptRow(const CContent& content) const override;
  void _SetDerivedColumns(CContentInput& input, CCtSvcDbTable& table) const override;
};

#endif
