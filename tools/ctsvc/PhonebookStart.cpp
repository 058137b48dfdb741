// Starting the phonebook against the data directory's card and waiting for the end of the start
// on the "CTSVC" thread; waiting for the card's answer to a SIM write.
#include "CtSvcPhonebook.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "SimPhonebook.h"

namespace ctsvc_tool {

bool StartPhonebook(const char* pszCommand, bool* pbNoSim) {
  SimAnswer answer;
  int bNoSim = 0;
  const BOOL bStarted = CtSvcPhonebookInitialize(&SimAnswer::OnPhonebookInit, &answer, &bNoSim);
  *pbNoSim = bNoSim != 0;
  if (!bStarted) {
    Fail(kExitFailure, std::string(pszCommand) + ": the phonebook could not be started on the card (state " +
                           std::to_string(CtSvcPhonebookGetInitState()) + ")");
    return false;
  }
  if (*pbNoSim) {
    return true;
  }
  if (!answer.Wait()) {
    CtSvcPhonebookUnregisterInitCallback();
    Fail(kExitFailure, std::string(pszCommand) + ": the card stopped answering while the phonebook started");
    return false;
  }
  if (!answer.Result()) {
    Fail(kExitFailure, std::string(pszCommand) + ": the phonebook start failed (state " +
                           std::to_string(CtSvcPhonebookGetInitState()) + ")");
    return false;
  }
  return true;
}

bool StartSimPhonebook(const Options& options, const char* pszCommand) {
  bool bNoSim = false;
  if (!CheckSimCard(options, pszCommand) || !StartPhonebook(pszCommand, &bNoSim)) {
    return false;
  }
  if (bNoSim) {
    Fail(kExitFailure, std::string(pszCommand) + ": the phone is in no-SIM mode");
    return false;
  }
  return true;
}

bool AddCardAnswer(SimAnswer& answer, Json& result, const char* pszCommand) {
  if (!answer.Wait()) {
    Fail(kExitFailure, std::string(pszCommand) + ": the card did not answer");
    return false;
  }
  result.Set("record", answer.RecordIndex() + 1);
  result.Set("card", answer.Result() == 1 ? "written" : "refused");
  if (answer.Result() != 1) {
    Print(result, false);
    Fail(kExitFailure, std::string(pszCommand) + ": the card refused record " + std::to_string(answer.RecordIndex() + 1));
    return false;
  }
  return true;
}

}  // namespace ctsvc_tool
