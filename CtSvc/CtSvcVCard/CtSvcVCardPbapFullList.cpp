// The full-list exports: the entries of a request converted at once into one text, written to the
// file on the one-shot timer "CtSvcVcardTime" with the end told to the Bluetooth service; and the
// older variant that writes the file at once.
#include <algorithm>
#include <mutex>

#include "CtSvcPhonebook.h"
#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "CtSvcVCard/CtSvcVCardPbap.h"
#include "ZelBluetooth.h"
#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelImmortal.h"
#include "ZelOs.h"

namespace {

constexpr char kTimerName[] = "CtSvcVcardTime";
constexpr UINT32 kWriteDelayMs = 150;
constexpr char kNoOwnerCard[] = "BEGIN:VCARD\r\nVERSION:2.1\r\nN:No my namecard\r\nEND:VCARD\r\n";

// The export waiting for its timer. The timer is made once and kept: deleting it could wait for
// a tick that is running.
struct PendingExport {
  std::mutex mutex;
  HOBJ hTimer = INVALID_HOBJ;
  HOBJ hFile = INVALID_HOBJ;
  std::string strText;
  bool bPending = false;
};

PendingExport& ThePending() {
  static zel::Immortal<PendingExport> s_pending;
  return s_pending.Get();
}

BOOL Fail() {
  BluetoothPbsCtMakeDone(FALSE);
  return FALSE;
}

void VcardTimeCallback4PBAP(HOBJ /*hTimer*/, void* /*pParam*/) {
  PendingExport& pending = ThePending();
  std::unique_lock<std::mutex> lock(pending.mutex);
  if (!pending.bPending) {
    return;
  }
  DbgPrint(DBG_CLASS_TRACE, "_CtSvcVcardTimeCallback4PBAP::Write Vcard start. \n");
  const bool bWritten = CtSvcPbapWrite(pending.hFile, pending.strText);
  FmCloseFile(pending.hFile);
  pending.hFile = INVALID_HOBJ;
  std::string().swap(pending.strText);
  pending.bPending = false;
  lock.unlock();
  if (!bWritten) {
    DbgPrint(DBG_CLASS_FAIL, "_CtSvcVcardTimeCallback4PBAP::FmWriteFile is Fail \n");
  }
  BluetoothPbsCtMakeDone(bWritten ? TRUE : FALSE);
}

// The owner's card in the export's form, or the fixed card that stands for it.
std::string OwnerCardText(CtSvcPbapDetails eDetails) {
  CtSvcContactInfo owner{};
  std::string strText;
  if (!CtSvcPbapReadOwnerCard(&owner) || !CtSvcPbapCardText(owner, eDetails, strText)) {
    strText = kNoOwnerCard;
  }
  CtSvcFreeContactInfo(&owner);
  return strText;
}

// Entries nStart..nEnd of the device type as one text; false when the store cannot be read.
bool EntriesText(int nDeviceType, int nStart, int nEnd, std::string& strText) {
  if (nStart == 0) {
    strText = OwnerCardText(CtSvcPbapDetails::kAddresses);
  }
  std::vector<CtSvcPbapPerson> vcPersons;
  if (!CtSvcPbapReadPersons(nDeviceType, CTSVC_PBAP_MAX_ENTRY, CtSvcPbapDetails::kAddresses, vcPersons)) {
    return false;
  }
  if (vcPersons.empty()) {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcFullCtListExForPBAP nTotalCnt == 0 !!!\n");
  }
  for (int nEntry = std::max(nStart, 1); nEntry <= nEnd && nEntry <= static_cast<int>(vcPersons.size()); ++nEntry) {
    std::string strCard;
    if (CtSvcPbapCardText(vcPersons[static_cast<size_t>(nEntry - 1)], CtSvcPbapDetails::kAddresses, strCard)) {
      strText += strCard;
    }
  }
  return true;
}

bool IsValidRequest(INT32 nDeviceType, const CtSvcBtPbsCtInfo* pInfo) {
  if (pInfo == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFullCtListExForPBAP : - no request\n");
    return false;
  }
  if (pInfo->pbStart > CTSVC_PBAP_MAX_ENTRY || pInfo->pbEnd > CTSVC_PBAP_MAX_ENTRY) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFullCtListExForPBAP :BtPbsCtInfo.pbStart is %d BtPbsCtInfo.pbEnd is %d ,return FALSE\n",
             pInfo->pbStart, pInfo->pbEnd);
    return false;
  }
  if (pInfo->pbStart > pInfo->pbEnd || nDeviceType < CTSVC_USE_TYPE_NONE || nDeviceType > CTSVC_USE_TYPE_SIM) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFullCtListExForPBAP : - device type %d, entries %d..%d refused\n", nDeviceType,
             pInfo->pbStart, pInfo->pbEnd);
    return false;
  }
  return true;
}

}  // namespace

