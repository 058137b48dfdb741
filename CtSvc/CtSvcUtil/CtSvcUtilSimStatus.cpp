// The SIM's phonebook capacities: one number per status type, or all of them in one structure.
#include <iterator>

#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "CtSvcStatus.h"
#include "CtSvcUtil/CtSvcUtilSimQuery.h"
#include "ZelCommTAPI/ZelSim.h"
#include "ZelDebug.h"

namespace {

using Q = CtSvcSimQuery;

// What each status type asks, in type order.
const CtSvcSimQueryItem kStatusTypes[CTSVC_SIM_STATUS_TYPE_MAX] = {
    {Q::TextLength, CTSVC_SIM_ADN, 0},   {Q::RecordLength, CTSVC_SIM_ADN, 0}, {Q::TotalCount, CTSVC_SIM_ADN, 0},
    {Q::TotalUsed, CTSVC_SIM_ADN, 0},    {Q::TextLength, CTSVC_SIM_FDN, 0},   {Q::RecordLength, CTSVC_SIM_FDN, 0},
    {Q::TotalCount, CTSVC_SIM_FDN, 0},   {Q::TotalUsed, CTSVC_SIM_FDN, 0},    {Q::AnrFiles, CTSVC_SIM_ANR, 0},
    {Q::InUse, CTSVC_SIM_ANR, 0},        {Q::RecordLength, CTSVC_SIM_ANR, 0}, {Q::Count, CTSVC_SIM_ANR, 0},
    {Q::Used, CTSVC_SIM_ANR, 0},         {Q::InUse, CTSVC_SIM_ANR, 1},        {Q::RecordLength, CTSVC_SIM_ANR, 1},
    {Q::Count, CTSVC_SIM_ANR, 1},        {Q::Used, CTSVC_SIM_ANR, 1},         {Q::InUse, CTSVC_SIM_ANR, 2},
    {Q::RecordLength, CTSVC_SIM_ANR, 2}, {Q::Count, CTSVC_SIM_ANR, 2},        {Q::Used, CTSVC_SIM_ANR, 2},
    {Q::InUse, CTSVC_SIM_ANR, 3},        {Q::RecordLength, CTSVC_SIM_ANR, 3}, {Q::Count, CTSVC_SIM_ANR, 3},
    {Q::Used, CTSVC_SIM_ANR, 3},         {Q::InUse, CTSVC_SIM_EMAIL, 0},      {Q::TextLength, CTSVC_SIM_EMAIL, 0},
    {Q::Count, CTSVC_SIM_EMAIL, 0},      {Q::Used, CTSVC_SIM_EMAIL, 0},       {Q::TextLength, CTSVC_SIM_SNE, 0},
    {Q::Count, CTSVC_SIM_SNE, 0},        {Q::Used, CTSVC_SIM_SNE, 0},         {Q::InUse, CTSVC_SIM_SNE, 0},
    {Q::Twenty, CTSVC_SIM_ADN, 0},       {Q::Count, CTSVC_SIM_EXT1, 0},       {Q::Used, CTSVC_SIM_EXT1, 0},
    {Q::RecordLength, CTSVC_SIM_GAS, 0}, {Q::Count, CTSVC_SIM_GAS, 0},        {Q::Used, CTSVC_SIM_GAS, 0},
    {Q::RecordLength, CTSVC_SIM_GRP, 0}, {Q::RecordLength, CTSVC_SIM_AAS, 0}, {Q::Count, CTSVC_SIM_AAS, 0},
    {Q::Used, CTSVC_SIM_AAS, 0},         {Q::SdnOrCphs, CTSVC_SIM_SDN, 0},
};

CtSimFileCounts FileCounts(int nSimFileID, int nSubIndex) {
  return {CtSvcAskSim({Q::Count, nSimFileID, nSubIndex}), CtSvcAskSim({Q::Used, nSimFileID, nSubIndex}),
          CtSvcAskSim({Q::RecordLength, nSimFileID, nSubIndex})};
}

CtSimRecordCounts RecordCounts(int nSimFileID) {
  return {CtSvcAskSim({Q::Count, nSimFileID, 0}), CtSvcAskSim({Q::Used, nSimFileID, 0})};
}

// The parts only a USIM card has: the files of the PBR records, groups and additional-number names.
void FillUsimParts(CtSimStatus* pStatus) {
  for (int n = 0; n < 4; ++n) {
    pStatus->Anr[n] = FileCounts(CTSVC_SIM_ANR, n);
  }
  pStatus->Email = FileCounts(CTSVC_SIM_EMAIL, 0);
  pStatus->Sne = FileCounts(CTSVC_SIM_SNE, 0);
  pStatus->Gas = FileCounts(CTSVC_SIM_GAS, 0);
  pStatus->nGrpRecordLength = CtSvcAskSim({Q::RecordLength, CTSVC_SIM_GRP, 0});
  pStatus->Aas = FileCounts(CTSVC_SIM_AAS, 0);
  if (CtSvcAskSim({Q::Count, CTSVC_SIM_PBR, 0}) > 1) {
    for (int n = 0; n < 4; ++n) {
      pStatus->nAnrUsedCount2[n] = CtSvcAskSim({Q::Used, CTSVC_SIM_ANR, n}, 1);
    }
    pStatus->nSneUsedCount2 = CtSvcAskSim({Q::Used, CTSVC_SIM_SNE, 0}, 1);
    pStatus->nEmailUsedCount2 = CtSvcAskSim({Q::Used, CTSVC_SIM_EMAIL, 0}, 1);
    pStatus->bSecondPbrRecord = 1;
  }
}

}  // namespace

