// Filters of the detail tables whose conditions are one per field: postal addresses, other data,
// RCS, speed dials, IM, social-network data and group memberships. Each is driven by its rule
// table (CtSvcDetailFilters.cpp).
#ifndef CTSVC_DETAIL_FILTERS_H
#define CTSVC_DETAIL_FILTERS_H

#include "CtSvcDB/CfPlugin/CtSvcTableFilter.h"

class CCtSvcPostalAddressFilter : public CCtSvcDetailFilter<CCtSvcPostalAddressFilter, CtSvcPostalAddressFilter> {
 public:
  static constexpr const char* kWhereLog = "CCtSvcPostalAddressFilter::BuildContentFilter Where == %s\n";
  CTSVC_FILTER_INT_SETTER(PersonId, nPersonId)
  CTSVC_FILTER_INT_SETTER(PrimaryId, nPrimaryId)
  CTSVC_FILTER_INT_SETTER(AccountId, nAccountId)
  CTSVC_FILTER_INT_SETTER(LocalPhoneDataOnly, bLocalPhoneDataOnly)
  CTSVC_FILTER_INT_SETTER(UseType, UseType)
  CTSVC_FILTER_TEXT_SETTER(PCODE, szPCODE)
  CTSVC_FILTER_TEXT_SETTER(PostOfficeBoxNumber, szPostOfficeBoxNumber)
  CTSVC_FILTER_TEXT_SETTER(Detail, szDetail)
  CTSVC_FILTER_TEXT_SETTER(Street, szStreet)
  CTSVC_FILTER_TEXT_SETTER(City, szCity)
  CTSVC_FILTER_TEXT_SETTER(State, szState)
  CTSVC_FILTER_TEXT_SETTER(Country, szCountry)

 protected:
  void _AddConditions(CCtSvcFilterConditions& conditions) const override;
};

// The value is matched by EtcDataTruncation (exact by default).
class CCtSvcEtcDataFilter : public CCtSvcDetailFilter<CCtSvcEtcDataFilter, CtSvcEtcDataFilter> {
 public:
  static constexpr const char* kWhereLog = "CCtSvcEtcDataFilter::BuildContentFilter Where == %s\n";
  CTSVC_FILTER_INT_SETTER(PersonId, nPersonId)
  CTSVC_FILTER_INT_SETTER(PrimaryId, nPrimaryId)
  CTSVC_FILTER_INT_SETTER(AccountId, nAccountId)
  CTSVC_FILTER_INT_SETTER(LocalPhoneDataOnly, bLocalPhoneDataOnly)
  CTSVC_FILTER_INT_SETTER(DeviceType, DevType)
  CTSVC_FILTER_INT_SETTER(EtcDataType, EtcDataType)
  CTSVC_FILTER_INT_SETTER(EtcDataTruncation, EtcDataTruncation)
  CTSVC_FILTER_TEXT_SETTER(EtcData, szEtcData)

 protected:
  void _AddConditions(CCtSvcFilterConditions& conditions) const override;
};

class CCtSvcRcsFilter : public CCtSvcDetailFilter<CCtSvcRcsFilter, CtSvcRcsFilter> {
 public:
  static constexpr const char* kWhereLog = "CCtSvcRcsFilter::BuildContentFilter Where == %s\n";
  CTSVC_FILTER_INT_SETTER(PersonId, nPersonId)
  CTSVC_FILTER_INT_SETTER(PrimaryId, nPrimaryId)
  CTSVC_FILTER_INT_SETTER(AccountId, nAccountId)
  CTSVC_FILTER_INT_SETTER(Status, nStatus)
  CTSVC_FILTER_TEXT_SETTER(Sip, szSip)

 protected:
  void _AddConditions(CCtSvcFilterConditions& conditions) const override;
};

class CCtSvcSpeedDialFilter : public CCtSvcDetailFilter<CCtSvcSpeedDialFilter, CtSvcSpeedDialFilter> {
 public:
  static constexpr const char* kWhereLog = "CCtSvcSpeedDialFilter::BuildContentFilter Where == %s\n";
  CTSVC_FILTER_INT_SETTER(PersonId, nPersonId)
  CTSVC_FILTER_INT_SETTER(SlotIndex, nSlotIndex)
  CTSVC_FILTER_INT_SETTER(PhoneNumberId, nPhoneNumberId)

 protected:
  void _AddConditions(CCtSvcFilterConditions& conditions) const override;
};

class CCtSvcIMFilter : public CCtSvcDetailFilter<CCtSvcIMFilter, CtSvcIMFilter> {
 public:
  static constexpr const char* kWhereLog = "CCtSvcIMFilter::BuildContentFilter Where == %s\n";
  CTSVC_FILTER_INT_SETTER(PersonId, nPersonId)
  CTSVC_FILTER_INT_SETTER(PrimaryId, nPrimaryId)
  CTSVC_FILTER_INT_SETTER(AccountId, nAccountId)
  CTSVC_FILTER_INT_SETTER(IspId, nIspId)
  CTSVC_FILTER_TEXT_SETTER(UserId, szUserId)
  CTSVC_FILTER_INT_SETTER(LocalPhoneDataOnly, bLocalPhoneDataOnly)

 protected:
  void _AddConditions(CCtSvcFilterConditions& conditions) const override;
};

class CCtSvcSnsDataFilter : public CCtSvcDetailFilter<CCtSvcSnsDataFilter, CtSvcSnsDataFilter> {
 public:
  static constexpr const char* kWhereLog = "CCtSvcSnsDataFilter::BuildContentFilter Where == %s\n";
  CTSVC_FILTER_INT_SETTER(PersonId, nPersonId)
  CTSVC_FILTER_INT_SETTER(PrimaryId, nPrimaryId)
  CTSVC_FILTER_INT_SETTER(AccountId, nAccountId)
  CTSVC_FILTER_TEXT_SETTER(PeopleId, szPeopleId)
  CTSVC_FILTER_INT_SETTER(Sp, nSp)
  CTSVC_FILTER_INT_SETTER(HasProfilePhoto, bHasProfilePhoto)

 protected:
  void _AddConditions(CCtSvcFilterConditions& conditions) const override;
};

class CCtSvcGroupMemberFilter : public CCtSvcDetailFilter<CCtSvcGroupMemberFilter, CtSvcGroupMemberFilter> {
 public:
  static constexpr const char* kWhereLog = "CCtSvcGroupMemberFilter::BuildContentFilter Where == %s\n";
  CTSVC_FILTER_INT_SETTER(PersonId, nPersonId)
  CTSVC_FILTER_INT_SETTER(PrimaryId, nPrimaryId)
  CTSVC_FILTER_INT_SETTER(AccountId, nAccountId)
  CTSVC_FILTER_INT_SETTER(DeviceType, DevType)
  CTSVC_FILTER_INT_SETTER(GroupId, nGroupId)
  CTSVC_FILTER_INT_SETTER(ExceptNotAssigned, bExceptNotAssigned)

 protected:
  void _AddConditions(CCtSvcFilterConditions& conditions) const override;
};

#endif
