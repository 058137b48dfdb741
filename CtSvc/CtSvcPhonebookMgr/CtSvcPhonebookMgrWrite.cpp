// Steps shared by the phonebook manager's contact writes.
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgrWrite.h"

#include <cstring>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/DbMgr/CtSvcDbWriteUnit.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDb.h"
#include "CtSvcDbPerson.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelSnsSvc/ZelSnsSvc.h"

namespace {

// A detail array and its count agree: a count above 0 needs an array; -1 (keep) and 0 are fine.
bool CountsMatch(const void* pArray, INT32 nCount) { return nCount >= -1 && (nCount <= 0 || pArray != nullptr); }

bool CountsMatch(const CtSvcContactInfo& info) {
  return CountsMatch(info.pPhoneNumberInfo, info.nPhoneNumberCount) &&
         CountsMatch(info.pEmailAddressInfo, info.nEmailAddressCount) &&
         CountsMatch(info.pPostalAddressInfo, info.nPostalAddressCount) &&
         CountsMatch(info.pGroupMemberInfo, info.nGroupMemberCount) &&
         CountsMatch(info.pEtcDataInfo, info.nEtcDataCount) && CountsMatch(info.pIMInfo, info.nIMCount);
}

template <size_t N>
bool Ends(const char (&szText)[N]) {
  return std::memchr(szText, '\0', N) != nullptr;
}

bool Invalid(const char* pszWho, const char* pszWhat) {
  DbgPrint(DBG_CLASS_FAIL, "%s - invalid %s info\n", pszWho, pszWhat);
  return false;
}

}  // namespace

bool CtSvcPhonebookCheckGroupInfo(const char* pszWho, const CtSvcGroupInfo& info) {
  return (Ends(info.szName) && Ends(info.szReserved) && Ends(info.szRingtone)) || Invalid(pszWho, "group");
}

bool CtSvcPhonebookCheckFdnInfo(const char* pszWho, const CtSvcFdnInfo& info) {
  return (Ends(info.szName) && Ends(info.szPhoneNumber)) || Invalid(pszWho, "FDN");
}

bool CtSvcPhonebookReadContact(const char* pszWho, const CtSvcContactInfo* pContactInfo, CtSvcDeviceType nDeviceType,
                               CCtSvcContact* pContact) {
  if (!ZEL_REQUIRE_TEXT(pContactInfo != nullptr, "pContactInfo") ||
      !ZEL_REQUIRE_TEXT(pContactInfo->pPersonInfo != nullptr, "pContactInfo->pPersonInfo")) {
    return false;
  }
  if (!CountsMatch(*pContactInfo) || !pContact->SetContactInfo(*pContactInfo, nDeviceType)) {
    DbgPrint(DBG_CLASS_FAIL, "%s - invalid contact info\n", pszWho);
    return false;
  }
  if (CtSvcIsDbFull()) {
    DbgPrint(DBG_CLASS_FAIL, "%s - DB FULL\n", pszWho);
    return false;
  }
  return true;
}

bool CtSvcPhonebookFinishPersonUpdate(const char* pszWho, HOBJ hPerson, int nPrimaryId,
                                      const CtSvcPersonInfo* pPersonInfo) {
  if (!CtSvcDbPersonUpdateRecord(hPerson, nPrimaryId, pPersonInfo)) {
    DbgPrint(DBG_CLASS_FAIL, "%s - CtSvcDbPersonUpdateRecord() failed\n", pszWho);
    return false;
  }
  if (!CCtSvcDbMgr::Instance()->RearrangePrimary(nPrimaryId, TRUE)) {
    DbgPrint(DBG_CLASS_FAIL, "%s - RearrangePrimary() failed\n", pszWho);
    return false;
  }
  return true;
}

namespace {

// The social-network history the platform keeps of a deleted friend goes with it.
void RemoveSnsHistory(const CtSvcSnsDataInfo& sns) {
  const HOBJ hHistory = SnsSvcHistoryDbOpen(kSnsLiteHistoryDb, kSnsLiteHistorySize);
  if (hHistory == INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr - %s could not be opened\n", kSnsLiteHistoryDb);
    return;
  }
  SnsSvcHistoryDbRemoveEntries(hHistory, sns.szPeopleId, sns.nSp, 0);
  SnsSvcHistoryDbClose(hHistory);
}

}  // namespace

bool CtSvcPhonebookRemovePerson(const char* pszWho, const CtSvcPersonRecord& stored, BOOL bCommit) {
  CtSvcSnsDataRecord sns{};
  const bool bSns = stored.Info.bHasSnsData &&
                    CtSvcDbPersonGetSnsData(CTSVC_MAKE_HANDLE(stored.DevType, stored.nId), &sns, 1) == 1;
  CCtSvcDbWriteUnit unit;
  if (!unit.IsOpen()) {
    return false;
  }
  if (!CtSvcDbPersonDeleteRecord(CTSVC_MAKE_HANDLE(stored.DevType, stored.nId))) {
    DbgPrint(DBG_CLASS_FAIL, "%s - CtSvcDbPersonDeleteRecord failed\n", pszWho);
    return false;
  }
  if (!CtSvcDbPrimaryUnlinkPerson(stored.Info.nPrimaryId, stored.nId, FALSE)) {
    DbgPrint(DBG_CLASS_FAIL, "%s - UnlinkPerson failed\n", pszWho);
    return false;
  }
  if (!(bCommit ? unit.KeepAndCommit() : unit.Keep())) {
    return false;
  }
  if (stored.Info.szCallerImage[0] != '\0') {
    CtSvcPhonebookDeleteCallerImage(stored.Info.szCallerImage);
  }
  if (bSns) {
    RemoveSnsHistory(sns.Info);
  }
  return true;
}

BOOL CtSvcPhonebookDeleteCallerImage(const char* pszImagePath) {
  if (pszImagePath == nullptr || pszImagePath[0] == '\0' || !FmIsFileExist(pszImagePath)) {
    return TRUE;
  }
  if (!FmDeleteFile(pszImagePath)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcPhonebookDeleteCallerImage - FmDeleteFile(%s) failed\n", pszImagePath);
    return FALSE;
  }
  return TRUE;
}

bool CtSvcPhonebookTakeFreeSlot(const char* pszWho, int nSimFileID, INT32* pnSlotIndex) {
  if (*pnSlotIndex != -1) {
    return true;
  }
  *pnSlotIndex = CCtSvcSimMgr::Instance()->GetUnusedRecordIndex(nSimFileID);
  if (*pnSlotIndex < 0) {
    DbgPrint(DBG_CLASS_FAIL, "%s - GetUnusedRecordIndex() failed\n", pszWho);
    return false;
  }
  return true;
}
