// The person's handle, identity, derived name columns and write preparation.
#include "CtSvcDB/Records/CtSvcPersonRecord.h"

#include "ZelTm.h"

namespace {

constexpr CtSvcNameColumns kPersonNameColumns = {
    CTSVC_DB_PERSON_COLUMN_FL_FULLNAME, CTSVC_DB_PERSON_COLUMN_FL_GROUP_LETTER, CTSVC_DB_PERSON_COLUMN_FL_LETTER,
    CTSVC_DB_PERSON_COLUMN_LF_FULLNAME, CTSVC_DB_PERSON_COLUMN_LF_GROUP_LETTER, CTSVC_DB_PERSON_COLUMN_LF_LETTER,
};

bool IsAllZero(const TmDateTime& date) {
  return date.year == 0 && date.month == 0 && date.day == 0 && date.hour == 0 && date.minute == 0 && date.second == 0;
}

}  // namespace

HOBJ CCtSvcPerson::GetHandle() const {
  return GetRecordId() >= 0 ? CTSVC_MAKE_HANDLE(m_Fields.nDeviceType, GetRecordId()) : INVALID_HOBJ;
}

CtSvcPersonIdentity CCtSvcPerson::GetIdentity() const {
  return CtSvcPersonIdentity{GetRecordId(),         m_Fields.nPrimaryId,   m_Fields.nDeviceType,
                             m_Fields.nAccountId,   m_Fields.strFirstName, m_Fields.strLastName};
}

void CCtSvcPerson::_SetDerivedColumns(CContentInput& input, CCtSvcDbTable& table) const {
  _SetNameColumns(input, table, m_Fields.strFirstName, m_Fields.strLastName, kPersonNameColumns);
}

void CCtSvcPerson::_FinishInfo(CtSvcPersonInfo& info) const { info.hPerson = static_cast<UINT32>(GetHandle()); }

// A person written without a save time (all zero, as a zero-filled info gives, or unset) is
// stamped with the current local time.
void CCtSvcPerson::__SetSaveTimeIfUnset() {
  if (IsAllZero(m_Fields.SaveTime) || CtSvcIsSameDate(m_Fields.SaveTime, kCtSvcUnsetDate)) {
    TmSecondsToDateTime(TmGetLocalTime(), &m_Fields.SaveTime);
  }
}

void CCtSvcPerson::_PrepareInsertRecord() {
  CCtSvcStructRecord<CtSvcPersonTraits>::_PrepareInsertRecord();
  __SetSaveTimeIfUnset();
  if (m_Fields.strUuid.empty()) {
    __GenerateUuid();
  }
}

void CCtSvcPerson::_PrepareUpdateRecord() { __SetSaveTimeIfUnset(); }
