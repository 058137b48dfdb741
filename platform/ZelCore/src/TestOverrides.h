// What tests have told the platform to report instead of the real thing (see ZelCoreTest.h).
// TestApi.cpp owns the values; Tm, Phs and Sys read them.
#ifndef ZEL_CORE_TEST_OVERRIDES_H
#define ZEL_CORE_TEST_OVERRIDES_H

#include <cstdint>
#include <optional>
#include <string>

namespace zel::internal {

struct TestClock {
  uint32_t nUtcSeconds;
  int32_t nLocalOffsetSeconds;
};

std::optional<TestClock> GetTestClock();
// The IMEI to report; nullopt when the phone has none.
std::optional<std::string> GetImei();
bool IsPowerOff();
bool IsUuidFailureForced();

// Phone status values back to "never set" (owned by Phs.cpp).
void ResetPhoneStatus();

}  // namespace zel::internal

#endif
