// Releasing what the library allocated into a contact info.
#include "CtSvcRecord.h"
#include "ZelDebug.h"
#include "ZelMem.h"

namespace {

template <class T>
void FreeArray(T*& pArray) {
  MemFree(pArray);
  pArray = nullptr;
}

}  // namespace

BOOL CtSvcFreeContactInfo(CtSvcContactInfo* pContactInfo) {
  if (pContactInfo == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFreeContactInfo - pContactInfo is NULL\n");
    return FALSE;
  }
  FreeArray(pContactInfo->pPersonInfo);
  FreeArray(pContactInfo->pPhoneNumberInfo);
  FreeArray(pContactInfo->pEmailAddressInfo);
  FreeArray(pContactInfo->pPostalAddressInfo);
  FreeArray(pContactInfo->pGroupMemberInfo);
  FreeArray(pContactInfo->pEtcDataInfo);
  FreeArray(pContactInfo->pIMInfo);
  FreeArray(pContactInfo->pRcsInfo);
  FreeArray(pContactInfo->pSnsDataInfo);
  pContactInfo->nPhoneNumberCount = 0;
  pContactInfo->nEmailAddressCount = 0;
  pContactInfo->nPostalAddressCount = 0;
  pContactInfo->nGroupMemberCount = 0;
  pContactInfo->nEtcDataCount = 0;
  pContactInfo->nIMCount = 0;
  return TRUE;
}
