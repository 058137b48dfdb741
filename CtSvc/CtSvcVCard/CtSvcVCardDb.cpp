// A stored person, or all persons of one primary, as a contact info with every detail list.
#include <cstring>
#include <vector>

#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelDebug.h"
#include "ZelMem.h"

namespace {

// The records of one detail list of a person, read in growing blocks until all fit.
template <class Record>
bool ReadList(HOBJ hPerson, int (*pfnList)(HOBJ, Record*, int), std::vector<Record>& vcOut) {
  for (int nCapacity = 64; nCapacity <= 64 * 1024; nCapacity *= 8) {
    std::vector<Record> vcRecords(static_cast<size_t>(nCapacity));
    const int nCount = pfnList(hPerson, vcRecords.data(), nCapacity);
    if (nCount < 0) {
      return false;
    }
    if (nCount < nCapacity) {
      vcOut.insert(vcOut.end(), vcRecords.begin(), vcRecords.begin() + nCount);
      return true;
    }
  }
  return false;
}

// Infos of records, appended to an allocated array.
template <class Record, class Info>
bool AppendInfos(const std::vector<Record>& vcRecords, Info*& pArray, INT32& nCount) {
  if (vcRecords.empty()) {
    return true;
  }
  auto* pNew = static_cast<Info*>(MemAlloc(sizeof(Info) * (static_cast<size_t>(nCount) + vcRecords.size())));
  if (pNew == nullptr) {
    return false;
  }
  if (pArray != nullptr) {
    std::memcpy(pNew, pArray, sizeof(Info) * static_cast<size_t>(nCount));
    MemFree(pArray);
  }
  for (size_t i = 0; i < vcRecords.size(); ++i) {
    pNew[static_cast<size_t>(nCount) + i] = vcRecords[i].Info;
  }
  pArray = pNew;
  nCount += static_cast<INT32>(vcRecords.size());
  return true;
}

template <class Record, class Info>
bool AddList(HOBJ hPerson, int (*pfnList)(HOBJ, Record*, int), Info*& pArray, INT32& nCount) {
  std::vector<Record> vcRecords;
  return ReadList(hPerson, pfnList, vcRecords) && AppendInfos<Record, Info>(vcRecords, pArray, nCount);
}

// Appends a person's details to the contact; the first person also gives the person info.
bool AddPerson(const CtSvcPersonRecord& person, CtSvcContactInfo& contact) {
  const HOBJ hPerson = CTSVC_MAKE_HANDLE(person.DevType, person.nId);
  if (contact.pPersonInfo == nullptr) {
    contact.pPersonInfo = static_cast<CtSvcPersonInfo*>(MemAlloc(sizeof(CtSvcPersonInfo)));
    if (contact.pPersonInfo == nullptr) {
      return false;
    }
    *contact.pPersonInfo = person.Info;
    contact.pPersonInfo->hPerson = static_cast<UINT32>(hPerson);
  }
  return AddList(hPerson, &CtSvcDbPersonGetPhoneNumberList, contact.pPhoneNumberInfo, contact.nPhoneNumberCount) &&
         AddList(hPerson, &CtSvcDbPersonGetEmailAddressList, contact.pEmailAddressInfo, contact.nEmailAddressCount) &&
         AddList(hPerson, &CtSvcDbPersonGetPostalAddressList, contact.pPostalAddressInfo, contact.nPostalAddressCount) &&
         AddList(hPerson, &CtSvcDbPersonGetEtcData, contact.pEtcDataInfo, contact.nEtcDataCount) &&
         AddList(hPerson, &CtSvcDbPersonGetIM, contact.pIMInfo, contact.nIMCount);
}

}  // namespace

BOOL CtDbSvcGetContactInfoByID(INT32 nPersonId, CtSvcContactInfo* pContact) {
  if (pContact == nullptr) {
    return FALSE;
  }
  *pContact = CtSvcContactInfo{};
  CtSvcPersonRecord person{};
  if (!CtSvcDbPersonGetRecordById(nPersonId, &person)) {
    DbgPrint(DBG_CLASS_FAIL, "CtDbSvcGetContactInfoByID: - no person %d\n", nPersonId);
    return FALSE;
  }
  if (!AddPerson(person, *pContact)) {
    CtSvcFreeContactInfo(pContact);
    return FALSE;
  }
  return TRUE;
}

BOOL CtDbSvcGetLinkContactInfoByID(INT32 nPrimaryId, CtSvcContactInfo* pContact) {
  if (pContact == nullptr) {
    return FALSE;
  }
  *pContact = CtSvcContactInfo{};
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.nPrimaryId = nPrimaryId;
  std::vector<CtSvcPersonRecord> vcPersons(16);
  const int nPersons = CtSvcDbPersonGetRecords(&filter, vcPersons.data(), static_cast<int>(vcPersons.size()));
  bool bDone = nPersons > 0;
  for (int i = 0; bDone && i < nPersons; ++i) {
    bDone = AddPerson(vcPersons[static_cast<size_t>(i)], *pContact);
  }
  if (!bDone) {
    DbgPrint(DBG_CLASS_FAIL, "CtDbSvcGetLinkContactInfoByID: - primary %d could not be read\n", nPrimaryId);
    CtSvcFreeContactInfo(pContact);
    return FALSE;
  }
  return TRUE;
}
