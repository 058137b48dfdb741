// Test API of the telephony library: sets what the card reports. Production code never includes
// this header.
#ifndef ZEL_TAPI_TEST_H
#define ZEL_TAPI_TEST_H

namespace zel::test {

// Sets the IMSI SimGetImsiInfo answers: mcc 3 digits, mnc 2 or 3 digits, msin up to 10 digits.
// False (nothing changed) for any other text.
bool SetTapiImsi(const char* pszMcc, const char* pszMnc, const char* pszMsin);
// No IMSI: SimGetImsiInfo answers FALSE.
void ClearTapiImsi();

}  // namespace zel::test

#endif
