#include "CtSvcDB/CfPlugin/CtSvcGroupFilter.h"

BOOL CCtSvcGroupFilter::BuildContentFilter() {
  CCtSvcFilterConditions conditions(CTSVC_DB_TABLE_GROUP);
  if (m_Filter.DevType != CTSVC_USE_TYPE_NONE) {
    conditions.AddIntEqual(CTSVC_DB_GROUP_COLUMN_DEVICE_TYPE, m_Filter.DevType);
  }
  // Slot indexes number the groups of the SIM only.
  if (m_Filter.DevType == CTSVC_USE_TYPE_SIM && m_Filter.nSlotIndex != -1) {
    conditions.AddIntEqual(CTSVC_DB_GROUP_COLUMN_SLOT_INDEX, m_Filter.nSlotIndex);
  }
  if (m_Filter.nType != 0) {
    conditions.AddIntEqual(CTSVC_DB_GROUP_COLUMN_TYPE, m_Filter.nType);
  }
  if (m_Filter.szName[0] != '\0') {
    conditions.AddTextEqual(CTSVC_DB_GROUP_COLUMN_SNAME, m_Filter.szName);
  }
  if (m_Filter.szRingtone[0] != '\0') {
    conditions.AddTextEqual(CTSVC_DB_GROUP_COLUMN_RINGTONE, m_Filter.szRingtone);
  }
  if (m_Filter.bHasMember != 0) {
    conditions.AddSubSelect(CTSVC_DB_GROUP_COLUMN_ID, CTSVC_DB_TABLE_GROUPMEMBER, CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID,
                            -1, 0);
  }
  if (m_Filter.bExceptNotAssigned != 0) {
    conditions.AddIntForm("%s.%s > %d", CTSVC_DB_GROUP_COLUMN_ID, CTSVC_NOT_ASSIGNED_GROUP_ID);
  }
  conditions.SetIndexOrderForColumn(CTSVC_DB_GROUP_COLUMN_SNAME);
  return _Finish(conditions);
}
