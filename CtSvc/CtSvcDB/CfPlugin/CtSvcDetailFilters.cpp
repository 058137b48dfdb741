#include "CtSvcDB/CfPlugin/CtSvcDetailFilters.h"

#include "CtSvcDB/CfPlugin/CtSvcFilterRules.h"

namespace {

using PostalFilter = CtSvcPostalAddressFilter;
const CtSvcFilterRule<PostalFilter> kPostalAddressRules[] = {
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_POSTALADDR_COLUMN_PERSON_ID, &PostalFilter::nPersonId),
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_POSTALADDR_COLUMN_PRIMARY_ID, &PostalFilter::nPrimaryId).WithHint(),
    CtSvcIntRule(CTSVC_FILTER_RULE_LOCAL_ONLY, CTSVC_DB_POSTALADDR_COLUMN_ACCOUNT_ID, &PostalFilter::bLocalPhoneDataOnly),
    CtSvcIntRule(CTSVC_FILTER_RULE_TYPE, CTSVC_DB_POSTALADDR_COLUMN_USE_TYPE, &PostalFilter::UseType),
    CtSvcTextRule<PostalFilter>(CTSVC_DB_POSTALADDR_COLUMN_PCODE, CTSVC_FILTER_TEXT(PostalFilter, szPCODE)),
    CtSvcTextRule<PostalFilter>(CTSVC_DB_POSTALADDR_COLUMN_PBOXNUM,
                                CTSVC_FILTER_TEXT(PostalFilter, szPostOfficeBoxNumber)),
    CtSvcTextRule<PostalFilter>(CTSVC_DB_POSTALADDR_COLUMN_DETAIL, CTSVC_FILTER_TEXT(PostalFilter, szDetail)),
    CtSvcTextRule<PostalFilter>(CTSVC_DB_POSTALADDR_COLUMN_STREET, CTSVC_FILTER_TEXT(PostalFilter, szStreet)),
    CtSvcTextRule<PostalFilter>(CTSVC_DB_POSTALADDR_COLUMN_CITY, CTSVC_FILTER_TEXT(PostalFilter, szCity)),
    CtSvcTextRule<PostalFilter>(CTSVC_DB_POSTALADDR_COLUMN_STATE, CTSVC_FILTER_TEXT(PostalFilter, szState)),
    CtSvcTextRule<PostalFilter>(CTSVC_DB_POSTALADDR_COLUMN_COUNTRY, CTSVC_FILTER_TEXT(PostalFilter, szCountry)),
};

using EtcFilter = CtSvcEtcDataFilter;
const CtSvcFilterRule<EtcFilter> kEtcDataRules[] = {
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_ETCDATA_COLUMN_PERSON_ID, &EtcFilter::nPersonId).WithHint(),
    CtSvcIntRule(CTSVC_FILTER_RULE_TYPE, CTSVC_DB_ETCDATA_COLUMN_DEVICE_TYPE, &EtcFilter::DevType),
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_ETCDATA_COLUMN_PRIMARY_ID, &EtcFilter::nPrimaryId),
    CtSvcIntRule(CTSVC_FILTER_RULE_LOCAL_ONLY, CTSVC_DB_ETCDATA_COLUMN_ACCOUNT_ID, &EtcFilter::bLocalPhoneDataOnly),
    CtSvcIntRule(CTSVC_FILTER_RULE_TYPE, CTSVC_DB_ETCDATA_COLUMN_ETC_TYPE, &EtcFilter::EtcDataType),
    CtSvcMatchRule<EtcFilter>(CTSVC_DB_ETCDATA_COLUMN_ETC_DATA, CTSVC_FILTER_TEXT(EtcFilter, szEtcData),
                              &EtcFilter::EtcDataTruncation, CTSVC_FILTER_ESCAPE_SIZE_ETCDATA),
};

const CtSvcFilterRule<CtSvcRcsFilter> kRcsRules[] = {
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_RCS_COLUMN_PERSON_ID, &CtSvcRcsFilter::nPersonId),
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_RCS_COLUMN_PRIMARY_ID, &CtSvcRcsFilter::nPrimaryId),
    CtSvcIntRule(CTSVC_FILTER_RULE_TYPE, CTSVC_DB_RCS_COLUMN_STATUS, &CtSvcRcsFilter::nStatus),
    CtSvcTextRule<CtSvcRcsFilter>(CTSVC_DB_RCS_COLUMN_SIP, CTSVC_FILTER_TEXT(CtSvcRcsFilter, szSip)),
};

