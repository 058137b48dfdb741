#include <algorithm>

#include "CtSvcBulkOperation/CtSvcBulkOpMember.h"
#include "CtSvcDB/DbMgr/CtSvcDbWriteUnit.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbDetail.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcSim/SimRecord/CtSvcSimRecord.h"

BOOL CCtSvcBulkOpMemberAdn::AddPersonId(int nPersonId) {
  const int nId = CtSvcBulkPersonIdOf(_Who(), nPersonId);
  if (nId < 0) {
    return FALSE;
  }
  _AddItem(nId);
  return TRUE;
}

// The person's card record with the group list it will have.
BOOL CCtSvcBulkOpMemberAdn::_SendItem(int& nPersonId, ICtSvcSimUpdater* pUpdater) {
  CtSvcGroupRecord group{};
  if (!CtSvcDbGroupGetRecord(GetGroupId(), &group) || group.Info.DevType != CTSVC_USE_TYPE_SIM) {
    DbgPrint(DBG_CLASS_FAIL, "%s::OnBulkOperation - group %d is no SIM group\n", _Who(), GetGroupId());
    return FALSE;
  }
  CtSvcPersonRecord stored{};
  if (!CtSvcBulkReadPerson(_Who(), nPersonId, CTSVC_USE_TYPE_SIM, &stored)) {
    ZEL_REQUIRE_TEXT(false, "pPersonRecord->DevType == CTSVC_USE_TYPE_SIM");
    return FALSE;
  }
  std::unique_ptr<CCtSvcContactInfoBuilder> pInfo = CtSvcBulkLoadContact(stored, CTSVC_USE_TYPE_SIM);
  if (pInfo == nullptr) {
    return FALSE;
  }
  auto& vcMembers = pInfo->vcMembers;
  const int nGroupId = GetGroupId();
  vcMembers.erase(std::remove_if(vcMembers.begin(), vcMembers.end(),
                                 [nGroupId](const CtSvcGroupMemberInfo& m) { return m.nGroupId == nGroupId; }),
                  vcMembers.end());
  if (m_kind.bAdd) {
    pInfo->Group(nGroupId);
  }
  CCtSvcContact contact(pInfo->Info(), CTSVC_USE_TYPE_SIM);
  contact.GetPerson().SetSlotIndex(stored.Info.nSlotIndex);
  contact.RemoveFieldForSim(TRUE);
  CCtSvcSimAdnRecord adn;
  return CCtSvcPhonebookMgr::Instance()->__ConvToSimAdnRecord(contact, &adn) &&
                 pUpdater->UpdateRecord(stored.Info.nSlotIndex, &adn, _Listener())
             ? TRUE
             : FALSE;
}

BOOL CCtSvcBulkOpMemberAdn::_OnWritten(int& nPersonId, int /*nRecordIndex*/) {
  CtSvcPersonRecord stored{};
  CCtSvcDbWriteUnit unit;
  if (!unit.IsOpen() || !CtSvcBulkReadPerson(_Who(), nPersonId, CTSVC_USE_TYPE_SIM, &stored) ||
      !CtSvcBulkChangeMembership(stored, GetGroupId(), m_kind.bAdd) || !unit.KeepAndCommit()) {
    DbgPrint(DBG_CLASS_FAIL, "%s::OnUpdateRecord - membership of person %d not changed\n", _Who(), nPersonId);
    return FALSE;
  }
  return TRUE;
}
