// Whether SIM files are offered and reachable: card type, files enabled by the service tables,
// FDN mode, the phonebook's loading state, and whether the own number and e-mails may go to the SIM.
#include "CtSvcSetting/CtSvcRegFile.h"
#include "CtSvcSetting/CtSvcSettingKeys.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "CtSvcSimCi.h"
#include "CtSvcSimCi/CtSvcSimPhonebookSeam.h"
#include "CtSvcStatus.h"
#include "CtSvcUtil/CtSvcUtilSimQuery.h"
#include "ZelCommTAPI/ZelSim.h"
#include "ZelDebug.h"
#include "ZelNv.h"

namespace {

constexpr int kEmailInUseStatusType = 25;
constexpr UINT32 kNvDefaultStorage = 0x54D;
constexpr int kAccessAdministrative = 8;
constexpr int kAccessNever = 0xFF;

// The service table of the inserted card, null when it has none.
const SimServiceTableInfo* CardServiceTable(bool bUsim) { return bUsim ? SimGetUstInfo() : SimGetSstInfo(); }

BOOL IsEnabledByService(int nSimFileId, bool bUsim) {
  const SimServiceTableInfo* pTable = CardServiceTable(bUsim);
  switch (nSimFileId) {
    case 0:  // ADN: always there on a USIM
      return bUsim || (pTable != nullptr && pTable->adn != 0) ? TRUE : FALSE;
    case 1:  // FDN: offered and switched on
      return pTable != nullptr && pTable->fdn != 0 && SimGetFdnEnable() ? TRUE : FALSE;
    case 2:
      return CtSvcSimOffersSdn() ? TRUE : FALSE;
    default:  // 3: MSISDN
      return pTable != nullptr && pTable->msisdn != 0 ? TRUE : FALSE;
  }
}

// The SIM file a record type of CtIsRecordAccessable reads.
int FileOfRecordType(int nRecordType) {
  switch (nRecordType) {
    case CT_RECORD_TYPE_ADN:
      return CTSVC_SIM_ADN;
    case CT_RECORD_TYPE_SDN:
      return CTSVC_SIM_SDN;
    case CT_RECORD_TYPE_FDN:
      return CTSVC_SIM_FDN;
    default:
      return CTSVC_SIM_MSISDN;
  }
}

// An ADN file that may not be read and written: new contacts and the list go back to the phone.
void ResetStorageToPhone() {
  NvSetInt(kNvDefaultStorage, 0);
  CCtSvcRegFile settings(kSettingsFile, true);
  if (!settings.IsLoaded()) {
    if (settings.WasMissing()) {
      DbgPrint(DBG_CLASS_FAIL, "CtIsRecordAccessable: RegLoad() Failed hReg=%d\n", static_cast<int>(settings.LoadError()));
    } else {
      DbgPrint(DBG_CLASS_FAIL, "CtIsRecordAccessable: errCode=%d\n", static_cast<int>(settings.LoadError()));
    }
    return;
  }
  for (const char* pszKey : {kKeyItemStorage, kKeyViewStorage}) {
    if (settings.GetInt(kSectionOne, pszKey, 0) != 0) {
      settings.SetInt(kSectionOne, pszKey, 0);
      settings.Flush();
    }
  }
}

}  // namespace

extern "C" int CtSimGetCardType(void) {
  DbgPrint(DBG_CLASS_TRACE, "CtSimGetCardType -Entered\n");
  const int nType = CtSvcSimGetCardType();
  if (nType < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CtSimGetCardType -CtSvcSimGetCardType( void ) is FAILED\n");
    return CTSVC_SIM_CARD_TYPE_UNKNOWN;
  }
  return nType == CTSVC_SIM_CARD_TYPE_GSM || nType == CTSVC_SIM_CARD_TYPE_USIM ? nType : CTSVC_SIM_CARD_TYPE_UNKNOWN;
}

extern "C" BOOL CtSimIsFdnMode(void) { return SimGetFdnEnable() ? TRUE : FALSE; }

