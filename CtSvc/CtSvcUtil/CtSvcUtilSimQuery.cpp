// Answers the status helpers' SIM questions through the SIM manager.
#include "CtSvcUtil/CtSvcUtilSimQuery.h"

#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "CtSvcSimCi/CtSvcSimPhonebookSeam.h"
#include "ZelCommTAPI/ZelSim.h"
#include "ZelDebug.h"
#include "ZelPhs.h"

namespace {

constexpr UINT32 kPhsRemoteSim = 0x0F;
constexpr UINT32 kPhsNoSim = 0x3A;

const SimServiceTableInfo* ServiceTable(int nCardType) {
  return nCardType == CTSVC_SIM_CARD_TYPE_USIM ? SimGetUstInfo() : SimGetSstInfo();
}

}  // namespace

bool CtSvcSimIsNoSimMode() { return PhsGetStatus(kPhsNoSim) == 1; }
bool CtSvcSimIsRemote() { return PhsGetStatus(kPhsRemoteSim) == 1; }

bool CtSvcSimOffersSdn() {
  const SimServiceTableInfo* pTable = ServiceTable(CCtSvcSimMgr::Instance()->GetCardType());
  if (pTable != nullptr && pTable->sdn != 0) {
    return true;
  }
  const SimCphsInfo* pCphs = SimGetCphsInfo();
  return pCphs != nullptr && pCphs->infoNumbers != 0 && pCphs->infoNumbersActive != 0;
}

int CtSvcAskSim(const CtSvcSimQueryItem& item, int nPbrIndex) {
  CCtSvcModuleLock lock;
  const CCtSvcSimMgr* pMgr = CCtSvcSimMgr::Instance();
  CtSvcSimFileInfo info{};
  switch (item.query) {
    case CtSvcSimQuery::TextLength:
      return pMgr->GetRecordStringLength(item.nSimFileID);
    case CtSvcSimQuery::RecordLength:
      return pMgr->GetFileInfo(item.nSimFileID, nPbrIndex, item.nSubIndex, &info) ? info.recordLen : 0;
    case CtSvcSimQuery::TotalCount:
      return pMgr->GetTotalMaxRecordCount(item.nSimFileID);
    case CtSvcSimQuery::TotalUsed:
      return pMgr->GetTotalUsedRecordCount(item.nSimFileID);
    case CtSvcSimQuery::InUse:
      return pMgr->IsUsedFile(item.nSimFileID, nPbrIndex, item.nSubIndex);
    case CtSvcSimQuery::Count:
      return pMgr->GetMaxRecordCount(item.nSimFileID, nPbrIndex, item.nSubIndex);
    case CtSvcSimQuery::Used:
      return pMgr->GetUsedRecordCount(item.nSimFileID, nPbrIndex, item.nSubIndex);
    case CtSvcSimQuery::AnrFiles:
      return pMgr->GetPbrEntryCount(nPbrIndex, CTSVC_SIM_ENTRY_ANR);
    case CtSvcSimQuery::Twenty:
      return 20;
    case CtSvcSimQuery::SdnOrCphs:
      return CtSvcSimOffersSdn() ? 1 : 0;
  }
  return 0;
}

bool CtSvcSimStatusReady(const char* pszCaller, bool bLog) {
  const int nCardType = CCtSvcSimMgr::Instance()->GetCardType();
  if ((nCardType != CTSVC_SIM_CARD_TYPE_GSM && nCardType != CTSVC_SIM_CARD_TYPE_USIM) || CtSvcSimIsNoSimMode()) {
    if (bLog) {
      DbgPrint(DBG_CLASS_FAIL, "%s - CTSVC_SIM_CARD_TYPE_UNKNOWN or NO SIM mode\n", pszCaller);
    }
    return false;
  }
  if (!CtSvcSimPhonebookIsInitialized()) {
    if (bLog) {
      DbgPrint(DBG_CLASS_FAIL, "%s - Phonebook initialization do not complete\n", pszCaller);
    }
    return false;
  }
  return true;
}
