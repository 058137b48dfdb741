// Copies of the loaded SIM groups into the store: SIM groups (GAS), fixed-dialling numbers (FDN)
// and SIM contacts (ADN, as a bulk insert while the store's listeners are paused).
#include <cstring>
#include <memory>
#include <vector>

#include "CtSvcBulkOperation/CtSvcBulkHandler.h"
#include "CtSvcBulkOperation/CtSvcBulkOpInsertDb.h"
#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcDbDetail.h"
#include "CtSvcDbListener.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcSimCi.h"
#include "ZelDebug.h"

namespace {

constexpr int kGasNameSize = 61;
constexpr size_t kFdnNameMax = 150;
constexpr size_t kFdnNumberMax = 50;

}  // namespace

BOOL CCtSvcPhonebookMgr::__ReloadGasRecordsToDB() {
  CtSvcGroupFilter filter;
  CtSvcGroupFilterInit(&filter);
  filter.DevType = CTSVC_USE_TYPE_SIM;
  filter.nSlotIndex = -1;
  if (!CtSvcDbGroupDeleteRecordsWithFilter(&filter) && CtSvcDbGroupGetCount(&filter) > 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::__ReloadGasRecordsToDB - CtSvcDbGroupDeleteRecordsWithFilter failed\n");
    return FALSE;
  }
  if (CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_GAS) <= 0) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::__ReloadGasRecordsToDB - GAS record is empty\n");
    return TRUE;
  }
  const int nMax = CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_GAS);
  for (int i = 0; i < nMax; ++i) {
    if (CtSvcSimIsUsedRecord(CTSVC_SIM_GAS, i) <= 0) {
      continue;
    }
    char szName[kGasNameSize] = "";
    if (!CtSvcSimGetGasRecord(i, szName, sizeof(szName))) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::__ReloadGasRecordsToDB - CtSvcSimGetGasRecord(%d) failed\n", i);
      continue;
    }
    CtSvcGroupInfo group{};
    group.nAccountId = -1;
    group.nSlotIndex = i;
    group.DevType = CTSVC_USE_TYPE_SIM;
    CtSvcCopyText(group.szName, szName);
    if (CtSvcDbGroupInsertRecord(&group) < 0) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::__ReloadGasRecordsToDB - CtSvcDbGroupInsertRecord(%d) failed\n", i);
    }
  }
  return TRUE;
}

namespace {

// The card's used FDN entries as the store keeps them.
std::vector<CtSvcFdnInfo> CardFdnEntries() {
  std::vector<CtSvcFdnInfo> vcEntries;
  if (CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_FDN) <= 0) {
    return vcEntries;
  }
  const int nMax = CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_FDN);
  for (int i = 0; i < nMax; ++i) {
    if (CtSvcSimIsUsedRecord(CTSVC_SIM_FDN, i) <= 0) {
      continue;
    }
    CtSvcSimXdnRecord record{};
    if (!CtSvcSimGetFdnRecord(i, &record)) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::__ReloadFdnRecordsToDB - CtSvcSimGetFdnRecord(%d) failed\n", i);
      continue;
    }
    CtSvcFdnInfo fdn{};
    fdn.nSlotIndex = i;
    AcStrlcpy(fdn.szName, record.szName, kFdnNameMax + 1);
    AcStrlcpy(fdn.szPhoneNumber, record.szPhoneNumber, kFdnNumberMax + 1);
    vcEntries.push_back(fdn);
  }
  return vcEntries;
}

