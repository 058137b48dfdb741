// A stored person as the contact info of an update that keeps its lists.
#include "CtSvcPhonebookMgr/CtSvcPhonebookStoredContact.h"

#include "CtSvcDbPerson.h"

bool CCtSvcStoredContactInfo::Load(int nPersonId) {
  m_Info = CtSvcContactInfo{};
  if (nPersonId <= 0 || !CtSvcDbPersonGetRecordById(nPersonId, &m_Stored)) {
    return false;
  }
  m_Info.pPersonInfo = &m_Stored.Info;
  m_Info.nPhoneNumberCount = m_Info.nEmailAddressCount = m_Info.nPostalAddressCount = -1;
  m_Info.nGroupMemberCount = m_Info.nEtcDataCount = m_Info.nIMCount = -1;
  const HOBJ hPerson = Handle();
  m_Info.pRcsInfo = CtSvcDbPersonGetRcsInformation(hPerson, &m_Rcs, 1) == 1 ? &m_Rcs.Info : nullptr;
  m_Info.pSnsDataInfo = CtSvcDbPersonGetSnsData(hPerson, &m_Sns, 1) == 1 ? &m_Sns.Info : nullptr;
  return true;
}

HOBJ CCtSvcStoredContactInfo::Handle() const { return CTSVC_MAKE_HANDLE(m_Stored.DevType, m_Stored.nId); }
