#include "CtSvcBulkOperation/CtSvcBulkOpDeleteDb.h"

#include <algorithm>
#include <vector>

#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "ZelDb2.h"

namespace {

HOBJ PhoneHandle(int nPersonId) { return CTSVC_MAKE_HANDLE(CTSVC_USE_TYPE_PHONE, nPersonId); }

}  // namespace

BOOL CCtSvcBulkOpDeleteDb::AddPersonId(int nPersonId) {
  const int nId = CtSvcBulkPersonIdOf("CCtSvcBulkOpDeleteDb::AddPersonId", nPersonId);
  if (nId < 0) {
    return FALSE;
  }
  _AddItem(nId);
  ++m_nAdded;
  return TRUE;
}

// In mass-delete mode the unit's persons are deleted in one pass before the loop takes them.
void CCtSvcBulkOpDeleteDb::_BeginUnit() {
  m_bUnitDone = false;
  if (!IsMassDeleteMode()) {
    return;
  }
  std::vector<HOBJ> vcHandles;
  const size_t nUnit = std::min(_Items().size(), static_cast<size_t>(GetOperationUnitCountAtOnce()));
  for (size_t i = 0; i < nUnit; ++i) {
    vcHandles.push_back(PhoneHandle(_Items()[i]));
  }
  m_bUnitDone = CCtSvcPhonebookMgr::Instance()->DeleteContactsFromPhoneForVamo(
                    vcHandles.data(), static_cast<int>(vcHandles.size())) != FALSE;
}

BOOL CCtSvcBulkOpDeleteDb::_ProcessItem(int& nPersonId) {
  CCtSvcPhonebookMgr* pMgr = CCtSvcPhonebookMgr::Instance();
  if (IsMassDeleteMode()) {
    if (!m_bUnitDone) {
      return FALSE;
    }
  } else if (!pMgr->DeleteContactFromPhone(PhoneHandle(nPersonId), FALSE)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcBulkOpDeleteDb::OnBulkOperation - delete failed(nID = %d)\n", nPersonId);
    return FALSE;
  }
  pMgr->__NotifyContactBulkChanged(CTSVC_CHANGE_TYPE_DELETE, nPersonId, nullptr);
  return TRUE;
}

BOOL CCtSvcBulkOpDeleteDb::_EndUnit(BOOL bResult) {
  Db2Commit();
  return bResult;
}