extern "C" BOOL CtSimIsEnabled(int nSimFileId) {
  if (!ZEL_REQUIRE_TEXT(nSimFileId > CTSVC_SIM_FILE_ID_INVALID && nSimFileId < CT_SIM_FILE_ID_MAX,
                        "simFileID > CT_SIM_FILE_ID_INVALID && simFileID < CT_SIM_FILE_ID_MAX")) {
    return FALSE;
  }
  const bool bUsim = CCtSvcSimMgr::Instance()->GetCardType() == CTSVC_SIM_CARD_TYPE_USIM;
  if (nSimFileId <= CTSVC_SIM_MSISDN) {
    return IsEnabledByService(nSimFileId, bUsim);
  }
  if (nSimFileId <= CTSVC_SIM_CCP1) {
    return bUsim ? TRUE : FALSE;
  }
  if (nSimFileId == CTSVC_SIM_ANR) {
    // Additional numbers belong to the USIM's local phonebook service.
    const SimServiceTableInfo* pTable = bUsim ? SimGetUstInfo() : nullptr;
    return pTable != nullptr && pTable->adn != 0 ? TRUE : FALSE;
  }
  DbgPrint(DBG_CLASS_FAIL, "CtSimIsEnabled: simFileID(=%d) is not supported!\n", nSimFileId);
  return FALSE;
}

extern "C" int CtSimGetSimLoadingStatus(void) { return CtSvcSimPhonebookIsInitialized() ? 1 : 2; }

extern "C" BOOL CtSvcIsEditableOwnNumber(void) {
  CtSvcSimFileInfo info{};
  if (CtSvcSimGetFileInfo(CTSVC_SIM_MSISDN, 0, 0, &info) && info.availability != 0 &&
      (info.acUpdate == kAccessAdministrative || info.acUpdate == kAccessNever)) {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcIsEditableOwnNumber - info.acUpdate(%d)!!!\n", info.acUpdate);
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL CtIsEnableStoreEmailinSIM(void) {
  int nStorage = 2;
  {
    CCtSvcRegFile settings(kSettingsFile, true);
    nStorage = settings.GetInt(kSectionOne, kKeyItemStorage, 2);
  }
  if (nStorage == 0) {
    DbgPrint(DBG_CLASS_TRACE, "CtIsEnableStoreEmailinSIM: Default Storage : PHONE!!\n");
    return FALSE;
  }
  const int nEmailInUse = CtSimGetStatusType(kEmailInUseStatusType);
  if (nEmailInUse == 1) {
    return TRUE;
  }
  DbgPrint(DBG_CLASS_TRACE, "CtIsEnableStoreEmailinSIM: Default Storage : %d, SimStatus : %d\n", nStorage, nEmailInUse);
  return FALSE;
}

extern "C" BOOL CtIsRecordAccessable(int nRecordType) {
  DbgPrint(DBG_CLASS_TRACE, "CtIsRecordAccessable -Entered\n");
  if (!ZEL_REQUIRE_TEXT(nRecordType >= CT_RECORD_TYPE_NONE && nRecordType <= CT_RECORD_TYPE_MSISDN,
                        "recordType > CT_RECORD_TYPE_NONE && recordType < CT_RECORD_TYPE_END")) {
    return FALSE;
  }
  if (nRecordType == CT_RECORD_TYPE_NONE) {
    return TRUE;
  }
  if (CtSvcSimIsRemote()) {
    DbgPrint(DBG_CLASS_FAIL, "CtIsRecordAccessable - record is not accessable(PSV_BT_REMOTE_SIM_CONNECTED)");
    return FALSE;
  }
  if (CtSvcSimIsNoSimMode()) {
    DbgPrint(DBG_CLASS_FAIL, "CtIsRecordAccessable - record is not accessable(PSV_SIM_MODE_NOSIM)");
    return FALSE;
  }
  if (!CtSvcSimPhonebookIsInitialized()) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcPhonebookIsInitialized  is FALSE\n");
    return FALSE;
  }
  const int nSimFileID = FileOfRecordType(nRecordType);
  CtSvcSimFileInfo info{};
  if (!CtSvcSimGetFileInfo(nSimFileID, 0, 0, &info)) {
    DbgPrint(DBG_CLASS_FAIL, "CtIsRecordAccessable -CtSvcSimGetFileInfo( void ) is FAILED!\n");
    info = CtSvcSimFileInfo{};
  }
  if (nSimFileID != CTSVC_SIM_ADN || info.bInvalidbutRWallowed) {
    DbgPrint(DBG_CLASS_TRACE, "simFileInfo.bInvalidbutRWallowed == TRUE");
    return TRUE;
  }
  DbgPrint(DBG_CLASS_TRACE, "simFileInfo.bInvalidbutRWallowed == FALSE");
  ResetStorageToPhone();
  DbgPrint(DBG_CLASS_TRACE, "CtIsRecordAccessable: simFileInfo.bInvalidbutRWallowed = %d\n", info.bInvalidbutRWallowed);
  return FALSE;
}
