#include "CtSvcSimLimits.h"

#include <atomic>

namespace {

class CCtSvcNoSimLimits final : public ICtSvcSimLimits {
 public:
  int GetAdnNumberLength() const override { return CTSVC_SIM_DEFAULT_ADN_NUMBER_LENGTH; }
  int GetAdnNameLength() const override { return CTSVC_SIM_DEFAULT_ADN_NAME_LENGTH; }
  bool HasEmailFile() const override { return false; }
  int GetEmailLength() const override { return 0; }
  bool HasSneFile() const override { return false; }
  int GetSneLength() const override { return 0; }
  int GetFreeAnrCount(int /*nSlotIndex*/) const override { return 0; }
  int GetFreeEmailCount(int /*nSlotIndex*/) const override { return 0; }
  int GetFreeSneCount(int /*nSlotIndex*/) const override { return 0; }
};

const CCtSvcNoSimLimits g_NoSimLimits;
std::atomic<const ICtSvcSimLimits*> g_pSimLimits{&g_NoSimLimits};

}  // namespace

const ICtSvcSimLimits& CtSvcGetSimLimits() { return *g_pSimLimits.load(); }

void CtSvcSetSimLimits(const ICtSvcSimLimits* pLimits) { g_pSimLimits.store(pLimits != nullptr ? pLimits : &g_NoSimLimits); }
