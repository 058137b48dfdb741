// Inserting a whole contact: the person linked into a found or new primary, then every detail,
// all under one paused commit.
#include <cstdio>

#include "ContentFramework.h"
#include "CtSvcContact.h"
#include "CtSvcDB/Records/CtSvcBulkCounter.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/DbMgr/CtSvcDbWriteUnit.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

// A primary joins at most this many persons.
constexpr int kMaxPersonsPerPrimary = 5;

// Keeps commits paused while it lives (or until Resume).
class CCommitPause {
 public:
  CCommitPause() { Pause(); }
  ~CCommitPause() { Resume(); }
  CCommitPause(const CCommitPause&) = delete;
  CCommitPause& operator=(const CCommitPause&) = delete;
  void Pause() {
    if (!m_bPaused) {
      Db2CommitPause();
      m_bPaused = true;
    }
  }
  void Resume() {
    if (m_bPaused) {
      Db2CommitResume();
      m_bPaused = false;
    }
  }

 private:
  bool m_bPaused = false;
};

int CountPersonsOfPrimary(int nPrimaryId) {
  CCtSvcDbTable* pTable = CCtSvcDbMgr::Instance()->GetDBTable(CTSVC_DB_TABLE_PERSON);
  if (pTable == nullptr) {
    return -1;
  }
  char szWhere[160];
  std::snprintf(szWhere, sizeof(szWhere), "%s.%s = %d", pTable->GetTableName(),
                pTable->GetColumnName(CTSVC_DB_PERSON_COLUMN_PRIMARY_ID), nPrimaryId);
  CContentFilter filter;
  filter.SetWhere(szWhere);
  return CContentMgr::Instance()->GetCount("CtSvc/Person", &filter);
}

// False at the first detail that could not be stored.
template <class T>
bool InsertDetails(std::vector<T>& list, const CCtSvcPerson& person) {
  for (T& detail : list) {
    detail.SetPerson(person);
    if (detail.Insert(0) < 0) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcContact::Insert - %s insert failed\n", detail._GetURI());
      return false;
    }
  }
  return true;
}

}  // namespace

void CCtSvcContact::_SetPresenceFlags() {
  m_Person.SetHasPhoneNumber(GetPhoneNumberCount() > 0 ? 1 : 0);
  m_Person.SetHasEmail(GetEmailAddressCount() > 0 ? 1 : 0);
  m_Person.SetHasAddr(GetPostalAddressCount() > 0 ? 1 : 0);
  m_Person.SetHasIM(GetIMCount() > 0 ? 1 : 0);
  m_Person.SetHasEtcData(GetEtcDataCount() > 0 ? 1 : 0);
  m_Person.SetHasRcs(GetRcsCount() > 0 ? 1 : 0);
  m_Person.SetHasSnsData(GetSnsDataCount() > 0 ? 1 : 0);
}

// A SIM person always gets a primary of its own; any other joins the primary that shares an
// e-mail address or number with it, unless that primary is gone or already full.
int CCtSvcContact::_ChoosePrimary(int bCommit, bool& bJoined) {
  CCtSvcDbMgr* pMgr = CCtSvcDbMgr::Instance();
  bJoined = false;
  if (m_Person.GetDeviceType() == CTSVC_USE_TYPE_SIM) {
    return pMgr->CreatePrimary(m_Person, bCommit);
  }
  const int nFoundId = pMgr->FindPrimary(*this, -1);
  if (nFoundId == -1) {
    return pMgr->CreatePrimary(m_Person, bCommit);
  }
  CCtSvcPrimary primary;
  if (!pMgr->GetPrimary(nFoundId, primary)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcContact::Insert GetPrimary(%d) return FALSE \n", nFoundId);
    pMgr->DeletePrimary(nFoundId);
    return pMgr->CreatePrimary(m_Person, bCommit);
  }
  if (CountPersonsOfPrimary(nFoundId) >= kMaxPersonsPerPrimary) {
    return pMgr->CreatePrimary(m_Person, bCommit);
  }
  bJoined = true;
  return nFoundId;
}

// A local phone person without any group is a member of the not-assigned group.
bool CCtSvcContact::_InsertGroupMembers() {
  if (GetGroupMemberCount() == 0 && m_Person.GetDeviceType() == CTSVC_USE_TYPE_PHONE && m_Person.GetAccountId() < 1) {
    std::vector<CCtSvcGroupMember> vcDefault(1);
    vcDefault.front().SetGroupId(CTSVC_NOT_ASSIGNED_GROUP_ID);
    return InsertDetails(vcDefault, m_Person);
  }
  return InsertDetails(GetGroupMemberList(), m_Person);
}

// Every detail after the numbers and e-mails, in their order.
bool CCtSvcContact::_InsertOtherDetails() {
  return InsertDetails(GetPostalAddressList(), m_Person) && _InsertGroupMembers() &&
         InsertDetails(GetEtcDataList(), m_Person) && InsertDetails(GetRcsList(), m_Person) &&
         InsertDetails(GetIMList(), m_Person) && InsertDetails(GetSnsDataList(), m_Person);
}

// The whole contact is one write unit: the write lock is taken first, so the ids predicted and
// taken below are not handed out by another process, and a detail that cannot be stored takes
// the person, its primary and every detail before it back with it.
int CCtSvcContact::Insert(int bCommit) {
  CCtSvcDbWriteUnit unit;
  if (!unit.IsOpen()) {
    return -1;
  }
  if (GetPhoneNumberCount() > 0) {
    m_Person.SetDefaultPhoneNumberId(GetPhoneNumberList().front().PredictNextRecordId());
  }
  CCommitPause pause;
  _SetPresenceFlags();
  bool bJoined = false;
  const int nPrimaryId = _ChoosePrimary(bCommit, bJoined);
  if (!ZEL_REQUIRE_TEXT(nPrimaryId != -1, "nPrimaryId!= -1")) {
    return -1;
  }
  m_Person.SetPrimaryId(nPrimaryId);
  if (m_Person.Insert(0) < 0 || !InsertDetails(GetPhoneNumberList(), m_Person) ||
      !InsertDetails(GetEmailAddressList(), m_Person)) {
    return -1;
  }
  if (bCommit && GetPhoneNumberCount() + GetEmailAddressCount() > 3) {
    pause.Resume();
    Db2CommitLite();  // within the unit this commit waits for the unit's end
    pause.Pause();
  }
  if (!_InsertOtherDetails() || (bJoined && !CCtSvcDbMgr::Instance()->RearrangePrimary(nPrimaryId, bCommit))) {
    return -1;
  }
  pause.Resume();
  if (!unit.Keep()) {
    return -1;
  }
  if (bCommit) {
    return DbCommit() ? GetRecordId() : -1;
  }
  // The writes of a bulk insert count toward the commit every 50 uncommitted writes; they were
  // made while commits were paused, so the commit they are due happens now.
  if (CtSvcGetBulkCounter() >= CTSVC_BULK_COMMIT_INTERVAL && !DbCommit()) {
    return -1;
  }
  return GetRecordId();
}
