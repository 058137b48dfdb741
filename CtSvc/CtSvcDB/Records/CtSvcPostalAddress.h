// A postal address of a person.
#ifndef CTSVC_POSTAL_ADDRESS_CLASS_H
#define CTSVC_POSTAL_ADDRESS_CLASS_H

#include <string>

#include "CtSvcDB/Records/CtSvcMappedRecord.h"
#include "CtSvcDB/Records/CtSvcRecordAccessors.h"
#include "CtSvcDB/Tables/CtSvcDbColumns.h"
#include "CtSvcDetail.h"

class CCtSvcPerson;

struct CtSvcPostalAddressFields {
  int nPersonId = -1;
  int nPrimaryId = -1;
  int nAccountId = -1;
  int nUseType = 0;
  std::string strDetail;
  std::string strPostOfficeBoxNumber;
  std::string strPCODE;
  std::string strStreet;
  std::string strCity;
  std::string strState;
  std::string strCountry;
};

struct CtSvcPostalAddressTraits {
  using Fields = CtSvcPostalAddressFields;
  using Info = CtSvcPostalAddressInfo;
  using Record = CtSvcPostalAddressRecord;
  static constexpr CtSvcDbTableType kTable = CTSVC_DB_TABLE_POSTALADDRESS;
  static constexpr const char* kUri = "CtSvc/PostalAddress";
  static constexpr const char* kClassName = "CCtSvcPostalAddress";
  static constexpr const char* kLoadLogName = "CCtSvcPostalAddress::SetContent";
  static constexpr CtSvcFieldDesc<Fields> kFields[] = {
      CtSvcIntField(CTSVC_DB_POSTALADDR_COLUMN_PERSON_ID, &Fields::nPersonId, CTSVC_RECORD_SLOT(Record, nPersonId),
                    CtSvcFieldRole::PersonId),
      CtSvcIntField(CTSVC_DB_POSTALADDR_COLUMN_PRIMARY_ID, &Fields::nPrimaryId, CTSVC_RECORD_SLOT(Record, nPrimaryId),
                    CtSvcFieldRole::PrimaryId),
      CtSvcIntField(CTSVC_DB_POSTALADDR_COLUMN_ACCOUNT_ID, &Fields::nAccountId, CTSVC_RECORD_SLOT(Record, nAccountId),
                    CtSvcFieldRole::AccountId),
      CtSvcInt8Field(CTSVC_DB_POSTALADDR_COLUMN_USE_TYPE, &Fields::nUseType, CTSVC_INFO_SLOT(Info, UseType)),
      CtSvcStringField(CTSVC_DB_POSTALADDR_COLUMN_DETAIL, &Fields::strDetail, CTSVC_INFO_SLOT(Info, szDetail)),
      CtSvcStringField(CTSVC_DB_POSTALADDR_COLUMN_PBOXNUM, &Fields::strPostOfficeBoxNumber,
                       CTSVC_INFO_SLOT(Info, szPostOfficeBoxNumber)),
      CtSvcStringField(CTSVC_DB_POSTALADDR_COLUMN_PCODE, &Fields::strPCODE, CTSVC_INFO_SLOT(Info, szPCODE)),
      CtSvcStringField(CTSVC_DB_POSTALADDR_COLUMN_STREET, &Fields::strStreet, CTSVC_INFO_SLOT(Info, szStreet)),
      CtSvcStringField(CTSVC_DB_POSTALADDR_COLUMN_CITY, &Fields::strCity, CTSVC_INFO_SLOT(Info, szCity)),
      CtSvcStringField(CTSVC_DB_POSTALADDR_COLUMN_STATE, &Fields::strState, CTSVC_INFO_SLOT(Info, szState)),
      CtSvcStringField(CTSVC_DB_POSTALADDR_COLUMN_COUNTRY, &Fields::strCountry, CTSVC_INFO_SLOT(Info, szCountry)),
  };
};
static_assert(CtSvcIsFieldMapValid(CtSvcPostalAddressTraits::kFields), "postal-address column map");

class CCtSvcPostalAddress : public CCtSvcStructRecord<CtSvcPostalAddressTraits> {
 public:
  using CCtSvcStructRecord<CtSvcPostalAddressTraits>::CCtSvcStructRecord;
  CCtSvcPostalAddress() = default;
  CCtSvcPostalAddress(const CCtSvcPostalAddress& other) = default;
  CCtSvcPostalAddress& operator=(const CCtSvcPostalAddress& other) = default;
  ~CCtSvcPostalAddress() override = default;

  CTSVC_INT_ACCESSORS(int, PersonId, nPersonId)
  CTSVC_INT_ACCESSORS(int, PrimaryId, nPrimaryId)
  CTSVC_INT_ACCESSORS(int, AccountId, nAccountId)
  CTSVC_INT_ACCESSORS(CtSvcUseType, UseType, nUseType)
  CTSVC_STRING_ACCESSORS(Detail, strDetail)
  CTSVC_STRING_ACCESSORS(PostOfficeBoxNumber, strPostOfficeBoxNumber)
  CTSVC_STRING_ACCESSORS(PCODE, strPCODE)
  CTSVC_STRING_ACCESSORS(Street, strStreet)
  CTSVC_STRING_ACCESSORS(City, strCity)
  CTSVC_STRING_ACCESSORS(State, strState)
  CTSVC_STRING_ACCESSORS(Country, strCountry)
  // Takes the person's id, primary id and account id.
  void SetPerson(const CCtSvcPerson& person);
};

#endif