// True when the store holds exactly these entries (in any order).
bool StoreHasFdnEntries(const std::vector<CtSvcFdnInfo>& vcEntries) {
  const int nStored = CtSvcDbFdnGetTotalCount();
  if (nStored != static_cast<int>(vcEntries.size())) {
    return false;
  }
  std::vector<CtSvcFdnRecord> vcStored(vcEntries.size() + 1);
  CtSvcFdnFilter filter;
  CtSvcFdnFilterInit(&filter);
  if (CtSvcDbFdnGetRecords(&filter, vcStored.data(), static_cast<int>(vcStored.size())) != nStored) {
    return false;
  }
  for (const CtSvcFdnInfo& entry : vcEntries) {
    bool bFound = false;
    for (int i = 0; i < nStored && !bFound; ++i) {
      const CtSvcFdnInfo& stored = vcStored[i].Info;
      bFound = stored.nSlotIndex == entry.nSlotIndex && std::strcmp(stored.szName, entry.szName) == 0 &&
               std::strcmp(stored.szPhoneNumber, entry.szPhoneNumber) == 0;
    }
    if (!bFound) {
      return false;
    }
  }
  return true;
}

}  // namespace

// The store's FDN rows are replaced by the card's; when they hold the same entries already the
// store is not written.
BOOL CCtSvcPhonebookMgr::__ReloadFdnRecordsToDB() {
  const std::vector<CtSvcFdnInfo> vcEntries = CardFdnEntries();
  if (StoreHasFdnEntries(vcEntries)) {
    return TRUE;
  }
  CtSvcFdnFilter filter;
  CtSvcFdnFilterInit(&filter);
  if (!CtSvcDbFdnDeleteRecordsWithFilter(&filter) && CtSvcDbFdnGetTotalCount() > 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::__ReloadFdnRecordsToDB - CtSvcDbFdnDeleteRecordsWithFilter failed\n");
    return FALSE;
  }
  for (const CtSvcFdnInfo& fdn : vcEntries) {
    if (CtSvcDbFdnInsertRecord(&fdn) < 0) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::__ReloadFdnRecordsToDB - CtSvcDbFdnInsertRecord(%d) failed\n",
               fdn.nSlotIndex);
    }
  }
  return TRUE;
}

BOOL CCtSvcPhonebookMgr::__ReloadAdnRecordsToDB() {
  if (!CtSvcDbPersonDeleteRecordsWithDeviceType(CTSVC_USE_TYPE_SIM)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::__ReloadAdnRecordsToDB - CtSvcDbPersonDeleteRecordsWithDeviceType failed\n");
    return FALSE;
  }
  const int nMaxCount = CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_ADN);
  if (CtSvcSimGetTotalUsedRecordCount(CTSVC_SIM_ADN) <= 0) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::__ReloadAdnRecordsToDB: ADN record is empty(nMaxCount = %d)\n",
             nMaxCount);
    SetSHA1();
    return TRUE;
  }
  if (m_pBulkOperation != nullptr) {
    _DeleteBulkOperation();
  }
  auto pOperation = std::make_unique<CCtSvcBulkOpInsertDb>();
  CCtSvcBulkHandler* pHandler = CCtSvcBulkHandler::Instance();
  if (pHandler == nullptr || !pHandler->RegisterBulkOperation(pOperation.get(), this)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::__ReloadAdnRecordsToDB - RegisterBulkOperation failed\n");
    return FALSE;
  }
  m_pBulkOperation = std::move(pOperation);
  auto* pInsert = static_cast<CCtSvcBulkOpInsertDb*>(m_pBulkOperation.get());
  for (int i = 0; i < nMaxCount; ++i) {
    if (CtSvcSimIsUsedRecord(CTSVC_SIM_ADN, i) > 0) {
      pInsert->AddAdnRecord(i);
    }
  }
  CtSvcDbListenerPause();
  if (!pHandler->Start()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::__ReloadAdnRecordsToDB - CCtSvcBulkHandler::Start failed\n");
    _DeleteBulkOperation();
    return FALSE;
  }
  // No record could be read: the copy finished at once, without a run to report its end.
  if (pHandler->GetState() != CTSVC_BULK_RUNNING) {
    _DeleteBulkOperation();
    SetSHA1();
  }
  return TRUE;
}
