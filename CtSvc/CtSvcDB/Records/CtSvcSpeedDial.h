// A speed-dial slot: the key and the phone-number row it dials.
#ifndef CTSVC_SPEED_DIAL_CLASS_H
#define CTSVC_SPEED_DIAL_CLASS_H

#include "CtSvcDB/Records/CtSvcMappedRecord.h"
#include "CtSvcDB/Records/CtSvcRecordAccessors.h"
#include "CtSvcDB/Tables/CtSvcDbColumns.h"
#include "CtSvcDetail.h"

class CCtSvcPerson;

struct CtSvcSpeedDialFields {
  int nDeviceType = CTSVC_USE_TYPE_NONE;
  int nSlotIndex = -1;
  int nPhoneNumberId = -1;
  int nPersonId = -1;
  int nAccountId = -1;
};

struct CtSvcSpeedDialTraits {
  using Fields = CtSvcSpeedDialFields;
  using Info = CtSvcSpeedDialInfo;
  using Record = CtSvcSpeedDialRecord;
  static constexpr CtSvcDbTableType kTable = CTSVC_DB_TABLE_SPEEDDIAL;
  static constexpr const char* kUri = "CtSvc/SpeedDial";
  static constexpr const char* kClassName = "CCtSvcSpeedDial";
  static constexpr const char* kLoadLogName = "CCtSvcSpeedDial::SetContent";
  static constexpr CtSvcFieldDesc<Fields> kFields[] = {
      CtSvcInt8Field(CTSVC_DB_SPEEDDIAL_COLUMN_DEVICE_TYPE, &Fields::nDeviceType, CTSVC_RECORD_SLOT(Record, DevType),
                     CtSvcFieldRole::DeviceType),
      CtSvcIntField(CTSVC_DB_SPEEDDIAL_COLUMN_SLOT_INDEX, &Fields::nSlotIndex, CTSVC_INFO_SLOT(Info, nSlotIndex)),
      CtSvcIntField(CTSVC_DB_SPEEDDIAL_COLUMN_PHNUM_ID, &Fields::nPhoneNumberId, CTSVC_INFO_SLOT(Info, nPhoneNumberId)),
      CtSvcIntField(CTSVC_DB_SPEEDDIAL_COLUMN_PERSON_ID, &Fields::nPersonId, CTSVC_RECORD_SLOT(Record, nPersonId),
                    CtSvcFieldRole::PersonId),
      CtSvcIntField(CTSVC_DB_SPEEDDIAL_COLUMN_ACCOUNT_ID, &Fields::nAccountId, CTSVC_RECORD_SLOT(Record, nAccountId),
                    CtSvcFieldRole::AccountId),
  };
};
static_assert(CtSvcIsFieldMapValid(CtSvcSpeedDialTraits::kFields), "speed-dial column map");

class CCtSvcSpeedDial : public CCtSvcStructRecord<CtSvcSpeedDialTraits> {
 public:
  using CCtSvcStructRecord<CtSvcSpeedDialTraits>::CCtSvcStructRecord;
  CCtSvcSpeedDial() = default;
  CCtSvcSpeedDial(const CCtSvcSpeedDial& other) = default;
  CCtSvcSpeedDial& operator=(const CCtSvcSpeedDial& other) = default;
  ~CCtSvcSpeedDial() override = default;

  CTSVC_INT_ACCESSORS(CtSvcDeviceType, DeviceType, nDeviceType)
  CTSVC_INT_ACCESSORS(int, SlotIndex, nSlotIndex)
  CTSVC_INT_ACCESSORS(int, PhoneNumberId, nPhoneNumberId)
  CTSVC_INT_ACCESSORS(int, PersonId, nPersonId)
  CTSVC_INT_ACCESSORS(int, AccountId, nAccountId)
  // Takes the person's id, device type and account id.
  void SetPerson(const CCtSvcPerson& person);
};

#endif
