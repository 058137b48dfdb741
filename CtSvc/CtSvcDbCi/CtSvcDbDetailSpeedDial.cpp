// Speed dial by key: a key (1..29) holds at most one row, which names the phone-number row it dials.
#include <vector>

#include "CtSvcDbDetail.h"
#include "CtSvcDbDetailOps.h"

namespace {

using Sd = CtSvcDbSdTraits;

bool IsSlot(int nSlotIndex) {
  return nSlotIndex >= CTSVC_SPEEDDIAL_SLOT_FIRST && nSlotIndex <= CTSVC_SPEEDDIAL_SLOT_LAST;
}

CtSvcSpeedDialFilter SlotFilter(int nSlotIndex) {
  CtSvcSpeedDialFilter filter;
  CtSvcSpeedDialFilterInit(&filter);
  filter.nSlotIndex = nSlotIndex;
  return filter;
}

// The stored row of a key; false when the key is empty.
bool FindSlot(int nSlotIndex, CCtSvcSpeedDial& speedDial) {
  const CtSvcSpeedDialFilter filter = SlotFilter(nSlotIndex);
  std::vector<CContent> vcRows;
  return IsSlot(nSlotIndex) && CCtSvcDbMgr::Instance()->GetRows(&filter, vcRows) && speedDial.SetData(vcRows.front());
}

// The phone-number row a key is to dial.
bool ReadNumber(int nPhoneNumberId, CCtSvcPhoneNumber& number) {
  CContent content;
  if (!CtSvcDetailGetContent(Sd::kPrefix, "SetRecord", "CtSvc/PhoneNumber", nPhoneNumberId, content)) {
    return false;
  }
  if (number.SetData(content)) {
    return true;
  }
  CtSvcDetailLogLoadFailure(Sd::kPrefix, "SetRecord", "phoneNumber", nPhoneNumberId);
  return false;
}

// Points the key's row (new or stored) at the number; the owner comes from nPerson when given,
// device type and account from the number.
BOOL StoreSlot(int nSlotIndex, const CCtSvcPhoneNumber& number, int nPerson) {
  CCtSvcSpeedDial speedDial;
  const bool bStored = FindSlot(nSlotIndex, speedDial);
  speedDial.SetSlotIndex(nSlotIndex);
  speedDial.SetPhoneNumberId(number.GetRecordId());
  speedDial.SetPersonId(nPerson > 0 ? CTSVC_HANDLE_TO_ID(nPerson) : number.GetPersonId());
  speedDial.SetDeviceType(number.GetDeviceType());
  speedDial.SetAccountId(number.GetAccountId());
  if (bStored) {
    if (speedDial.Update(speedDial.GetRecordId(), 1)) {
      return TRUE;
    }
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbSdSetRecord - speedDialInfo.Update( void ) is failed\n");
    return FALSE;
  }
  if (speedDial.Insert(1) > 0) {
    return TRUE;
  }
  DbgPrint(DBG_CLASS_FAIL, "CtSvcDbSdSetRecord - speedDialInfo.Insert( void ) is failed\n");
  return FALSE;
}

}  // namespace

extern "C" BOOL CtSvcDbSdGetRecord(int nSlotIndex, CtSvcSpeedDialRecord* pRecord) {
  if (!ZEL_REQUIRE(pRecord)) {
    return FALSE;
  }
  CCtSvcSpeedDial speedDial;
  if (!FindSlot(nSlotIndex, speedDial)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbSdGetRecord - nSlotIndex(%d) is empty\n", nSlotIndex);
    return FALSE;
  }
  speedDial.GetData(*pRecord);
  return TRUE;
}

extern "C" int CtSvcDbSdGetSlotIndex(int nPhoneNumberId) {
  if (!ZEL_REQUIRE(nPhoneNumberId >= 0)) {
    return -1;
  }
  CtSvcSpeedDialFilter filter;
  CtSvcSpeedDialFilterInit(&filter);
  filter.nPhoneNumberId = nPhoneNumberId;
  std::vector<CContent> vcRows;
  CCtSvcSpeedDial speedDial;
  // Id 0 names no row (and an unset id would select every row).
  if (nPhoneNumberId == 0 || !CCtSvcDbMgr::Instance()->GetRows(&filter, vcRows) || !speedDial.SetData(vcRows.front())) {
    return -1;
  }
  return speedDial.GetSlotIndex();
}

extern "C" int CtSvcDbSdGetUnusedSlotIndex(void) {
  const CtSvcSpeedDialFilter* pEvery = nullptr;
  std::vector<CContent> vcRows;
  if (!CCtSvcDbMgr::Instance()->GetRows(pEvery, vcRows)) {
    return CCtSvcDbMgr::Instance()->GetCount(pEvery) == 0 ? CTSVC_SPEEDDIAL_SLOT_FIRST : -1;
  }
  bool abUsed[CTSVC_SPEEDDIAL_SLOT_LAST + 1] = {};
  for (const CContent& row : vcRows) {
    CCtSvcSpeedDial speedDial;
    if (speedDial.SetData(row) && IsSlot(speedDial.GetSlotIndex())) {
      abUsed[speedDial.GetSlotIndex()] = true;
    }
  }
  for (int nSlot = CTSVC_SPEEDDIAL_SLOT_FIRST; nSlot <= CTSVC_SPEEDDIAL_SLOT_LAST; ++nSlot) {
    if (!abUsed[nSlot]) {
      return nSlot;
    }
  }
  return -1;
}

extern "C" BOOL CtSvcDbSdSetRecord(int nSlotIndex, int nPhoneNumberId, int nPerson) {
  if (!ZEL_REQUIRE(nSlotIndex >= CTSVC_SPEEDDIAL_SLOT_FIRST && nSlotIndex <= CTSVC_SPEEDDIAL_SLOT_LAST) ||
      !ZEL_REQUIRE(nPhoneNumberId == -1 || nPhoneNumberId > 0)) {
    return FALSE;
  }
  CCtSvcModuleLock lock;
  if (nPhoneNumberId == -1) {
    return ctsvc_detail::DeleteInOneStatement<Sd>(SlotFilter(nSlotIndex));
  }
  CCtSvcPhoneNumber number;
  return ReadNumber(nPhoneNumberId, number) ? StoreSlot(nSlotIndex, number, nPerson) : FALSE;
}
