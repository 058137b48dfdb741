// A primary: the merged contact the user sees, to which up to five persons are linked.
#ifndef CTSVC_PRIMARY_CLASS_H
#define CTSVC_PRIMARY_CLASS_H

#include <string>

#include "CtSvcDB/Records/CtSvcMappedRecord.h"
#include "CtSvcDB/Records/CtSvcRecordAccessors.h"
#include "CtSvcDB/Tables/CtSvcDbColumns.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"

struct CtSvcPrimaryFields {
  int nDeviceType = CTSVC_USE_TYPE_NONE;
  int nDefaultPhoneNumberId = -1;
  int bHasPhoneNumber = 0;
  int bHasEmailAddress = 0;
  int bHasAddr = 0;
  int bHasIM = 0;
  std::string strCallerImage;
  int nFavorite = CTSVC_FAVORITE_TYPE_NOT_FAVORITE;
  std::string strFirstName;
  std::string strLastName;
  int nFirstAccountId = -1;
  int nSecondAccountId = -1;
  int nThirdAccountId = -1;
  int nLinkCount = 0;
  int nFavoriteOrder = -1;
  int nReserved = 0;  // carried to and from the C structures, never stored
};

struct CtSvcPrimaryTraits {
  using Fields = CtSvcPrimaryFields;
  using Info = CtSvcPrimaryInfo;
  using Record = CtSvcPrimaryRecord;
  static constexpr CtSvcDbTableType kTable = CTSVC_DB_TABLE_PRIMARY;
  static constexpr const char* kUri = "CtSvc/Primary";
  static constexpr const char* kClassName = "CCtSvcPrimary";
  static constexpr const char* kLoadLogName = "CCtSvcPrimary::SetData";
  // The device type is taken from an info but never written back to one.
  static constexpr CtSvcFieldDesc<Fields> kFields[] = {
      CtSvcInt8Field(CTSVC_DB_PRIMARY_COLUMN_DEVICE_TYPE, &Fields::nDeviceType, CTSVC_INFO_SLOT(Info, DevType),
                     CtSvcFieldRole::None, CTSVC_FIELD_NOT_TO_INFO),
      CtSvcIntField(CTSVC_DB_PRIMARY_COLUMN_DEFAULT_PHNUM_ID, &Fields::nDefaultPhoneNumberId,
                    CTSVC_INFO_SLOT(Info, nDefaultPhoneNumberId)),
      CtSvcInt8Field(CTSVC_DB_PRIMARY_COLUMN_HAS_PH, &Fields::bHasPhoneNumber, CTSVC_INFO_SLOT(Info, bHasPhoneNumber)),
      CtSvcInt8Field(CTSVC_DB_PRIMARY_COLUMN_HAS_EMAIL, &Fields::bHasEmailAddress, CTSVC_INFO_SLOT(Info, bHasEmailAddress)),
      CtSvcInt8Field(CTSVC_DB_PRIMARY_COLUMN_HAS_ADDR, &Fields::bHasAddr, CTSVC_INFO_SLOT(Info, bHasAddr)),
      CtSvcInt8Field(CTSVC_DB_PRIMARY_COLUMN_HAS_IM, &Fields::bHasIM, CTSVC_INFO_SLOT(Info, bHasIM)),
      CtSvcStringField(CTSVC_DB_PRIMARY_COLUMN_CALLER_IMAGE, &Fields::strCallerImage, CTSVC_INFO_SLOT(Info, szCallerImage)),
      CtSvcInt8Field(CTSVC_DB_PRIMARY_COLUMN_FAVORITE, &Fields::nFavorite, CTSVC_INFO_SLOT(Info, nFavorite)),
      CtSvcStringField(CTSVC_DB_PRIMARY_COLUMN_FIRSTNAME, &Fields::strFirstName, CTSVC_INFO_SLOT(Info, szFirstName)),
      CtSvcStringField(CTSVC_DB_PRIMARY_COLUMN_LASTNAME, &Fields::strLastName, CTSVC_INFO_SLOT(Info, szLastName)),
      CtSvcIntField(CTSVC_DB_PRIMARY_COLUMN_FIRST_ACCOUNT_ID, &Fields::nFirstAccountId, CTSVC_INFO_SLOT(Info, nFirstAccountId)),
      CtSvcIntField(CTSVC_DB_PRIMARY_COLUMN_SECOND_ACCOUNT_ID, &Fields::nSecondAccountId,
                    CTSVC_INFO_SLOT(Info, nSecondAccountId)),
      CtSvcIntField(CTSVC_DB_PRIMARY_COLUMN_THIRD_ACCOUNT_ID, &Fields::nThirdAccountId, CTSVC_INFO_SLOT(Info, nThirdAccountId)),
      CtSvcIntField(CTSVC_DB_PRIMARY_COLUMN_LINK_COUNT, &Fields::nLinkCount, CTSVC_INFO_SLOT(Info, nLinkCount)),
      CtSvcIntField(CTSVC_DB_PRIMARY_COLUMN_FAVORITE_ORDER, &Fields::nFavoriteOrder, CTSVC_INFO_SLOT(Info, nFavoriteOrder)),
      CtSvcIntField(-1, &Fields::nReserved, CTSVC_INFO_SLOT(Info, nReserved)),
  };
};
static_assert(CtSvcIsFieldMapValid(CtSvcPrimaryTraits::kFields), "primary column map");

class CCtSvcPrimary : public CCtSvcStructRecord<CtSvcPrimaryTraits> {
 public:
  using CCtSvcStructRecord<CtSvcPrimaryTraits>::CCtSvcStructRecord;
  CCtSvcPrimary() = default;
  CCtSvcPrimary(const CCtSvcPrimary& other) = default;
  CCtSvcPrimary& operator=(const CCtSvcPrimary& other) = default;
  ~CCtSvcPrimary() override = default;

  // Same record id and every field equal (texts by content).
  virtual bool operator==(const CCtSvcPrimary& other) const { return _FieldsEqual(other); }
  virtual bool operator!=(const CCtSvcPrimary& other) const { return !(*this == other); }

  CTSVC_INT_ACCESSORS(CtSvcDeviceType, DeviceType, nDeviceType)
  CTSVC_INT_ACCESSORS(int, DefaultPhoneNumberId, nDefaultPhoneNumberId)
  CTSVC_INT_ACCESSORS(int, HasPhoneNumber, bHasPhoneNumber)
  CTSVC_INT_ACCESSORS(int, HasEmail, bHasEmailAddress)
  CTSVC_INT_ACCESSORS(int, HasAddr, bHasAddr)
  CTSVC_INT_ACCESSORS(int, HasIM, bHasIM)
  CTSVC_STRING_ACCESSORS(CallerImage, strCallerImage)
  CTSVC_INT_ACCESSORS(CtSvcFavoriteType, Favorite, nFavorite)
  CTSVC_STRING_ACCESSORS(FirstName, strFirstName)
  CTSVC_STRING_ACCESSORS(LastName, strLastName)
  CTSVC_INT_ACCESSORS(int, FirstAccountId, nFirstAccountId)
  CTSVC_INT_ACCESSORS(int, SecondAccountId, nSecondAccountId)
  CTSVC_INT_ACCESSORS(int, ThirdAccountId, nThirdAccountId)
  CTSVC_INT_ACCESSORS(int, LinkCount, nLinkCount)
  CTSVC_INT_ACCESSORS(int, FavoriteOrder, nFavoriteOrder)
  CTSVC_INT_ACCESSORS(int, Reserved, nReserved)

 protected:
  void _SetDerivedColumns(CContentInput& input, CCtSvcDbTable& table) const override;
};

#endif
