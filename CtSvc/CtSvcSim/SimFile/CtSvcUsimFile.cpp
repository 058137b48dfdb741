#include "CtSvcSim/SimFile/CtSvcUsimFile.h"

#include "CtSvcSim/SimFile/CtSvcSimFileIds.h"

int CtSvcSimUsimFileID(int nSimFileID, int nPbrIndex, int nNth) {
  ICtSvcDevSimMgr* pMgr = CtSvcGetDevSimMgr();
  if (pMgr->GetCardType() != CTSVC_SIM_CARD_TYPE_USIM) {
    ZEL_NEVER_GET_HERE("GetCardType() == CTSVC_SIM_CARD_TYPE_USIM");
  }
  return CtSvcSimGetTelephonyFileID(nSimFileID, CTSVC_SIM_CARD_TYPE_USIM, nPbrIndex, nNth);
}
