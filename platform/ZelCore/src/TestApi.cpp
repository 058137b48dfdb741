// Test overrides of the platform core: clock, IMEI, power-off and UUID failure, plus the reset of
// every override between tests.
#include <mutex>

#include "TestOverrides.h"
#include "ZelCoreTest.h"
#include "ZelImmortal.h"
#include "ZelPhs.h"

namespace {

const char kDefaultImei[] = "350000000000006";

struct Overrides {
  std::mutex mutex;
  std::optional<zel::internal::TestClock> clock;
  std::optional<std::string> imei{kDefaultImei};
  bool bPowerOff = false;
  bool bUuidFailure = false;
};

Overrides& TheOverrides() {
  static zel::Immortal<Overrides> s_overrides;
  return s_overrides.Get();
}

template <typename F>
auto Locked(F f) {
  Overrides& o = TheOverrides();
  std::lock_guard<std::mutex> lock(o.mutex);
  return f(o);
}

}  // namespace

namespace zel::internal {

std::optional<TestClock> GetTestClock() {
  return Locked([](Overrides& o) { return o.clock; });
}
std::optional<std::string> GetImei() {
  return Locked([](Overrides& o) { return o.imei; });
}
bool IsPowerOff() {
  return Locked([](Overrides& o) { return o.bPowerOff; });
}
bool IsUuidFailureForced() {
  return Locked([](Overrides& o) { return o.bUuidFailure; });
}

}  // namespace zel::internal

namespace zel::test {

void SetClock(uint32_t nUtcSeconds, int32_t nLocalOffsetSeconds) {
  Locked([&](Overrides& o) { o.clock = zel::internal::TestClock{nUtcSeconds, nLocalOffsetSeconds}; });
}

void ClearClock() {
  Locked([](Overrides& o) { o.clock.reset(); });
}

void SetPhoneStatus(uint32_t nKey, int32_t nValue) { PhsSetStatus(nKey, nValue); }

void SetImei(const char* pszImei) {
  Locked([&](Overrides& o) {
    if (pszImei != nullptr) {
      o.imei = std::string(pszImei);
    } else {
      o.imei.reset();
    }
  });
}

void SetPowerOff(bool bPowerOff) {
  Locked([&](Overrides& o) { o.bPowerOff = bPowerOff; });
}

void SetUuidFailure(bool bFail) {
  Locked([&](Overrides& o) { o.bUuidFailure = bFail; });
}

void ResetPlatformState() {
  Locked([](Overrides& o) {
    o.clock.reset();
    o.imei = std::string(kDefaultImei);
    o.bPowerOff = false;
    o.bUuidFailure = false;
  });
  zel::internal::ResetPhoneStatus();
  SetVolumeFull(false);
  SetAvailableSize(-1);
}

// Stand-in until the database layer, which owns the volume-full override, is linked in; its
// definition replaces this one.
__attribute__((weak)) void SetVolumeFull(bool) {}

}  // namespace zel::test
