// Test API of the Bluetooth service stand-in: the export completions the contact service reported.
// Production code never includes this header.
#ifndef ZEL_BLUETOOTH_TEST_H
#define ZEL_BLUETOOTH_TEST_H

#include <vector>

#include "ZelTypes.h"

namespace zel::test {

// The completions reported since the last take, in order; clears them.
std::vector<BOOL> TakePbsCompletions();
// Waits until a completion is reported (one reported earlier and not taken counts) and takes it;
// false when none came within nTimeoutMs.
bool WaitPbsCompletion(int nTimeoutMs, BOOL* pbResult);

}  // namespace zel::test

#endif
