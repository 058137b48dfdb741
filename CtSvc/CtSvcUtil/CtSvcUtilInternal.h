// Internal helpers of the contact utilities, shared between their sources and with tests.
#ifndef CTSVC_UTIL_INTERNAL_H
#define CTSVC_UTIL_INTERNAL_H

#include <cstddef>
#include <string>

#include "CtSvcPerson.h"

// Forgets the cached "CLIDigits" setting so that the next call reads "CtSet.ini" again (a test
// changes the setting file or the data directory).
void CtSvcUtilResetCliDigitsCache();

// What the phone-number scanner found in a number.
struct CtSvcNumberScan {
  bool bValid;
  bool bServiceString;  // starts with '*' or '#'
  int nNumberStart;     // position of the dialled number, -1 when a service string has none
};

// Judges a number of nLen bytes: a plain number may carry '+' only as its first character; a
// supplementary-service string only at its number start (the first digit or '+' after the first
// '*' or '#' that follows a digit).
CtSvcNumberScan CtSvcScanPhoneNumber(const char* pszNumber, size_t nLen);

// A person's name as lists show it: the first name, a space when both are set, the last name.
std::string CtSvcUtilDisplayName(const CtSvcPersonInfo& info);

#endif
