#include "CtSvcDB/CfPlugin/CtSvcPersonFilter.h"

#include "CtSvcDB/CfPlugin/CtSvcDateRange.h"
#include "CtSvcDB/CfPlugin/CtSvcNameFilterParts.h"

namespace {

// Other-data types a person can be searched by.
constexpr int kMinEtcDataType = 1;
constexpr int kMaxEtcDataType = 31;

const CtSvcNameColumns kPersonNameColumns = {CTSVC_DB_PERSON_COLUMN_FL_FULLNAME, CTSVC_DB_PERSON_COLUMN_LF_FULLNAME,
                                             CTSVC_DB_PERSON_COLUMN_FL_LETTER, CTSVC_DB_PERSON_COLUMN_LF_LETTER};
const CtSvcDetailColumns kPersonDetailColumns = {CTSVC_DB_PERSON_COLUMN_HAS_PH, CTSVC_DB_PERSON_COLUMN_HAS_EMAIL,
                                                 CTSVC_DB_PERSON_COLUMN_HAS_ADDR, CTSVC_DB_PERSON_COLUMN_HAS_SNSDATA};

struct DateRange {
  int nColumn;
  TmDateTime CtSvcPersonFilter::*pFrom;
  TmDateTime CtSvcPersonFilter::*pTo;
  CtSvcDateRangeKind eKind;
};

const DateRange kDateRanges[] = {
    {CTSVC_DB_PERSON_COLUMN_BIRTHDAY, &CtSvcPersonFilter::BirthDayFrom, &CtSvcPersonFilter::BirthDayTo,
     CTSVC_DATE_RANGE_YEARLY},
    {CTSVC_DB_PERSON_COLUMN_BIRTHDAY_RESERVED, &CtSvcPersonFilter::BirthDayReserveFrom,
     &CtSvcPersonFilter::BirthDayReserveTo, CTSVC_DATE_RANGE_YEARLY_RESERVE},
    {CTSVC_DB_PERSON_COLUMN_ANNIVERSARY, &CtSvcPersonFilter::AnniversaryFrom, &CtSvcPersonFilter::AnniversaryTo,
     CTSVC_DATE_RANGE_FULL_DATES},
    {CTSVC_DB_PERSON_COLUMN_ANNIVERSARY_RESERVED, &CtSvcPersonFilter::AnniversaryReserveFrom,
     &CtSvcPersonFilter::AnniversaryReserveTo, CTSVC_DATE_RANGE_FULL_DATES},
};

}  // namespace

BOOL CCtSvcPersonFilter::BuildContentFilter() {
  CCtSvcFilterConditions conditions(CTSVC_DB_TABLE_PERSON);
  if (m_Filter.DevType != CTSVC_USE_TYPE_NONE) {
    conditions.AddIntEqual(CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE, m_Filter.DevType);
    if (m_Filter.DevType == CTSVC_USE_TYPE_SIM && m_Filter.nSlotIndex != -1) {
      conditions.AddIntEqual(CTSVC_DB_PERSON_COLUMN_SLOT_INDEX, m_Filter.nSlotIndex);
    }
  }
  if (m_Filter.nAccountId > 0) {
    conditions.AddIntEqual(CTSVC_DB_PERSON_COLUMN_ACCOUNT_ID, m_Filter.nAccountId);
  }
  CtSvcAddDisplayNameCondition(conditions, m_Filter.NameFilter, kPersonNameColumns);
  _AddDateConditions(conditions);
  if (m_Filter.nGroupId > 0) {
    conditions.AddSubSelect(CTSVC_DB_PERSON_COLUMN_ID, CTSVC_DB_TABLE_GROUPMEMBER, CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID,
                            CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID, m_Filter.nGroupId);
  }
  if (m_Filter.nPrimaryId > 0) {
    conditions.AddIntEqual(CTSVC_DB_PERSON_COLUMN_PRIMARY_ID, m_Filter.nPrimaryId);
  }
  if (m_Filter.bLocalPhoneDataOnly == 1) {
    conditions.AddColumnForm("%s.%s < 1", CTSVC_DB_PERSON_COLUMN_ACCOUNT_ID);
  }
  if (m_Filter.bExceptLocalPhoneData == 1) {
    conditions.AddColumnForm("%s.%s > 0", CTSVC_DB_PERSON_COLUMN_ACCOUNT_ID);
  }
  if (m_Filter.EtcDataType >= kMinEtcDataType && m_Filter.EtcDataType <= kMaxEtcDataType) {
    conditions.AddSubSelect(CTSVC_DB_PERSON_COLUMN_ID, CTSVC_DB_TABLE_ETCDATA, CTSVC_DB_ETCDATA_COLUMN_PERSON_ID,
                            CTSVC_DB_ETCDATA_COLUMN_ETC_TYPE, m_Filter.EtcDataType);
  }
  if ((m_Filter.FilterDetail & CTSVC_PRIMARY_FILTER_DETAIL_HAS_NAME) != 0) {
    conditions.AddColumnForm("(%s.%s > n'')", CTSVC_DB_PERSON_COLUMN_FL_FULLNAME);
  }
  CtSvcAddDetailConditions(conditions, m_Filter.FilterDetail, kPersonDetailColumns);
  _SetOrder(conditions);
  return _Finish(conditions);
}

void CCtSvcPersonFilter::_AddDateConditions(CCtSvcFilterConditions& conditions) const {
  for (const DateRange& range : kDateRanges) {
    CtSvcAddDateRange(conditions, range.nColumn, m_Filter.*range.pFrom, m_Filter.*range.pTo, range.eKind);
  }
}

// Last-first person lists come in id order; first-last ones follow the first-last name index.
void CCtSvcPersonFilter::_SetOrder(CCtSvcFilterConditions& conditions) const {
  if (m_Filter.FilterIndexType < 0) {
    return;
  }
  if (m_Filter.FilterIndexType == CTSVC_FILTER_INDEX_LAST_FIRST) {
    conditions.SetOrderByColumn(CTSVC_DB_PERSON_COLUMN_ID);
    return;
  }
  CtSvcSetNameIndexOrder(conditions, m_Filter.FilterIndexType, kPersonNameColumns);
}
