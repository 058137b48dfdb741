// Filter of the person table: device, account, display name, date windows, group, primary,
// local or account data, other-data type and detail bits, with the name order of the index type.
#ifndef CTSVC_PERSON_FILTER_H
#define CTSVC_PERSON_FILTER_H

#include "CtSvcDB/CfPlugin/CtSvcTableFilter.h"

class CCtSvcPersonFilter : public CCtSvcTableFilter<CCtSvcPersonFilter, CtSvcPersonFilter> {
 public:
  static constexpr const char* kWhereLog = "CCtSvcPersonFilter::BuildContentFilter Where == %s\n";
  CTSVC_FILTER_INT_SETTER(SlotIndex, nSlotIndex)
  CTSVC_FILTER_INT_SETTER(DeviceType, DevType)
  CTSVC_FILTER_INT_SETTER(NameOrder, NameFilter.NameOrder)
  CTSVC_FILTER_TEXT_SETTER(DisplayName, NameFilter.szDisplayName)
  CTSVC_FILTER_INT_SETTER(NameTruncation, NameFilter.NameTruncation)
  CTSVC_FILTER_INT_SETTER(FavoriteType, FavoriteType)
  CTSVC_FILTER_DATE_SETTER(BirthDayFrom, BirthDayFrom)
  CTSVC_FILTER_DATE_SETTER(BirthDayTo, BirthDayTo)
  CTSVC_FILTER_DATE_SETTER(BirthDayReserveFrom, BirthDayReserveFrom)
  CTSVC_FILTER_DATE_SETTER(BirthDayReserveTo, BirthDayReserveTo)
  CTSVC_FILTER_DATE_SETTER(AnniversaryFrom, AnniversaryFrom)
  CTSVC_FILTER_DATE_SETTER(AnniversaryTo, AnniversaryTo)
  CTSVC_FILTER_DATE_SETTER(AnniversaryReserveFrom, AnniversaryReserveFrom)
  CTSVC_FILTER_DATE_SETTER(AnniversaryReserveTo, AnniversaryReserveTo)
  CTSVC_FILTER_INT_SETTER(FilterDetail, FilterDetail)
  CTSVC_FILTER_INT_SETTER(FilterIndexType, FilterIndexType)
  CTSVC_FILTER_INT_SETTER(GroupId, nGroupId)
  CTSVC_FILTER_INT_SETTER(PrimaryId, nPrimaryId)
  CTSVC_FILTER_INT_SETTER(AccountId, nAccountId)
  CTSVC_FILTER_INT_SETTER(LocalPhoneDataOnly, bLocalPhoneDataOnly)
  CTSVC_FILTER_INT_SETTER(ExceptLocalPhoneData, bExceptLocalPhoneData)
  CTSVC_FILTER_INT_SETTER(EtcDataType, EtcDataType)

  BOOL BuildContentFilter() override;

 private:
  void _AddDateConditions(CCtSvcFilterConditions& conditions) const;
  void _SetOrder(CCtSvcFilterConditions& conditions) const;
};

#endif
