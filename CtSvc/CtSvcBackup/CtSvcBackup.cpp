// Backup: stored persons as chained vCards, and chained vCards back as contacts.
#include <vector>

#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelDebug.h"
#include "ZelMem.h"

BOOL CtSvcConvertRecords2VCards(const HOBJ* pPersons, INT32 nCount, char** ppszVCards) {
  if (pPersons == nullptr || nCount <= 0 || ppszVCards == nullptr) {
    return FALSE;
  }
  *ppszVCards = nullptr;
  VObject* pFirst = nullptr;
  VObject** ppTail = &pFirst;
  bool bDone = true;
  for (INT32 i = 0; bDone && i < nCount; ++i) {
    CtSvcContactInfo contact{};
    if (!CtDbSvcGetContactInfoByID(CTSVC_HANDLE_TO_ID(pPersons[i]), &contact)) {
      continue;  // a person deleted meanwhile is left out
    }
    *ppTail = CtSvcVCardBuildObject(contact, CtSvcVCardForm::kBackup);
    CtSvcFreeContactInfo(&contact);
    bDone = *ppTail != nullptr;
    if (bDone) {
      ppTail = &(*ppTail)->pNext;
    }
  }
  bDone = bDone && pFirst != nullptr && VCardEncode(pFirst, ppszVCards);
  if (!bDone) {
    DbgPrint(DBG_CLASS_FAIL, "CCtUiBackupController::ConvertRecord2VCard ->VCardEncode  MemAlloc Failed\n");
  }
  VCardFreeObject(pFirst);
  return bDone ? TRUE : FALSE;
}

BOOL CtSvcConvertVcards2Records(const char* pszVCards, CtSvcContactInfo** ppContacts, INT32* pnCount) {
  if (pszVCards == nullptr || ppContacts == nullptr || pnCount == nullptr) {
    return FALSE;
  }
  *ppContacts = nullptr;
  *pnCount = 0;
  VObject* pObject = nullptr;
  if (!VCardDecode(pszVCards, &pObject)) {
    DbgPrint(DBG_CLASS_FAIL, "CtConvertBackupVcardToAllRecord: VCardDecode fail\n");
    return FALSE;
  }
  INT32 nCards = 0;
  for (const VObject* pCard = pObject; pCard != nullptr; pCard = pCard->pNext) {
    ++nCards;
  }
  auto* pContacts = static_cast<CtSvcContactInfo*>(MemCalloc(sizeof(CtSvcContactInfo) * static_cast<size_t>(nCards)));
  bool bDone = pContacts != nullptr;
  INT32 nRead = 0;
  for (const VObject* pCard = pObject; bDone && pCard != nullptr; pCard = pCard->pNext) {
    bDone = CtSvcVCardReadObject(*pCard, &pContacts[nRead], CTSVC_VCARD_PHOTO_PATH) != FALSE;
    nRead += bDone ? 1 : 0;
  }
  VCardFreeObject(pObject);
  if (!bDone) {
    CtSvcFreeContactInfoList(pContacts, nRead);
    return FALSE;
  }
  *ppContacts = pContacts;
  *pnCount = nRead;
  return TRUE;
}

BOOL CtSvcFreeContactInfoList(CtSvcContactInfo* pContacts, INT32 nCount) {
  if (pContacts == nullptr) {
    return FALSE;
  }
  for (INT32 i = 0; i < nCount; ++i) {
    CtSvcFreeContactInfo(&pContacts[i]);
  }
  MemFree(pContacts);
  return TRUE;
}
