// Inside the AT command line: one extended command as parsed from the line, and what it answers.
#ifndef ZEL_AT_COMMAND_INTERNAL_H
#define ZEL_AT_COMMAND_INTERNAL_H

#include <string>
#include <vector>

#include "ZelAtCommand.h"

namespace zel::at {

// How the command was written: AT+X, AT+X=?, AT+X?, AT+X=<args>.
enum class Mode { Exec, Test, Read, Set };

struct Arg {
  bool bQuoted = false;
  std::string strValue;  // a quoted value without its quotes, \HH escapes undone
};

// +CME ERROR codes.
constexpr int kCmeNotAllowed = 3;
constexpr int kCmeNotSupported = 4;
constexpr int kCmeSimFailure = 13;
constexpr int kCmeMemoryFull = 20;
constexpr int kCmeInvalidIndex = 21;
constexpr int kCmeNotFound = 22;
constexpr int kCmeTextTooLong = 24;
constexpr int kCmeInvalidText = 25;
constexpr int kCmeIncorrectParameters = 50;
constexpr int kCmeUnknown = 100;

// The final result of a command: OK, ERROR, or +CME ERROR with a code.
struct Outcome {
  enum class Kind { Ok, Error, Cme } kind = Kind::Ok;
  int nCme = 0;
  static Outcome Ok() { return {}; }
  static Outcome Error() { return {Kind::Error, 0}; }
  static Outcome Cme(int nCode) { return {Kind::Cme, nCode}; }
};

struct Call {
  AtSession& session;
  IAtPhonebook& phonebook;
  Mode mode;
  std::vector<Arg> vcArgs;
  std::vector<std::string>& vcLines;  // information lines of the answer
};

// Splits "a,\"b\",c" into arguments; false for an unterminated quote or text after a closing one.
bool ParseArgs(const std::string& strText, std::vector<Arg>* pArgs);

// An unquoted decimal argument of up to 6 digits.
bool IntArg(const Arg& arg, int* pValue);

// Runs the extended command (name in upper case, without '+'); ERROR for an unknown one.
Outcome RunExtended(const std::string& strName, Call& call);

// The phonebook commands.
Outcome RunCpbs(Call& call);
Outcome RunCpbr(Call& call);
Outcome RunCpbf(Call& call);
Outcome RunCpbw(Call& call);
Outcome RunCnum(Call& call);

}  // namespace zel::at

#endif
