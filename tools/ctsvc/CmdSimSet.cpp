// ctsvc sim set and sim delete: one ADN contact of the data directory's card written through the
// service's SIM updaters, waiting for the card's answer.
#include <cstdio>
#include <cstring>

#include "CtSvcSimCi.h"
#include "CtSvcUtil.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "SimPhonebook.h"

namespace ctsvc_tool {

namespace {

// What a card can hold in a number: BCD digits and signs, a '+' only in front.
bool IsCardNumber(const std::string& strNumber) {
  for (size_t i = 0; i < strNumber.size(); ++i) {
    const char c = strNumber[i];
    if (!(c == '+' && i == 0) && std::strchr("0123456789*#,?", c) == nullptr) {
      return false;
    }
  }
  return true;
}

size_t DigitCount(const std::string& strNumber) {
  return strNumber.size() - (strNumber.empty() || strNumber[0] != '+' ? 0 : 1);
}

// The GAS record index of a group given by its name or its number (1-based); -1 when unknown.
int FindGroup(const std::string& strGroup) {
  const int nTotal = CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_GAS);
  for (int g = 0; g < nTotal; ++g) {
    char szName[CTSVC_SIM_NAME_SIZE] = {};
    if (CtSvcSimGetGasRecord(g, szName, sizeof(szName)) && strGroup == szName) {
      return g;
    }
  }
  char* pEnd = nullptr;
  const long nNumber = std::strtol(strGroup.c_str(), &pEnd, 10);
  if (pEnd != strGroup.c_str() && *pEnd == '\0' && nNumber >= 1 && nNumber <= CTSVC_SIM_GROUP_FLAG_MAX) {
    return static_cast<int>(nNumber - 1);
  }
  return -1;
}

void Copy(char* pszTo, size_t nSize, const std::string& strFrom) {
  std::strncpy(pszTo, strFrom.c_str(), nSize - 1);
  pszTo[nSize - 1] = '\0';
}

// Applies the options to the contact; false (after saying why) when the card cannot hold them.
bool ApplyOptions(const Args& args, CtSvcSimAdnRecord* pRecord) {
  if (args.Has("name")) {
    std::string strName = args.Get("name");
    const int nBudget = CtSvcSimGetRecordStringLength(CTSVC_SIM_ADN);
    const int nBytes = nBudget > 0 ? CtGetLCodeMaxByteSize(strName.c_str(), nBudget, 0) : 0;
    if (nBytes >= 0 && nBytes < static_cast<int>(strName.size())) {
      strName.resize(static_cast<size_t>(nBytes));
      Warn("sim set: the name does not fit the card's " + std::to_string(nBudget) + " bytes; cut to '" + strName + "'");
    }
    Copy(pRecord->szName, sizeof(pRecord->szName), strName);
  }
  const struct {
    const char* pszOption;
    char* pszField;
  } numbers[] = {{"number", pRecord->szPhoneNumber}, {"anr", pRecord->stAdditionalNumber[0].szPhoneNumber}};
  for (const auto& number : numbers) {
    if (!args.Has(number.pszOption)) {
      continue;
    }
    const std::string strNumber = args.Get(number.pszOption);
    const int nMax = CtSvcSimGetRecordPhoneNumberLength(CTSVC_SIM_ADN);
    if (!IsCardNumber(strNumber)) {
      Fail(kExitFailure, "sim set: '" + strNumber + "' holds characters a SIM card cannot store (digits, * # , ? and a leading +)");
      return false;
    }
    if (static_cast<int>(DigitCount(strNumber)) > nMax) {
      Fail(kExitFailure, "sim set: '" + strNumber + "' is longer than the " + std::to_string(nMax) + " digits the card can hold");
      return false;
    }
    Copy(number.pszField, CTSVC_SIM_NUMBER_SIZE, strNumber);
  }
  if (args.Has("email")) {
    Copy(pRecord->szEmail[0], sizeof(pRecord->szEmail[0]), args.Get("email"));
  }
  if (args.Has("group")) {
    const int nGroup = FindGroup(args.Get("group"));
    if (nGroup < 0) {
      Fail(kExitFailure, "sim set: no group '" + args.Get("group") + "' on the card");
      return false;
    }
    pRecord->bGroup[nGroup] = 1;
  }
  return true;
}

// The 0-based record of the INDEX word, or -1 (after saying why) when it is not on the card.
int RecordIndex(const Args& args, const char* pszCommand) {
  int nIndex = 0;
  const int nTotal = CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_ADN);
  if (!args.PositionalInt(1, nIndex) || nIndex < 1 || nIndex > nTotal) {
    Fail(kExitUsage, std::string(pszCommand) + ": index '" + args.Word(1) + "' out of range (1.." + std::to_string(nTotal) + ")");
    return -1;
  }
  return nIndex - 1;
}

