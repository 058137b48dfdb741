// The SIM state the AT phonebook answers read: whether the SIM phonebook can be read, and how many
// records it holds.
#include <algorithm>

#include "CtSvcEHAtPb.h"
#include "CtSvcSim/SimFile/CtSvcSimFileTypes.h"
#include "CtSvcSimCi.h"
#include "CtSvcStatus.h"

namespace {

// ANR files counted with the ADN in the SIM capacity.
constexpr int kCountedAnrFiles = 3;

}  // namespace

// The status helper decides: not over Bluetooth, not in no-SIM mode, the phonebook loaded and the
// ADN file readable and writable in its present state.
bool CtSvcEHAtSimAccessible(void) { return CtIsRecordAccessable(CT_RECORD_TYPE_ADN) != FALSE; }

int CtSvcEHAtSimCapacity(void) { return CtSvcEHAtSimAccessible() ? CtSvcEHAtSimAdnAnrTotal() : 0; }

int CtSvcEHAtSimAdnAnrTotal(void) {
  int nCapacity = std::max(0, CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_ADN));
  for (int i = 0; i < kCountedAnrFiles; ++i) {
    nCapacity += std::max(0, CtSvcSimGetMaxRecordCount(CTSVC_SIM_ANR, 0, i));
  }
  return nCapacity;
}
