// The phonebook commands of the AT command line: AT+CPBS, +CPBR, +CPBF, +CPBW and +CNUM, served
// by the phonebook behind IAtPhonebook.
#include <algorithm>
#include <cctype>

#include "AtCharset.h"
#include "AtCommand.h"

namespace zel::at {

namespace {

constexpr int kNumberLength = TAPI_AT_PB_NUMBER_SIZE - 1;
constexpr int kTypeInternational = 145;
constexpr int kTypeNational = 129;

struct MemoryName {
  Memory memory;
  const char* pszName;
  int nDevice;  // of the indications; -1 for the own numbers
};
constexpr MemoryName kMemories[] = {
    {Memory::Phone, "ME", TAPI_AT_PB_DEVICE_PHONE},
    {Memory::Sim, "SM", TAPI_AT_PB_DEVICE_SIM},
    {Memory::Fdn, "FD", TAPI_AT_PB_DEVICE_FDN},
    {Memory::OwnNumbers, "ON", -1},
};

const MemoryName& Selected(const AtSession& session) {
  for (const MemoryName& name : kMemories) {
    if (name.memory == session.memory) {
      return name;
    }
  }
  return kMemories[0];
}

// The +CME ERROR code of a phonebook error; bIndexed for commands that name entries.
Outcome Failure(int nError, bool bIndexed) {
  switch (nError) {
    case TAPI_AT_PB_ERROR_SIM_READ:
      return Outcome::Cme(kCmeSimFailure);
    case TAPI_AT_PB_ERROR_MEM_FULL:
      return Outcome::Cme(kCmeMemoryFull);
    case TAPI_AT_PB_ERROR_INVALID_PHONE_INDEX:
      return Outcome::Cme(kCmeInvalidIndex);
    case TAPI_AT_PB_ERROR_EMPTY_SIM_ENTRY:
      return Outcome::Cme(kCmeNotFound);
    case TAPI_AT_PB_ERROR_DEVICE:
      return Outcome::Cme(bIndexed ? kCmeInvalidIndex : kCmeNotSupported);
    default:
      return Outcome::Cme(kCmeUnknown);
  }
}

// Bytes as a quoted string, with '"', '\', CR and LF escaped (\HH).
std::string EscapeQuoted(const std::string& strBytes) {
  std::string strOut = "\"";
  for (char c : strBytes) {
    switch (c) {
      case '"':
        strOut += "\\22";
        break;
      case '\\':
        strOut += "\\5C";
        break;
      case '\r':
        strOut += "\\0D";
        break;
      case '\n':
        strOut += "\\0A";
        break;
      default:
        strOut += c;
    }
  }
  return strOut + "\"";
}

// A text for the answer: in the selected set, quoted.
std::string Quoted(const AtSession& session, const std::string& strUtf8) {
  return EscapeQuoted(EncodeText(session.charset, strUtf8));
}

// The type of a number: international when it starts with '+'.
int NumberType(const std::string& strNumber) {
  return !strNumber.empty() && strNumber[0] == '+' ? kTypeInternational : kTypeNational;
}

std::string EntryLine(const AtSession& session, const char* pszPrefix, const AtEntry& entry) {
  return std::string(pszPrefix) + std::to_string(entry.nIndex) + "," + EscapeQuoted(entry.strNumber) + "," +
         std::to_string(NumberType(entry.strNumber)) + "," + Quoted(session, entry.strText);
}

// Used and total entries of the selected memory; a TAPI_AT_PB_... code.
int MemoryStatus(Call& call, int* pUsed, int* pTotal) {
  const MemoryName& memory = Selected(call.session);
  if (memory.nDevice < 0) {
    std::vector<AtEntry> vcEntries;
    const int nError = call.phonebook.OwnNumbers(&vcEntries);
    *pUsed = *pTotal = static_cast<int>(vcEntries.size());
    return nError == TAPI_AT_PB_ERROR_NOT_FOUND ? TAPI_AT_PB_SUCCESS : nError;
  }
  TapiAtPbStatus status{};
  const int nError = call.phonebook.QueryStatus(memory.nDevice, &status);
  *pUsed = status.nUsed;
  *pTotal = status.nTotal;
  return nError;
}

// A text argument in the selected set, as UTF-8.
bool TextArg(const Call& call, const Arg& arg, std::string* pUtf8) {
  return arg.bQuoted && DecodeText(call.session.charset, arg.strValue, pUtf8);
}

// The own numbers from nFrom to nTo.
Outcome ReadOwnNumbers(Call& call, int nFrom, int nTo) {
  std::vector<AtEntry> vcEntries;
  const int nError = call.phonebook.OwnNumbers(&vcEntries);
  if (nError != TAPI_AT_PB_SUCCESS && nError != TAPI_AT_PB_ERROR_NOT_FOUND) {
    return Failure(nError, true);
  }
  for (const AtEntry& entry : vcEntries) {
    if (entry.nIndex >= nFrom && entry.nIndex <= nTo) {
      call.vcLines.push_back(EntryLine(call.session, "+CPBR: ", entry));
    }
  }
  return Outcome::Ok();
}

}  // namespace

Outcome RunCpbs(Call& call) {
  switch (call.mode) {
    case Mode::Test:
      call.vcLines.push_back("+CPBS: (\"ME\",\"SM\",\"FD\",\"ON\")");
      return Outcome::Ok();
    case Mode::Read: {
      int nUsed = 0;
      int nTotal = 0;
      const int nError = MemoryStatus(call, &nUsed, &nTotal);
      if (nError != TAPI_AT_PB_SUCCESS) {
        return Failure(nError, false);
      }
      call.vcLines.push_back(std::string("+CPBS: \"") + Selected(call.session).pszName + "\"," +
                             std::to_string(nUsed) + "," + std::to_string(nTotal));
      return Outcome::Ok();
    }
    case Mode::Exec:
      return Outcome::Error();
    case Mode::Set:
      break;
  }
  std::string strName;
  if (call.vcArgs.size() != 1 || !TextArg(call, call.vcArgs[0], &strName)) {
    return Outcome::Cme(kCmeIncorrectParameters);
  }
  std::transform(strName.begin(), strName.end(), strName.begin(),
                 [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  for (const MemoryName& memory : kMemories) {
    if (strName == memory.pszName) {
      call.session.memory = memory.memory;
      return Outcome::Ok();
    }
  }
  return Outcome::Cme(kCmeNotSupported);
}

Outcome RunCpbr(Call& call) {
  if (call.mode == Mode::Test) {
    int nUsed = 0;
    int nTotal = 0;
    const int nError = MemoryStatus(call, &nUsed, &nTotal);
    if (nError != TAPI_AT_PB_SUCCESS) {
      return Failure(nError, false);
    }
    call.vcLines.push_back("+CPBR: (1-" + std::to_string(std::max(nTotal, 1)) + ")," + std::to_string(kNumberLength) +
                           "," + std::to_string(TAPI_AT_PB_NAME_CHARS));
    return Outcome::Ok();
  }
  int nFrom = 0;
  int nTo = 0;
  if (call.mode != Mode::Set || call.vcArgs.empty() || call.vcArgs.size() > 2 || !IntArg(call.vcArgs[0], &nFrom) ||
      (call.vcArgs.size() == 2 && !IntArg(call.vcArgs[1], &nTo))) {
    return Outcome::Error();
  }
  nTo = call.vcArgs.size() == 2 ? nTo : nFrom;
  if (nFrom < 1 || nTo < nFrom || nTo > TAPI_AT_PB_INDEX_MAX) {
    return Outcome::Cme(kCmeInvalidIndex);
  }
  const MemoryName& memory = Selected(call.session);
  if (memory.nDevice < 0) {
    return ReadOwnNumbers(call, nFrom, nTo);
  }
  std::vector<int> vcIndexes;
  int nError = call.phonebook.Read(memory.nDevice, nFrom, nTo, &vcIndexes);
  if (nError != TAPI_AT_PB_SUCCESS) {
    return Failure(nError, true);
  }
  if (vcIndexes.empty()) {
    return Outcome::Ok();
  }
  std::vector<AtEntry> vcEntries;
  nError = call.phonebook.Records(memory.nDevice, vcIndexes, &vcEntries);
  if (nError != TAPI_AT_PB_SUCCESS) {
    return Failure(nError, true);
  }
  for (const AtEntry& entry : vcEntries) {
    call.vcLines.push_back(EntryLine(call.session, "+CPBR: ", entry));
  }
  return Outcome::Ok();
}

Outcome RunCpbf(Call& call) {
  if (call.mode == Mode::Test) {
    call.vcLines.push_back("+CPBF: " + std::to_string(kNumberLength) + "," + std::to_string(TAPI_AT_PB_NAME_CHARS));
    return Outcome::Ok();
  }
  std::string strText;
  if (call.mode != Mode::Set || call.vcArgs.size() != 1 || !TextArg(call, call.vcArgs[0], &strText)) {
    return Outcome::Error();
  }
  if (strText.size() >= TAPI_AT_PB_FIND_TEXT_SIZE) {
    return Outcome::Cme(kCmeTextTooLong);
  }
  std::vector<AtEntry> vcEntries;
  const MemoryName& memory = Selected(call.session);
  const int nError = memory.nDevice < 0 ? call.phonebook.OwnNumbers(&vcEntries)
                                        : call.phonebook.Find(memory.nDevice, strText, &vcEntries);
  if (nError != TAPI_AT_PB_SUCCESS && !(memory.nDevice < 0 && nError == TAPI_AT_PB_ERROR_NOT_FOUND)) {
    return Failure(nError, false);
  }
  for (const AtEntry& entry : vcEntries) {
    if (memory.nDevice >= 0 || entry.strText.compare(0, strText.size(), strText) == 0) {
      call.vcLines.push_back(EntryLine(call.session, "+CPBF: ", entry));
    }
  }
  return Outcome::Ok();
}

Outcome RunCpbw(Call& call) {
  if (call.mode == Mode::Test) {
    call.vcLines.push_back("+CPBW: (1-" + std::to_string(TAPI_AT_PB_INDEX_MAX) + ")," + std::to_string(kNumberLength) +
                           ",(129,145)," + std::to_string(TAPI_AT_PB_NAME_CHARS));
    return Outcome::Ok();
  }
  if (call.mode != Mode::Set || call.vcArgs.empty() || call.vcArgs.size() > 4) {
    return Outcome::Error();
  }
  TapiAtPbWriteReq request{};
  request.nDevice = Selected(call.session).nDevice;
  const std::vector<Arg>& vcArgs = call.vcArgs;
  std::string strText;
  const bool bIndexOk = vcArgs[0].strValue.empty() || IntArg(vcArgs[0], &request.nIndex);
  const bool bNumberOk = vcArgs.size() < 2 || (vcArgs[1].bQuoted && vcArgs[1].strValue.size() <= kNumberLength);
  const bool bTypeOk = vcArgs.size() < 3 || vcArgs[2].strValue.empty() || IntArg(vcArgs[2], &request.nType);
  const bool bTextOk = vcArgs.size() < 4 || TextArg(call, vcArgs[3], &strText);
  if (!bIndexOk || !bNumberOk || !bTypeOk || !bTextOk || strText.size() >= sizeof(request.szName)) {
    return Outcome::Cme(kCmeIncorrectParameters);
  }
  if (vcArgs.size() >= 2) {
    vcArgs[1].strValue.copy(request.szNumber, sizeof(request.szNumber) - 1);
  }
  strText.copy(request.szName, sizeof(request.szName) - 1);
  const int nError = call.phonebook.Write(request);
  return nError == TAPI_AT_PB_SUCCESS ? Outcome::Ok() : Failure(nError, false);
}

Outcome RunCnum(Call& call) {
  if (call.mode == Mode::Test) {
    return Outcome::Ok();
  }
  if (call.mode != Mode::Exec) {
    return Outcome::Error();
  }
  std::vector<AtEntry> vcEntries;
  const int nError = call.phonebook.OwnNumbers(&vcEntries);
  if (nError != TAPI_AT_PB_SUCCESS && nError != TAPI_AT_PB_ERROR_NOT_FOUND) {
    return Failure(nError, false);
  }
  for (const AtEntry& entry : vcEntries) {
    call.vcLines.push_back("+CNUM: " + Quoted(call.session, entry.strText) + "," + EscapeQuoted(entry.strNumber) + "," +
                           std::to_string(NumberType(entry.strNumber)));
  }
  return Outcome::Ok();
}

}  // namespace zel::at