BOOL CtSvcFullCtListExForPBAP(INT32 nDeviceType, const CtSvcBtPbsCtInfo* pInfo) {
  DbgPrint(DBG_CLASS_TRACE, "CtSvcFullCtListExForPBAP Entered\n");
  PendingExport& pending = ThePending();
  std::lock_guard<std::mutex> lock(pending.mutex);
  if (pending.bPending) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFullCtListExForPBAP : - an export is pending, request refused\n");
    return FALSE;
  }
  if (!CtSvcPhonebookIsInitialized()) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFullCtListExForPBAP :Phonebook is not initialized!!!! \n");
    return Fail();
  }
  std::string strText;
  if (!IsValidRequest(nDeviceType, pInfo) || !EntriesText(nDeviceType, pInfo->pbStart, pInfo->pbEnd, strText)) {
    return Fail();
  }
  const std::string strPath = CtSvcPbapPath(nDeviceType, CTSVC_PBAP_FILE_FULL_LIST, pInfo->nFileIndex);
  const HOBJ hFile = CtSvcPbapCreateFile(strPath);
  if (hFile == INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFullCtListExForPBAP : %s file create error!\n", strPath.c_str());
    return Fail();
  }
  if (pending.hTimer == INVALID_HOBJ) {
    pending.hTimer = OsCreateTimer(kTimerName, &VcardTimeCallback4PBAP, nullptr);
  }
  pending.hFile = hFile;
  pending.strText = std::move(strText);
  pending.bPending = true;
  if (pending.hTimer == INVALID_HOBJ || !OsStartTimer(pending.hTimer, kWriteDelayMs)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFullCtListExForPBAP : - the timer could not be started\n");
    FmCloseFile(hFile);
    pending.hFile = INVALID_HOBJ;
    pending.bPending = false;
    return Fail();
  }
  return TRUE;
}

BOOL CtSvcFullCtListForPBAP(INT32 nDeviceType) {
  const std::string strPath = CtSvcPbapPath(nDeviceType, CTSVC_PBAP_FILE_FULL_LIST, -1);
  const HOBJ hFile = CtSvcPbapCreateFile(strPath);
  if (hFile == INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFullCtListForPBAP failed\n");
    return FALSE;
  }
  CtSvcContactInfo owner{};
  char* pszOwner = nullptr;
  bool bDone = false;
  if (CtSvcPbapReadOwnerCard(&owner) && CtSvcConvertRecord2VCard(&owner, &pszOwner)) {
    bDone = CtSvcPbapWrite(hFile, pszOwner);
    VCardFreeText(pszOwner);
  } else {
    CtSvcPbapPerson noCard;
    noCard.person = CtSvcPbapNoOwnerCardPerson();
    std::string strCard;
    bDone = CtSvcPbapCardText(noCard, CtSvcPbapDetails::kEmails, strCard) && CtSvcPbapWrite(hFile, strCard);
  }
  CtSvcFreeContactInfo(&owner);
  std::vector<CtSvcPbapPerson> vcPersons;
  bDone = bDone && CtSvcPbapReadPersons(nDeviceType, CTSVC_PBAP_SYNC_MAX_PERSONS, CtSvcPbapDetails::kEmails, vcPersons);
  for (size_t i = 0; bDone && i < vcPersons.size(); ++i) {
    std::string strCard;
    bDone = CtSvcPbapCardText(vcPersons[i], CtSvcPbapDetails::kEmails, strCard) && CtSvcPbapWrite(hFile, strCard);
  }
  FmCloseFile(hFile);
  if (!bDone) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFullCtListForPBAP failed\n");
  }
  return bDone ? TRUE : FALSE;
}
