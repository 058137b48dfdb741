// Slot order of the interface table. Callers index it, so the order is fixed; it does not follow
// the order of the exported names.
#include "CtSvcInterfaceTable.h"

#include "CtSvcDbDetail.h"
#include "CtSvcDbListener.h"
#include "CtSvcDbPerson.h"
#include "CtSvcImg.h"
#include "CtSvcList.h"
#include "CtSvcModule.h"
#include "CtSvcPbap.h"
#include "CtSvcPhonebook.h"

namespace {

INT32 AddRef() { return ++CtSvcGetClassDescriptor()->nRefCount; }
INT32 Release() { return --CtSvcGetClassDescriptor()->nRefCount; }

struct Slot {
  const char* szName;
  void* pFunction;
};

template <typename F>
void* Fn(F* pfn) {
  return reinterpret_cast<void*>(pfn);
}

const Slot kSlots[CTSVC_INTERFACE_SLOT_COUNT] = {
    {"AddRef", Fn(&AddRef)},
    {"Release", Fn(&Release)},
    {"CtSvcDispatch", Fn(&CtSvcDispatch)},
    {"CtSvcContactListCreate", Fn(&CtSvcContactListCreate)},
    {"CtSvcContactListDestroy", Fn(&CtSvcContactListDestroy)},
    {"CtSvcContactListGetCount", Fn(&CtSvcContactListGetCount)},
    {"CtSvcContactListGetAt", Fn(&CtSvcContactListGetAt)},
    {"CtSvcGroupListCreate", Fn(&CtSvcGroupListCreate)},
    {"CtSvcGroupListDestroy", Fn(&CtSvcGroupListDestroy)},
    {"CtSvcGroupListGetCount", Fn(&CtSvcGroupListGetCount)},
    {"CtSvcGroupListGetAt", Fn(&CtSvcGroupListGetAt)},
    {"CtSvcGroupMemberListCreate", Fn(&CtSvcGroupMemberListCreate)},
    {"CtSvcGroupMemberListDestroy", Fn(&CtSvcGroupMemberListDestroy)},
    {"CtSvcGroupMemberListGetCount", Fn(&CtSvcGroupMemberListGetCount)},
    {"CtSvcGroupMemberListGetAt", Fn(&CtSvcGroupMemberListGetAt)},
    {"CtSvcDbPersonGetRecord", Fn(&CtSvcDbPersonGetRecord)},
    {"CtSvcDbPersonGetRecordById", Fn(&CtSvcDbPersonGetRecordById)},
    {"CtSvcDbPersonGetTotalCount", Fn(&CtSvcDbPersonGetTotalCount)},
    {"CtSvcDbPersonGetPhoneNumberList", Fn(&CtSvcDbPersonGetPhoneNumberList)},
    {"CtSvcDbPersonGetEmailAddressList", Fn(&CtSvcDbPersonGetEmailAddressList)},
    {"CtSvcDbPersonGetPostalAddressList", Fn(&CtSvcDbPersonGetPostalAddressList)},
    {"CtSvcDbPersonGetCount", Fn(&CtSvcDbPersonGetCount)},
    {"CtSvcDbPersonDeletebyAccount", Fn(&CtSvcDbPersonDeletebyAccount)},
    {"CtSvcDbPersonGetIM", Fn(&CtSvcDbPersonGetIM)},
    {"CtSvcDbGroupGetRecord", Fn(&CtSvcDbGroupGetRecord)},
    {"CtSvcDbGroupGetTotalCount", Fn(&CtSvcDbGroupGetTotalCount)},
    {"CtSvcDbGroupGetGroupMemberList", Fn(&CtSvcDbGroupGetGroupMemberList)},
    {"CtSvcDbGroupDeleteRecordsWithFilter", Fn(&CtSvcDbGroupDeleteRecordsWithFilter)},
    {"CtSvcDbPhoneNumberGetCount", Fn(&CtSvcDbPhoneNumberGetCount)},
    {"CtSvcDbPhoneNumberGetRecords", Fn(&CtSvcDbPhoneNumberGetRecords)},
    {"CtSvcDbEmailAddressGetCount", Fn(&CtSvcDbEmailAddressGetCount)},
    {"CtSvcDbEmailAddressGetRecords", Fn(&CtSvcDbEmailAddressGetRecords)},
    {"CtSvcDbEtcDataGetRecords", Fn(&CtSvcDbEtcDataGetRecords)},
    {"CtSvcDbEtcDataGetCount", Fn(&CtSvcDbEtcDataGetCount)},
    {"CtSvcDbGroupMemberGetCount", Fn(&CtSvcDbGroupMemberGetCount)},
    {"CtSvcDbGroupMemberGetRecords", Fn(&CtSvcDbGroupMemberGetRecords)},
    {"CtSvcDbGroupMemberInsertRecord", Fn(&CtSvcDbGroupMemberInsertRecord)},
    {"CtSvcDbGroupMemberDeleteRecordsWithFilter", Fn(&CtSvcDbGroupMemberDeleteRecordsWithFilter)},
    {"CtSvcDbIMGetRecords", Fn(&CtSvcDbIMGetRecords)},
    {"CtSvcDbPrimaryGetRecord", Fn(&CtSvcDbPrimaryGetRecord)},
    {"CtSvcDbPostalAddressGetCount", Fn(&CtSvcDbPostalAddressGetCount)},
    {"CtSvcDbPostalAddressGetRecords", Fn(&CtSvcDbPostalAddressGetRecords)},
    {"CtSvcFullCtListExForPBAP", Fn(&CtSvcFullCtListExForPBAP)},
    {"CtSvcDbMassSyncReadRecords", Fn(&CtSvcDbMassSyncReadRecords)},
    {"CtSvcPhonebookInsertContactToPhone", Fn(&CtSvcPhonebookInsertContactToPhone)},
    {"CtSvcPhonebookUpdateContactToPhone", Fn(&CtSvcPhonebookUpdateContactToPhone)},
    {"CtSvcPhonebookDeleteContactFromPhone", Fn(&CtSvcPhonebookDeleteContactFromPhone)},
    {"CtSvcPhonebookInsertGroupToPhone", Fn(&CtSvcPhonebookInsertGroupToPhone)},
    {"CtSvcPhonebookUpdateGroupToPhone", Fn(&CtSvcPhonebookUpdateGroupToPhone)},
    {"CtSvcPhonebookDeleteGroupFromPhone", Fn(&CtSvcPhonebookDeleteGroupFromPhone)},
    {"CtSvcPhonebookGetDefaultOwnNumber", Fn(&CtSvcPhonebookGetDefaultOwnNumber)},
    {"CtSvcPhonebookRegisterContactCallback", Fn(&CtSvcPhonebookRegisterContactCallback)},
    {"CtSvcPhonebookRegisterContactCallbackForQRN", Fn(&CtSvcPhonebookRegisterContactCallbackForQRN)},
    {"CtSvcPhonebookRegisterGroupCallback", Fn(&CtSvcPhonebookRegisterGroupCallback)},
    {"CtSvcPhonebookRegisterGroupCallbackForQRN", Fn(&CtSvcPhonebookRegisterGroupCallbackForQRN)},
    {"CtSvcPhonebookUnRegisterContactCallback", Fn(&CtSvcPhonebookUnRegisterContactCallback)},
    {"CtSvcPhonebookUnRegisterGroupCallback", Fn(&CtSvcPhonebookUnRegisterGroupCallback)},
    {"CtSvcPhonebookUnRegisterContactCallbackForQRN", Fn(&CtSvcPhonebookUnRegisterContactCallbackForQRN)},
    {"CtSvcPhonebookUnRegisterGroupCallbackForQRN", Fn(&CtSvcPhonebookUnRegisterGroupCallbackForQRN)},
    {"CtSvcImgSaveEx", Fn(&CtSvcImgSaveEx)},
    {"CtSvcImgMakeCallerIdPath", Fn(&CtSvcImgMakeCallerIdPath)},
    {"CtSvcPhonebookInsertContactToPhoneNoCommit", Fn(&CtSvcPhonebookInsertContactToPhoneNoCommit)},
};

}  // namespace

void CtSvcFillInterfaceTable(void* apSlots[CTSVC_INTERFACE_SLOT_COUNT]) {
  for (int i = 0; i < CTSVC_INTERFACE_SLOT_COUNT; ++i) {
    apSlots[i] = kSlots[i].pFunction;
  }
}

const char* CtSvcGetInterfaceSlotName(int nSlot) {
  return nSlot >= 0 && nSlot < CTSVC_INTERFACE_SLOT_COUNT ? kSlots[nSlot].szName : "";
}