const CtSvcFilterRule<CtSvcSpeedDialFilter> kSpeedDialRules[] = {
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_SPEEDDIAL_COLUMN_PERSON_ID, &CtSvcSpeedDialFilter::nPersonId),
    CtSvcIntRule(CTSVC_FILTER_RULE_SLOT, CTSVC_DB_SPEEDDIAL_COLUMN_SLOT_INDEX, &CtSvcSpeedDialFilter::nSlotIndex),
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_SPEEDDIAL_COLUMN_PHNUM_ID, &CtSvcSpeedDialFilter::nPhoneNumberId),
};

// A person's rows come in id order, a primary's grouped by person.
const CtSvcFilterRule<CtSvcIMFilter> kIMRules[] = {
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_IM_COLUMN_PERSON_ID, &CtSvcIMFilter::nPersonId)
        .OrderedBy(CTSVC_DB_IM_COLUMN_ID),
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_IM_COLUMN_PRIMARY_ID, &CtSvcIMFilter::nPrimaryId)
        .OrderedBy(CTSVC_DB_IM_COLUMN_PERSON_ID),
    CtSvcTextRule<CtSvcIMFilter>(CTSVC_DB_IM_COLUMN_USER_ID, CTSVC_FILTER_TEXT(CtSvcIMFilter, szUserId)),
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_IM_COLUMN_ISP_ID, &CtSvcIMFilter::nIspId),
    CtSvcIntRule(CTSVC_FILTER_RULE_LOCAL_ONLY, CTSVC_DB_IM_COLUMN_ACCOUNT_ID, &CtSvcIMFilter::bLocalPhoneDataOnly),
};

using SnsFilter = CtSvcSnsDataFilter;
const CtSvcFilterRule<SnsFilter> kSnsDataRules[] = {
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_SNSDATA_COLUMN_PERSON_ID, &SnsFilter::nPersonId)
        .OrderedBy(CTSVC_DB_SNSDATA_COLUMN_ID),
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_SNSDATA_COLUMN_PRIMARY_ID, &SnsFilter::nPrimaryId)
        .OrderedBy(CTSVC_DB_SNSDATA_COLUMN_PERSON_ID),
    CtSvcIntRule(CTSVC_FILTER_RULE_SLOT, CTSVC_DB_SNSDATA_COLUMN_SP, &SnsFilter::nSp),
    CtSvcTextRule<SnsFilter>(CTSVC_DB_SNSDATA_COLUMN_PEOPLE_ID, CTSVC_FILTER_TEXT(SnsFilter, szPeopleId)),
    CtSvcIntRule(CTSVC_FILTER_RULE_HAS_TEXT, CTSVC_DB_SNSDATA_COLUMN_PROFILE_PHOTO_URL, &SnsFilter::bHasProfilePhoto),
};

using MemberFilter = CtSvcGroupMemberFilter;
const CtSvcFilterRule<MemberFilter> kGroupMemberRules[] = {
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID, &MemberFilter::nPersonId),
    CtSvcIntRule(CTSVC_FILTER_RULE_TYPE, CTSVC_DB_GRPMEMBER_COLUMN_DEVICE_TYPE, &MemberFilter::DevType),
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_GRPMEMBER_COLUMN_PRIMARY_ID, &MemberFilter::nPrimaryId),
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID, &MemberFilter::nGroupId),
    CtSvcIntRule(CTSVC_FILTER_RULE_EXCEPT_NOT_ASSIGNED, CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID,
                 &MemberFilter::bExceptNotAssigned),
};

}  // namespace

void CCtSvcPostalAddressFilter::_AddConditions(CCtSvcFilterConditions& conditions) const {
  CtSvcApplyFilterRules(m_Filter, kPostalAddressRules, conditions);
}

void CCtSvcEtcDataFilter::_AddConditions(CCtSvcFilterConditions& conditions) const {
  CtSvcApplyFilterRules(m_Filter, kEtcDataRules, conditions);
}

void CCtSvcRcsFilter::_AddConditions(CCtSvcFilterConditions& conditions) const {
  CtSvcApplyFilterRules(m_Filter, kRcsRules, conditions);
}

void CCtSvcSpeedDialFilter::_AddConditions(CCtSvcFilterConditions& conditions) const {
  CtSvcApplyFilterRules(m_Filter, kSpeedDialRules, conditions);
}

void CCtSvcIMFilter::_AddConditions(CCtSvcFilterConditions& conditions) const {
  CtSvcApplyFilterRules(m_Filter, kIMRules, conditions);
}

void CCtSvcSnsDataFilter::_AddConditions(CCtSvcFilterConditions& conditions) const {
  CtSvcApplyFilterRules(m_Filter, kSnsDataRules, conditions);
}

// Memberships come in the order of their persons.
void CCtSvcGroupMemberFilter::_AddConditions(CCtSvcFilterConditions& conditions) const {
  CtSvcApplyFilterRules(m_Filter, kGroupMemberRules, conditions);
  conditions.SetOrderByColumn(CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID);
}
