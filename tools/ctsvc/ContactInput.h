// What a user gives for a contact on the command line (add, update), its checks, and the
// warnings for texts the store keeps shorter than they were given.
#ifndef CTSVC_TOOL_CONTACT_INPUT_H
#define CTSVC_TOOL_CONTACT_INPUT_H

#include <cstddef>
#include <string>
#include <vector>

#include "Args.h"
#include "CtSvcTypes.h"

namespace ctsvc_tool {

struct ContactInput {
  bool bFirst = false, bLast = false, bNumbers = false, bEmails = false, bBirthday = false;
  std::string strFirst, strLast;
  std::vector<std::string> vcNumbers, vcEmails;
  TmDateTime birthday{};  // the unset date when cleared

  // Reads --first, --last, --number, --email and --birthday; "" and false with a usage message
  // in strError when a value is bad.
  bool Read(const Args& args, std::string& strError);
  bool IsEmpty() const { return !bFirst && !bLast && !bNumbers && !bEmails && !bBirthday; }
};

// Copies text into a character array of nSize bytes, cut at a character boundary, terminated.
void PutText(char* pArray, size_t nSize, const std::string& strText);
template <size_t N>
void PutText(char (&szArray)[N], const std::string& strText) {
  PutText(szArray, N, strText);
}

// Compares what was given with what the person now holds and warns of every text the store
// keeps shorter, naming the field and both lengths (in characters).
void WarnOfCuts(const ContactInput& input, int nPersonId);

}  // namespace ctsvc_tool

#endif