// Runs the write with the service up and the ADN group loaded; the exit code.
int Write(const Options& options, const char* pszCommand, int (*pfnWrite)(const Args&, int, SimAnswer*), const Args& args,
          const char* pszDone) {
  if (!OpenSimService(options, pszCommand)) {
    return kExitFailure;
  }
  if (!LoadSimGroup(CtSvcSimInitAdn)) {
    CloseService();
    return Fail(kExitFailure, std::string(pszCommand) + ": the card's contacts cannot be read");
  }
  const int nIndex = RecordIndex(args, pszCommand);
  SimAnswer answer;
  const int nStarted = nIndex < 0 ? kExitUsage : pfnWrite(args, nIndex, &answer);
  const bool bAnswered = nStarted == kExitOk && answer.Wait();
  CloseService();
  if (nStarted != kExitOk) {
    return nStarted;
  }
  if (!bAnswered || answer.Result() == 0) {
    return Fail(kExitFailure, std::string(pszCommand) + ": the card refused the write of record " + std::to_string(nIndex + 1));
  }
  if (options.bJson) {
    Json out = Json::Object();
    out.Set("index", nIndex + 1);
    out.Set("result", pszDone);
    std::printf("%s\n", out.Dump().c_str());
  } else {
    std::printf("record %d %s\n", nIndex + 1, pszDone);
  }
  return kExitOk;
}

int StartSet(const Args& args, int nIndex, SimAnswer* pAnswer) {
  CtSvcSimAdnRecord record{};
  const bool bUsed = CtSvcSimIsUsedRecord(CTSVC_SIM_ADN, nIndex) == 1;
  if (bUsed && !CtSvcSimGetAdnRecord(nIndex, &record)) {
    return Fail(kExitFailure, "sim set: record " + std::to_string(nIndex + 1) + " cannot be read");
  }
  if (!ApplyOptions(args, &record)) {
    return kExitFailure;
  }
  if (record.szName[0] == '\0' && record.szPhoneNumber[0] == '\0') {
    return Fail(kExitUsage, "sim set: a contact needs --name or --number");
  }
  if (!CtSvcSimSetAdnRecord(bUsed ? CTSVC_SIM_SET_UPDATE : CTSVC_SIM_SET_INSERT, nIndex, &record, SimAnswer::OnSet,
                            pAnswer)) {
    return Fail(kExitFailure, "sim set: the write of record " + std::to_string(nIndex + 1) + " was refused");
  }
  return kExitOk;
}

int StartDelete(const Args&, int nIndex, SimAnswer* pAnswer) {
  if (CtSvcSimIsUsedRecord(CTSVC_SIM_ADN, nIndex) != 1) {
    return Fail(kExitFailure, "sim delete: record " + std::to_string(nIndex + 1) + " is empty");
  }
  if (!CtSvcSimSetAdnRecord(CTSVC_SIM_SET_DELETE, nIndex, nullptr, SimAnswer::OnSet, pAnswer)) {
    return Fail(kExitFailure, "sim delete: the erase of record " + std::to_string(nIndex + 1) + " was refused");
  }
  return kExitOk;
}

}  // namespace

int RunSimSet(const Options& options, const Args& args) { return Write(options, "sim set", StartSet, args, "written"); }
int RunSimDelete(const Options& options, const Args& args) { return Write(options, "sim delete", StartDelete, args, "erased"); }

}  // namespace ctsvc_tool
