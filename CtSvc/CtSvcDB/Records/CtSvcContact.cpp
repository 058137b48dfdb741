// Building a contact from a contact info, id reservation, and the operations a contact refuses.
#include "CtSvcContact.h"

#include "ZelDebug.h"

namespace {

// Replaces a list with records built from an array of infos (none for a null array or a count
// of 0 or less); false when an info held a bad text.
template <class T, class Info>
bool BuildList(std::vector<T>& list, const Info* pInfos, INT32 nCount) {
  list.clear();
  bool bResult = true;
  for (INT32 i = 0; pInfos != nullptr && i < nCount; ++i) {
    list.emplace_back();
    bResult = list.back().SetData(pInfos[i]) != 0 && bResult;
  }
  return bResult;
}

int NotSupported(const char* szLog) {
  DbgPrint(DBG_CLASS_FAIL, "%s", szLog);
  ZEL_NEVER_GET_HERE("NEVER_GET_HERE");
  return 0;
}

}  // namespace

CCtSvcContact::CCtSvcContact(const CtSvcContactInfo& contactInfo, CtSvcDeviceType nDeviceType) : CCtSvcContact() {
  SetContactInfo(contactInfo, nDeviceType);
}

int CCtSvcContact::SetContactInfo(const CtSvcContactInfo& contactInfo, CtSvcDeviceType nDeviceType) {
  m_Person = CCtSvcPerson();
  bool bResult = true;
  if (contactInfo.pPersonInfo != nullptr) {
    bResult = m_Person.SetData(*contactInfo.pPersonInfo) != 0;
  } else {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcContact::SetContactInfo - pPersonInfo is NULL\n");
    bResult = false;
  }
  m_Person.SetDeviceType(nDeviceType);
  bResult = BuildList(GetPhoneNumberList(), contactInfo.pPhoneNumberInfo, contactInfo.nPhoneNumberCount) && bResult;
  bResult = BuildList(GetEmailAddressList(), contactInfo.pEmailAddressInfo, contactInfo.nEmailAddressCount) && bResult;
  bResult = BuildList(GetPostalAddressList(), contactInfo.pPostalAddressInfo, contactInfo.nPostalAddressCount) && bResult;
  bResult = BuildList(GetEtcDataList(), contactInfo.pEtcDataInfo, contactInfo.nEtcDataCount) && bResult;
  bResult = BuildList(GetGroupMemberList(), contactInfo.pGroupMemberInfo, contactInfo.nGroupMemberCount) && bResult;
  bResult = BuildList(GetRcsList(), contactInfo.pRcsInfo, 1) && bResult;
  bResult = BuildList(GetIMList(), contactInfo.pIMInfo, contactInfo.nIMCount) && bResult;
  bResult = BuildList(GetSnsDataList(), contactInfo.pSnsDataInfo, 1) && bResult;
  return bResult ? 1 : 0;
}

int CCtSvcContact::ReserveRecordId() {
  if (m_Person.ReserveRecordId() < 0) {
    return -1;
  }
  ForEachList([this](auto& list) {
    for (auto& detail : list) {
      detail.SetPerson(m_Person);
      detail.ReserveRecordId();
    }
  });
  return GetRecordId();
}

int CCtSvcContact::SetData(const CContent& /*content*/) { return NotSupported("CCtSvcContact::SetData - Not support\n"); }

int CCtSvcContact::GetData(CContentInput& /*input*/) const {
  return NotSupported("CCtSvcContact::GetData - Not support\n");
}

int CCtSvcContact::Update(int /*nId*/, int /*bCommit*/) { return NotSupported("CCtSvcContact::Update - NOT SUPPORT\n"); }

int CCtSvcContact::Delete() { return NotSupported("CCtSvcContact::Delete - NOT SUPPORT\n"); }

const char* CCtSvcContact::_GetURI() const {
  NotSupported("CCtSvcContact::_GetURI - Not support\n");
  return "";
}
