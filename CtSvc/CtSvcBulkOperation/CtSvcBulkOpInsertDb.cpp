#include "CtSvcBulkOperation/CtSvcBulkOpInsertDb.h"

#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbDetail.h"
#include "CtSvcFilter.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcSimCi.h"
#include "ZelDb2.h"

namespace {

// Kind of the numbers a SIM contact brings (the ADN number and its additional numbers).
constexpr int kSimPhoneType = 1;

// The store's SIM group of a GAS slot, or -1.
int SimGroupIdOfSlot(int nSlot) {
  CtSvcGroupFilter filter;
  CtSvcGroupFilterInit(&filter);
  filter.DevType = CTSVC_USE_TYPE_SIM;
  filter.nSlotIndex = nSlot;
  CtSvcGroupRecord record{};
  return CtSvcDbGroupGetRecords(&filter, &record, 1) == 1 ? record.nId : -1;
}

}  // namespace

std::unique_ptr<CCtSvcContactInfoBuilder> CtSvcBulkContactFromAdn(int nRecordIndex, const CtSvcSimAdnRecord& record) {
  auto pInfo = std::make_unique<CCtSvcContactInfoBuilder>(record.szName, -1);
  pInfo->person.nSlotIndex = nRecordIndex;
  if (record.szPhoneNumber[0] != '\0') {
    pInfo->Number(record.szPhoneNumber, kSimPhoneType);
  }
  for (const CtSvcSimAdditionalNumber& anr : record.stAdditionalNumber) {
    if (anr.szPhoneNumber[0] != '\0') {
      pInfo->Number(anr.szPhoneNumber, kSimPhoneType);
      pInfo->vcNumbers.back().nAasId = static_cast<INT32>(anr.nAasIndex & 0xFF);
    }
  }
  for (const auto& szEmail : record.szEmail) {
    if (szEmail[0] != '\0') {
      pInfo->Email(szEmail);
    }
  }
  if (record.szSecondName[0] != '\0') {
    pInfo->Etc(CTSVC_ETC_DATA_TYPE_SECOND_NAME, record.szSecondName);
  }
  for (int nSlot = 0; nSlot < CTSVC_SIM_GROUP_FLAG_MAX; ++nSlot) {
    if (record.bGroup[nSlot] == 0) {
      continue;
    }
    const int nGroupId = SimGroupIdOfSlot(nSlot);
    if (nGroupId > 0) {
      pInfo->Group(nGroupId);
    } else {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcBulkOpInsertDb::AddAdnRecord - no SIM group of slot %d (nRecordIndex = %d)\n",
               nSlot, nRecordIndex);
    }
  }
  pInfo->person.bHasPhoneNumber = pInfo->vcNumbers.empty() ? 0 : 1;
  return pInfo;
}

BOOL CCtSvcBulkOpInsertDb::AddContactRecord(CtSvcDeviceType nDeviceType, const CtSvcContactInfo& contactInfo) {
  if (contactInfo.pPersonInfo == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcBulkOpInsertDb::AddContactRecord - no person info\n");
    return FALSE;
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
  _AddItem(CtSvcBulkContactItem{std::move(pInfo), nDeviceType});
  return TRUE;
}

BOOL CCtSvcBulkOpInsertDb::AddAdnRecord(int nRecordIndex) {
  CtSvcSimAdnRecord record;
  if (!CtSvcSimGetAdnRecord(nRecordIndex, &record)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcBulkOpInsertDb::AddAdnRecord -GetAdnRecord (nRecordIndex = %d) is FAILED\n",
             nRecordIndex);
    return FALSE;
  }
  _AddItem(CtSvcBulkContactItem{CtSvcBulkContactFromAdn(nRecordIndex, record), CTSVC_USE_TYPE_SIM});
  return TRUE;
}

BOOL CCtSvcBulkOpInsertDb::_ProcessItem(CtSvcBulkContactItem& item) {
  CtSvcContactInfo info = item.pInfo->Info();
  CCtSvcContact contact(info, item.nDeviceType);
  const int nId = contact.Insert(FALSE);
  if (nId < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcBulkOpInsertDb::OnBulkOperation - insert failed\n");
    return FALSE;
  }
  if (item.nDeviceType == CTSVC_USE_TYPE_PHONE) {
    CCtSvcPhonebookMgr::Instance()->__NotifyContactBulkChanged(CTSVC_CHANGE_TYPE_INSERT, nId, &info);
  }
  return TRUE;
}

// One commit a unit, also after a failed item: what was inserted before it stays.
BOOL CCtSvcBulkOpInsertDb::_EndUnit(BOOL bResult) {
  Db2Commit();
  return bResult;
}
