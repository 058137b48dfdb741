#include "CtSvcBulkOperation/CtSvcBulkContact.h"

#include <cstring>
#include <vector>

#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "ZelDebug.h"

namespace {

constexpr int kMaxGroups = 256;
constexpr int kMaxRows = 64;

template <class Record, class Info>
bool ReadRows(HOBJ hPerson, int (*pfnList)(HOBJ, Record*, int), std::vector<Info>& vcOut) {
  std::vector<Record> vcRows(kMaxRows);
  const int nCount = pfnList(hPerson, vcRows.data(), kMaxRows);
  if (nCount < 0) {
    return false;
  }
  for (int i = 0; i < nCount; ++i) {
    vcOut.push_back(vcRows[static_cast<size_t>(i)].Info);
  }
  return true;
}

// The group of the store with the name; on the phone made when missing. -1 when there is none.
int GroupOfName(const char* pszName, CtSvcDeviceType nDevType) {
  CtSvcGroupFilter filter;
  CtSvcGroupFilterInit(&filter);
  filter.DevType = nDevType;
  std::vector<CtSvcGroupRecord> vcGroups(kMaxGroups);
  const int nCount = CtSvcDbGroupGetRecords(&filter, vcGroups.data(), kMaxGroups);
  for (int i = 0; i < nCount; ++i) {
    if (std::strcmp(vcGroups[static_cast<size_t>(i)].Info.szName, pszName) == 0) {
      return vcGroups[static_cast<size_t>(i)].nId;
    }
  }
  if (nDevType != CTSVC_USE_TYPE_PHONE) {
    return -1;
  }
  CtSvcGroupInfo info{};
  info.nAccountId = -1;
  info.nSlotIndex = -1;
  info.DevType = CTSVC_USE_TYPE_PHONE;
  std::strncpy(info.szName, pszName, sizeof(info.szName) - 1);
  return CCtSvcPhonebookMgr::Instance()->InsertGroupToPhone(&info);
}

bool AddGroups(const CtSvcPersonRecord& stored, CtSvcDeviceType nTarget, CCtSvcContactInfoBuilder& builder) {
  std::vector<CtSvcGroupRecord> vcGroups(kMaxGroups);
  const int nCount = CtSvcDbPersonGetJoinedGroupList(CTSVC_MAKE_HANDLE(stored.DevType, stored.nId), vcGroups.data(),
                                                     kMaxGroups);
  if (nCount < 0) {
    return false;
  }
  for (int i = 0; i < nCount; ++i) {
    const CtSvcGroupRecord& group = vcGroups[static_cast<size_t>(i)];
    if (group.nId == CTSVC_NOT_ASSIGNED_GROUP_ID) {
      continue;
    }
    const int nGroupId = group.Info.DevType == nTarget ? group.nId : GroupOfName(group.Info.szName, nTarget);
    if (nGroupId > 0) {
      builder.Group(nGroupId);
    } else {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcBulkLoadContact - no group \"%s\" to join (nPersonId = %d)\n",
               group.Info.szName, stored.nId);
    }
  }
  return true;
}

}  // namespace

std::unique_ptr<CCtSvcContactInfoBuilder> CtSvcBulkCopyContactInfo(const char* pszWho,
                                                                   const CtSvcContactInfo& contactInfo) {
  if (contactInfo.pPersonInfo == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s - no person info\n", pszWho);
    return nullptr;
  }
  auto pInfo = std::make_unique<CCtSvcContactInfoBuilder>("", -1);
  pInfo->person = *contactInfo.pPersonInfo;
  auto copy = [](auto* pArray, int nCount, auto& vc) {
    if (pArray != nullptr && nCount > 0) {
      vc.assign(pArray, pArray + nCount);
    }
  };
  copy(contactInfo.pPhoneNumberInfo, contactInfo.nPhoneNumberCount, pInfo->vcNumbers);
  copy(contactInfo.pEmailAddressInfo, contactInfo.nEmailAddressCount, pInfo->vcEmails);
  copy(contactInfo.pPostalAddressInfo, contactInfo.nPostalAddressCount, pInfo->vcAddresses);
  copy(contactInfo.pGroupMemberInfo, contactInfo.nGroupMemberCount, pInfo->vcMembers);
  copy(contactInfo.pEtcDataInfo, contactInfo.nEtcDataCount, pInfo->vcEtc);
  copy(contactInfo.pIMInfo, contactInfo.nIMCount, pInfo->vcIms);
  if (contactInfo.pRcsInfo != nullptr) {
    pInfo->rcs = *contactInfo.pRcsInfo;
    pInfo->bRcs = true;
  }
  return pInfo;
}

