// The listing export: one file per entry, the owner's card as entry 0 and the persons of the
// device type's contact list after it, each read with every detail.
#include <algorithm>

#include "CtSvcList.h"
#include "CtSvcPhonebook.h"
#include "CtSvcVCard.h"
#include "CtSvcVCard/CtSvcVCardPbap.h"
#include "ZelDebug.h"
#include "ZelFm.h"

namespace {

// RAII for a contact list handle.
class CContactList {
 public:
  explicit CContactList(const CtSvcPersonFilter& filter) : m_hList(CtSvcContactListCreate(&filter, nullptr)) {}
  ~CContactList() {
    if (m_hList >= 0) {
      CtSvcContactListDestroy(m_hList);
    }
  }
  CContactList(const CContactList&) = delete;
  CContactList& operator=(const CContactList&) = delete;
  INT32 Get() const { return m_hList; }

 private:
  INT32 m_hList;
};

// Entry 0: the owner's card, or the contact that stands for it.
bool OwnerEntryText(std::string& strText) {
  CtSvcContactInfo owner{};
  bool bDone = CtSvcPbapReadOwnerCard(&owner) && CtSvcPbapCardText(owner, CtSvcPbapDetails::kEmails, strText);
  CtSvcFreeContactInfo(&owner);
  if (!bDone) {
    CtSvcPbapPerson noCard;
    noCard.person = CtSvcPbapNoOwnerCardPerson();
    bDone = CtSvcPbapCardText(noCard, CtSvcPbapDetails::kEmails, strText);
  }
  return bDone;
}

// Entry i >= 1: person i - 1 of the list with every detail.
bool PersonEntryText(INT32 hList, int nEntry, std::string& strText) {
  CtSvcPersonRecord record{};
  if (!CtSvcContactListGetAt(hList, nEntry - 1, &record)) {
    return false;
  }
  CtSvcContactInfo contact{};
  const bool bDone = CtDbSvcGetContactInfoByID(record.nId, &contact) &&
                     CtSvcPbapCardText(contact, CtSvcPbapDetails::kEmails, strText);
  CtSvcFreeContactInfo(&contact);
  return bDone;
}

bool WriteEntry(int nDeviceType, int nEntry, int nTotal, const std::string& strText) {
  const std::string strPath = CtSvcPbapPath(nDeviceType, CTSVC_PBAP_FILE_LISTING_ENTRY, nEntry);
  DbgPrint(DBG_CLASS_TRACE, "CtSvcFullCtListForPBAPListing:  path : %s\t(%d/%d).\n", strPath.c_str(), nEntry, nTotal);
  const HOBJ hFile = CtSvcPbapCreateFile(strPath);
  if (hFile == INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFullCtListForPBAPListing: - %s could not be created\n", strPath.c_str());
    return false;
  }
  const bool bWritten = CtSvcPbapWrite(hFile, strText);
  FmCloseFile(hFile);
  if (!bWritten) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFullCtListForPBAPListing: - %s could not be written\n", strPath.c_str());
  }
  return bWritten;
}

}  // namespace

INT32 CtSvcFullCtListForPBAPListing(INT32 nDeviceType) {
  if (nDeviceType != CTSVC_USE_TYPE_PHONE && nDeviceType != CTSVC_USE_TYPE_SIM) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFullCtListForPBAPListing DeviceType error \n");
    return 0;
  }
  if (!CtSvcPhonebookIsInitialized()) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFullCtListForPBAPListing: - Phonebook is not initialized\n");
    return 0;
  }
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = nDeviceType;
  filter.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
  const CContactList list(filter);
  const int nPersons = list.Get() >= 0 ? std::min(CtSvcContactListGetCount(list.Get()), CTSVC_PBAP_LISTING_MAX_PERSONS) : 0;
  if (nPersons <= 0) {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcFullCtListForPBAPListing nTotalCnt <=0 !!!\n");
  }
  // Files of an earlier, longer listing would be read as entries of this one.
  FmDeleteDir(CtSvcPbapPath(nDeviceType, CTSVC_PBAP_FILE_LISTING_DIR, 0).c_str());
  INT32 nWritten = 0;
  for (int nEntry = 0; nEntry <= std::max(nPersons, 0); ++nEntry) {
    std::string strText;
    const bool bConverted = nEntry == 0 ? OwnerEntryText(strText) : PersonEntryText(list.Get(), nEntry, strText);
    if (!bConverted) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcFullCtListForPBAPListing: - entry %d could not be converted\n", nEntry);
      break;
    }
    if (!WriteEntry(nDeviceType, nEntry, nPersons, strText)) {
      break;
    }
    ++nWritten;
  }
  DbgPrint(DBG_CLASS_TRACE, "CtRequest:  CT_DISPATCH_PULL_VCARDLISTING Done. \n");
  return nWritten;
}
