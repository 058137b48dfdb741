// The SIM state the AT phonebook answers read: whether the SIM phonebook can be read, and how many
// records it holds.
#include <algorithm>

#include "CtSvcEHAtPb.h"
#include "CtSvcSim/SimFile/CtSvcSimFileTypes.h"
#include "CtSvcSimCi.h"
#include "ZelDebug.h"
#include "ZelPhs.h"

namespace {

// ANR files counted with the ADN in the SIM capacity.
constexpr int kCountedAnrFiles = 3;

}  // namespace

bool CtSvcEHAtSimAccessible(void) {
  if (PhsGetStatus(PSV_BT_REMOTE_SIM_CONNECTED) == 1 || PhsGetStatus(PSV_SIM_MODE_NOSIM) == 1) {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcEHAtSimAccessible: - the SIM is used remotely or absent\n");
    return false;
  }
  const int nCardType = CtSvcSimGetCardType();
  if (nCardType != CTSVC_SIM_CARD_TYPE_GSM && nCardType != CTSVC_SIM_CARD_TYPE_USIM) {
    return false;
  }
  return CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_ADN) > 0;
}

int CtSvcEHAtSimCapacity(void) { return CtSvcEHAtSimAccessible() ? CtSvcEHAtSimAdnAnrTotal() : 0; }

int CtSvcEHAtSimAdnAnrTotal(void) {
  int nCapacity = std::max(0, CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_ADN));
  for (int i = 0; i < kCountedAnrFiles; ++i) {
    nCapacity += std::max(0, CtSvcSimGetMaxRecordCount(CTSVC_SIM_ANR, 0, i));
  }
  return nCapacity;
}
