// Filter of the group table, ordered by the group index (search name, device type).
#ifndef CTSVC_GROUP_FILTER_H
#define CTSVC_GROUP_FILTER_H

#include "CtSvcDB/CfPlugin/CtSvcTableFilter.h"

class CCtSvcGroupFilter : public CCtSvcTableFilter<CCtSvcGroupFilter, CtSvcGroupFilter> {
 public:
  static constexpr const char* kWhereLog = "CCtSvcGroupFilter::BuildContentFilter Where == %s\n";
  CTSVC_FILTER_INT_SETTER(AccountId, nAccountId)
  CTSVC_FILTER_INT_SETTER(SlotIndex, nSlotIndex)
  CTSVC_FILTER_INT_SETTER(DeviceType, DevType)
  CTSVC_FILTER_INT_SETTER(Type, nType)
  CTSVC_FILTER_TEXT_SETTER(Name, szName)
  CTSVC_FILTER_TEXT_SETTER(Ringtone, szRingtone)
  CTSVC_FILTER_INT_SETTER(HasMember, bHasMember)
  CTSVC_FILTER_INT_SETTER(ExceptNotAssigned, bExceptNotAssigned)

  BOOL BuildContentFilter() override;
};

#endif