bool CtSvcBulkReadPerson(const char* pszWho, int nPersonId, CtSvcDeviceType nDevType, CtSvcPersonRecord* pStored) {
  if (!CtSvcDbPersonGetRecordById(nPersonId, pStored)) {
    DbgPrint(DBG_CLASS_FAIL, "%s - CContentMgr::Instance()->GetContent failed(nID = %d)\n", pszWho, nPersonId);
    return false;
  }
  if (pStored->DevType != nDevType) {
    DbgPrint(DBG_CLASS_FAIL, "%s - person %d is not of device type %d\n", pszWho, nPersonId, nDevType);
    return false;
  }
  return true;
}

std::unique_ptr<CCtSvcContactInfoBuilder> CtSvcBulkLoadContact(const CtSvcPersonRecord& stored,
                                                               CtSvcDeviceType nTarget) {
  auto pInfo = std::make_unique<CCtSvcContactInfoBuilder>("", -1);
  pInfo->person = stored.Info;
  CtSvcPersonInfo& person = pInfo->person;
  person.hPerson = 0;
  person.nSlotIndex = -1;
  person.nPrimaryId = -1;
  person.nDefaultPhoneNumberId = -1;
  person.nAccountId = -1;
  person.szCallerImage[0] = '\0';  // the image file stays with its own person
  person.szUuid[0] = '\0';
  person.SaveTime = TmDateTime{};
  const HOBJ hPerson = CTSVC_MAKE_HANDLE(stored.DevType, stored.nId);
  if (!ReadRows(hPerson, &CtSvcDbPersonGetPhoneNumberList, pInfo->vcNumbers) ||
      !ReadRows(hPerson, &CtSvcDbPersonGetEmailAddressList, pInfo->vcEmails) ||
      !ReadRows(hPerson, &CtSvcDbPersonGetPostalAddressList, pInfo->vcAddresses) ||
      !ReadRows(hPerson, &CtSvcDbPersonGetEtcData, pInfo->vcEtc) ||
      (nTarget == CTSVC_USE_TYPE_PHONE && !ReadRows(hPerson, &CtSvcDbPersonGetIM, pInfo->vcIms)) ||
      !AddGroups(stored, nTarget, *pInfo)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcBulkLoadContact - the details of person %d cannot be read\n", stored.nId);
    return nullptr;
  }
  return pInfo;
}

int CtSvcBulkPersonIdOf(const char* pszWho, int nPersonId) {
  const int nId = CTSVC_HANDLE_TO_ID(nPersonId);
  if (nPersonId == INVALID_HOBJ || nId < 1) {
    DbgPrint(DBG_CLASS_FAIL, "%s - invalid person id(%d)\n", pszWho, nPersonId);
    return -1;
  }
  return nId;
}

BOOL CCtSvcBulkGroupTarget::SetGroupId(int nGroupId) {
  CtSvcGroupRecord group{};
  if (nGroupId <= 0 || !CtSvcDbGroupGetRecord(nGroupId, &group)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcBulkOpSetGroupId - no group %d\n", nGroupId);
    return FALSE;
  }
  m_nGroupId = nGroupId;
  return TRUE;
}
