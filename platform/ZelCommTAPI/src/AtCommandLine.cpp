// The AT command line: lines framed by CR, echo, the commands of a line, and the final result.
#include <cctype>

#include "AtCommand.h"

namespace zel::at {

namespace {

struct CmeText {
  int nCode;
  const char* pszText;
};
constexpr CmeText kCmeTexts[] = {
    {kCmeNotAllowed, "operation not allowed"},  {kCmeNotSupported, "operation not supported"},
    {kCmeSimFailure, "SIM failure"},            {kCmeMemoryFull, "memory full"},
    {kCmeInvalidIndex, "invalid index"},        {kCmeNotFound, "not found"},
    {kCmeTextTooLong, "text string too long"},  {kCmeInvalidText, "invalid characters in text string"},
    {kCmeIncorrectParameters, "incorrect parameters"},
};

std::string FinalResult(const AtSession& session, const Outcome& outcome) {
  if (outcome.kind == Outcome::Kind::Ok) {
    return "OK";
  }
  if (outcome.kind == Outcome::Kind::Error || session.nCmee == 0) {
    return "ERROR";
  }
  if (session.nCmee == 2) {
    for (const CmeText& text : kCmeTexts) {
      if (text.nCode == outcome.nCme) {
        return std::string("+CME ERROR: ") + text.pszText;
      }
    }
    return "+CME ERROR: unknown";
  }
  return "+CME ERROR: " + std::to_string(outcome.nCme);
}

std::string Format(const AtSession& session, const std::vector<std::string>& vcLines, const Outcome& outcome) {
  std::string strOut;
  if (!vcLines.empty()) {
    strOut += "\r\n";
    for (const std::string& strLine : vcLines) {
      strOut += strLine + "\r\n";
    }
  }
  return strOut + "\r\n" + FinalResult(session, outcome) + "\r\n";
}

// End of the extended command starting at nStart: the next ';' outside quotes, npos for an
// unterminated quote.
size_t CommandEnd(const std::string& strLine, size_t nStart) {
  bool bQuoted = false;
  size_t i = nStart;
  for (; i < strLine.size() && (bQuoted || strLine[i] != ';'); ++i) {
    bQuoted = strLine[i] == '"' ? !bQuoted : bQuoted;
  }
  return bQuoted ? std::string::npos : i;
}

Outcome RunOneExtended(AtSession& session, IAtPhonebook& phonebook, const std::string& strCommand,
                       std::vector<std::string>& vcLines) {
  size_t nName = 0;
  std::string strName;
  while (nName < strCommand.size() && std::isalpha(static_cast<unsigned char>(strCommand[nName]))) {
    strName += static_cast<char>(std::toupper(static_cast<unsigned char>(strCommand[nName++])));
  }
  const std::string strRest = strCommand.substr(nName);
  Call call{session, phonebook, Mode::Exec, {}, vcLines};
  if (strRest == "=?") {
    call.mode = Mode::Test;
  } else if (strRest == "?") {
    call.mode = Mode::Read;
  } else if (!strRest.empty() && strRest[0] == '=') {
    call.mode = Mode::Set;
    if (!ParseArgs(strRest.substr(1), &call.vcArgs)) {
      return Outcome::Error();
    }
  } else if (!strRest.empty()) {
    return Outcome::Error();
  }
  return strName.empty() ? Outcome::Error() : RunExtended(strName, call);
}

// ATE, ATE0, ATE1.
Outcome RunBasic(AtSession& session, const std::string& strLine, size_t* pPos) {
  const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(strLine[*pPos])));
  ++*pPos;
  std::string strDigits;
  while (*pPos < strLine.size() && std::isdigit(static_cast<unsigned char>(strLine[*pPos]))) {
    strDigits += strLine[(*pPos)++];
  }
  if (c == 'E' && (strDigits.empty() || strDigits == "0" || strDigits == "1")) {
    session.bEcho = strDigits == "1";
    return Outcome::Ok();
  }
  return Outcome::Error();
}

bool HasControlBytes(const std::string& strLine) {
  for (char c : strLine) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) {
      return true;
    }
  }
  return false;
}

std::string Trim(const std::string& strText) {
  const size_t nFirst = strText.find_first_not_of(' ');
  return nFirst == std::string::npos ? "" : strText.substr(nFirst, strText.find_last_not_of(' ') - nFirst + 1);
}

// The answer to one command line (without its CR).
std::string AnswerLine(AtSession& session, IAtPhonebook& phonebook, const std::string& strRaw) {
  const std::string strLine = Trim(strRaw);
  if (strLine.empty()) {
    return "";
  }
  std::vector<std::string> vcLines;
  if (HasControlBytes(strLine) || strLine.size() < 2 || std::toupper(static_cast<unsigned char>(strLine[0])) != 'A' ||
      std::toupper(static_cast<unsigned char>(strLine[1])) != 'T') {
    return Format(session, vcLines, Outcome::Error());
  }
  Outcome outcome = Outcome::Ok();
  size_t i = 2;
  while (i < strLine.size() && outcome.kind == Outcome::Kind::Ok) {
    const char c = strLine[i];
    if (c == ' ' || c == ';') {
      ++i;
    } else if (c == '+') {
      const size_t nEnd = CommandEnd(strLine, i + 1);
      if (nEnd == std::string::npos) {
        outcome = Outcome::Error();
        break;
      }
      outcome = RunOneExtended(session, phonebook, strLine.substr(i + 1, nEnd - i - 1), vcLines);
      i = nEnd;
    } else if (std::isalpha(static_cast<unsigned char>(c))) {
      outcome = RunBasic(session, strLine, &i);
    } else {
      outcome = Outcome::Error();
    }
  }
  return Format(session, outcome.kind == Outcome::Kind::Ok ? vcLines : std::vector<std::string>{}, outcome);
}

}  // namespace

std::string AtFeed(AtSession& session, IAtPhonebook& phonebook, const char* pBytes, size_t nBytes) {
  std::string strOut;
  for (size_t i = 0; i < nBytes; ++i) {
    const char c = pBytes[i];
    if (c == '\n') {
      continue;
    }
    if (c != '\r') {
      if (session.strLine.size() < kMaxLineBytes) {
        session.strLine += c;
      } else {
        session.bOverlong = true;
      }
      continue;
    }
    if (session.bEcho) {
      strOut += session.strLine + "\r";
    }
    if (session.bOverlong) {
      strOut += Format(session, {}, Outcome::Error());
    } else {
      strOut += AnswerLine(session, phonebook, session.strLine);
    }
    session.strLine.clear();
    session.bOverlong = false;
  }
  return strOut;
}

}  // namespace zel::at
