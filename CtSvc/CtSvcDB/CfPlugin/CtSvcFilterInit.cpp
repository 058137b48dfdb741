// The "unset" state of the filter structures: ids and slot indexes -1, everything else zero.
#include "CtSvcFilter.h"

namespace {

// Zero-fills the structure, then marks the given id fields unset.
template <typename S, typename... Ids>
void InitFilter(S* pFilter, Ids S::*... pIds) {
  if (pFilter == nullptr) {
    return;
  }
  *pFilter = S{};
  ((pFilter->*pIds = -1), ...);
}

}  // namespace

extern "C" {

void CtSvcPersonFilterInit(CtSvcPersonFilter* p) {
  InitFilter(p, &CtSvcPersonFilter::nSlotIndex, &CtSvcPersonFilter::nGroupId, &CtSvcPersonFilter::nPrimaryId,
             &CtSvcPersonFilter::nAccountId);
}

void CtSvcPhoneNumberFilterInit(CtSvcPhoneNumberFilter* p) {
  InitFilter(p, &CtSvcPhoneNumberFilter::nPersonId, &CtSvcPhoneNumberFilter::nPrimaryId,
             &CtSvcPhoneNumberFilter::nAccountId);
}

void CtSvcEmailFilterInit(CtSvcEmailFilter* p) {
  InitFilter(p, &CtSvcEmailFilter::nPersonId, &CtSvcEmailFilter::nPrimaryId, &CtSvcEmailFilter::nAccountId);
}

void CtSvcPostalAddressFilterInit(CtSvcPostalAddressFilter* p) {
  InitFilter(p, &CtSvcPostalAddressFilter::nPersonId, &CtSvcPostalAddressFilter::nPrimaryId,
             &CtSvcPostalAddressFilter::nAccountId);
}

void CtSvcEtcDataFilterInit(CtSvcEtcDataFilter* p) {
  InitFilter(p, &CtSvcEtcDataFilter::nPersonId, &CtSvcEtcDataFilter::nPrimaryId, &CtSvcEtcDataFilter::nAccountId);
}

void CtSvcFdnFilterInit(CtSvcFdnFilter* p) { InitFilter(p, &CtSvcFdnFilter::nSlotIndex); }

void CtSvcPrimaryFilterInit(CtSvcPrimaryFilter* p) {
  InitFilter(p, &CtSvcPrimaryFilter::nPrimaryId, &CtSvcPrimaryFilter::nGroupId,
             &CtSvcPrimaryFilter::nExceptPrimaryId);
}

void CtSvcGroupFilterInit(CtSvcGroupFilter* p) {
  InitFilter(p, &CtSvcGroupFilter::nAccountId, &CtSvcGroupFilter::nSlotIndex);
}

void CtSvcGroupMemberFilterInit(CtSvcGroupMemberFilter* p) {
  InitFilter(p, &CtSvcGroupMemberFilter::nPersonId, &CtSvcGroupMemberFilter::nPrimaryId,
             &CtSvcGroupMemberFilter::nAccountId, &CtSvcGroupMemberFilter::nGroupId);
}

void CtSvcRcsFilterInit(CtSvcRcsFilter* p) {
  InitFilter(p, &CtSvcRcsFilter::nPersonId, &CtSvcRcsFilter::nPrimaryId, &CtSvcRcsFilter::nAccountId);
}

void CtSvcIMFilterInit(CtSvcIMFilter* p) {
  InitFilter(p, &CtSvcIMFilter::nPersonId, &CtSvcIMFilter::nPrimaryId, &CtSvcIMFilter::nAccountId,
             &CtSvcIMFilter::nIspId);
}

void CtSvcSnsDataFilterInit(CtSvcSnsDataFilter* p) {
  InitFilter(p, &CtSvcSnsDataFilter::nPersonId, &CtSvcSnsDataFilter::nPrimaryId, &CtSvcSnsDataFilter::nAccountId,
             &CtSvcSnsDataFilter::nSp);
}

void CtSvcSpeedDialFilterInit(CtSvcSpeedDialFilter* p) {
  InitFilter(p, &CtSvcSpeedDialFilter::nPersonId, &CtSvcSpeedDialFilter::nSlotIndex,
             &CtSvcSpeedDialFilter::nPhoneNumberId);
}

}  // extern "C"
