// The extended commands of the AT command line that a phone answers by itself (identification,
// error reporting, character set, functionality), the command table and argument parsing.
#include <algorithm>
#include <cctype>

#include "AtCharset.h"
#include "AtCommand.h"

namespace zel::at {

namespace {

// AT+CGMI, +CGMM, +CGMR, +CGSN: the text, or nothing for the test form.
Outcome Identification(Call& call, const std::string& strText) {
  if (call.mode == Mode::Test) {
    return Outcome::Ok();
  }
  if (call.mode != Mode::Exec) {
    return Outcome::Error();
  }
  call.vcLines.push_back(strText);
  return Outcome::Ok();
}

Outcome RunCgmi(Call& call) { return Identification(call, call.session.identity.strManufacturer); }
Outcome RunCgmm(Call& call) { return Identification(call, call.session.identity.strModel); }
Outcome RunCgmr(Call& call) { return Identification(call, call.session.identity.strRevision); }
Outcome RunCgsn(Call& call) { return Identification(call, call.session.identity.strSerial); }

// A setting command: =? lists the values, ? shows the setting, =<args> (or the bare command,
// with no arguments) sets it.
Outcome Setting(Call& call, const std::string& strValues, const std::string& strCurrent, Outcome (*pfnSet)(Call&)) {
  switch (call.mode) {
    case Mode::Test:
      call.vcLines.push_back(strValues);
      return Outcome::Ok();
    case Mode::Read:
      call.vcLines.push_back(strCurrent);
      return Outcome::Ok();
    case Mode::Exec:
    case Mode::Set:
      break;
  }
  return pfnSet(call);
}

// AT+CMEE=<n>; the bare command sets 0.
Outcome SetCmee(Call& call) {
  int nValue = 0;
  if (call.vcArgs.size() > 1 || (call.vcArgs.size() == 1 && (!IntArg(call.vcArgs[0], &nValue) || nValue > 2))) {
    return Outcome::Cme(kCmeIncorrectParameters);
  }
  call.session.nCmee = nValue;
  return Outcome::Ok();
}

Outcome SetCscs(Call& call) {
  if (call.vcArgs.size() != 1 || !call.vcArgs[0].bQuoted) {
    return Outcome::Cme(kCmeIncorrectParameters);
  }
  // A client may write the name in the set in use (UCS2: hex).
  std::string strName = call.vcArgs[0].strValue;
  std::string strDecoded;
  if (call.session.charset == Charset::Ucs2 && DecodeText(Charset::Ucs2, strName, &strDecoded)) {
    strName = strDecoded;
  }
  return CharsetFromName(strName, &call.session.charset) ? Outcome::Ok() : Outcome::Cme(kCmeNotSupported);
}

Outcome SetCfun(Call& call) {
  int nFun = 0;
  int nReset = 0;
  if (call.vcArgs.empty() || call.vcArgs.size() > 2 || !IntArg(call.vcArgs[0], &nFun) ||
      (nFun != 0 && nFun != 1 && nFun != 4) ||
      (call.vcArgs.size() == 2 && (!IntArg(call.vcArgs[1], &nReset) || nReset > 1))) {
    return Outcome::Cme(kCmeIncorrectParameters);
  }
  call.session.nCfun = nFun;
  return Outcome::Ok();
}

Outcome RunCmee(Call& call) {
  return Setting(call, "+CMEE: (0-2)", "+CMEE: " + std::to_string(call.session.nCmee), &SetCmee);
}
Outcome RunCscs(Call& call) {
  return Setting(call, "+CSCS: (\"GSM\",\"UCS2\",\"UTF-8\",\"IRA\")",
                 std::string("+CSCS: \"") + CharsetName(call.session.charset) + "\"", &SetCscs);
}
Outcome RunCfun(Call& call) {
  return Setting(call, "+CFUN: (0,1,4),(0,1)", "+CFUN: " + std::to_string(call.session.nCfun), &SetCfun);
}

struct ExtendedCommand {
  const char* pszName;
  Outcome (*pfnRun)(Call& call);
};

constexpr ExtendedCommand kCommands[] = {
    {"CGMI", &RunCgmi}, {"CGMM", &RunCgmm}, {"CGMR", &RunCgmr}, {"CGSN", &RunCgsn},
    {"CMEE", &RunCmee}, {"CSCS", &RunCscs}, {"CFUN", &RunCfun}, {"CPBS", &RunCpbs},
    {"CPBR", &RunCpbr}, {"CPBF", &RunCpbf}, {"CPBW", &RunCpbw}, {"CNUM", &RunCnum},
};

int HexValue(char c) {
  const int n = std::toupper(static_cast<unsigned char>(c));
  return std::isdigit(n) ? n - '0' : (n >= 'A' && n <= 'F' ? n - 'A' + 10 : -1);
}

// The content of a quoted argument with its \HH escapes undone; false for a bad escape.
bool Unescape(const std::string& strQuoted, std::string* pValue) {
  for (size_t i = 0; i < strQuoted.size(); ++i) {
    if (strQuoted[i] != '\\') {
      *pValue += strQuoted[i];
      continue;
    }
    if (i + 2 >= strQuoted.size() || HexValue(strQuoted[i + 1]) < 0 || HexValue(strQuoted[i + 2]) < 0) {
      return false;
    }
    *pValue += static_cast<char>(HexValue(strQuoted[i + 1]) * 16 + HexValue(strQuoted[i + 2]));
    i += 2;
  }
  return true;
}

}  // namespace

bool IntArg(const Arg& arg, int* pValue) {
  if (arg.bQuoted || arg.strValue.empty() || arg.strValue.size() > 6) {
    return false;
  }
  int nValue = 0;
  for (char c : arg.strValue) {
    if (!std::isdigit(static_cast<unsigned char>(c))) {
      return false;
    }
    nValue = nValue * 10 + (c - '0');
  }
  *pValue = nValue;
  return true;
}

bool ParseArgs(const std::string& strText, std::vector<Arg>* pArgs) {
  size_t i = 0;
  while (true) {
    Arg arg;
    while (i < strText.size() && strText[i] == ' ') {
      ++i;
    }
    if (i < strText.size() && strText[i] == '"') {
      const size_t nClose = strText.find('"', i + 1);
      if (nClose == std::string::npos || !Unescape(strText.substr(i + 1, nClose - i - 1), &arg.strValue)) {
        return false;
      }
      arg.bQuoted = true;
      i = nClose + 1;
      while (i < strText.size() && strText[i] == ' ') {
        ++i;
      }
      if (i < strText.size() && strText[i] != ',') {
        return false;
      }
    } else {
      const size_t nComma = std::min(strText.find(',', i), strText.size());
      arg.strValue = strText.substr(i, nComma - i);
      while (!arg.strValue.empty() && arg.strValue.back() == ' ') {
        arg.strValue.pop_back();
      }
      i = nComma;
    }
    pArgs->push_back(arg);
    if (i >= strText.size()) {
      return true;
    }
    ++i;  // the comma
  }
}

Outcome RunExtended(const std::string& strName, Call& call) {
  for (const ExtendedCommand& command : kCommands) {
    if (strName == command.pszName) {
      return command.pfnRun(call);
    }
  }
  return Outcome::Error();
}

}  // namespace zel::at
