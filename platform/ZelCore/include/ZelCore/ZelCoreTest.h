// Test API of the platform core: lets tests read what the platform was told and set what it
// reports. Production code never includes this header.
#ifndef ZEL_CORE_TEST_H
#define ZEL_CORE_TEST_H

#include <cstdint>
#include <string>
#include <vector>

#include "ZelTypes.h"

namespace zel::test {

struct LogLine {
  uint32_t nClass;
  std::string text;  // as formatted, with its trailing newline when it had one
};

struct AssertionRecord {
  int nKind;
  std::string label;  // "ASSERTION_REQUIRE", "ASSERTION_NEVER_GET_HERE"
  std::string expr;
  std::string path;   // "CtSvc/CtSvcDB/DbMgr/CtSvcDbMgr"
  int nLine;
};

// Records every debug line and assertion report made while it lives (all threads).
// Captures may nest; each sees what happened during its own lifetime.
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<LogLine> Lines() const;
  std::vector<AssertionRecord> Assertions() const;
  // True when some line contains the text.
  bool Contains(const std::string& text) const;
  // Number of lines containing the text.
  int Count(const std::string& text) const;
  // True when some assertion's expression equals expr.
  bool HasAssertion(const std::string& expr) const;
  void Clear();

 private:
  int m_nId;
};

// Clock: while set, TmGetTime answers it (UTC seconds) and TmGetLocalTime answers it plus the offset.
void SetClock(uint32_t nUtcSeconds, int32_t nLocalOffsetSeconds = 0);
void ClearClock();

// Phone status, IMEI and power-off state reported by Phs… and _BmIsPowerOffState.
void SetPhoneStatus(uint32_t nKey, int32_t nValue);
void SetImei(const char* pszImei);  // null: unavailable
void SetPowerOff(bool bPowerOff);
// Makes SysGenerateUUID fail (true) or work (false).
void SetUuidFailure(bool bFail);
// Forces Db2IsVolumeFull to answer TRUE (true) or asks the file system again (false).
void SetVolumeFull(bool bFull);
// Lets nWrites more write statements through, then counts the volume as full (as a disk filling
// up in the middle of an operation); a negative count, or SetVolumeFull, ends the count.
void SetVolumeFullAfterWrites(int nWrites);
// Makes FmGetAvailableSize answer nBytes for every path; a negative value asks the file system again.
void SetAvailableSize(int64_t nBytes);
// Manual timers: while on, OsStartTimer only marks a timer armed (no timer thread involved) and the
// test fires armed timers itself, synchronously on its own thread. Turning it off hands the timers
// still armed to the timer thread, due at once.
void SetTimersManual(bool bManual);
// Fires the earliest-armed timer of the name that is armed; false when none is.
bool FireTimer(const char* pszName);
// Fires armed timers (those a callback re-arms included) until none is armed or nMaxFirings were
// fired; the number fired.
int FireDueTimers(int nMaxFirings = 1000);
// Resets phone status, IMEI, power-off, UUID, volume and available-size overrides and the clock.
void ResetPlatformState();

}  // namespace zel::test

#endif
