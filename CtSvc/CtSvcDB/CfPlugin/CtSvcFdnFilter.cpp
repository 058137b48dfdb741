#include "CtSvcDB/CfPlugin/CtSvcFdnFilter.h"

BOOL CCtSvcFdnFilter::BuildContentFilter() {
  CCtSvcFilterConditions conditions(CTSVC_DB_TABLE_FDN);
  if (m_Filter.nSlotIndex != -1) {
    conditions.AddIntEqual(CTSVC_DB_FDN_COLUMN_SLOT_INDEX, m_Filter.nSlotIndex);
  }
  // A name is found anywhere in the stored name.
  if (m_Filter.szName[0] != '\0') {
    conditions.AddLike(CTSVC_DB_FDN_COLUMN_NAME, m_Filter.szName, CTSVC_FILTER_TRUNCATION_CONTAINS,
                       CTSVC_FILTER_ESCAPE_SIZE_FDN_NAME);
  }
  if (m_Filter.szPhoneNumber[0] != '\0') {
    conditions.AddTextEqual(CTSVC_DB_FDN_COLUMN_SPHONENUMBER, m_Filter.szPhoneNumber);
  }
  conditions.SetOrderByColumn(CTSVC_DB_FDN_COLUMN_NAME);
  return _Finish(conditions);
}
