#include <new>

#include "CtSvcSim/SimUpdater/CtSvcSimAdnUpdater.h"
#include "CtSvcSim/SimUpdater/CtSvcSimXdnUpdater.h"
#include "ZelDebug.h"

namespace {

template <class TUpdater>
std::unique_ptr<ICtSvcSimUpdater> Make(ICtSvcSimFileContainer* pContainer) {
  return std::unique_ptr<ICtSvcSimUpdater>(new (std::nothrow) TUpdater(pContainer));
}

}  // namespace

std::unique_ptr<ICtSvcSimUpdater> CtSvcSimCreateUpdater(int nSimFileID, ICtSvcSimFileContainer* pContainer) {
  switch (nSimFileID) {
    case CTSVC_SIM_ADN:
      return Make<CCtSvcSimAdnUpdater>(pContainer);
    case CTSVC_SIM_FDN:
      return Make<CCtSvcSimFdnUpdater>(pContainer);
    case CTSVC_SIM_SDN:
      return Make<CCtSvcSimSdnUpdater>(pContainer);
    case CTSVC_SIM_MSISDN:
      return Make<CCtSvcSimMsisdnUpdater>(pContainer);
    case CTSVC_SIM_GAS:
      return Make<CCtSvcSimGasUpdater>(pContainer);
    case CTSVC_SIM_AAS:
      return Make<CCtSvcSimAasUpdater>(pContainer);
    default:
      DbgPrint(DBG_CLASS_FAIL, "CtSvcSimCreateUpdater - SimFileID(%d) has no updater\n", nSimFileID);
      return nullptr;
  }
}
