// Filter of the fixed-dialling numbers mirrored from the SIM, ordered by name.
#ifndef CTSVC_FDN_FILTER_H
#define CTSVC_FDN_FILTER_H

#include "CtSvcDB/CfPlugin/CtSvcTableFilter.h"

class CCtSvcFdnFilter : public CCtSvcTableFilter<CCtSvcFdnFilter, CtSvcFdnFilter> {
 public:
  static constexpr const char* kWhereLog = "CCtSvcFdnFilter::BuildContentFilter Where== %s\n";
  CTSVC_FILTER_INT_SETTER(SlotIndex, nSlotIndex)
  CTSVC_FILTER_TEXT_SETTER(Name, szName)
  CTSVC_FILTER_TEXT_SETTER(PhoneNumber, szPhoneNumber)

  BOOL BuildContentFilter() override;
};

#endif
