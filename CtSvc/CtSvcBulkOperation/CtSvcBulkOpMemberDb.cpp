#include <vector>

#include "CtSvcBulkOperation/CtSvcBulkOpMember.h"
#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "ZelDb2.h"

namespace {

constexpr int kMaxLinked = 64;

int MembershipCount(int nPersonId, int nGroupId) {
  CtSvcGroupMemberFilter filter;
  CtSvcGroupMemberFilterInit(&filter);
  filter.nPersonId = nPersonId;
  filter.nGroupId = nGroupId;
  return CtSvcDbGroupMemberGetCount(&filter);
}

bool Join(const CtSvcPersonRecord& person, int nGroupId) {
  if (MembershipCount(person.nId, nGroupId) > 0) {
    return true;
  }
  const CtSvcGroupMemberInfo info{person.nId, person.Info.nPrimaryId, -1, nGroupId};
  return CtSvcDbGroupMemberInsertRecord(CTSVC_MAKE_HANDLE(person.DevType, person.nId), person.Info.nPrimaryId, &info) >
         0;
}

bool Leave(int nPersonId, int nGroupId) {
  CtSvcGroupMemberFilter filter;
  CtSvcGroupMemberFilterInit(&filter);
  filter.nPersonId = nPersonId;
  filter.nGroupId = nGroupId;
  return MembershipCount(nPersonId, nGroupId) == 0 || CtSvcDbGroupMemberDeleteRecordsWithFilter(&filter);
}

}  // namespace

bool CtSvcBulkChangeMembership(const CtSvcPersonRecord& person, int nGroupId, bool bAdd) {
  if (bAdd) {
    return Join(person, nGroupId) && Leave(person.nId, CTSVC_NOT_ASSIGNED_GROUP_ID);
  }
  return Leave(person.nId, nGroupId) &&
         (MembershipCount(person.nId, -1) > 0 || Join(person, CTSVC_NOT_ASSIGNED_GROUP_ID));
}

BOOL CCtSvcBulkOpMemberDb::AddPersonId(int nPersonId) {
  const int nId = CtSvcBulkPersonIdOf(m_kind.pszWho, nPersonId);
  if (nId < 0) {
    return FALSE;
  }
  _AddItem(nId);
  return TRUE;
}

void CCtSvcBulkOpMemberDb::_BeginUnit() { Db2CommitPause(); }

// Every phone person linked with the person (through its primary) joins or leaves the group.
BOOL CCtSvcBulkOpMemberDb::_ProcessItem(int& nPersonId) {
  if (GetGroupId() <= 0) {
    DbgPrint(DBG_CLASS_FAIL, "%s::OnBulkOperation - no group set\n", m_kind.pszWho);
    return FALSE;
  }
  CtSvcPersonRecord person{};
  if (!CtSvcDbPersonGetRecordById(nPersonId, &person)) {
    DbgPrint(DBG_CLASS_FAIL, "%s::OnBulkOperation - CContentMgr::Instance()->GetContent failed(nID = %d)\n",
             m_kind.pszWho, nPersonId);
    return FALSE;
  }
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.nPrimaryId = person.Info.nPrimaryId;
  filter.DevType = CTSVC_USE_TYPE_PHONE;
  std::vector<CtSvcPersonRecord> vcLinked(kMaxLinked);
  const int nCount = CtSvcDbPersonGetRecords(&filter, vcLinked.data(), kMaxLinked);
  if (nCount <= 0) {
    DbgPrint(DBG_CLASS_FAIL, "%s::OnBulkOperation - No local contact", m_kind.pszWho);
    return nCount == 0 ? TRUE : FALSE;
  }
  for (int i = 0; i < nCount; ++i) {
    if (!CtSvcBulkChangeMembership(vcLinked[static_cast<size_t>(i)], GetGroupId(), m_kind.bAdd)) {
      DbgPrint(DBG_CLASS_FAIL, "%s::OnBulkOperation - membership of person %d not changed\n", m_kind.pszWho,
               vcLinked[static_cast<size_t>(i)].nId);
      return FALSE;
    }
  }
  return TRUE;
}

BOOL CCtSvcBulkOpMemberDb::_EndUnit(BOOL bResult) {
  Db2CommitResume();
  Db2Commit();
  return bResult;
}