extern "C" int CtSimGetStatusType(int nStatusType) {
  if (!ZEL_REQUIRE(nStatusType >= 0 && nStatusType < CTSVC_SIM_STATUS_TYPE_MAX)) {
    return -1;
  }
  if (!CtSvcSimStatusReady("CtSimGetStatusType", false)) {
    return 0;
  }
  return CtSvcAskSim(kStatusTypes[nStatusType]);
}

extern "C" BOOL CtSimGetStatus(CtSimStatus* pCtSimStatus) {
  if (!ZEL_REQUIRE(pCtSimStatus != nullptr) || !CtSvcSimStatusReady("CtSimGetStatus", true)) {
    return FALSE;
  }
  CtSimStatus status{};
  status.bFdnEnabled = SimGetFdnEnable() ? 1 : 0;
  status.nAdnNameLength = CtSvcAskSim({Q::TextLength, CTSVC_SIM_ADN, 0});
  status.nFdnNameLength = CtSvcAskSim({Q::TextLength, CTSVC_SIM_FDN, 0});
  status.nAdnRecordCount = CtSvcAskSim({Q::TotalCount, CTSVC_SIM_ADN, 0});
  status.nAdnUsedCount = CtSvcAskSim({Q::TotalUsed, CTSVC_SIM_ADN, 0});
  status.nFdnRecordCount = CtSvcAskSim({Q::TotalCount, CTSVC_SIM_FDN, 0});
  status.nFdnUsedCount = CtSvcAskSim({Q::TotalUsed, CTSVC_SIM_FDN, 0});
  status.nAnrFileCount = CtSvcAskSim({Q::AnrFiles, CTSVC_SIM_ANR, 0});
  status.Ext1 = RecordCounts(CTSVC_SIM_EXT1);
  status.Ext2 = RecordCounts(CTSVC_SIM_EXT2);
  const bool bUsim = CCtSvcSimMgr::Instance()->GetCardType() == CTSVC_SIM_CARD_TYPE_USIM;
  status.Ext5 = RecordCounts(bUsim ? CTSVC_SIM_EXT5 : CTSVC_SIM_EXT1);
  if (bUsim) {
    FillUsimParts(&status);
  }
  *pCtSimStatus = status;
  return TRUE;
}
